// Shared fixture for the toolkit's tests.
//
// Every test gets a fresh working database and a scripted user that answers
// the platform's questions (prompts, message boxes, dialogs). When a test
// ends, the fixture checks that the code under test left no database object
// open and no selection set held, and fails the test otherwise.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dbapserv.h"
#include "dbmain.h"
#include "dbsymtb.h"
#include "standin/AcDbStandin.h"
#include "standin/ScriptedUser.h"
#include "standin/User.h"

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        standin::newWorkingDatabase();
        ASSERT_NE(db(), nullptr);
        previousUser_ = standin::setCurrentUser(&user_);
    }

    void TearDown() override
    {
        standin::setCurrentUser(previousUser_);
        EXPECT_TRUE(standin::openObjects().empty())
            << "the test left database objects open";
    }

    // The user who answers this test's questions.
    standin::ScriptedUser& user() { return user_; }

    // The working database of this test.
    static AcDbDatabase* db() { return acdbHostApplicationServices()->workingDatabase(); }

    // The ids of the entities in model space, in their order there.
    static std::vector<AcDbObjectId> modelSpaceIds()
    {
        std::vector<AcDbObjectId> ids;
        AcDbBlockTable* table = nullptr;
        if (db()->getSymbolTable(table, AcDb::kForRead) != Acad::eOk)
            return ids;
        AcDbBlockTableRecord* space = nullptr;
        Acad::ErrorStatus es = table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForRead);
        table->close();
        if (es != Acad::eOk)
            return ids;
        AcDbBlockTableRecordIterator* it = nullptr;
        if (space->newIterator(it) == Acad::eOk) {
            for (it->start(); !it->done(); it->step()) {
                AcDbObjectId id;
                if (it->getEntityId(id) == Acad::eOk)
                    ids.push_back(id);
            }
            delete it;
        }
        space->close();
        return ids;
    }

private:
    standin::ScriptedUser user_;
    standin::User* previousUser_ = nullptr;
};
