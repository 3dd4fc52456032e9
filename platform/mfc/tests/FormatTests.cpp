// Wide printf rules of the platform: CString::Format, _swprintf and the
// formatter behind them.
#include <afxwin.h>
#include <standin/WideFormat.h>

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

struct Case {
    const wchar_t* expected;
    std::wstring actual;
};

TEST(WideFormat, ConversionsFollowTheWideRules)
{
    const std::vector<Case> cases = {
        {L"wide", standin::format(L"%s", L"wide")},
        {L"wide", standin::format(L"%ls", L"wide")},
        {L"wide", standin::format(L"%ws", L"wide")},
        {L"narrow", standin::format(L"%S", "narrow")},
        {L"narrow", standin::format(L"%hs", "narrow")},
        {L"\u00e9t\u00e9", standin::format(L"%S", "\xc3\xa9t\xc3\xa9")},  // UTF-8
        {L"W", standin::format(L"%c", L'W')},
        {L"\u20ac", standin::format(L"%c", L'\u20ac')},
        {L"n", standin::format(L"%C", 'n')},
        {L"n", standin::format(L"%hc", 'n')},
        {L"-42 42 42", standin::format(L"%d %i %u", -42, 42, 42u)},
        {L"ff FF 17", standin::format(L"%x %X %o", 255, 255, 15)},
        {L"0xff", standin::format(L"%#x", 255)},
        {L"3.141593", standin::format(L"%f", 3.14159265)},
        {L"3.14", standin::format(L"%.2f", 3.14159265)},
        {L"1.500000e+003", standin::format(L"%e", 1500.0)},
        {L"1.5E-007", standin::format(L"%.1E", 1.5e-7)},
        {L"1e-005", standin::format(L"%g", 1e-5)},
        {L"0.5", standin::format(L"%g", 0.5)},
        {L"100%", standin::format(L"%d%%", 100)},
        {L"(null)", standin::format(L"%s", static_cast<const wchar_t*>(nullptr))},
        {L"(null)", standin::format(L"%S", static_cast<const char*>(nullptr))},
        {L"0000000000001234", standin::format(L"%p", reinterpret_cast<void*>(0x1234))},
        {L"1099511627776", standin::format(L"%I64d", 1LL << 40)},
        {L"18446744073709551615", standin::format(L"%I64u", ULLONG_MAX)},
        {L"-9000000000", standin::format(L"%lld", -9000000000LL)},
        {L"7", standin::format(L"%ld", 7L)},
        {L"-7", standin::format(L"%ld", -7L)},
        {L"4294967295", standin::format(L"%lu", 0xFFFFFFFFul)},
        {L"-1", standin::format(L"%hd", 0xFFFF)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, c.actual);
}

TEST(WideFormat, FlagsWidthAndPrecision)
{
    const std::vector<Case> cases = {
        {L"   42", standin::format(L"%5d", 42)},         {L"42   |", standin::format(L"%-5d|", 42)},
        {L"00042", standin::format(L"%05d", 42)},        {L"-0042", standin::format(L"%05d", -42)},
        {L"+42", standin::format(L"%+d", 42)},           {L" 42", standin::format(L"% d", 42)},
        {L"  007", standin::format(L"%5.3d", 7)},        {L"0x00ff", standin::format(L"%#06x", 255)},
        {L"  3.1", standin::format(L"%5.1f", 3.14159)},  {L"-03.1", standin::format(L"%05.1f", -3.14159)},
        {L"   ab", standin::format(L"%5s", L"ab")},      {L"ab   |", standin::format(L"%-5s|", L"ab")},
        {L"abc", standin::format(L"%.3s", L"abcdef")},   {L"abc", standin::format(L"%.3S", "abcdef")},
        {L"    x", standin::format(L"%*s", 5, L"x")},    {L"x    |", standin::format(L"%*s|", -5, L"x")},
        {L"3.14", standin::format(L"%.*f", 2, 3.14159)}, {L"  1.000000e+000", standin::format(L"%15e", 1.0)},
        {L"    W", standin::format(L"%5c", L'W')},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, c.actual);
}

TEST(WideFormat, OddSpecificationsAreHandledSafely)
{
    int untouched = 5;
    EXPECT_EQ(L"a", standin::format(L"a%n", &untouched));  // %n writes nothing
    EXPECT_EQ(5, untouched);
    EXPECT_EQ(L"ab", standin::format(L"ab%"));   // unfinished at the end
    EXPECT_EQ(L"%y!", standin::format(L"%y!"));  // not a conversion
    EXPECT_EQ(L"", standin::format(L""));
}

TEST(WideFormat, LongTextIsNotCut)
{
    std::wstring big(5000, L'x');
    EXPECT_EQ(big, standin::format(L"%s", big.c_str()));
    std::wstring huge = standin::format(L"%f", 1e300);
    EXPECT_EQ(308u, huge.size());  // 301 digits, the point and six decimals
}

TEST(WideFormat, UnicodeSurvivesNarrowingAndWidening)
{
    std::wstring text = L"Caf\u00e9 \u20ac \U0001F600";
    EXPECT_EQ(text, standin::widen(standin::narrow(text)));
}

TEST(WideFormat, BytesThatAreNotUtf8SurviveWideningAndNarrowing)
{
    // Names from file systems that hold other encodings come back as the
    // bytes they were; each stray byte is one wide character.
    struct Case {
        std::string bytes;
        size_t wideLength;
    };
    const Case cases[] = {
        {"caf\xe9.obj", 8},       // Latin-1 e acute
        {"\xff\xfe", 2},          // never UTF-8
        {"\xe2\x82", 2},          // a cut sequence
        {"\xc0\xaf", 2},          // an overlong form
        {"\xed\xa0\x80", 3},      // an encoded surrogate
        {"ok \xc3\xa9 \xe9", 6},  // valid and stray bytes mixed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        const std::wstring wide = standin::widen(c.bytes);
        EXPECT_EQ(c.wideLength, wide.size());
        EXPECT_EQ(c.bytes, standin::narrow(wide));
    }
    EXPECT_NE(standin::widen("caf\xe9"), standin::widen("caf\xc3\xa9")) << "a stray byte is no e acute";
    EXPECT_EQ("\xef\xbf\xbd", standin::narrow(std::wstring(1, static_cast<wchar_t>(0xD800))));
}

TEST(CStringFormat, ACStringHandedStraightToPercentSWorks)
{
    CString release(L"AutoCAD 2010");
    CString empty;
    CString caption;
    caption.Format(L"%s %s version %d.%d", L"Kolvane for", release, 1, 0);
    EXPECT_EQ(CString(L"Kolvane for AutoCAD 2010 version 1.0"), caption);

    CString other;
    other.Format(L"[%s][%ls][%5s]", empty, release, CString(L"ab"));
    EXPECT_EQ(CString(L"[][AutoCAD 2010][   ab]"), other);

    wchar_t buffer[256];
    int n = _swprintf(buffer, L"%s %s version %d.%d", L"Kolvane for", release, 1, 0);
    EXPECT_STREQ(L"Kolvane for AutoCAD 2010 version 1.0", buffer);
    EXPECT_EQ(36, n);
}

TEST(CStringFormat, ACStringUnderAShortPrecisionPrintsItsTextCut)
{
    const CString release(L"AutoCAD 2010");
    const CString one(L"Z");
    struct Case {
        const wchar_t* format;
        const CString& argument;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"[%.0s]", release, L"[]"},     {L"[%.1s]", release, L"[A]"},     {L"[%.2s]", release, L"[Au]"},
        {L"[%3.1s]", release, L"[  A]"}, {L"[%-3.1s]", release, L"[A  ]"}, {L"[%.1s]", one, L"[Z]"},
        {L"[%.0s]", one, L"[]"},
    };
    for (const Case& c : cases) {
        CString out;
        out.Format(c.format, c.argument);
        EXPECT_EQ(CString(c.expected), out) << standin::narrow(c.format);
    }
    // A plain wide string under the same precisions.
    CString plain;
    plain.Format(L"[%.1s][%.0s]", L"xyz", L"xyz");
    EXPECT_EQ(CString(L"[x][]"), plain);
}

TEST(CStringFormat, NarrowTextIsReadAsUtf8)
{
    CString out;
    out.Format(L"%S|%hs|%.2S", "Caf\xc3\xa9", "\xe2\x82\xac", "ab\xc3\xa9");
    EXPECT_EQ(CString(L"Caf\u00e9|\u20ac|ab"), out);
    EXPECT_EQ(CString(L"Caf\u00e9"), CString("Caf\xc3\xa9"));
    // A byte that is not UTF-8 is kept as itself, to be encoded back unchanged.
    EXPECT_EQ(CString(L"\xdce9"), CString("\xe9"));
}

TEST(CStringFormat, FormatAndAppendFormat)
{
    CString s;
    s.Format(L"%d-%s", 5, L"five");
    EXPECT_EQ(CString(L"5-five"), s);
    s.AppendFormat(L"/%S", "more");
    EXPECT_EQ(CString(L"5-five/more"), s);
    s.Format(L"%s", (LPCTSTR)s);  // formatting from its own text
    EXPECT_EQ(CString(L"5-five/more"), s);
}

}  // namespace
