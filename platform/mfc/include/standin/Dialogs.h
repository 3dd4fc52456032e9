// A modal dialog on screen, as the User sees and works it.
//
// The platform hands a DialogSession to User::operateDialog while a dialog
// made with CDialog::DoModal is up. Everything goes through the dialog's real
// controls and messages: picking a combo item selects it and notifies the
// dialog, a click on a check box changes it as the button would, and pressing
// a button sends its command (IDOK reaches OnOK, IDCANCEL OnCancel, others
// the dialog's message map).
#pragma once

#include <windows.h>
#include <string>
#include <vector>

class CDialog;

namespace standin {

enum class ControlKind {
    Static,  // text, frames and lines
    PushButton,
    CheckBox,
    RadioButton,
    GroupBox,
    ComboBox,
    Edit,
    ListBox,
    Other,
};

struct DialogControl {
    int id = 0;  // -1 for IDC_STATIC
    ControlKind kind = ControlKind::Other;
    std::wstring className;  // "Button", "ComboBox", "Static", "Edit"...
    std::wstring text;       // the window text, '&' included
    bool enabled = true;
    bool visible = true;
    bool defaultButton = false;  // a default push button
    bool tabStop = false;
    DWORD style = 0;
    int x = 0, y = 0, width = 0, height = 0;  // dialog units
};

class DialogSession {
public:
    explicit DialogSession(CDialog& dialog);
    DialogSession(const DialogSession&) = delete;
    DialogSession& operator=(const DialogSession&) = delete;

    std::wstring title() const;  // the dialog's caption as shown now
    int templateId() const;      // the template's resource id (0 for a named one)
    HWND window() const;

    std::vector<DialogControl> controls() const;  // in tab (creation) order
    bool hasControl(int id) const;
    DialogControl control(int id) const;  // a default DialogControl when missing

    std::vector<std::wstring> comboItems(int id) const;
    int comboSelection(int id) const;  // -1 (CB_ERR) when none is selected
    // As the user picking an item (by its text, case-insensitive, or by its
    // index): selects it and notifies the dialog. False when the control is
    // missing, disabled, hidden, not a combo box, or has no such item.
    bool selectComboItem(int id, const std::wstring& text);
    bool setComboSelection(int id, int index);

    int checkState(int id) const;  // BST_*; -1 when not a button
    // Clicks the box until it shows `state`, as the user would; false when
    // the control cannot be clicked or never reaches that state.
    bool setCheck(int id, int state);

    std::wstring text(int id) const;                 // a control's window text
    bool setText(int id, const std::wstring& text);  // typing into an edit box

    int defaultButton() const;  // the id Enter presses (IDOK when none is set)
    // Presses an enabled, visible push button (or any control id for which a
    // command is wanted, as a keyboard accelerator would send it).
    bool press(int buttonId);
    void escape();  // the Escape key, or the close box
    bool ended() const;
    INT_PTR result() const;  // the value given to EndDialog

private:
    CDialog& dialog_;
};

// The next modal dialog cannot be created, as when the system has run out
// of window resources: its DoModal returns -1 without showing anything.
void failNextDialogCreation();

}  // namespace standin
