// The maker's about box.

#include "VrnGUIUtils.h"

#ifndef MB_OK
#define MB_OK 0x00000000u
#endif
#ifndef MB_ICONINFORMATION
#define MB_ICONINFORMATION 0x00000040u
#endif

void VrnGUIUtils::About(const CString& caption, HWND* owner)
{
    static const wchar_t kText[] = L"Kolvane for AutoCAD\n"
                                   L"Version 1.0\n"
                                   L"\n"
                                   L"Brings SketchUp models into the drawing as meshes, 3D faces, lines or points.\n"
                                   L"\n"
                                   L"Varnett";
    MessageBoxW(owner ? *owner : nullptr, kText, caption.GetString(), MB_OK | MB_ICONINFORMATION);
}
