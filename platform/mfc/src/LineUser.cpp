#include "standin/LineUser.h"
#include "standin/Dialogs.h"
#include "standin/WideFormat.h"
#include "Internal.h"

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace standin {

namespace {

std::wstring trimmed(const std::wstring& s)
{
    size_t b = s.find_first_not_of(L" \t");
    if (b == std::wstring::npos)
        return std::wstring();
    size_t e = s.find_last_not_of(L" \t");
    return s.substr(b, e - b + 1);
}

std::wstring withoutNewlines(std::wstring s)
{
    while (!s.empty() && (s.front() == L'\n' || s.front() == L'\r'))
        s.erase(s.begin());
    while (!s.empty() && (s.back() == L'\n' || s.back() == L'\r'))
        s.pop_back();
    return s;
}

std::wstring joined(const std::vector<std::wstring>& items)
{
    std::wstring out;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i)
            out += L'/';
        out += items[i];
    }
    return out;
}

// The text that names an input control: the static text just before it in
// tab order, else the static text left of it on its row, else (check boxes)
// its own text.
std::wstring labelOf(const std::vector<DialogControl>& controls, size_t index)
{
    const DialogControl& c = controls[index];
    if (c.kind == ControlKind::CheckBox || c.kind == ControlKind::RadioButton)
        return detail::withoutMnemonic(c.text);
    if (index > 0) {
        const DialogControl& before = controls[index - 1];
        if (before.kind == ControlKind::Static && !before.text.empty())
            return detail::withoutMnemonic(before.text);
    }
    const DialogControl* best = nullptr;
    for (const DialogControl& s : controls) {
        if (s.kind != ControlKind::Static || s.text.empty())
            continue;
        bool sameRow = s.y < c.y + c.height && c.y < s.y + s.height;
        if (!sameRow || s.x + s.width > c.x)
            continue;
        if (!best || s.x > best->x)
            best = &s;
    }
    if (best)
        return detail::withoutMnemonic(best->text);
    return L"Control " + std::to_wstring(c.id);
}

struct ButtonName {
    int id;
    const wchar_t* name;
};
const ButtonName kButtons[] = {{IDOK, L"OK"},       {IDCANCEL, L"Cancel"},      {IDABORT, L"Abort"},
                               {IDRETRY, L"Retry"}, {IDIGNORE, L"Ignore"},      {IDYES, L"Yes"},
                               {IDNO, L"No"},       {IDTRYAGAIN, L"Try Again"}, {IDCONTINUE, L"Continue"}};

std::wstring buttonName(int id)
{
    for (const auto& b : kButtons)
        if (b.id == id)
            return b.name;
    return std::to_wstring(id);
}

// The buttons of the box; a type that is no message box type shows OK.
std::vector<int> boxButtons(unsigned type)
{
    std::vector<int> buttons = detail::messageBoxButtons(type);
    if (buttons.empty())
        buttons.push_back(IDOK);
    return buttons;
}

}  // namespace

LineUser::LineUser(std::istream& in, std::ostream& out) : in_(in), out_(out) {}
LineUser::~LineUser()
{
    out_.flush();
}

std::optional<std::wstring> LineUser::readLine()
{
    std::string line;
    if (ended_ || !std::getline(in_, line)) {
        ended_ = true;
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    // A script saved by an editor that marks UTF-8 starts with a byte-order
    // mark; it belongs to no line.
    if (firstLine_ && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
        line.erase(0, 3);
    firstLine_ = false;
    std::wstring wide = widen(line);
    line = std::string();
    if (wide.size() < 64 && trimmed(wide) == L"*Cancel*")
        return std::nullopt;
    return wide;
}

void LineUser::write(const std::wstring& text)
{
    if (text.empty())
        return;
    out_ << narrow(text);
    out_.flush();
    atLineStart_ = text.back() == L'\n';
}

void LineUser::writeLine(const std::wstring& text)
{
    if (!atLineStart_)
        write(L"\n");
    write(text + L"\n");
}

std::optional<std::wstring> LineUser::commandLine(const std::wstring& prompt)
{
    writeLine(withoutNewlines(prompt));
    return readLine();
}

std::optional<std::wstring> LineUser::chooseFile(const FileRequest& request)
{
    std::wstring title = request.title.empty() ? (request.open ? L"Open" : L"Save As") : request.title;
    std::wstring filter = request.filter;
    while (!filter.empty() && filter.back() == L'|')
        filter.pop_back();
    writeLine(filter.empty() ? title + L":" : title + L" (" + filter + L"):");
    std::optional<std::wstring> line = readLine();
    if (!line)
        return std::nullopt;
    std::wstring path = trimmed(*line);
    if (path.empty())
        return std::nullopt;
    return path;
}

void LineUser::operateDialog(DialogSession& dialog)
{
    writeLine(dialog.title());
    while (!dialog.ended()) {
        std::vector<DialogControl> controls = dialog.controls();
        for (size_t i = 0; i < controls.size() && !dialog.ended(); ++i) {
            const DialogControl& c = controls[i];
            if (!c.enabled || !c.visible)
                continue;
            bool combo = c.kind == ControlKind::ComboBox;
            bool check = c.kind == ControlKind::CheckBox;
            if (!combo && !check)
                continue;
            std::wstring label = labelOf(controls, i);
            for (;;) {
                std::wstring choices, current;
                std::vector<std::wstring> items;
                if (combo) {
                    items = dialog.comboItems(c.id);
                    int sel = dialog.comboSelection(c.id);
                    choices = joined(items);
                    current =
                        sel >= 0 && sel < static_cast<int>(items.size()) ? items[static_cast<size_t>(sel)] : L"none";
                } else {
                    int state = dialog.checkState(c.id);
                    choices = L"Yes/No";
                    current = state == BST_CHECKED ? L"Yes" : state == BST_INDETERMINATE ? L"Mixed" : L"No";
                }
                writeLine(label + L" [" + choices + L"] <" + current + L">:");
                std::optional<std::wstring> line = readLine();
                if (!line) {
                    dialog.escape();
                    return;
                }
                std::wstring answer = trimmed(*line);
                if (answer.empty())
                    break;
                bool done = false;
                if (combo) {
                    for (size_t k = 0; k < items.size() && !done; ++k)
                        if (detail::compareNoCase(items[k], answer) == 0)
                            done = dialog.setComboSelection(c.id, static_cast<int>(k));
                } else if (detail::compareNoCase(answer, L"Yes") == 0) {
                    done = dialog.setCheck(c.id, BST_CHECKED);
                } else if (detail::compareNoCase(answer, L"No") == 0) {
                    done = dialog.setCheck(c.id, BST_UNCHECKED);
                }
                if (done)
                    break;
                writeLine(L"\"" + answer + L"\" is not one of " + choices + L".");
            }
        }
        if (dialog.ended())
            return;
        // A push button ends the round.
        std::vector<DialogControl> buttons;
        for (const DialogControl& c : dialog.controls())
            if (c.kind == ControlKind::PushButton && c.enabled && c.visible)
                buttons.push_back(c);
        std::vector<std::wstring> names;
        for (const DialogControl& b : buttons)
            names.push_back(detail::withoutMnemonic(b.text));
        int def = dialog.defaultButton();
        std::wstring defName;
        for (const DialogControl& b : buttons)
            if (b.id == def)
                defName = detail::withoutMnemonic(b.text);
        for (;;) {
            writeLine(L"Press [" + joined(names) + L"]" + (defName.empty() ? L"" : L" <" + defName + L">") + L":");
            std::optional<std::wstring> line = readLine();
            if (!line) {
                dialog.escape();
                return;
            }
            std::wstring answer = trimmed(*line);
            bool pressed = false;
            if (answer.empty()) {
                pressed = !defName.empty() && dialog.press(def);
            } else {
                for (size_t k = 0; k < buttons.size() && !pressed; ++k)
                    if (detail::compareNoCase(names[k], answer) == 0)
                        pressed = dialog.press(buttons[k].id);
            }
            if (pressed)
                break;
            writeLine(L"\"" + answer + L"\" is not one of " + joined(names) + L".");
        }
    }
}

int LineUser::messageBox(const std::wstring& caption, const std::wstring& text, unsigned type)
{
    writeLine(L"[" + caption + L"] " + withoutNewlines(text));
    std::vector<int> buttons = boxButtons(type);
    if (buttons.size() == 1)
        return IDOK;
    size_t defIndex = (type & MB_DEFMASK) >> 8;
    if (defIndex >= buttons.size())
        defIndex = 0;
    std::vector<std::wstring> names;
    for (int b : buttons)
        names.push_back(buttonName(b));
    for (;;) {
        writeLine(L"[" + joined(names) + L"] <" + names[defIndex] + L">:");
        std::optional<std::wstring> line = readLine();
        if (!line)
            return IDCANCEL;
        std::wstring answer = trimmed(*line);
        if (answer.empty())
            return buttons[defIndex];
        for (size_t k = 0; k < buttons.size(); ++k)
            if (detail::compareNoCase(names[k], answer) == 0)
                return buttons[k];
        writeLine(L"\"" + answer + L"\" is not one of " + joined(names) + L".");
    }
}

void LineUser::show(const std::wstring& text)
{
    write(text);
}

}  // namespace standin
