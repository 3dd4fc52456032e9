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

}  // namespace
