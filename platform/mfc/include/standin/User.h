// The person in front of the screen.
//
// Every question that the platform asks (a command-line prompt, a file dialog,
// a modal dialog, a message box) is put to the current User, and everything
// that the platform shows is handed to it. In the host program the User is a
// person at a terminal or a script file; in tests it is scripted in code. The
// platform never answers on the user's behalf: when no User is installed, or a
// script has run out of answers, the question is cancelled as if Escape had
// been pressed, so no loop can wait for ever.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace standin {

class DialogSession;  // a modal dialog on screen; see standin/Dialogs.h

// What a file dialog asks.
struct FileRequest {
    bool open = true;               // open (true) or save (false) dialog
    std::wstring title;             // empty: the platform's default title
    std::wstring defaultExtension;  // without the dot, e.g. L"skp"
    std::wstring fileName;          // initial file name, may be empty
    std::wstring filter;            // MFC form: L"Text|*.txt||"
    unsigned long flags = 0;        // OFN_* flags
};

class User {
public:
    virtual ~User() = default;

    // The command line shows `prompt` and waits for one line of input.
    // nullopt: the user pressed Escape (cancel).
    virtual std::optional<std::wstring> commandLine(const std::wstring& prompt) = 0;

    // A file dialog is shown. The chosen path, or nullopt for Cancel.
    virtual std::optional<std::wstring> chooseFile(const FileRequest& request) = 0;

    // A modal dialog is on screen, already initialised. The user works its
    // controls through `dialog` and ends it by pressing a button or Escape.
    // Returning without ending it counts as Escape.
    virtual void operateDialog(DialogSession& dialog) = 0;

    // A message box. Returns the id of the button pressed (IDOK, IDCANCEL, ...).
    virtual int messageBox(const std::wstring& caption, const std::wstring& text, unsigned type) = 0;

    // Text that the platform shows (command-line output, notices such as
    // "opened help file ..."). Shown to a person; kept by scripted users.
    virtual void show(const std::wstring& text) = 0;
};

// The User the platform talks to. Never null: when none has been installed,
// a User that cancels every question and discards output is current.
User& currentUser();

// Installs `user` (not owned) as current and returns the previous one
// (nullptr for the built-in cancelling user). Pass nullptr to go back to it.
User* setCurrentUser(User* user);

// Restores the previous User when it goes out of scope.
class ScopedUser {
public:
    explicit ScopedUser(User& user) : previous_(setCurrentUser(&user)) {}
    ~ScopedUser() { setCurrentUser(previous_); }
    ScopedUser(const ScopedUser&) = delete;
    ScopedUser& operator=(const ScopedUser&) = delete;

private:
    User* previous_;
};

}  // namespace standin
