// Kolvane for AutoCAD: the module's entry points, the application object
// with its command table, and the MFC extension-DLL start-up.
#include <afxwin.h>

#include "AcApDMgr.h"
#include "accmd.h"
#include "acrxEntryPoint.h"
#include "acui.h"

#include "KolvaneApp.h"

HINSTANCE ModuleInstance = nullptr;
CKolvaneExtensionModule ExtensionModule;

// Per-document data of the plug-in. Nothing is kept per document; the
// manager is there so that the application follows the host's documents.
class CDocData {
public:
    CDocData() = default;
};

AcApDataManager<CDocData> DocDataManager;

CKolvaneApp::CKolvaneApp() : AcRxArxApp() {}

AcRx::AppRetCode CKolvaneApp::OnInitApp(void* pkt)
{
    const AcRx::AppRetCode result = AcRxArxApp::On_kInitAppMsg(pkt);
    LoadMenuFile();
    return result;
}

AcRx::AppRetCode CKolvaneApp::OnUnloadApp(void* pkt)
{
    return AcRxArxApp::On_kUnloadAppMsg(pkt);
}

// The application object and the host's entry point into it.
CKolvaneApp TheApp;

extern "C" __declspec(dllexport) AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt)
{
    return TheApp.EntryPoint(msg, pkt);
}

ACED_ARXCOMMAND_ENTRY(CKolvaneApp, Vrn_Kolvane, _Kolvane, Kolvane, ACRX_CMD_TRANSPARENT, CKolvaneApp::OnImportCmd, NULL,
                      -1)
ACED_ARXCOMMAND_ENTRY(CKolvaneApp, Vrn_Kolvane, _KolvaneHelp, KolvaneHelp, ACRX_CMD_TRANSPARENT, CKolvaneApp::OnHelpCmd,
                      NULL, -1)
ACED_ARXCOMMAND_ENTRY(CKolvaneApp, Vrn_Kolvane, _KolvaneAbout, KolvaneAbout, ACRX_CMD_TRANSPARENT,
                      CKolvaneApp::OnAboutCmd, NULL, -1)

extern "C" __declspec(dllexport) BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved)
{
    if (dwReason == DLL_PROCESS_ATTACH) {
        ModuleInstance = hInstance;
        if (!ExtensionModule.attached) {
            ExtensionModule.attached = AfxInitExtensionModule(ExtensionModule.module, hInstance);
            if (ExtensionModule.attached) {
                ExtensionModule.defaultResource = AfxGetModuleState()->m_hCurrentResourceHandle;
                ExtensionModule.moduleResource = hInstance;
                new CDynLinkLibrary(ExtensionModule.module, FALSE);  // owned by MFC
            }
        }
        InitAcUiDLL();
    } else if (dwReason == DLL_PROCESS_DETACH) {
        if (ExtensionModule.attached) {
            AfxTermExtensionModule(ExtensionModule.module, FALSE);
            ExtensionModule.attached = FALSE;
        }
    }
    return TRUE;
}
