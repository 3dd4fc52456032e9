// "_menuload" / "_menuunload" and acedMenuCmd over the host's menu bar.
#include "acedads.h"

#include "EditorTest.h"

namespace {

const char* const kMenu = "//\n// A menu of the tests\n//\n"
                          "***MENUGROUP=Kolvane\n\n"
                          "***POP1\n**KOLVANE\n"
                          "ID_KvPop       [&Kolvane]\n"
                          "ID_KvImport    [&Import SketchUp Model...]^C^C_Kolvane\n"
                          "ID_KvSep1      [--]\n"
                          "ID_KvHelp      [&Help]^C^C_KolvaneHelp\n"
                          "\n***POP2\n[&Second]\n[One]^C^COne\n"
                          "\n***HELPSTRINGS\nID_KVIMPORT    [Imports a model]\n";

const std::vector<std::wstring> kHostBar = {L"File", L"Edit",      L"View",   L"Insert",     L"Format", L"Tools",
                                            L"Draw", L"Dimension", L"Modify", L"Parametric", L"Window", L"Help"};

class MenuTest : public EditorTest {
protected:
    std::wstring loadTestMenu()
    {
        const std::wstring menu = standin::widen(file("Kolvane.mnu", kMenu));
        EXPECT_EQ(acedCommand(RTSTR, L"_menuload", RTSTR, menu.c_str(), RTNONE), RTNORM);
        return menu;
    }
};

TEST_F(MenuTest, MenuLoadReadsTheGroupAndItsPopUpMenus)
{
    const std::wstring menu = loadTestMenu();
    const auto groups = standin::editor::loadedMenuGroups();
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].name, L"Kolvane");
    EXPECT_EQ(groups[0].file, menu);
    ASSERT_EQ(groups[0].popups.size(), 2u);
    const auto& pop1 = groups[0].popups[0];
    EXPECT_EQ(pop1.section, L"POP1");
    EXPECT_EQ(pop1.aliases, std::vector<std::wstring>{L"KOLVANE"});
    EXPECT_EQ(pop1.title, L"&Kolvane");
    ASSERT_EQ(pop1.items.size(), 3u);
    EXPECT_EQ(pop1.items[0].id, L"ID_KvImport");
    EXPECT_EQ(pop1.items[0].label, L"&Import SketchUp Model...");
    EXPECT_EQ(pop1.items[0].macro, L"^C^C_Kolvane");
    EXPECT_EQ(pop1.items[1].label, L"--");
    EXPECT_EQ(groups[0].popups[1].title, L"&Second");
    // The bar is the host's own until a menu is inserted.
    EXPECT_EQ(standin::editor::menuBarTitles(), kHostBar);
}

TEST_F(MenuTest, InsertingPutsThePopUpInFrontOfTheSlotOnce)
{
    loadTestMenu();
    EXPECT_EQ(acedMenuCmd(L"P10=+Kolvane.pop1"), RTNORM);
    auto titles = standin::editor::menuBarTitles();
    ASSERT_EQ(titles.size(), 13u);
    EXPECT_EQ(titles[9], L"Kolvane");
    EXPECT_EQ(titles[10], L"Parametric");
    // Inserted again (by alias): still once.
    EXPECT_EQ(acedMenuCmd(L"P3=+KOLVANE.Kolvane"), RTNORM);
    EXPECT_EQ(standin::editor::menuBarTitles().size(), 13u);
    EXPECT_EQ(standin::editor::menuBar()[9].group, L"Kolvane");
    EXPECT_EQ(standin::editor::menuBar()[9].menu, L"POP1");
    // Beyond the end of the bar: at the end.
    EXPECT_EQ(acedMenuCmd(L"P16=+Kolvane.POP2"), RTNORM);
    EXPECT_EQ(standin::editor::menuBarTitles().back(), L"Second");
    // Taken out again.
    EXPECT_EQ(acedMenuCmd(L"P10=-"), RTNORM);
    titles = standin::editor::menuBarTitles();
    EXPECT_EQ(titles[9], L"Parametric");
    EXPECT_EQ(titles.size(), 13u);
}

TEST_F(MenuTest, BadMenuCommandsAreRefused)
{
    loadTestMenu();
    for (const wchar_t* command :
         {L"P10=+Nothing.pop1", L"P10=+Kolvane.pop9", L"P0=+Kolvane.pop1", L"P17=+Kolvane.pop1", L"P10+Kolvane.pop1",
          L"Q1=+Kolvane.pop1", L"P10=+Kolvane", L"P14=-", L""}) {
        EXPECT_EQ(acedMenuCmd(command), RTERROR) << command;
    }
    EXPECT_EQ(acedMenuCmd(nullptr), RTERROR);
    EXPECT_EQ(standin::editor::menuBarTitles(), kHostBar);
    // Swapping replaces the menu of the slot.
    EXPECT_EQ(acedMenuCmd(L"P12=Kolvane.pop2"), RTNORM);
    EXPECT_EQ(standin::editor::menuBarTitles().back(), L"Second");
}

TEST_F(MenuTest, MissingUnreadableOrRepeatedMenuFilesFail)
{
    const std::wstring missing = standin::widen(path("none.mnu"));
    EXPECT_EQ(acedCommand(RTSTR, L"_menuload", RTSTR, missing.c_str(), RTNONE), RTERROR);
    EXPECT_NE(standin::editor::commandLineText().find(L"Menu file \"" + missing + L"\" not found."),
              std::wstring::npos);

    const std::wstring notMenu = standin::widen(file("notes.txt", "just some words\n"));
    EXPECT_EQ(acedCommand(RTSTR, L"_menuload", RTSTR, notMenu.c_str(), RTNONE), RTERROR);
    EXPECT_NE(standin::editor::commandLineText().find(L"Unable to load menu file"), std::wstring::npos);
    EXPECT_TRUE(standin::editor::loadedMenuGroups().empty());

    loadTestMenu();
    const std::wstring again = standin::widen(path("Kolvane"));  // ".mnu" is added
    EXPECT_EQ(acedCommand(RTSTR, L"_MENULOAD", RTSTR, again.c_str(), RTNONE), RTERROR);
    EXPECT_NE(standin::editor::commandLineText().find(L"Menu group \"Kolvane\" is already loaded."),
              std::wstring::npos);
    EXPECT_EQ(standin::editor::loadedMenuGroups().size(), 1u);
}

TEST_F(MenuTest, ThePromptIsAskedOfTheUserWhenNotAnswered)
{
    user().type(standin::widen(file("Kolvane.mnu", kMenu)));
    EXPECT_EQ(acedCommand(RTSTR, L"_menuload", RTNONE), RTNORM);
    EXPECT_EQ(user().prompts().size(), 1u);
    EXPECT_EQ(standin::editor::loadedMenuGroups().size(), 1u);
    user().escape();
    EXPECT_EQ(acedCommand(RTSTR, L"_menuload", RTNONE), RTCAN);
}

TEST_F(MenuTest, UnloadingTakesTheGroupAndItsMenusAway)
{
    loadTestMenu();
    ASSERT_EQ(acedMenuCmd(L"P10=+Kolvane.pop1"), RTNORM);
    EXPECT_EQ(acedCommand(RTSTR, L"_menuunload", RTSTR, L"kolvane", RTNONE), RTNORM);
    EXPECT_TRUE(standin::editor::loadedMenuGroups().empty());
    EXPECT_EQ(standin::editor::menuBarTitles(), kHostBar);
    EXPECT_EQ(acedCommand(RTSTR, L"_menuunload", RTSTR, L"kolvane", RTNONE), RTERROR);
}

}  // namespace
