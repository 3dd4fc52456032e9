// Keyword prompts, the search in a list of texts, erasing and highlighting.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "EditorTest.h"
#include "Prompts.h"

#include "aced.h"
#include "standin/AcDbStandin.h"

namespace {

class Prompts : public EditorTest {};

// The user types each text in turn, or presses Escape when there is none.
void Answer(standin::ScriptedUser& user, const std::vector<std::wstring>& typed)
{
    if (typed.empty())
        user.escape();
    for (const std::wstring& text : typed)
        user.type(text);
}

// ---- GetYesNo -------------------------------------------------------------

struct YesNoCase {
    const char* name;
    BOOL answerBefore;
    std::vector<std::wstring> typed;  // empty: the user presses Escape
    const wchar_t* shownPrompt;
    int result;
    BOOL answerAfter;
};

TEST_F(Prompts, GetYesNoShowsTheDefaultAndTakesTheAnswer)
{
    const YesNoCase cases[] = {
        {"yes over yes", 1, {L"Yes"}, L"Purge [Yes/No] <Yes>: ", 1, 1},
        {"no over yes", 1, {L"No"}, L"Purge [Yes/No] <Yes>: ", 1, 0},
        {"yes over no", 0, {L"Yes"}, L"Purge [Yes/No] <No>: ", 1, 1},
        {"abbreviation", 1, {L"n"}, L"Purge [Yes/No] <Yes>: ", 1, 0},
        {"empty keeps yes", 1, {L""}, L"Purge [Yes/No] <Yes>: ", 1, 1},
        {"empty keeps no", 0, {L""}, L"Purge [Yes/No] <No>: ", 1, 0},
        {"any non-zero shows yes and stays", 2, {L""}, L"Purge [Yes/No] <Yes>: ", 1, 2},
        {"cancel keeps yes", 1, {}, L"Purge [Yes/No] <Yes>: ", 0, 1},
        {"cancel keeps no", 0, {}, L"Purge [Yes/No] <No>: ", 0, 0},
        {"cancel keeps any value", 2, {}, L"Purge [Yes/No] <Yes>: ", 0, 2},
    };
    for (const YesNoCase& c : cases) {
        SCOPED_TRACE(c.name);
        standin::ScriptedUser user;
        standin::ScopedUser scoped(user);
        Answer(user, c.typed);

        BOOL answer = c.answerBefore;
        EXPECT_EQ(GetYesNo(L"Purge", answer), c.result);
        EXPECT_EQ(answer, c.answerAfter);
        ASSERT_EQ(user.prompts().size(), 1u);
        EXPECT_EQ(user.prompts()[0], c.shownPrompt);
        EXPECT_EQ(user.remaining(), 0u);
    }
}

TEST_F(Prompts, GetYesNoAsksAgainAfterAWordThatIsNoAnswer)
{
    user().type(L"Maybe").type(L"Y");
    BOOL answer = 0;
    EXPECT_EQ(GetYesNo(L"Purge", answer), 1);
    EXPECT_EQ(answer, 1);
}

// ---- GetKeyword -----------------------------------------------------------

struct KeywordCase {
    const char* name;
    const wchar_t* keywords;
    const wchar_t* defaultKeyword;
    std::vector<std::wstring> typed;  // empty: the user presses Escape
    const wchar_t* shownPrompt;
    int result;
    const wchar_t* answerAfter;
};

TEST_F(Prompts, GetKeywordShowsTheKeywordsAndTakesTheAnswer)
{
    const KeywordCase cases[] = {
        {"keyword with default",
         L"Line Arc Circle",
         L"Arc",
         {L"Circle"},
         L"Pick [Line/Arc/Circle] <Arc>: ",
         1,
         L"Circle"},
        {"keyword without default", L"Line Arc Circle", L"", {L"Line"}, L"Pick [Line/Arc/Circle] : ", 1, L"Line"},
        {"abbreviation gives the whole keyword",
         L"Line Arc Circle",
         L"",
         {L"c"},
         L"Pick [Line/Arc/Circle] : ",
         1,
         L"Circle"},
        {"empty answer takes the default",
         L"Line Arc Circle",
         L"Arc",
         {L""},
         L"Pick [Line/Arc/Circle] <Arc>: ",
         1,
         L"Arc"},
        {"empty answer without default fails",
         L"Line Arc Circle",
         L"",
         {L""},
         L"Pick [Line/Arc/Circle] : ",
         0,
         L"unchanged"},
        {"default outside the list", L"Line Arc", L"Spline", {L""}, L"Pick [Line/Arc] <Spline>: ", 1, L"Spline"},
        {"two blanks give two slashes", L"Line  Arc", L"", {L"Arc"}, L"Pick [Line//Arc] : ", 1, L"Arc"},
        {"cancel", L"Line Arc Circle", L"Arc", {}, L"Pick [Line/Arc/Circle] <Arc>: ", 0, L"unchanged"},
    };
    for (const KeywordCase& c : cases) {
        SCOPED_TRACE(c.name);
        standin::ScriptedUser user;
        standin::ScopedUser scoped(user);
        Answer(user, c.typed);

        CString answer(L"unchanged");
        EXPECT_EQ(GetKeyword(L"Pick", c.keywords, answer, c.defaultKeyword), c.result);
        EXPECT_EQ(std::wstring((LPCTSTR)answer), c.answerAfter);
        ASSERT_EQ(user.prompts().size(), 1u);
        EXPECT_EQ(user.prompts()[0], c.shownPrompt);
        EXPECT_EQ(user.remaining(), 0u);
    }
}

TEST_F(Prompts, GetKeywordTakesTheLongestKeywordTheHostReturns)
{
    const std::wstring longest(131, L'K');
    user().type(longest);
    CString answer;
    EXPECT_EQ(GetKeyword(L"Pick", CString((L"Short " + longest).c_str()), answer, L""), 1);
    EXPECT_EQ(std::wstring((LPCTSTR)answer), longest);
}

TEST_F(Prompts, GetKeywordRefusesAKeywordLongerThanTheAnswerBufferWithoutAsking)
{
    const std::wstring tooLong(132, L'K');
    user().type(tooLong);
    CString answer(L"unchanged");
    EXPECT_EQ(GetKeyword(L"Pick", CString((L"Short " + tooLong).c_str()), answer, L""), 0);
    EXPECT_EQ(std::wstring((LPCTSTR)answer), L"unchanged");
    EXPECT_TRUE(user().prompts().empty());
}

TEST_F(Prompts, GetKeywordFailsWithoutAskingWhenTheHostRefusesTheKeywordList)
{
    user().type(L"Yes");
    CString answer(L"unchanged");
    EXPECT_EQ(GetKeyword(L"Pick", L"Ja Nein _ Yes", answer, L"Ja"), 0);  // one global word short
    EXPECT_EQ(std::wstring((LPCTSTR)answer), L"unchanged");
    EXPECT_TRUE(user().prompts().empty());
    EXPECT_EQ(user().remaining(), 1u);
}

// ---- FindInStringArray ----------------------------------------------------

TEST_F(Prompts, FindInStringArrayGivesTheFirstExactMatch)
{
    CStringArray names;
    names.Add(L"AcDbFace");
    names.Add(L"AcDbLine");
    names.Add(L"AcDbFace");
    names.Add(L"");

    const struct {
        const wchar_t* text;
        int index;
    } cases[] = {
        {L"AcDbFace", 0},  {L"AcDbLine", 1}, {L"", 3},           {L"acdbface", -1},
        {L"ACDBLINE", -1}, {L"AcDbFac", -1}, {L"AcDbFace ", -1}, {L"AcDbPoint", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindInStringArray(names, c.text), c.index) << std::wstring(c.text).size();

    const CStringArray none;
    EXPECT_EQ(FindInStringArray(none, L"AcDbFace"), -1);
    EXPECT_EQ(FindInStringArray(none, L""), -1);
}

// ---- Erasing --------------------------------------------------------------

TEST_F(Prompts, EraseEntityErasesTheEntity)
{
    const AcDbObjectId kept = addLine();
    const AcDbObjectId erased = addLine(0, 5, 10, 5);

    EXPECT_EQ(EraseEntity(erased), 1);
    EXPECT_TRUE(erased.isErased());
    EXPECT_FALSE(kept.isErased());
    EXPECT_EQ(standin::modelSpaceEntityCount(db()), 1);
}

TEST_F(Prompts, EraseEntityFailsForWhatTheHostCannotErase)
{
    EXPECT_EQ(EraseEntity(AcDbObjectId()), 0);

    const AcDbObjectId open = addLine();
    AcDbEntity* entity = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(entity, open, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(EraseEntity(open), 0);
    entity->close();
    EXPECT_FALSE(open.isErased());
}

TEST_F(Prompts, EraseEntitiesErasesEachAndGoesOnPastFailures)
{
    const AcDbObjectId first = addLine();
    const AcDbObjectId second = addFace();
    const AcDbObjectId third = addPoint(1, 2, 3);

    AcArray<AcDbObjectId> ids;
    ids.append(first);
    ids.append(AcDbObjectId());
    ids.append(second);
    ids.append(third);
    EXPECT_EQ(EraseEntities(ids), 1);
    EXPECT_TRUE(first.isErased());
    EXPECT_TRUE(second.isErased());
    EXPECT_TRUE(third.isErased());
    EXPECT_EQ(standin::modelSpaceEntityCount(db()), 0);
}

TEST_F(Prompts, AnEntityAlreadyErasedStaysErased)
{
    const AcDbObjectId line = addLine();
    const AcDbObjectId face = addFace();
    EXPECT_EQ(EraseEntity(line), 1);
    EXPECT_EQ(EraseEntity(line), 1);  // counts as erased, not brought back
    EXPECT_TRUE(line.isErased());

    AcArray<AcDbObjectId> twice;
    twice.append(face);
    twice.append(line);
    twice.append(face);
    EXPECT_EQ(EraseEntities(twice), 1);
    EXPECT_TRUE(face.isErased());
    EXPECT_TRUE(line.isErased());
    EXPECT_EQ(standin::modelSpaceEntityCount(db()), 0);
}

TEST_F(Prompts, EraseEntitiesOfAnEmptyListErasesNothing)
{
    addLine();
    EXPECT_EQ(EraseEntities(AcArray<AcDbObjectId>()), 1);
    EXPECT_EQ(standin::modelSpaceEntityCount(db()), 1);
}

// ---- Highlighting ---------------------------------------------------------

TEST_F(Prompts, HighlightEntityHighlightsTheWholeEntity)
{
    const AcDbObjectId line = addLine();
    const AcDbObjectId other = addFace();
    HighlightEntity(line);
    EXPECT_TRUE(standin::isHighlighted(line));
    EXPECT_FALSE(standin::isHighlighted(other));
}

TEST_F(Prompts, HighlightEntityOfAnEntityThatCannotBeOpenedDoesNothing)
{
    const AcDbObjectId line = addLine();
    erase(line);
    HighlightEntity(line);
    HighlightEntity(AcDbObjectId());
    EXPECT_TRUE(standin::highlightedEntities(db()).empty());
}

}  // namespace
