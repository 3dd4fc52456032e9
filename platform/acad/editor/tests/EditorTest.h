// Fixture of the editor's conformance tests: a fresh working database, the
// editor in its start state and a scripted user. At the end of each test
// nothing may be left open and no selection set held.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "adsdb.h"
#include "dbapserv.h"
#include "dbents.h"
#include "dbmain.h"
#include "dbsymtb.h"
#include "standin/AcDbStandin.h"
#include "standin/AcEdStandin.h"
#include "standin/ScriptedUser.h"
#include "standin/User.h"
#include "standin/WideFormat.h"

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        standin::editor::resetEditor();
        ASSERT_NE(standin::newWorkingDatabase(), nullptr);
        previous_ = standin::setCurrentUser(&user_);
        char pattern[] = "/tmp/kv-acad-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }

    void TearDown() override
    {
        standin::setCurrentUser(previous_);
        EXPECT_TRUE(standin::openObjects().empty()) << standin::describeOpenObjects();
        EXPECT_TRUE(standin::editor::heldSelectionSets().empty()) << standin::editor::describeHeldSelectionSets();
        standin::editor::freeAllSelectionSets();
        standin::editor::resetEditor();
        standin::discardWorkingDatabase();
        std::string command = "rm -rf '" + folder_ + "'";
        if (std::system(command.c_str()) != 0)
            ADD_FAILURE() << "could not remove " << folder_;
    }

    standin::ScriptedUser& user() { return user_; }
    // An empty drawing in place of the working one (nothing may be open).
    static void freshDrawing() { standin::newWorkingDatabase(); }
    static AcDbDatabase* db() { return acdbHostApplicationServices()->workingDatabase(); }

    // A file in this test's own folder.
    std::string file(const std::string& name, const std::string& content)
    {
        const std::string path = folder_ + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    std::string path(const std::string& name) const { return folder_ + "/" + name; }

    // Appends the entity to model space, closes it and returns its id.
    static AcDbObjectId append(AcDbEntity* entity)
    {
        AcDbBlockTable* table = nullptr;
        EXPECT_EQ(db()->getBlockTable(table, AcDb::kForRead), Acad::eOk);
        AcDbBlockTableRecord* space = nullptr;
        EXPECT_EQ(table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite), Acad::eOk);
        table->close();
        AcDbObjectId id;
        EXPECT_EQ(space->appendAcDbEntity(id, entity), Acad::eOk);
        space->close();
        entity->close();
        return id;
    }
    static AcDbObjectId addLine(double x0, double y0, double x1, double y1)
    {
        return append(new AcDbLine(AcGePoint3d(x0, y0, 0), AcGePoint3d(x1, y1, 0)));
    }
    static AcDbObjectId addPoint(double x, double y) { return append(new AcDbPoint(AcGePoint3d(x, y, 0))); }
    static AcDbObjectId addFace(double x, double y, double size)
    {
        auto* face = new AcDbFace();
        face->setVertexAt(0, AcGePoint3d(x, y, 0));
        face->setVertexAt(1, AcGePoint3d(x + size, y, 0));
        face->setVertexAt(2, AcGePoint3d(x + size, y + size, 0));
        face->setVertexAt(3, AcGePoint3d(x, y + size, 0));
        return append(face);
    }

    static std::wstring handle(AcDbObjectId id)
    {
        wchar_t buffer[32];
        std::swprintf(buffer, 32, L"%llX", static_cast<unsigned long long>(static_cast<Adesk::UInt64>(id.handle())));
        return buffer;
    }

private:
    standin::ScriptedUser user_;
    standin::User* previous_ = nullptr;
    std::string folder_;
};
