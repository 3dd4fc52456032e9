// Fixture for the tests of the editor functions (prompts, colours, picking
// and selection): the toolkit fixture with an empty utilities failure text,
// and small helpers that put entities into the drawing and name them as the
// user would.
#pragma once

#include <string>

#include "ToolkitTest.h"
#include "dbents.h"
#include "standin/AcEdStandin.h"

#include "ToolkitUtilities.h"

class EditorTest : public ToolkitTest {
protected:
    void SetUp() override
    {
        ToolkitTest::SetUp();
        CToolkitUtilities::SetLastErrorText(CString());
    }

    // Appends the entity to the block record named `space` and closes it.
    static AcDbObjectId add(AcDbEntity* entity, const ACHAR* space = ACDB_MODEL_SPACE)
    {
        AcDbObjectId id;
        AcDbBlockTable* table = nullptr;
        EXPECT_EQ(db()->getSymbolTable(table, AcDb::kForRead), Acad::eOk);
        AcDbBlockTableRecord* record = nullptr;
        EXPECT_EQ(table->getAt(space, record, AcDb::kForWrite), Acad::eOk);
        table->close();
        EXPECT_EQ(record->appendAcDbEntity(id, entity), Acad::eOk);
        record->close();
        entity->close();
        return id;
    }

    static AcDbObjectId addLine(double x0 = 0, double y0 = 0, double x1 = 10, double y1 = 0)
    {
        return add(new AcDbLine(AcGePoint3d(x0, y0, 0), AcGePoint3d(x1, y1, 0)));
    }

    static AcDbObjectId addFace(double x = 0, double y = 20)
    {
        return add(new AcDbFace(AcGePoint3d(x, y, 0), AcGePoint3d(x + 1, y, 0), AcGePoint3d(x + 1, y + 1, 0),
                                AcGePoint3d(x, y + 1, 0)));
    }

    static AcDbObjectId addPoint(double x, double y, double z) { return add(new AcDbPoint(AcGePoint3d(x, y, z))); }

    // Adds a layer of the working database with the colour index.
    static AcDbObjectId addLayer(const ACHAR* name, Adesk::UInt16 colorIndex)
    {
        AcDbObjectId id;
        AcDbLayerTable* table = nullptr;
        EXPECT_EQ(db()->getSymbolTable(table, AcDb::kForWrite), Acad::eOk);
        AcDbLayerTableRecord* record = new AcDbLayerTableRecord;
        record->setName(name);
        AcCmColor color;
        color.setColorIndex(colorIndex);
        record->setColor(color);
        EXPECT_EQ(table->add(id, record), Acad::eOk);
        record->close();
        table->close();
        return id;
    }

    // Erases the entity.
    static void erase(const AcDbObjectId& id)
    {
        AcDbObject* object = nullptr;
        ASSERT_EQ(acdbOpenAcDbObject(object, id, AcDb::kForWrite), Acad::eOk);
        object->erase();
        object->close();
    }

    // The object's handle as the user types it.
    static std::wstring handleOf(const AcDbObjectId& id)
    {
        ACHAR buffer[32] = {};
        id.handle().getIntoAsciiBuffer(buffer, 32);
        return buffer;
    }

    // Everything printed on the command line.
    static std::wstring commandLine() { return standin::editor::commandLineText(); }

    static std::wstring utilitiesText() { return std::wstring((LPCTSTR)CToolkitUtilities::GetLastErrorText()); }
};
