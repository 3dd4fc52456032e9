// DXFIN's structure scan: one pass over the "0" pairs of the file, each
// record taken by the rules of the section it stands in.
#include "dxfin/Scan.h"

#include <unordered_set>

#include "standin/WideFormat.h"

namespace standin::dxfin {

namespace {

bool isOneOf(const std::string& word, std::initializer_list<const char*> words)
{
    for (const char* w : words)
        if (word == w)
            return true;
    return false;
}

bool isSpaceBlock(const std::string& name)
{
    const std::string upper = upperCase(name);
    return upper.compare(0, 12, "*MODEL_SPACE") == 0 || upper.compare(0, 12, "*PAPER_SPACE") == 0;
}

class Scanner {
public:
    explicit Scanner(const std::vector<Pair>& pairs) : pairs_(pairs) {}

    Scanned run()
    {
        if (pairs_.empty())
            fail(L"it is not a DXF file (no groups)");
        for (size_t i = 0; i < pairs_.size() && !sawEof_; ++i)
            if (pairs_[i].code == 0)
                record(i);
        if (!sawEof_)
            fail(section_.empty() ? L"the file ends without EOF"
                                  : L"the file ends inside the section " + widen(section_));
        closeOpenRecord(pairs_.size());
        return std::move(scanned_);
    }

private:
    // The record that the "0" pair i opens.
    void record(size_t i)
    {
        const size_t line = pairs_[i].line;
        const std::string word(pairs_[i].value());
        if (inEntitySection() && (word == "VERTEX" || word == "SEQEND")) {
            sequenceRecord(line, word);
            return;
        }
        if (inSequence_)
            failAt(line, L"a POLYLINE without SEQEND");
        closeOpenRecord(i);
        if (word == "EOF") {
            if (!section_.empty())
                failAt(line, L"EOF inside the section " + widen(section_));
            sawEof_ = true;
        } else if (word == "SECTION") {
            startSection(i);
        } else if (section_.empty()) {
            failAt(line, L"\"" + widen(word) + L"\" outside any section");
        } else if (word == "ENDSEC") {
            if (inTable_ || inBlock_)
                failAt(line, L"the section ends inside a table or block");
            section_.clear();
        } else if (!inEntitySection() && isEntityType(word)) {
            failAt(line, L"an entity (" + widen(word) + L") in the " + widen(section_) + L" section");
        } else if (section_ == "TABLES") {
            tablesRecord(i, word);
        } else if (section_ == "BLOCKS") {
            blocksRecord(i, word);
        } else if (section_ == "ENTITIES") {
            addEntity(i, word, -1);
        }
    }

    bool inEntitySection() const { return section_ == "ENTITIES" || section_ == "BLOCKS"; }

    // A POLYLINE takes the VERTEX records and the SEQEND that follow it.
    void sequenceRecord(size_t line, const std::string& word)
    {
        if (!inSequence_)
            failAt(line, widen(word) + L" without a POLYLINE");
        inSequence_ = word == "VERTEX";
    }

    // The entity or table record read last ends where the pair i stands. A
    // header variable's name (group 9) has no place in it: dxflib would take
    // the groups after it for the variable's value and misread the record.
    void closeOpenRecord(size_t i)
    {
        if (open_ != Open::None) {
            const size_t first = open_ == Open::Entity ? scanned_.entities.back().first
                : open_ == Open::Linetype              ? scanned_.linetypes.back().first
                                                       : scanned_.layers.back().first;
            for (size_t k = first; k < i; ++k)
                if (pairs_[k].code == 9)
                    failAt(pairs_[k].line, L"group 9 (the name of a header variable) inside a record");
        }
        switch (open_) {
        case Open::Entity: scanned_.entities.back().last = i; break;
        case Open::Linetype: scanned_.linetypes.back().last = i; break;
        case Open::Layer: scanned_.layers.back().last = i; break;
        case Open::None: break;
        }
        open_ = Open::None;
    }

    void startSection(size_t i)
    {
        const size_t line = pairs_[i].line;
        if (!section_.empty())
            failAt(line, L"a section inside the section " + widen(section_));
        if (i + 1 >= pairs_.size() || pairs_[i + 1].code != 2)
            failAt(line, L"a section without a name");
        section_ = std::string(pairs_[i + 1].value());
        if (!isOneOf(section_,
                     {"HEADER", "CLASSES", "TABLES", "BLOCKS", "ENTITIES", "OBJECTS", "THUMBNAILIMAGE", "ACDSDATA"}))
            failAt(line, L"unknown section " + widen(section_));
    }

    // TABLE, its records, ENDTAB; the records of the LTYPE and LAYER tables
    // are kept for dxflib.
    void tablesRecord(size_t i, const std::string& word)
    {
        const size_t line = pairs_[i].line;
        if (word == "TABLE") {
            if (inTable_)
                failAt(line, L"a table inside a table");
            inTable_ = true;
            table_.clear();
            if (i + 1 < pairs_.size() && pairs_[i + 1].code == 2)
                table_ = std::string(pairs_[i + 1].value());
        } else if (word == "ENDTAB") {
            if (!inTable_)
                failAt(line, L"ENDTAB without TABLE");
            inTable_ = false;
        } else if (!inTable_) {
            failAt(line, L"a table record outside any table");
        } else if (table_ == word && word == "LTYPE") {
            scanned_.linetypes.push_back(Span{i, 0});
            open_ = Open::Linetype;
        } else if (table_ == word && word == "LAYER") {
            scanned_.layers.push_back(Span{i, 0});
            open_ = Open::Layer;
        }
    }

    // BLOCK, its entities, ENDBLK.
    void blocksRecord(size_t i, const std::string& word)
    {
        const size_t line = pairs_[i].line;
        if (word == "BLOCK") {
            if (inBlock_)
                failAt(line, L"a block inside a block");
            inBlock_ = true;
            startBlock(i);
        } else if (word == "ENDBLK") {
            if (!inBlock_)
                failAt(line, L"ENDBLK without BLOCK");
            inBlock_ = false;
        } else if (!inBlock_) {
            failAt(line, L"an entity outside any block definition");
        } else if (block_ < 0) {
            failAt(line, L"entities in the block of a space are not read");
        } else {
            addEntity(i, word, block_);
        }
    }

    // A block definition's name and base point; the blocks of the two spaces
    // are not kept.
    void startBlock(size_t i)
    {
        ScannedBlock b;
        b.line = pairs_[i].line;
        bool named = false;
        for (size_t k = i + 1; k < pairs_.size() && pairs_[k].code != 0; ++k) {
            const Pair& p = pairs_[k];
            if (p.code == 2) {
                b.name = std::string(p.value());
                named = true;
            } else if (p.code == 10) {
                b.base.x = realOf(p);
            } else if (p.code == 20) {
                b.base.y = realOf(p);
            } else if (p.code == 30) {
                b.base.z = realOf(p);
            }
        }
        if (!named || b.name.empty())
            failAt(b.line, L"a block without a name");
        block_ = -1;
        if (!isSpaceBlock(b.name)) {
            if (!blockNames_.insert(upperCase(b.name)).second)
                failAt(b.line, L"the block \"" + widen(b.name) + L"\" is defined twice");
            block_ = static_cast<int>(scanned_.blocks.size());
            scanned_.blocks.push_back(b);
        }
    }

    void addEntity(size_t i, const std::string& word, int block)
    {
        if (!isReadEntity(word))
            failAt(pairs_[i].line, L"entities of type " + widen(word) + L" are not read");
        ScannedEntity e;
        e.type = pairs_[i].value();
        e.first = i;
        e.block = block;
        scanned_.entities.push_back(e);
        open_ = Open::Entity;
        inSequence_ = word == "POLYLINE";
    }

    enum class Open { None, Entity, Linetype, Layer };

    const std::vector<Pair>& pairs_;
    Scanned scanned_;
    std::string section_, table_;
    bool inTable_ = false, inBlock_ = false, sawEof_ = false;
    bool inSequence_ = false;                     // after a POLYLINE, until its SEQEND
    int block_ = -1;                              // the block definition being read; -1 for one of the spaces
    Open open_ = Open::None;                      // the record that the next "0" pair ends
    std::unordered_set<std::string> blockNames_;  // in upper case
};

}  // namespace

std::string upperCase(std::string name)
{
    for (char& c : name)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return name;
}

bool isReadEntity(const std::string& type)
{
    return isOneOf(type,
                   {"3DFACE", "LINE", "POINT", "MESH", "CIRCLE", "ARC", "ELLIPSE", "SPLINE", "LWPOLYLINE", "POLYLINE",
                    "RAY", "XLINE", "SOLID", "TEXT", "INSERT", "HATCH"});
}

bool isEntityType(const std::string& type)
{
    return isOneOf(type,
                   {"3DFACE",
                    "3DSOLID",
                    "ACAD_PROXY_ENTITY",
                    "ACAD_TABLE",
                    "ARC",
                    "ARC_DIMENSION",
                    "ATTDEF",
                    "ATTRIB",
                    "BODY",
                    "CIRCLE",
                    "DGNUNDERLAY",
                    "DIMENSION",
                    "DWFUNDERLAY",
                    "ELLIPSE",
                    "EXTRUDEDSURFACE",
                    "HATCH",
                    "HELIX",
                    "IMAGE",
                    "INSERT",
                    "LARGE_RADIAL_DIMENSION",
                    "LEADER",
                    "LIGHT",
                    "LINE",
                    "LOFTEDSURFACE",
                    "LWPOLYLINE",
                    "MESH",
                    "MLINE",
                    "MPOLYGON",
                    "MTEXT",
                    "MULTILEADER",
                    "NURBSURFACE",
                    "OLE2FRAME",
                    "OLEFRAME",
                    "PDFUNDERLAY",
                    "PLANESURFACE",
                    "POINT",
                    "POINTCLOUD",
                    "POLYLINE",
                    "RAY",
                    "REGION",
                    "REVOLVEDSURFACE",
                    "SEQEND",
                    "SHAPE",
                    "SOLID",
                    "SPLINE",
                    "SURFACE",
                    "SWEPTSURFACE",
                    "TEXT",
                    "TOLERANCE",
                    "TRACE",
                    "VERTEX",
                    "VIEWPORT",
                    "WIPEOUT",
                    "XLINE"});
}

Scanned scanStructure(const std::vector<Pair>& pairs)
{
    return Scanner(pairs).run();
}

}  // namespace standin::dxfin
