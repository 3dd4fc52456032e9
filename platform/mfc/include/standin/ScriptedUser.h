// A User for tests: its answers are queued in code, in the order the
// questions will come, and it records everything it was shown and asked.
//
// Each question takes the next answer when that answer is of its kind; an
// escape() answers any question with Cancel (Escape). A question whose next
// answer is of another kind is cancelled, the answer stays queued, and a
// complaint is recorded. Message boxes with an OK button only are
// acknowledged without taking an answer. When no answer is left, every
// question is cancelled.
#pragma once

#include "standin/Dialogs.h"
#include "standin/User.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace standin {

class ScriptedUser : public User {
public:
    struct Box {
        std::wstring caption;
        std::wstring text;
        unsigned type = 0;
        int answer = 0;  // the button the user pressed
    };
    struct DialogSeen {
        std::wstring title;
        int templateId = 0;
    };

    ScriptedUser();
    ~ScriptedUser() override;

    // Queued answers; each returns *this so they can be chained.
    ScriptedUser& type(const std::wstring& text);        // a command-line answer
    ScriptedUser& escape();                              // Cancel the next question
    ScriptedUser& chooseFile(const std::wstring& path);  // a file dialog's answer
    ScriptedUser& cancelFile();                          // Cancel in a file dialog
    ScriptedUser& dialog(std::function<void(DialogSession&)> work);
    ScriptedUser& answerBox(int buttonId);  // IDYES, IDNO, IDCANCEL...

    // What the user saw.
    const std::vector<std::wstring>& prompts() const { return prompts_; }
    const std::wstring& output() const { return output_; }
    const std::vector<Box>& boxes() const { return boxes_; }
    const std::vector<FileRequest>& fileRequests() const { return fileRequests_; }
    const std::vector<DialogSeen>& dialogs() const { return dialogs_; }
    const std::vector<std::wstring>& complaints() const { return complaints_; }
    std::size_t remaining() const { return answers_.size(); }  // answers not used yet
    void clearOutput() { output_.clear(); }

    // User
    std::optional<std::wstring> commandLine(const std::wstring& prompt) override;
    std::optional<std::wstring> chooseFile(const FileRequest& request) override;
    void operateDialog(DialogSession& dialog) override;
    int messageBox(const std::wstring& caption, const std::wstring& text, unsigned type) override;
    void show(const std::wstring& text) override;

private:
    enum class Kind { Text, Escape, File, CancelFile, Dialog, Box };
    struct Answer {
        Kind kind;
        std::wstring text;
        std::function<void(DialogSession&)> work;
        int button = 0;
    };
    // Takes the next answer when it fits a question of `kind` (an escape
    // fits any); false, with a complaint when one was there, otherwise.
    bool take(Kind kind, const std::wstring& question, Answer& out);

    std::deque<Answer> answers_;
    std::vector<std::wstring> prompts_;
    std::wstring output_;
    std::vector<Box> boxes_;
    std::vector<FileRequest> fileRequests_;
    std::vector<DialogSeen> dialogs_;
    std::vector<std::wstring> complaints_;
};

}  // namespace standin
