// The menu loaded at initialisation, and the help and about commands. The
// menu file and the help file lie in the module's own folder.
#include <afxwin.h>

#include <cwchar>

#include "aced.h"
#include "adscodes.h"
#include "rxmfcapi.h"

#include "VrnGUIUtils.h"

#include "KolvaneApp.h"

bool GetModuleFolder(CString& folder)
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(ModuleInstance, path, MAX_PATH);
    // A path that filled the whole buffer was cut short: its folder would be
    // some other folder, so it is not used.
    if (length == 0 || length >= MAX_PATH)
        return false;
    path[MAX_PATH - 1] = L'\0';

    // Each part may be as long as the whole path.
    wchar_t drive[MAX_PATH] = {};
    wchar_t dir[MAX_PATH] = {};
    wchar_t fname[MAX_PATH] = {};
    wchar_t ext[MAX_PATH] = {};
    _wsplitpath(path, drive, dir, fname, ext);
    folder.Format(L"%s%s", drive, dir);
    return true;
}

void LoadMenuFile()
{
    CString folder;
    if (!GetModuleFolder(folder))
        return;
    CString menuFile;
    menuFile.Format(L"%sKolvane.mnu", (LPCTSTR)folder);
    acedCommand(RTSTR, L"_menuload", RTSTR, (LPCTSTR)menuFile, RTNONE);
    acedMenuCmd(L"P10=+Kolvane.pop1");
}

void CKolvaneApp::OnHelpCmd()
{
    ShowHelp();
}

void CKolvaneApp::OnAboutCmd()
{
    ShowAbout();
}

void ShowHelp()
{
    BuildProductCaption();
    CString folder;
    UINT_PTR result = 0;
    if (GetModuleFolder(folder)) {
        CString helpFile;
        helpFile.Format(L"%sKolvane.chm", (LPCTSTR)folder);
        result = reinterpret_cast<UINT_PTR>(ShellExecuteW(nullptr, L"open", helpFile, L"", nullptr, SW_SHOW));
    }
    if (result <= 32) {
        MessageBoxW(adsw_acadMainWnd(), L"Error displaying Kolvane for AutoCAD help file.", ProductCaption,
                    MB_ICONWARNING);
    }
}

void ShowAbout()
{
    BuildProductCaption();
    CString caption(ProductCaption);
    VrnGUIUtils::About(caption, nullptr);
}
