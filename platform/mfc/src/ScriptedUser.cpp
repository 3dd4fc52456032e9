#include "standin/ScriptedUser.h"

#include <windows.h>

namespace standin {

namespace {

const wchar_t* kindName(int kind)
{
    static const wchar_t* names[] = {L"a typed answer", L"an escape",       L"a file choice",
                                     L"a file cancel",  L"a dialog answer", L"a message box answer"};
    return kind >= 0 && kind < 6 ? names[kind] : L"an answer";
}

}  // namespace

ScriptedUser::ScriptedUser() = default;
ScriptedUser::~ScriptedUser() = default;

ScriptedUser& ScriptedUser::type(const std::wstring& text)
{
    answers_.push_back({Kind::Text, text, nullptr, 0});
    return *this;
}

ScriptedUser& ScriptedUser::escape()
{
    answers_.push_back({Kind::Escape, L"", nullptr, 0});
    return *this;
}

ScriptedUser& ScriptedUser::chooseFile(const std::wstring& path)
{
    answers_.push_back({Kind::File, path, nullptr, 0});
    return *this;
}

ScriptedUser& ScriptedUser::cancelFile()
{
    answers_.push_back({Kind::CancelFile, L"", nullptr, 0});
    return *this;
}

ScriptedUser& ScriptedUser::dialog(std::function<void(DialogSession&)> work)
{
    answers_.push_back({Kind::Dialog, L"", std::move(work), 0});
    return *this;
}

ScriptedUser& ScriptedUser::answerBox(int buttonId)
{
    answers_.push_back({Kind::Box, L"", nullptr, buttonId});
    return *this;
}

bool ScriptedUser::take(Kind kind, const std::wstring& question, Answer& out)
{
    if (answers_.empty())
        return false;
    const Answer& next = answers_.front();
    bool fits = next.kind == kind || next.kind == Kind::Escape || (kind == Kind::File && next.kind == Kind::CancelFile);
    if (!fits) {
        complaints_.push_back(question + L": the next answer is " + kindName(static_cast<int>(next.kind)));
        return false;
    }
    out = answers_.front();
    answers_.pop_front();
    return true;
}

std::optional<std::wstring> ScriptedUser::commandLine(const std::wstring& prompt)
{
    prompts_.push_back(prompt);
    Answer a;
    if (!take(Kind::Text, L"prompt \"" + prompt + L"\"", a) || a.kind != Kind::Text)
        return std::nullopt;
    return a.text;
}

std::optional<std::wstring> ScriptedUser::chooseFile(const FileRequest& request)
{
    fileRequests_.push_back(request);
    Answer a;
    if (!take(Kind::File, L"file dialog \"" + request.title + L"\"", a) || a.kind != Kind::File)
        return std::nullopt;
    return a.text;
}

void ScriptedUser::operateDialog(DialogSession& dialog)
{
    dialogs_.push_back({dialog.title(), dialog.templateId()});
    Answer a;
    if (!take(Kind::Dialog, L"dialog \"" + dialog.title() + L"\"", a) || a.kind != Kind::Dialog) {
        dialog.escape();
        return;
    }
    if (a.work)
        a.work(dialog);
}

int ScriptedUser::messageBox(const std::wstring& caption, const std::wstring& text, unsigned type)
{
    Box box{caption, text, type, IDOK};
    if ((type & MB_TYPEMASK) != MB_OK) {
        Answer a;
        if (take(Kind::Box, L"message box \"" + text + L"\"", a) && a.kind == Kind::Box)
            box.answer = a.button;
        else
            box.answer = IDCANCEL;
    }
    boxes_.push_back(box);
    return box.answer;
}

void ScriptedUser::show(const std::wstring& text)
{
    output_ += text;
}

}  // namespace standin
