// VrnGUIUtils: small user-interface helpers of the maker's GUI library.
#pragma once

#include "VrnExport.h"

#include <afx.h>
#include <windows.h>

class VRNGUI_API VrnGUIUtils {
public:
    // The about box: a message box titled with caption that names the
    // product and its version. owner may be null (no owner window).
    static void About(const CString& caption, HWND* owner);
};
