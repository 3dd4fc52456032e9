// DXFIN's structure scan: where entities, blocks and table records stand, and
// the first record out of place refused with its line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dxfin/Groups.h"
#include "dxfin/Scan.h"
#include "standin/WideFormat.h"

namespace {

using namespace standin::dxfin;

// The text with one group a line pair: "0 LINE 8 Walls" as "0\nLINE\n8\nWalls\n".
std::string dxf(const std::string& words)
{
    std::string text;
    size_t at = 0;
    while (at < words.size()) {
        size_t end = words.find(' ', at);
        if (end == std::string::npos)
            end = words.size();
        text += words.substr(at, end - at) + "\n";
        at = end + 1;
    }
    return text;
}

// What the scan found, or the reason it refused the text.
std::string scan(const std::string& words)
{
    const std::string text = dxf(words);
    try {
        const std::vector<Pair> pairs = readPairs(text);
        const Scanned s = scanStructure(pairs);
        std::string out;
        for (const ScannedEntity& e : s.entities)
            out += std::string(e.type) + "@" + std::to_string(pairs[e.first].line) + "+" +
                std::to_string(e.last - e.first) +
                (e.block >= 0 ? " in " + s.blocks[static_cast<size_t>(e.block)].name : "") + " ";
        for (const ScannedBlock& b : s.blocks)
            out += "block " + b.name + "@" + std::to_string(b.line) + " ";
        for (const Span& r : s.linetypes)
            out += "ltype@" + std::to_string(pairs[r.first].line) + "+" + std::to_string(r.last - r.first) + " ";
        for (const Span& r : s.layers)
            out += "layer@" + std::to_string(pairs[r.first].line) + "+" + std::to_string(r.last - r.first) + " ";
        return out;
    } catch (const Failure& f) {
        return "refused: " + standin::narrow(f.reason);
    }
}

TEST(DxfScanTest, EntitiesBlocksAndTableRecordsAreFoundWhereTheyStand)
{
    EXPECT_EQ(scan("0 SECTION 2 HEADER 9 $ACADVER 1 AC1015 0 ENDSEC "
                   "0 SECTION 2 TABLES 0 TABLE 2 LTYPE 0 LTYPE 2 Dots 73 0 0 ENDTAB "
                   "0 TABLE 2 LAYER 0 LAYER 2 Walls 62 1 0 LAYER 2 Roof 0 ENDTAB "
                   "0 TABLE 2 STYLE 0 STYLE 2 Standard 0 ENDTAB 0 ENDSEC "
                   "0 SECTION 2 BLOCKS 0 BLOCK 2 *Model_Space 0 ENDBLK "
                   "0 BLOCK 2 Door 10 1 20 2 0 LINE 10 0 20 0 11 1 21 1 0 ENDBLK 0 ENDSEC "
                   "0 SECTION 2 ENTITIES 0 POLYLINE 70 8 0 VERTEX 10 0 20 0 0 SEQEND 0 INSERT 2 Door 0 ENDSEC "
                   "0 SECTION 2 OBJECTS 0 DICTIONARY 0 ENDSEC 0 EOF"),
              "LINE@73+5 in Door POLYLINE@91+6 INSERT@103+2 block Door@65 ltype@19+3 layer@31+3 layer@37+2 ");
}

TEST(DxfScanTest, ARecordOutOfPlaceIsRefusedWithItsLine)
{
    struct Case {
        const char* name;
        const char* words;
        const char* reason;
    };
    const Case cases[] = {
        {"no groups", "", "it is not a DXF file (no groups)"},
        {"no EOF", "0 SECTION 2 ENTITIES 0 ENDSEC", "the file ends without EOF"},
        {"EOF in a section", "0 SECTION 2 ENTITIES 0 EOF", "line 5: EOF inside the section ENTITIES"},
        {"a section in a section", "0 SECTION 2 ENTITIES 0 SECTION 2 BLOCKS",
         "line 5: a section inside the section ENTITIES"},
        {"a section without a name", "0 SECTION 8 X 0 ENDSEC 0 EOF", "line 1: a section without a name"},
        {"an unknown section", "0 SECTION 2 PICTURES 0 ENDSEC 0 EOF", "line 1: unknown section PICTURES"},
        {"a record outside any section", "0 LINE 0 EOF", "line 1: \"LINE\" outside any section"},
        {"a table in a table", "0 SECTION 2 TABLES 0 TABLE 2 LAYER 0 TABLE", "line 9: a table inside a table"},
        {"ENDTAB alone", "0 SECTION 2 TABLES 0 ENDTAB", "line 5: ENDTAB without TABLE"},
        {"a table record outside a table", "0 SECTION 2 TABLES 0 LAYER 2 A",
         "line 5: a table record outside any table"},
        {"a section ending in a table", "0 SECTION 2 TABLES 0 TABLE 2 LAYER 0 ENDSEC",
         "line 9: the section ends inside a table or block"},
        {"a block in a block", "0 SECTION 2 BLOCKS 0 BLOCK 2 A 0 BLOCK 2 B", "line 9: a block inside a block"},
        {"a block without a name", "0 SECTION 2 BLOCKS 0 BLOCK 10 0 0 ENDBLK", "line 5: a block without a name"},
        {"ENDBLK alone", "0 SECTION 2 BLOCKS 0 ENDBLK", "line 5: ENDBLK without BLOCK"},
        {"an entity between blocks", "0 SECTION 2 BLOCKS 0 LINE", "line 5: an entity outside any block definition"},
        {"an entity in a space's block", "0 SECTION 2 BLOCKS 0 BLOCK 2 *Paper_Space 0 LINE",
         "line 9: entities in the block of a space are not read"},
        {"an entity type not read", "0 SECTION 2 ENTITIES 0 MTEXT 1 x", "line 5: entities of type MTEXT are not read"},
        {"an entity type not read in a block", "0 SECTION 2 BLOCKS 0 BLOCK 2 A 0 VIEWPORT",
         "line 9: entities of type VIEWPORT are not read"},
        {"VERTEX without POLYLINE", "0 SECTION 2 ENTITIES 0 VERTEX", "line 5: VERTEX without a POLYLINE"},
        {"SEQEND without POLYLINE", "0 SECTION 2 ENTITIES 0 LINE 0 SEQEND", "line 7: SEQEND without a POLYLINE"},
        {"POLYLINE without SEQEND", "0 SECTION 2 ENTITIES 0 POLYLINE 0 VERTEX 0 LINE",
         "line 9: a POLYLINE without SEQEND"},
        {"an entity among the objects", "0 SECTION 2 OBJECTS 0 LWPOLYLINE 90 1073741824",
         "line 5: an entity (LWPOLYLINE) in the OBJECTS section"},
        {"an entity in a table", "0 SECTION 2 TABLES 0 TABLE 2 LAYER 0 LEADER",
         "line 9: an entity (LEADER) in the TABLES section"},
        {"a VERTEX in the header", "0 SECTION 2 HEADER 0 VERTEX", "line 5: an entity (VERTEX) in the HEADER section"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(scan(c.words), std::string("refused: ") + c.reason);
    }
}

}  // namespace
