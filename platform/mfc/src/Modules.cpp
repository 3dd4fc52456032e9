// Modules (LoadLibraryW over dlopen, with DllMain), module paths, resources
// carried by modules, and the thread's last error.
#include "Internal.h"
#include "standin/FileIo.h"
#include "standin/Resources.h"
#include "standin/WideFormat.h"
#include "standin/Win32.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

namespace {

thread_local DWORD t_lastError = 0;

struct Module {
    std::wstring path;          // absolute path it was loaded from
    std::wstring reportedPath;  // set by standin::setModuleFileName
    void* dl = nullptr;
    int references = 0;
    bool program = false;
    bool resourcesLooked = false;
    const standin::ResourceDirectory* resources = nullptr;
};

struct Modules {
    std::recursive_mutex mutex;
    Module program;
    std::vector<Module*> loaded;  // load order
    Modules()
    {
        program.program = true;
        program.dl = dlopen(nullptr, RTLD_NOW);
        const std::string path = standin::files::programPath();
        if (!path.empty())
            program.path = standin::widen(path);
    }
};

Modules& modules()
{
    static Modules* m = new Modules;  // modules may be freed during exit
    return *m;
}

Module* lookup(HMODULE handle)
{
    Modules& m = modules();
    if (!handle)
        return &m.program;
    Module* p = reinterpret_cast<Module*>(handle);
    if (p == &m.program)
        return p;
    std::lock_guard<std::recursive_mutex> lock(m.mutex);
    return std::find(m.loaded.begin(), m.loaded.end(), p) != m.loaded.end() ? p : nullptr;
}

HMODULE handleOf(Module* m)
{
    return reinterpret_cast<HMODULE>(m);
}

std::string posixPath(const std::wstring& path)
{
    std::string p = standin::narrow(path);
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

std::string directoryOf(const std::wstring& path)
{
    std::string p = posixPath(path);
    size_t slash = p.rfind('/');
    return slash == std::string::npos ? std::string(".") : p.substr(0, slash);
}

bool exists(const std::string& p)
{
    struct stat st;
    return stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The module's own definition of `name`, not one of its dependencies'.
void* ownSymbol(const Module& m, const char* name)
{
    if (!m.dl)
        return nullptr;
    void* sym = dlsym(m.dl, name);
    if (!sym)
        return nullptr;
    struct link_map* own = nullptr;
    if (dlinfo(m.dl, RTLD_DI_LINKMAP, &own) != 0 || !own)
        return nullptr;
    Dl_info info;
    struct link_map* where = nullptr;
    if (!dladdr1(sym, &info, reinterpret_cast<void**>(&where), RTLD_DL_LINKMAP) || where != own)
        return nullptr;
    return sym;
}

const standin::ResourceDirectory* directory(Module& m)
{
    if (!m.resourcesLooked) {
        m.resourcesLooked = true;
        auto* dir = static_cast<const standin::ResourceDirectory*>(ownSymbol(m, KV_RESOURCE_SYMBOL_NAME));
        if (dir && dir->magic == standin::kResourceMagic && dir->version == 1)
            m.resources = dir;
        else if (dir)
            std::fprintf(stderr, "win32: the resources of %s are damaged\n", standin::narrow(m.path).c_str());
    }
    return m.resources;
}

bool matches(const wchar_t* entryName, uint32_t entryId, LPCWSTR wanted)
{
    if (IS_INTRESOURCE(wanted))
        return !entryName && entryId == static_cast<uint32_t>(reinterpret_cast<ULONG_PTR>(wanted));
    if (!wanted)
        return false;
    if (wanted[0] == L'#')
        return !entryName && entryId == static_cast<uint32_t>(std::wcstoul(wanted + 1, nullptr, 10));
    return entryName && _wcsicmp(entryName, wanted) == 0;
}

const standin::ResourceEntry* find(Module& m, LPCWSTR type, LPCWSTR name, int language)
{
    const standin::ResourceDirectory* dir = directory(m);
    if (!dir) {
        t_lastError = ERROR_RESOURCE_DATA_NOT_FOUND;
        return nullptr;
    }
    bool typeSeen = false;
    const standin::ResourceEntry* best = nullptr;
    int bestScore = -1;
    for (uint32_t i = 0; i < dir->count; ++i) {
        const standin::ResourceEntry& e = dir->entries[i];
        if (!matches(e.typeName, e.typeId, type))
            continue;
        typeSeen = true;
        if (!matches(e.name, e.id, name))
            continue;
        int score = language < 0 ? 1 : (e.language == language ? 3 : (e.language == 0 ? 2 : 1));
        if (score > bestScore) {
            best = &e;
            bestScore = score;
        }
    }
    if (!best)
        t_lastError = typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND;
    return best;
}

bool owns(Module& m, HRSRC resource)
{
    const standin::ResourceDirectory* dir = directory(m);
    if (!dir || !resource)
        return false;
    auto* e = reinterpret_cast<const standin::ResourceEntry*>(resource);
    return e >= dir->entries && e < dir->entries + dir->count;
}

}  // namespace

namespace standin {
namespace detail {

HMODULE programModule()
{
    return handleOf(&modules().program);
}
bool isModule(HMODULE module)
{
    return module && lookup(module) != nullptr;
}

}  // namespace detail

void setModuleFileName(HMODULE module, const std::wstring& path)
{
    Module* m = lookup(module);
    if (m)
        m->reportedPath = path;
}

std::vector<HMODULE> loadedModules()
{
    Modules& all = modules();
    std::lock_guard<std::recursive_mutex> lock(all.mutex);
    std::vector<HMODULE> out;
    for (Module* m : all.loaded)
        out.push_back(handleOf(m));
    return out;
}

}  // namespace standin

extern "C" {

DWORD WINAPI GetLastError(void)
{
    return t_lastError;
}
void WINAPI SetLastError(DWORD code)
{
    t_lastError = code;
}

HMODULE WINAPI LoadLibraryW(LPCWSTR fileName)
{
    if (!fileName || !*fileName) {
        t_lastError = ERROR_INVALID_PARAMETER;
        return nullptr;
    }
    Modules& all = modules();
    std::string wanted = posixPath(fileName);
    std::string candidate = wanted;
    if (wanted.find('/') == std::string::npos) {
        // A bare name: the program's folder first, as Windows searches it.
        std::string beside = directoryOf(all.program.path) + "/" + wanted;
        candidate = exists(beside) ? beside : wanted;
    }
    std::string resolved;
    if (candidate.find('/') != std::string::npos) {
        char buffer[PATH_MAX];
        if (!realpath(candidate.c_str(), buffer) || !exists(buffer)) {
            t_lastError = ERROR_MOD_NOT_FOUND;
            return nullptr;
        }
        resolved = buffer;
    } else {
        resolved = candidate;  // left to the dynamic loader's search
    }

    void* dl = dlopen(resolved.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!dl) {
        std::fprintf(stderr, "win32: LoadLibraryW(%s): %s\n", resolved.c_str(), dlerror());
        t_lastError = ERROR_MOD_NOT_FOUND;
        return nullptr;
    }
    {
        std::lock_guard<std::recursive_mutex> lock(all.mutex);
        for (Module* m : all.loaded) {
            if (m->dl == dl) {
                dlclose(dl);  // the loader counted it again; our count is enough
                ++m->references;
                return handleOf(m);
            }
        }
    }
    auto* m = new Module;
    m->dl = dl;
    m->references = 1;
    struct link_map* map = nullptr;
    if (dlinfo(dl, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name && *map->l_name)
        m->path = standin::widen(map->l_name);
    else
        m->path = standin::widen(resolved);
    {
        std::lock_guard<std::recursive_mutex> lock(all.mutex);
        all.loaded.push_back(m);
    }
    // The static initialisers have run inside dlopen; now the entry point.
    auto entry = reinterpret_cast<DLLMAIN_PROC>(ownSymbol(*m, "DllMain"));
    if (entry && !entry(handleOf(m), DLL_PROCESS_ATTACH, nullptr)) {
        entry(handleOf(m), DLL_PROCESS_DETACH, nullptr);
        {
            std::lock_guard<std::recursive_mutex> lock(all.mutex);
            all.loaded.erase(std::remove(all.loaded.begin(), all.loaded.end(), m), all.loaded.end());
        }
        dlclose(dl);
        delete m;
        t_lastError = 1114;  // ERROR_DLL_INIT_FAILED
        return nullptr;
    }
    return handleOf(m);
}

BOOL WINAPI FreeLibrary(HMODULE module)
{
    Module* m = module ? lookup(module) : nullptr;
    if (!m) {
        t_lastError = ERROR_INVALID_HANDLE;
        return FALSE;
    }
    if (m->program)
        return TRUE;
    Modules& all = modules();
    if (--m->references > 0)
        return TRUE;
    auto entry = reinterpret_cast<DLLMAIN_PROC>(ownSymbol(*m, "DllMain"));
    if (entry)
        entry(module, DLL_PROCESS_DETACH, nullptr);
    {
        std::lock_guard<std::recursive_mutex> lock(all.mutex);
        all.loaded.erase(std::remove(all.loaded.begin(), all.loaded.end(), m), all.loaded.end());
    }
    // The static destructors run here, after DllMain's detach.
    dlclose(m->dl);
    delete m;
    return TRUE;
}

FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR procName)
{
    Module* m = lookup(module);
    if (!m || !procName || IS_INTRESOURCE(procName)) {
        t_lastError = m ? ERROR_PROC_NOT_FOUND : ERROR_INVALID_HANDLE;
        return nullptr;
    }
    void* sym = m->program ? dlsym(m->dl, procName) : ownSymbol(*m, procName);
    if (!sym) {
        t_lastError = ERROR_PROC_NOT_FOUND;
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(sym);
}

HMODULE WINAPI GetModuleHandleW(LPCWSTR moduleName)
{
    Modules& all = modules();
    if (!moduleName)
        return handleOf(&all.program);
    std::wstring wanted = moduleName;
    std::replace(wanted.begin(), wanted.end(), L'\\', L'/');
    bool bare = wanted.find(L'/') == std::wstring::npos;
    std::lock_guard<std::recursive_mutex> lock(all.mutex);
    for (Module* m : all.loaded) {
        std::wstring path = m->path;
        std::wstring name = path.substr(path.rfind(L'/') + 1);
        if (_wcsicmp((bare ? name : path).c_str(), wanted.c_str()) == 0)
            return handleOf(m);
    }
    t_lastError = ERROR_MOD_NOT_FOUND;
    return nullptr;
}

DWORD WINAPI GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size)
{
    Module* m = lookup(module);
    if (!m) {
        t_lastError = ERROR_MOD_NOT_FOUND;
        return 0;
    }
    if (!fileName && size) {
        t_lastError = ERROR_INVALID_PARAMETER;
        return 0;
    }
    const std::wstring& path = m->reportedPath.empty() ? m->path : m->reportedPath;
    DWORD length = static_cast<DWORD>(path.size());
    if (length < size) {
        std::wmemcpy(fileName, path.data(), length);
        fileName[length] = 0;
        return length;
    }
    // Too long: cut to size - 1 characters and a NUL (Vista and later).
    if (size > 0) {
        std::wmemcpy(fileName, path.data(), size - 1);
        fileName[size - 1] = 0;
    }
    t_lastError = ERROR_INSUFFICIENT_BUFFER;
    return size;
}

HRSRC WINAPI FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type)
{
    Module* m = lookup(module);
    if (!m) {
        t_lastError = ERROR_INVALID_HANDLE;
        return nullptr;
    }
    return reinterpret_cast<HRSRC>(const_cast<standin::ResourceEntry*>(find(*m, type, name, -1)));
}

HRSRC WINAPI FindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language)
{
    Module* m = lookup(module);
    if (!m) {
        t_lastError = ERROR_INVALID_HANDLE;
        return nullptr;
    }
    return reinterpret_cast<HRSRC>(const_cast<standin::ResourceEntry*>(find(*m, type, name, language)));
}

HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC resource)
{
    Module* m = lookup(module);
    if (!m || !owns(*m, resource)) {
        t_lastError = ERROR_RESOURCE_DATA_NOT_FOUND;
        return nullptr;
    }
    return const_cast<void*>(reinterpret_cast<const standin::ResourceEntry*>(resource)->data);
}

LPVOID WINAPI LockResource(HGLOBAL data)
{
    return data;
}

DWORD WINAPI SizeofResource(HMODULE module, HRSRC resource)
{
    Module* m = lookup(module);
    if (!m || !owns(*m, resource)) {
        t_lastError = ERROR_RESOURCE_DATA_NOT_FOUND;
        return 0;
    }
    return reinterpret_cast<const standin::ResourceEntry*>(resource)->size;
}

BOOL WINAPI FreeResource(HGLOBAL)
{
    return FALSE;
}

int WINAPI LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferMax)
{
    if (!buffer)
        return 0;
    if (bufferMax > 0)
        buffer[0] = 0;
    HRSRC block = FindResourceW(instance, MAKEINTRESOURCEW((id >> 4) + 1), RT_STRING);
    if (!block)
        return 0;
    const auto* data = static_cast<const wchar_t*>(LockResource(LoadResource(instance, block)));
    DWORD units = SizeofResource(instance, block) / sizeof(wchar_t);
    if (!data)
        return 0;
    DWORD pos = 0;
    for (UINT i = 0; i < (id & 15); ++i) {
        if (pos >= units)
            return 0;
        pos += 1 + static_cast<DWORD>(data[pos]);
    }
    if (pos >= units)
        return 0;
    DWORD length = static_cast<DWORD>(data[pos]);
    if (length == 0 || pos + 1 + length > units)
        return 0;
    const wchar_t* text = data + pos + 1;
    if (bufferMax == 0) {
        // A pointer to the resource's own (not NUL-terminated) text.
        *reinterpret_cast<const wchar_t**>(buffer) = text;
        return static_cast<int>(length);
    }
    if (bufferMax < 0)
        return 0;
    DWORD n = std::min(length, static_cast<DWORD>(bufferMax - 1));
    std::wmemcpy(buffer, text, n);
    buffer[n] = 0;
    return static_cast<int>(n);
}

}  // extern "C"
