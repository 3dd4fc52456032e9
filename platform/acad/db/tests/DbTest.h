// Fixture of the database conformance tests: a fresh working database per
// test, and at the end the checks that nothing was left open and that the
// open protocol was kept.
#pragma once

#include <gtest/gtest.h>

#include "TestArrays.h"
#include "dbapserv.h"
#include "dbents.h"
#include "dbmain.h"
#include "dbsymtb.h"
#include "standin/AcDbStandin.h"

// Appends the entity to the model space of the database and closes it;
// returns its id.
inline AcDbObjectId appendTo(AcDbDatabase* database, AcDbEntity* entity)
{
    AcDbObjectId id;
    AcDbBlockTable* table = nullptr;
    EXPECT_EQ(database->getBlockTable(table, AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecord* space = nullptr;
    EXPECT_EQ(table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite), Acad::eOk);
    table->close();
    EXPECT_EQ(space->appendAcDbEntity(id, entity), Acad::eOk);
    space->close();
    entity->close();
    return id;
}

class DbTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        standin::clearProtocolViolations();
        db_ = standin::newWorkingDatabase();
        ASSERT_NE(db_, nullptr);
    }

    void TearDown() override
    {
        EXPECT_TRUE(standin::openObjects().empty()) << standin::describeOpenObjects();
        if (!expectViolations_) {
            EXPECT_TRUE(standin::protocolViolations().empty());
        }
        standin::clearProtocolViolations();
    }

    AcDbDatabase* db() const { return db_; }

    // Appends the entity to model space and closes it; returns its id.
    AcDbObjectId append(AcDbEntity* entity) { return appendTo(db_, entity); }

    AcDbObjectId modelSpaceId() const
    {
        AcDbBlockTable* table = nullptr;
        AcDbObjectId id;
        if (db_->getBlockTable(table, AcDb::kForRead) == Acad::eOk) {
            table->getAt(ACDB_MODEL_SPACE, id);
            table->close();
        }
        return id;
    }

    // The test breaks the protocol on purpose and checks the record itself.
    bool expectViolations_ = false;

private:
    AcDbDatabase* db_ = nullptr;
};
