// Kolvane for AutoCAD: the application object, the module's globals and the
// functions behind its commands.
#pragma once

#include <afxwin.h>

#include "acrxEntryPoint.h"

// The application object. The host's application framework dispatches the
// application messages to it; the command table names its static entries.
class CKolvaneApp : public AcRxArxApp {
public:
    CKolvaneApp();

    // Initialise-application message: the framework's initialisation (unlock,
    // MDI awareness, the command table), then the menu.
    AcRx::AppRetCode OnInitApp(void* pkt);
    // Unload-application message: the framework removes the commands; the
    // menu stays loaded.
    AcRx::AppRetCode OnUnloadApp(void* pkt);

    AcRx::AppRetCode On_kInitAppMsg(void* pkt) override { return OnInitApp(pkt); }
    AcRx::AppRetCode On_kUnloadAppMsg(void* pkt) override { return OnUnloadApp(pkt); }
    void RegisterServerComponents() override {}

    // Command entries.
    static void OnImportCmd();  // _Kolvane
    static void OnHelpCmd();    // _KolvaneHelp
    static void OnAboutCmd();   // _KolvaneAbout
};

// The module's MFC extension-DLL state, filled by DllMain.
struct CKolvaneExtensionModule {
    BOOL attached = FALSE;                // AfxInitExtensionModule succeeded
    HINSTANCE defaultResource = nullptr;  // MFC's resource handle when attaching
    HINSTANCE moduleResource = nullptr;   // the module's own resources
    AFX_EXTENSION_MODULE module = {};
};

extern HINSTANCE ModuleInstance;
extern CKolvaneExtensionModule ExtensionModule;

// The caption of every message box of the plug-in and the text of its about
// box: "Kolvane for <host release> version 1.0".
constexpr int kProductCaptionSize = 256;
extern wchar_t ProductCaption[kProductCaptionSize];
void BuildProductCaption();

// The import command; 1 when meshes were imported, 0 when the command was
// cancelled or nothing could be imported.
int RunImport();
int ImportModel();

// Menu, help and about.
void LoadMenuFile();
void ShowHelp();
void ShowAbout();

// The drive and folder of the module's own file, ending with a separator.
// False when the module's path cannot be had whole.
bool GetModuleFolder(CString& folder);
