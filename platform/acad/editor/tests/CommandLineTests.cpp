// acutPrintf: the wide printf rules, on the command line and to the User.
#include "acutads.h"

#include "EditorTest.h"

namespace {

using CommandLineTest = EditorTest;

TEST_F(CommandLineTest, PrintsWithTheWideRulesToTheCommandLineAndTheUser)
{
    EXPECT_EQ(acutPrintf(L"%s|%S|%d|%c\n", L"wide", "narrow", -5, L'x'), 17);
    EXPECT_EQ(standin::editor::commandLineText(), L"wide|narrow|-5|x\n");
    EXPECT_EQ(user().output(), L"wide|narrow|-5|x\n");
    acutPrintf(L"Created %d 3d faces\n", 2);
    EXPECT_EQ(standin::editor::commandLineText(), L"wide|narrow|-5|x\nCreated 2 3d faces\n");
    standin::editor::clearCommandLine();
    EXPECT_EQ(standin::editor::commandLineText(), L"");
    EXPECT_EQ(acutPrintf(nullptr), -1);
}

TEST_F(CommandLineTest, KeepsABoundedTailOfWhatWasPrinted)
{
    const size_t kept = size_t(1) << 20;
    standin::editor::clearCommandLine();
    // Many short lines, then one line longer than what is kept.
    for (int i = 0; i < 100000; ++i)
        acutPrintf(L"Unknown command \"X%d\".  Press F1 for help.\n", i);
    std::wstring text = standin::editor::commandLineText();
    EXPECT_GE(text.size(), kept);
    EXPECT_LT(text.size(), 2 * kept);
    const std::wstring last = L"Unknown command \"X99999\".  Press F1 for help.\n";
    EXPECT_EQ(text.substr(text.size() - last.size()), last);
    const std::wstring huge(3 * kept, L'y');
    acutPrintf(L"%s!", huge.c_str());
    text = standin::editor::commandLineText();
    EXPECT_EQ(text.size(), kept);
    EXPECT_EQ(text.back(), L'!');
    standin::editor::clearCommandLine();
    user().clearOutput();
}

}  // namespace
