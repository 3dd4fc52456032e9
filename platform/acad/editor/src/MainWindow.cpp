// The host's main frame window and UI library.
#include <windows.h>

#include "standin/Win32.h"

#include "acui.h"
#include "rxmfcapi.h"

HWND adsw_acadMainWnd()
{
    static HWND window = standin::createTopLevelWindow(L"AutoCAD - [Drawing1.dwg]");
    return window;
}

HINSTANCE acedGetAcadResourceInstance()
{
    // The host's resources are those of the program itself.
    return GetModuleHandleW(nullptr);
}

void InitAcUiDLL() {}
