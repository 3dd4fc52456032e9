// Generic-text mappings of the C run-time for the wide (UNICODE) build.
#pragma once

#include <windows.h>
#include <cwchar>
#include <cwctype>

typedef wchar_t _TCHAR;
typedef wchar_t _TSCHAR;
typedef wchar_t _TUCHAR;
typedef wint_t _TINT;

#define _tcslen wcslen
#define _tcscpy wcscpy
#define _tcsncpy wcsncpy
#define _tcscat wcscat
#define _tcsncat wcsncat
#define _tcscmp wcscmp
#define _tcsncmp wcsncmp
#define _tcsicmp _wcsicmp
#define _tcsnicmp _wcsnicmp
#define _tcschr wcschr
#define _tcsrchr wcsrchr
#define _tcsstr wcsstr
#define _tcstol wcstol
#define _tcstoul wcstoul
#define _tcstod wcstod
#define _tcsupr _wcsupr
#define _tcslwr _wcslwr
#define _ttoi _wtoi
#define _tstoi _wtoi
#define _tstof _wtof
#define _stprintf _swprintf
#define _vstprintf _vswprintf
#define _tsplitpath _wsplitpath
#define _totupper towupper
#define _totlower towlower
#define _istspace iswspace
#define _istdigit iswdigit
#define _istalpha iswalpha
