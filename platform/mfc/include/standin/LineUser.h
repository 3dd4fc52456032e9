// The person at a terminal, or a script file read line by line: one answer
// per line, as the host's own script files hold them. Input and output are
// UTF-8 text.
//
// - A prompt is written on a line of its own; one line is read as the answer.
// - A file dialog shows its title and filter on a line, then reads a path; an
//   empty line cancels.
// - A modal dialog shows its title, then asks for each enabled input control
//   in tab order (combo boxes: an item's text, case-insensitive; check boxes:
//   "Yes" or "No"), then for a push button by its text without the "&". An
//   empty line keeps a control's value, or presses the default button. An
//   answer that fits nothing is said so and asked again.
// - A message box is shown as "[caption] text"; a box with more buttons than
//   OK reads a line naming a button (empty: the default button).
// - The line "*Cancel*" is the Escape key at any question; the end of the
//   input cancels too.
// - Text the platform shows is written exactly as given.
// - A UTF-8 byte-order mark at the start of the input is skipped.
#pragma once

#include "standin/User.h"

#include <iosfwd>

namespace standin {

class LineUser : public User {
public:
    LineUser(std::istream& in, std::ostream& out);
    ~LineUser() override;

    std::optional<std::wstring> commandLine(const std::wstring& prompt) override;
    std::optional<std::wstring> chooseFile(const FileRequest& request) override;
    void operateDialog(DialogSession& dialog) override;
    int messageBox(const std::wstring& caption, const std::wstring& text, unsigned type) override;
    void show(const std::wstring& text) override;

    bool atEnd() const { return ended_; }  // the input has run out

private:
    // One line of input (without its end of line); nullopt at the end of the
    // input or for the "*Cancel*" line.
    std::optional<std::wstring> readLine();
    void writeLine(const std::wstring& text);  // on a line of its own
    void write(const std::wstring& text);

    std::istream& in_;
    std::ostream& out_;
    bool atLineStart_ = true;
    bool ended_ = false;
    bool firstLine_ = true;
};

}  // namespace standin
