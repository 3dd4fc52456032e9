// The host's window services for applications built with MFC.
#pragma once

#include <windows.h>

// The host's main frame window. A real top-level window of the host
// process, made when the host starts (or at the first call).
HWND adsw_acadMainWnd();

// The host's own resource instance.
HINSTANCE acedGetAcadResourceInstance();
