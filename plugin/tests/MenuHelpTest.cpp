// The menu at initialisation, the help command and the about command, with
// the module's files found beside it.
#include <sys/stat.h>

#include <algorithm>

#include "PluginTest.h"
#include "accmd.h"
#include "rxdefs.h"
#include "standin/AcEdStandin.h"
#include "standin/Win32.h"

using namespace plugin_test;

namespace {

const std::wstring kHelpError = L"Error displaying Kolvane for AutoCAD help file.";

// Copies the module, and the files named, from the bin folder into folder.
void CopyModule(const std::string& folder, std::initializer_list<const char*> files)
{
    mkdir(folder.c_str(), 0755);
    WriteFile(folder + "/Kolvane.arx", ReadFile(BinDir() + "/Kolvane.arx"));
    for (const char* file : files)
        WriteFile(folder + "/" + file, ReadFile(BinDir() + "/" + file));
}

standin::rx::LoadedModule LoadedModule(const std::wstring& path)
{
    for (const auto& module : standin::rx::loadedModules())
        if (module.path == path)
            return module;
    return {};
}

const standin::editor::MenuGroup* FindGroup(const std::vector<standin::editor::MenuGroup>& groups)
{
    for (const auto& group : groups)
        if (group.name == L"Kolvane")
            return &group;
    return nullptr;
}

}  // namespace

using MenuHelpTest = PluginTest;

TEST_F(MenuHelpTest, HelpOpensTheHelpFileBesideTheModule)
{
    RunCommand(L"_KolvaneHelp");
    const auto openings = standin::shellOpenings();
    ASSERT_EQ(openings.size(), 1u);
    EXPECT_EQ(openings[0].verb, L"open");
    EXPECT_EQ(openings[0].file, Widen(BinDir() + "/Kolvane.chm"));
    EXPECT_EQ(openings[0].parameters, L"");
    EXPECT_EQ(openings[0].showCommand, SW_SHOW);
    EXPECT_TRUE(user().boxes().empty());
}

TEST_F(MenuHelpTest, TheHelpFileIsACompiledHelpFileWithThePluginsPages)
{
    const std::string chm = ReadFile(BinDir() + "/Kolvane.chm");
    ASSERT_GT(chm.size(), 4u);
    EXPECT_EQ(chm.substr(0, 4), "ITSF");
    for (const char* page : {"/index.htm", "/import.htm", "/helpabout.htm", "/troubleshooting.htm"})
        EXPECT_NE(chm.find(page), std::string::npos) << page;
}

TEST_F(MenuHelpTest, AModuleElsewhereUsesTheFilesOfItsOwnFolder)
{
    const std::string folder = tempDir() + "copy";
    CopyModule(folder, {"Kolvane.mnu", "Kolvane.chm"});
    ASSERT_TRUE(Unload());
    standin::editor::resetMenus();
    ASSERT_TRUE(Load(Widen(folder + "/Kolvane.arx")));

    const auto groups = standin::editor::loadedMenuGroups();
    const auto* group = FindGroup(groups);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->file, Widen(folder + "/Kolvane.mnu"));

    RunCommand(L"_KolvaneHelp");
    const auto openings = standin::shellOpenings();
    ASSERT_EQ(openings.size(), 1u);
    EXPECT_EQ(openings[0].file, Widen(folder + "/Kolvane.chm"));
}

TEST_F(MenuHelpTest, WithoutItsFilesTheModuleStillLoadsAndHelpSaysSo)
{
    const std::string folder = tempDir() + "alone";
    CopyModule(folder, {});
    ASSERT_TRUE(Unload());
    standin::editor::resetMenus();
    ASSERT_TRUE(Load(Widen(folder + "/Kolvane.arx")));
    EXPECT_EQ(FindGroup(standin::editor::loadedMenuGroups()), nullptr);
    EXPECT_NE(acedRegCmds->lookupGlobalCmd(L"_KolvaneHelp"), nullptr);

    RunCommand(L"_KolvaneHelp");
    EXPECT_TRUE(standin::shellOpenings().empty());
    ASSERT_EQ(user().boxes().size(), 1u);
    EXPECT_EQ(user().boxes()[0].text, kHelpError);
    EXPECT_EQ(user().boxes()[0].caption, DefaultCaption());
    EXPECT_EQ(user().boxes()[0].type, static_cast<unsigned>(MB_ICONWARNING));
}

TEST_F(MenuHelpTest, HelpSaysSoWhenNoProgramOpensHelpFiles)
{
    standin::setFileAssociation(L".chm", L"");
    standin::editor::setHostRelease(L'X');
    RunCommand(L"_KolvaneHelp");
    EXPECT_TRUE(standin::shellOpenings().empty());
    ASSERT_EQ(user().boxes().size(), 1u);
    EXPECT_EQ(user().boxes()[0].text, kHelpError);
    EXPECT_EQ(user().boxes()[0].caption, L"Kolvane for AutoCAD ???? version 1.0");
}

TEST_F(MenuHelpTest, AModulePathTooLongForTheBufferIsNotCutShort)
{
    // The module's path does not fit the 260 characters the plug-in asks for.
    // Cut short it would name a folder further up, which here holds a help
    // file and a menu; neither may be used.
    WriteFile(tempDir() + "Kolvane.chm", ReadFile(BinDir() + "/Kolvane.chm"));
    WriteFile(tempDir() + "Kolvane.mnu", ReadFile(BinDir() + "/Kolvane.mnu"));
    const std::wstring longPath = Widen(tempDir() + std::string(300, 'x') + "/Kolvane.arx");
    const standin::rx::LoadedModule loaded = LoadedModule(modulePath());
    HMODULE module = loaded.module;
    ASSERT_NE(module, nullptr);
    standin::setModuleFileName(module, longPath);

    RunCommand(L"_KolvaneHelp");
    EXPECT_TRUE(standin::shellOpenings().empty());
    ASSERT_EQ(user().boxes().size(), 1u);
    EXPECT_EQ(user().boxes()[0].text, kHelpError);

    standin::editor::resetMenus();
    EXPECT_EQ(SendMessage(AcRx::kInitAppMsg, loaded.appId), 0);
    EXPECT_EQ(FindGroup(standin::editor::loadedMenuGroups()), nullptr);
    standin::setModuleFileName(module, L"");
}

TEST_F(MenuHelpTest, AboutShowsTheProductCaption)
{
    standin::editor::setHostRelease(L'D');
    RunCommand(L"_KolvaneAbout");
    ASSERT_EQ(user().boxes().size(), 1u);
    EXPECT_EQ(user().boxes()[0].caption, L"Kolvane for AutoCAD 2010 version 1.0");
    EXPECT_TRUE(standin::shellOpenings().empty());
    EXPECT_EQ(CommandLine(), L"");
}

TEST_F(MenuHelpTest, AModuleAtTheRootOfADriveLooksForItsFilesInThatRoot)
{
    const standin::rx::LoadedModule loaded = LoadedModule(modulePath());
    ASSERT_NE(loaded.module, nullptr);
    standin::setModuleFileName(loaded.module, L"C:\\Kolvane.arx");

    standin::editor::resetMenus();
    standin::editor::clearCommandLine();
    EXPECT_EQ(SendMessage(AcRx::kInitAppMsg, loaded.appId), 0);
    EXPECT_NE(CommandLine().find(L"\"C:\\Kolvane.mnu\""), std::wstring::npos) << Narrow(CommandLine());

    RunCommand(L"_KolvaneHelp");
    EXPECT_TRUE(standin::shellOpenings().empty());
    ASSERT_EQ(user().boxes().size(), 1u);
    EXPECT_EQ(user().boxes()[0].text, kHelpError);
    standin::setModuleFileName(loaded.module, L"");
}
