// The options dialog of the import command and its stored settings.
#pragma once

#include <afxwin.h>

#include "resource.h"

// How the meshes of a model are imported: the index of the "Import as" item
// and the value stored under "Import As".
enum ImportMode {
    kImportMesh = 0,     // one subdivision mesh per mesh
    kImport3dFaces = 1,  // one 3D face per mesh face
    kImportLines = 2,    // one line per mesh edge
    kImportPoints = 3,   // one point per distinct vertex
};

// Registry key of the stored options.
extern const wchar_t* const kKolvaneRegistryKey;

class CKolvaneOptionsDlg : public CDialog {
public:
    enum { IDD = IDD_KOLVANE_OPTIONS };

    explicit CKolvaneOptionsDlg(CWnd* pParent = nullptr);
    ~CKolvaneOptionsDlg() override;

    int m_importAs;  // ImportMode, -1 when no item is selected
    BOOL m_warning;  // "Display polyface mesh limit warning"

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    DECLARE_MESSAGE_MAP()
};
