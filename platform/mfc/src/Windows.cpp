// Windows, controls and their messages.
#include "Internal.h"
#include "afxwin.h"
#include "standin/WideFormat.h"
#include "standin/Win32.h"

#include <algorithm>
#include <cwctype>
#include <map>

namespace standin {
namespace detail {

namespace {

struct Registry {
    std::map<HWND, std::unique_ptr<Window>> windows;
    uintptr_t next = 0x10010;
};

Registry& registry()
{
    static Registry* r = new Registry;  // windows may be destroyed during exit
    return *r;
}

std::wstring upper(std::wstring s)
{
    for (auto& c : s)
        c = static_cast<wchar_t>(std::towupper(c));
    return s;
}

Window* child(HWND dialog, int id)
{
    Window* d = findWindow(dialog);
    if (!d)
        return nullptr;
    for (HWND h : d->children) {
        Window* w = findWindow(h);
        if (w && w->id == id)
            return w;
    }
    return nullptr;
}

int buttonType(const Window& w)
{
    return static_cast<int>(w.style & BS_TYPEMASK);
}

bool isCheckType(int type)
{
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_3STATE ||
        type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON;
}

int maxCheck(int type)
{
    return (type == BS_3STATE || type == BS_AUTO3STATE) ? BST_INDETERMINATE : BST_CHECKED;
}

int comboType(const Window& w)
{
    return static_cast<int>(w.style & 3);
}

void syncComboText(Window& w)
{
    if (w.selection >= 0 && w.selection < static_cast<int>(w.items.size()))
        w.text = w.items[static_cast<size_t>(w.selection)];
    else if (comboType(w) == CBS_DROPDOWNLIST)
        w.text.clear();
}

int findItem(const Window& w, int startAfter, const wchar_t* text, bool exact)
{
    if (!text)
        return CB_ERR;
    int count = static_cast<int>(w.items.size());
    if (count == 0)
        return CB_ERR;
    std::wstring wanted = upper(text);
    int first = (startAfter < -1 || startAfter >= count) ? 0 : startAfter + 1;
    for (int k = 0; k < count; ++k) {
        int i = (first + k) % count;
        std::wstring item = upper(w.items[static_cast<size_t>(i)]);
        if (exact ? item == wanted : item.compare(0, wanted.size(), wanted) == 0)
            return i;
    }
    return CB_ERR;
}

LRESULT copyText(const std::wstring& text, WPARAM size, LPARAM buffer)
{
    if (!buffer || size == 0)
        return 0;
    wchar_t* out = reinterpret_cast<wchar_t*>(buffer);
    size_t n = std::min(text.size(), static_cast<size_t>(size) - 1);
    std::wmemcpy(out, text.data(), n);
    out[n] = 0;
    return static_cast<LRESULT>(n);
}

LRESULT listProc(Window& w, UINT message, WPARAM wParam, LPARAM lParam, bool combo)
{
    const int err = combo ? CB_ERR : LB_ERR;
    int count = static_cast<int>(w.items.size());
    auto insert = [&](int index, const wchar_t* text) -> LRESULT {
        std::wstring item = text ? text : L"";
        bool sorted = combo ? (w.style & CBS_SORT) != 0 : (w.style & LBS_SORT) != 0;
        if (index < 0 && sorted) {
            index = 0;
            while (index < count && compareNoCase(w.items[static_cast<size_t>(index)], item) <= 0)
                ++index;
        } else if (index < 0) {
            index = count;
        } else if (index > count) {
            return err;
        }
        w.items.insert(w.items.begin() + index, item);
        w.itemData.insert(w.itemData.begin() + index, 0);
        if (w.selection >= index)
            ++w.selection;
        return index;
    };
    switch (message) {
    case CB_ADDSTRING: return insert(-1, reinterpret_cast<const wchar_t*>(lParam));
    case CB_INSERTSTRING:
        return insert(static_cast<int>(static_cast<INT_PTR>(wParam)), reinterpret_cast<const wchar_t*>(lParam));
    case CB_DELETESTRING: {
        int i = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (i < 0 || i >= count)
            return err;
        w.items.erase(w.items.begin() + i);
        w.itemData.erase(w.itemData.begin() + i);
        if (w.selection == i)
            w.selection = -1;
        else if (w.selection > i)
            --w.selection;
        syncComboText(w);
        return count - 1;
    }
    case CB_GETCOUNT: return count;
    case CB_GETCURSEL: return w.selection;
    case CB_SETCURSEL: {
        // An index outside the list (or -1) clears the selection and answers CB_ERR.
        int i = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (i < 0 || i >= count) {
            w.selection = -1;
            syncComboText(w);
            return err;
        }
        w.selection = i;
        syncComboText(w);
        return i;
    }
    case CB_GETLBTEXT: {
        int i = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (i < 0 || i >= count || !lParam)
            return err;
        const std::wstring& item = w.items[static_cast<size_t>(i)];
        wchar_t* out = reinterpret_cast<wchar_t*>(lParam);
        std::wmemcpy(out, item.data(), item.size());
        out[item.size()] = 0;
        return static_cast<LRESULT>(item.size());
    }
    case CB_GETLBTEXTLEN: {
        int i = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (i < 0 || i >= count)
            return err;
        return static_cast<LRESULT>(w.items[static_cast<size_t>(i)].size());
    }
    case CB_RESETCONTENT:
        w.items.clear();
        w.itemData.clear();
        w.selection = -1;
        syncComboText(w);
        return CB_OKAY;
    case CB_FINDSTRING:
        return findItem(w, static_cast<int>(static_cast<INT_PTR>(wParam)), reinterpret_cast<const wchar_t*>(lParam),
                        false);
    case CB_FINDSTRINGEXACT:
        return findItem(w, static_cast<int>(static_cast<INT_PTR>(wParam)), reinterpret_cast<const wchar_t*>(lParam),
                        true);
    case CB_SELECTSTRING: {
        int i = findItem(w, static_cast<int>(static_cast<INT_PTR>(wParam)), reinterpret_cast<const wchar_t*>(lParam),
                         false);
        if (i == CB_ERR)
            return err;
        w.selection = i;
        syncComboText(w);
        return i;
    }
    case CB_GETITEMDATA: {
        int i = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (i < 0 || i >= count)
            return err;
        return w.itemData[static_cast<size_t>(i)];
    }
    case CB_SETITEMDATA: {
        int i = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (i < 0 || i >= count)
            return err;
        w.itemData[static_cast<size_t>(i)] = lParam;
        return 0;
    }
    default: return 0;
    }
}

}  // namespace

Window* findWindow(HWND handle)
{
    if (!handle)
        return nullptr;
    auto& windows = registry().windows;
    auto it = windows.find(handle);
    return it == windows.end() ? nullptr : it->second.get();
}

Class classOf(const Window& w)
{
    std::wstring c = upper(w.className);
    if (c == L"#32770")
        return Class::Dialog;
    if (c == L"KVFRAME")
        return Class::Frame;
    if (c == L"BUTTON")
        return Class::Button;
    if (c == L"COMBOBOX")
        return Class::ComboBox;
    if (c == L"LISTBOX")
        return Class::ListBox;
    if (c == L"EDIT")
        return Class::Edit;
    if (c == L"STATIC")
        return Class::Static;
    return Class::Other;
}

ControlKind kindOf(const Window& w)
{
    switch (classOf(w)) {
    case Class::Button:
        switch (buttonType(w)) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
        case BS_PUSHBOX:
        case BS_OWNERDRAW:
        case BS_USERBUTTON: return ControlKind::PushButton;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE: return ControlKind::CheckBox;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: return ControlKind::RadioButton;
        case BS_GROUPBOX: return ControlKind::GroupBox;
        default: return ControlKind::Other;
        }
    case Class::ComboBox: return ControlKind::ComboBox;
    case Class::ListBox: return ControlKind::ListBox;
    case Class::Edit: return ControlKind::Edit;
    case Class::Static: return ControlKind::Static;
    default: return ControlKind::Other;
    }
}

HWND createWindow(const std::wstring& className, const std::wstring& text, DWORD style, DWORD exStyle, int x, int y,
                  int cx, int cy, HWND parent, int id)
{
    Registry& r = registry();
    if (parent && !findWindow(parent))
        return nullptr;
    auto w = std::make_unique<Window>();
    w->handle = reinterpret_cast<HWND>(r.next);
    r.next += 4;
    w->parent = parent;
    w->id = id;
    w->className = className;
    w->text = text;
    w->style = style;
    w->exStyle = exStyle;
    w->enabled = (style & WS_DISABLED) == 0;
    w->visible = (style & WS_VISIBLE) != 0;
    w->x = x;
    w->y = y;
    w->cx = cx;
    w->cy = cy;
    if (classOf(*w) == Class::ComboBox && comboType(*w) == CBS_DROPDOWNLIST)
        w->text.clear();
    HWND h = w->handle;
    r.windows.emplace(h, std::move(w));
    if (parent)
        findWindow(parent)->children.push_back(h);
    return h;
}

void notifyParent(const Window& control, int code)
{
    if (!control.parent)
        return;
    ::SendMessageW(control.parent, WM_COMMAND, MAKEWPARAM(control.id, code), reinterpret_cast<LPARAM>(control.handle));
}

void click(HWND button)
{
    Window* w = findWindow(button);
    if (!w || classOf(*w) != Class::Button)
        return;
    int type = buttonType(*w);
    if (type == BS_AUTOCHECKBOX) {
        w->check = w->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    } else if (type == BS_AUTO3STATE) {
        w->check = (w->check + 1) % 3;
    } else if (type == BS_AUTORADIOBUTTON) {
        // Checks this one and clears the others of its group.
        Window* parent = findWindow(w->parent);
        if (parent) {
            const auto& kids = parent->children;
            auto self = std::find(kids.begin(), kids.end(), button);
            auto first = self;
            while (first != kids.begin()) {
                Window* c = findWindow(*first);
                if (c && (c->style & WS_GROUP))
                    break;
                --first;
            }
            for (auto it = first; it != kids.end(); ++it) {
                Window* c = findWindow(*it);
                if (!c)
                    continue;
                if (it != first && (c->style & WS_GROUP))
                    break;
                if (classOf(*c) == Class::Button && buttonType(*c) == BS_AUTORADIOBUTTON)
                    c->check = BST_UNCHECKED;
            }
        }
        w->check = BST_CHECKED;
    }
    HWND parent = w->parent;
    int id = w->id;
    if (parent)
        ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

LRESULT classProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* w = findWindow(handle);
    if (!w)
        return 0;
    switch (message) {
    case WM_SETTEXT: w->text = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L""; return TRUE;
    case WM_GETTEXT: return copyText(w->text, wParam, lParam);
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
    default: break;
    }
    switch (classOf(*w)) {
    case Class::Dialog:
        if (message == WM_CLOSE) {
            HWND cancel = GetDlgItem(handle, IDCANCEL);
            ::SendMessageW(handle, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
        } else if (message == DM_GETDEFID) {
            int id = w->defId;
            if (!id) {
                for (HWND h : w->children) {
                    Window* c = findWindow(h);
                    if (c && classOf(*c) == Class::Button && buttonType(*c) == BS_DEFPUSHBUTTON) {
                        id = c->id;
                        break;
                    }
                }
            }
            return id ? MAKELONG(id, DC_HASDEFID) : MAKELONG(IDOK, DC_HASDEFID);
        } else if (message == DM_SETDEFID) {
            w->defId = static_cast<int>(wParam);
            return TRUE;
        }
        return 0;
    case Class::Button: {
        int type = buttonType(*w);
        switch (message) {
        case BM_GETCHECK: return isCheckType(type) ? w->check : BST_UNCHECKED;
        case BM_SETCHECK: {
            if (!isCheckType(type))
                return 0;
            // A two-state box shows BST_INDETERMINATE as checked and reads it back as checked.
            WPARAM state = wParam > static_cast<WPARAM>(maxCheck(type)) ? static_cast<WPARAM>(maxCheck(type)) : wParam;
            w->check = static_cast<int>(state);
            return 0;
        }
        case BM_GETSTATE: return isCheckType(type) ? w->check : 0;
        case BM_SETSTYLE:
            w->style = (w->style & ~static_cast<DWORD>(0xFFFF)) | static_cast<DWORD>(LOWORD(wParam));
            return 0;
        case BM_CLICK:
            if (w->enabled && w->visible)
                click(handle);
            return 0;
        default: return 0;
        }
    }
    case Class::ComboBox: return listProc(*w, message, wParam, lParam, true);
    case Class::ListBox:
        switch (message) {
        case LB_ADDSTRING: return listProc(*w, CB_ADDSTRING, wParam, lParam, false);
        case LB_GETCOUNT: return listProc(*w, CB_GETCOUNT, wParam, lParam, false);
        default: return 0;
        }
    default: return 0;
    }
}

int compareNoCase(const std::wstring& a, const std::wstring& b)
{
    return _wcsicmp(a.c_str(), b.c_str());
}

std::wstring withoutMnemonic(const std::wstring& text)
{
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&') {
            if (i + 1 < text.size() && text[i + 1] == L'&') {
                out += L'&';
                ++i;
            }
            continue;
        }
        out += text[i];
    }
    return out;
}

}  // namespace detail

HWND createTopLevelWindow(const std::wstring& title)
{
    return detail::createWindow(L"KvFrame", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 0, 800, 600, nullptr, 0);
}

}  // namespace standin

using standin::detail::findWindow;
using standin::detail::Window;

// --- Win32 ---------------------------------------------------------------------

extern "C" {

BOOL WINAPI IsWindow(HWND window)
{
    return findWindow(window) != nullptr;
}

BOOL WINAPI DestroyWindow(HWND window)
{
    Window* w = findWindow(window);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    std::vector<HWND> kids = w->children;
    for (HWND k : kids)
        DestroyWindow(k);
    w = findWindow(window);
    if (!w)
        return TRUE;
    if (Window* parent = findWindow(w->parent)) {
        auto& siblings = parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
    }
    if (w->permanent) {
        w->permanent->m_hWnd = nullptr;
        w->permanent = nullptr;
    }
    std::unique_ptr<CWnd> temporary = std::move(w->temporary);
    if (temporary)
        temporary->m_hWnd = nullptr;
    auto& windows = standin::detail::registry().windows;
    windows.erase(window);
    temporary.reset();
    return TRUE;
}

HWND WINAPI GetParent(HWND window)
{
    Window* w = findWindow(window);
    return w ? w->parent : nullptr;
}

HWND WINAPI GetDlgItem(HWND dialog, int id)
{
    Window* w = standin::detail::child(dialog, id);
    if (!w) {
        SetLastError(findWindow(dialog) ? ERROR_CONTROL_ID_NOT_FOUND : ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return w->handle;
}

int WINAPI GetDlgCtrlID(HWND window)
{
    Window* w = findWindow(window);
    return w ? w->id : 0;
}

LRESULT WINAPI SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* w = findWindow(window);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (w->permanent)
        return w->permanent->WindowProc(message, wParam, lParam);
    return standin::detail::classProc(window, message, wParam, lParam);
}

LRESULT WINAPI SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND control = GetDlgItem(dialog, id);
    return control ? SendMessageW(control, message, wParam, lParam) : 0;
}

LRESULT WINAPI SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND control = GetDlgItem(dialog, id);
    if (!control)
        return 0;
    switch (message) {
    case WM_SETTEXT:
    case CB_ADDSTRING:
    case CB_INSERTSTRING:
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
    case CB_SELECTSTRING:
    case LB_ADDSTRING: {
        // 8-bit text: each byte one character of the ANSI code page.
        std::wstring wide;
        if (lParam)
            for (const unsigned char* s = reinterpret_cast<const unsigned char*>(lParam); *s; ++s)
                wide += static_cast<wchar_t>(*s);
        return SendMessageW(control, message, wParam, lParam ? reinterpret_cast<LPARAM>(wide.c_str()) : 0);
    }
    default: return SendMessageW(control, message, wParam, lParam);
    }
}

BOOL WINAPI SetWindowTextW(HWND window, LPCWSTR text)
{
    if (!findWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0;
}

int WINAPI GetWindowTextW(HWND window, LPWSTR buffer, int bufferMax)
{
    if (!buffer || bufferMax <= 0)
        return 0;
    buffer[0] = 0;
    if (!findWindow(window))
        return 0;
    return static_cast<int>(
        SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(bufferMax), reinterpret_cast<LPARAM>(buffer)));
}

int WINAPI GetWindowTextLengthW(HWND window)
{
    return static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
}

BOOL WINAPI EnableWindow(HWND window, BOOL enable)
{
    Window* w = findWindow(window);
    if (!w)
        return FALSE;
    BOOL wasDisabled = !w->enabled;
    w->enabled = enable != FALSE;
    if (w->enabled)
        w->style &= ~static_cast<DWORD>(WS_DISABLED);
    else
        w->style |= WS_DISABLED;
    return wasDisabled;
}

BOOL WINAPI IsWindowEnabled(HWND window)
{
    Window* w = findWindow(window);
    return w && w->enabled;
}

BOOL WINAPI ShowWindow(HWND window, int command)
{
    Window* w = findWindow(window);
    if (!w)
        return FALSE;
    BOOL wasVisible = w->visible;
    w->visible = command != SW_HIDE;
    if (w->visible)
        w->style |= WS_VISIBLE;
    else
        w->style &= ~static_cast<DWORD>(WS_VISIBLE);
    return wasVisible;
}

BOOL WINAPI IsWindowVisible(HWND window)
{
    Window* w = findWindow(window);
    return w && w->visible;
}

BOOL WINAPI CheckDlgButton(HWND dialog, int id, UINT check)
{
    HWND control = GetDlgItem(dialog, id);
    if (!control)
        return FALSE;
    SendMessageW(control, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    return control ? static_cast<UINT>(SendMessageW(control, BM_GETCHECK, 0, 0)) : 0;
}

BOOL WINAPI SetDlgItemTextW(HWND dialog, int id, LPCWSTR text)
{
    HWND control = GetDlgItem(dialog, id);
    return control ? SetWindowTextW(control, text) : FALSE;
}

UINT WINAPI GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int bufferMax)
{
    HWND control = GetDlgItem(dialog, id);
    if (!control) {
        if (buffer && bufferMax > 0)
            buffer[0] = 0;
        return 0;
    }
    return static_cast<UINT>(GetWindowTextW(control, buffer, bufferMax));
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result)
{
    Window* w = findWindow(dialog);
    if (!w || !w->permanent)
        return FALSE;
    CDialog* d = dynamic_cast<CDialog*>(w->permanent);
    if (!d)
        return FALSE;
    d->EndDialog(static_cast<int>(result));
    return TRUE;
}

}  // extern "C"
