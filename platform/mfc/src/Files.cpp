// FindFirstFileW / FindNextFileW / FindClose and _wunlink over the POSIX file system.
#include "Internal.h"
#include "standin/WideFormat.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <cerrno>
#include <cwctype>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace {

struct Found {
    std::wstring name;
    std::wstring shortName;  // empty when the name is a valid 8.3 name
    DWORD attributes = 0;
    uint64_t size = 0;
    uint64_t written = 0;  // FILETIME units
};

struct Search {
    std::vector<Found> hits;
    size_t next = 0;
};

std::mutex g_mutex;
std::set<Search*> g_searches;

wchar_t up(wchar_t c)
{
    return static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
}

bool wildcard(const wchar_t* p, const wchar_t* s)
{
    // Iterative '*' and '?' matching, case-insensitive.
    const wchar_t* star = nullptr;
    const wchar_t* resume = nullptr;
    while (*s) {
        if (*p == L'*') {
            star = p++;
            resume = s;
        } else if (*p == L'?' || (*p && up(*p) == up(*s))) {
            ++p;
            ++s;
        } else if (star) {
            p = star + 1;
            s = ++resume;
        } else {
            return false;
        }
    }
    while (*p == L'*')
        ++p;
    return *p == 0;
}

bool matches(const std::wstring& pattern, const std::wstring& name)
{
    if (pattern == L"*.*")
        return true;  // also names without a dot
    if (!pattern.empty() && pattern.back() == L'.' && pattern.find_first_of(L"*?") != std::wstring::npos) {
        // "name*." : names without an extension
        if (name.find(L'.') != std::wstring::npos)
            return false;
        return wildcard(pattern.substr(0, pattern.size() - 1).c_str(), name.c_str());
    }
    return wildcard(pattern.c_str(), name.c_str());
}

bool isShortName(const std::wstring& name)
{
    if (name == L"." || name == L"..")
        return true;
    size_t dot = name.find(L'.');
    if (dot != name.rfind(L'.'))
        return false;
    std::wstring base = dot == std::wstring::npos ? name : name.substr(0, dot);
    std::wstring ext = dot == std::wstring::npos ? L"" : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || ext.size() > 3)
        return false;
    for (wchar_t c : name)
        if (c == L' ' || c == L'+' || c == L',' || c == L';' || c == L'=' || c == L'[' || c == L']' || c > 0x7F)
            return false;
    return true;
}

std::wstring shortStem(const std::wstring& name, std::wstring& ext)
{
    size_t dot = name.rfind(L'.');
    std::wstring base = dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
    ext.clear();
    if (dot != std::wstring::npos && dot != 0)
        for (wchar_t c : name.substr(dot + 1))
            if (c != L' ' && c != L'.' && ext.size() < 3)
                ext += c > 0x7F ? L'_' : up(c);
    std::wstring stem;
    for (wchar_t c : base) {
        if (c == L' ' || c == L'.')
            continue;
        if (c == L'+' || c == L',' || c == L';' || c == L'=' || c == L'[' || c == L']' || c > 0x7F)
            c = L'_';
        stem += up(c);
        if (stem.size() == 6)
            break;
    }
    return stem;
}

uint64_t fileTime(time_t t)
{
    return (static_cast<uint64_t>(t) + 11644473600ull) * 10000000ull;
}

void fill(const Found& f, LPWIN32_FIND_DATAW data)
{
    std::memset(data, 0, sizeof *data);
    data->dwFileAttributes = f.attributes;
    data->nFileSizeHigh = static_cast<DWORD>(f.size >> 32);
    data->nFileSizeLow = static_cast<DWORD>(f.size);
    FILETIME t{static_cast<DWORD>(f.written), static_cast<DWORD>(f.written >> 32)};
    data->ftCreationTime = data->ftLastAccessTime = data->ftLastWriteTime = t;
    size_t n = std::min(f.name.size(), static_cast<size_t>(MAX_PATH - 1));
    std::wmemcpy(data->cFileName, f.name.data(), n);
    size_t m = std::min(f.shortName.size(), static_cast<size_t>(13));
    std::wmemcpy(data->cAlternateFileName, f.shortName.data(), m);
}

std::string posix(const std::wstring& path)
{
    std::string p = standin::narrow(path);
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

}  // namespace

extern "C" {

HANDLE WINAPI FindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW data)
{
    if (!pattern || !*pattern || !data) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    std::wstring full = pattern;
    size_t sep = full.find_last_of(L"/\\");
    std::wstring folder = sep == std::wstring::npos ? L"." : full.substr(0, sep + 1);
    std::wstring namePattern = sep == std::wstring::npos ? full : full.substr(sep + 1);
    if (namePattern.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::string dirPath = posix(folder);
    DIR* dir = opendir(dirPath.c_str());
    if (!dir) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::vector<Found> all;
    while (dirent* e = readdir(dir)) {
        Found f;
        f.name = standin::widen(e->d_name);
        struct stat st;
        std::string path = dirPath + "/" + e->d_name;
        if (stat(path.c_str(), &st) == 0) {
            f.attributes = S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
            if (!(st.st_mode & S_IWUSR))
                f.attributes |= FILE_ATTRIBUTE_READONLY;
            if (!S_ISDIR(st.st_mode))
                f.size = static_cast<uint64_t>(st.st_size);
            f.written = fileTime(st.st_mtime);
        }
        if (e->d_name[0] == '.' && f.name != L"." && f.name != L"..")
            f.attributes |= FILE_ATTRIBUTE_HIDDEN;
        all.push_back(f);
    }
    closedir(dir);
    std::sort(all.begin(), all.end(),
              [](const Found& a, const Found& b) { return standin::detail::compareNoCase(a.name, b.name) < 0; });
    // Short names: the first six characters, ~n, and three of the extension.
    std::map<std::wstring, int> used;
    for (Found& f : all) {
        if (isShortName(f.name))
            continue;
        std::wstring ext;
        std::wstring stem = shortStem(f.name, ext);
        int n = ++used[stem + L"." + ext];
        f.shortName = stem + L"~" + std::to_wstring(n) + (ext.empty() ? L"" : L"." + ext);
    }
    auto* search = new Search;
    for (const Found& f : all)
        if (matches(namePattern, f.name) || (!f.shortName.empty() && matches(namePattern, f.shortName)))
            search->hits.push_back(f);
    if (search->hits.empty()) {
        delete search;
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    fill(search->hits[0], data);
    search->next = 1;
    std::lock_guard<std::mutex> lock(g_mutex);
    g_searches.insert(search);
    return search;
}

BOOL WINAPI FindNextFileW(HANDLE find, LPWIN32_FIND_DATAW data)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    auto it = g_searches.find(static_cast<Search*>(find));
    if (it == g_searches.end() || !data) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    Search* s = *it;
    if (s->next >= s->hits.size()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    fill(s->hits[s->next++], data);
    return TRUE;
}

BOOL WINAPI FindClose(HANDLE find)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    auto it = g_searches.find(static_cast<Search*>(find));
    if (it == g_searches.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    delete *it;
    g_searches.erase(it);
    return TRUE;
}

int __cdecl _wunlink(const wchar_t* path)
{
    if (!path) {
        errno = EINVAL;
        return -1;
    }
    std::string p = posix(path);
    struct stat st;
    if (stat(p.c_str(), &st) != 0) {
        errno = ENOENT;
        return -1;
    }
    if (S_ISDIR(st.st_mode) || !(st.st_mode & S_IWUSR)) {
        errno = EACCES;  // a folder, or a read-only file
        return -1;
    }
    if (unlink(p.c_str()) != 0) {
        errno = errno == ENOENT ? ENOENT : EACCES;
        return -1;
    }
    return 0;
}

}  // extern "C"
