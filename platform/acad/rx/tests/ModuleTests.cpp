// Application modules as the host drives them: load and unload order, the
// framework's message dispatch, its command table and function table,
// locked applications and the per-document data manager.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "standin/AcEdStandin.h"
#include "standin/ScriptedUser.h"
#include "standin/WideFormat.h"

#include "accmd.h"
#include "acedads.h"
#include "acdocman.h"
#include "adscodes.h"
#include "rxdlinkr.h"
#include "rxregsvc.h"

namespace {

const std::wstring kModule = standin::widen(KV_RX_TEST_MODULE);
const std::wstring kLocked = standin::widen(KV_RX_TEST_MODULE_LOCKED);

class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        standin::editor::resetEditor();
        previous_ = standin::setCurrentUser(&user_);
    }
    void TearDown() override
    {
        standin::rx::unloadAllModules();
        standin::setCurrentUser(previous_);
        standin::editor::resetEditor();
    }
    static std::wstring takeLines()
    {
        std::wstring text = standin::editor::commandLineText();
        standin::editor::clearCommandLine();
        return text;
    }
    static std::vector<standin::rx::RegisteredCommand> testCommands()
    {
        std::vector<standin::rx::RegisteredCommand> result;
        for (const auto& c : standin::rx::registeredCommands()) {
            if (c.group == L"KvTest")
                result.push_back(c);
        }
        return result;
    }

    standin::ScriptedUser user_;
    standin::User* previous_ = nullptr;
};

TEST_F(ModuleTest, LoadInitialisesAfterTheLoaderAndUnloadEndsBeforeIt)
{
    ASSERT_TRUE(acrxDynamicLinker->loadModule(kModule.c_str(), true));
    EXPECT_EQ(takeLines(), L"static-init\ndllmain-attach\ninit 1 1\nserver-components\nload-dwg\n");
    const auto modules = standin::rx::loadedModules();
    ASSERT_EQ(modules.size(), 1u);
    EXPECT_TRUE(modules[0].unlocked);
    EXPECT_TRUE(modules[0].mdiAware);
    EXPECT_FALSE(acrxDynamicLinker->isApplicationLocked(L"acad_test_module.arx"));
    EXPECT_TRUE(acrxDynamicLinker->isAppMDIAware(kModule.c_str()));
    // Loading it again changes nothing.
    EXPECT_TRUE(acrxDynamicLinker->loadModule(kModule.c_str(), true));
    EXPECT_EQ(takeLines(), L"");

    ASSERT_TRUE(acrxDynamicLinker->unloadModule(kModule.c_str(), true));
    EXPECT_EQ(takeLines(), L"unload\ndllmain-detach\nstatic-exit\n");
    EXPECT_TRUE(standin::rx::loadedModules().empty());
    EXPECT_FALSE(acrxDynamicLinker->unloadModule(kModule.c_str(), false));

    // A second load runs the whole sequence again.
    ASSERT_TRUE(acrxDynamicLinker->loadModule(kModule.c_str(), true));
    EXPECT_EQ(takeLines(), L"static-init\ndllmain-attach\ninit 1 1\nserver-components\nload-dwg\n");
}

TEST_F(ModuleTest, TheCommandTableIsRegisteredInOrderAndRemovedAtUnload)
{
    ASSERT_TRUE(acrxDynamicLinker->loadModule(kModule.c_str(), false));
    const HMODULE module = standin::rx::loadedModules().at(0).module;
    const auto commands = testCommands();
    ASSERT_EQ(commands.size(), 6u);
    // _Gamma's local name comes from the module's string table.
    const wchar_t* globals[] = {L"_Alpha", L"_Beta", L"_Gamma", L"_Ask", L"_Instance", L"_Count"};
    const wchar_t* locals[] = {L"Alpha", L"Beta", L"Gamma", L"Ask", L"Instance", L"Count"};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(commands[i].globalName, globals[i]);
        EXPECT_EQ(commands[i].localName, locals[i]);
        EXPECT_EQ(commands[i].functionCode, -1);
        // The module's own resources, except for a session command.
        EXPECT_EQ(commands[i].resourceHandle, i == 4 ? nullptr : module) << i;
    }
    EXPECT_EQ(commands[0].flags, ACRX_CMD_TRANSPARENT);
    EXPECT_EQ(commands[4].flags, ACRX_CMD_SESSION);

    takeLines();
    EXPECT_EQ(standin::editor::runCommand(L"Alpha"), RTNORM);
    EXPECT_EQ(standin::editor::runCommand(L"_beta"), RTNORM);
    EXPECT_EQ(standin::editor::runCommand(L"gamma"), RTNORM);
    EXPECT_EQ(standin::editor::runCommand(L"Instance"), RTNORM);
    user_.type(L"ci");
    EXPECT_EQ(standin::editor::runCommand(L"Ask"), RTNORM);
    EXPECT_EQ(takeLines(), L"alpha\nbeta\ngamma\ninstance same\nasked 5100 Circle\n");

    ASSERT_TRUE(acrxDynamicLinker->unloadModule(L"acad_test_module.arx", false));
    EXPECT_TRUE(testCommands().empty());
}

TEST_F(ModuleTest, MessagesReachTheirHandlersAndOtherCodesNone)
{
    ASSERT_TRUE(acrxDynamicLinker->loadModule(kModule.c_str(), false));
    takeLines();
    for (int code = 6; code <= 15; ++code) {
        EXPECT_EQ(standin::rx::sendAppMessage(kModule, static_cast<AcRx::AppMsgCode>(code)), AcRx::kRetOK);
        EXPECT_EQ(takeLines(), L"message " + std::to_wstring(code) + L"\n");
    }
    EXPECT_EQ(standin::rx::sendAppMessage(kModule, AcRx::kNullMsg), AcRx::kRetOK);
    EXPECT_EQ(takeLines(), L"message 0\n");
    for (int code : {16, 17, 1000, -1, -2147483647 - 1}) {
        EXPECT_EQ(standin::rx::sendAppMessage(kModule, static_cast<AcRx::AppMsgCode>(code)), AcRx::kRetOK);
        EXPECT_EQ(takeLines(), L"") << code;
    }
    EXPECT_EQ(standin::rx::sendAppMessage(L"not-loaded.arx", AcRx::kNullMsg), AcRx::kRetError);
}

TEST_F(ModuleTest, ScriptingFunctionsAreDefinedPerDrawingAndInvokedByCode)
{
    ASSERT_TRUE(acrxDynamicLinker->loadModule(kModule.c_str(), false));
    auto functions = standin::rx::definedFunctions();
    ASSERT_EQ(functions.size(), 1u);
    EXPECT_EQ(functions[0].name, L"kvtest");
    EXPECT_EQ(functions[0].code, 0);
    takeLines();
    EXPECT_EQ(standin::rx::invokeFunction(L"KVTEST"), RTNORM);
    EXPECT_EQ(takeLines(), L"invoke 0\nkvtest called\n");
    EXPECT_EQ(acedGetFunCode(), RTERROR);  // only while invoking
    EXPECT_EQ(standin::rx::sendAppMessage(kModule, AcRx::kUnloadDwgMsg), AcRx::kRetOK);
    EXPECT_TRUE(standin::rx::definedFunctions().empty());
    EXPECT_EQ(standin::rx::invokeFunction(L"kvtest"), RTERROR);
}

TEST_F(ModuleTest, ALockedApplicationIsNotUnloaded)
{
    ASSERT_TRUE(acrxDynamicLinker->loadModule(kLocked.c_str(), false));
    EXPECT_EQ(takeLines(), L"static-init\ndllmain-attach\ninit 0 1\nserver-components\nload-dwg\n");
    EXPECT_TRUE(acrxDynamicLinker->isApplicationLocked(kLocked.c_str()));
    EXPECT_FALSE(acrxDynamicLinker->unloadModule(kLocked.c_str(), true));
    EXPECT_NE(takeLines().find(L"locked"), std::wstring::npos);
    EXPECT_EQ(standin::rx::loadedModules().size(), 1u);
    // When the host shuts down it goes all the same.
    standin::rx::unloadAllModules();
    EXPECT_EQ(takeLines(), L"unload\ndllmain-detach\nstatic-exit\n");
}

TEST_F(ModuleTest, ThePerDocumentDataManagerFollowsTheModule)
{
    const size_t before = standin::docs::reactors().size();
    ASSERT_TRUE(acrxDynamicLinker->loadModule(kModule.c_str(), false));
    EXPECT_EQ(standin::docs::reactors().size(), before + 1);
    takeLines();
    standin::editor::runCommand(L"Count");
    standin::editor::runCommand(L"Count");
    EXPECT_EQ(takeLines(), L"count 1\ncount 2\n");
    ASSERT_TRUE(acrxDynamicLinker->unloadModule(kModule.c_str(), false));
    EXPECT_EQ(standin::docs::reactors().size(), before);
}

TEST_F(ModuleTest, FilesThatAreNoApplicationAreRefused)
{
    EXPECT_FALSE(acrxDynamicLinker->loadModule(L"/no/such/module.arx", true));
    EXPECT_NE(standin::editor::commandLineText().find(L"/no/such/module.arx"), std::wstring::npos);
    EXPECT_FALSE(acrxDynamicLinker->loadModule(L"", true));
    EXPECT_FALSE(acrxDynamicLinker->loadModule(nullptr, true));
    // A library without acrxEntryPoint.
    EXPECT_FALSE(acrxDynamicLinker->loadModule(L"libacad.so", false));
    EXPECT_TRUE(standin::rx::loadedModules().empty());
}

}  // namespace
