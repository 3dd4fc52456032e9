// Host release lookup, system variables and message boxes.
#include "ToolkitTest.h"

#include "HostRelease.h"
#include "HostReleaseConv.h"
#include "aced.h"
#include "adslib.h"

namespace {

// Sets the host's build number (read-only for programs).
void SetVernum(const wchar_t* vernum)
{
    standin::editor::setVernum(vernum);
}

}  // namespace

using HostReleaseTest = ToolkitTest;

TEST_F(HostReleaseTest, NameTablesHoldTheTwelveReleasesInIndexOrder)
{
    const wchar_t* const expected[kHostReleaseCount] = {
        L"AutoCAD ????", L"AutoCAD 2000", L"AutoCAD 2000i", L"AutoCAD 2002", L"AutoCAD 2004", L"AutoCAD 2005",
        L"AutoCAD 2006", L"AutoCAD 2007", L"AutoCAD 2008",  L"AutoCAD 2009", L"AutoCAD 2010", L"AutoCAD 2011"};
    for (int i = 0; i < kHostReleaseCount; ++i) {
        EXPECT_EQ(HostReleaseNames[i], CString(expected[i])) << i;
        EXPECT_EQ(Conversion::HostReleaseNames[i], CString(expected[i])) << i;
    }
}

TEST_F(HostReleaseTest, ReleaseFromTheFirstLetterOfVernum)
{
    const struct {
        const wchar_t* vernum;
        int release;
    } cases[] = {
        {L"T.0.0", 1},
        {L"U.0.0", 2},
        {L"K.0.0", 3},
        {L"V.0.0", 4},
        {L"N.0.0", 5},
        {L"Z.0.0", 6},
        {L"A.0.0", 7},
        {L"B.0.0", 8},
        {L"C.0.0", 9},
        {L"D.215.0.0 (UNICODE)", 10},
        {L"E.206.0.0 (UNICODE)", 11},
        {L"E", 11},
        // Only capitals of the table match.
        {L"d.215.0.0", 0},
        {L"1D", 0},
        {L"X.1.0", 0},
        {L" D", 0},
        {L"", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "_VERNUM \"" << Narrow(c.vernum) << "\"");
        SetVernum(c.vernum);
        EXPECT_EQ(GetHostRelease(), c.release);
        // Every call reads the variable again.
        EXPECT_EQ(HostReleaseNames[GetHostRelease()], CString(kHostReleaseNameTexts[c.release]));
    }
}

TEST_F(HostReleaseTest, CheckHostReleaseWarnsOnAMismatch)
{
    SetVernum(L"D.215.0.0 (UNICODE)");
    EXPECT_EQ(CheckHostRelease(10), 1);
    EXPECT_TRUE(user().boxes().empty());

    EXPECT_EQ(CheckHostRelease(9), 0);
    ASSERT_EQ(user().boxes().size(), 1u);
    EXPECT_EQ(user().boxes()[0].caption, L"Incompatible AutoCAD Version");
    EXPECT_EQ(user().boxes()[0].text, L"This plug-in is designed to work with AutoCAD 2009 based products only");
    EXPECT_EQ(user().boxes()[0].type, static_cast<unsigned>(MB_ICONWARNING));
    EXPECT_EQ(MB_ICONWARNING, 0x30);
}

TEST_F(HostReleaseTest, CheckHostReleaseOfAnUnrecognisedHost)
{
    SetVernum(L"Q.1.0");
    EXPECT_EQ(CheckHostRelease(0), 1);
    EXPECT_TRUE(user().boxes().empty());
    EXPECT_EQ(CheckHostRelease(11), 0);
    ASSERT_EQ(user().boxes().size(), 1u);
    EXPECT_EQ(user().boxes()[0].text, L"This plug-in is designed to work with AutoCAD 2011 based products only");
}

TEST_F(HostReleaseTest, CheckHostReleaseOutsideTheTableNamesTheUnknownRelease)
{
    SetVernum(L"D.215.0.0");
    for (int index : {12, -1, 1000}) {
        EXPECT_EQ(CheckHostRelease(index), 0) << index;
    }
    ASSERT_EQ(user().boxes().size(), 3u);
    for (const auto& box : user().boxes())
        EXPECT_EQ(box.text, L"This plug-in is designed to work with AutoCAD ???? based products only");
}

TEST_F(HostReleaseTest, ShortIntegerVariablesCarrySixteenBits)
{
    const struct {
        int sent;
        int read;
    } cases[] = {{70000, 4464}, {-1, -1}, {32767, 32767}, {32768, -32768}, {65536, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sent);
        EXPECT_EQ(SetSysVar(L"USERI1", c.sent), 1);
        int value = 12345;
        EXPECT_EQ(GetSysVar(L"USERI1", value), 1);
        EXPECT_EQ(value, c.read);
    }
}

TEST_F(HostReleaseTest, RealAndStringVariablesRoundTrip)
{
    EXPECT_EQ(SetSysVar(L"USERR1", 2.75), 1);
    double real = 0;
    EXPECT_EQ(GetSysVar(L"userr1", real), 1) << "names ignore case";
    EXPECT_EQ(real, 2.75);

    EXPECT_EQ(SetSysVar(L"USERS1", CString(L"Kolvane \x00e9t\x00e9")), 1);
    CString text;
    EXPECT_EQ(GetSysVar(L"USERS1", text), 1);
    EXPECT_EQ(text, CString(L"Kolvane \x00e9t\x00e9"));

    CString vernum;
    SetVernum(L"E.206.0.0 (UNICODE)");
    EXPECT_EQ(GetSysVar(L"_VERNUM", vernum), 1);
    EXPECT_EQ(vernum, CString(L"E.206.0.0 (UNICODE)"));
}

TEST_F(HostReleaseTest, RefusedAndUnknownVariablesFailWithoutChangingTheOutput)
{
    SetVernum(L"D.215.0.0");
    EXPECT_EQ(SetSysVar(L"_VERNUM", CString(L"E.1.0")), 0) << "read-only";
    EXPECT_EQ(GetHostRelease(), 10);

    EXPECT_EQ(SetSysVar(L"NOSUCHVARIABLE", 1), 0);
    EXPECT_EQ(SetSysVar(L"NOSUCHVARIABLE", 1.0), 0);
    EXPECT_EQ(SetSysVar(L"NOSUCHVARIABLE", CString(L"x")), 0);

    int i = 7;
    double d = 7.5;
    CString s = L"kept";
    EXPECT_EQ(GetSysVar(L"NOSUCHVARIABLE", i), 0);
    EXPECT_EQ(GetSysVar(L"NOSUCHVARIABLE", d), 0);
    EXPECT_EQ(GetSysVar(L"NOSUCHVARIABLE", s), 0);
    // A variable of another type than the getter's.
    EXPECT_EQ(GetSysVar(L"_VERNUM", i), 0);
    EXPECT_EQ(GetSysVar(L"USERI1", s), 0);
    EXPECT_EQ(GetSysVar(L"USERI1", d), 0);
    EXPECT_EQ(i, 7);
    EXPECT_EQ(d, 7.5);
    EXPECT_EQ(s, CString(L"kept"));
}

TEST_F(HostReleaseTest, ShowMessageBoxFormatsItsText)
{
    ShowMessageBox(CString(L"Kolvane"), MB_OK | MB_ICONWARNING, L"%d meshes in %s (%.1f%%)", 3, L"box.skp", 12.5);
    ASSERT_EQ(user().boxes().size(), 1u);
    EXPECT_EQ(user().boxes()[0].caption, L"Kolvane");
    EXPECT_EQ(user().boxes()[0].text, L"3 meshes in box.skp (12.5%)");
    EXPECT_EQ(user().boxes()[0].type, static_cast<unsigned>(MB_OK | MB_ICONWARNING));
}
