// Shared fixture for the toolkit's tests.
//
// Every test gets a fresh working database, an editor in its start state and
// a scripted user (user()) that answers the platform's questions (prompts,
// message boxes, file dialogs, dialogs). When a test ends, the fixture checks
// that the code under test left no database object open, no selection set
// held and no breach of the open protocol (such as closing an entity that is
// in no database), and fails the test otherwise.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dbapserv.h"
#include "dbmain.h"
#include "dbsymtb.h"
#include "standin/AcDbStandin.h"
#include "standin/AcEdStandin.h"
#include "standin/ScriptedUser.h"
#include "standin/User.h"

// The text with every character beyond ASCII shown as '?', for a test's messages.
inline std::string Narrow(const wchar_t* text)
{
    std::string out;
    for (; *text; ++text)
        out += *text < 128 ? static_cast<char>(*text) : '?';
    return out;
}

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        standin::editor::resetEditor();
        standin::clearProtocolViolations();
        ASSERT_NE(standin::newWorkingDatabase(), nullptr);
        ASSERT_EQ(db(), acdbHostApplicationServices()->workingDatabase());
        previousUser_ = standin::setCurrentUser(&user_);
    }

    void TearDown() override
    {
        standin::setCurrentUser(previousUser_);
        EXPECT_TRUE(standin::openObjects().empty()) << "database objects left open:\n"
                                                    << standin::describeOpenObjects();
        EXPECT_TRUE(standin::editor::heldSelectionSets().empty()) << "selection sets not freed:\n"
                                                                  << standin::editor::describeHeldSelectionSets();
        EXPECT_TRUE(standin::protocolViolations().empty()) << "open protocol breached:\n"
                                                           << Joined(standin::protocolViolations());
        // A failed test leaves nothing behind for the next one.
        standin::editor::freeAllSelectionSets();
        standin::clearProtocolViolations();
        standin::discardWorkingDatabase();
    }

    // The user who answers this test's questions.
    standin::ScriptedUser& user() { return user_; }

public:
    // The working database of this test.
    static AcDbDatabase* db() { return acdbHostApplicationServices()->workingDatabase(); }

    // Replaces the working database by a fresh one (for table-driven tests
    // that want an empty drawing per case). Nothing may be open then.
    static void freshDatabase()
    {
        EXPECT_TRUE(standin::openObjects().empty()) << standin::describeOpenObjects();
        standin::newWorkingDatabase();
    }

    // A block definition of that name in the block table.
    static AcDbObjectId addBlock(const ACHAR* name, const AcGePoint3d& base = AcGePoint3d(0, 0, 0))
    {
        AcDbObjectId id;
        AcDbBlockTable* table = nullptr;
        EXPECT_EQ(db()->getSymbolTable(table, AcDb::kForWrite), Acad::eOk);
        AcDbBlockTableRecord* record = new AcDbBlockTableRecord;
        record->setName(name);
        record->setOrigin(base);
        EXPECT_EQ(table->add(id, record), Acad::eOk);
        record->close();
        table->close();
        return id;
    }

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
    static std::string Joined(const std::vector<std::string>& lines)
    {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\n";
        return text;
    }

    standin::ScriptedUser user_;
    standin::User* previousUser_ = nullptr;
};
