// Combo boxes, check boxes and their data exchange behave as the real
// controls and MFC's DDX routines do.
#include "Dialogs.h"

namespace {

using standin::DialogSession;

class Controls : public WithUser {
protected:
    // Runs `work` inside a live options dialog (items "One", "Two", "Three").
    void inDialog(std::function<void(DialogSession&, CDialog&)> work)
    {
        OptionsDialog dlg;
        user.dialog([&](DialogSession& d) {
            work(d, dlg);
            d.escape();
        });
        dlg.DoModal();
    }
};

TEST_F(Controls, SetCurSelOutsideTheListClearsTheSelection)
{
    struct Row {
        int index;
        LRESULT answer;
        int selectionAfter;
    };
    const Row rows[] = {{2, 2, 2}, {0, 0, 0}, {3, CB_ERR, -1}, {-1, CB_ERR, -1}, {99, CB_ERR, -1}};
    inDialog([&](DialogSession& d, CDialog&) {
        HWND combo = GetDlgItem(d.window(), IDC_MODE);
        for (const Row& r : rows) {
            SendMessageW(combo, CB_SETCURSEL, 1, 0);
            EXPECT_EQ(r.answer, SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(r.index), 0)) << r.index;
            EXPECT_EQ(r.selectionAfter, SendMessageW(combo, CB_GETCURSEL, 0, 0)) << r.index;
        }
    });
}

TEST_F(Controls, ComboBoxThroughCComboBox)
{
    inDialog([&](DialogSession& d, CDialog& dlg) {
        CComboBox* combo = static_cast<CComboBox*>(dlg.GetDlgItem(IDC_MODE));
        ASSERT_NE(nullptr, combo);
        EXPECT_EQ(3, combo->GetCount());
        EXPECT_EQ(3, combo->AddString(L"Four"));
        EXPECT_EQ(0, combo->InsertString(0, L"Zero"));
        EXPECT_EQ(CB_ERR, combo->InsertString(9, L"Nowhere"));
        EXPECT_EQ(5, combo->GetCount());
        combo->SetCurSel(1);
        CString text;
        combo->GetLBText(1, text);
        EXPECT_EQ(CString(L"One"), text);
        EXPECT_EQ(3, combo->GetLBTextLen(1));
        EXPECT_EQ(CB_ERR, combo->GetLBTextLen(5));
        EXPECT_EQ(4, combo->FindStringExact(-1, L"FOUR"));
        EXPECT_EQ(CB_ERR, combo->FindStringExact(-1, L"Fou"));
        EXPECT_EQ(2, combo->SelectString(-1, L"tw"));
        EXPECT_EQ(2, combo->GetCurSel());
        EXPECT_EQ(L"Two", d.text(IDC_MODE));  // a drop-down list shows its selection
        combo->DeleteString(0);
        EXPECT_EQ(1, combo->GetCurSel());  // the selection follows its item
        combo->ResetContent();
        EXPECT_EQ(0, combo->GetCount());
        EXPECT_EQ(CB_ERR, combo->GetCurSel());
    });
}

TEST_F(Controls, ASortedComboKeepsItsItemsInOrderAndAnEditableOneTakesText)
{
    NameDialog dlg;
    user.dialog([&](DialogSession& d) {
        CComboBox* combo = static_cast<CComboBox*>(dlg.GetDlgItem(IDC_SORTED));
        EXPECT_EQ(0, combo->AddString(L"pear"));
        EXPECT_EQ(0, combo->AddString(L"apple"));
        EXPECT_EQ(1, combo->AddString(L"Banana"));  // ignoring case
        EXPECT_EQ((std::vector<std::wstring>{L"apple", L"Banana", L"pear"}), d.comboItems(IDC_SORTED));
        EXPECT_TRUE(d.setText(IDC_SORTED, L"plum"));
        EXPECT_EQ(CB_ERR, d.comboSelection(IDC_SORTED));
        CString text;
        combo->GetWindowText(text);
        EXPECT_EQ(CString(L"plum"), text);
        EXPECT_TRUE(d.selectComboItem(IDC_SORTED, L"banana"));
        combo->GetWindowText(text);
        EXPECT_EQ(CString(L"Banana"), text);
        EXPECT_FALSE(d.setText(IDC_MAYBE, L"x"));  // not a place to type
        d.escape();
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
}

TEST_F(Controls, TwoStateCheckBoxShowsIndeterminateAsChecked)
{
    struct Row {
        WPARAM set;
        LRESULT read;
    };
    const Row rows[] = {{BST_UNCHECKED, 0}, {BST_CHECKED, 1}, {BST_INDETERMINATE, 1}, {7, 1}};
    inDialog([&](DialogSession& d, CDialog& dlg) {
        CButton* box = static_cast<CButton*>(dlg.GetDlgItem(IDC_WARNING));
        for (const Row& r : rows) {
            box->SetCheck(static_cast<int>(r.set));
            EXPECT_EQ(r.read, box->GetCheck()) << r.set;
            EXPECT_EQ(static_cast<int>(r.read), d.checkState(IDC_WARNING));
        }
        // A click on an automatic box toggles it.
        box->SetCheck(BST_UNCHECKED);
        SendMessageW(box->m_hWnd, BM_CLICK, 0, 0);
        EXPECT_EQ(BST_CHECKED, box->GetCheck());
        SendMessageW(box->m_hWnd, BM_CLICK, 0, 0);
        EXPECT_EQ(BST_UNCHECKED, box->GetCheck());
    });
}

// Runs one data exchange of `value` into or out of the check box.
class CheckExchange : public CDialog {
public:
    CheckExchange() : CDialog(IDD_OPTIONS) {}
    int value = 0;
    int index = 0;
    BOOL OnInitDialog() override { return TRUE; }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Check(pDX, IDC_WARNING, value);
        DDX_CBIndex(pDX, IDC_MODE, index);
    }
};

TEST_F(Controls, DdxCheckLoadsZeroToTwoAndClearsOtherValues)
{
    struct Row {
        int loaded;
        int valueAfterLoad;
        int shown;
    };
    const Row rows[] = {{0, 0, 0}, {1, 1, 1}, {2, 2, 1}, {3, 0, 0}, {-1, 0, 0}};
    CheckExchange dlg;
    user.dialog([&](DialogSession& d) {
        for (const Row& r : rows) {
            dlg.value = r.loaded;
            dlg.index = 0;
            ASSERT_TRUE(dlg.UpdateData(FALSE));
            EXPECT_EQ(r.valueAfterLoad, dlg.value) << r.loaded;
            EXPECT_EQ(r.shown, d.checkState(IDC_WARNING)) << r.loaded;
            dlg.value = 99;
            ASSERT_TRUE(dlg.UpdateData(TRUE));
            EXPECT_EQ(r.shown, dlg.value) << r.loaded;
        }
        d.escape();
    });
    dlg.DoModal();
}

TEST_F(Controls, DdxCbIndexSavesMinusOneWhenNothingIsSelected)
{
    CheckExchange dlg;
    user.dialog([&](DialogSession& d) {
        dlg.index = 5;  // beyond the (empty) list: nothing selected
        ASSERT_TRUE(dlg.UpdateData(FALSE));
        dlg.index = 42;
        ASSERT_TRUE(dlg.UpdateData(TRUE));
        EXPECT_EQ(-1, dlg.index);
        d.escape();
    });
    dlg.DoModal();
}

class MissingControl : public CDialog {
public:
    MissingControl() : CDialog(IDD_OPTIONS) {}
    int value = 3;
    BOOL OnInitDialog() override { return TRUE; }
    void DoDataExchange(CDataExchange* pDX) override { DDX_CBIndex(pDX, 777, value); }
};

TEST_F(Controls, ExchangeWithAMissingControlFailsWithoutTouchingTheMember)
{
    MissingControl dlg;
    user.dialog([&](DialogSession& d) {
        EXPECT_FALSE(dlg.UpdateData(TRUE));
        EXPECT_EQ(3, dlg.value);
        d.escape();
    });
    dlg.DoModal();
    ASSERT_EQ(1u, user.boxes().size());  // the failure is reported
    EXPECT_EQ(L"An unsupported operation was attempted.", user.boxes()[0].text);
}

TEST_F(Controls, DdxControlAttachesAMemberControl)
{
    class WithMember : public CDialog {
    public:
        WithMember() : CDialog(IDD_OPTIONS) {}
        CComboBox combo;
        int count = -1;
        BOOL OnInitDialog() override
        {
            CDialog::OnInitDialog();
            count = combo.GetCount();
            return TRUE;
        }
        void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_MODE, combo); }
    } dlg;
    user.dialog([&](DialogSession& d) {
        EXPECT_EQ(&dlg.combo, CWnd::FromHandle(GetDlgItem(d.window(), IDC_MODE)));
        d.escape();
    });
    dlg.DoModal();
    EXPECT_EQ(3, dlg.count);
    EXPECT_EQ(nullptr, dlg.combo.m_hWnd);  // let go when the dialog went
}

}  // namespace
