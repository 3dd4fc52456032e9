// CFileDialog: the common file dialog, put to the current User.
#include "Internal.h"
#include "afxdlgs.h"
#include "standin/User.h"
#include "standin/WideFormat.h"

#include <climits>
#include <cstdlib>
#include <unistd.h>

CFileDialog::CFileDialog(BOOL openFileDialog, LPCTSTR defaultExtension, LPCTSTR fileName, DWORD flags, LPCTSTR filter,
                         CWnd* parent, DWORD, BOOL)
    : m_ofn(), m_bOpenFileDialog(openFileDialog), m_szFileName(), m_szFileTitle()
{
    m_pParentWnd = parent;
    m_strFilter = filter ? filter : L"";
    m_strDefExt = defaultExtension ? defaultExtension : L"";
    m_strInitialName = fileName ? fileName : L"";
    // MFC turns each '|' of the filter into a NUL.
    m_strFilterNul.assign(m_strFilter.GetString(), static_cast<size_t>(m_strFilter.GetLength()));
    for (auto& c : m_strFilterNul)
        if (c == L'|')
            c = 0;
    m_strFilterNul.push_back(0);
    if (fileName) {
        size_t n = std::wcslen(fileName);
        if (n >= _countof(m_szFileName))
            n = _countof(m_szFileName) - 1;
        std::wmemcpy(m_szFileName, fileName, n);
        m_szFileName[n] = 0;
    }
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.hwndOwner = parent ? parent->GetSafeHwnd() : nullptr;
    m_ofn.lpstrFilter = filter ? m_strFilterNul.c_str() : nullptr;
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = _countof(m_szFileName);
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = _countof(m_szFileTitle);
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLESIZING;
    m_ofn.lpstrDefExt = defaultExtension ? m_strDefExt.GetString() : nullptr;
}

CFileDialog::~CFileDialog() = default;

namespace {

std::wstring absolute(const std::wstring& path)
{
    bool rooted = !path.empty() && (path[0] == L'/' || path[0] == L'\\' || (path.size() >= 2 && path[1] == L':'));
    if (rooted)
        return path;
    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof cwd))
        return path;
    return standin::widen(cwd) + L"/" + path;
}

}  // namespace

INT_PTR CFileDialog::DoModal()
{
    standin::FileRequest request;
    request.open = m_bOpenFileDialog != FALSE;
    request.title = m_ofn.lpstrTitle ? m_ofn.lpstrTitle : L"";
    request.defaultExtension = m_ofn.lpstrDefExt ? m_ofn.lpstrDefExt : L"";
    request.fileName = m_ofn.lpstrFile ? m_ofn.lpstrFile : L"";
    request.filter = m_strFilter.GetString();
    request.flags = m_ofn.Flags;
    for (;;) {
        std::optional<std::wstring> answer = standin::currentUser().chooseFile(request);
        if (!answer || answer->empty())
            return IDCANCEL;
        std::wstring path = absolute(*answer);
        size_t sep = path.find_last_of(L"/\\");
        std::wstring name = path.substr(sep == std::wstring::npos ? 0 : sep + 1);
        if (name.empty())
            continue;  // a folder, not a file: the dialog asks again
        // The default extension goes onto a name typed without one.
        if (name.find(L'.') == std::wstring::npos && !request.defaultExtension.empty()) {
            path += L"." + request.defaultExtension;
            name += L"." + request.defaultExtension;
        }
        std::wstring folder = sep == std::wstring::npos ? std::wstring() : path.substr(0, sep + 1);
        DWORD flags = m_ofn.Flags;
        bool exists = standin::detail::fileExists(path);
        if ((flags & OFN_PATHMUSTEXIST) && !folder.empty() && !standin::detail::directoryExists(folder)) {
            ::MessageBoxW(m_ofn.hwndOwner, (path + L"\nPath does not exist.\nCheck the path and try again.").c_str(),
                          request.open ? L"Open" : L"Save As", MB_OK | MB_ICONWARNING);
            continue;
        }
        if (request.open && (flags & OFN_FILEMUSTEXIST) && !exists) {
            ::MessageBoxW(m_ofn.hwndOwner, (name + L"\nFile not found.\nCheck the file name and try again.").c_str(),
                          L"Open", MB_OK | MB_ICONWARNING);
            continue;
        }
        if (!request.open && (flags & OFN_OVERWRITEPROMPT) && exists) {
            int answer2 =
                ::MessageBoxW(m_ofn.hwndOwner, (name + L" already exists.\nDo you want to replace it?").c_str(),
                              L"Confirm Save As", MB_YESNO | MB_ICONWARNING);
            if (answer2 != IDYES)
                continue;
        }
        if (path.size() >= m_ofn.nMaxFile) {
            ::MessageBoxW(m_ofn.hwndOwner, L"The file name is too long.", request.open ? L"Open" : L"Save As",
                          MB_OK | MB_ICONWARNING);
            continue;
        }
        m_strPath = path.c_str();
        std::wmemcpy(m_ofn.lpstrFile, path.c_str(), path.size() + 1);
        m_ofn.nFileOffset = static_cast<WORD>(path.size() - name.size());
        size_t dot = name.rfind(L'.');
        m_ofn.nFileExtension = dot == std::wstring::npos ? 0 : static_cast<WORD>(m_ofn.nFileOffset + dot + 1);
        if (m_ofn.lpstrFileTitle && m_ofn.nMaxFileTitle) {
            size_t n = std::min(name.size(), static_cast<size_t>(m_ofn.nMaxFileTitle - 1));
            std::wmemcpy(m_ofn.lpstrFileTitle, name.c_str(), n);
            m_ofn.lpstrFileTitle[n] = 0;
        }
        return IDOK;
    }
}

CString CFileDialog::GetPathName() const
{
    return m_strPath;
}

CString CFileDialog::GetFileName() const
{
    int sep = std::max(m_strPath.ReverseFind(L'/'), m_strPath.ReverseFind(L'\\'));
    return m_strPath.Mid(sep + 1);
}

CString CFileDialog::GetFileExt() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind(L'.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind(L'.');
    return dot < 0 ? name : name.Left(dot);
}

CString CFileDialog::GetFolderPath() const
{
    int sep = std::max(m_strPath.ReverseFind(L'/'), m_strPath.ReverseFind(L'\\'));
    return sep < 0 ? CString() : m_strPath.Left(sep);
}

BOOL CFileDialog::GetReadOnlyPref() const
{
    return (m_ofn.Flags & OFN_READONLY) != 0;
}
