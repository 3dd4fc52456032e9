// Message boxes, the shell's document opening, and the C run-time calls.
#include "Internal.h"
#include "standin/User.h"
#include "standin/WideFormat.h"
#include "standin/Win32.h"

#include <sys/stat.h>
#include <climits>
#include <cerrno>
#include <cstdlib>
#include <cwctype>
#include <map>
#include <unistd.h>

namespace {

std::wstring lowerText(std::wstring s)
{
    for (auto& c : s)
        c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

struct Shell {
    std::map<std::wstring, std::wstring> associations;
    std::vector<standin::ShellOpening> openings;
    Shell() { reset(); }
    void reset()
    {
        associations.clear();
        associations[L".chm"] = L"hh.exe";
    }
};

Shell& shell()
{
    static Shell s;
    return s;
}

std::string posix(const std::wstring& path)
{
    std::string p = standin::narrow(path);
    for (auto& c : p)
        if (c == '\\')
            c = '/';
    return p;
}

bool isDir(const std::string& p)
{
    struct stat st;
    return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isFile(const std::string& p)
{
    struct stat st;
    return stat(p.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string parentOf(const std::string& p)
{
    size_t slash = p.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return p.substr(0, slash);
}

}  // namespace

namespace standin {
namespace detail {

std::vector<int> messageBoxButtons(unsigned type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OK: return {IDOK};
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    case MB_CANCELTRYCONTINUE: return {IDCANCEL, IDTRYAGAIN, IDCONTINUE};
    default: return {};
    }
}

bool fileExists(const std::wstring& path)
{
    return isFile(posix(path));
}
bool directoryExists(const std::wstring& path)
{
    return isDir(posix(path));
}

}  // namespace detail

void setFileAssociation(const std::wstring& extension, const std::wstring& program)
{
    std::wstring ext = lowerText(extension);
    if (!ext.empty() && ext[0] != L'.')
        ext.insert(0, 1, L'.');
    if (program.empty())
        shell().associations.erase(ext);
    else
        shell().associations[ext] = program;
}

std::wstring fileAssociation(const std::wstring& extension)
{
    std::wstring ext = lowerText(extension);
    if (!ext.empty() && ext[0] != L'.')
        ext.insert(0, 1, L'.');
    auto it = shell().associations.find(ext);
    return it == shell().associations.end() ? std::wstring() : it->second;
}

void resetFileAssociations()
{
    shell().reset();
}
std::vector<ShellOpening> shellOpenings()
{
    return shell().openings;
}
void clearShellOpenings()
{
    shell().openings.clear();
}

}  // namespace standin

extern "C" {

int WINAPI MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    if (owner && !IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    std::vector<int> buttons = standin::detail::messageBoxButtons(type);
    if (buttons.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int answer = standin::currentUser().messageBox(caption ? caption : L"Error", text ? text : L"", type);
    for (int b : buttons)
        if (b == answer)
            return answer;
    // Escape, or an answer that is none of the buttons.
    if (buttons.size() == 1)
        return IDOK;
    for (int b : buttons)
        if (b == IDCANCEL)
            return IDCANCEL;
    SetLastError(ERROR_CANCELLED);  // a box that cannot be cancelled was not answered
    return 0;
}

HINSTANCE WINAPI ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                               INT showCommand)
{
    (void)owner;
    auto code = [](uintptr_t value) { return reinterpret_cast<HINSTANCE>(value); };
    if (!file || !*file)
        return code(SE_ERR_FNF);
    std::wstring action = verb && *verb ? lowerText(verb) : L"open";
    std::string path = posix(file);
    if (directory && *directory) {
        std::string dir = posix(directory);
        if (!isDir(dir))
            return code(SE_ERR_PNF);
        if (path.empty() || path[0] != '/')
            path = dir + "/" + path;
    }
    bool folder = isDir(path);
    if (!folder && !isFile(path))
        return code(isDir(parentOf(path)) ? SE_ERR_FNF : SE_ERR_PNF);
    char full[PATH_MAX];
    if (realpath(path.c_str(), full))
        path = full;
    std::wstring widePath = standin::widen(path);

    std::wstring program;
    if (folder) {
        if (action != L"open" && action != L"explore")
            return code(SE_ERR_NOASSOC);
        program = L"explorer.exe";
    } else {
        if (action != L"open")
            return code(SE_ERR_NOASSOC);  // only "open" is registered
        size_t slash = widePath.rfind(L'/');
        std::wstring name = widePath.substr(slash == std::wstring::npos ? 0 : slash + 1);
        size_t dot = name.rfind(L'.');
        program = dot == std::wstring::npos ? std::wstring() : standin::fileAssociation(name.substr(dot));
        if (program.empty())
            return code(SE_ERR_NOASSOC);
    }
    standin::ShellOpening opening;
    opening.verb = action;
    opening.file = widePath;
    opening.program = program;
    opening.parameters = parameters ? parameters : L"";
    opening.directory = directory ? directory : L"";
    opening.showCommand = showCommand;
    shell().openings.push_back(opening);
    standin::currentUser().show(L"[shell] " + action + L" " + widePath + L"\n");
    return code(42);
}

// --- C run-time ----------------------------------------------------------------------

void __cdecl _wsplitpath(const wchar_t* path, wchar_t* drive, wchar_t* dir, wchar_t* fname, wchar_t* ext)
{
    auto clear = [&] {
        if (drive)
            drive[0] = 0;
        if (dir)
            dir[0] = 0;
        if (fname)
            fname[0] = 0;
        if (ext)
            ext[0] = 0;
    };
    if (!path) {
        clear();
        errno = EINVAL;
        return;
    }
    std::wstring p = path;
    std::wstring d, folder, name, extension;
    size_t pos = 0;
    if (p.size() >= 2 && p[1] == L':') {
        d = p.substr(0, 2);
        pos = 2;
    }
    size_t lastSep = p.find_last_of(L"/\\");
    if (lastSep != std::wstring::npos && lastSep >= pos) {
        folder = p.substr(pos, lastSep + 1 - pos);
        pos = lastSep + 1;
    }
    std::wstring rest = p.substr(pos);
    size_t dot = rest.rfind(L'.');
    if (dot != std::wstring::npos) {
        name = rest.substr(0, dot);
        extension = rest.substr(dot);
    } else {
        name = rest;
    }
    // A part too long for its buffer clears every part, as the secure run-time does.
    if ((drive && d.size() >= _MAX_DRIVE) || (dir && folder.size() >= _MAX_DIR) ||
        (fname && name.size() >= _MAX_FNAME) || (ext && extension.size() >= _MAX_EXT)) {
        clear();
        errno = ERANGE;
        return;
    }
    if (drive)
        std::wcscpy(drive, d.c_str());
    if (dir)
        std::wcscpy(dir, folder.c_str());
    if (fname)
        std::wcscpy(fname, name.c_str());
    if (ext)
        std::wcscpy(ext, extension.c_str());
}

int __cdecl _vswprintf(wchar_t* buffer, const wchar_t* format, va_list args)
{
    if (!buffer || !format) {
        errno = EINVAL;
        return -1;
    }
    std::wstring text = standin::vformat(format, args);
    std::wmemcpy(buffer, text.data(), text.size());
    buffer[text.size()] = 0;
    return static_cast<int>(text.size());
}

int __cdecl _swprintf(wchar_t* buffer, const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    int n = _vswprintf(buffer, format, args);
    va_end(args);
    return n;
}

int __cdecl _wcsicmp(const wchar_t* a, const wchar_t* b)
{
    for (;; ++a, ++b) {
        wint_t x = std::towlower(static_cast<wint_t>(*a));
        wint_t y = std::towlower(static_cast<wint_t>(*b));
        if (x != y)
            return x < y ? -1 : 1;
        if (x == 0)
            return 0;
    }
}

int __cdecl _wcsnicmp(const wchar_t* a, const wchar_t* b, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        wint_t x = std::towlower(static_cast<wint_t>(a[i]));
        wint_t y = std::towlower(static_cast<wint_t>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
        if (x == 0)
            return 0;
    }
    return 0;
}

wchar_t* __cdecl _wcsupr(wchar_t* text)
{
    if (text)
        for (wchar_t* p = text; *p; ++p)
            *p = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(*p)));
    return text;
}

wchar_t* __cdecl _wcslwr(wchar_t* text)
{
    if (text)
        for (wchar_t* p = text; *p; ++p)
            *p = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(*p)));
    return text;
}

int __cdecl _wtoi(const wchar_t* text)
{
    return text ? static_cast<int>(std::wcstol(text, nullptr, 10)) : 0;
}
double __cdecl _wtof(const wchar_t* text)
{
    return text ? std::wcstod(text, nullptr) : 0.0;
}

}  // extern "C"
