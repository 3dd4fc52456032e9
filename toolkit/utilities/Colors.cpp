#include "Colors.h"

#include <acutmem.h>
#include <dbapserv.h>
#include <dbsymtb.h>

namespace {

const int kWhite = 0xFFFFFF;
// The colour index shown as white.
const int kWhiteIndex = 7;

// Red, green and blue of each colour index from 1 to 258 (entry i-1 holds
// index i); 256 to 258 are white.
const int kAciPaletteSize = 258;
const int AciPalette[kAciPaletteSize][3] = {
    /*   1 */ {255, 0, 0},
    /*   2 */ {255, 255, 0},
    /*   3 */ {0, 255, 0},
    /*   4 */ {0, 255, 255},
    /*   5 */ {0, 0, 255},
    /*   6 */ {255, 0, 255},
    /*   7 */ {255, 255, 255},
    /*   8 */ {128, 128, 128},
    /*   9 */ {192, 192, 192},
    /*  10 */ {255, 0, 0},
    /*  11 */ {255, 128, 128},
    /*  12 */ {166, 0, 0},
    /*  13 */ {166, 83, 83},
    /*  14 */ {128, 0, 0},
    /*  15 */ {128, 64, 64},
    /*  16 */ {77, 0, 0},
    /*  17 */ {77, 38, 38},
    /*  18 */ {38, 0, 0},
    /*  19 */ {38, 19, 19},
    /*  20 */ {255, 64, 0},
    /*  21 */ {255, 159, 128},
    /*  22 */ {166, 41, 0},
    /*  23 */ {166, 104, 83},
    /*  24 */ {128, 32, 0},
    /*  25 */ {128, 80, 64},
    /*  26 */ {77, 19, 0},
    /*  27 */ {77, 48, 38},
    /*  28 */ {38, 10, 0},
    /*  29 */ {38, 24, 19},
    /*  30 */ {255, 128, 0},
    /*  31 */ {255, 191, 128},
    /*  32 */ {166, 83, 0},
    /*  33 */ {166, 124, 83},
    /*  34 */ {128, 64, 0},
    /*  35 */ {128, 96, 64},
    /*  36 */ {77, 38, 0},
    /*  37 */ {77, 57, 38},
    /*  38 */ {38, 19, 0},
    /*  39 */ {38, 29, 19},
    /*  40 */ {255, 191, 0},
    /*  41 */ {255, 223, 128},
    /*  42 */ {166, 124, 0},
    /*  43 */ {166, 145, 83},
    /*  44 */ {128, 96, 0},
    /*  45 */ {128, 112, 64},
    /*  46 */ {77, 57, 0},
    /*  47 */ {77, 67, 38},
    /*  48 */ {38, 29, 0},
    /*  49 */ {38, 33, 19},
    /*  50 */ {255, 255, 0},
    /*  51 */ {255, 255, 128},
    /*  52 */ {166, 166, 0},
    /*  53 */ {166, 166, 83},
    /*  54 */ {128, 128, 0},
    /*  55 */ {128, 128, 64},
    /*  56 */ {77, 77, 0},
    /*  57 */ {77, 77, 38},
    /*  58 */ {38, 38, 0},
    /*  59 */ {38, 38, 19},
    /*  60 */ {191, 255, 0},
    /*  61 */ {223, 255, 128},
    /*  62 */ {124, 166, 0},
    /*  63 */ {145, 166, 83},
    /*  64 */ {96, 128, 0},
    /*  65 */ {112, 128, 64},
    /*  66 */ {57, 77, 0},
    /*  67 */ {67, 77, 38},
    /*  68 */ {29, 38, 0},
    /*  69 */ {33, 38, 19},
    /*  70 */ {128, 255, 0},
    /*  71 */ {191, 255, 128},
    /*  72 */ {83, 166, 0},
    /*  73 */ {124, 166, 83},
    /*  74 */ {64, 128, 0},
    /*  75 */ {96, 128, 64},
    /*  76 */ {38, 77, 0},
    /*  77 */ {57, 77, 38},
    /*  78 */ {19, 38, 0},
    /*  79 */ {29, 38, 19},
    /*  80 */ {64, 255, 0},
    /*  81 */ {159, 255, 128},
    /*  82 */ {41, 166, 0},
    /*  83 */ {104, 166, 83},
    /*  84 */ {32, 128, 0},
    /*  85 */ {80, 128, 64},
    /*  86 */ {19, 77, 0},
    /*  87 */ {48, 77, 38},
    /*  88 */ {10, 38, 0},
    /*  89 */ {24, 38, 19},
    /*  90 */ {0, 255, 0},
    /*  91 */ {128, 255, 128},
    /*  92 */ {0, 166, 0},
    /*  93 */ {83, 166, 83},
    /*  94 */ {0, 128, 0},
    /*  95 */ {64, 128, 64},
    /*  96 */ {0, 77, 0},
    /*  97 */ {38, 77, 38},
    /*  98 */ {0, 38, 0},
    /*  99 */ {19, 38, 19},
    /* 100 */ {0, 255, 64},
    /* 101 */ {128, 255, 159},
    /* 102 */ {0, 166, 41},
    /* 103 */ {83, 166, 104},
    /* 104 */ {0, 128, 32},
    /* 105 */ {64, 128, 80},
    /* 106 */ {0, 77, 19},
    /* 107 */ {38, 77, 48},
    /* 108 */ {0, 38, 10},
    /* 109 */ {19, 38, 24},
    /* 110 */ {0, 255, 128},
    /* 111 */ {128, 255, 191},
    // 112 leaves the pattern on purpose: the pattern, and the host's own
    // palette, give 0, 166, 83, but this palette's value is 0, 166, 64 and
    // callers' colours rely on it. Do not correct it to the host's.
    /* 112 */ {0, 166, 64},
    /* 113 */ {83, 166, 124},
    /* 114 */ {0, 128, 64},
    /* 115 */ {64, 128, 96},
    /* 116 */ {0, 77, 38},
    /* 117 */ {38, 77, 57},
    /* 118 */ {0, 38, 19},
    /* 119 */ {19, 38, 29},
    /* 120 */ {0, 255, 191},
    /* 121 */ {128, 255, 223},
    /* 122 */ {0, 166, 124},
    /* 123 */ {83, 166, 145},
    /* 124 */ {0, 128, 96},
    /* 125 */ {64, 128, 112},
    /* 126 */ {0, 77, 57},
    /* 127 */ {38, 77, 67},
    /* 128 */ {0, 38, 29},
    /* 129 */ {19, 38, 33},
    /* 130 */ {0, 255, 255},
    /* 131 */ {128, 255, 255},
    /* 132 */ {0, 166, 166},
    /* 133 */ {83, 166, 166},
    /* 134 */ {0, 128, 128},
    /* 135 */ {64, 128, 128},
    /* 136 */ {0, 77, 77},
    /* 137 */ {38, 77, 77},
    /* 138 */ {0, 38, 38},
    /* 139 */ {19, 38, 38},
    /* 140 */ {0, 191, 255},
    /* 141 */ {128, 223, 255},
    /* 142 */ {0, 124, 166},
    /* 143 */ {83, 145, 166},
    /* 144 */ {0, 96, 128},
    /* 145 */ {64, 112, 128},
    /* 146 */ {0, 57, 77},
    /* 147 */ {38, 67, 77},
    /* 148 */ {0, 29, 38},
    /* 149 */ {19, 33, 38},
    /* 150 */ {0, 128, 255},
    /* 151 */ {128, 191, 255},
    /* 152 */ {0, 83, 166},
    /* 153 */ {83, 124, 166},
    /* 154 */ {0, 64, 128},
    /* 155 */ {64, 96, 128},
    /* 156 */ {0, 38, 77},
    /* 157 */ {38, 57, 77},
    /* 158 */ {0, 19, 38},
    /* 159 */ {19, 29, 38},
    /* 160 */ {0, 64, 255},
    /* 161 */ {128, 159, 255},
    /* 162 */ {0, 41, 166},
    /* 163 */ {83, 104, 166},
    /* 164 */ {0, 32, 128},
    /* 165 */ {64, 80, 128},
    /* 166 */ {0, 19, 77},
    /* 167 */ {38, 48, 77},
    /* 168 */ {0, 10, 38},
    /* 169 */ {19, 24, 38},
    /* 170 */ {0, 0, 255},
    /* 171 */ {128, 128, 255},
    /* 172 */ {0, 0, 166},
    /* 173 */ {83, 83, 166},
    /* 174 */ {0, 0, 128},
    /* 175 */ {64, 64, 128},
    /* 176 */ {0, 0, 77},
    /* 177 */ {38, 38, 77},
    /* 178 */ {0, 0, 38},
    /* 179 */ {19, 19, 38},
    /* 180 */ {64, 0, 255},
    /* 181 */ {159, 128, 255},
    /* 182 */ {41, 0, 166},
    /* 183 */ {104, 83, 166},
    /* 184 */ {32, 0, 128},
    /* 185 */ {80, 64, 128},
    /* 186 */ {19, 0, 77},
    /* 187 */ {48, 38, 77},
    /* 188 */ {10, 0, 38},
    /* 189 */ {24, 19, 38},
    /* 190 */ {128, 0, 255},
    /* 191 */ {191, 128, 255},
    /* 192 */ {83, 0, 166},
    /* 193 */ {124, 83, 166},
    /* 194 */ {64, 0, 128},
    /* 195 */ {96, 64, 128},
    /* 196 */ {38, 0, 77},
    /* 197 */ {57, 38, 77},
    /* 198 */ {19, 0, 38},
    /* 199 */ {29, 19, 38},
    /* 200 */ {191, 0, 255},
    /* 201 */ {223, 128, 255},
    /* 202 */ {124, 0, 166},
    /* 203 */ {145, 83, 166},
    /* 204 */ {96, 0, 128},
    /* 205 */ {112, 64, 128},
    /* 206 */ {57, 0, 77},
    /* 207 */ {67, 38, 77},
    /* 208 */ {29, 0, 38},
    /* 209 */ {33, 19, 38},
    /* 210 */ {255, 0, 255},
    /* 211 */ {255, 128, 255},
    /* 212 */ {166, 0, 166},
    /* 213 */ {166, 83, 166},
    /* 214 */ {128, 0, 128},
    /* 215 */ {128, 64, 128},
    /* 216 */ {77, 0, 77},
    /* 217 */ {77, 38, 77},
    /* 218 */ {38, 0, 38},
    /* 219 */ {38, 19, 38},
    /* 220 */ {255, 0, 191},
    /* 221 */ {255, 128, 223},
    /* 222 */ {166, 0, 124},
    /* 223 */ {166, 83, 145},
    /* 224 */ {128, 0, 96},
    /* 225 */ {128, 64, 112},
    /* 226 */ {77, 0, 57},
    /* 227 */ {77, 38, 67},
    /* 228 */ {38, 0, 29},
    /* 229 */ {38, 19, 33},
    /* 230 */ {255, 0, 128},
    /* 231 */ {255, 128, 191},
    /* 232 */ {166, 0, 83},
    /* 233 */ {166, 83, 124},
    /* 234 */ {128, 0, 64},
    /* 235 */ {128, 64, 96},
    /* 236 */ {77, 0, 38},
    /* 237 */ {77, 38, 57},
    /* 238 */ {38, 0, 19},
    /* 239 */ {38, 19, 29},
    /* 240 */ {255, 0, 64},
    /* 241 */ {255, 128, 159},
    /* 242 */ {166, 0, 41},
    /* 243 */ {166, 83, 104},
    /* 244 */ {128, 0, 32},
    /* 245 */ {128, 64, 80},
    /* 246 */ {77, 0, 19},
    /* 247 */ {77, 38, 48},
    /* 248 */ {38, 0, 10},
    /* 249 */ {38, 19, 24},
    /* 250 */ {84, 84, 84},
    /* 251 */ {118, 118, 118},
    /* 252 */ {152, 152, 152},
    /* 253 */ {187, 187, 187},
    /* 254 */ {221, 221, 221},
    /* 255 */ {255, 255, 255},
    /* 256 */ {255, 255, 255},
    /* 257 */ {255, 255, 255},
    /* 258 */ {255, 255, 255},
};

int PackRgb(int red, int green, int blue)
{
    return (red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16;
}

// Opens an entity for read, erased entities not opened.
Acad::ErrorStatus OpenForRead(const AcDbObjectId& id, AcDbEntity*& entity)
{
    entity = nullptr;
    return acdbOpenAcDbEntity(entity, id, AcDb::kForRead, false);
}

// Takes over a text that the host allocated for the caller.
CString TakeHostText(ACHAR* text)
{
    CString result;
    if (text != nullptr) {
        result = text;
        acutDelString(text);
    }
    return result;
}

}  // namespace

int AciToRgb(int colorIndex)
{
    if (colorIndex < 1 || colorIndex > kAciPaletteSize)
        return kWhite;
    const int* entry = AciPalette[colorIndex - 1];
    return PackRgb(entry[0], entry[1], entry[2]);
}

AcCmColor RgbToColor(int rgbColor)
{
    AcCmColor color;
    color.setRGB(static_cast<Adesk::UInt8>(rgbColor & 0xFF), static_cast<Adesk::UInt8>((rgbColor >> 8) & 0xFF),
                 static_cast<Adesk::UInt8>((rgbColor >> 16) & 0xFF));
    return color;
}

Acad::ErrorStatus GetLayerColorIndex(const CString& layerName, int& colorIndex)
{
    AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
    if (database == nullptr)
        return Acad::eNoDatabase;

    AcDbLayerTable* table = nullptr;
    Acad::ErrorStatus es = database->getSymbolTable(table, AcDb::kForRead);
    if (es != Acad::eOk)
        return es;

    AcDbLayerTableRecord* record = nullptr;
    es = table->getAt(layerName, record, AcDb::kForRead, false);
    if (es == Acad::eOk) {
        colorIndex = static_cast<int>(static_cast<Adesk::UInt16>(record->color().colorIndex()));
        record->close();
    }
    table->close();
    return es;
}

int GetLayerColorIndex(const CString& layerName)
{
    int colorIndex = kWhiteIndex;
    GetLayerColorIndex(layerName, colorIndex);
    return colorIndex;
}

Acad::ErrorStatus GetLayerColorRgb(const CString& layerName, int& rgbColor)
{
    int colorIndex = 0;
    const Acad::ErrorStatus es = GetLayerColorIndex(layerName, colorIndex);
    if (es == Acad::eOk)
        rgbColor = AciToRgb(colorIndex);
    return es;
}

int GetLayerColorRgb(const CString& layerName)
{
    int rgbColor = kWhite;
    GetLayerColorRgb(layerName, rgbColor);
    return rgbColor;
}

Acad::ErrorStatus GetEntityColorRgb(const AcDbObjectId& id, int& rgbColor)
{
    rgbColor = kWhite;

    AcDbEntity* entity = nullptr;
    Acad::ErrorStatus es = OpenForRead(id, entity);
    if (es != Acad::eOk)
        return es;
    const AcCmColor color = entity->color();
    es = entity->close();
    if (es != Acad::eOk)
        return es;

    if (color.isByLayer()) {
        int colorIndex = 0;
        if (GetLayerColorIndex(GetEntityLayer(id), colorIndex) == Acad::eOk)
            rgbColor = AciToRgb(colorIndex);
    } else if (color.isByBlock()) {
        // A ByBlock colour is not resolved: white.
    } else if (color.isByColor()) {
        rgbColor = PackRgb(color.red(), color.green(), color.blue());
    } else if (color.isByACI()) {
        rgbColor = AciToRgb(color.colorIndex());
    }
    return Acad::eOk;
}

int GetEntityColorRgb(const AcDbObjectId& id)
{
    int rgbColor = kWhite;
    GetEntityColorRgb(id, rgbColor);
    return rgbColor;
}

void GetEntityLayer(const AcDbObjectId& id, CString& layer)
{
    AcDbEntity* entity = nullptr;
    if (OpenForRead(id, entity) != Acad::eOk)
        return;
    layer = TakeHostText(entity->layer());
    entity->close();
}

CString GetEntityLayer(const AcDbObjectId& id)
{
    CString layer;
    GetEntityLayer(id, layer);
    return layer;
}

void GetEntityLinetype(const AcDbObjectId& id, CString& linetype)
{
    AcDbEntity* entity = nullptr;
    if (OpenForRead(id, entity) != Acad::eOk)
        return;
    linetype = TakeHostText(entity->linetype());
    entity->close();
}

CString GetEntityLinetype(const AcDbObjectId& id)
{
    CString linetype;
    GetEntityLinetype(id, linetype);
    return linetype;
}

void GetEntityColor(const AcDbObjectId& id, AcCmColor& color)
{
    AcDbEntity* entity = nullptr;
    if (OpenForRead(id, entity) != Acad::eOk)
        return;
    color = entity->color();
    entity->close();
}

AcCmColor GetEntityColor(const AcDbObjectId& id)
{
    AcCmColor color;
    GetEntityColor(id, color);
    return color;
}

void GetEntityLayerAndColor(const AcDbObjectId& id, CString& layer, AcCmColor& color)
{
    AcDbEntity* entity = nullptr;
    if (OpenForRead(id, entity) != Acad::eOk)
        return;
    layer = TakeHostText(entity->layer());
    color = entity->color();
    entity->close();
}

void GetEntityLayerId(const AcDbObjectId& id, AcDbObjectId& layerId)
{
    AcDbEntity* entity = nullptr;
    if (OpenForRead(id, entity) != Acad::eOk)
        return;
    layerId = entity->layerId();
    entity->close();
}

AcDbObjectId GetEntityLayerId(const AcDbObjectId& id)
{
    AcDbObjectId layerId;
    GetEntityLayerId(id, layerId);
    return layerId;
}

void GetEntityLinetypeId(const AcDbObjectId& id, AcDbObjectId& linetypeId)
{
    AcDbEntity* entity = nullptr;
    if (OpenForRead(id, entity) != Acad::eOk)
        return;
    linetypeId = entity->linetypeId();
    entity->close();
}

AcDbObjectId GetEntityLinetypeId(const AcDbObjectId& id)
{
    AcDbObjectId linetypeId;
    GetEntityLinetypeId(id, linetypeId);
    return linetypeId;
}

void GetEntityBlockId(const AcDbObjectId& id, AcDbObjectId& blockId)
{
    AcDbEntity* entity = nullptr;
    if (OpenForRead(id, entity) != Acad::eOk)
        return;
    blockId = entity->blockId();
    entity->close();
}

AcDbObjectId GetEntityBlockId(const AcDbObjectId& id)
{
    AcDbObjectId blockId;
    GetEntityBlockId(id, blockId);
    return blockId;
}

CString GetEntityClassName(const AcDbObjectId& id)
{
    CString className;
    AcDbEntity* entity = nullptr;
    if (OpenForRead(id, entity) != Acad::eOk)
        return className;
    className = entity->isA()->name();
    entity->close();
    return className;
}

Acad::ErrorStatus GetOwnerBlockName(const AcDbObjectId& id, CString& name)
{
    AcDbEntity* entity = nullptr;
    Acad::ErrorStatus es = OpenForRead(id, entity);
    if (es != Acad::eOk)
        return es;
    const AcDbObjectId blockId = entity->blockId();
    es = entity->close();
    if (es != Acad::eOk)
        return es;

    AcDbObject* object = nullptr;
    es = acdbOpenAcDbObject(object, blockId, AcDb::kForRead, AcDbBlockTableRecord::desc(), false);
    if (es != Acad::eOk)
        return es;
    AcDbBlockTableRecord* record = static_cast<AcDbBlockTableRecord*>(object);

    ACHAR* recordName = nullptr;
    es = record->getName(recordName);
    if (es != Acad::eOk) {
        record->close();
        return es;
    }
    name = TakeHostText(recordName);
    record->close();
    return Acad::eOk;
}

CString GetOwnerBlockName(const AcDbObjectId& id)
{
    CString name;
    GetOwnerBlockName(id, name);
    return name;
}
