// Internal parts of the MFC and Windows stand-in shared between its sources.
#pragma once

#include <windows.h>
#include "standin/Dialogs.h"

#include <memory>
#include <string>
#include <vector>

class CWnd;

namespace standin {
namespace detail {

// --- Windows -----------------------------------------------------------------
// Windows belong to the thread that runs the host, as on Windows; the
// registry is not meant for use from other threads.

struct Window {
    HWND handle = nullptr;
    HWND parent = nullptr;
    int id = 0;
    std::wstring className;  // as given ("Button", "ComboBox", "#32770"...)
    std::wstring text;
    DWORD style = 0;
    DWORD exStyle = 0;
    bool enabled = true;
    bool visible = true;
    int x = 0, y = 0, cx = 0, cy = 0;
    CWnd* permanent = nullptr;        // the MFC object attached to it
    std::unique_ptr<CWnd> temporary;  // made by CWnd::FromHandle
    std::vector<HWND> children;       // creation (tab) order
    // Controls.
    std::vector<std::wstring> items;
    std::vector<LPARAM> itemData;
    int selection = -1;
    int check = 0;
    int defId = 0;  // dialogs: DM_SETDEFID
};

enum class Class { Dialog, Frame, Button, ComboBox, ListBox, Edit, Static, Other };

Window* findWindow(HWND handle);
Class classOf(const Window& window);
ControlKind kindOf(const Window& window);
HWND createWindow(const std::wstring& className, const std::wstring& text, DWORD style, DWORD exStyle, int x, int y,
                  int cx, int cy, HWND parent, int id);
// The window procedure of the window's class (what DefWindowProc runs).
LRESULT classProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
// A user's click on a button: changes an automatic box and notifies the parent.
void click(HWND button);
void notifyParent(const Window& control, int code);

// --- Modules and resources ---------------------------------------------------

HMODULE programModule();
bool isModule(HMODULE module);

// --- Message boxes -----------------------------------------------------------

// The buttons of a message box type, the first the default; none for a type
// that is no message box type.
std::vector<int> messageBoxButtons(unsigned type);

// --- Text helpers ------------------------------------------------------------

int compareNoCase(const std::wstring& a, const std::wstring& b);
std::wstring withoutMnemonic(const std::wstring& text);  // "&OK" -> "OK", "&&" -> "&"
bool fileExists(const std::wstring& path);
bool directoryExists(const std::wstring& path);

}  // namespace detail
}  // namespace standin
