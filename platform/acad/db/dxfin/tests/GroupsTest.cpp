// DXFIN's group reader: the pairs of a text, and the first fault with its line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dxfin/Groups.h"
#include "standin/WideFormat.h"

namespace {

using standin::dxfin::Failure;
using standin::dxfin::Kind;
using standin::dxfin::kindOf;
using standin::dxfin::Pair;
using standin::dxfin::readPairs;

// The pairs as "line:code=value" items; the reason when the text is refused.
std::string read(const std::string& text)
{
    try {
        std::string out;
        for (const Pair& p : readPairs(text))
            out += std::to_string(p.line) + ":" + std::to_string(p.code) + "=" + std::string(p.value()) + " ";
        return out;
    } catch (const Failure& f) {
        return "refused: " + standin::narrow(f.reason);
    }
}

TEST(DxfGroupsTest, PairsKeepTheirCodeValueAndLine)
{
    struct Case {
        const char* name;
        std::string text;
        const char* pairs;
    };
    const Case cases[] = {
        {"blanks around codes and values", "  0\nSECTION\n  2\n ENTITIES \n", "1:0=SECTION 3:2=ENTITIES "},
        {"CR LF line ends", "0\r\nLINE\r\n10\r\n1.5\r\n", "1:0=LINE 3:10=1.5 "},
        {"a text keeps its blanks", "1\n  two words \n", "1:1=  two words  "},
        {"a last empty line", "0\nEOF\n\n", "1:0=EOF "},
        {"nothing after EOF is read", "0\nEOF\ngarbage\n\x01\x02", "1:0=EOF "},
        {"a last line without its end", "0\nLINE\n62\n7", "1:0=LINE 3:62=7 "},
        {"64-bit integers where DXF has them", "160\n9000000000\n450\n-9000000000\n",
         "1:160=9000000000 3:450=-9000000000 "},
        {"exponents and signs", "10\n-1.5E+3\n20\n+.5\n30\n7.\n", "1:10=-1.5E+3 3:20=+.5 5:30=7. "},
        {"an empty file", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(read(c.text), c.pairs);
    }
}

TEST(DxfGroupsTest, TheFirstBadGroupIsRefusedWithItsLine)
{
    struct Case {
        const char* name;
        std::string text;
        const char* reason;
    };
    const std::string lineEnd = "0\nLINE\n";
    const Case cases[] = {
        {"a word for a code", lineEnd + "LINE\n0\n", "line 3: not a DXF group code"},
        {"a code beyond DXF's", lineEnd + "5000\n1\n", "line 3: not a DXF group code"},
        {"a code in a gap of DXF's", lineEnd + "85\n1\n", "line 3: not a DXF group code"},
        {"a negative code", lineEnd + "-5\n1\n", "line 3: not a DXF group code"},
        {"a real that is no number", lineEnd + "10\nabc\n", "line 4: not a finite number"},
        {"a real out of range", lineEnd + "10\n1e999\n", "line 4: not a finite number"},
        {"NaN", lineEnd + "10\nnan\n", "line 4: not a finite number"},
        {"hexadecimal", lineEnd + "10\n0x10\n", "line 4: not a finite number"},
        {"an integer with a point", lineEnd + "62\n1.0\n", "line 4: not an integer in range"},
        {"an integer beyond 32 bits", lineEnd + "90\n2147483648\n", "line 4: not an integer in range"},
        {"a flag that is no integer", lineEnd + "290\nyes\n", "line 4: not an integer in range"},
        {"a group cut off", lineEnd + "10\n", "line 3: the file ends inside a group"},
        {"a line too long", lineEnd + "1\n" + std::string(1001, 'x') + "\n",
         "line 4: the line is longer than 1000 characters"},
        {"binary DXF", "AutoCAD Binary DXF\r\n\x1a", "binary DXF files are not read"},
        {"a NUL byte", std::string("0\nLI\0E\n", 7), "it is not a DXF text file (it holds NUL bytes)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(read(c.text), std::string("refused: ") + c.reason);
    }
}

TEST(DxfGroupsTest, EachCodeRangeHasTheKindDxfGivesIt)
{
    struct Case {
        int code;
        Kind kind;
        bool wide;
    };
    const Case cases[] = {
        {-1, Kind::Invalid, false},  {0, Kind::Text, false},      {9, Kind::Text, false},
        {10, Kind::Real, false},     {59, Kind::Real, false},     {60, Kind::Int, false},
        {79, Kind::Int, false},      {80, Kind::Invalid, false},  {90, Kind::Int, false},
        {100, Kind::Text, false},    {101, Kind::Text, false},    {102, Kind::Text, false},
        {103, Kind::Invalid, false}, {105, Kind::Text, false},    {110, Kind::Real, false},
        {150, Kind::Invalid, false}, {160, Kind::Int, true},      {170, Kind::Int, false},
        {210, Kind::Real, false},    {240, Kind::Invalid, false}, {270, Kind::Int, false},
        {290, Kind::Bool, false},    {300, Kind::Text, false},    {370, Kind::Int, false},
        {390, Kind::Text, false},    {400, Kind::Int, false},     {410, Kind::Text, false},
        {420, Kind::Int, false},     {430, Kind::Text, false},    {440, Kind::Int, false},
        {450, Kind::Int, true},      {460, Kind::Real, false},    {470, Kind::Text, false},
        {481, Kind::Text, false},    {482, Kind::Invalid, false}, {998, Kind::Invalid, false},
        {999, Kind::Text, false},    {1000, Kind::Text, false},   {1010, Kind::Real, false},
        {1060, Kind::Int, false},    {1071, Kind::Int, false},    {1072, Kind::Invalid, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        bool wide = !c.wide;
        EXPECT_EQ(kindOf(c.code, &wide), c.kind);
        EXPECT_EQ(wide, c.wide);
    }
}

}  // namespace
