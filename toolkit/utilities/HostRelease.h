// Host release, system variables and message boxes.
//
// The running host release is told by the first letter of the system
// variable "_VERNUM". Its index (0 = not recognised, 1 to 11 = AutoCAD 2000
// to AutoCAD 2011) selects a name from HostReleaseNames.
#pragma once

#include <afxwin.h>

// Number of host release indexes (0 to 11).
constexpr int kHostReleaseCount = 12;

// The host release names, by release index. Every table of release names in
// the toolkit and in the plug-in is built from this one list.
inline constexpr const wchar_t* const kHostReleaseNameTexts[kHostReleaseCount] = {
    L"AutoCAD ????", L"AutoCAD 2000", L"AutoCAD 2000i", L"AutoCAD 2002", L"AutoCAD 2004", L"AutoCAD 2005",
    L"AutoCAD 2006", L"AutoCAD 2007", L"AutoCAD 2008",  L"AutoCAD 2009", L"AutoCAD 2010", L"AutoCAD 2011",
};

// The utilities group's table of release names, built when the module is
// loaded and destroyed when it is unloaded.
extern CString HostReleaseNames[kHostReleaseCount];

// The index of the running host release, 0 when it is not recognised or
// "_VERNUM" cannot be read.
int GetHostRelease();

// 1 when the running release has the index expectedRelease; otherwise shows
// the incompatibility warning and returns 0 once the user has closed it.
int CheckHostRelease(int expectedRelease);

// System variables. Each returns 1 on success and 0 when the host does not
// know the variable, refuses the value, or the variable has another type.
// A getter that fails leaves its output unchanged.
int GetSysVar(const CString& name, double& value);
int GetSysVar(const CString& name, int& value);
int GetSysVar(const CString& name, CString& value);
int SetSysVar(const CString& name, double value);
int SetSysVar(const CString& name, int value);  // the low 16 bits are sent
int SetSysVar(const CString& name, const CString& value);

// A message box owned by the host's main window, its text formatted
// printf-style from format and the further arguments.
void ShowMessageBox(CString caption, UINT type, const wchar_t* format, ...);
