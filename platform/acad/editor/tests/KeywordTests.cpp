// Keyword prompts: abbreviations, explicit abbreviations, global keywords,
// empty answers, wrong answers and cancel.
#include "accmd.h"
#include "acedads.h"
#include "acutads.h"
#include "rxregsvc.h"

#include "EditorTest.h"

namespace {

using KeywordTest = EditorTest;

struct KeywordCase {
    const wchar_t* list;
    const wchar_t* answer;
    const wchar_t* keyword;  // nullptr: not in the list
};

TEST_F(KeywordTest, AnswersAreMatchedAsTheHostMatchesThem)
{
    const KeywordCase cases[] = {
        {L"Yes No", L"y", L"Yes"},
        {L"Yes No", L"YES", L"Yes"},
        {L"Yes No", L"ye", L"Yes"},
        {L"Yes No", L"n", L"No"},
        {L"Yes No", L"yess", nullptr},
        {L"LType eXit", L"lt", L"LType"},
        {L"LType eXit", L"ltyp", L"LType"},
        {L"LType eXit", L"l", nullptr},
        {L"LType eXit", L"x", L"eXit"},
        {L"LType eXit", L"EXIT", L"eXit"},
        {L"LType eXit", L"ex", nullptr},
        {L"LTYPE,LT Width", L"lt", L"LTYPE"},
        {L"LTYPE,LT Width", L"LTY", L"LTYPE"},
        {L"LTYPE,LT Width", L"w", L"Width"},
        {L"LTYPE Width", L"lt", nullptr},
        {L"Ja Nein _ Yes No", L"j", L"Yes"},
        {L"Ja Nein _ Yes No", L"nein", L"No"},
        {L"Ja Nein _ Yes No", L"_no", L"No"},
        {L"Line  Arc Circle", L" arc ", L"Arc"},
        {L"Line Arc Circle", L"_circle", L"Circle"},
    };
    for (const KeywordCase& c : cases) {
        standin::ScriptedUser answers;
        standin::ScopedUser scoped(answers);
        answers.type(c.answer);
        if (c.keyword == nullptr)
            answers.escape();
        ASSERT_EQ(acedInitGet(0, c.list), RTNORM);
        ACHAR result[132] = {};
        const int status = acedGetKword(L"Choose: ", result);
        if (c.keyword != nullptr) {
            EXPECT_EQ(status, RTNORM) << c.list << " / " << c.answer;
            EXPECT_STREQ(result, c.keyword) << c.list << " / " << c.answer;
        } else {
            EXPECT_EQ(status, RTCAN) << c.list << " / " << c.answer;
            EXPECT_NE(answers.output().find(L"Invalid option keyword."), std::wstring::npos) << c.answer;
        }
    }
}

TEST_F(KeywordTest, AWrongAnswerIsRefusedAndAskedAgain)
{
    user().type(L"maybe").type(L"n");
    acedInitGet(0, L"Yes No");
    ACHAR result[132] = {};
    EXPECT_EQ(acedGetKword(L"Sure? [Yes/No] <Yes>: ", result), RTNORM);
    EXPECT_STREQ(result, L"No");
    EXPECT_EQ(user().output(), L"Invalid option keyword.\n");
    ASSERT_EQ(user().prompts().size(), 2u);
    EXPECT_EQ(user().prompts()[0], L"Sure? [Yes/No] <Yes>: ");
    EXPECT_EQ(user().prompts()[1], L"Sure? [Yes/No] <Yes>: ");
}

TEST_F(KeywordTest, OtherInputIsReturnedAsTypedWhenAllowed)
{
    user().type(L"  Maybe later ").type(L"n");
    acedInitGet(RSG_OTHER, L"Yes No");
    ACHAR result[132] = {};
    EXPECT_EQ(acedGetKword(L"Sure? ", result), RTNORM);
    EXPECT_STREQ(result, L"Maybe later");
    EXPECT_EQ(user().output(), L"");
    // A keyword still comes back as spelled in the list.
    acedInitGet(RSG_OTHER, L"Yes No");
    EXPECT_EQ(acedGetKword(L"Sure? ", result), RTNORM);
    EXPECT_STREQ(result, L"No");
}

TEST_F(KeywordTest, AKeywordListTheHostRefusesFailsTheInputControl)
{
    for (const wchar_t* list : {L"LTYPE,", L",LT", L"LTYPE,XY", L"Ja Nein _ Yes", L"A _ B _ C", L"Ja _ Yes No"}) {
        EXPECT_EQ(acedInitGet(0, list), RTERROR) << standin::narrow(list);
        // No input control was set: the keyword prompt has no list to read.
        ACHAR result[132] = {};
        EXPECT_EQ(acedGetKword(L"? ", result), RTERROR) << standin::narrow(list);
    }
    EXPECT_TRUE(user().prompts().empty());
    for (const wchar_t* list : {L"LTYPE,LT", L"LType Color", L"Ja Nein _ Yes No", L""})
        EXPECT_EQ(acedInitGet(0, list), RTNORM) << standin::narrow(list);
}

TEST_F(KeywordTest, EmptyAnswerGivesNoneUnlessInputIsRequired)
{
    ACHAR result[132] = {L'x'};
    user().type(L"");
    acedInitGet(0, L"Yes No");
    EXPECT_EQ(acedGetKword(L"? ", result), RTNONE);
    EXPECT_STREQ(result, L"");

    user().type(L"").type(L"yes");
    acedInitGet(RSG_NONULL, L"Yes No");
    EXPECT_EQ(acedGetKword(L"? ", result), RTNORM);
    EXPECT_STREQ(result, L"Yes");
}

TEST_F(KeywordTest, CancelAndInputControlForOneCallOnly)
{
    ACHAR result[132] = {};
    user().escape();
    acedInitGet(0, L"Yes No");
    EXPECT_EQ(acedGetKword(L"? ", result), RTCAN);
    // The keyword list was used up by the call before.
    user().type(L"yes");
    EXPECT_EQ(acedGetKword(L"? ", result), RTERROR);
}

void askShape()
{
    acedInitGet(0, L"Line Arc Circle");
    ACHAR answer[132] = {};
    const int status = acedGetKword(L"Shape: ", answer);
    acutPrintf(L"%d %ls\n", status, answer);
}

TEST_F(KeywordTest, CommandArgumentsAnswerTheCommandsPromptsFirst)
{
    ASSERT_EQ(acedRegCmds->addCommand(L"KvKeywordTest", L"_KvShape", L"KvShape", ACRX_CMD_MODAL, &askShape), Acad::eOk);
    EXPECT_EQ(acedCommand(RTSTR, L"_KvShape", RTSTR, L"arc", RTNONE), RTNORM);
    EXPECT_EQ(standin::editor::commandLineText(), L"5100 Arc\n");
    EXPECT_TRUE(user().prompts().empty());
    // What the list does not answer is asked of the user.
    user().type(L"c");
    EXPECT_EQ(acedCommand(RTSTR, L"KvShape", 0), RTNORM);
    EXPECT_EQ(user().prompts(), std::vector<std::wstring>{L"Shape: "});
    // An argument left over starts the next command.
    standin::editor::clearCommandLine();
    EXPECT_EQ(acedCommand(RTSTR, L"KvShape", RTSTR, L"l", RTSTR, L"_KvShape", RTSTR, L"_circle", RTNONE), RTNORM);
    EXPECT_EQ(standin::editor::commandLineText(), L"5100 Line\n5100 Circle\n");
    EXPECT_EQ(acedRegCmds->removeGroup(L"KvKeywordTest"), Acad::eOk);
}

}  // namespace
