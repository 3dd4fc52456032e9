// The host's DXFIN: a DXF file read into the model space of a drawing.
//
// The file is read whole and checked before anything reaches the drawing:
// its group codes, the numbers of its numeric groups, its sections and the
// entity types it holds. The curves (CIRCLE, ARC, ELLIPSE, SPLINE, LWPOLYLINE,
// POLYLINE with its VERTEX records, RAY, XLINE) and MESH are read here from
// the checked groups, every count checked against the groups present; only
// then is dxflib handed the records it reads (the LTYPE and LAYER tables and
// 3DFACE, LINE and POINT), and no other record of the file.
// Every entity is built first; only when all of them are built are missing
// layers and linetypes created and the entities appended, and an append that
// fails takes back everything appended before it. An import is all or
// nothing.
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include "DbInternal.h"
#include "standin/AcDbStandin.h"
#include "standin/FileIo.h"
#include "standin/WideFormat.h"
#include "dbSubD.h"
#include "dbelipse.h"
#include "dbents.h"
#include "dbpl.h"
#include "dbspline.h"

namespace {

// A DXF file larger than this is refused before it is read.
constexpr std::uint64_t kMaxFileBytes = std::uint64_t(512) << 20;
// dxflib reads lines of up to 1024 characters; longer lines would be split.
constexpr size_t kMaxLine = 1000;

struct Failure {
    std::wstring reason;
};

[[noreturn]] void fail(const std::wstring& reason)
{
    throw Failure{reason};
}

[[noreturn]] void failAt(size_t line, const std::wstring& reason)
{
    throw Failure{L"line " + std::to_wstring(line) + L": " + reason};
}

// ---- Reading the file ----------------------------------------------------

std::string readWholeFile(const std::wstring& path)
{
    std::string data;
    if (const standin::files::FileError e = standin::files::readWholeFile(standin::narrow(path), kMaxFileBytes, data))
        fail(e.reason());
    return data;
}

// ---- Group pairs ---------------------------------------------------------

struct Pair {
    std::string_view value;  // without surrounding blanks, in the file's text
    std::uint32_t line = 0;  // of the group code
    int code = 0;
};

enum class Kind { Text, Real, Int, Bool, Invalid };

Kind kindOf(int code)
{
    if (code < 0)
        return Kind::Invalid;
    if (code <= 9)
        return Kind::Text;
    if (code <= 59)
        return Kind::Real;
    if (code <= 79)
        return Kind::Int;
    if (code <= 89)
        return Kind::Invalid;
    if (code <= 99)
        return Kind::Int;
    if (code == 100 || code == 102 || code == 105)
        return Kind::Text;
    if (code <= 109)
        return Kind::Invalid;
    if (code <= 149)
        return Kind::Real;
    if (code <= 159)
        return Kind::Invalid;
    if (code <= 179)
        return Kind::Int;
    if (code <= 209)
        return Kind::Invalid;
    if (code <= 239)
        return Kind::Real;
    if (code <= 269)
        return Kind::Invalid;
    if (code <= 289)
        return Kind::Int;
    if (code <= 299)
        return Kind::Bool;
    if (code <= 369)
        return Kind::Text;  // texts, binary chunks, handles
    if (code <= 389)
        return Kind::Int;
    if (code <= 399)
        return Kind::Text;
    if (code <= 409)
        return Kind::Int;
    if (code <= 419)
        return Kind::Text;
    if (code <= 429)
        return Kind::Int;
    if (code <= 439)
        return Kind::Text;
    if (code <= 459)
        return Kind::Int;
    if (code <= 469)
        return Kind::Real;
    if (code <= 481)
        return Kind::Text;
    if (code == 999)
        return Kind::Text;
    if (code <= 999)
        return Kind::Invalid;
    if (code <= 1009)
        return Kind::Text;
    if (code <= 1059)
        return Kind::Real;
    if (code <= 1071)
        return Kind::Int;
    return Kind::Invalid;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A decimal integer: an optional sign and digits.
bool parseInteger(const std::string& text, long long& value)
{
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    if (i == text.size() || text.size() - i > 18)
        return false;
    for (size_t k = i; k < text.size(); ++k)
        if (!isDigit(text[k]))
            return false;
    value = std::strtoll(text.c_str(), nullptr, 10);
    return true;
}

// A decimal number: sign, digits with an optional point, an optional
// exponent; finite once read.
bool parseReal(const std::string& text, double& value)
{
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+'))
            ++i;
        size_t exponent = 0;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
            ++exponent;
        }
        if (exponent == 0)
            return false;
    }
    if (i != text.size())
        return false;
    value = std::strtod(text.c_str(), nullptr);
    return std::isfinite(value);
}

std::string_view stripped(const char* begin, const char* end)
{
    while (begin < end && (*begin == ' ' || *begin == '\t'))
        ++begin;
    while (end > begin && (end[-1] == ' ' || end[-1] == '\t' || end[-1] == '\r'))
        --end;
    return std::string_view(begin, static_cast<size_t>(end - begin));
}

// Every group of the text, checked: codes that DXF defines, values of the
// kind their code says, lines that dxflib reads whole.
std::vector<Pair> readPairs(const std::string& data)
{
    static const char kBinarySentinel[] = "AutoCAD Binary DXF";
    if (data.compare(0, sizeof kBinarySentinel - 1, kBinarySentinel) == 0)
        fail(L"binary DXF files are not read");
    if (data.find('\0') != std::string::npos)
        fail(L"it is not a DXF text file (it holds NUL bytes)");
    std::vector<Pair> pairs;
    const char* p = data.data();
    const char* const end = p + data.size();
    size_t line = 0;
    std::string_view raw;  // the last line with its blanks
    auto nextLine = [&](std::string_view& out) {
        if (p >= end)
            return false;
        const char* eol = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        const char* stop = eol != nullptr ? eol : end;
        ++line;
        if (static_cast<size_t>(stop - p) > kMaxLine)
            failAt(line, L"the line is longer than " + std::to_wstring(kMaxLine) + L" characters");
        out = stripped(p, stop);
        raw = std::string_view(p, static_cast<size_t>(stop - p));
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        p = eol != nullptr ? eol + 1 : end;
        return true;
    };
    std::string_view codeText, value;
    while (nextLine(codeText)) {
        const size_t codeLine = line;
        if (codeText.empty() && p >= end)
            break;  // a last empty line
        long long code = 0;
        if (!parseInteger(std::string(codeText), code) || code < 0 || code > 1071 || kindOf(static_cast<int>(code)) == Kind::Invalid)
            failAt(codeLine, L"not a DXF group code");
        if (!nextLine(value))
            failAt(codeLine, L"the file ends inside a group");
        Pair pair;
        pair.code = static_cast<int>(code);
        pair.line = static_cast<std::uint32_t>(codeLine);
        switch (kindOf(pair.code)) {
        case Kind::Real: {
            double v = 0.0;
            if (!parseReal(std::string(value), v))
                failAt(line, L"not a finite number");
            break;
        }
        case Kind::Int:
        case Kind::Bool: {
            long long v = 0;
            const bool wide = (pair.code >= 160 && pair.code <= 169) || (pair.code >= 450 && pair.code <= 459);
            if (!parseInteger(std::string(value), v) || (!wide && (v < INT32_MIN || v > INT32_MAX)))
                failAt(line, L"not an integer in range");
            break;
        }
        default:
            break;
        }
        // A text keeps its blanks.
        pair.value = pair.code == 1 ? raw : value;
        pairs.push_back(pair);
        if (pair.code == 0 && pair.value == "EOF")
            break;
    }
    return pairs;
}

double realOf(const Pair& p)
{
    return std::strtod(std::string(p.value).c_str(), nullptr);
}

long long intOf(const Pair& p)
{
    return std::strtoll(std::string(p.value).c_str(), nullptr, 10);
}

// ---- The file's structure ------------------------------------------------

// An entity of the ENTITIES section: its type and its groups.
struct ScannedEntity {
    std::string type;
    size_t first = 0;  // index of its "0" pair
    size_t last = 0;   // one past its last pair
    int block = -1;    // the block definition that holds it; -1 for model space
};

// A block definition of the BLOCKS section other than the two spaces.
struct ScannedBlock {
    std::string name;
    AcGePoint3d base;
    size_t line = 0;
};

// The groups [first, last) of one record: from its "0" pair to the next.
struct Span {
    size_t first = 0, last = 0;
};

struct Scanned {
    std::vector<ScannedEntity> entities;
    std::vector<ScannedBlock> blocks;
    // The records of the LTYPE and LAYER tables, in file order.
    std::vector<Span> linetypes, layers;
};

bool knownEntity(const std::string& type)
{
    static const char* const kTypes[] = {"3DFACE", "LINE",       "POINT",    "MESH", "CIRCLE", "ARC",
                                         "ELLIPSE", "SPLINE",    "LWPOLYLINE", "POLYLINE", "RAY", "XLINE", "SOLID", "TEXT", "INSERT"};
    for (const char* t : kTypes)
        if (type == t)
            return true;
    return false;
}

// The entity types of DXF, held by the drawing or not: a record of one of them
// belongs in the BLOCKS or ENTITIES section and nowhere else.
bool isEntityType(const std::string& type)
{
    static const char* const kTypes[] = {
        "3DFACE", "3DSOLID", "ACAD_PROXY_ENTITY", "ACAD_TABLE", "ARC", "ARC_DIMENSION", "ATTDEF", "ATTRIB", "BODY",
        "CIRCLE", "DGNUNDERLAY", "DIMENSION", "DWFUNDERLAY", "ELLIPSE", "EXTRUDEDSURFACE", "HATCH", "HELIX", "IMAGE",
        "INSERT", "LARGE_RADIAL_DIMENSION", "LEADER", "LIGHT", "LINE", "LOFTEDSURFACE", "LWPOLYLINE", "MESH", "MLINE",
        "MPOLYGON", "MTEXT", "MULTILEADER", "NURBSURFACE", "OLE2FRAME", "OLEFRAME", "PDFUNDERLAY", "PLANESURFACE",
        "POINT", "POINTCLOUD", "POLYLINE", "RAY", "REGION", "REVOLVEDSURFACE", "SEQEND", "SHAPE", "SOLID", "SPLINE",
        "SUN", "SURFACE", "SWEPTSURFACE", "TEXT", "TOLERANCE", "TRACE", "VERTEX", "VIEWPORT", "WIPEOUT", "XLINE"};
    for (const char* t : kTypes)
        if (type == t)
            return true;
    return false;
}

bool isSpaceBlock(const std::string& name)
{
    std::string upper = name;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper.compare(0, 12, "*MODEL_SPACE") == 0 || upper.compare(0, 12, "*PAPER_SPACE") == 0;
}

// Sections, tables and blocks properly opened and closed; the entities of
// the ENTITIES section and of the block definitions, each of a type the
// drawing holds; no entity in the blocks of the two spaces; the closing EOF.
Scanned checkStructure(const std::vector<Pair>& pairs)
{
    if (pairs.empty())
        fail(L"it is not a DXF file (no groups)");
    Scanned scanned;
    std::vector<ScannedEntity>& entities = scanned.entities;
    int block = -1;  // the block definition being read; -1 for one of the spaces
    std::string section, table;
    bool inTable = false, inBlock = false, sawEof = false;
    std::vector<Span>* tableRecords = nullptr;  // the LTYPE or LAYER record being read
    // A POLYLINE takes the VERTEX records and the SEQEND that follow it.
    bool inSequence = false;
    for (size_t i = 0; i < pairs.size(); ++i) {
        const Pair& pair = pairs[i];
        if (pair.code != 0)
            continue;
        const std::string word(pair.value);
        if ((section == "ENTITIES" || section == "BLOCKS") && (word == "VERTEX" || word == "SEQEND")) {
            if (!inSequence)
                failAt(pair.line, standin::widen(word) + L" without a POLYLINE");
            inSequence = word == "VERTEX";
            continue;
        }
        if (inSequence)
            failAt(pair.line, L"a POLYLINE without SEQEND");
        if (!entities.empty() && entities.back().last == 0)
            entities.back().last = i;
        if (tableRecords != nullptr && tableRecords->back().last == 0)
            tableRecords->back().last = i;
        tableRecords = nullptr;
        if (word == "EOF") {
            if (!section.empty())
                failAt(pair.line, L"EOF inside the section " + standin::widen(section));
            sawEof = true;
            break;
        }
        if (word == "SECTION") {
            if (!section.empty())
                failAt(pair.line, L"a section inside the section " + standin::widen(section));
            if (i + 1 >= pairs.size() || pairs[i + 1].code != 2)
                failAt(pair.line, L"a section without a name");
            section = std::string(pairs[i + 1].value);
            static const char* const kSections[] = {"HEADER", "CLASSES", "TABLES", "BLOCKS",
                                                    "ENTITIES", "OBJECTS", "THUMBNAILIMAGE", "ACDSDATA"};
            bool known = false;
            for (const char* s : kSections)
                known = known || section == s;
            if (!known)
                failAt(pair.line, L"unknown section " + standin::widen(section));
            continue;
        }
        if (section.empty())
            failAt(pair.line, L"\"" + standin::widen(word) + L"\" outside any section");
        if (word == "ENDSEC") {
            if (inTable || inBlock)
                failAt(pair.line, L"the section ends inside a table or block");
            section.clear();
            continue;
        }
        if (section != "BLOCKS" && section != "ENTITIES" && isEntityType(word))
            failAt(pair.line, L"an entity (" + standin::widen(word) + L") in the " + standin::widen(section) +
                                  L" section");
        if (section == "TABLES") {
            if (word == "TABLE") {
                if (inTable)
                    failAt(pair.line, L"a table inside a table");
                inTable = true;
                table.clear();
                if (i + 1 < pairs.size() && pairs[i + 1].code == 2)
                    table = std::string(pairs[i + 1].value);
            } else if (word == "ENDTAB") {
                if (!inTable)
                    failAt(pair.line, L"ENDTAB without TABLE");
                inTable = false;
            } else if (!inTable) {
                failAt(pair.line, L"a table record outside any table");
            } else if (table == word && (word == "LTYPE" || word == "LAYER")) {
                tableRecords = word == "LTYPE" ? &scanned.linetypes : &scanned.layers;
                tableRecords->push_back(Span{i, 0});
            }
        } else if (section == "BLOCKS") {
            if (word == "BLOCK") {
                if (inBlock)
                    failAt(pair.line, L"a block inside a block");
                inBlock = true;
                ScannedBlock b;
                b.line = pair.line;
                bool named = false;
                for (size_t k = i + 1; k < pairs.size() && pairs[k].code != 0; ++k) {
                    if (pairs[k].code == 2) {
                        b.name = std::string(pairs[k].value);
                        named = true;
                    } else if (pairs[k].code == 10) {
                        b.base.x = realOf(pairs[k]);
                    } else if (pairs[k].code == 20) {
                        b.base.y = realOf(pairs[k]);
                    } else if (pairs[k].code == 30) {
                        b.base.z = realOf(pairs[k]);
                    }
                }
                if (!named || b.name.empty())
                    failAt(pair.line, L"a block without a name");
                block = -1;
                if (!isSpaceBlock(b.name)) {
                    block = static_cast<int>(scanned.blocks.size());
                    scanned.blocks.push_back(b);
                }
            } else if (word == "ENDBLK") {
                if (!inBlock)
                    failAt(pair.line, L"ENDBLK without BLOCK");
                inBlock = false;
            } else if (!inBlock) {
                failAt(pair.line, L"an entity outside any block definition");
            } else if (block < 0) {
                failAt(pair.line, L"entities in the block of a space are not read");
            } else if (!knownEntity(word)) {
                failAt(pair.line, L"entities of type " + standin::widen(word) + L" are not read");
            } else {
                ScannedEntity e;
                e.type = word;
                e.first = i;
                e.block = block;
                entities.push_back(e);
                inSequence = word == "POLYLINE";
            }
        } else if (section == "ENTITIES") {
            if (!knownEntity(word))
                failAt(pair.line, L"entities of type " + standin::widen(word) + L" are not read");
            ScannedEntity e;
            e.type = word;
            e.first = i;
            entities.push_back(e);
            inSequence = word == "POLYLINE";
        }
    }
    if (!sawEof)
        fail(section.empty() ? L"the file ends without EOF" : L"the file ends inside the section " + standin::widen(section));
    if (!entities.empty() && entities.back().last == 0)
        entities.back().last = pairs.size();
    return scanned;
}

// What dxflib is given: the records it reads, each checked above, and nothing
// else: the LTYPE and LAYER records and the 3DFACE, LINE and POINT entities,
// in file order. dxflib trusts the counts of the records it knows (it sizes
// its buffers by them) wherever they stand, so no other record may reach it.
std::string textForLibrary(const std::vector<Pair>& pairs, const Scanned& scanned)
{
    std::string text;
    auto add = [&](size_t first, size_t last) {
        for (size_t i = first; i < last; ++i) {
            text += std::to_string(pairs[i].code);
            text += '\n';
            text += pairs[i].value;
            text += '\n';
        }
    };
    auto addTable = [&](const char* name, const std::vector<Span>& records) {
        text += std::string("0\nTABLE\n2\n") + name + "\n";
        for (const Span& r : records)
            add(r.first, r.last);
        text += "0\nENDTAB\n";
    };
    text += "0\nSECTION\n2\nTABLES\n";
    addTable("LTYPE", scanned.linetypes);
    addTable("LAYER", scanned.layers);
    text += "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
    for (const ScannedEntity& e : scanned.entities)
        if (e.type == "3DFACE" || e.type == "LINE" || e.type == "POINT")
            add(e.first, e.last);
    text += "0\nENDSEC\n0\nEOF\n";
    return text;
}

// ---- Texts, colours ------------------------------------------------------

// DXF text as wide text: \U+XXXX escapes and UTF-8.
std::wstring dxfWide(const std::string& text)
{
    std::wstring raw = standin::widen(text);
    std::wstring out;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (i + 7 <= raw.size() && raw.compare(i, 3, L"\\U+") == 0) {
            unsigned long c = 0;
            bool hex = true;
            for (size_t k = i + 3; k < i + 7; ++k) {
                const wchar_t h = raw[k];
                c <<= 4;
                if (h >= L'0' && h <= L'9')
                    c |= static_cast<unsigned long>(h - L'0');
                else if (h >= L'A' && h <= L'F')
                    c |= static_cast<unsigned long>(h - L'A' + 10);
                else if (h >= L'a' && h <= L'f')
                    c |= static_cast<unsigned long>(h - L'a' + 10);
                else
                    hex = false;
            }
            if (hex && c != 0) {
                out += static_cast<wchar_t>(c);
                i += 6;
                continue;
            }
        }
        out += raw[i];
    }
    return out;
}

// The colour of groups 62 and 420; false when they name none.
bool colorOf(int aci, int trueColor, AcCmColor& color)
{
    if (trueColor > 0xFFFFFF || trueColor < -1)
        return false;
    if (trueColor >= 0 && aci != 0 && aci != 256) {
        color.setRGB(static_cast<Adesk::UInt8>(trueColor >> 16), static_cast<Adesk::UInt8>(trueColor >> 8),
                     static_cast<Adesk::UInt8>(trueColor));
        return true;
    }
    if (aci == 256) {
        color.setColorMethod(AcCmEntityColor::kByLayer);
        return true;
    }
    if (aci == 0) {
        color.setColorMethod(AcCmEntityColor::kByBlock);
        return true;
    }
    if (aci < 1 || aci > 255)
        return false;
    color.setColorIndex(static_cast<Adesk::UInt16>(aci));
    return true;
}

// ---- What the file holds -------------------------------------------------

struct LayerDef {
    std::wstring name;
    AcCmColor color;
    bool frozen = false, locked = false, off = false;
    std::wstring linetype;
};

struct LinetypeDef {
    std::wstring name;
    std::wstring comments;
};

struct Properties {
    std::wstring layer;
    std::wstring linetype;
    AcCmColor color;
};

// An entity built and not yet in any database.
struct Built {
    AcDbEntity* entity = nullptr;
    Properties properties;
    int block = -1;  // the file's block definition that takes it; -1 for model space
    // A block reference: the block it names, its insertion point (world) and
    // the scaled, turned axes of the block.
    std::wstring insertOf;
    AcGePoint3d at;
    AcGeMatrix3d axes;
    // A polyface mesh's vertices and faces, appended once it is in the drawing.
    bool polyFace = false;
    std::vector<AcGePoint3d> vertices;
    std::vector<std::array<Adesk::Int16, 4>> faces;
};

struct EntityList {
    std::vector<Built> list;
    EntityList() = default;
    EntityList(const EntityList&) = delete;
    EntityList& operator=(const EntityList&) = delete;
    ~EntityList()
    {
        for (Built& b : list)
            delete b.entity;  // only entities that no database took
    }
};

// dxflib's side: the tables and the entities it knows, in file order.
class Reader : public DL_CreationAdapter {
public:
    std::vector<LayerDef> layers;
    std::vector<LinetypeDef> linetypes;
    // What is kept of each entity: its corners (a line's two ends, a
    // point's position) and its properties.
    struct Item {
        std::string type;
        double x[4] = {0, 0, 0, 0}, y[4] = {0, 0, 0, 0}, z[4] = {0, 0, 0, 0};
        std::string layer, linetype;
        int color = 256, color24 = -1;
    };
    std::vector<Item> items;
    std::wstring error;

    void addLayer(const DL_LayerData& data) override
    {
        LayerDef layer;
        layer.name = dxfWide(data.name);
        const DL_Attributes a = getAttributes();
        int aci = a.getColor();
        layer.off = data.off || aci < 0;
        if (aci < 0)
            aci = -aci;
        if (!colorOf(aci, a.getColor24(), layer.color) || aci == 0 || aci == 256)
            noteError(L"layer " + layer.name + L" has a bad colour");
        layer.frozen = (data.flags & 1) != 0;
        layer.locked = (data.flags & 4) != 0;
        layer.linetype = dxfWide(a.getLinetype());
        layers.push_back(layer);
    }
    void addLinetype(const DL_LinetypeData& data) override
    {
        linetypes.push_back({dxfWide(data.name), dxfWide(data.description)});
    }
    void add3dFace(const DL_3dFaceData& data) override
    {
        Item item;
        item.type = "3DFACE";
        for (int k = 0; k < 4; ++k) {
            item.x[k] = data.x[k];
            item.y[k] = data.y[k];
            item.z[k] = data.z[k];
        }
        push(item);
    }
    void addLine(const DL_LineData& data) override
    {
        Item item;
        item.type = "LINE";
        item.x[0] = data.x1;
        item.y[0] = data.y1;
        item.z[0] = data.z1;
        item.x[1] = data.x2;
        item.y[1] = data.y2;
        item.z[1] = data.z2;
        push(item);
    }
    void addPoint(const DL_PointData& data) override
    {
        Item item;
        item.type = "POINT";
        item.x[0] = data.x;
        item.y[0] = data.y;
        item.z[0] = data.z;
        push(item);
    }

private:
    void push(Item& item)
    {
        const DL_Attributes a = getAttributes();
        item.layer = a.getLayer();
        item.linetype = a.getLinetype();
        item.color = a.getColor();
        item.color24 = a.getColor24();
        items.push_back(std::move(item));
    }
    void noteError(const std::wstring& text)
    {
        if (error.empty())
            error = text;
    }
};

Properties propertiesOf(const Reader::Item& a, size_t line)
{
    Properties p;
    p.layer = dxfWide(a.layer);
    if (p.layer.empty())
        p.layer = L"0";
    p.linetype = dxfWide(a.linetype);
    if (!colorOf(a.color, a.color24, p.color))
        failAt(line, L"a bad colour");
    return p;
}

bool finitePoint(double x, double y, double z)
{
    return std::isfinite(x) && std::isfinite(y) && std::isfinite(z);
}

// MESH from its groups: version, blend, level, the vertices, the face list
// and what follows (edges, creases, overrides), which the drawing does not keep.
AcDbEntity* buildMesh(const std::vector<Pair>& pairs, const ScannedEntity& e, Properties& props)
{
    size_t i = e.first + 1;
    const size_t end = e.last;
    const size_t line = pairs[e.first].line;
    int aci = 256;
    long long trueColor = -1;
    std::string layer = "0", linetype;
    // Common groups come before the subclass marker AcDbSubDMesh.
    for (; i < end; ++i) {
        const Pair& p = pairs[i];
        if (p.code == 100 && p.value == "AcDbSubDMesh") {
            ++i;
            break;
        }
        if (p.code == 8)
            layer = std::string(p.value);
        else if (p.code == 6)
            linetype = std::string(p.value);
        else if (p.code == 62)
            aci = static_cast<int>(intOf(p));
        else if (p.code == 420)
            trueColor = intOf(p);
    }
    props.layer = dxfWide(layer);
    if (props.layer.empty())
        props.layer = L"0";
    props.linetype = dxfWide(linetype);
    if (trueColor > 0xFFFFFF || !colorOf(aci, static_cast<int>(trueColor), props.color))
        failAt(line, L"a bad colour");

    auto next = [&](int code) -> const Pair& {
        if (i >= end || pairs[i].code != code)
            failAt(i < end ? pairs[i].line : line, L"MESH: group " + std::to_wstring(code) + L" expected");
        return pairs[i++];
    };
    auto count = [&](int code, size_t perItem) -> size_t {
        const long long n = intOf(next(code));
        if (n < 0 || static_cast<unsigned long long>(n) > (end - i) / perItem)
            failAt(pairs[i - 1].line, L"MESH: a count of " + std::to_wstring(n) + L" that the entity does not hold");
        return static_cast<size_t>(n);
    };
    long long level = 0;
    if (i < end && pairs[i].code == 71)
        ++i;
    if (i < end && pairs[i].code == 72)
        ++i;
    level = intOf(next(91));
    if (level < 0 || level > 16)
        failAt(pairs[i - 1].line, L"MESH: a subdivision level out of range");
    const size_t vertexCount = count(92, 3);
    AcGePoint3dArray vertices;
    vertices.setPhysicalLength(static_cast<int>(vertexCount));
    for (size_t k = 0; k < vertexCount; ++k) {
        const double x = realOf(next(10));
        const double y = realOf(next(20));
        const double z = realOf(next(30));
        vertices.append(AcGePoint3d(x, y, z));
    }
    const size_t listCount = count(93, 1);
    AcArray<Adesk::Int32> faces;
    faces.setPhysicalLength(static_cast<int>(listCount));
    for (size_t k = 0; k < listCount; ++k)
        faces.append(static_cast<Adesk::Int32>(intOf(next(90))));
    if (i < end && pairs[i].code == 94) {
        const size_t edges = count(94, 2);
        for (size_t k = 0; k < 2 * edges; ++k)
            next(90);
    }
    if (i < end && pairs[i].code == 95) {
        const size_t creases = count(95, 1);
        for (size_t k = 0; k < creases; ++k)
            next(140);
    }
    std::unique_ptr<AcDbSubDMesh> mesh(new AcDbSubDMesh());
    if (mesh->setSubDMesh(vertices, faces, static_cast<int>(level)) != Acad::eOk)
        failAt(line, L"MESH: a face list that does not fit its vertices");
    return mesh.release();
}

// ---- Entities read from the checked groups -------------------------------

constexpr double kRadiansPerDegree = 0.01745329251994329576923690768489;

// The groups of one record (an entity, or a VERTEX of a POLYLINE) with the
// name of its type for the messages.
struct Record {
    const std::vector<Pair>& pairs;
    size_t begin, end;  // the record's "0" pair, one past its last pair
    const char* type;

    size_t line() const { return pairs[begin].line; }
    [[noreturn]] void refuse(const std::wstring& reason) const
    {
        failAt(line(), standin::widen(type) + L": " + reason);
    }
    const Pair* find(int code) const
    {
        for (size_t i = begin + 1; i < end; ++i)
            if (pairs[i].code == code)
                return &pairs[i];
        return nullptr;
    }
    double real(int code, double fallback) const
    {
        const Pair* p = find(code);
        return p != nullptr ? realOf(*p) : fallback;
    }
    double required(int code) const
    {
        const Pair* p = find(code);
        if (p == nullptr)
            refuse(L"group " + std::to_wstring(code) + L" is missing");
        return realOf(*p);
    }
    long long integer(int code, long long fallback) const
    {
        const Pair* p = find(code);
        return p != nullptr ? intOf(*p) : fallback;
    }
    // Groups code, code + 10 and code + 20; the first two are required.
    AcGePoint3d point(int code) const { return AcGePoint3d(required(code), required(code + 10), real(code + 20, 0.0)); }
    AcGeVector3d normal() const
    {
        AcGeVector3d n(real(210, 0.0), real(220, 0.0), real(230, 1.0));
        const double length = n.length();
        if (!(length > 1e-12) || !std::isfinite(length))
            refuse(L"a zero extrusion direction");
        return n / length;
    }
    // An entity's layer, linetype and colour.
    Properties properties() const
    {
        Properties props;
        props.layer = dxfWide(std::string(find(8) != nullptr ? find(8)->value : std::string_view("0")));
        if (props.layer.empty())
            props.layer = L"0";
        props.linetype = dxfWide(std::string(find(6) != nullptr ? find(6)->value : std::string_view()));
        const long long aci = integer(62, 256), trueColor = integer(420, -1);
        if (aci < -256 || aci > 256 || trueColor > 0xFFFFFF || trueColor < -1 ||
            !colorOf(static_cast<int>(aci), static_cast<int>(trueColor), props.color))
            failAt(line(), L"a bad colour");
        return props;
    }
    void check(Acad::ErrorStatus es, const wchar_t* what) const
    {
        if (es != Acad::eOk)
            refuse(std::wstring(what) + L" that the drawing does not take");
    }
};

// A point of an entity's own coordinate system (normal n) in world coordinates.
AcGePoint3d fromEcs(const AcGeVector3d& n, const AcGePoint3d& p)
{
    const AcGeVector3d x = acdbStandinEcsXAxis(n);
    const AcGeVector3d y = n.crossProduct(x).normal();
    return AcGePoint3d::kOrigin + x * p.x + y * p.y + n * p.z;
}

AcDbEntity* buildCircleOrArc(const Record& r)
{
    const AcGeVector3d n = r.normal();
    const AcGePoint3d center = fromEcs(n, r.point(10));
    const double radius = r.required(40);
    const double thickness = r.real(39, 0.0);
    if (std::strcmp(r.type, "CIRCLE") == 0) {
        std::unique_ptr<AcDbCircle> circle(new AcDbCircle());
        r.check(circle->setNormal(n), L"a normal");
        r.check(circle->setCenter(center), L"a centre");
        r.check(circle->setRadius(radius), L"a radius");
        r.check(circle->setThickness(thickness), L"a thickness");
        return circle.release();
    }
    std::unique_ptr<AcDbArc> arc(new AcDbArc());
    r.check(arc->setNormal(n), L"a normal");
    r.check(arc->setCenter(center), L"a centre");
    r.check(arc->setRadius(radius), L"a radius");
    r.check(arc->setThickness(thickness), L"a thickness");
    r.check(arc->setStartAngle(r.required(50) * kRadiansPerDegree), L"a start angle");
    r.check(arc->setEndAngle(r.required(51) * kRadiansPerDegree), L"an end angle");
    return arc.release();
}

AcDbEntity* buildEllipse(const Record& r)
{
    const AcGePoint3d center = r.point(10);
    const AcGePoint3d major = r.point(11);
    const AcGeVector3d n = r.normal();
    const double ratio = r.required(40);
    std::unique_ptr<AcDbEllipse> ellipse(new AcDbEllipse());
    r.check(ellipse->set(center, n, major.asVector(), ratio), L"axes");
    const double start = ellipse->angleAtParam(r.real(41, 0.0));
    const double end = ellipse->angleAtParam(r.real(42, 6.28318530717958647692));
    r.check(ellipse->set(center, n, major.asVector(), ratio, start, end), L"angles");
    return ellipse.release();
}

AcDbEntity* buildRayOrXline(const Record& r)
{
    const AcGePoint3d base = r.point(10);
    const AcGeVector3d dir = r.point(11).asVector();
    if (!(dir.length() > 1e-12))
        r.refuse(L"a zero direction");
    if (std::strcmp(r.type, "RAY") == 0) {
        std::unique_ptr<AcDbRay> ray(new AcDbRay());
        ray->setBasePoint(base);
        ray->setUnitDir(dir);
        return ray.release();
    }
    std::unique_ptr<AcDbXline> xline(new AcDbXline());
    xline->setBasePoint(base);
    xline->setUnitDir(dir);
    return xline.release();
}

// A count group checked against the groups the record holds.
int declaredCount(const Record& r, int code, size_t present, const wchar_t* what)
{
    if (r.find(code) == nullptr)
        r.refuse(L"group " + std::to_wstring(code) + L" (the count of its " + what + L") is missing");
    const long long n = r.integer(code, -1);
    if (n < 0 || static_cast<unsigned long long>(n) != present)
        r.refuse(L"group " + std::to_wstring(code) + L" gives " + std::to_wstring(n) + L" " + what +
                 L" but the entity holds " + std::to_wstring(present));
    return static_cast<int>(n);
}

// The points of groups code/code+10/code+20 in file order; each x group
// followed by its y and z.
AcGePoint3dArray pointsOf(const Record& r, int code)
{
    AcGePoint3dArray points;
    for (size_t i = r.begin + 1; i < r.end; ++i) {
        if (r.pairs[i].code != code)
            continue;
        if (i + 2 >= r.end || r.pairs[i + 1].code != code + 10 || r.pairs[i + 2].code != code + 20)
            failAt(r.pairs[i].line, standin::widen(r.type) + L": a point without its y and z");
        points.append(AcGePoint3d(realOf(r.pairs[i]), realOf(r.pairs[i + 1]), realOf(r.pairs[i + 2])));
        i += 2;
    }
    return points;
}

AcDbEntity* buildSpline(const Record& r)
{
    const long long flags = r.integer(70, 0);
    const long long degree = r.integer(71, -1);
    if (flags < 0 || degree < 1 || degree > 25)
        r.refuse(L"bad flags or degree");
    AcGeDoubleArray knots, weights;
    for (size_t i = r.begin + 1; i < r.end; ++i) {
        if (r.pairs[i].code == 40)
            knots.append(realOf(r.pairs[i]));
        else if (r.pairs[i].code == 41)
            weights.append(realOf(r.pairs[i]));
    }
    const AcGePoint3dArray controls = pointsOf(r, 10);
    const AcGePoint3dArray fits = pointsOf(r, 11);
    declaredCount(r, 72, static_cast<size_t>(knots.length()), L"knots");
    declaredCount(r, 73, static_cast<size_t>(controls.length()), L"control points");
    if (r.find(74) != nullptr)
        declaredCount(r, 74, static_cast<size_t>(fits.length()), L"fit points");
    const bool rational = (flags & 4) != 0;
    if (rational && weights.length() != controls.length())
        r.refuse(L"a weight count other than the control points");
    std::unique_ptr<AcDbSpline> spline(new AcDbSpline());
    r.check(spline->setNurbsData(static_cast<int>(degree), rational, (flags & 1) != 0, (flags & 2) != 0, controls,
                                 knots, weights, r.real(43, 0.0), r.real(42, 0.0)),
            L"control data");
    return spline.release();
}

AcDbEntity* buildLwPolyline(const Record& r)
{
    struct Vertex {
        double x = 0, y = 0, bulge = 0;
        double startWidth = -1, endWidth = -1;  // -1: not given
        bool widths = false;
    };
    std::vector<Vertex> vertices;
    bool haveY = true;
    for (size_t i = r.begin + 1; i < r.end; ++i) {
        const Pair& p = r.pairs[i];
        if (p.code == 10) {
            if (!haveY)
                failAt(p.line, L"LWPOLYLINE: a vertex without its y");
            vertices.emplace_back();
            vertices.back().x = realOf(p);
            haveY = false;
        } else if (p.code == 20 || p.code == 40 || p.code == 41 || p.code == 42) {
            if (vertices.empty())
                failAt(p.line, L"LWPOLYLINE: vertex data before the first vertex");
            Vertex& v = vertices.back();
            const double value = realOf(p);
            if (p.code == 20) {
                v.y = value;
                haveY = true;
            } else if (p.code == 40 || p.code == 41) {
                if (value < 0.0)
                    failAt(p.line, L"LWPOLYLINE: a negative width");
                if (!v.widths)
                    v.startWidth = v.endWidth = 0.0;
                v.widths = true;
                (p.code == 40 ? v.startWidth : v.endWidth) = value;
            } else {
                v.bulge = value;
            }
        }
    }
    if (!haveY)
        r.refuse(L"a vertex without its y");
    declaredCount(r, 90, vertices.size(), L"vertices");
    std::unique_ptr<AcDbPolyline> pl(new AcDbPolyline());
    const double constant = r.real(43, 0.0);
    if (constant < 0.0)
        r.refuse(L"a negative width");
    if (constant != 0.0)
        r.check(pl->setConstantWidth(constant), L"a width");
    for (const Vertex& v : vertices) {
        r.check(pl->addVertexAt(pl->numVerts(), AcGePoint2d(v.x, v.y), v.bulge, v.startWidth, v.endWidth),
                L"a vertex");
    }
    if (constant != 0.0)
        r.check(pl->setConstantWidth(constant), L"a width");
    pl->setClosed((r.integer(70, 0) & 1) != 0);
    pl->setElevation(r.real(38, 0.0));
    r.check(pl->setThickness(r.real(39, 0.0)), L"a thickness");
    r.check(pl->setNormal(r.normal()), L"a normal");
    return pl.release();
}

AcDbEntity* buildSolid(const Record& r)
{
    std::unique_ptr<AcDbSolid> solid(new AcDbSolid());
    for (Adesk::UInt16 k = 0; k < 4; ++k) {
        // A triangle may leave out its fourth corner: it repeats the third.
        const int code = r.find(10 + k) != nullptr || k < 3 ? 10 + k : 12;
        r.check(solid->setPointAt(k, r.point(code)), L"a corner");
    }
    r.check(solid->setThickness(r.real(39, 0.0)), L"a thickness");
    r.check(solid->setNormal(r.normal()), L"a normal");
    return solid.release();
}

AcDbEntity* buildText(const Record& r)
{
    std::unique_ptr<AcDbText> text(new AcDbText());
    const Pair* string = r.find(1);
    r.check(text->setTextString(dxfWide(string != nullptr ? std::string(string->value) : std::string()).c_str()),
            L"a text");
    r.check(text->setPosition(r.point(10)), L"a position");
    r.check(text->setHeight(r.required(40)), L"a height");
    r.check(text->setRotation(r.real(50, 0.0) * kRadiansPerDegree), L"a rotation");
    r.check(text->setNormal(r.normal()), L"a normal");
    return text.release();
}

// The largest vertex or face count of a polyface or polygon mesh.
constexpr long long kMaxMeshRecords = 32767;

AcDbEntity* buildPolygonMesh(const Record& head, const std::vector<Record>& vertices, long long flags)
{
    const long long m = head.integer(71, -1), n = head.integer(72, -1);
    if (m < 2 || n < 2 || m > kMaxMeshRecords || n > kMaxMeshRecords)
        head.refuse(L"a mesh size of " + std::to_wstring(m) + L" x " + std::to_wstring(n));
    if (static_cast<unsigned long long>(m * n) != vertices.size())
        head.refuse(L"a mesh of " + std::to_wstring(m) + L" x " + std::to_wstring(n) + L" vertices with " +
                    std::to_wstring(vertices.size()) + L" VERTEX records");
    const long long type = head.integer(75, 0);
    if (type != AcDb::kSimpleMesh && type != AcDb::kQuadSurfaceMesh && type != AcDb::kCubicSurfaceMesh &&
        type != AcDb::kBezierSurfaceMesh)
        head.refuse(L"an unknown surface type");
    AcGePoint3dArray points;
    points.setPhysicalLength(static_cast<int>(vertices.size()));
    for (const Record& v : vertices)
        points.append(v.point(10));
    return new AcDbPolygonMesh(static_cast<AcDb::PolyMeshType>(type), static_cast<Adesk::Int16>(m),
                               static_cast<Adesk::Int16>(n), points, (flags & 1) != 0, (flags & 32) != 0);
}

// A polyface mesh takes its vertices and faces only once it is in a
// database: they are kept in the Built and appended with it.
AcDbEntity* buildPolyFace(const Record& head, const std::vector<Record>& records, Built& built)
{
    for (const Record& v : records) {
        const long long flags = v.integer(70, 0);
        if ((flags & 128) == 0)
            v.refuse(L"a polyface mesh record that is neither vertex nor face");
        if ((flags & 64) != 0) {
            if (!built.faces.empty())
                v.refuse(L"a vertex after the faces");
            built.vertices.push_back(v.point(10));
            continue;
        }
        std::array<Adesk::Int16, 4> face{};
        for (int k = 0; k < 4; ++k) {
            const long long index = v.integer(71 + k, 0);
            if (index < -static_cast<long long>(built.vertices.size()) ||
                index > static_cast<long long>(built.vertices.size()))
                v.refuse(L"a face corner " + std::to_wstring(index) + L" outside the " +
                         std::to_wstring(built.vertices.size()) + L" vertices");
            face[k] = static_cast<Adesk::Int16>(index);
        }
        built.faces.push_back(face);
    }
    declaredCount(head, 71, built.vertices.size(), L"vertices");
    declaredCount(head, 72, built.faces.size(), L"faces");
    if (static_cast<long long>(built.vertices.size()) > kMaxMeshRecords ||
        static_cast<long long>(built.faces.size()) > kMaxMeshRecords)
        head.refuse(L"more than " + std::to_wstring(kMaxMeshRecords) + L" vertices or faces");
    built.polyFace = true;
    return new AcDbPolyFaceMesh();
}

// POLYLINE with its VERTEX records: a 2D or 3D polyline, a polygon or polyface mesh.
AcDbEntity* buildPolyline(const Record& head, const std::vector<Record>& vertices, Built& built)
{
    const long long flags = head.integer(70, 0);
    if (flags < 0 || flags > 255)
        head.refuse(L"bad flags");
    if ((flags & 64) != 0)
        return buildPolyFace(head, vertices, built);
    if ((flags & 16) != 0)
        return buildPolygonMesh(head, vertices, flags);
    const bool closed = (flags & 1) != 0;
    if ((flags & 8) != 0) {
        std::unique_ptr<AcDb3dPolyline> pl(new AcDb3dPolyline());
        for (const Record& v : vertices) {
            std::unique_ptr<AcDb3dPolylineVertex> vertex(new AcDb3dPolylineVertex(v.point(10)));
            v.check(pl->appendVertex(vertex.get()), L"a vertex");
            vertex.release()->close();  // it waits in the polyline
        }
        if (closed)
            head.check(pl->makeClosed(), L"a closed flag");
        return pl.release();
    }
    std::unique_ptr<AcDb2dPolyline> pl(new AcDb2dPolyline());
    const double elevation = head.find(30) != nullptr ? head.real(30, 0.0) : 0.0;
    head.check(pl->setNormal(head.normal()), L"a normal");
    head.check(pl->setElevation(elevation), L"an elevation");
    head.check(pl->setThickness(head.real(39, 0.0)), L"a thickness");
    head.check(pl->setDefaultStartWidth(head.real(40, 0.0)), L"a width");
    head.check(pl->setDefaultEndWidth(head.real(41, 0.0)), L"a width");
    for (const Record& v : vertices) {
        const AcGePoint3d p = v.point(10);
        std::unique_ptr<AcDb2dVertex> vertex(new AcDb2dVertex(AcGePoint3d(p.x, p.y, elevation)));
        v.check(vertex->setBulge(v.real(42, 0.0)), L"a bulge");
        v.check(vertex->setStartWidth(v.real(40, head.real(40, 0.0))), L"a width");
        v.check(vertex->setEndWidth(v.real(41, head.real(41, 0.0))), L"a width");
        v.check(pl->appendVertex(vertex.get()), L"a vertex");
        vertex.release()->close();  // it waits in the polyline
    }
    if (closed)
        head.check(pl->makeClosed(), L"a closed flag");
    return pl.release();
}

// A block reference: its block's name and its placement; the transform is
// made once the block's origin is known.
AcDbEntity* buildInsert(const Record& r, Built& built)
{
    const Pair* name = r.find(2);
    if (name == nullptr || name->value.empty())
        r.refuse(L"no block name");
    built.insertOf = dxfWide(std::string(name->value));
    if (r.integer(70, 1) > 1 || r.integer(71, 1) > 1)
        r.refuse(L"arrays of block references are not read");
    if (r.integer(66, 0) != 0)
        r.refuse(L"attributes are not read");
    const AcGeVector3d n = r.normal();
    const double sx = r.real(41, 1.0), sy = r.real(42, 1.0), sz = r.real(43, 1.0);
    if (sx == 0.0 || sy == 0.0 || sz == 0.0)
        r.refuse(L"a scale of zero");
    const double turn = r.real(50, 0.0) * kRadiansPerDegree;
    const AcGeVector3d ax = acdbStandinEcsXAxis(n);
    const AcGeVector3d ay = n.crossProduct(ax).normal();
    const AcGeVector3d cx = (ax * std::cos(turn) + ay * std::sin(turn)) * sx;
    const AcGeVector3d cy = (ay * std::cos(turn) - ax * std::sin(turn)) * sy;
    const AcGeVector3d cz = n * sz;
    const AcGeVector3d columns[3] = {cx, cy, cz};
    for (int c = 0; c < 3; ++c) {
        built.axes.entry[0][c] = columns[c].x;
        built.axes.entry[1][c] = columns[c].y;
        built.axes.entry[2][c] = columns[c].z;
    }
    built.at = fromEcs(n, r.point(10));
    return new AcDbBlockReference();
}

// An entity read here rather than by dxflib; null for the types dxflib reads.
AcDbEntity* buildFromGroups(const std::vector<Pair>& pairs, const ScannedEntity& e, Built& built)
{
    const Record r{pairs, e.first, e.last, e.type.c_str()};
    if (e.type == "POLYLINE") {
        // The records of the sequence: the POLYLINE's own, its VERTEX records, SEQEND.
        std::vector<size_t> starts;
        for (size_t i = e.first; i < e.last; ++i)
            if (pairs[i].code == 0)
                starts.push_back(i);
        starts.push_back(e.last);
        const Record head{pairs, starts[0], starts[1], "POLYLINE"};
        std::vector<Record> vertices;
        for (size_t k = 1; k + 2 < starts.size(); ++k)
            vertices.push_back(Record{pairs, starts[k], starts[k + 1], "VERTEX"});
        built.properties = head.properties();
        return buildPolyline(head, vertices, built);
    }
    std::unique_ptr<AcDbEntity> entity;
    if (e.type == "CIRCLE" || e.type == "ARC")
        entity.reset(buildCircleOrArc(r));
    else if (e.type == "ELLIPSE")
        entity.reset(buildEllipse(r));
    else if (e.type == "RAY" || e.type == "XLINE")
        entity.reset(buildRayOrXline(r));
    else if (e.type == "SPLINE")
        entity.reset(buildSpline(r));
    else if (e.type == "LWPOLYLINE")
        entity.reset(buildLwPolyline(r));
    else if (e.type == "SOLID")
        entity.reset(buildSolid(r));
    else if (e.type == "TEXT")
        entity.reset(buildText(r));
    else if (e.type == "INSERT")
        entity.reset(buildInsert(r, built));
    else
        return nullptr;
    built.properties = r.properties();
    return entity.release();
}

int faceFlags(const std::vector<Pair>& pairs, const ScannedEntity& e)
{
    int flags = 0;
    for (size_t i = e.first + 1; i < e.last; ++i)
        if (pairs[i].code == 70)
            flags = static_cast<int>(intOf(pairs[i]));
    if (flags < 0 || flags > 15)
        failAt(pairs[e.first].line, L"3DFACE: bad edge flags");
    return flags;
}

// The entities read here from the checked groups, built before dxflib reads
// the file (its readers trust the counts they are given); the others are left
// empty for buildDxflibEntities.
void buildOwnEntities(const std::vector<Pair>& pairs, const std::vector<ScannedEntity>& scanned, EntityList& out)
{
    out.list.reserve(scanned.size());
    for (const ScannedEntity& e : scanned) {
        Built built;
        built.block = e.block;
        if (e.type == "MESH")
            built.entity = buildMesh(pairs, e, built.properties);
        else
            built.entity = buildFromGroups(pairs, e, built);
        out.list.push_back(built);
    }
}

void buildDxflibEntities(const std::vector<Pair>& pairs, const std::vector<ScannedEntity>& scanned,
                         const Reader& reader, EntityList& out)
{
    size_t item = 0;
    for (size_t n = 0; n < scanned.size(); ++n) {
        const ScannedEntity& e = scanned[n];
        Built& built = out.list[n];
        if (built.entity != nullptr)
            continue;
        const size_t line = pairs[e.first].line;
        std::unique_ptr<AcDbEntity> entity;
        if (item >= reader.items.size() || reader.items[item].type != e.type)
            failAt(line, L"the DXF library did not read this " + standin::widen(e.type));
        const Reader::Item& r = reader.items[item++];
        built.properties = propertiesOf(r, line);
        if (e.type == "3DFACE") {
            const int flags = faceFlags(pairs, e);
            auto* face = new AcDbFace();
            entity.reset(face);
            for (Adesk::UInt16 k = 0; k < 4; ++k) {
                if (!finitePoint(r.x[k], r.y[k], r.z[k]))
                    failAt(line, L"a coordinate that is not a finite number");
                face->setVertexAt(k, AcGePoint3d(r.x[k], r.y[k], r.z[k]));
                if ((flags & (1 << k)) != 0)
                    face->makeEdgeInvisibleAt(k);
            }
        } else if (e.type == "LINE") {
            if (!finitePoint(r.x[0], r.y[0], r.z[0]) || !finitePoint(r.x[1], r.y[1], r.z[1]))
                failAt(line, L"a coordinate that is not a finite number");
            entity.reset(new AcDbLine(AcGePoint3d(r.x[0], r.y[0], r.z[0]), AcGePoint3d(r.x[1], r.y[1], r.z[1])));
        } else if (e.type == "POINT") {
            if (!finitePoint(r.x[0], r.y[0], r.z[0]))
                failAt(line, L"a coordinate that is not a finite number");
            entity.reset(new AcDbPoint(AcGePoint3d(r.x[0], r.y[0], r.z[0])));
        } else {
            failAt(line, L"entities of type " + standin::widen(e.type) + L" are not read");
        }
        built.entity = entity.release();
    }
    if (item != reader.items.size())
        fail(L"the DXF library read entities that the file check did not see");
}

// ---- Into the drawing ----------------------------------------------------

bool isByName(const std::wstring& linetype)
{
    std::wstring upper = linetype;
    for (wchar_t& c : upper)
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    return upper.empty() || upper == L"BYLAYER";
}

class Import {
public:
    explicit Import(AcDbDatabase* db) : db_(db) {}
    Import(const Import&) = delete;
    Import& operator=(const Import&) = delete;

    // Creates what is missing and appends every entity; on any failure takes
    // everything back and throws.
    void run(const Reader& reader, const std::vector<ScannedBlock>& blocks, EntityList& entities)
    {
        try {
            addLinetypes(reader.linetypes);
            addLayers(reader.layers, entities);
            addBlocks(blocks);
            placeReferences(entities);
            appendAll(entities);
        } catch (...) {
            rollBack();
            throw;
        }
    }

private:
    void addLinetypes(const std::vector<LinetypeDef>& linetypes)
    {
        if (linetypes.empty())
            return;
        AcDbLinetypeTable* table = nullptr;
        if (db_->getLinetypeTable(table, AcDb::kForWrite) != Acad::eOk)
            fail(L"the linetype table cannot be opened");
        Closing closeTable(table);
        for (const LinetypeDef& def : linetypes) {
            if (table->has(def.name.c_str()))
                continue;
            std::unique_ptr<AcDbLinetypeTableRecord> record(new AcDbLinetypeTableRecord());
            if (record->setName(def.name.c_str()) != Acad::eOk)
                fail(L"a linetype with the bad name \"" + def.name + L"\"");
            record->setComments(def.comments.c_str());
            AcDbObjectId id;
            if (table->add(id, record.get()) != Acad::eOk)
                fail(L"the linetype \"" + def.name + L"\" cannot be added");
            record.release()->close();
            created_.push_back(id);
        }
    }

    void addLayers(const std::vector<LayerDef>& defs, const EntityList& entities)
    {
        AcDbLayerTable* table = nullptr;
        if (db_->getLayerTable(table, AcDb::kForWrite) != Acad::eOk)
            fail(L"the layer table cannot be opened");
        Closing closeTable(table);
        auto addLayer = [&](const LayerDef& def) {
            if (table->has(def.name.c_str()))
                return;
            std::unique_ptr<AcDbLayerTableRecord> record(new AcDbLayerTableRecord());
            if (record->setName(def.name.c_str()) != Acad::eOk)
                fail(L"a layer with the bad name \"" + def.name + L"\"");
            record->setColor(def.color);
            record->setIsFrozen(def.frozen);
            record->setIsLocked(def.locked);
            record->setIsOff(def.off);
            if (!def.linetype.empty()) {
                AcDbLinetypeTable* linetypes = nullptr;
                AcDbObjectId linetypeId;
                if (db_->getLinetypeTable(linetypes, AcDb::kForRead) == Acad::eOk) {
                    linetypes->getAt(def.linetype.c_str(), linetypeId);
                    linetypes->close();
                }
                if (!linetypeId.isNull())
                    record->setLinetypeObjectId(linetypeId);
            }
            AcDbObjectId id;
            if (table->add(id, record.get()) != Acad::eOk)
                fail(L"the layer \"" + def.name + L"\" cannot be added");
            record.release()->close();
            created_.push_back(id);
        };
        for (const LayerDef& def : defs)
            addLayer(def);
        // A layer that entities name without a table record: white, continuous.
        for (const Built& b : entities.list) {
            LayerDef def;
            def.name = b.properties.layer;
            def.color.setColorIndex(7);
            addLayer(def);
        }
    }

    // A block record for each block definition of the file; a block the
    // drawing has already keeps its own entities, and the file's are dropped.
    void addBlocks(const std::vector<ScannedBlock>& blocks)
    {
        if (blocks.empty())
            return;
        AcDbBlockTable* table = nullptr;
        if (db_->getBlockTable(table, AcDb::kForWrite) != Acad::eOk)
            fail(L"the block table cannot be opened");
        Closing closeTable(table);
        for (const ScannedBlock& b : blocks) {
            const std::wstring name = dxfWide(b.name);
            FileBlock fileBlock;
            fileBlock.name = name;
            fileBlock.origin = b.base;
            if (table->getAt(name.c_str(), fileBlock.id) == Acad::eOk) {
                fileBlock.kept = true;
            } else {
                std::unique_ptr<AcDbBlockTableRecord> record(new AcDbBlockTableRecord());
                if (record->setName(name.c_str()) != Acad::eOk)
                    failAt(b.line, L"a block with the bad name \"" + name + L"\"");
                record->setOrigin(b.base);
                if (table->add(fileBlock.id, record.get()) != Acad::eOk)
                    failAt(b.line, L"the block \"" + name + L"\" cannot be added");
                record.release()->close();
                created_.push_back(fileBlock.id);
            }
            blocks_.push_back(fileBlock);
        }
    }

    // Each block reference gets its block and its transform: the block's
    // origin goes to the insertion point.
    void placeReferences(EntityList& entities)
    {
        checkNoCycles(entities);
        for (Built& b : entities.list) {
            if (b.insertOf.empty())
                continue;
            AcDbObjectId id;
            AcGePoint3d origin;
            const int named = fileBlockNamed(b.insertOf);
            if (named >= 0) {
                const FileBlock& f = blocks_[static_cast<size_t>(named)];
                id = f.id;
                origin = f.kept ? keptOrigin(f.id) : f.origin;
            } else {
                AcDbBlockTable* table = nullptr;
                if (db_->getBlockTable(table, AcDb::kForRead) != Acad::eOk)
                    fail(L"the block table cannot be opened");
                AcDbBlockTableRecord* record = nullptr;
                const Acad::ErrorStatus es = table->getAt(b.insertOf.c_str(), record, AcDb::kForRead);
                table->close();
                if (es != Acad::eOk)
                    fail(L"a reference to the block \"" + b.insertOf + L"\", which neither the file nor the drawing holds");
                id = record->objectId();
                origin = record->origin();
                record->close();
            }
            AcGeMatrix3d m = b.axes;
            const AcGePoint3d moved = origin.transformBy(b.axes);
            for (int r = 0; r < 3; ++r)
                m.entry[r][3] = (b.at[r] - moved[r]);
            auto* ref = static_cast<AcDbBlockReference*>(b.entity);
            if (ref->setBlockTableRecord(id) != Acad::eOk || ref->setBlockTransform(m) != Acad::eOk)
                fail(L"the reference to the block \"" + b.insertOf + L"\" cannot be placed");
        }
    }

    int fileBlockNamed(const std::wstring& name) const
    {
        for (size_t k = 0; k < blocks_.size(); ++k)
            if (blocks_[k].name == name)
                return static_cast<int>(k);
        return -1;
    }

    // A block of the file that shows itself, directly or through others,
    // would have no end.
    void checkNoCycles(const EntityList& entities) const
    {
        std::vector<std::vector<int>> shows(blocks_.size());
        for (const Built& b : entities.list)
            if (b.block >= 0 && !b.insertOf.empty() && !blocks_[static_cast<size_t>(b.block)].kept) {
                const int target = fileBlockNamed(b.insertOf);
                if (target >= 0)
                    shows[static_cast<size_t>(b.block)].push_back(target);
            }
        std::vector<int> state(blocks_.size(), 0);  // 0 unseen, 1 on the path, 2 done
        for (size_t start = 0; start < blocks_.size(); ++start) {
            std::vector<std::pair<int, size_t>> path{{static_cast<int>(start), 0}};
            if (state[start] != 0)
                continue;
            state[start] = 1;
            while (!path.empty()) {
                auto& [node, next] = path.back();
                const std::vector<int>& out = shows[static_cast<size_t>(node)];
                if (next == out.size()) {
                    state[static_cast<size_t>(node)] = 2;
                    path.pop_back();
                    continue;
                }
                const int to = out[next++];
                if (state[static_cast<size_t>(to)] == 1)
                    fail(L"the block \"" + blocks_[static_cast<size_t>(to)].name + L"\" holds a reference to itself");
                if (state[static_cast<size_t>(to)] == 0) {
                    state[static_cast<size_t>(to)] = 1;
                    path.push_back({to, 0});
                }
            }
        }
    }

    AcGePoint3d keptOrigin(AcDbObjectId id)
    {
        AcDbBlockTableRecord* record = nullptr;
        AcGePoint3d origin;
        if (acdbOpenObject(record, id, AcDb::kForRead) == Acad::eOk) {
            origin = record->origin();
            record->close();
        }
        return origin;
    }

    void appendAll(EntityList& entities)
    {
        AcDbBlockTable* blocks = nullptr;
        if (db_->getBlockTable(blocks, AcDb::kForRead) != Acad::eOk)
            fail(L"the block table cannot be opened");
        AcDbBlockTableRecord* space = nullptr;
        const Acad::ErrorStatus es = blocks->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite);
        blocks->close();
        if (es != Acad::eOk)
            fail(L"model space cannot be opened for write");
        Closing closeSpace(space);
        appended_.reserve(entities.list.size());
        for (Built& b : entities.list) {
            AcDbEntity* e = b.entity;
            AcDbBlockTableRecord* owner = space;
            AcDbBlockTableRecord* block = nullptr;
            if (b.block >= 0) {
                const FileBlock& f = blocks_[static_cast<size_t>(b.block)];
                if (f.kept)
                    continue;  // the drawing's own definition stays
                if (acdbOpenObject(block, f.id, AcDb::kForWrite) != Acad::eOk)
                    fail(L"the block \"" + f.name + L"\" cannot be opened for write");
                owner = block;
            }
            Closing closeBlock(block);
            if (e->setLayer(b.properties.layer.c_str()) != Acad::eOk)
                fail(L"the layer \"" + b.properties.layer + L"\" cannot be set");
            if (!isByName(b.properties.linetype) && e->setLinetype(b.properties.linetype.c_str()) != Acad::eOk)
                fail(L"the linetype \"" + b.properties.linetype + L"\" is not in the drawing");
            e->setColor(b.properties.color);
            AcDbObjectId id;
            if (owner->appendAcDbEntity(id, e) != Acad::eOk)
                fail(L"an entity cannot be appended to model space");
            b.entity = nullptr;  // the database's now
            appended_.push_back(id);
            struct Closer {
                AcDbEntity* e;
                ~Closer() { e->close(); }
            } closer{e};
            if (b.polyFace)
                appendPolyFace(*static_cast<AcDbPolyFaceMesh*>(e), b);
        }
    }

    static void appendPolyFace(AcDbPolyFaceMesh& mesh, const Built& b)
    {
        for (const AcGePoint3d& p : b.vertices) {
            std::unique_ptr<AcDbPolyFaceMeshVertex> v(new AcDbPolyFaceMeshVertex(p));
            if (mesh.appendVertex(v.get()) != Acad::eOk)
                fail(L"a polyface mesh vertex cannot be appended");
            v.release()->close();
        }
        for (const std::array<Adesk::Int16, 4>& f : b.faces) {
            std::unique_ptr<AcDbFaceRecord> face(new AcDbFaceRecord(f[0], f[1], f[2], f[3]));
            if (mesh.appendFaceRecord(face.get()) != Acad::eOk)
                fail(L"a polyface mesh face cannot be appended");
            face.release()->close();
        }
    }

    void rollBack()
    {
        for (auto list : {&appended_, &created_}) {
            for (auto it = list->rbegin(); it != list->rend(); ++it) {
                AcDbObject* obj = nullptr;
                if (acdbOpenObject(obj, *it, AcDb::kForWrite) == Acad::eOk) {
                    obj->erase();
                    obj->close();
                }
            }
        }
    }

    struct Closing {
        AcDbObject* obj;
        explicit Closing(AcDbObject* o) : obj(o) {}
        Closing(const Closing&) = delete;
        Closing& operator=(const Closing&) = delete;
        ~Closing()
        {
            if (obj != nullptr)
                obj->close();
        }
    };

    struct FileBlock {
        std::wstring name;
        AcDbObjectId id;
        AcGePoint3d origin;
        bool kept = false;  // the drawing had it already
    };

    AcDbDatabase* db_;
    std::vector<FileBlock> blocks_;
    std::vector<AcDbObjectId> appended_;
    std::vector<AcDbObjectId> created_;
};

}  // namespace

namespace standin {

Acad::ErrorStatus dxfIn(AcDbDatabase* db, const std::wstring& path, std::wstring& reason)
{
    reason.clear();
    if (db == nullptr) {
        reason = L"no drawing";
        return Acad::eNoDatabase;
    }
    try {
        const std::string data = readWholeFile(path);
        const std::vector<Pair> pairs = readPairs(data);
        const Scanned file = checkStructure(pairs);
        const std::vector<ScannedEntity>& scanned = file.entities;
        EntityList entities;
        buildOwnEntities(pairs, scanned, entities);
        Reader reader;
        {
            std::stringstream stream(textForLibrary(pairs, file));
            DL_Dxf dxf;
            if (!dxf.in(stream, &reader))
                fail(L"the DXF library cannot read it");
        }
        if (!reader.error.empty())
            fail(reader.error);
        buildDxflibEntities(pairs, scanned, reader, entities);
        Import(db).run(reader, file.blocks, entities);
        return Acad::eOk;
    } catch (const Failure& f) {
        reason = f.reason;
        return Acad::eBadDxfFile;
    } catch (const std::bad_alloc&) {
        reason = L"out of memory";
        return Acad::eOutOfMemory;
    } catch (const std::exception& e) {
        reason = standin::widen(e.what());
        return Acad::eBadDxfFile;
    }
}

}  // namespace standin
