// CDialog: modal dialogs made from the templates of the current resources.
#include "Internal.h"
#include "afxwin.h"
#include "standin/Resources.h"
#include "standin/User.h"

#include <cstdio>
#include <cstring>

using standin::detail::findWindow;
using standin::detail::Window;

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog()
    : m_lpszTemplateName(nullptr), m_nIDHelp(0), m_pParentWnd(nullptr), m_nModalResult(-1), m_bEnded(false),
      m_bInModal(false)
{}

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_lpszTemplateName(MAKEINTRESOURCEW(templateId)), m_nIDHelp(templateId), m_pParentWnd(parent), m_nModalResult(-1),
      m_bEnded(false), m_bInModal(false)
{}

CDialog::CDialog(LPCTSTR templateName, CWnd* parent)
    : m_lpszTemplateName(templateName), m_nIDHelp(0), m_pParentWnd(parent), m_nModalResult(-1), m_bEnded(false),
      m_bInModal(false)
{
    if (templateName && IS_INTRESOURCE(templateName))
        m_nIDHelp = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(templateName));
}

CDialog::~CDialog() = default;

namespace {

// Destroys the dialog's window however DoModal is left.
struct ModalScope {
    CDialog& dialog;
    bool& inModal;
    ~ModalScope()
    {
        if (dialog.m_hWnd)
            ::DestroyWindow(dialog.m_hWnd);
        inModal = false;
    }
};

}  // namespace

namespace {
bool failNextCreation = false;
}  // namespace

void standin::failNextDialogCreation()
{
    failNextCreation = true;
}

INT_PTR CDialog::DoModal()
{
    if (m_bInModal || m_hWnd || !m_lpszTemplateName)
        return -1;
    if (failNextCreation) {
        failNextCreation = false;
        return -1;
    }
    // The template is looked for in the current resources only.
    HINSTANCE resources = AfxGetResourceHandle();
    HRSRC found = ::FindResourceW(resources, m_lpszTemplateName, RT_DIALOG);
    if (!found) {
        std::fprintf(stderr, "mfc: dialog template %u is not in the current resources\n", m_nIDHelp);
        return -1;
    }
    const auto* tmpl = static_cast<const standin::DialogTemplate*>(::LockResource(::LoadResource(resources, found)));
    if (!tmpl || ::SizeofResource(resources, found) < sizeof(standin::DialogTemplate) ||
        tmpl->magic != standin::kDialogMagic) {
        std::fprintf(stderr, "mfc: dialog template %u is damaged\n", m_nIDHelp);
        return -1;
    }
    HWND owner = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
    if (owner && !::IsWindow(owner))
        owner = nullptr;
    HWND dialog = standin::detail::createWindow(L"#32770", tmpl->caption ? tmpl->caption : L"", tmpl->style,
                                                tmpl->exStyle, tmpl->x, tmpl->y, tmpl->cx, tmpl->cy, nullptr, 0);
    if (!dialog)
        return -1;
    if (Window* w = findWindow(dialog))
        w->parent = owner;  // owned, not a child of the owner
    Attach(dialog);
    for (uint32_t i = 0; i < tmpl->itemCount; ++i) {
        const standin::DialogItemTemplate& item = tmpl->items[i];
        int id = item.id;
        standin::detail::createWindow(item.className ? item.className : L"Static", item.text ? item.text : L"",
                                      item.style | WS_CHILD, item.exStyle, item.x, item.y, item.cx, item.cy, dialog,
                                      id);
    }
    m_bInModal = true;
    m_bEnded = false;
    m_nModalResult = -1;
    ModalScope scope{*this, m_bInModal};

    ::SendMessageW(dialog, WM_INITDIALOG, 0, 0);
    if (!m_bEnded) {
        standin::DialogSession session(*this);
        standin::currentUser().operateDialog(session);
        if (!m_bEnded)
            session.escape();  // leaving without ending it counts as Escape
        if (!m_bEnded) {
            // OnCancel chose to keep the dialog up, but nobody is left to work it.
            std::fprintf(stderr, "mfc: dialog %u left open by its user; ended with IDCANCEL\n", m_nIDHelp);
            EndDialog(IDCANCEL);
        }
    }
    return m_nModalResult;
}

BOOL CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_INITDIALOG) {
        BOOL focus = OnInitDialog();
        if (result)
            *result = focus;
        return TRUE;
    }
    return CWnd::OnWndMsg(message, wParam, lParam, result);
}

BOOL CDialog::OnInitDialog()
{
    if (!ExecuteDlgInit(m_lpszTemplateName)) {
        std::fprintf(stderr, "mfc: the initialisation data of dialog %u failed\n", m_nIDHelp);
        EndDialog(-1);
        return FALSE;
    }
    if (!UpdateData(FALSE)) {
        std::fprintf(stderr, "mfc: the data exchange of dialog %u failed while it opened\n", m_nIDHelp);
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;  // the dialog stays open
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int result)
{
    m_nModalResult = result;
    m_bEnded = true;
}

void CDialog::SetDefID(UINT id)
{
    ::SendMessageW(m_hWnd, DM_SETDEFID, id, 0);
}

DWORD CDialog::GetDefID() const
{
    return static_cast<DWORD>(::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0));
}

BOOL CDialog::ExecuteDlgInit(LPCTSTR resourceName)
{
    if (!resourceName)
        return TRUE;
    HINSTANCE resources = AfxGetResourceHandle();
    HRSRC found = ::FindResourceW(resources, resourceName, RT_DLGINIT);
    if (!found)
        return TRUE;  // a dialog without initialisation data
    const void* data = ::LockResource(::LoadResource(resources, found));
    if (!data)
        return FALSE;
    return ExecuteDlgInit(static_cast<const BYTE*>(data), ::SizeofResource(resources, found));
}

BOOL CDialog::ExecuteDlgInit(LPVOID resource)
{
    if (!resource)
        return TRUE;
    // No size is known: read up to the terminating record.
    return ExecuteDlgInit(static_cast<const BYTE*>(resource), 0xFFFFFFFFu);
}

BOOL CDialog::ExecuteDlgInit(const BYTE* data, DWORD size)
{
    DWORD pos = 0;
    while (pos + 2 <= size) {
        WORD id;
        std::memcpy(&id, data + pos, 2);
        if (id == 0)
            return TRUE;
        if (size - pos < 8)
            return FALSE;  // a record cut short
        WORD message;
        DWORD length;
        std::memcpy(&message, data + pos + 2, 2);
        std::memcpy(&length, data + pos + 4, 4);
        pos += 8;
        if (length > size - pos)
            return FALSE;
        // The resource editor writes the 16-bit Windows message numbers.
        UINT msg = message;
        if (message == 0x0401)
            msg = LB_ADDSTRING;
        else if (message == 0x0403)
            msg = CB_ADDSTRING;
        else if (message == 0x1234)
            msg = CBEM_INSERTITEM;
        std::string text(reinterpret_cast<const char*>(data + pos), length);
        text = text.c_str();  // up to the terminating zero
        int control = id == 0xFFFF ? -1 : static_cast<int>(id);
        if (msg == CBEM_INSERTITEM) {
            return FALSE;  // extended combo boxes are not part of this platform
        } else if (::SendDlgItemMessageA(m_hWnd, control, msg, 0, reinterpret_cast<LPARAM>(text.c_str())) == -1) {
            return FALSE;
        }
        pos += length;
    }
    return TRUE;  // the data ended without its terminating record
}

// --- DialogSession ---------------------------------------------------------------------

namespace standin {

namespace {

Window* control(const CDialog& dialog, int id)
{
    return findWindow(::GetDlgItem(dialog.m_hWnd, id));
}

bool usable(const Window* w)
{
    return w && w->enabled && w->visible;
}

DialogControl describe(const Window& w)
{
    DialogControl c;
    c.id = w.id;
    c.kind = detail::kindOf(w);
    c.className = w.className;
    c.text = w.text;
    c.enabled = w.enabled;
    c.visible = w.visible;
    c.defaultButton = c.kind == ControlKind::PushButton && (w.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    c.tabStop = (w.style & WS_TABSTOP) != 0;
    c.style = w.style;
    c.x = w.x;
    c.y = w.y;
    c.width = w.cx;
    c.height = w.cy;
    return c;
}

}  // namespace

DialogSession::DialogSession(CDialog& dialog) : dialog_(dialog) {}

std::wstring DialogSession::title() const
{
    Window* w = findWindow(dialog_.m_hWnd);
    return w ? w->text : std::wstring();
}

int DialogSession::templateId() const
{
    return IS_INTRESOURCE(dialog_.m_lpszTemplateName)
        ? static_cast<int>(reinterpret_cast<ULONG_PTR>(dialog_.m_lpszTemplateName))
        : 0;
}

HWND DialogSession::window() const
{
    return dialog_.m_hWnd;
}

std::vector<DialogControl> DialogSession::controls() const
{
    std::vector<DialogControl> out;
    Window* d = findWindow(dialog_.m_hWnd);
    if (!d)
        return out;
    for (HWND h : d->children)
        if (Window* w = findWindow(h))
            out.push_back(describe(*w));
    return out;
}

bool DialogSession::hasControl(int id) const
{
    return standin::control(dialog_, id) != nullptr;
}

DialogControl DialogSession::control(int id) const
{
    Window* w = standin::control(dialog_, id);
    return w ? describe(*w) : DialogControl();
}

std::vector<std::wstring> DialogSession::comboItems(int id) const
{
    Window* w = standin::control(dialog_, id);
    if (!w || detail::kindOf(*w) != ControlKind::ComboBox)
        return {};
    return w->items;
}

int DialogSession::comboSelection(int id) const
{
    Window* w = standin::control(dialog_, id);
    if (!w || detail::kindOf(*w) != ControlKind::ComboBox)
        return CB_ERR;
    return static_cast<int>(::SendMessageW(w->handle, CB_GETCURSEL, 0, 0));
}

bool DialogSession::selectComboItem(int id, const std::wstring& text)
{
    Window* w = standin::control(dialog_, id);
    if (!usable(w) || detail::kindOf(*w) != ControlKind::ComboBox)
        return false;
    int index = static_cast<int>(
        ::SendMessageW(w->handle, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str())));
    if (index == CB_ERR)
        return false;
    return setComboSelection(id, index);
}

bool DialogSession::setComboSelection(int id, int index)
{
    Window* w = standin::control(dialog_, id);
    if (!usable(w) || detail::kindOf(*w) != ControlKind::ComboBox)
        return false;
    if (index < 0 || index >= static_cast<int>(w->items.size()))
        return false;
    bool changed = w->selection != index;
    HWND h = w->handle;
    ::SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (changed) {
        if (Window* again = findWindow(h))
            detail::notifyParent(*again, CBN_SELCHANGE);
    }
    if (Window* again = findWindow(h))
        detail::notifyParent(*again, CBN_SELENDOK);
    return true;
}

int DialogSession::checkState(int id) const
{
    Window* w = standin::control(dialog_, id);
    if (!w || detail::classOf(*w) != detail::Class::Button)
        return -1;
    return static_cast<int>(::SendMessageW(w->handle, BM_GETCHECK, 0, 0));
}

bool DialogSession::setCheck(int id, int state)
{
    Window* w = standin::control(dialog_, id);
    if (!usable(w))
        return false;
    ControlKind kind = detail::kindOf(*w);
    if (kind != ControlKind::CheckBox && kind != ControlKind::RadioButton)
        return false;
    HWND h = w->handle;
    for (int clicks = 0; clicks < 3; ++clicks) {
        if (checkState(id) == state)
            return true;
        Window* now = findWindow(h);
        if (!usable(now))
            return false;
        detail::click(h);
        if (ended())
            break;
    }
    return checkState(id) == state;
}

std::wstring DialogSession::text(int id) const
{
    Window* w = standin::control(dialog_, id);
    return w ? w->text : std::wstring();
}

bool DialogSession::setText(int id, const std::wstring& value)
{
    Window* w = standin::control(dialog_, id);
    if (!usable(w))
        return false;
    ControlKind kind = detail::kindOf(*w);
    if (kind == ControlKind::Edit) {
        if (w->style & ES_READONLY)
            return false;
        w->text = value;
        detail::notifyParent(*w, EN_CHANGE);
        return true;
    }
    if (kind == ControlKind::ComboBox && (w->style & 3) != CBS_DROPDOWNLIST) {
        w->text = value;
        w->selection = -1;
        detail::notifyParent(*w, CBN_EDITCHANGE);
        return true;
    }
    return false;
}

int DialogSession::defaultButton() const
{
    LRESULT r = ::SendMessageW(dialog_.m_hWnd, DM_GETDEFID, 0, 0);
    return HIWORD(r) == DC_HASDEFID ? static_cast<int>(LOWORD(r)) : IDOK;
}

bool DialogSession::press(int buttonId)
{
    if (ended())
        return false;
    Window* w = standin::control(dialog_, buttonId);
    if (!usable(w) || detail::kindOf(*w) != ControlKind::PushButton)
        return false;
    detail::click(w->handle);
    return true;
}

void DialogSession::escape()
{
    if (ended() || !dialog_.m_hWnd)
        return;
    HWND cancel = ::GetDlgItem(dialog_.m_hWnd, IDCANCEL);
    ::SendMessageW(dialog_.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
}

bool DialogSession::ended() const
{
    return dialog_.m_bEnded;
}

INT_PTR DialogSession::result() const
{
    return dialog_.m_nModalResult;
}

}  // namespace standin
