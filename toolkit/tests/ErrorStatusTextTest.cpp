// The status-code texts: the whole table, codes without a text, and codes
// outside the table.
#include <climits>
#include <map>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "ErrorStatusText.h"

namespace {

struct StatusRow {
    int code;
    const wchar_t* text;
};

// Every status code that has a text, with its text.
const StatusRow kRows[] = {
    {0, L"Success"},
    {1, L"Not Yet Implemented"},
    {2, L"Not Applicable"},
    {3, L"Invalid Input"},
    {4, L"Ambiguous Input"},
    {5, L"Ambiguous Output"},
    {6, L"Out Of Memory"},
    {7, L"Buffer Too Small"},
    {8, L"Invalid Open State"},
    {9, L"Entity In Inactive Layout"},
    {10, L"Handle Exists"},
    {11, L"Null Handle"},
    {12, L"Broken Handle"},
    {13, L"Unknown Handle"},
    {14, L"Handle In Use"},
    {15, L"Null Object Pointer"},
    {16, L"Null Object Id"},
    {17, L"Null Block Name"},
    {18, L"Container Not Empty"},
    {20, L"Null Entity Pointer"},
    {21, L"Illegal Entity Type"},
    {22, L"Key Not Found"},
    {23, L"Duplicate Key"},
    {24, L"Invalid Index"},
    {25, L"Duplicate Index"},
    {26, L"Already In Db"},
    {27, L"Out Of Disk"},
    {28, L"Deleted Entry"},
    {29, L"Negative Value Not Allowed"},
    {30, L"Invalid Extents"},
    {31, L"Invalid Ads Name"},
    {32, L"Invalid Symbol Table Name"},
    {33, L"Invalid Key"},
    {34, L"Wrong Object Type"},
    {35, L"Wrong Database"},
    {36, L"Object To Be Deleted"},
    {37, L"Invalid Dwg Version"},
    {38, L"Anonymous Entry"},
    {39, L"Illegal Replacement"},
    {40, L"End Of Object"},
    {41, L"End Of File"},
    {42, L"Is Reading"},
    {43, L"Is Writing"},
    {44, L"Not Open For Read"},
    {45, L"Not Open For Write"},
    {46, L"Not That Kind Of Class"},
    {47, L"Invalid Block Name"},
    {48, L"Missing Dxf Field"},
    {49, L"Duplicate Dxf Field"},
    {50, L"Invalid Dxf Code"},
    {51, L"Invalid Res Buf"},
    {52, L"Bad Dxf Sequence"},
    {53, L"Filer Error"},
    {54, L"Vertex After Face"},
    {55, L"Invalid Face Vertex Index"},
    {56, L"Invalid Mesh Vertex Index"},
    {57, L"Other Objects Busy"},
    {58, L"Must First Add Block To Db"},
    {59, L"Cannot Nest Block Defs"},
    {60, L"Dwg Recovered OK"},
    {61, L"Dwg Not Recoverable"},
    {62, L"Dxf Partially Read"},
    {63, L"Dxf Read Aborted"},
    {64, L"Dxb Partially Read"},
    {65, L"Dwg CRC Does Not Match"},
    {66, L"Dwg Sentinel Does Not Match"},
    {67, L"Dwg Object Improperly Read"},
    {68, L"No Input Filer"},
    {69, L"Dwg Needs A Full Save"},
    {70, L"Dxb Read Aborted"},
    {71, L"File Locked By ACAD"},
    {72, L"File Access Err"},
    {73, L"File System Err"},
    {74, L"File Internal Err"},
    {75, L"File Too Many Open"},
    {76, L"File Not Found"},
    {77, L"Dwk Lock File Found"},
    {80, L"Was Erased"},
    {81, L"Permanently Erased"},
    {82, L"Was Open For Read"},
    {83, L"Was Open For Write"},
    {84, L"Was Open For Undo"},
    {85, L"Was Notifying"},
    {86, L"Was Open For Notify"},
    {87, L"On Locked Layer"},
    {88, L"Must Open Thru Owner"},
    {89, L"Subentities Still Open"},
    {90, L"At Max Readers"},
    {91, L"Is Write Protected"},
    {92, L"Is XRef Object"},
    {93, L"Not An Entity"},
    {94, L"Had Multiple Readers"},
    {95, L"Duplicate Record Name"},
    {96, L"XRef Dependent"},
    {97, L"Self Reference"},
    {98, L"Missing Symbol Table"},
    {99, L"Missing Symbol Table Rec"},
    {100, L"Was Not Open For Write"},
    {101, L"Close Was Notifying"},
    {102, L"Close Modify Aborted"},
    {103, L"Close Partial Failure"},
    {104, L"Close Fail Object Damaged"},
    {105, L"Cannot Be Erased By Caller"},
    {106, L"Cannot Be Resurrected"},
    {110, L"Insert After"},
    {120, L"Fixed All Errors"},
    {122, L"Left Errors Unfixed"},
    {123, L"Unrecoverable Errors"},
    {124, L"No Database"},
    {125, L"Xdata Size Exceeded"},
    {126, L"Regapp Id Not Found"},
    {127, L"Repeat Entity"},
    {128, L"Record Not In Table"},
    {129, L"Iterator Done"},
    {130, L"Null Iterator"},
    {131, L"Not In Block"},
    {132, L"Owner Not In Database"},
    {133, L"Owner Not Open For Read"},
    {134, L"Owner Not Open For Write"},
    {135, L"Explode Before Transform"},
    {136, L"Cannot Scale Non Uniformly"},
    {137, L"Not In Database"},
    {138, L"Not Current Database"},
    {139, L"Is An Entity"},
    {140, L"Cannot Change Active Viewport"},
    {141, L"Not In Paperspace"},
    {142, L"Command Was In Progress"},
    {150, L"General Modeling Failure"},
    {151, L"Out Of Range"},
    {152, L"Non Coplanar Geometry"},
    {153, L"Degenerate Geometry"},
    {154, L"Invalid Axis"},
    {155, L"Point Not On Entity"},
    {156, L"Singular Point"},
    {157, L"Invalid Offset"},
    {158, L"Non Planar Entity"},
    {159, L"Cannot Explode Entity"},
    {160, L"String Too Long"},
    {161, L"Invalid Sym Table Flag"},
    {162, L"Undefined Line Type"},
    {163, L"Invalid Text Style"},
    {164, L"Too Few Line Type Elements"},
    {165, L"Too Many Line Type Elements"},
    {166, L"Excessive Item Count"},
    {167, L"Ignored Linetype Redef"},
    {168, L"Bad UCS"},
    {169, L"Bad Paperspace View"},
    {170, L"Some Input Data Left Unread"},
    {171, L"No Internal Space"},
    {172, L"Invalid Dim Style"},
    {173, L"Invalid Layer"},
    {180, L"User Break"},
    {190, L"Dwg Needs Recovery"},
    {191, L"Delete Entity"},
    {192, L"Invalid Fix"},
    {193, L"FSM Error"},
    {200, L"Bad Layer Name"},
    {201, L"Layer Group Code Missing"},
    {202, L"Bad Color Index"},
    {203, L"Bad Linetype Name"},
    {204, L"Bad Linetype Scale"},
    {205, L"Bad Visibility Value"},
    {206, L"Proper Class Separator Expected"},
    {207, L"Bad Line Weight Value"},
    {210, L"Pager Error"},
    {211, L"Out Of Pager Memory"},
    {212, L"Pager Write Error"},
    {213, L"Was Not Forwarding"},
    {220, L"Invalid Id Map"},
    {221, L"Invalid Owner Object"},
    {222, L"Owner Not Set"},
    {230, L"Wrong Subentity Type"},
    {231, L"Too Many Vertices"},
    {232, L"Too Few Vertices"},
    {250, L"No Active Transactions"},
    {251, L"Not Top Transaction"},
    {252, L"Transaction Open While Command Ended"},
    {253, L"In Process Of Committing"},
    {254, L"Not Newly Created"},
    {255, L"Long Trans Reference Error"},
    {256, L"No Work Set"},
    {260, L"Already In Group"},
    {261, L"Not In Group"},
    {290, L"Invalid REFIID"},
    {291, L"Invalid Normal"},
    {292, L"Invalid Style"},
    {300, L"Cannot Restore From Acis File"},
    {301, L"Make Me Proxy"},
    {302, L"NLS File Not Available"},
    {303, L"Not Allowed For This Proxy"},
    {310, L"Not Supported In Dwg Api"},
    {311, L"Poly Width Lost"},
    {312, L"Null Extents"},
    {314, L"Bad Dwg Header"},
    {320, L"Lock Violation"},
    {321, L"Lock Conflict"},
    {322, L"Database Objects Open"},
    {323, L"Lock Change In Progress"},
    {325, L"Vetoed"},
    {330, L"No Document"},
    {331, L"Not From This Document"},
    {332, L"LISP Active"},
    {333, L"Target Doc Not Quiescent"},
    {334, L"Document Switch Disabled"},
    {335, L"Invalid Context"},
    {337, L"Create Failed"},
    {338, L"Create Invalid Name"},
    {340, L"Set Failed"},
    {342, L"Del Does Not Exist"},
    {343, L"Del Is Model Space"},
    {344, L"Del Last Layout"},
    {345, L"Del Unable To Set Current"},
    {346, L"Del Unable To Find"},
    {348, L"Rename Does Not Exist"},
    {349, L"Rename Is Model Space"},
    {350, L"Rename Invalid Layout Name"},
    {351, L"Rename Layout Already Exists"},
    {352, L"Rename Invalid Name"},
    {354, L"Copy Does Not Exist"},
    {355, L"Copy Is Model Space"},
    {356, L"Copy Failed"},
    {357, L"Copy Invalid Name"},
    {358, L"Copy Name Exists"},
    {359, L"Profile Does Not Exist"},
    {360, L"Invalid File Extension"},
    {361, L"Invalid Profile Name"},
    {362, L"File Exists"},
    {363, L"Profile Is In Use"},
    {364, L"Cant Open File"},
    {365, L"No File Name"},
    {366, L"Registry Access Error"},
    {367, L"Registry Create Error"},
    {368, L"Bad Dxf File"},
    {369, L"Unknown Dxf File Format"},
    {370, L"Missing Dxf Section"},
    {371, L"Invalid Dxf Section Name"},
    {372, L"Not Dxf Header Group Code"},
    {373, L"Undefined Dxf Group Code"},
    {374, L"Not Initialized Yet"},
    {375, L"Invalid Dxf 2d Point"},
    {376, L"Invalid Dxf 3d Point"},
    {378, L"Badly Nested App Data"},
    {379, L"Incomplete Block Definition"},
    {380, L"Incomplete Complex Object"},
    {381, L"Block Def In Entity Section"},
    {382, L"No Block Begin"},
    {383, L"Duplicate Layer Name"},
    {384, L"Bad Plot Style Name"},
    {385, L"Duplicate Block Name"},
    {386, L"Bad Plot Style Type"},
    {387, L"Bad Plot Style Name Handle"},
    {388, L"Undefine Shape Name"},
    {389, L"Duplicate Block Definition"},
    {390, L"Missing Block Name"},
    {391, L"Binary Data Size Exceeded"},
    {392, L"Object Is Referenced"},
    {393, L"No Thumbnail Bitmap"},
    {394, L"Guid No Address"},
    {395, L"Must Be 0 To 2"},
    {396, L"Must Be 0 To 3"},
    {397, L"Must Be 0 To 4"},
    {398, L"Must Be 0 To 5"},
    {399, L"Must Be 0 To 8"},
    {400, L"Must Be 1 To 8"},
    {401, L"Must Be 1 To 15"},
    {402, L"Must Be Positive"},
    {403, L"Must Be Non Negative"},
    {404, L"Must Be Non Zero"},
    {405, L"Must Be 1 To 6"},
    {406, L"No Plot Style Translation Table"},
    {407, L"Plot Style In Color Dependent Mode"},
    {408, L"Max Layouts"},
    {409, L"No Class Id"},
    {410, L"Undo Operation Not Available"},
    {411, L"Undo No Group Begin"},
    {420, L"Hatch Too Dense"},
    {430, L"Open File Cancelled"},
    {431, L"Not Handled"},
    {432, L"Make Me Proxy And Resurrect"},
};

std::wstring TextOf(int code)
{
    return std::wstring((LPCTSTR)ErrorStatusText(static_cast<Acad::ErrorStatus>(code)));
}

TEST(ErrorStatusText, EveryCodeWithATextGivesItsText)
{
    std::set<std::wstring> texts;
    for (const StatusRow& row : kRows) {
        EXPECT_EQ(TextOf(row.code), row.text) << "code " << row.code;
        texts.insert(row.text);
    }
    EXPECT_EQ(std::size(kRows), 279u);
    EXPECT_EQ(texts.size(), std::size(kRows)) << "two codes share a text";
}

TEST(ErrorStatusText, CodesWithoutATextInTheRangeGiveAnEmptyText)
{
    std::map<int, const wchar_t*> withText;
    for (const StatusRow& row : kRows)
        withText[row.code] = row.text;

    int withoutText = 0;
    for (int code = 0; code <= 432; ++code) {
        if (withText.count(code) != 0)
            continue;
        ++withoutText;
        EXPECT_EQ(TextOf(code), L"") << "code " << code;
    }
    EXPECT_EQ(withoutText, 154);
}

TEST(ErrorStatusText, CodesOutsideTheTableGiveAnEmptyText)
{
    // Just past the table, the editor's result codes, negative codes and the
    // ends of the integer range.
    const int codes[] = {433, 434, 511, 512, 1000, 5000, 5100, 65535, INT_MAX, -1, -5001, -5002, -432, INT_MIN};
    for (int code : codes)
        EXPECT_EQ(TextOf(code), L"") << "code " << code;
}

TEST(ErrorStatusText, NamedStatusesGiveTheirTexts)
{
    EXPECT_EQ(std::wstring((LPCTSTR)ErrorStatusText(Acad::eOk)), L"Success");
    EXPECT_EQ(std::wstring((LPCTSTR)ErrorStatusText(Acad::eInvalidInput)), L"Invalid Input");
    EXPECT_EQ(std::wstring((LPCTSTR)ErrorStatusText(Acad::eKeyNotFound)), L"Key Not Found");
    EXPECT_EQ(std::wstring((LPCTSTR)ErrorStatusText(Acad::eWasErased)), L"Was Erased");
}

}  // namespace
