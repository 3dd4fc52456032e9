// The model reader as the script fuzzer's host sees it: the real reader,
// with its answers kept in memory. A script names the same few small model
// files again and again, and each real reading starts a child process (a copy
// of the large instrumented fuzzer); so each file is read once per content
// and path, and every later reading of the same bytes gives the same result,
// error text and meshes from memory. Paths that are no ordinary small file
// (missing, folders, pipes, large files) always go to the real reader.
//
// The fuzzer program exports these two members (fuzz/script/exports.list),
// so the plug-in module, loaded at run time, calls them instead of the
// library's; the library's own are found with dlsym.

#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "VrnRavlib.h"
#include "standin/WideFormat.h"

namespace {

struct Reading {
    int result = 0;
    std::wstring error;
    std::vector<ON_Mesh> meshes;
};

constexpr size_t kLargestCached = 64 * 1024;
constexpr size_t kMostCached = 256;

std::map<std::string, Reading> g_readings;  // by path, a NUL, and the file's bytes
std::wstring g_error;

template <class Function> Function RealMember(const char* symbol)
{
    void* library = dlopen("libvrnravlib.so", RTLD_NOW | RTLD_NOLOAD);
    if (!library)
        return nullptr;
    Function f = reinterpret_cast<Function>(dlsym(library, symbol));
    dlclose(library);
    return f;
}

int RealRead(CString path, ON_ClassArray<ON_Mesh>& meshes)
{
    using Reader = int (*)(CString, ON_ClassArray<ON_Mesh>&);
    using ErrorText = CString (*)();
    static const Reader read = RealMember<Reader>("_ZN9VrnRavlib9SKPToMeshE7CStringR13ON_ClassArrayI7ON_MeshE");
    static const ErrorText error = RealMember<ErrorText>("_ZN9VrnRavlib8GetErrorEv");
    if (!read || !error) {
        g_error = L"the fuzzer cannot find the model reader";
        return 0;
    }
    const int result = read(path, meshes);
    g_error = error().GetString();
    return result;
}

// The file's bytes, when it is an ordinary file small enough to keep.
bool SmallFile(const std::string& file, std::string& bytes)
{
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > static_cast<off_t>(kLargestCached))
        return false;
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (!f)
        return false;
    bytes.resize(static_cast<size_t>(st.st_size));
    const size_t got = bytes.empty() ? 0 : std::fread(&bytes[0], 1, bytes.size(), f);
    std::fclose(f);
    return got == bytes.size();
}

}  // namespace

int VrnRavlib::SKPToMesh(CString path, ON_ClassArray<ON_Mesh>& meshes)
{
    const std::string file = standin::narrow(std::wstring(path.GetString()));
    std::string bytes;
    if (file.find('\0') != std::string::npos || !SmallFile(file, bytes))
        return RealRead(path, meshes);
    const std::string key = file + '\0' + bytes;
    auto it = g_readings.find(key);
    if (it == g_readings.end()) {
        ON_ClassArray<ON_Mesh> read;
        Reading reading;
        reading.result = RealRead(path, read);
        reading.error = g_error;
        for (int i = 0; i < read.Count(); ++i)
            reading.meshes.push_back(read[i]);
        if (g_readings.size() >= kMostCached)
            g_readings.clear();
        it = g_readings.emplace(key, std::move(reading)).first;
    }
    const Reading& reading = it->second;
    g_error = reading.error;
    if (reading.result)
        for (const ON_Mesh& mesh : reading.meshes)
            meshes.Append(mesh);
    return reading.result;
}

CString VrnRavlib::GetError()
{
    return CString(g_error.c_str());
}
