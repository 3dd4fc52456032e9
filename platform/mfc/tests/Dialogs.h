// Dialog classes of the tests, over the templates of data/sample.rc.
#pragma once

#include "TestSupport.h"
#include "sample_resource.h"

#include <string>
#include <vector>

// Like a settings dialog: a combo index and a check box, read from a store
// when the dialog opens and written back on OK.
class OptionsDialog : public CDialog {
public:
    explicit OptionsDialog(CWnd* parent = NULL) : CDialog(IDD_OPTIONS, parent) {}

    int m_mode = -1;
    BOOL m_warning = FALSE;
    int storedMode = 0;
    BOOL storedWarning = TRUE;
    bool written = false;
    std::vector<std::string> events;
    int itemsAtFirstExchange = -1;

    BOOL OnInitDialog() override
    {
        events.push_back("init");
        CDialog::OnInitDialog();
        m_mode = storedMode;
        m_warning = storedWarning;
        UpdateData(FALSE);
        return TRUE;
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialog::DoDataExchange(pDX);
        if (itemsAtFirstExchange < 0)
            itemsAtFirstExchange = static_cast<int>(SendDlgItemMessage(IDC_MODE, CB_GETCOUNT));
        events.push_back(pDX->m_bSaveAndValidate ? "save" : "load");
        DDX_CBIndex(pDX, IDC_MODE, m_mode);
        DDX_Check(pDX, IDC_WARNING, m_warning);
    }
    void OnOK() override
    {
        events.push_back("ok");
        UpdateData(TRUE);
        storedMode = m_mode;
        storedWarning = m_warning;
        written = true;
        CDialog::OnOK();
    }
    DECLARE_MESSAGE_MAP()
};

// A name and a count typed into edit boxes, and an Apply button that the
// dialog enables and handles through its message map.
class NameDialog : public CDialog {
public:
    NameDialog() : CDialog(IDD_NAME) {}
    CString m_name;
    int m_count = 0;
    int applied = 0;
    int maybeClicks = 0;

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        GetDlgItem(IDC_APPLY)->EnableWindow(TRUE);
        return TRUE;
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_NAME, m_name);
        DDX_Text(pDX, IDC_COUNT, m_count);
    }
    void OnApply() { ++applied; }
    void OnMaybe() { ++maybeClicks; }
    DECLARE_MESSAGE_MAP()
};
