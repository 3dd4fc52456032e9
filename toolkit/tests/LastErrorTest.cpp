// The two groups' last failure texts and their accessors.
#include <string>

#include <gtest/gtest.h>

#include "ToolkitConversion.h"
#include "ToolkitUtilities.h"

namespace {

std::wstring Utilities()
{
    return std::wstring((LPCTSTR)CToolkitUtilities::GetLastErrorText());
}
std::wstring Conversion()
{
    return std::wstring((LPCTSTR)CToolkitConversion::GetLastErrorText());
}

// Both texts as they were when the test program started, before any test ran.
std::wstring utilitiesAtStart = L"unread";
std::wstring conversionAtStart = L"unread";

class RecordTextsAtStart : public ::testing::Environment {
public:
    void SetUp() override
    {
        utilitiesAtStart = Utilities();
        conversionAtStart = Conversion();
    }
};

::testing::Environment* const recordTextsAtStart = ::testing::AddGlobalTestEnvironment(new RecordTextsAtStart);

class LastErrorText : public ::testing::Test {
protected:
    void TearDown() override
    {
        CToolkitUtilities::SetLastErrorText(CString());
        CToolkitConversion::SetLastErrorText(CString());
    }
};

TEST_F(LastErrorText, BothTextsAreEmptyBeforeAnyFailure)
{
    EXPECT_EQ(utilitiesAtStart, L"");
    EXPECT_EQ(conversionAtStart, L"");
}

TEST_F(LastErrorText, EachGroupKeepsItsOwnText)
{
    CToolkitUtilities::SetLastErrorText(L"Drawing empty");
    EXPECT_EQ(Utilities(), L"Drawing empty");
    EXPECT_EQ(Conversion(), L"");

    CToolkitConversion::SetLastErrorText(L"Invalid mesh");
    EXPECT_EQ(Conversion(), L"Invalid mesh");
    EXPECT_EQ(Utilities(), L"Drawing empty");
}

TEST_F(LastErrorText, ALaterTextReplacesTheEarlierOne)
{
    CToolkitUtilities::SetLastErrorText(L"No entities selected");
    CToolkitUtilities::SetLastErrorText(L"No objects selected");
    EXPECT_EQ(Utilities(), L"No objects selected");
}

TEST_F(LastErrorText, TheStoredTextIsACopy)
{
    CString text(L"Object selection cancelled");
    CToolkitUtilities::SetLastErrorText(text);
    text = L"changed";
    EXPECT_EQ(Utilities(), L"Object selection cancelled");

    CString read = CToolkitUtilities::GetLastErrorText();
    read += L" and more";
    EXPECT_EQ(Utilities(), L"Object selection cancelled");
}

TEST_F(LastErrorText, ATextCanBeCopiedFromOneGroupToTheOther)
{
    CToolkitUtilities::SetLastErrorText(L"Object selection cancelled");
    CToolkitConversion::SetLastErrorText(CToolkitUtilities::GetLastErrorText());
    EXPECT_EQ(Conversion(), L"Object selection cancelled");
    EXPECT_EQ(Utilities(), L"Object selection cancelled");
}

}  // namespace
