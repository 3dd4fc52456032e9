// The module as the host loads it: entry points, application messages, the
// command table, the menu at initialisation, unloading.
#include <dlfcn.h>

#include <algorithm>

#include "PluginTest.h"
#include "accmd.h"
#include "acdocman.h"
#include "rxdefs.h"
#include "rxdlinkr.h"
#include "standin/AcEdStandin.h"

using namespace plugin_test;

namespace {

std::vector<standin::rx::RegisteredCommand> KolvaneCommands()
{
    std::vector<standin::rx::RegisteredCommand> mine;
    for (const auto& command : standin::rx::registeredCommands())
        if (command.group == L"Vrn_Kolvane")
            mine.push_back(command);
    return mine;
}

bool MenuBarHasKolvane()
{
    for (const auto& entry : standin::editor::menuBar())
        if (entry.group == L"Kolvane" && entry.menu == L"POP1")
            return true;
    return false;
}

}  // namespace

using ModuleTest = PluginTest;

TEST_F(ModuleTest, InitialisationRegistersTheThreeCommandsInTableOrder)
{
    const auto commands = KolvaneCommands();
    ASSERT_EQ(commands.size(), 3u);
    const wchar_t* global[] = {L"_Kolvane", L"_KolvaneHelp", L"_KolvaneAbout"};
    const wchar_t* local[] = {L"Kolvane", L"KolvaneHelp", L"KolvaneAbout"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(commands[i].globalName, global[i]);
        EXPECT_EQ(commands[i].localName, local[i]);
        EXPECT_EQ(commands[i].flags, ACRX_CMD_TRANSPARENT);
        EXPECT_NE(commands[i].function, nullptr);
        // The module's own resources go with each command.
        EXPECT_NE(commands[i].resourceHandle, nullptr);
    }
    // Each command is found under its local name too.
    EXPECT_NE(acedRegCmds->lookupLocalCmd(L"KolvaneHelp"), nullptr);
}

TEST_F(ModuleTest, ApplicationIsUnlockedAndMdiAware)
{
    bool found = false;
    for (const auto& module : standin::rx::loadedModules()) {
        if (module.path == modulePath()) {
            found = true;
            EXPECT_TRUE(module.unlocked);
            EXPECT_TRUE(module.mdiAware);
        }
    }
    EXPECT_TRUE(found);
}

TEST_F(ModuleTest, UnloadRemovesTheCommandsAndLeavesTheMenu)
{
    ASSERT_TRUE(MenuBarHasKolvane());
    ASSERT_TRUE(Unload());
    EXPECT_TRUE(KolvaneCommands().empty());
    EXPECT_EQ(acedRegCmds->lookupGlobalCmd(L"_Kolvane"), nullptr);
    EXPECT_TRUE(MenuBarHasKolvane());
}

TEST_F(ModuleTest, InitialisationLoadsTheMenuBesideTheModuleByItsFullPath)
{
    const auto groups = standin::editor::loadedMenuGroups();
    auto group = std::find_if(groups.begin(), groups.end(), [](const auto& g) { return g.name == L"Kolvane"; });
    ASSERT_NE(group, groups.end());
    EXPECT_EQ(group->file, Widen(BinDir() + "/Kolvane.mnu"));
    ASSERT_FALSE(group->popups.empty());
    EXPECT_EQ(group->popups[0].section, L"POP1");
    std::vector<std::wstring> macros;
    for (const auto& item : group->popups[0].items)
        if (!item.macro.empty())
            macros.push_back(item.macro);
    EXPECT_EQ(macros, (std::vector<std::wstring>{L"^C^C_Kolvane", L"^C^C_KolvaneHelp", L"^C^C_KolvaneAbout"}));

    // The pop-up sits at slot 10 of the menu bar.
    const auto bar = standin::editor::menuBar();
    ASSERT_GE(bar.size(), 10u);
    EXPECT_EQ(bar[9].group, L"Kolvane");
    EXPECT_EQ(bar[9].title, L"&Kolvane");
}

TEST_F(ModuleTest, MessagesWithoutAHandlerOfTheirOwnReturnZeroAndChangeNothing)
{
    const std::wstring before = CommandLine();
    const std::size_t commands = standin::rx::registeredCommands().size();
    const int reactors = static_cast<int>(standin::docs::reactors().size());
    const int codes[] = {
        0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 255, 100000, -1, -2, static_cast<int>(0x80000000u)};
    for (int code : codes) {
        SCOPED_TRACE(code);
        EXPECT_EQ(SendMessage(code), 0);
    }
    EXPECT_EQ(CommandLine(), before);
    EXPECT_EQ(standin::rx::registeredCommands().size(), commands);
    EXPECT_EQ(static_cast<int>(standin::docs::reactors().size()), reactors);
    EXPECT_EQ(KolvaneCommands().size(), 3u);
    EXPECT_TRUE(user().boxes().empty());
    EXPECT_TRUE(user().dialogs().empty());
}

TEST_F(ModuleTest, OnlyTheEntryPointsAreExported)
{
    void* handle = dlopen(Narrow(modulePath()).c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(handle, nullptr);
    for (const char* name : {"acrxEntryPoint", "acrxGetApiVersion", "DllMain", "KvModuleResources"}) {
        SCOPED_TRACE(name);
        EXPECT_NE(dlsym(handle, name), nullptr);
    }
    // Internal names stay inside the module.
    for (const char* name :
         {"TheApp", "ProductCaption", "ModuleInstance", "ExtensionModule", "DocDataManager", "_Z11ImportModelv",
          "_Z9RunImportv", "_Z12LoadMenuFilev", "_Z8ShowHelpv", "_Z9ShowAboutv"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(dlsym(handle, name), nullptr);
    }
    dlclose(handle);
}

TEST_F(ModuleTest, TheDocumentReactorIsAddedAtLoadAndRemovedAtUnload)
{
    const std::size_t withModule = standin::docs::reactors().size();
    ASSERT_TRUE(Unload());
    EXPECT_EQ(standin::docs::reactors().size(), withModule - 1);
    ASSERT_TRUE(Load());
    EXPECT_EQ(standin::docs::reactors().size(), withModule);
}

TEST_F(ModuleTest, ThreadNotificationsChangeNothing)
{
    using DllMainFn = BOOL (*)(HINSTANCE, DWORD, LPVOID);
    auto dllMain = reinterpret_cast<DllMainFn>(acrxDynamicLinker->getSymbolAddress(modulePath().c_str(), "DllMain"));
    ASSERT_NE(dllMain, nullptr);
    HINSTANCE instance = standin::rx::moduleInstanceAt(reinterpret_cast<void*>(dllMain));
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(dllMain(instance, DLL_THREAD_ATTACH, nullptr), TRUE);
    EXPECT_EQ(dllMain(instance, DLL_THREAD_DETACH, nullptr), TRUE);

    // The import still finds its dialog among the module's resources.
    fake_reader::QueueMeshes({Cube()});
    ImportAs("cube.skp", L"Points");
    EXPECT_EQ(CommandLines(), std::vector<std::wstring>{L"Created 8 points"});
}

TEST_F(ModuleTest, AReloadedModuleWorksAsTheFirstLoadDid)
{
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(Unload());
        ASSERT_TRUE(Load());
        EXPECT_EQ(KolvaneCommands().size(), 3u);
        standin::editor::clearCommandLine();
        fake_reader::QueueMeshes({Cube()});
        ImportAs("cube.skp", L"3D Faces");
        EXPECT_EQ(CommandLines(), std::vector<std::wstring>{L"Created 6 3d faces"});
    }
}

namespace {
int ChainEntries(HMODULE module)
{
    int n = 0;
    const auto& chain = AfxGetModuleState()->m_libraryList;
    for (CDynLinkLibrary* dll = chain.GetHead(); dll != nullptr; dll = chain.GetNext(dll))
        if (dll->m_hModule == module)
            ++n;
    return n;
}
}  // namespace

TEST_F(ModuleTest, TheModuleIsInMfcsResourceChainWhileItIsLoaded)
{
    HMODULE module = nullptr;
    for (const auto& loadedModule : standin::rx::loadedModules())
        if (loadedModule.path == modulePath())
            module = loadedModule.module;
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(ChainEntries(module), 1);
    ASSERT_TRUE(Unload());
    EXPECT_EQ(ChainEntries(module), 0);
    ASSERT_TRUE(Load());
    for (const auto& loadedModule : standin::rx::loadedModules())
        if (loadedModule.path == modulePath())
            module = loadedModule.module;
    EXPECT_EQ(ChainEntries(module), 1);
}
