// The modal dialog life cycle: templates and initialisation data found
// through the current resource handle, OnInitDialog, data exchange, OK and
// Cancel, the message map.
#include "Dialogs.h"

#include <standin/Win32.h>

BEGIN_MESSAGE_MAP(OptionsDialog, CDialog)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(NameDialog, CDialog)
ON_BN_CLICKED(IDC_APPLY, &NameDialog::OnApply)
ON_BN_CLICKED(IDC_MAYBE, &NameDialog::OnMaybe)
END_MESSAGE_MAP()

namespace {

using standin::DialogSession;

class DialogLifeCycle : public WithUser {};

TEST_F(DialogLifeCycle, InitialisationDataFillsTheComboBeforeTheMembersArePushed)
{
    OptionsDialog dlg;
    dlg.storedMode = 1;
    dlg.storedWarning = TRUE;
    user.dialog([](DialogSession& d) {
        EXPECT_EQ(L"Sample Options", d.title());
        EXPECT_EQ(IDD_OPTIONS, d.templateId());
        EXPECT_EQ((std::vector<std::wstring>{L"One", L"Two", L"Three"}), d.comboItems(IDC_MODE));
        EXPECT_EQ(1, d.comboSelection(IDC_MODE));
        EXPECT_EQ(BST_CHECKED, d.checkState(IDC_WARNING));
        EXPECT_TRUE(d.press(IDCANCEL));
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(3, dlg.itemsAtFirstExchange);
    // CDialog::OnInitDialog pushes the constructed values, then ours.
    EXPECT_EQ((std::vector<std::string>{"init", "load", "load"}), dlg.events);
    EXPECT_EQ(nullptr, dlg.m_hWnd);  // the window is gone after DoModal
}

TEST_F(DialogLifeCycle, OkReadsTheControlsBack)
{
    OptionsDialog dlg;
    user.dialog([](DialogSession& d) {
        EXPECT_TRUE(d.selectComboItem(IDC_MODE, L"three"));  // case-insensitive, as picked
        EXPECT_TRUE(d.setCheck(IDC_WARNING, BST_UNCHECKED));
        EXPECT_TRUE(d.press(IDOK));
        EXPECT_TRUE(d.ended());
        EXPECT_EQ(IDOK, d.result());
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(2, dlg.m_mode);
    EXPECT_EQ(FALSE, dlg.m_warning);
    EXPECT_TRUE(dlg.written);
    EXPECT_EQ((std::vector<std::string>{"init", "load", "load", "ok", "save", "save"}), dlg.events);
}

TEST_F(DialogLifeCycle, CancelAndEscapeWriteNothing)
{
    for (int way = 0; way < 3; ++way) {
        OptionsDialog dlg;
        dlg.storedMode = 0;
        user.dialog([way](DialogSession& d) {
            d.selectComboItem(IDC_MODE, L"Two");
            if (way == 0)
                d.press(IDCANCEL);
            if (way == 1)
                d.escape();
            // way 2: the user leaves without ending it, which counts as Escape
        });
        EXPECT_EQ(IDCANCEL, dlg.DoModal()) << way;
        EXPECT_FALSE(dlg.written) << way;
        EXPECT_EQ(0, dlg.m_mode) << way;  // the value read when it opened
        EXPECT_EQ(std::string("load"), dlg.events.back()) << way;
    }
}

TEST_F(DialogLifeCycle, AValueOutsideTheListSelectsNothingAndOkStoresMinusOne)
{
    OptionsDialog dlg;
    dlg.storedMode = 7;
    user.dialog([](DialogSession& d) {
        EXPECT_EQ(CB_ERR, d.comboSelection(IDC_MODE));
        d.press(IDOK);
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(-1, dlg.storedMode);
}

TEST_F(DialogLifeCycle, RunningOutOfAnswersCancels)
{
    OptionsDialog dlg;
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    ASSERT_EQ(1u, user.dialogs().size());
    EXPECT_EQ(L"Sample Options", user.dialogs()[0].title);
}

TEST_F(DialogLifeCycle, ATemplateMissingFromTheCurrentResourcesCannotBeCreated)
{
    CDialog dlg(4242);
    EXPECT_EQ(-1, dlg.DoModal());
    EXPECT_TRUE(user.dialogs().empty());
}

TEST_F(DialogLifeCycle, BrokenInitialisationDataEndsTheDialogWithMinusOne)
{
    CDialog dlg(IDD_BROKEN);
    EXPECT_EQ(-1, dlg.DoModal());
    EXPECT_TRUE(user.dialogs().empty());  // never shown
}

TEST_F(DialogLifeCycle, MessageMapEntriesAreDispatched)
{
    NameDialog dlg;
    dlg.m_name = L"first";
    user.dialog([&](DialogSession& d) {
        EXPECT_EQ(L"first", d.text(IDC_NAME));
        EXPECT_TRUE(d.control(IDC_APPLY).enabled);  // enabled by OnInitDialog
        EXPECT_TRUE(d.press(IDC_APPLY));
        EXPECT_TRUE(d.press(IDC_APPLY));
        EXPECT_FALSE(d.ended());
        EXPECT_TRUE(d.setCheck(IDC_MAYBE, BST_INDETERMINATE));  // two clicks of a three-state box
        EXPECT_FALSE(d.press(IDC_MAYBE));                       // not a push button
        EXPECT_FALSE(d.press(999));
        EXPECT_TRUE(d.setText(IDC_NAME, L"second"));
        EXPECT_TRUE(d.setText(IDC_COUNT, L"12"));
        EXPECT_EQ(IDOK, d.defaultButton());
        d.press(IDOK);
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(2, dlg.applied);
    EXPECT_EQ(2, dlg.maybeClicks);
    EXPECT_EQ(CString(L"second"), dlg.m_name);
    EXPECT_EQ(12, dlg.m_count);
}

TEST_F(DialogLifeCycle, AValueThatDoesNotValidateKeepsTheDialogOpen)
{
    NameDialog dlg;
    user.dialog([&](DialogSession& d) {
        d.setText(IDC_COUNT, L"twelve");
        d.press(IDOK);
        EXPECT_FALSE(d.ended());
        d.setText(IDC_COUNT, L" 7 ");
        d.press(IDOK);
        EXPECT_TRUE(d.ended());
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(7, dlg.m_count);
    ASSERT_EQ(1u, user.boxes().size());
    EXPECT_EQ(L"Please enter an integer.", user.boxes()[0].text);
}

TEST_F(DialogLifeCycle, DisabledControlsCannotBeWorked)
{
    OptionsDialog dlg;
    user.dialog([](DialogSession& d) {
        EnableWindow(GetDlgItem(d.window(), IDC_MODE), FALSE);
        EnableWindow(GetDlgItem(d.window(), IDC_WARNING), FALSE);
        EXPECT_FALSE(d.selectComboItem(IDC_MODE, L"Two"));
        EXPECT_FALSE(d.setCheck(IDC_WARNING, BST_UNCHECKED));
        EXPECT_FALSE(d.control(IDC_MODE).enabled);
        EXPECT_FALSE(d.selectComboItem(IDC_WARNING, L"Two"));  // not a combo box
        d.press(IDOK);
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(0, dlg.m_mode);
}

TEST_F(DialogLifeCycle, ControlsComeInTabOrderWithTheirTemplateData)
{
    OptionsDialog dlg;
    std::vector<standin::DialogControl> controls;
    user.dialog([&](DialogSession& d) {
        controls = d.controls();
        d.escape();
    });
    dlg.DoModal();
    ASSERT_EQ(6u, controls.size());
    EXPECT_EQ(standin::ControlKind::ComboBox, controls[0].kind);
    EXPECT_EQ(IDC_MODE, controls[0].id);
    EXPECT_EQ(124, controls[0].width);
    EXPECT_EQ(standin::ControlKind::CheckBox, controls[1].kind);
    EXPECT_EQ(L"Show the warning", controls[1].text);
    EXPECT_EQ(standin::ControlKind::PushButton, controls[2].kind);
    EXPECT_TRUE(controls[2].defaultButton);
    EXPECT_EQ(L"&OK", controls[2].text);
    EXPECT_FALSE(controls[3].defaultButton);
    EXPECT_EQ(standin::ControlKind::Static, controls[4].kind);
    EXPECT_EQ(-1, controls[4].id);
    EXPECT_EQ(L"Mode", controls[4].text);
}

TEST_F(DialogLifeCycle, AnOwnedDialogSeesItsOwnerAndFromHandleFindsIt)
{
    HWND frame = standin::createTopLevelWindow(L"Main frame");
    OptionsDialog dlg(CWnd::FromHandle(frame));
    user.dialog([&](DialogSession& d) {
        EXPECT_EQ(frame, GetParent(d.window()));
        EXPECT_EQ(&dlg, CWnd::FromHandle(d.window()));
        d.escape();
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    DestroyWindow(frame);
}

}  // namespace
