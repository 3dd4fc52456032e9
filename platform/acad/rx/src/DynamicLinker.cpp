// The dynamic linker: loads application modules, sends them their
// application messages and unloads them.
#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <memory>
#include <string>
#include <vector>

#include "standin/AcEdStandin.h"
#include "standin/WideFormat.h"

#include "accmd.h"
#include "acutads.h"
#include "rxdlinkr.h"
#include "rxregsvc.h"

#include "RxInternal.h"

namespace {

constexpr int kHostApiVersion = 18;

typedef int (*ApiVersion)();

struct LinkerState {
    std::vector<std::unique_ptr<kv_rx::App>> apps;
    kv_rx::App* current = nullptr;
    int nextSerial = 1;
};

LinkerState& state()
{
    static auto* s = new LinkerState();
    return *s;
}

std::string canonicalPath(const std::wstring& path)
{
    const std::string narrow = standin::narrow(path);
    char buffer[PATH_MAX];
    if (realpath(narrow.c_str(), buffer) == nullptr)
        return std::string();
    return buffer;
}

std::wstring fileNameOf(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"/\\");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool sameNoCase(const std::wstring& a, const std::wstring& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::towupper(a[i]) != std::towupper(b[i]))
            return false;
    }
    return true;
}

// The loaded application that the name stands for: its path, or its file name.
kv_rx::App* findApp(const ACHAR* name)
{
    if (name == nullptr || name[0] == 0)
        return nullptr;
    const std::wstring wanted(name);
    const std::string canonical = canonicalPath(wanted);
    for (const auto& app : state().apps) {
        if ((!canonical.empty() && app->canonical == canonical) || app->path == wanted)
            return app.get();
    }
    if (wanted.find_first_of(L"/\\") == std::wstring::npos) {
        for (const auto& app : state().apps) {
            if (sameNoCase(fileNameOf(app->path), wanted))
                return app.get();
        }
    }
    return nullptr;
}

kv_rx::App* findApp(void* appId)
{
    for (const auto& app : state().apps) {
        if (app.get() == appId)
            return app.get();
    }
    return nullptr;
}

// Sets one flag of the application appId; false when there is none.
bool setAppFlag(void* appId, bool kv_rx::App::*flag, bool value)
{
    kv_rx::App* app = findApp(appId);
    if (app == nullptr)
        return false;
    app->*flag = value;
    return true;
}

void removeApp(kv_rx::App* app)
{
    auto& apps = state().apps;
    apps.erase(
        std::remove_if(apps.begin(), apps.end(), [&](const std::unique_ptr<kv_rx::App>& a) { return a.get() == app; }),
        apps.end());
}

void report(bool printit, const wchar_t* format, const std::wstring& name)
{
    if (printit)
        acutPrintf(format, name.c_str());
}

// Takes the module out of the process: its functions are forgotten, then the
// system loader unloads it (DllMain, then the static destructors).
void release(kv_rx::App* app)
{
    kv_rx::forgetFunctionsOf(app->serial);
    HMODULE module = app->module;
    removeApp(app);
    FreeLibrary(module);
}

class DynamicLinker : public AcRxDynamicLinker {
public:
    bool loadModule(const ACHAR* fileName, bool printit, bool /*asCmd*/) override
    {
        if (fileName == nullptr || fileName[0] == 0)
            return false;
        const std::wstring path(fileName);
        if (findApp(fileName) != nullptr)
            return true;
        const std::string canonical = canonicalPath(path);
        if (canonical.empty()) {
            report(printit, L"AcRxDynamicLinker failed to find '%ls'.\n", path);
            return false;
        }
        HMODULE module = LoadLibraryW(fileName);
        if (module == nullptr) {
            report(printit, L"AcRxDynamicLinker failed to load '%ls'.\n", path);
            return false;
        }
        auto entry =
            reinterpret_cast<kv_rx::EntryPoint>(reinterpret_cast<void*>(GetProcAddress(module, "acrxEntryPoint")));
        auto version =
            reinterpret_cast<ApiVersion>(reinterpret_cast<void*>(GetProcAddress(module, "acrxGetApiVersion")));
        if (entry == nullptr) {
            report(printit, L"'%ls' is not an ObjectARX application: it has no acrxEntryPoint.\n", path);
            FreeLibrary(module);
            return false;
        }
        if (version == nullptr || version() != kHostApiVersion) {
            report(printit, L"'%ls' was built for another version of ObjectARX.\n", path);
            FreeLibrary(module);
            return false;
        }
        auto app = std::make_unique<kv_rx::App>();
        app->serial = state().nextSerial++;
        app->path = path;
        app->canonical = canonical;
        app->module = module;
        app->entry = entry;
        kv_rx::App* raw = app.get();
        state().apps.push_back(std::move(app));
        if (kv_rx::send(raw, AcRx::kInitAppMsg) != AcRx::kRetOK) {
            report(printit, L"'%ls' refused to initialise.\n", path);
            release(raw);
            return false;
        }
        // The application learns of the drawing that is open.
        kv_rx::send(raw, AcRx::kLoadDwgMsg);
        return true;
    }

    bool unloadModule(const ACHAR* fileName, bool printit, bool /*asCmd*/) override
    {
        kv_rx::App* app = findApp(fileName);
        const std::wstring name = fileName != nullptr ? fileName : L"";
        if (app == nullptr) {
            report(printit, L"'%ls' is not loaded.\n", name);
            return false;
        }
        if (!app->unlocked) {
            report(printit, L"Unable to unload '%ls': the application is locked.\n", name);
            return false;
        }
        if (kv_rx::send(app, AcRx::kUnloadAppMsg) != AcRx::kRetOK) {
            report(printit, L"'%ls' refused to unload.\n", name);
            return false;
        }
        release(app);
        return true;
    }

    bool unlockApplication(void* appId) const override { return setAppFlag(appId, &kv_rx::App::unlocked, true); }
    bool lockApplication(void* appId) const override { return setAppFlag(appId, &kv_rx::App::unlocked, false); }
    bool isApplicationLocked(const ACHAR* name) const override
    {
        kv_rx::App* app = findApp(name);
        return app != nullptr && !app->unlocked;
    }
    bool registerAppMDIAware(void* appId) const override { return setAppFlag(appId, &kv_rx::App::mdiAware, true); }
    bool registerAppNotMDIAware(void* appId) const override { return setAppFlag(appId, &kv_rx::App::mdiAware, false); }
    bool isAppMDIAware(const ACHAR* name) const override
    {
        kv_rx::App* app = findApp(name);
        return app != nullptr && app->mdiAware;
    }
    void* getSymbolAddress(const ACHAR* name, const char* symbol) const override
    {
        kv_rx::App* app = findApp(name);
        if (app == nullptr || symbol == nullptr)
            return nullptr;
        return reinterpret_cast<void*>(GetProcAddress(app->module, symbol));
    }
};

}  // namespace

AcRxDynamicLinker* kvNewDynamicLinker()
{
    return new DynamicLinker();
}

namespace kv_rx {

App* currentApp()
{
    return state().current;
}

int currentAppSerial()
{
    return state().current != nullptr ? state().current->serial : 0;
}

bool appLoaded(int serial)
{
    return appBySerial(serial) != nullptr;
}

App* appBySerial(int serial)
{
    for (const auto& app : state().apps) {
        if (app->serial == serial)
            return app.get();
    }
    return nullptr;
}

AcRx::AppRetCode send(App* app, AcRx::AppMsgCode msg)
{
    App* previous = state().current;
    state().current = app;
    const AcRx::AppRetCode result = app->entry(msg, app);
    state().current = previous;
    return result;
}

}  // namespace kv_rx

bool acrxUnlockApplication(void* appId)
{
    return acrxDynamicLinker->unlockApplication(appId);
}

bool acrxApplicationIsLocked(const ACHAR* modulename)
{
    return acrxDynamicLinker->isApplicationLocked(modulename);
}

bool acrxRegisterAppMDIAware(void* appId)
{
    return acrxDynamicLinker->registerAppMDIAware(appId);
}

bool acrxRegisterAppNotMDIAware(void* appId)
{
    return acrxDynamicLinker->registerAppNotMDIAware(appId);
}

bool acrxLoadModule(const ACHAR* moduleName, bool printit, bool asCmd)
{
    return acrxDynamicLinker->loadModule(moduleName, printit, asCmd);
}

bool acrxUnloadModule(const ACHAR* moduleName, bool asCmd)
{
    return acrxDynamicLinker->unloadModule(moduleName, false, asCmd);
}

int acrxHostApiVersion()
{
    return kHostApiVersion;
}

namespace standin {
namespace rx {

std::vector<LoadedModule> loadedModules()
{
    std::vector<LoadedModule> result;
    for (const auto& app : state().apps)
        result.push_back(LoadedModule{app->path, app->module, app.get(), app->unlocked, app->mdiAware});
    return result;
}

AcRx::AppRetCode sendAppMessage(const std::wstring& module, AcRx::AppMsgCode msg)
{
    kv_rx::App* app = findApp(module.c_str());
    if (app == nullptr)
        return AcRx::kRetError;
    return kv_rx::send(app, msg);
}

void unloadAllModules()
{
    while (!state().apps.empty()) {
        kv_rx::App* app = state().apps.back().get();
        kv_rx::send(app, AcRx::kUnloadAppMsg);
        release(app);
    }
}

HINSTANCE moduleInstanceAt(const void* address)
{
    Dl_info info;
    if (address == nullptr || dladdr(address, &info) == 0 || info.dli_fname == nullptr)
        return nullptr;
    char buffer[PATH_MAX];
    const std::string canonical = realpath(info.dli_fname, buffer) != nullptr ? buffer : info.dli_fname;
    for (const auto& app : state().apps) {
        if (app->canonical == canonical)
            return app->module;
    }
    // A module loaded by the system loader but not through the dynamic linker.
    return GetModuleHandleW(standin::widen(canonical).c_str());
}

}  // namespace rx
}  // namespace standin
