// Menu groups loaded from menu files (.mnu), and the host's menu bar.
#include <algorithm>
#include <cwctype>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "standin/AcEdStandin.h"
#include "standin/WideFormat.h"

#include "acedads.h"
#include "adscodes.h"

#include "EditorInternal.h"

using standin::editor::MenuBarEntry;
using standin::editor::MenuGroup;
using standin::editor::MenuItem;
using standin::editor::PopupMenu;

namespace {

constexpr int kMaxSlot = 16;

struct MenuState {
    std::vector<MenuGroup> groups;
    std::vector<MenuBarEntry> bar;
};

std::vector<MenuBarEntry> hostMenuBar()
{
    static const wchar_t* titles[] = {L"&File", L"&Edit",      L"&View",   L"&Insert",     L"F&ormat", L"&Tools",
                                      L"&Draw", L"Dime&nsion", L"&Modify", L"P&arametric", L"&Window", L"&Help"};
    std::vector<MenuBarEntry> bar;
    int n = 1;
    for (const wchar_t* title : titles)
        bar.push_back(MenuBarEntry{L"ACAD", L"POP" + std::to_wstring(n++), title});
    return bar;
}

MenuState& state()
{
    static MenuState* s = [] {
        auto* created = new MenuState();
        created->bar = hostMenuBar();
        return created;
    }();
    return *s;
}

MenuGroup* findGroup(const std::wstring& name)
{
    for (MenuGroup& g : state().groups) {
        if (kv_editor::equalNoCase(g.name, name))
            return &g;
    }
    return nullptr;
}

const PopupMenu* findPopup(const MenuGroup& group, const std::wstring& name)
{
    for (const PopupMenu& p : group.popups) {
        if (kv_editor::equalNoCase(p.section, name))
            return &p;
        for (const std::wstring& alias : p.aliases) {
            if (kv_editor::equalNoCase(alias, name))
                return &p;
        }
    }
    return nullptr;
}

bool startsWithNoCase(const std::wstring& text, const std::wstring& prefix)
{
    return text.size() >= prefix.size() && kv_editor::equalNoCase(text.substr(0, prefix.size()), prefix);
}

// Parses an item line: an optional name, then "[label]macro".
bool parseItem(const std::wstring& line, MenuItem& item)
{
    const size_t open = line.find(L'[');
    if (open == std::wstring::npos)
        return false;
    const size_t close = line.find(L']', open);
    if (close == std::wstring::npos)
        return false;
    item.id = kv_editor::trim(line.substr(0, open));
    item.label = line.substr(open + 1, close - open - 1);
    item.macro = kv_editor::trim(line.substr(close + 1));
    return true;
}

enum class ParseResult { Ok, NotAMenu };

// The menu file's text; sections other than the pull-down menus are skipped.
ParseResult parseMenu(const std::wstring& text, MenuGroup& group)
{
    std::vector<std::wstring> lines;
    {
        std::wstring current;
        for (size_t i = 0; i <= text.size(); ++i) {
            if (i == text.size() || text[i] == L'\n') {
                if (!current.empty() && current.back() == L'\r')
                    current.pop_back();
                lines.push_back(current);
                current.clear();
            } else {
                current += text[i];
            }
        }
    }
    bool sawSection = false;
    PopupMenu* popup = nullptr;
    bool titleDone = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::wstring line = kv_editor::trim(lines[i]);
        // A trailing "+" continues the item on the next line.
        while (!line.empty() && line.back() == L'+' && i + 1 < lines.size()) {
            line.pop_back();
            line += kv_editor::trim(lines[++i]);
        }
        if (line.empty() || line.compare(0, 2, L"//") == 0)
            continue;
        if (line.compare(0, 3, L"***") == 0) {
            sawSection = true;
            const std::wstring section = kv_editor::trim(line.substr(3));
            popup = nullptr;
            if (startsWithNoCase(section, L"MENUGROUP=")) {
                group.name = kv_editor::trim(section.substr(10));
            } else if (startsWithNoCase(section, L"POP") && section.size() > 3 &&
                       std::all_of(section.begin() + 3, section.end(),
                                   [](wchar_t c) { return std::iswdigit(c) != 0; })) {
                group.popups.push_back(PopupMenu{kv_editor::upper(section), {}, L"", {}});
                popup = &group.popups.back();
                titleDone = false;
            }
            continue;
        }
        if (popup == nullptr)
            continue;
        if (line.compare(0, 2, L"**") == 0) {
            popup->aliases.push_back(kv_editor::trim(line.substr(2)));
            continue;
        }
        MenuItem item;
        if (!parseItem(line, item))
            continue;
        if (!titleDone) {
            popup->title = item.label;
            titleDone = true;
        } else {
            popup->items.push_back(item);
        }
    }
    return sawSection ? ParseResult::Ok : ParseResult::NotAMenu;
}

bool readFile(const std::wstring& path, std::wstring& text)
{
    std::ifstream in(standin::narrow(path), std::ios::binary);
    if (!in)
        return false;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad())
        return false;
    std::string content = bytes.str();
    if (content.size() >= 3 && content.compare(0, 3, "\xEF\xBB\xBF") == 0)
        content.erase(0, 3);
    text = standin::widen(content);
    return true;
}

std::wstring baseName(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"/\\");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.erase(dot);
    return name;
}

bool hasExtension(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"/\\");
    const size_t dot = path.rfind(L'.');
    return dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash + 1);
}

std::wstring unquote(const std::wstring& text)
{
    std::wstring t = kv_editor::trim(text);
    if (t.size() >= 2 && t.front() == L'"' && t.back() == L'"')
        t = t.substr(1, t.size() - 2);
    return t;
}

std::wstring withoutAmpersands(const std::wstring& title)
{
    std::wstring result;
    for (size_t i = 0; i < title.size(); ++i) {
        if (title[i] == L'&') {
            if (i + 1 < title.size() && title[i + 1] == L'&')
                result += title[++i];
            continue;
        }
        result += title[i];
    }
    return result;
}

bool onBar(const std::wstring& group, const std::wstring& menu)
{
    return std::any_of(state().bar.begin(), state().bar.end(), [&](const MenuBarEntry& e) {
        return kv_editor::equalNoCase(e.group, group) && kv_editor::equalNoCase(e.menu, menu);
    });
}

}  // namespace

namespace kv_editor {

int menuLoadCommand()
{
    const std::optional<std::wstring> answer = ask(L"Enter name of menu file to load: ");
    if (!answer)
        return RTCAN;
    std::wstring path = unquote(*answer);
    if (path.empty())
        return RTNORM;
    if (!hasExtension(path))
        path += L".mnu";
    std::wstring text;
    {
        std::ifstream probe(standin::narrow(path));
        if (!probe) {
            printf(L"Menu file \"%ls\" not found.\n", path.c_str());
            return RTERROR;
        }
    }
    MenuGroup group;
    if (!readFile(path, text) || parseMenu(text, group) != ParseResult::Ok) {
        printf(L"Unable to load menu file \"%ls\".\n", path.c_str());
        return RTERROR;
    }
    if (group.name.empty())
        group.name = baseName(path);
    if (findGroup(group.name) != nullptr) {
        printf(L"Menu group \"%ls\" is already loaded.\n", group.name.c_str());
        return RTERROR;
    }
    group.file = path;
    state().groups.push_back(group);
    return RTNORM;
}

int menuUnloadCommand()
{
    const std::optional<std::wstring> answer = ask(L"Enter the name of a MENUGROUP to unload: ");
    if (!answer)
        return RTCAN;
    const std::wstring name = unquote(*answer);
    if (name.empty())
        return RTNORM;
    MenuGroup* group = findGroup(name);
    if (group == nullptr) {
        printf(L"Menu group \"%ls\" is not loaded.\n", name.c_str());
        return RTERROR;
    }
    const std::wstring groupName = group->name;
    auto& bar = state().bar;
    bar.erase(
        std::remove_if(bar.begin(), bar.end(), [&](const MenuBarEntry& e) { return equalNoCase(e.group, groupName); }),
        bar.end());
    auto& groups = state().groups;
    groups.erase(std::remove_if(groups.begin(), groups.end(),
                                [&](const MenuGroup& g) { return equalNoCase(g.name, groupName); }),
                 groups.end());
    return RTNORM;
}

void resetMenuState()
{
    // Assigned over a bar of the same shape, the strings keep their room.
    static const std::vector<MenuBarEntry> host = hostMenuBar();
    state().groups.clear();
    state().bar = host;
}

}  // namespace kv_editor

int acedMenuCmd(const ACHAR* str)
{
    if (str == nullptr)
        return RTERROR;
    const std::wstring command = kv_editor::trim(str);
    if (command.size() < 3 || std::towupper(command[0]) != L'P')
        return RTERROR;
    size_t i = 1;
    int slot = 0;
    while (i < command.size() && std::iswdigit(command[i]) && slot <= kMaxSlot)
        slot = slot * 10 + (command[i++] - L'0');
    if (i == 1 || i >= command.size() || command[i] != L'=' || slot < 1 || slot > kMaxSlot)
        return RTERROR;
    const std::wstring action = command.substr(i + 1);
    auto& bar = state().bar;
    if (action == L"*")
        return RTNORM;
    if (action == L"-") {
        if (static_cast<size_t>(slot) > bar.size())
            return RTERROR;
        bar.erase(bar.begin() + (slot - 1));
        return RTNORM;
    }
    const bool insert = !action.empty() && action[0] == L'+';
    const std::wstring reference = insert ? action.substr(1) : action;
    const size_t dot = reference.find(L'.');
    if (dot == std::wstring::npos || dot == 0 || dot + 1 >= reference.size())
        return RTERROR;
    const MenuGroup* group = findGroup(reference.substr(0, dot));
    if (group == nullptr)
        return RTERROR;
    const PopupMenu* popup = findPopup(*group, reference.substr(dot + 1));
    if (popup == nullptr)
        return RTERROR;
    // A pop-up menu shows once in the menu bar.
    if (onBar(group->name, popup->section))
        return RTNORM;
    const MenuBarEntry entry{group->name, popup->section, popup->title};
    if (insert) {
        const size_t at = std::min(static_cast<size_t>(slot - 1), bar.size());
        bar.insert(bar.begin() + static_cast<std::ptrdiff_t>(at), entry);
        return RTNORM;
    }
    if (static_cast<size_t>(slot) > bar.size())
        return RTERROR;
    bar[static_cast<size_t>(slot - 1)] = entry;
    return RTNORM;
}

namespace standin {
namespace editor {

std::vector<MenuGroup> loadedMenuGroups()
{
    return state().groups;
}

std::vector<MenuBarEntry> menuBar()
{
    return state().bar;
}

std::vector<std::wstring> menuBarTitles()
{
    std::vector<std::wstring> titles;
    for (const MenuBarEntry& e : state().bar)
        titles.push_back(withoutAmpersands(e.title));
    return titles;
}

void resetMenus()
{
    kv_editor::resetMenuState();
}

}  // namespace editor
}  // namespace standin
