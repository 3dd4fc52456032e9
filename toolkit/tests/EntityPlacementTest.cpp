// Entity placement: layer, colour and append into the working database.
#include "ToolkitTest.h"

#include <memory>

#include "EntityPlacement.h"
#include "dbents.h"

namespace {

// An entity of the test's own, deleted at the end unless it went into the
// database (then it is closed).
struct NewLine {
    AcDbLine* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 2, 3));
    ~NewLine()
    {
        if (line->objectId().isNull())
            delete line;
        else if (line->isWriteEnabled() || line->isReadEnabled())
            line->close();
    }
    AcDbLine* operator->() const { return line; }
    operator AcDbEntity*() const { return line; }
};

int LayerCount()
{
    AcDbLayerTable* table = nullptr;
    if (ToolkitTest::db()->getSymbolTable(table, AcDb::kForRead) != Acad::eOk)
        return -1;
    int count = 0;
    AcDbSymbolTableIterator* it = nullptr;
    if (table->newIterator(it) == Acad::eOk) {
        for (it->start(); !it->done(); it->step())
            ++count;
        delete it;
    }
    table->close();
    return count;
}

AcDbObjectId LookUpLayer(const wchar_t* name)
{
    AcDbLayerTable* table = nullptr;
    AcDbObjectId id;
    if (ToolkitTest::db()->getSymbolTable(table, AcDb::kForRead) != Acad::eOk)
        return id;
    table->getAt(name, id);
    table->close();
    return id;
}

AcDbObjectId ModelSpaceId()
{
    AcDbBlockTable* table = nullptr;
    AcDbObjectId id;
    if (ToolkitTest::db()->getSymbolTable(table, AcDb::kForRead) != Acad::eOk)
        return id;
    table->getAt(ACDB_MODEL_SPACE, id);
    table->close();
    return id;
}

struct LayerState {
    AcCmColor color;
    bool frozen = false;
    bool locked = false;
    bool off = false;
};

LayerState ReadLayer(AcDbObjectId id)
{
    LayerState state;
    AcDbLayerTableRecord* record = nullptr;
    EXPECT_EQ(acdbOpenObject(record, id, AcDb::kForRead), Acad::eOk);
    if (!record)
        return state;
    state.color = record->color();
    state.frozen = record->isFrozen();
    state.locked = record->isLocked();
    state.off = record->isOff();
    record->close();
    return state;
}

AcCmColor Rgb(int r, int g, int b)
{
    AcCmColor color;
    color.setRGB(static_cast<Adesk::UInt8>(r), static_cast<Adesk::UInt8>(g), static_cast<Adesk::UInt8>(b));
    return color;
}

}  // namespace

using EntityPlacementTest = ToolkitTest;

TEST_F(EntityPlacementTest, EmptyLayerNameAppendsToModelSpaceWithoutTouchingTheLayerTable)
{
    const int layersBefore = LayerCount();
    // Holding the layer table open for read makes any write open of it fail,
    // so the call succeeds only if it leaves the table alone.
    AcDbLayerTable* held = nullptr;
    ASSERT_EQ(db()->getSymbolTable(held, AcDb::kForRead), Acad::eOk);
    NewLine line;
    AcCmColor color;
    color.setColorIndex(3);
    const Acad::ErrorStatus es = AddEntity(line, L"", color);
    held->close();

    ASSERT_EQ(es, Acad::eOk);
    EXPECT_FALSE(line->objectId().isNull());
    EXPECT_EQ(line->ownerId(), ModelSpaceId());
    EXPECT_TRUE(line->isWriteEnabled()) << "the caller closes the appended entity";
    EXPECT_EQ(line->colorIndex(), 3);
    EXPECT_EQ(line->layerId(), LookUpLayer(L"0")) << "the database default layer";
    EXPECT_EQ(LayerCount(), layersBefore);
    const AcDbObjectId id = line->objectId();
    line->close();
    EXPECT_EQ(modelSpaceIds(), std::vector<AcDbObjectId>{id});
}

TEST_F(EntityPlacementTest, OnlyTheEmptyTextLeavesTheLayerAlone)
{
    NewLine untouched;
    EXPECT_EQ(SetEntityLayer(untouched, L""), Acad::eOk);
    EXPECT_TRUE(untouched->layerId().isNull()) << "the toolkit sets no layer";

    // A name of blanks is handed to the host like any other name, which
    // either makes a layer of it or refuses it.
    NewLine blank;
    const Acad::ErrorStatus es = SetEntityLayer(blank, L" ");
    EXPECT_TRUE(es != Acad::eOk || !blank->layerId().isNull());
}

TEST_F(EntityPlacementTest, ExistingLayerIsUsedAndNothingIsAdded)
{
    AcDbObjectId walls;
    ASSERT_EQ(AddLayer(L"Walls", walls, 0x0000FF, FALSE, FALSE, FALSE), Acad::eOk);
    const int layersBefore = LayerCount();

    NewLine line;
    ASSERT_EQ(AddEntity(line, L"walls", AcCmColor()), Acad::eOk) << "lookups ignore case";
    EXPECT_EQ(line->layerId(), walls);
    EXPECT_EQ(LayerCount(), layersBefore);
}

TEST_F(EntityPlacementTest, MissingLayerIsCreatedOnceWithDefaults)
{
    const int layersBefore = LayerCount();
    NewLine first;
    ASSERT_EQ(AddEntity(first, L"Doors", AcCmColor()), Acad::eOk);
    const AcDbObjectId doors = LookUpLayer(L"Doors");
    ASSERT_FALSE(doors.isNull());
    EXPECT_EQ(first->layerId(), doors);
    EXPECT_EQ(LayerCount(), layersBefore + 1);

    // Only the name is set: the record has the host's defaults otherwise.
    AcDbLayerTableRecord fresh;
    const LayerState state = ReadLayer(doors);
    EXPECT_TRUE(state.color == fresh.color());
    EXPECT_FALSE(state.frozen);
    EXPECT_FALSE(state.locked);
    EXPECT_FALSE(state.off);

    NewLine second;
    ASSERT_EQ(AddEntity(second, L"Doors", AcCmColor()), Acad::eOk);
    EXPECT_EQ(second->layerId(), doors);
    EXPECT_EQ(LayerCount(), layersBefore + 1);
}

TEST_F(EntityPlacementTest, RefusedLayerNameStopsBeforeColourAndAppend)
{
    for (const wchar_t* name : {L"a<b", L"x,y", L"what?", L"pipe|"}) {
        SCOPED_TRACE(testing::Message() << "layer name " << Narrow(name));
        const int layersBefore = LayerCount();
        NewLine line;
        const AcCmColor before = line->color();
        const Acad::ErrorStatus es = AddEntity(line, name, Rgb(10, 20, 30));
        EXPECT_NE(es, Acad::eOk);
        EXPECT_TRUE(line->objectId().isNull()) << "nothing is appended";
        EXPECT_TRUE(line->color() == before) << "the colour step does not run";
        EXPECT_EQ(LayerCount(), layersBefore);
    }
    EXPECT_TRUE(modelSpaceIds().empty());
}

TEST_F(EntityPlacementTest, FailedAppendLeavesTheEntityLayeredColouredAndOutside)
{
    // A block record open for read cannot take entities.
    const AcDbObjectId blockId = ToolkitTest::addBlock(L"Parts");
    AcDbBlockTableRecord* block = nullptr;
    ASSERT_EQ(acdbOpenObject(block, blockId, AcDb::kForRead), Acad::eOk);
    NewLine line;
    AcCmColor color;
    color.setColorIndex(5);
    const Acad::ErrorStatus es = AddEntity(line, L"Layered", color, block);
    block->close();

    EXPECT_NE(es, Acad::eOk);
    EXPECT_TRUE(line->objectId().isNull());
    EXPECT_EQ(line->colorIndex(), 5);
    EXPECT_EQ(line->layerId(), LookUpLayer(L"Layered"));
}

TEST_F(EntityPlacementTest, FailedColourStepIsReturnedAndNothingIsAppended)
{
    // An entity open only for read takes no colour.
    AcDbObjectId id;
    {
        NewLine line;
        ASSERT_EQ(AppendToModelSpace(line, id), Acad::eOk);
    }
    AcDbEntity* entity = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForRead), Acad::eOk);
    const AcCmColor before = entity->color();
    AcCmColor red;
    red.setColorIndex(1);
    EXPECT_EQ(AddEntity(entity, L"", red), Acad::eNotOpenForWrite);
    EXPECT_EQ(AddEntity(entity, L"", 0x0000FF), Acad::eNotOpenForWrite);
    EXPECT_EQ(SetEntityLayerAndColor(entity, L"", red), Acad::eNotOpenForWrite);
    EXPECT_TRUE(entity->color() == before);
    entity->close();
    EXPECT_EQ(modelSpaceIds(), std::vector<AcDbObjectId>{id});
}

TEST_F(EntityPlacementTest, IdFormsHandBackTheNewObjectId)
{
    NewLine a, b, c;
    AcDbObjectId idA, idB, idC;
    ASSERT_EQ(AddEntity(a, L"", AcCmColor(), idA), Acad::eOk);
    ASSERT_EQ(AddEntity(b, L"", 0x00FF00, idB), Acad::eOk);
    ASSERT_EQ(AppendToModelSpace(c, idC), Acad::eOk);
    EXPECT_EQ(idA, a->objectId());
    EXPECT_EQ(idB, b->objectId());
    EXPECT_EQ(idC, c->objectId());
    EXPECT_FALSE(idA.isNull());
    EXPECT_EQ(b->color().green(), 255);
}

TEST_F(EntityPlacementTest, AppendToACallersRecordLeavesItOpen)
{
    const AcDbObjectId blockId = ToolkitTest::addBlock(L"Parts");
    AcDbBlockTableRecord* block = nullptr;
    ASSERT_EQ(acdbOpenObject(block, blockId, AcDb::kForWrite), Acad::eOk);
    NewLine line;
    AcDbObjectId id;
    EXPECT_EQ(AppendToModelSpace(line, id, block), Acad::eOk);
    EXPECT_TRUE(block->isWriteEnabled()) << "the caller's record stays open";
    EXPECT_EQ(line->ownerId(), blockId);
    EXPECT_EQ(id, line->objectId());
    block->close();
    EXPECT_TRUE(modelSpaceIds().empty());

    // The same through AddEntity; a second append of a resident entity fails.
    ASSERT_EQ(acdbOpenObject(block, blockId, AcDb::kForWrite), Acad::eOk);
    NewLine other;
    EXPECT_EQ(AddEntity(other, L"", AcCmColor(), block), Acad::eOk);
    EXPECT_EQ(other->ownerId(), blockId);
    EXPECT_NE(AppendToModelSpace(other, block), Acad::eOk);
    block->close();
}

// The packed colour: red in bits 0-7, green 8-15, blue 16-23.
struct RgbCase {
    int rgb;
    bool index7;  // colour index 7 rather than a true colour
    int r, g, b;
};

const RgbCase kRgbCases[] = {
    {0, true, 0, 0, 0},
    {0x000001, false, 1, 0, 0},
    {0x0000FF, false, 255, 0, 0},
    {0x00FF00, false, 0, 255, 0},
    {0xFF0000, false, 0, 0, 255},
    {0x00563412, false, 0x12, 0x34, 0x56},
    {0x01000000, false, 0, 0, 0},  // only the high byte: not 0, so true black
    {static_cast<int>(0xFF123456u), false, 0x56, 0x34, 0x12},
};

TEST_F(EntityPlacementTest, RgbColourForEntities)
{
    for (const RgbCase& c : kRgbCases) {
        SCOPED_TRACE(testing::Message() << "rgbColor 0x" << std::hex << c.rgb);
        NewLine direct, placed, layered;
        ASSERT_EQ(SetEntityColorRgb(direct, c.rgb), Acad::eOk);
        ASSERT_EQ(AddEntity(placed, L"", c.rgb), Acad::eOk);
        ASSERT_EQ(SetEntityLayerAndColor(layered, L"Rgb", c.rgb), Acad::eOk);
        EXPECT_TRUE(layered->objectId().isNull()) << "nothing is appended";
        EXPECT_EQ(layered->layerId(), LookUpLayer(L"Rgb"));
        for (AcDbEntity* e :
             {static_cast<AcDbEntity*>(direct), static_cast<AcDbEntity*>(placed), static_cast<AcDbEntity*>(layered)}) {
            const AcCmColor color = e->color();
            if (c.index7) {
                EXPECT_TRUE(color.isByACI());
                EXPECT_EQ(color.colorIndex(), 7);
            } else {
                EXPECT_TRUE(color.isByColor());
                EXPECT_EQ(color.red(), c.r);
                EXPECT_EQ(color.green(), c.g);
                EXPECT_EQ(color.blue(), c.b);
            }
        }
    }
}

TEST_F(EntityPlacementTest, RgbColourForNewLayersIsAlwaysTrueColour)
{
    int n = 0;
    for (const RgbCase& c : kRgbCases) {
        SCOPED_TRACE(testing::Message() << "rgbColor 0x" << std::hex << c.rgb);
        const CString name = CString(L"L") + CString(std::to_wstring(n++).c_str());
        AcDbObjectId id;
        ASSERT_EQ(AddLayer(name, id, c.rgb, FALSE, FALSE, FALSE), Acad::eOk);
        const LayerState state = ReadLayer(id);
        EXPECT_TRUE(state.color.isByColor()) << "0 is black, not colour index 7";
        EXPECT_EQ(state.color.red(), c.r);
        EXPECT_EQ(state.color.green(), c.g);
        EXPECT_EQ(state.color.blue(), c.b);
    }
}

TEST_F(EntityPlacementTest, AddLayerSetsStatesOnlyOnANewLayer)
{
    AcDbObjectId id;
    ASSERT_EQ(AddLayer(L"Hidden", id, 0x102030, TRUE, TRUE, TRUE), Acad::eOk);
    ASSERT_FALSE(id.isNull());
    LayerState state = ReadLayer(id);
    EXPECT_TRUE(state.frozen);
    EXPECT_TRUE(state.locked);
    EXPECT_TRUE(state.off);

    AcDbObjectId again;
    const int layersBefore = LayerCount();
    EXPECT_EQ(AddLayer(L"HIDDEN", again, 0x00FF00, FALSE, FALSE, FALSE), Acad::eOk);
    EXPECT_EQ(again, id);
    EXPECT_EQ(AddLayer(L"Hidden", 0, FALSE, FALSE, FALSE), Acad::eOk);
    EXPECT_EQ(LayerCount(), layersBefore);
    state = ReadLayer(id);
    EXPECT_TRUE(state.frozen && state.locked && state.off) << "an existing layer is left alone";
    EXPECT_EQ(state.color.red(), 0x30);
    EXPECT_EQ(state.color.green(), 0x20);
    EXPECT_EQ(state.color.blue(), 0x10);

    EXPECT_NE(AddLayer(L"bad:name", id, 0, FALSE, FALSE, FALSE), Acad::eOk);
    EXPECT_EQ(LayerCount(), layersBefore);
}

TEST_F(EntityPlacementTest, GetLayerIdFindsCreatesOrReportsNullId)
{
    const int layersBefore = LayerCount();
    AcDbObjectId id;
    EXPECT_EQ(GetLayerId(L"Missing", FALSE, id), Acad::eNullObjectId);
    EXPECT_EQ(static_cast<int>(Acad::eNullObjectId), 16);
    EXPECT_TRUE(GetLayerId(L"Missing", FALSE).isNull());
    EXPECT_EQ(LayerCount(), layersBefore);

    EXPECT_EQ(GetLayerId(L"0", FALSE, id), Acad::eOk);
    EXPECT_EQ(id, LookUpLayer(L"0"));

    const AcDbObjectId made = GetLayerId(L"Made", TRUE);
    EXPECT_FALSE(made.isNull());
    EXPECT_EQ(made, LookUpLayer(L"Made"));
    EXPECT_EQ(GetLayerId(L"made", TRUE), made);
    EXPECT_EQ(LayerCount(), layersBefore + 1);

    // A name the host refuses: the add's status, nothing created.
    EXPECT_NE(GetLayerId(L"no*star", TRUE, id), Acad::eOk);
    EXPECT_TRUE(GetLayerId(L"no*star", TRUE).isNull());
    EXPECT_EQ(LayerCount(), layersBefore + 1);
}

TEST_F(EntityPlacementTest, GetBlockName)
{
    CString name = L"unchanged";
    EXPECT_EQ(GetBlockName(ModelSpaceId(), name), Acad::eOk);
    EXPECT_EQ(name, CString(L"*Model_Space"));

    const AcDbObjectId parts = ToolkitTest::addBlock(L"Parts");
    EXPECT_EQ(GetBlockName(parts), CString(L"Parts"));

    // A layer record is no block table record; a null id names nothing.
    for (const AcDbObjectId& id : {LookUpLayer(L"0"), AcDbObjectId::kNull}) {
        CString kept = L"kept";
        EXPECT_NE(GetBlockName(id, kept), Acad::eOk);
        EXPECT_EQ(kept, CString(L"kept"));
        EXPECT_EQ(GetBlockName(id), CString(L""));
    }
}
