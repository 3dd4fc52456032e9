// Colours and entity properties.
#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "Colors.h"
#include "EditorTest.h"

#include "dbsymtb.h"

namespace {

class Colors : public EditorTest {
protected:
    static AcDbObjectId layerId(const ACHAR* name)
    {
        AcDbObjectId id;
        AcDbLayerTable* table = nullptr;
        EXPECT_EQ(db()->getSymbolTable(table, AcDb::kForRead), Acad::eOk);
        EXPECT_EQ(table->getAt(name, id), Acad::eOk);
        table->close();
        return id;
    }

    static AcDbObjectId linetypeId(const ACHAR* name)
    {
        AcDbObjectId id;
        AcDbLinetypeTable* table = nullptr;
        EXPECT_EQ(db()->getSymbolTable(table, AcDb::kForRead), Acad::eOk);
        EXPECT_EQ(table->getAt(name, id), Acad::eOk);
        table->close();
        return id;
    }

    static AcDbObjectId spaceId(const ACHAR* name)
    {
        AcDbObjectId id;
        AcDbBlockTable* table = nullptr;
        EXPECT_EQ(db()->getSymbolTable(table, AcDb::kForRead), Acad::eOk);
        EXPECT_EQ(table->getAt(name, id), Acad::eOk);
        table->close();
        return id;
    }

    // A line with the colour, on the layer when one is named.
    static AcDbObjectId lineWith(const AcCmColor& color, const ACHAR* layer = nullptr)
    {
        AcDbLine* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
        line->setDatabaseDefaults(db());
        if (layer != nullptr) {
            EXPECT_EQ(line->setLayer(layer), Acad::eOk);
        }
        EXPECT_EQ(line->setColor(color), Acad::eOk);
        return add(line);
    }

    static AcCmColor indexColor(Adesk::UInt16 index)
    {
        AcCmColor color;
        color.setColorIndex(index);
        return color;
    }

    static AcCmColor trueColor(int red, int green, int blue)
    {
        AcCmColor color;
        color.setRGB(static_cast<Adesk::UInt8>(red), static_cast<Adesk::UInt8>(green), static_cast<Adesk::UInt8>(blue));
        return color;
    }

    static std::wstring text(const CString& s) { return std::wstring((LPCTSTR)s); }
};

int Pack(int red, int green, int blue)
{
    return red | green << 8 | blue << 16;
}

// The RGB value of each colour index from 1 to 258, red in the low byte.
const int kPalette[258] = {
    0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF, 0xFFFFFF, 0x808080, 0xC0C0C0, 0x0000FF, 0x8080FF,
    0x0000A6, 0x5353A6, 0x000080, 0x404080, 0x00004D, 0x26264D, 0x000026, 0x131326, 0x0040FF, 0x809FFF, 0x0029A6,
    0x5368A6, 0x002080, 0x405080, 0x00134D, 0x26304D, 0x000A26, 0x131826, 0x0080FF, 0x80BFFF, 0x0053A6, 0x537CA6,
    0x004080, 0x406080, 0x00264D, 0x26394D, 0x001326, 0x131D26, 0x00BFFF, 0x80DFFF, 0x007CA6, 0x5391A6, 0x006080,
    0x407080, 0x00394D, 0x26434D, 0x001D26, 0x132126, 0x00FFFF, 0x80FFFF, 0x00A6A6, 0x53A6A6, 0x008080, 0x408080,
    0x004D4D, 0x264D4D, 0x002626, 0x132626, 0x00FFBF, 0x80FFDF, 0x00A67C, 0x53A691, 0x008060, 0x408070, 0x004D39,
    0x264D43, 0x00261D, 0x132621, 0x00FF80, 0x80FFBF, 0x00A653, 0x53A67C, 0x008040, 0x408060, 0x004D26, 0x264D39,
    0x002613, 0x13261D, 0x00FF40, 0x80FF9F, 0x00A629, 0x53A668, 0x008020, 0x408050, 0x004D13, 0x264D30, 0x00260A,
    0x132618, 0x00FF00, 0x80FF80, 0x00A600, 0x53A653, 0x008000, 0x408040, 0x004D00, 0x264D26, 0x002600, 0x132613,
    0x40FF00, 0x9FFF80, 0x29A600, 0x68A653, 0x208000, 0x508040, 0x134D00, 0x304D26, 0x0A2600, 0x182613, 0x80FF00,
    0xBFFF80, 0x40A600, 0x7CA653, 0x408000, 0x608040, 0x264D00, 0x394D26, 0x132600, 0x1D2613, 0xBFFF00, 0xDFFF80,
    0x7CA600, 0x91A653, 0x608000, 0x708040, 0x394D00, 0x434D26, 0x1D2600, 0x212613, 0xFFFF00, 0xFFFF80, 0xA6A600,
    0xA6A653, 0x808000, 0x808040, 0x4D4D00, 0x4D4D26, 0x262600, 0x262613, 0xFFBF00, 0xFFDF80, 0xA67C00, 0xA69153,
    0x806000, 0x807040, 0x4D3900, 0x4D4326, 0x261D00, 0x262113, 0xFF8000, 0xFFBF80, 0xA65300, 0xA67C53, 0x804000,
    0x806040, 0x4D2600, 0x4D3926, 0x261300, 0x261D13, 0xFF4000, 0xFF9F80, 0xA62900, 0xA66853, 0x802000, 0x805040,
    0x4D1300, 0x4D3026, 0x260A00, 0x261813, 0xFF0000, 0xFF8080, 0xA60000, 0xA65353, 0x800000, 0x804040, 0x4D0000,
    0x4D2626, 0x260000, 0x261313, 0xFF0040, 0xFF809F, 0xA60029, 0xA65368, 0x800020, 0x804050, 0x4D0013, 0x4D2630,
    0x26000A, 0x261318, 0xFF0080, 0xFF80BF, 0xA60053, 0xA6537C, 0x800040, 0x804060, 0x4D0026, 0x4D2639, 0x260013,
    0x26131D, 0xFF00BF, 0xFF80DF, 0xA6007C, 0xA65391, 0x800060, 0x804070, 0x4D0039, 0x4D2643, 0x26001D, 0x261321,
    0xFF00FF, 0xFF80FF, 0xA600A6, 0xA653A6, 0x800080, 0x804080, 0x4D004D, 0x4D264D, 0x260026, 0x261326, 0xBF00FF,
    0xDF80FF, 0x7C00A6, 0x9153A6, 0x600080, 0x704080, 0x39004D, 0x43264D, 0x1D0026, 0x211326, 0x8000FF, 0xBF80FF,
    0x5300A6, 0x7C53A6, 0x400080, 0x604080, 0x26004D, 0x39264D, 0x130026, 0x1D1326, 0x4000FF, 0x9F80FF, 0x2900A6,
    0x6853A6, 0x200080, 0x504080, 0x13004D, 0x30264D, 0x0A0026, 0x181326, 0x545454, 0x767676, 0x989898, 0xBBBBBB,
    0xDDDDDD, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
};

// ---- Colour conversion ----------------------------------------------------

TEST_F(Colors, AciToRgbGivesThePaletteEntryOfEveryIndex)
{
    for (int index = 1; index <= 258; ++index)
        EXPECT_EQ(AciToRgb(index), kPalette[index - 1]) << "index " << index;
}

TEST_F(Colors, AciToRgbPacksRedInTheLowByte)
{
    const struct {
        int index;
        int rgb;
    } cases[] = {
        {1, 0x0000FF},
        {3, 0x00FF00},
        {5, 0xFF0000},
        {7, 0xFFFFFF},
        {8, Pack(128, 128, 128)},
        {20, Pack(255, 64, 0)},
        {112, Pack(0, 166, 64)},
        {113, Pack(83, 166, 124)},
        {250, Pack(84, 84, 84)},
        {255, 0xFFFFFF},
        {256, 0xFFFFFF},
        {258, 0xFFFFFF},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AciToRgb(c.index), c.rgb) << "index " << c.index;
}

TEST_F(Colors, AciToRgbOutsideThePaletteGivesWhite)
{
    const int indices[] = {0, -1, -7, 259, 260, 1000, 65535, INT_MAX, INT_MIN};
    for (int index : indices)
        EXPECT_EQ(AciToRgb(index), 0xFFFFFF) << "index " << index;
}

TEST_F(Colors, RgbToColorMakesATrueColour)
{
    const AcCmColor color = RgbToColor(Pack(10, 20, 30));
    EXPECT_TRUE(color.isByColor());
    EXPECT_EQ(color.red(), 10);
    EXPECT_EQ(color.green(), 20);
    EXPECT_EQ(color.blue(), 30);

    // Bits above blue do not leak into the colour.
    EXPECT_EQ(RgbToColor(static_cast<int>(0xFF000000u) | Pack(10, 20, 30)), color);
    const AcCmColor white = RgbToColor(0xFFFFFF);
    EXPECT_EQ(white.red(), 255);
    EXPECT_EQ(white.green(), 255);
    EXPECT_EQ(white.blue(), 255);
}

// ---- Layer colours --------------------------------------------------------

TEST_F(Colors, LayerColoursOfAnExistingLayer)
{
    addLayer(L"Walls", 5);

    int index = -1;
    EXPECT_EQ(GetLayerColorIndex(L"Walls", index), Acad::eOk);
    EXPECT_EQ(index, 5);
    EXPECT_EQ(GetLayerColorIndex(L"Walls"), 5);
    EXPECT_EQ(GetLayerColorIndex(L"0"), 7);

    int rgb = -1;
    EXPECT_EQ(GetLayerColorRgb(L"Walls", rgb), Acad::eOk);
    EXPECT_EQ(rgb, 0xFF0000);
    EXPECT_EQ(GetLayerColorRgb(L"Walls"), 0xFF0000);
}

TEST_F(Colors, LayerColoursOfAMissingLayerWriteNothing)
{
    int index = -1;
    EXPECT_EQ(GetLayerColorIndex(L"Missing", index), Acad::eKeyNotFound);
    EXPECT_EQ(index, -1);
    int rgb = -1;
    EXPECT_EQ(GetLayerColorRgb(L"Missing", rgb), Acad::eKeyNotFound);
    EXPECT_EQ(rgb, -1);

    // The value forms give white.
    EXPECT_EQ(GetLayerColorIndex(L"Missing"), 7);
    EXPECT_EQ(GetLayerColorRgb(L"Missing"), 0xFFFFFF);
}

// ---- The colour an entity shows -------------------------------------------

TEST_F(Colors, GetEntityColorRgbResolvesEachColourMethod)
{
    addLayer(L"Blue", 5);
    addLayer(L"Grey", 250);

    const struct {
        const char* name;
        AcCmColor color;
        const ACHAR* layer;
        int rgb;
    } cases[] = {
        {"true colour", trueColor(10, 20, 30), nullptr, Pack(10, 20, 30)},
        {"true black", trueColor(0, 0, 0), nullptr, 0},
        {"colour index 1", indexColor(1), nullptr, 0x0000FF},
        {"colour index 112", indexColor(112), nullptr, Pack(0, 166, 64)},
        {"ByLayer on a blue layer", indexColor(256), L"Blue", 0xFF0000},
        {"ByLayer on a grey layer", indexColor(256), L"Grey", Pack(84, 84, 84)},
        {"ByLayer on layer 0", indexColor(256), L"0", 0xFFFFFF},
        {"ByBlock", indexColor(0), L"Blue", 0xFFFFFF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const AcDbObjectId id = lineWith(c.color, c.layer);
        int rgb = -1;
        EXPECT_EQ(GetEntityColorRgb(id, rgb), Acad::eOk);
        EXPECT_EQ(rgb, c.rgb);
        EXPECT_EQ(GetEntityColorRgb(id), c.rgb);
    }
}

TEST_F(Colors, GetEntityColorRgbOfAnEntityThatCannotBeOpened)
{
    const AcDbObjectId line = lineWith(indexColor(1));
    erase(line);

    int rgb = -1;
    EXPECT_EQ(GetEntityColorRgb(line, rgb), Acad::eWasErased);
    EXPECT_EQ(rgb, 0xFFFFFF);
    EXPECT_EQ(GetEntityColorRgb(line), 0xFFFFFF);

    rgb = -1;
    EXPECT_EQ(GetEntityColorRgb(AcDbObjectId(), rgb), Acad::eNullObjectId);
    EXPECT_EQ(rgb, 0xFFFFFF);

    // A layer record is no entity.
    rgb = -1;
    EXPECT_EQ(GetEntityColorRgb(layerId(L"0"), rgb), Acad::eNotAnEntity);
    EXPECT_EQ(rgb, 0xFFFFFF);
}

// ---- Entity properties ----------------------------------------------------

TEST_F(Colors, PropertiesOfAnEntity)
{
    addLayer(L"Walls", 3);
    AcDbLine* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
    line->setDatabaseDefaults(db());
    ASSERT_EQ(line->setLayer(L"Walls"), Acad::eOk);
    ASSERT_EQ(line->setLinetype(L"Continuous"), Acad::eOk);
    ASSERT_EQ(line->setColor(trueColor(10, 20, 30)), Acad::eOk);
    const AcDbObjectId id = add(line);

    CString layer;
    GetEntityLayer(id, layer);
    EXPECT_EQ(text(layer), L"Walls");
    EXPECT_EQ(text(GetEntityLayer(id)), L"Walls");

    CString linetype;
    GetEntityLinetype(id, linetype);
    EXPECT_EQ(text(linetype), L"Continuous");
    EXPECT_EQ(text(GetEntityLinetype(id)), L"Continuous");

    AcCmColor color;
    GetEntityColor(id, color);
    EXPECT_EQ(color, trueColor(10, 20, 30));
    EXPECT_EQ(GetEntityColor(id), trueColor(10, 20, 30));

    CString bothLayer;
    AcCmColor bothColor;
    GetEntityLayerAndColor(id, bothLayer, bothColor);
    EXPECT_EQ(text(bothLayer), L"Walls");
    EXPECT_EQ(bothColor, trueColor(10, 20, 30));

    AcDbObjectId found;
    GetEntityLayerId(id, found);
    EXPECT_EQ(found, layerId(L"Walls"));
    EXPECT_EQ(GetEntityLayerId(id), layerId(L"Walls"));

    GetEntityLinetypeId(id, found);
    EXPECT_EQ(found, linetypeId(L"Continuous"));
    EXPECT_EQ(GetEntityLinetypeId(id), linetypeId(L"Continuous"));

    GetEntityBlockId(id, found);
    EXPECT_EQ(found, spaceId(ACDB_MODEL_SPACE));
    EXPECT_EQ(GetEntityBlockId(id), spaceId(ACDB_MODEL_SPACE));
}

TEST_F(Colors, GetEntityClassNameGivesTheRunTimeClass)
{
    EXPECT_EQ(text(GetEntityClassName(addLine())), L"AcDbLine");
    EXPECT_EQ(text(GetEntityClassName(addFace())), L"AcDbFace");
    EXPECT_EQ(text(GetEntityClassName(addPoint(1, 2, 3))), L"AcDbPoint");
}

TEST_F(Colors, PropertiesOfAnEntityThatCannotBeOpenedAreLeftAlone)
{
    const AcDbObjectId erased = addLine();
    erase(erased);

    const AcDbObjectId unreadable[] = {erased, AcDbObjectId(), layerId(L"0")};
    const AcDbObjectId marker = addFace();
    for (const AcDbObjectId& id : unreadable) {
        CString layer(L"before"), linetype(L"before");
        AcCmColor color = trueColor(1, 2, 3);
        AcDbObjectId layerOut = marker, linetypeOut = marker, blockOut = marker;

        GetEntityLayer(id, layer);
        GetEntityLinetype(id, linetype);
        GetEntityColor(id, color);
        GetEntityLayerId(id, layerOut);
        GetEntityLinetypeId(id, linetypeOut);
        GetEntityBlockId(id, blockOut);
        EXPECT_EQ(text(layer), L"before");
        EXPECT_EQ(text(linetype), L"before");
        EXPECT_EQ(color, trueColor(1, 2, 3));
        EXPECT_EQ(layerOut, marker);
        EXPECT_EQ(linetypeOut, marker);
        EXPECT_EQ(blockOut, marker);

        CString bothLayer(L"before");
        AcCmColor bothColor = trueColor(1, 2, 3);
        GetEntityLayerAndColor(id, bothLayer, bothColor);
        EXPECT_EQ(text(bothLayer), L"before");
        EXPECT_EQ(bothColor, trueColor(1, 2, 3));

        EXPECT_EQ(text(GetEntityLayer(id)), L"");
        EXPECT_EQ(text(GetEntityLinetype(id)), L"");
        EXPECT_EQ(GetEntityColor(id), AcCmColor());
        EXPECT_TRUE(GetEntityLayerId(id).isNull());
        EXPECT_TRUE(GetEntityLinetypeId(id).isNull());
        EXPECT_TRUE(GetEntityBlockId(id).isNull());
        EXPECT_EQ(text(GetEntityClassName(id)), L"");
    }
}

// ---- Owning block ---------------------------------------------------------

TEST_F(Colors, GetOwnerBlockNameNamesTheSpace)
{
    const struct {
        const ACHAR* space;
    } cases[] = {{ACDB_MODEL_SPACE}, {ACDB_PAPER_SPACE}};
    for (const auto& c : cases) {
        const AcDbObjectId id = add(new AcDbPoint(AcGePoint3d(1, 2, 3)), c.space);
        CString name;
        EXPECT_EQ(GetOwnerBlockName(id, name), Acad::eOk);
        EXPECT_EQ(text(name), c.space);
        EXPECT_EQ(text(GetOwnerBlockName(id)), c.space);
    }
}

TEST_F(Colors, GetOwnerBlockNameOfAnEntityThatCannotBeOpened)
{
    const AcDbObjectId erased = addLine();
    erase(erased);

    const struct {
        AcDbObjectId id;
        Acad::ErrorStatus status;
    } cases[] = {
        {erased, Acad::eWasErased},
        {AcDbObjectId(), Acad::eNullObjectId},
        {layerId(L"0"), Acad::eNotAnEntity},
    };
    for (const auto& c : cases) {
        CString name(L"before");
        EXPECT_EQ(GetOwnerBlockName(c.id, name), c.status);
        EXPECT_EQ(text(name), L"before");
        EXPECT_EQ(text(GetOwnerBlockName(c.id)), L"");
    }
}

TEST_F(Colors, PropertyReadsLeaveTheEntityAsTheCallerHadIt)
{
    // An entity the caller holds open for read can still be read.
    const AcDbObjectId id = lineWith(indexColor(1));
    AcDbEntity* held = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(held, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(GetEntityColorRgb(id), 0x0000FF);
    EXPECT_EQ(text(GetOwnerBlockName(id)), ACDB_MODEL_SPACE);
    EXPECT_EQ(text(GetEntityClassName(id)), L"AcDbLine");
    ASSERT_EQ(standin::openObjects().size(), 1u);
    EXPECT_EQ(standin::openObjects()[0].readers, 1);
    held->close();
}

}  // namespace
