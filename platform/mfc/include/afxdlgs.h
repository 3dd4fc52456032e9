// MFC's common dialogs: CFileDialog.
#pragma once

#include "afxwin.h"
#include <string>

typedef struct tagOFNW {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCWSTR lpstrFilter;  // NUL-separated pairs, ending with two NULs
    LPWSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;
    LPWSTR lpstrFile;  // in: initial name; out: the full path
    DWORD nMaxFile;
    LPWSTR lpstrFileTitle;
    DWORD nMaxFileTitle;
    LPCWSTR lpstrInitialDir;
    LPCWSTR lpstrTitle;  // NULL: "Open" or "Save As"
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    LPCWSTR lpstrDefExt;
    LPARAM lCustData;
    void* lpfnHook;
    LPCWSTR lpTemplateName;
} OPENFILENAMEW, *LPOPENFILENAMEW;
typedef OPENFILENAMEW OPENFILENAME;

class CFileDialog : public CDialog {
public:
    // MFC 9: `filter` in the form "Text|*.ext;*.ext2|Other|*.x||".
    explicit CFileDialog(BOOL openFileDialog, LPCTSTR defaultExtension = NULL, LPCTSTR fileName = NULL,
                         DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR filter = NULL,
                         CWnd* parent = NULL, DWORD size = 0, BOOL vistaStyle = TRUE);
    ~CFileDialog() override;

    // Asks the current User for a file: IDOK with the chosen path, or IDCANCEL.
    INT_PTR DoModal() override;

    CString GetPathName() const;   // full path of the chosen file
    CString GetFileName() const;   // name and extension
    CString GetFileExt() const;    // extension without the dot
    CString GetFileTitle() const;  // name without the extension
    CString GetFolderPath() const;
    BOOL GetReadOnlyPref() const;

    OPENFILENAME m_ofn;
    BOOL m_bOpenFileDialog;

private:
    CString m_strFilter;          // as given (with '|')
    std::wstring m_strFilterNul;  // with NULs, for m_ofn.lpstrFilter
    CString m_strDefExt;
    CString m_strInitialName;
    CString m_strPath;
    wchar_t m_szFileName[MAX_PATH * 4];
    wchar_t m_szFileTitle[MAX_PATH];
};
