// Modules: loading and unloading in the Windows order, their entry points,
// paths and resources, and the MFC extension-DLL chain.
#include "Dialogs.h"

#include <standin/Win32.h>

#include <string>
#include <vector>

namespace {
std::vector<std::string> g_events;
}

// The test module reports here what happens to it.
extern "C" __attribute__((visibility("default"))) void kvTestRecord(const char* event)
{
    g_events.push_back(event);
}

namespace {

const std::wstring kModulePath = standin::widen(KV_TEST_MODULE);

class Modules : public WithUser {
protected:
    void SetUp() override
    {
        WithUser::SetUp();
        g_events.clear();
    }
    void TearDown() override
    {
        AfxSetResourceHandle(GetModuleHandleW(NULL));
        WithUser::TearDown();
    }
};

TEST_F(Modules, StaticInitialisersRunBeforeDllMainAndDestructorsAfterIt)
{
    HMODULE module = LoadLibraryW(kModulePath.c_str());
    ASSERT_NE(nullptr, module);
    EXPECT_EQ((std::vector<std::string>{"static constructor", "attach"}), g_events);
    auto instance = reinterpret_cast<HINSTANCE (*)()>(GetProcAddress(module, "TestModuleInstance"));
    ASSERT_NE(nullptr, instance);
    EXPECT_EQ(module, instance());  // DllMain got the module's own handle
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ((std::vector<std::string>{"static constructor", "attach", "detach", "static destructor"}), g_events);
    EXPECT_TRUE(standin::loadedModules().empty());
}

TEST_F(Modules, LoadsAreCounted)
{
    HMODULE first = LoadLibraryW(kModulePath.c_str());
    HMODULE second = LoadLibraryW(kModulePath.c_str());
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, second);
    EXPECT_EQ(2u, g_events.size());  // one attach only
    EXPECT_TRUE(FreeLibrary(second));
    EXPECT_EQ(2u, g_events.size());  // still loaded
    EXPECT_EQ(first, GetModuleHandleW(L"MfcTestModule.dll"));
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_EQ(4u, g_events.size());
    EXPECT_FALSE(FreeLibrary(first));  // no longer a module
    EXPECT_EQ(ERROR_INVALID_HANDLE, GetLastError());
    EXPECT_EQ(nullptr, GetModuleHandleW(L"MfcTestModule.dll"));
}

TEST_F(Modules, MissingModulesAndEntriesFail)
{
    EXPECT_EQ(nullptr, LoadLibraryW(L"/no/such/module.dll"));
    EXPECT_EQ(ERROR_MOD_NOT_FOUND, GetLastError());
    EXPECT_EQ(nullptr, LoadLibraryW(L""));
    HMODULE module = LoadLibraryW(kModulePath.c_str());
    ASSERT_NE(nullptr, module);
    EXPECT_EQ(nullptr, GetProcAddress(module, "NoSuchEntry"));
    EXPECT_EQ(ERROR_PROC_NOT_FOUND, GetLastError());
    // Only the module's own exports, not those of the libraries it uses.
    EXPECT_EQ(nullptr, GetProcAddress(module, "AfxGetModuleState"));
    auto answer = reinterpret_cast<int (*)()>(GetProcAddress(module, "TestModuleAnswer"));
    ASSERT_NE(nullptr, answer);
    EXPECT_EQ(42, answer());
    FreeLibrary(module);
}

TEST_F(Modules, TheModuleKnowsItsPath)
{
    HMODULE module = LoadLibraryW(kModulePath.c_str());
    ASSERT_NE(nullptr, module);
    wchar_t buffer[MAX_PATH];
    DWORD n = GetModuleFileNameW(module, buffer, MAX_PATH);
    EXPECT_EQ(kModulePath, std::wstring(buffer, n));
    standin::setModuleFileName(module, L"C:\\Kolvane.arx");
    GetModuleFileNameW(module, buffer, MAX_PATH);
    EXPECT_STREQ(L"C:\\Kolvane.arx", buffer);
    standin::setModuleFileName(module, L"");
    GetModuleFileNameW(module, buffer, MAX_PATH);
    EXPECT_EQ(kModulePath, buffer);
    FreeLibrary(module);
}

TEST_F(Modules, ResourcesAreFoundInTheModuleThatCarriesThem)
{
    HMODULE module = LoadLibraryW(kModulePath.c_str());
    ASSERT_NE(nullptr, module);
    HMODULE program = GetModuleHandleW(NULL);
    EXPECT_NE(nullptr, FindResourceW(module, MAKEINTRESOURCE(400), RT_DIALOG));
    EXPECT_EQ(nullptr, FindResourceW(program, MAKEINTRESOURCE(400), RT_DIALOG));
    EXPECT_EQ(nullptr, FindResourceW(module, MAKEINTRESOURCE(IDD_OPTIONS), RT_DIALOG));
    EXPECT_EQ(static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND), GetLastError());
    EXPECT_EQ(nullptr, FindResourceW(module, MAKEINTRESOURCE(1), MAKEINTRESOURCE(23)));
    EXPECT_EQ(static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND), GetLastError());

    HRSRC init = FindResourceW(module, MAKEINTRESOURCE(400), RT_DLGINIT);
    ASSERT_NE(nullptr, init);
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module, init)));
    ASSERT_NE(nullptr, data);
    // WORD control id, WORD message, DWORD length, bytes, ...; zero id ends.
    EXPECT_EQ(6u + 5u + 2u * 8u + 2u, SizeofResource(module, init));
    EXPECT_EQ(401, data[0] | data[1] << 8);
    EXPECT_EQ(0x403, data[2] | data[3] << 8);
    EXPECT_EQ(6, data[4]);
    EXPECT_EQ(std::string("Alpha"), reinterpret_cast<const char*>(data + 8));
    // A resource of one module is not another's.
    EXPECT_EQ(nullptr, LoadResource(program, init));

    wchar_t text[64];
    EXPECT_EQ(11, LoadStringW(module, 7, text, 64));
    EXPECT_STREQ(L"Test module", text);
    EXPECT_EQ(4, LoadStringW(module, 7, text, 5));  // cut to the buffer
    EXPECT_STREQ(L"Test", text);
    const wchar_t* direct = nullptr;
    EXPECT_EQ(11, LoadStringW(module, 7, reinterpret_cast<LPWSTR>(&direct), 0));
    EXPECT_EQ(0, std::wmemcmp(L"Test module", direct, 11));
    EXPECT_EQ(0, LoadStringW(module, 8, text, 64));
    EXPECT_EQ(0, LoadStringW(program, 7, text, 64));
    FreeLibrary(module);
}

TEST_F(Modules, ADialogIsMadeOnlyFromTheCurrentResources)
{
    HMODULE module = LoadLibraryW(kModulePath.c_str());
    ASSERT_NE(nullptr, module);
    {
        CDialog pick(400);
        EXPECT_EQ(-1, pick.DoModal());  // the module's template, but the program's resources are current
    }
    AfxSetResourceHandle(module);
    EXPECT_EQ(module, AfxGetResourceHandle());
    EXPECT_EQ(module, AfxGetModuleState()->m_hCurrentResourceHandle);
    {
        CDialog pick(400);
        user.dialog([](standin::DialogSession& d) {
            EXPECT_EQ(L"Pick one", d.title());
            EXPECT_EQ((std::vector<std::wstring>{L"Alpha", L"Beta"}), d.comboItems(401));
            d.press(IDOK);
        });
        EXPECT_EQ(IDOK, pick.DoModal());
        // And the program's own dialog is now out of reach.
        OptionsDialog options;
        EXPECT_EQ(-1, options.DoModal());
        EXPECT_EQ(std::vector<std::string>{}, options.events);  // OnInitDialog never ran
        EXPECT_EQ(-1, options.m_mode);
    }
    AfxSetResourceHandle(GetModuleHandleW(NULL));
    FreeLibrary(module);
}

TEST_F(Modules, AnExtensionModuleJoinsTheResourceChainWhileAttached)
{
    auto chainHas = [](HMODULE m) {
        for (CDynLinkLibrary* dll = AfxGetModuleState()->m_libraryList.GetHead(); dll; dll = dll->m_pNextDLL)
            if (dll->m_hModule == m)
                return true;
        return false;
    };
    HMODULE module = LoadLibraryW(kModulePath.c_str());
    ASSERT_NE(nullptr, module);
    EXPECT_TRUE(chainHas(module));
    // The chain finds the module's resources when the current one lacks them.
    EXPECT_EQ(module, AfxFindResourceHandle(MAKEINTRESOURCE(400), RT_DIALOG));
    EXPECT_EQ(GetModuleHandleW(NULL), AfxFindResourceHandle(MAKEINTRESOURCE(IDD_OPTIONS), RT_DIALOG));
    FreeLibrary(module);
    EXPECT_FALSE(chainHas(module));  // AfxTermExtensionModule deleted its CDynLinkLibrary
}

TEST(ExtensionModule, InitialisesOnceAndTermDeletesOnlyItsOwnLibraries)
{
    HMODULE program = GetModuleHandleW(NULL);
    AFX_EXTENSION_MODULE ext = {FALSE, nullptr, nullptr, nullptr, nullptr};
    EXPECT_FALSE(AfxInitExtensionModule(ext, nullptr));
    EXPECT_FALSE(ext.bInitialized);
    ASSERT_TRUE(AfxInitExtensionModule(ext, program));
    EXPECT_TRUE(ext.bInitialized);
    EXPECT_EQ(program, ext.hModule);
    EXPECT_EQ(program, ext.hResource);
    EXPECT_TRUE(AfxInitExtensionModule(ext, program));
    CDynLinkLibrary* mine = new CDynLinkLibrary(ext);
    EXPECT_EQ(mine, AfxGetModuleState()->m_libraryList.GetHead());
    AfxTermExtensionModule(ext);
    EXPECT_NE(mine, AfxGetModuleState()->m_libraryList.GetHead());
    EXPECT_FALSE(ext.bInitialized);
}

}  // namespace
