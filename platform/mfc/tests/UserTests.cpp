// The Users: the line protocol of scripts and terminals, and the scripted
// user of tests.
#include "Dialogs.h"

#include <afxdlgs.h>
#include <standin/LineUser.h>

#include <sstream>

namespace {

class LineProtocol : public ::testing::Test {
protected:
    void run(const std::string& input, std::function<void()> work)
    {
        in.str(input);
        standin::LineUser line(in, out);
        standin::ScopedUser scope(line);
        work();
    }
    std::istringstream in;
    std::ostringstream out;
};

TEST_F(LineProtocol, PromptsAreLinesOfTheirOwnAndAnswersAreLines)
{
    std::optional<std::wstring> a, b, c, d;
    run("first answer\r\n\n*Cancel*\n", [&] {
        standin::currentUser().show(L"Some output");
        a = standin::currentUser().commandLine(L"\nEnter a name: ");
        b = standin::currentUser().commandLine(L"Empty: ");
        c = standin::currentUser().commandLine(L"Cancelled: ");
        d = standin::currentUser().commandLine(L"At the end: ");
    });
    EXPECT_EQ(L"first answer", a.value_or(L"?"));
    EXPECT_EQ(L"", b.value_or(L"?"));
    EXPECT_FALSE(c.has_value());
    EXPECT_FALSE(d.has_value());
    EXPECT_EQ("Some output\nEnter a name: \nEmpty: \nCancelled: \nAt the end: \n", out.str());
}

TEST_F(LineProtocol, AByteOrderMarkStartingTheInputIsNoPartOfTheFirstLine)
{
    std::optional<std::wstring> a, b;
    run("\xEF\xBB\xBF_Kolvane\n\xEF\xBB\xBFsecond\n", [&] {
        a = standin::currentUser().commandLine(L"Command: ");
        b = standin::currentUser().commandLine(L"Command: ");
    });
    EXPECT_EQ(L"_Kolvane", a.value_or(L"?"));
    EXPECT_EQ(L"\uFEFFsecond", b.value_or(L"?")) << "only the input's first bytes are a mark";
}

TEST_F(LineProtocol, TextIsShownExactlyAndInUtf8)
{
    run("", [&] { standin::currentUser().show(L"Caf\u00e9 \u20ac\nno newline"); });
    EXPECT_EQ("Caf\xc3\xa9 \xe2\x82\xac\nno newline", out.str());
}

TEST_F(LineProtocol, FileDialogs)
{
    INT_PTR first = 0, second = 0;
    CString path;
    run("/models/chair\n\n", [&] {
        CFileDialog dlg(TRUE, L"skp", NULL, 6, L"SKetchUp SKP Files (*.skp)|*.skp||");
        first = dlg.DoModal();
        path = dlg.GetPathName();
        CFileDialog again(TRUE, L"skp");
        second = again.DoModal();
    });
    EXPECT_EQ(IDOK, first);
    EXPECT_EQ(CString(L"/models/chair.skp"), path);
    EXPECT_EQ(IDCANCEL, second);  // an empty line cancels
    EXPECT_EQ("Open (SKetchUp SKP Files (*.skp)|*.skp):\nOpen:\n", out.str());
}

TEST_F(LineProtocol, ADialogIsWorkedControlByControl)
{
    OptionsDialog dlg;
    dlg.storedMode = 0;
    dlg.storedWarning = TRUE;
    INT_PTR result = 0;
    run("three\nmaybe\nno\nok\n", [&] { result = dlg.DoModal(); });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(2, dlg.m_mode);
    EXPECT_EQ(FALSE, dlg.m_warning);
    EXPECT_EQ("Sample Options\n"
              "Mode [One/Two/Three] <One>:\n"
              "Show the warning [Yes/No] <Yes>:\n"
              "\"maybe\" is not one of Yes/No.\n"
              "Show the warning [Yes/No] <Yes>:\n"
              "Press [OK/Cancel] <OK>:\n",
              out.str());
}

TEST_F(LineProtocol, EmptyLinesKeepValuesAndPressTheDefaultButton)
{
    OptionsDialog dlg;
    dlg.storedMode = 1;
    INT_PTR result = 0;
    run("\n\n\n", [&] { result = dlg.DoModal(); });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(1, dlg.m_mode);
    EXPECT_EQ(TRUE, dlg.m_warning);
}

TEST_F(LineProtocol, CancelOrTheEndOfInputCancelsADialog)
{
    for (const char* input : {"*Cancel*\n", "Two\n", "Two\nyes\ncancel\n", "Two\n\nbogus\n"}) {
        OptionsDialog dlg;
        INT_PTR result = 0;
        in.clear();
        out.str("");
        run(input, [&] { result = dlg.DoModal(); });
        EXPECT_EQ(IDCANCEL, result) << input;
        EXPECT_FALSE(dlg.written) << input;
    }
}

TEST_F(LineProtocol, MessageBoxes)
{
    int ok = 0, yesNo = 0, retry = 0, cancelled = 0;
    run("no\n\n*Cancel*\n", [&] {
        ok = MessageBoxW(NULL, L"Two\nlines", L"Caption", MB_OK | MB_ICONWARNING);
        yesNo = MessageBoxW(NULL, L"Sure?", L"Ask", MB_YESNO);
        retry = MessageBoxW(NULL, L"Again?", L"Ask", MB_RETRYCANCEL | MB_DEFBUTTON2);
        cancelled = MessageBoxW(NULL, L"Go?", L"Ask", MB_OKCANCEL);
    });
    EXPECT_EQ(IDOK, ok);
    EXPECT_EQ(IDNO, yesNo);
    EXPECT_EQ(IDCANCEL, retry);  // the default, second button
    EXPECT_EQ(IDCANCEL, cancelled);
    EXPECT_EQ("[Caption] Two\nlines\n"
              "[Ask] Sure?\n[Yes/No] <Yes>:\n"
              "[Ask] Again?\n[Retry/Cancel] <Cancel>:\n"
              "[Ask] Go?\n[OK/Cancel] <OK>:\n",
              out.str());
}

TEST(ScriptedUser, AnswersAreTakenInOrderByKind)
{
    standin::ScriptedUser user;
    standin::ScopedUser scope(user);
    user.type(L"alpha").escape().chooseFile(L"/a/b.skp").answerBox(IDYES);
    EXPECT_EQ(L"alpha", standin::currentUser().commandLine(L"Name: ").value_or(L"?"));
    // An escape cancels a question of any kind.
    EXPECT_FALSE(standin::currentUser().commandLine(L"Other: ").has_value());
    // An OK-only box takes no answer.
    EXPECT_EQ(IDOK, MessageBoxW(NULL, L"Notice", L"C", MB_OK));
    standin::FileRequest request;
    EXPECT_EQ(L"/a/b.skp", standin::currentUser().chooseFile(request).value_or(L"?"));
    EXPECT_EQ(IDYES, MessageBoxW(NULL, L"Really?", L"C", MB_YESNO));
    EXPECT_EQ(0u, user.remaining());
    EXPECT_FALSE(standin::currentUser().commandLine(L"No answers left: ").has_value());
    EXPECT_EQ((std::vector<std::wstring>{L"Name: ", L"Other: ", L"No answers left: "}), user.prompts());
    EXPECT_TRUE(user.complaints().empty());
    ASSERT_EQ(2u, user.boxes().size());
    EXPECT_EQ(IDYES, user.boxes()[1].answer);
}

TEST(ScriptedUser, AQuestionOfAnotherKindIsCancelledAndComplainedAbout)
{
    standin::ScriptedUser user;
    standin::ScopedUser scope(user);
    user.chooseFile(L"/x.skp").type(L"late");
    EXPECT_FALSE(standin::currentUser().commandLine(L"Name: ").has_value());
    ASSERT_EQ(1u, user.complaints().size());
    EXPECT_NE(std::wstring::npos, user.complaints()[0].find(L"Name: "));
    EXPECT_EQ(2u, user.remaining());  // the answer stays queued
    OptionsDialog dlg;
    EXPECT_EQ(IDCANCEL, dlg.DoModal());  // a dialog against a file answer: cancelled
    EXPECT_EQ(2u, user.complaints().size());
    standin::FileRequest request;
    EXPECT_EQ(L"/x.skp", standin::currentUser().chooseFile(request).value_or(L"?"));
}

TEST(ScriptedUser, KeepsWhatWasShown)
{
    standin::ScriptedUser user;
    standin::ScopedUser scope(user);
    standin::currentUser().show(L"one ");
    standin::currentUser().show(L"two\n");
    EXPECT_EQ(L"one two\n", user.output());
    user.clearOutput();
    EXPECT_TRUE(user.output().empty());
}

TEST(CurrentUser, ScopedUsersNestAndRestore)
{
    standin::ScriptedUser outer, inner;
    {
        standin::ScopedUser a(outer);
        EXPECT_EQ(&outer, &standin::currentUser());
        {
            standin::ScopedUser b(inner);
            EXPECT_EQ(&inner, &standin::currentUser());
        }
        EXPECT_EQ(&outer, &standin::currentUser());
    }
    EXPECT_NE(&outer, &standin::currentUser());
    // The built-in user cancels.
    EXPECT_FALSE(standin::currentUser().commandLine(L"Anything: ").has_value());
}

}  // namespace
