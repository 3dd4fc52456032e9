// CCmdTarget, CWnd, the control classes and dialog data exchange.
#include "Internal.h"
#include "afxwin.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cwchar>

using standin::detail::findWindow;
using standin::detail::Window;

// --- message maps ------------------------------------------------------------------

const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

BOOL CCmdTarget::OnCmdMsg(UINT id, int code, void*, AFX_CMDHANDLERINFO*)
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
            if (e->nMessage == WM_COMMAND && e->nCode == static_cast<UINT>(static_cast<WORD>(code)) && id >= e->nID &&
                id <= e->nLastID && e->pfn) {
                (this->*(e->pfn))();
                return TRUE;
            }
        }
    }
    return FALSE;
}

// --- CWnd ----------------------------------------------------------------------------

CWnd::CWnd() : m_hWnd(nullptr) {}

CWnd::~CWnd()
{
    if (m_hWnd) {
        Window* w = findWindow(m_hWnd);
        if (w && w->permanent == this)
            ::DestroyWindow(m_hWnd);
        m_hWnd = nullptr;
    }
}

const AFX_MSGMAP* PASCAL CWnd::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};
    static const AFX_MSGMAP map = {&CCmdTarget::GetThisMessageMap, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const
{
    return GetThisMessageMap();
}

HWND CWnd::GetSafeHwnd() const
{
    const volatile void* self = this;
    return self ? m_hWnd : nullptr;
}

CWnd* PASCAL CWnd::FromHandle(HWND window)
{
    Window* w = findWindow(window);
    if (!w)
        return nullptr;
    if (w->permanent)
        return w->permanent;
    if (!w->temporary) {
        // Of the control's own class, so that code may cast it as MFC code does.
        switch (standin::detail::classOf(*w)) {
        case standin::detail::Class::Button: w->temporary.reset(new CButton); break;
        case standin::detail::Class::ComboBox: w->temporary.reset(new CComboBox); break;
        case standin::detail::Class::Edit: w->temporary.reset(new CEdit); break;
        case standin::detail::Class::Static: w->temporary.reset(new CStatic); break;
        default: w->temporary.reset(new CWnd); break;
        }
        w->temporary->m_hWnd = window;
    }
    return w->temporary.get();
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND window)
{
    Window* w = findWindow(window);
    return w ? w->permanent : nullptr;
}

BOOL CWnd::Attach(HWND window)
{
    Window* w = findWindow(window);
    if (!w || w->permanent || m_hWnd)
        return FALSE;
    w->permanent = this;
    m_hWnd = window;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND h = m_hWnd;
    Window* w = findWindow(h);
    if (w && w->permanent == this)
        w->permanent = nullptr;
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND window)
{
    return Attach(window);
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    if (!parent)
        return FALSE;
    HWND control = ::GetDlgItem(parent->m_hWnd, static_cast<int>(id));
    return control ? SubclassWindow(control) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    return Detach();
}

CWnd* CWnd::GetDlgItem(int id) const
{
    return FromHandle(::GetDlgItem(m_hWnd, id));
}
int CWnd::GetDlgCtrlID() const
{
    return ::GetDlgCtrlID(m_hWnd);
}
CWnd* CWnd::GetParent() const
{
    return FromHandle(::GetParent(m_hWnd));
}
void CWnd::SetWindowText(LPCTSTR text)
{
    ::SetWindowTextW(m_hWnd, text);
}
int CWnd::GetWindowText(LPTSTR buffer, int bufferMax) const
{
    return ::GetWindowTextW(m_hWnd, buffer, bufferMax);
}

void CWnd::GetWindowText(CString& text) const
{
    int length = ::GetWindowTextLengthW(m_hWnd);
    ::GetWindowTextW(m_hWnd, text.GetBufferSetLength(length), length + 1);
    text.ReleaseBuffer();
}

int CWnd::GetWindowTextLength() const
{
    return ::GetWindowTextLengthW(m_hWnd);
}
void CWnd::SetDlgItemText(int id, LPCTSTR text)
{
    ::SetDlgItemTextW(m_hWnd, id, text);
}

int CWnd::GetDlgItemText(int id, CString& text) const
{
    HWND control = ::GetDlgItem(m_hWnd, id);
    text.Empty();
    if (!control)
        return 0;
    FromHandle(control)->GetWindowText(text);
    return text.GetLength();
}

void CWnd::CheckDlgButton(int id, UINT check)
{
    ::CheckDlgButton(m_hWnd, id, check);
}
UINT CWnd::IsDlgButtonChecked(int id) const
{
    return ::IsDlgButtonChecked(m_hWnd, id);
}
BOOL CWnd::EnableWindow(BOOL enable)
{
    return ::EnableWindow(m_hWnd, enable);
}
BOOL CWnd::IsWindowEnabled() const
{
    return ::IsWindowEnabled(m_hWnd);
}
BOOL CWnd::ShowWindow(int command)
{
    return ::ShowWindow(m_hWnd, command);
}
BOOL CWnd::IsWindowVisible() const
{
    return ::IsWindowVisible(m_hWnd);
}
LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendDlgItemMessageW(m_hWnd, id, message, wParam, lParam);
}

int CWnd::MessageBox(LPCTSTR text, LPCTSTR caption, UINT type)
{
    return ::MessageBoxW(m_hWnd, text, caption ? caption : AfxGetModuleState()->m_lpszCurrentAppName, type);
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::UpdateData(BOOL saveAndValidate)
{
    if (!findWindow(m_hWnd))
        return FALSE;
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
        return TRUE;
    } catch (CUserException* e) {
        e->Delete();  // the user has been told already
    } catch (CException* e) {
        e->ReportError(MB_ICONEXCLAMATION);
        e->Delete();
    }
    return FALSE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM)
{
    return OnCmdMsg(LOWORD(wParam), static_cast<int>(HIWORD(wParam)), nullptr, nullptr);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND) {
        BOOL handled = OnCommand(wParam, lParam);
        if (result)
            *result = handled ? 0 : 1;
        return handled;
    }
    return FALSE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return standin::detail::classProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

// --- controls ------------------------------------------------------------------------

int CButton::GetCheck() const
{
    return static_cast<int>(::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0));
}
void CButton::SetCheck(int check)
{
    ::SendMessageW(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(check), 0);
}
UINT CButton::GetState() const
{
    return static_cast<UINT>(::SendMessageW(m_hWnd, BM_GETSTATE, 0, 0));
}

UINT CButton::GetButtonStyle() const
{
    Window* w = findWindow(m_hWnd);
    return w ? static_cast<UINT>(w->style & 0xFF) : 0;
}

namespace {
LRESULT send(HWND h, UINT m, WPARAM w = 0, LPARAM l = 0)
{
    return ::SendMessageW(h, m, w, l);
}
}  // namespace

int CComboBox::GetCount() const
{
    return static_cast<int>(send(m_hWnd, CB_GETCOUNT));
}
int CComboBox::GetCurSel() const
{
    return static_cast<int>(send(m_hWnd, CB_GETCURSEL));
}
int CComboBox::SetCurSel(int select)
{
    return static_cast<int>(send(m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(select)));
}
int CComboBox::AddString(LPCTSTR text)
{
    return static_cast<int>(send(m_hWnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

int CComboBox::InsertString(int index, LPCTSTR text)
{
    return static_cast<int>(send(m_hWnd, CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)));
}

int CComboBox::DeleteString(UINT index)
{
    return static_cast<int>(send(m_hWnd, CB_DELETESTRING, index));
}
void CComboBox::ResetContent()
{
    send(m_hWnd, CB_RESETCONTENT);
}

int CComboBox::GetLBText(int index, LPTSTR buffer) const
{
    return static_cast<int>(send(m_hWnd, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer)));
}

void CComboBox::GetLBText(int index, CString& text) const
{
    int length = GetLBTextLen(index);
    if (length < 0) {
        text.Empty();
        return;
    }
    GetLBText(index, text.GetBufferSetLength(length));
    text.ReleaseBuffer();
}

int CComboBox::GetLBTextLen(int index) const
{
    return static_cast<int>(send(m_hWnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(index)));
}

int CComboBox::FindStringExact(int startAfter, LPCTSTR text) const
{
    return static_cast<int>(
        send(m_hWnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text)));
}

int CComboBox::SelectString(int startAfter, LPCTSTR text)
{
    return static_cast<int>(
        send(m_hWnd, CB_SELECTSTRING, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text)));
}

// --- dialog data exchange --------------------------------------------------------------

CDataExchange::CDataExchange(CWnd* dialogWindow, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialogWindow), m_idLastControl(0), m_bEditLastControl(FALSE)
{}

HWND CDataExchange::PrepareCtrl(int id)
{
    HWND control = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, id) : nullptr;
    if (!control) {
        std::fprintf(stderr, "mfc: dialog data exchange with control %d, which the dialog does not have\n", id);
        AfxThrowNotSupportedException();
    }
    m_idLastControl = static_cast<UINT>(id);
    m_bEditLastControl = FALSE;
    return control;
}

HWND CDataExchange::PrepareEditCtrl(int id)
{
    HWND control = PrepareCtrl(id);
    m_bEditLastControl = TRUE;
    return control;
}

void CDataExchange::Fail()
{
    AfxThrowUserException();
}

void AFXAPI DDX_CBIndex(CDataExchange* pDX, int id, int& index)
{
    HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageW(control, CB_GETCURSEL, 0, 0));  // -1 when none is selected
    else
        ::SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);  // no range check
}

void AFXAPI DDX_Check(CDataExchange* pDX, int id, int& value)
{
    HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageW(control, BM_GETCHECK, 0, 0));
    } else {
        if (value < 0 || value > 2)
            value = 0;  // not a check state: the box is cleared
        ::SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

void AFXAPI DDX_Text(CDataExchange* pDX, int id, CString& value)
{
    HWND control = pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate) {
        CWnd::FromHandle(control)->GetWindowText(value);
    } else {
        ::SetWindowTextW(control, value);
    }
}

void AFXAPI DDX_Text(CDataExchange* pDX, int id, int& value)
{
    HWND control = pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate) {
        CString text;
        CWnd::FromHandle(control)->GetWindowText(text);
        text.Trim();
        const wchar_t* s = text;
        wchar_t* end = nullptr;
        errno = 0;
        long long v = std::wcstoll(s, &end, 10);
        if (text.IsEmpty() || !end || *end != 0 || errno != 0 || v < INT32_MIN || v > INT32_MAX) {
            AfxMessageBox(L"Please enter an integer.", MB_ICONEXCLAMATION);
            pDX->Fail();
        }
        value = static_cast<int>(v);
    } else {
        wchar_t text[32];
        std::swprintf(text, 32, L"%d", value);
        ::SetWindowTextW(control, text);
    }
}

void AFXAPI DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    if (control.m_hWnd)
        return;
    HWND h = pDX->PrepareCtrl(id);
    if (!control.SubclassWindow(h))
        AfxThrowNotSupportedException();
}
