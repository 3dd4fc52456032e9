// MFC windows, dialogs, controls, dialog data exchange, message maps and the
// extension-DLL support. Including this header gives the whole MFC stand-in.
#pragma once

#include "afx.h"

class CCmdTarget;
class CWnd;
class CDialog;
class CDataExchange;
class CDynLinkLibrary;
namespace standin {
class DialogSession;
}

// --- Message maps ----------------------------------------------------------

struct AFX_CMDHANDLERINFO;
typedef void (CCmdTarget::*AFX_PMSG)(void);

enum AfxSig : UINT_PTR {
    AfxSig_end = 0,
    AfxSigCmd_v = 1,  // void handler(void) for a command or a control notification
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    UINT_PTR nSig;
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP*(PASCAL* pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                                                                                          \
protected:                                                                                                             \
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();                                                               \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                                         \
    const AFX_MSGMAP* theClass::GetMessageMap() const                                                                  \
    {                                                                                                                  \
        return GetThisMessageMap();                                                                                    \
    }                                                                                                                  \
    const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap()                                                             \
    {                                                                                                                  \
        typedef theClass ThisClass;                                                                                    \
        typedef baseClass TheBaseClass;                                                                                \
        static_assert(sizeof(ThisClass) > 0, "complete class");                                                        \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                                              \
    {                                                                                                                  \
        0, 0, 0, 0, AfxSig_end, (AFX_PMSG)0                                                                            \
    }                                                                                                                  \
    }                                                                                                                  \
    ;                                                                                                                  \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};                      \
    return &messageMap;                                                                                                \
    }

#define ON_COMMAND(id, memberFxn)                                                                                      \
    {WM_COMMAND, 0, (WORD)(id), (WORD)(id), AfxSigCmd_v, static_cast<AFX_PMSG>(memberFxn)},
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                                         \
    {WM_COMMAND, (WORD)(wNotifyCode), (WORD)(id), (WORD)(id), AfxSigCmd_v, static_cast<AFX_PMSG>(memberFxn)},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)

// --- Command targets and windows -----------------------------------------

class CCmdTarget : public CObject {
public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;
    // Runs the handler that the message maps (this class's, then its bases')
    // give for command `id` with notification `code`; FALSE when none does.
    virtual BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo);

protected:
    // The root of every message map (what DECLARE_MESSAGE_MAP declares in
    // the classes below it).
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

class CWnd : public CCmdTarget {
public:
    CWnd();
    ~CWnd() override;

    HWND m_hWnd;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const;  // NULL also for a NULL CWnd*

    // The CWnd of a window: the object attached to it, or a temporary one
    // that lives until the window is destroyed. NULL for no window.
    static CWnd* PASCAL FromHandle(HWND window);
    static CWnd* PASCAL FromHandlePermanent(HWND window);
    BOOL Attach(HWND window);
    HWND Detach();
    BOOL SubclassWindow(HWND window);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const;
    CWnd* GetParent() const;
    void SetWindowText(LPCTSTR text);
    int GetWindowText(LPTSTR buffer, int bufferMax) const;
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const;
    void SetDlgItemText(int id, LPCTSTR text);
    int GetDlgItemText(int id, CString& text) const;
    void CheckDlgButton(int id, UINT check);
    UINT IsDlgButtonChecked(int id) const;
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int command);
    BOOL IsWindowVisible() const;
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    int MessageBox(LPCTSTR text, LPCTSTR caption = NULL, UINT type = MB_OK);
    virtual BOOL DestroyWindow();

    // Dialog data exchange: FALSE when the exchange failed (a value did not
    // validate or a control is missing).
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // The window procedure of an MFC window.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

// --- Controls ---------------------------------------------------------------
// Thin wrappers that add no data, so that a CWnd* of a control may be used as
// one, as MFC code does.

class CButton : public CWnd {
public:
    int GetCheck() const;
    void SetCheck(int check);
    UINT GetState() const;
    UINT GetButtonStyle() const;
};

class CComboBox : public CWnd {
public:
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int select);
    int AddString(LPCTSTR text);
    int InsertString(int index, LPCTSTR text);
    int DeleteString(UINT index);
    void ResetContent();
    int GetLBText(int index, LPTSTR buffer) const;
    void GetLBText(int index, CString& text) const;
    int GetLBTextLen(int index) const;
    int FindStringExact(int startAfter, LPCTSTR text) const;
    int SelectString(int startAfter, LPCTSTR text);
};

class CEdit : public CWnd {};
class CStatic : public CWnd {};

// --- Dialog data exchange ---------------------------------------------------

class CDataExchange {
public:
    CDataExchange(CWnd* dialogWindow, BOOL saveAndValidate);
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    UINT m_idLastControl;
    BOOL m_bEditLastControl;
    // The control's window; throws CNotSupportedException* when the dialog
    // has no control with that id.
    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    // Ends the exchange as failed (throws CUserException*).
    [[noreturn]] void Fail();
};

void AFXAPI DDX_CBIndex(CDataExchange* pDX, int id, int& index);
void AFXAPI DDX_Check(CDataExchange* pDX, int id, int& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int id, CString& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int id, int& value);
void AFXAPI DDX_Control(CDataExchange* pDX, int id, CWnd& control);

// --- Dialogs ------------------------------------------------------------------

class CDialog : public CWnd {
public:
    CDialog();
    explicit CDialog(UINT templateId, CWnd* parent = NULL);
    explicit CDialog(LPCTSTR templateName, CWnd* parent = NULL);
    ~CDialog() override;

    // Creates the dialog from its template, found through the current
    // resource handle, and runs it until EndDialog. The value given to
    // EndDialog (IDOK, IDCANCEL...), or -1 when the dialog could not be made.
    virtual INT_PTR DoModal();
    virtual BOOL OnInitDialog();
    void EndDialog(int result);
    BOOL ExecuteDlgInit(LPCTSTR resourceName);
    BOOL ExecuteDlgInit(LPVOID resource);
    void SetDefID(UINT id);
    DWORD GetDefID() const;

    LPCTSTR m_lpszTemplateName;
    UINT m_nIDHelp;
    CWnd* m_pParentWnd;

protected:
    virtual void OnOK();
    virtual void OnCancel();

    DECLARE_MESSAGE_MAP()

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    friend class standin::DialogSession;
    BOOL ExecuteDlgInit(const BYTE* data, DWORD size);
    INT_PTR m_nModalResult;
    bool m_bEnded;
    bool m_bInModal;
};

// --- Module state and extension DLLs -------------------------------------

template <class TYPE> class CTypedSimpleList {
public:
    CTypedSimpleList() : m_pHead(nullptr) {}
    TYPE GetHead() const { return m_pHead; }
    TYPE GetNext(TYPE element) const { return element->m_pNextDLL; }
    BOOL IsEmpty() const { return m_pHead == nullptr; }
    void AddHead(TYPE element)
    {
        element->m_pNextDLL = m_pHead;
        m_pHead = element;
    }
    BOOL Remove(TYPE element)
    {
        for (TYPE* link = &m_pHead; *link != nullptr; link = &(*link)->m_pNextDLL)
            if (*link == element) {
                *link = element->m_pNextDLL;
                element->m_pNextDLL = nullptr;
                return TRUE;
            }
        return FALSE;
    }
    TYPE m_pHead;
};

struct AFX_MODULE_STATE {
    BOOL m_bDLL;
    BOOL m_bSystem;
    HINSTANCE m_hCurrentInstanceHandle;
    HINSTANCE m_hCurrentResourceHandle;
    LPCTSTR m_lpszCurrentAppName;
    // The extension DLLs' resource chain; the state owns these objects.
    CTypedSimpleList<CDynLinkLibrary*> m_libraryList;
};

struct AFX_EXTENSION_MODULE {
    BOOL bInitialized;
    HMODULE hModule;
    HMODULE hResource;
    CRuntimeClass* pFirstSharedClass;
    void* pFirstSharedFactory;
};

class CDynLinkLibrary : public CCmdTarget {
public:
    // Joins the module to MFC's resource chain; from then on MFC's module
    // state owns the object (AfxTermExtensionModule deletes it).
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL system = FALSE);
    CDynLinkLibrary(HINSTANCE module, HINSTANCE resource);
    ~CDynLinkLibrary() override;

    HMODULE m_hModule;
    HMODULE m_hResource;
    BOOL m_bSystem;
    CDynLinkLibrary* m_pNextDLL;
};

AFX_MODULE_STATE* AFXAPI AfxGetModuleState();
AFX_MODULE_STATE* AFXAPI AfxGetStaticModuleState();
BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module);
void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL all = FALSE);
HINSTANCE AFXAPI AfxGetResourceHandle();
void AFXAPI AfxSetResourceHandle(HINSTANCE resource);
HINSTANCE AFXAPI AfxGetInstanceHandle();
// The current resource handle when it holds the resource, else the first
// module of the extension-DLL chain that does.
HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR name, LPCTSTR type);
int AFXAPI AfxMessageBox(LPCTSTR text, UINT type = MB_OK, UINT helpId = 0);
int AFXAPI AfxMessageBox(UINT promptId, UINT type = MB_OK, UINT helpId = (UINT)-1);

class AFX_MAINTAIN_STATE2 {
public:
    explicit AFX_MAINTAIN_STATE2(AFX_MODULE_STATE*) {}
};
#define AFX_MANAGE_STATE(p)                                                                                            \
    AFX_MAINTAIN_STATE2 _ctlState(p);                                                                                  \
    (void)_ctlState;

#include "afxdlgs.h"
