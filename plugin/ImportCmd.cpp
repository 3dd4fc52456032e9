// The import command: a model file is read into meshes, the options dialog
// asks how to import them, and each mesh is written into model space with a
// report line on the command line.
#include <afxwin.h>
#include <afxdlgs.h>

#include <cwchar>

#include "aced.h"
#include "acdocman.h"
#include "dbcolor.h"
#include "rxmfcapi.h"

#include "HostRelease.h"
#include "MeshWriters.h"
#include "VrnRavlib.h"
#include "opennurbs.h"

#include "KolvaneApp.h"
#include "KolvaneOptionsDlg.h"

wchar_t ProductCaption[kProductCaptionSize];

namespace kolvane {

// The import command's own table of host release names.
CString HostReleaseNames[kHostReleaseCount] = {
    kHostReleaseNameTexts[0], kHostReleaseNameTexts[1], kHostReleaseNameTexts[2],  kHostReleaseNameTexts[3],
    kHostReleaseNameTexts[4], kHostReleaseNameTexts[5], kHostReleaseNameTexts[6],  kHostReleaseNameTexts[7],
    kHostReleaseNameTexts[8], kHostReleaseNameTexts[9], kHostReleaseNameTexts[10], kHostReleaseNameTexts[11],
};

namespace {

const wchar_t* const kCancelledLine = L"Failure [Command cancelled]\n";
const wchar_t* const kNoDialogText = L"The options dialog could not be opened.";
const wchar_t* const kNoMeshText =
    L"SKP file does not contain mesh data.\n\n"
    L"Note: Components in SKP files will need to be exploded in SketchUp to expose their mesh data.";

// While it lives, the module's own resources are the host's current resource
// source; the previous one comes back when it ends, however the scope is left.
class CResourceScope {
public:
    explicit CResourceScope(HINSTANCE resources) { acDocManagerPtr()->pushResourceHandle(resources); }
    ~CResourceScope() { acDocManagerPtr()->popResourceHandle(); }
    CResourceScope(const CResourceScope&) = delete;
    CResourceScope& operator=(const CResourceScope&) = delete;
};

void WarningBox(const wchar_t* text)
{
    MessageBoxW(adsw_acadMainWnd(), text, ProductCaption, MB_ICONWARNING);
}

}  // namespace
}  // namespace kolvane

void BuildProductCaption()
{
    int release = GetHostRelease();
    if (release < 0 || release >= kHostReleaseCount)
        release = 0;
    CString caption;
    caption.Format(L"%s %s version %d.%d", L"Kolvane for", (LPCTSTR)kolvane::HostReleaseNames[release], 1, 0);
    wcsncpy(ProductCaption, caption, kProductCaptionSize - 1);
    ProductCaption[kProductCaptionSize - 1] = L'\0';
}

void CKolvaneApp::OnImportCmd()
{
    RunImport();
}

int RunImport()
{
    BuildProductCaption();
    return ImportModel();
}

int ImportModel()
{
    using namespace kolvane;

    CFileDialog fileDialog(TRUE, L"skp", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                           L"SKetchUp SKP Files (*.skp)|*.skp||", nullptr);
    if (fileDialog.DoModal() == IDCANCEL) {
        acutPrintf(kCancelledLine);
        return 0;
    }

    ON_ClassArray<ON_Mesh> meshes;
    if (!VrnRavlib::SKPToMesh(fileDialog.GetPathName(), meshes)) {
        CString error = VrnRavlib::GetError();
        WarningBox(error);
        return 0;
    }
    if (meshes.Count() == 0) {
        WarningBox(kNoMeshText);
        return 0;
    }

    CResourceScope resources(ExtensionModule.moduleResource);
    CKolvaneOptionsDlg dialog(CWnd::FromHandle(adsw_acadMainWnd()));
    const INT_PTR answer = dialog.DoModal();
    if (answer == IDCANCEL) {
        acutPrintf(kCancelledLine);
        return 0;
    }
    if (answer != IDOK) {
        // The dialog could not be made (-1) or failed: say so, write nothing.
        WarningBox(kNoDialogText);
        return 0;
    }

    for (int i = 0; i < meshes.Count(); ++i) {
        const ON_Mesh& mesh = meshes[i];
        CString layerName;
        AcCmColor entityColor;
        switch (dialog.m_importAs) {
        case kImportMesh:
            MeshToSubDMesh(mesh, dialog.m_warning, layerName, entityColor);
            acutPrintf(L"Created polyface mesh consisting of %d vertices and %d faces\n", mesh.m_V.Count(),
                       mesh.m_F.Count());
            break;
        case kImport3dFaces:
            MeshToFaces(mesh, layerName, entityColor);
            acutPrintf(L"Created %d 3d faces\n", mesh.m_F.Count());
            break;
        case kImportLines:
            MeshToLines(mesh, layerName, entityColor);
            acutPrintf(L"Created %d lines\n", mesh.Topology().m_tope.Count());
            break;
        case kImportPoints:
            MeshToPoints(mesh, layerName, entityColor);
            acutPrintf(L"Created %d points\n", mesh.Topology().m_topv.Count());
            break;
        default: break;
        }
    }
    return 1;
}
