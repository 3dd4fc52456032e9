// The options dialog: reads the stored options when it opens and stores the
// user's choice when OK is pressed. Cancel stores nothing.
#include "KolvaneOptionsDlg.h"

#include <afxdlgs.h>

#include "VrnRegistry.h"

const wchar_t* const kKolvaneRegistryKey = L"Software\\Varnett\\Kolvane for AutoCAD";

namespace {
const wchar_t* const kImportAsValue = L"Import As";

bool IsImportMode(int mode)
{
    return mode >= kImportMesh && mode <= kImportPoints;
}

const wchar_t* const kWarningValue = L"Warning";
}  // namespace

CKolvaneOptionsDlg::CKolvaneOptionsDlg(CWnd* pParent)
    : CDialog(CKolvaneOptionsDlg::IDD, pParent), m_importAs(-1), m_warning(FALSE)
{}

CKolvaneOptionsDlg::~CKolvaneOptionsDlg() = default;

void CKolvaneOptionsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_CBIndex(pDX, IDC_IMPORT_AS, m_importAs);
    DDX_Check(pDX, IDC_WARNING, m_warning);
}

BEGIN_MESSAGE_MAP(CKolvaneOptionsDlg, CDialog)
END_MESSAGE_MAP()

BOOL CKolvaneOptionsDlg::OnInitDialog()
{
    // Fills the combo box from the dialog's initialisation data.
    CDialog::OnInitDialog();

    VrnRegistry registry;
    registry.SetKey(kKolvaneRegistryKey, 1);
    m_importAs = registry.ReadInt(kImportAsValue, kImportMesh);
    // A damaged or foreign store may hold a mode that names no item: the
    // default stands in for it, so that some choice is always shown.
    if (!IsImportMode(m_importAs))
        m_importAs = kImportMesh;
    m_warning = registry.ReadBool(kWarningValue, 1);
    UpdateData(FALSE);
    return TRUE;
}

void CKolvaneOptionsDlg::OnOK()
{
    UpdateData(TRUE);
    if (!IsImportMode(m_importAs))
        m_importAs = kImportMesh;  // only a mode of the list is ever stored

    VrnRegistry registry;
    registry.SetKey(kKolvaneRegistryKey, 1);
    registry.WriteInt(kImportAsValue, m_importAs);
    registry.WriteBool(kWarningValue, m_warning);

    CDialog::OnOK();
}
