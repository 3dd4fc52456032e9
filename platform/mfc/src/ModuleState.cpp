// MFC's module state and the extension-DLL resource chain.
#include "Internal.h"
#include "afxwin.h"

namespace {

struct State {
    AFX_MODULE_STATE state{};
    State()
    {
        state.m_bDLL = FALSE;
        state.m_bSystem = FALSE;
        state.m_hCurrentInstanceHandle = standin::detail::programModule();
        state.m_hCurrentResourceHandle = state.m_hCurrentInstanceHandle;
        state.m_lpszCurrentAppName = L"";
    }
};

// Lives as long as the process: modules may still use it while they unload
// during exit.
State& theState()
{
    static State* s = new State;
    return *s;
}

}  // namespace

AFX_MODULE_STATE* AFXAPI AfxGetModuleState()
{
    return &theState().state;
}
AFX_MODULE_STATE* AFXAPI AfxGetStaticModuleState()
{
    return AfxGetModuleState();
}

HINSTANCE AFXAPI AfxGetResourceHandle()
{
    return AfxGetModuleState()->m_hCurrentResourceHandle;
}

void AFXAPI AfxSetResourceHandle(HINSTANCE resource)
{
    if (!resource)
        return;  // MFC asserts: there is always a current resource source
    AfxGetModuleState()->m_hCurrentResourceHandle = resource;
}

HINSTANCE AFXAPI AfxGetInstanceHandle()
{
    return AfxGetModuleState()->m_hCurrentInstanceHandle;
}

HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR name, LPCTSTR type)
{
    AFX_MODULE_STATE* state = AfxGetModuleState();
    HINSTANCE current = state->m_hCurrentResourceHandle;
    if (::FindResourceW(current, name, type))
        return current;
    for (CDynLinkLibrary* dll = state->m_libraryList.GetHead(); dll; dll = dll->m_pNextDLL)
        if (!dll->m_bSystem && dll->m_hResource && ::FindResourceW(dll->m_hResource, name, type))
            return dll->m_hResource;
    return current;
}

BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module)
{
    if (state.bInitialized)
        return TRUE;  // only once
    if (!module || !standin::detail::isModule(module))
        return FALSE;
    state.hModule = module;
    state.hResource = module;
    state.pFirstSharedClass = nullptr;
    state.pFirstSharedFactory = nullptr;
    state.bInitialized = TRUE;
    return TRUE;
}

void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL all)
{
    if (!state.bInitialized)
        return;
    AFX_MODULE_STATE* moduleState = AfxGetModuleState();
    CDynLinkLibrary* dll = moduleState->m_libraryList.GetHead();
    while (dll) {
        CDynLinkLibrary* next = dll->m_pNextDLL;
        if (all || dll->m_hModule == state.hModule)
            delete dll;
        dll = next;
    }
    state.bInitialized = FALSE;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL system)
    : m_hModule(state.hModule), m_hResource(state.hResource), m_bSystem(system), m_pNextDLL(nullptr)
{
    AfxGetModuleState()->m_libraryList.AddHead(this);
}

CDynLinkLibrary::CDynLinkLibrary(HINSTANCE module, HINSTANCE resource)
    : m_hModule(module), m_hResource(resource), m_bSystem(FALSE), m_pNextDLL(nullptr)
{
    AfxGetModuleState()->m_libraryList.AddHead(this);
}

CDynLinkLibrary::~CDynLinkLibrary()
{
    AfxGetModuleState()->m_libraryList.Remove(this);
}

int AFXAPI AfxMessageBox(LPCTSTR text, UINT type, UINT)
{
    const wchar_t* caption = AfxGetModuleState()->m_lpszCurrentAppName;
    return ::MessageBoxW(nullptr, text, caption && *caption ? caption : nullptr, type);
}

int AFXAPI AfxMessageBox(UINT promptId, UINT type, UINT helpId)
{
    CString text;
    text.LoadStringW(promptId);
    return AfxMessageBox(text, type, helpId == static_cast<UINT>(-1) ? promptId : helpId);
}
