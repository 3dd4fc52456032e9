// CString and CStringArray.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

TEST(CString, HoldsOnePointerToItsCharacters)
{
    static_assert(sizeof(CString) == sizeof(void*), "one pointer");
    CString s(L"abc");
    EXPECT_EQ(static_cast<const void*>(static_cast<LPCTSTR>(s)), *reinterpret_cast<void* const*>(&s));
}

TEST(CString, Construction)
{
    EXPECT_EQ(0, CString().GetLength());
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_STREQ(L"", CString().GetString());
    EXPECT_EQ(CString(L"abc"), CString("abc"));
    EXPECT_EQ(CString(L"\u00e9"), CString("\xc3\xa9"));  // UTF-8 widened
    EXPECT_EQ(CString(L"ab"), CString(L"abcdef", 2));
    EXPECT_EQ(CString(L"xxx"), CString(L'x', 3));
    EXPECT_TRUE(CString(static_cast<const wchar_t*>(nullptr)).IsEmpty());
    CString a(L"moved");
    CString b(std::move(a));
    EXPECT_EQ(CString(L"moved"), b);
    EXPECT_TRUE(a.IsEmpty());
    CString c;
    c = b;
    c = c;  // self-assignment keeps the text
    EXPECT_EQ(CString(L"moved"), c);
}

TEST(CString, BufferAccess)
{
    CString s;
    wchar_t* p = s.GetBuffer(10);
    std::wcscpy(p, L"hello");
    s.ReleaseBuffer();
    EXPECT_EQ(5, s.GetLength());
    EXPECT_EQ(CString(L"hello"), s);
    p = s.GetBufferSetLength(3);
    EXPECT_EQ(3, s.GetLength());
    EXPECT_EQ(CString(L"hel"), s);
    p = s.GetBuffer(20);
    p[0] = L'H';
    s.ReleaseBuffer(2);
    EXPECT_EQ(CString(L"He"), s);
    // A buffer filled to its end without a NUL keeps its whole length.
    CString t;
    wchar_t* q = t.GetBufferSetLength(4);
    for (int i = 0; i < 4; ++i)
        q[i] = L'z';
    t.ReleaseBuffer();
    EXPECT_EQ(CString(L"zzzz"), t);
}

TEST(CString, CharacterAccess)
{
    CString s(L"abc");
    EXPECT_EQ(L'b', s.GetAt(1));
    EXPECT_EQ(L'c', s[2]);
    EXPECT_EQ(L'c', s[static_cast<size_t>(2)]);
    s.SetAt(0, L'X');
    EXPECT_EQ(CString(L"Xbc"), s);
    EXPECT_TRUE(throwsMfc<CInvalidArgException>([&] { s.GetAt(7); }));
    try {
        s.SetAt(3, L'!');
        FAIL() << "SetAt past the end";
    } catch (CInvalidArgException* e) {
        e->Delete();
    }
}

TEST(CString, Extraction)
{
    CString s(L"abcdef");
    EXPECT_EQ(CString(L"ab"), s.Left(2));
    EXPECT_EQ(CString(L"abcdef"), s.Left(99));
    EXPECT_EQ(CString(L""), s.Left(-1));
    EXPECT_EQ(CString(L"cdef"), s.Mid(2));
    EXPECT_EQ(CString(L"cd"), s.Mid(2, 2));
    EXPECT_EQ(CString(L""), s.Mid(10));
    EXPECT_EQ(CString(L"ab"), s.Mid(-3, 2));
    EXPECT_EQ(CString(L"ef"), s.Right(2));
    EXPECT_EQ(CString(L"abcdef"), s.Right(50));
}

TEST(CString, Searching)
{
    CString s(L"a/b\\c/d");
    EXPECT_EQ(1, s.Find(L'/'));
    EXPECT_EQ(5, s.Find(L'/', 2));
    EXPECT_EQ(-1, s.Find(L'z'));
    EXPECT_EQ(2, s.Find(L"b\\"));
    EXPECT_EQ(-1, s.Find(L"b", 50));
    EXPECT_EQ(5, s.ReverseFind(L'/'));
    EXPECT_EQ(1, s.FindOneOf(L"\\/"));
}

TEST(CString, Editing)
{
    CString s(L"a-b-c");
    EXPECT_EQ(2, s.Replace(L'-', L'+'));
    EXPECT_EQ(CString(L"a+b+c"), s);
    EXPECT_EQ(2, s.Replace(L"+", L"--"));
    EXPECT_EQ(CString(L"a--b--c"), s);
    EXPECT_EQ(2, s.Replace(L"--", L""));
    EXPECT_EQ(CString(L"abc"), s);
    EXPECT_EQ(0, s.Replace(L"", L"x"));
    EXPECT_EQ(1, s.Remove(L'b'));
    EXPECT_EQ(CString(L"ac"), s);
    EXPECT_EQ(3, s.Insert(1, L'b'));
    EXPECT_EQ(6, s.Insert(99, L"def"));
    EXPECT_EQ(CString(L"abcdef"), s);
    EXPECT_EQ(4, s.Delete(1, 2));
    EXPECT_EQ(CString(L"adef"), s);
    EXPECT_EQ(3, s.Delete(3, 10));
    EXPECT_EQ(CString(L"ADE"), s.MakeUpper());
    EXPECT_EQ(CString(L"ade"), s.MakeLower());
}

TEST(CString, Trimming)
{
    CString s(L"  \t text \n ");
    EXPECT_EQ(CString(L"text"), s.Trim());
    CString t(L"xxabxx");
    EXPECT_EQ(CString(L"abxx"), CString(t).TrimLeft(L'x'));
    EXPECT_EQ(CString(L"xxab"), CString(t).TrimRight(L'x'));
    EXPECT_EQ(CString(L"b"), CString(L"xaybyx").Trim(L"xya"));
    EXPECT_EQ(CString(L""), CString(L"   ").Trim());
}

TEST(CString, ComparingAndConcatenating)
{
    CString a(L"abc");
    EXPECT_EQ(0, a.Compare(L"abc"));
    EXPECT_EQ(-1, a.Compare(L"abd"));
    EXPECT_EQ(1, a.Compare(L"ab"));
    EXPECT_EQ(0, a.CompareNoCase(L"ABC"));
    EXPECT_TRUE(a == L"abc");
    EXPECT_TRUE(L"abc" == a);
    EXPECT_TRUE(a != CString(L"abd"));
    EXPECT_TRUE(a < L"abd");
    EXPECT_TRUE(CString(L"b") > a);
    CString b = a + L"-" + CString(L"d") + L'e';
    EXPECT_EQ(CString(L"abc-de"), b);
    EXPECT_EQ(CString(L"xabc"), L"x" + a);
    b += b;  // appending its own text
    EXPECT_EQ(CString(L"abc-deabc-de"), b);
    b += "!";
    EXPECT_EQ(CString(L"abc-deabc-de!"), b);
}

TEST(CString, Tokenize)
{
    CString s(L"  one, two,,three ");
    std::vector<CString> tokens;
    int pos = 0;
    for (CString t = s.Tokenize(L" ,", pos); pos != -1; t = s.Tokenize(L" ,", pos))
        tokens.push_back(t);
    ASSERT_EQ(3u, tokens.size());
    EXPECT_EQ(CString(L"one"), tokens[0]);
    EXPECT_EQ(CString(L"two"), tokens[1]);
    EXPECT_EQ(CString(L"three"), tokens[2]);
    int end = 50;
    EXPECT_TRUE(s.Tokenize(L",", end).IsEmpty());
    EXPECT_EQ(-1, end);
    // Without delimiters the rest comes back once, then the end.
    int whole = 2;
    EXPECT_EQ(CString(L"one, two,,three "), s.Tokenize(L"", whole));
    EXPECT_TRUE(s.Tokenize(L"", whole).IsEmpty());
    EXPECT_EQ(-1, whole);
}

TEST(CString, LoadsStringsOfTheCurrentResources)
{
    CString s;
    EXPECT_TRUE(s.LoadString(1));  // the program carries sample.rc
    EXPECT_EQ(CString(L"Hello\tworld"), s);
    CString fromId(MAKEINTRESOURCE(17));
    EXPECT_EQ(CString(L"Good bye"), fromId);
    EXPECT_FALSE(s.LoadString(999));
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CStringArray, AddAndAccess)
{
    CStringArray a;
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(0, a.Add(L"zero"));
    EXPECT_EQ(1, a.Add(CString(L"one")));
    EXPECT_EQ(2, a.GetSize());
    EXPECT_EQ(2, a.GetCount());
    EXPECT_EQ(1, a.GetUpperBound());
    EXPECT_EQ(CString(L"one"), a.GetAt(1));
    EXPECT_EQ(CString(L"zero"), a[0]);
    a.SetAt(0, L"nought");
    a.ElementAt(1) += L"!";
    a[1] += L"?";
    EXPECT_EQ(CString(L"nought"), a[0]);
    EXPECT_EQ(CString(L"one!?"), a[1]);
}

TEST(CStringArray, InsertRemoveAndGrow)
{
    CStringArray a;
    a.Add(L"a");
    a.Add(L"d");
    a.InsertAt(1, L"b");
    a.InsertAt(2, L"c");
    ASSERT_EQ(4, a.GetSize());
    EXPECT_EQ(CString(L"c"), a[2]);
    a.InsertAt(6, L"g");  // past the end: the array grows
    EXPECT_EQ(7, a.GetSize());
    EXPECT_TRUE(a[5].IsEmpty());
    a.RemoveAt(4, 3);
    EXPECT_EQ(4, a.GetSize());
    a.RemoveAt(0);
    EXPECT_EQ(CString(L"b"), a[0]);
    a.InsertAt(0, a[2]);  // an element of its own
    EXPECT_EQ(CString(L"d"), a[0]);
    a.SetAtGrow(5, L"f");
    EXPECT_EQ(6, a.GetSize());
    a.RemoveAll();
    EXPECT_TRUE(a.IsEmpty());
}

TEST(CStringArray, IndexesOutsideTheArrayThrow)
{
    CStringArray a;
    a.Add(L"only");
    EXPECT_TRUE(throwsMfc<CInvalidArgException>([&] { a.GetAt(1); }));
    EXPECT_TRUE(throwsMfc<CInvalidArgException>([&] { a.GetAt(-1); }));
    EXPECT_TRUE(throwsMfc<CInvalidArgException>([&] { a.RemoveAt(0, 2); }));
    EXPECT_TRUE(throwsMfc<CInvalidArgException>([&] { a.SetAt(3, L"x"); }));
    EXPECT_EQ(1, a.GetSize());
}

}  // namespace
