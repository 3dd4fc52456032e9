// Running commands: acedCommand, the host's own commands and the lines typed
// at the host's command prompt.
#include <algorithm>
#include <cstdarg>
#include <cwchar>
#include <cwctype>
#include <exception>
#include <map>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "standin/AcDbStandin.h"
#include "standin/AcEdStandin.h"
#include "standin/WideFormat.h"

#include "accmd.h"
#include "acedads.h"
#include "adscodes.h"
#include "dbapserv.h"
#include "dbmain.h"

#include "EditorInternal.h"

namespace {

typedef int (*HostCommand)();

std::wstring unquote(const std::wstring& text)
{
    std::wstring t = kv_editor::trim(text);
    if (t.size() >= 2 && t.front() == L'"' && t.back() == L'"')
        t = t.substr(1, t.size() - 2);
    return t;
}

bool endsWithDxf(const std::wstring& path)
{
    return path.size() >= 4 && kv_editor::upper(path.substr(path.size() - 4)) == L".DXF";
}

int dxfOutCommand()
{
    const std::optional<std::wstring> answer = kv_editor::ask(L"Enter file name: ");
    if (!answer)
        return RTCAN;
    std::wstring path = unquote(*answer);
    if (path.empty()) {
        std::wstring drawing = kv_editor::stringVariable(L"DWGNAME");
        const size_t dot = drawing.rfind(L'.');
        if (dot != std::wstring::npos)
            drawing.erase(dot);
        path = drawing;
    }
    if (!endsWithDxf(path))
        path += L".dxf";
    std::wstring reason;
    if (path.find(L'\0') != std::wstring::npos) {
        kv_editor::print(L"Unable to write DXF file: the name holds a NUL character.\n");
        return RTERROR;
    }
    struct stat st;
    if (::stat(standin::narrow(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) {
        const std::optional<std::wstring> replace =
            kv_editor::ask(L"\"" + path + L"\" already exists. Do you want to replace it? [Yes/No] <No>: ");
        if (!replace)
            return RTCAN;
        std::wstring word = kv_editor::upper(kv_editor::trim(*replace));
        if (!word.empty() && word[0] == L'_')
            word.erase(0, 1);  // the global keyword
        if (word.empty() || std::wstring(L"YES").compare(0, word.size(), word) != 0) {
            kv_editor::printf(L"\"%ls\" was not replaced.\n", path.c_str());
            return RTCAN;
        }
    }
    AcDbDatabase* db =
        acdbHostApplicationServices() != nullptr ? acdbHostApplicationServices()->workingDatabase() : nullptr;
    if (standin::dxfOut(db, path, reason) != Acad::eOk) {
        kv_editor::printf(L"Unable to write DXF file \"%ls\": %ls.\n", path.c_str(), reason.c_str());
        return RTERROR;
    }
    return RTNORM;
}

const std::map<std::wstring, HostCommand>& hostCommands()
{
    static const std::map<std::wstring, HostCommand> commands = {
        {L"MENULOAD", &kv_editor::menuLoadCommand}, {L"MENUUNLOAD", &kv_editor::menuUnloadCommand},
        {L"DXFIN", &kv_editor::dxfInCommand},       {L"DXFOUT", &dxfOutCommand},
        {L"ZOOM", &kv_editor::zoomCommand},
    };
    return commands;
}

// The name as typed, without the prefixes for transparent use (') and for
// the host's own version of a command (.).
std::wstring bareName(const std::wstring& typed)
{
    std::wstring name = kv_editor::trim(typed);
    while (!name.empty() && (name[0] == L'\'' || name[0] == L'.'))
        name.erase(0, 1);
    return name;
}

AcEdCommand* registeredCommand(const std::wstring& typed)
{
    AcEdCommandStack* stack = acedRegCmds;
    if (stack == nullptr || typed.empty())
        return nullptr;
    if (typed[0] == L'_') {
        // A global name; it may itself begin with an underscore.
        if (AcEdCommand* c = stack->lookupGlobalCmd(typed.c_str()))
            return c;
        return typed.size() > 1 ? stack->lookupGlobalCmd(typed.c_str() + 1) : nullptr;
    }
    if (AcEdCommand* c = stack->lookupLocalCmd(typed.c_str()))
        return c;
    return nullptr;
}

HostCommand hostCommand(const std::wstring& typed)
{
    std::wstring name = kv_editor::upper(typed);
    if (!name.empty() && name[0] == L'_')
        name.erase(0, 1);
    auto it = hostCommands().find(name);
    return it != hostCommands().end() ? it->second : nullptr;
}

// "Unknown command" for what was typed, upper-cased piece by piece, so that
// a huge line costs no copy of itself.
int unknownCommand(const std::wstring& name, size_t from, size_t to)
{
    kv_editor::print(L"Unknown command \"");
    const size_t piece = 65536;
    for (size_t at = from; at < to; at += piece)
        kv_editor::print(kv_editor::upper(name.substr(at, std::min(piece, to - at))));
    kv_editor::print(L"\".  Press F1 for help.\n");
    return RTERROR;
}

// Longer than any command name; such a line is only ever unknown.
constexpr size_t kLongestCommandName = 4096;

int runNamed(const std::wstring& typed)
{
    if (typed.size() > kLongestCommandName) {
        size_t from = 0, to = typed.size();
        while (from < to && iswspace(typed[from]))
            ++from;
        while (to > from && iswspace(typed[to - 1]))
            --to;
        while (from < to && (typed[from] == L'\'' || typed[from] == L'.'))
            ++from;
        if (to - from > kLongestCommandName)
            return unknownCommand(typed, from, to);
    }
    const std::wstring name = bareName(typed);
    if (name.empty())
        return RTNORM;
    if (AcEdCommand* command = registeredCommand(name)) {
        AcRxFunctionPtr function = command->functionAddr();
        if (function == nullptr) {
            // Left on the stack by an application that is gone.
            kv_editor::printf(L"The application of command \"%ls\" is not loaded.\n", command->globalName());
            return RTERROR;
        }
        try {
            function();
        } catch (const std::exception& e) {
            kv_editor::printf(L"Unhandled exception in command %ls: %hs\n", command->globalName(), e.what());
            return RTERROR;
        } catch (...) {
            kv_editor::printf(L"Unhandled exception in command %ls.\n", command->globalName());
            return RTERROR;
        }
        return RTNORM;
    }
    if (HostCommand host = hostCommand(name))
        return host();
    return unknownCommand(name, 0, name.size());
}

std::wstring realText(double value)
{
    wchar_t buffer[64];
    std::swprintf(buffer, 64, L"%.17g", value);
    return buffer;
}

std::wstring pointText(const double* p, bool threeD)
{
    if (p == nullptr)
        return L"";
    std::wstring text = realText(p[0]) + L"," + realText(p[1]);
    if (threeD)
        text += L"," + realText(p[2]);
    return text;
}

std::wstring entityText(const Adesk::LongPtr* name)
{
    if (name == nullptr)
        return L"";
    ads_name copy = {name[0], name[1]};
    AcDbObjectId id;
    if (acdbGetObjectId(id, copy) != Acad::eOk)
        return L"";
    return kv_editor::handleText(id);
}

std::wstring setText(const Adesk::LongPtr* name)
{
    if (name == nullptr)
        return L"";
    ads_name set = {name[0], name[1]};
    long length = 0;
    if (acedSSLength(set, &length) != RTNORM)
        return L"";
    std::wstring text;
    for (long i = 0; i < length; ++i) {
        ads_name entity = {0, 0};
        if (acedSSName(set, i, entity) != RTNORM)
            continue;
        if (!text.empty())
            text += L" ";
        text += entityText(entity);
    }
    return text;
}

// Runs the commands that the answers name, each answering its own prompts
// from what follows it.
int runAnswers(std::vector<std::wstring> answers)
{
    kv_editor::pushAnswers(std::move(answers));
    int result = RTNORM;
    while (auto name = kv_editor::takeAnswer()) {
        result = runNamed(*name);
        if (result != RTNORM)
            break;
    }
    kv_editor::popAnswers();
    return result;
}

}  // namespace

int acedCommand(int rtype, ...)
{
    va_list args;
    va_start(args, rtype);
    std::vector<std::wstring> answers;
    int type = rtype;
    bool bad = false;
    while (type != 0 && type != RTNONE) {
        switch (type) {
        case RTSTR: {
            const ACHAR* text = va_arg(args, const ACHAR*);
            answers.push_back(text != nullptr ? text : L"");
            break;
        }
        case RTSHORT:
        case RTLONG: answers.push_back(std::to_wstring(va_arg(args, int))); break;
        case RTREAL:
        case RTANG:
        case RTORINT: answers.push_back(realText(va_arg(args, double))); break;
        case RTPOINT: answers.push_back(pointText(va_arg(args, const double*), false)); break;
        case RT3DPOINT: answers.push_back(pointText(va_arg(args, const double*), true)); break;
        case RTENAME: answers.push_back(entityText(va_arg(args, const Adesk::LongPtr*))); break;
        case RTPICKS: answers.push_back(setText(va_arg(args, const Adesk::LongPtr*))); break;
        default: bad = true; break;
        }
        if (bad)
            break;
        type = va_arg(args, int);
    }
    va_end(args);
    if (bad)
        return RTERROR;
    return runAnswers(std::move(answers));
}

int acedCmd(const struct resbuf* rbp)
{
    std::vector<std::wstring> answers;
    for (const resbuf* rb = rbp; rb != nullptr; rb = rb->rbnext) {
        switch (rb->restype) {
        case RTSTR: answers.push_back(rb->resval.rstring != nullptr ? rb->resval.rstring : L""); break;
        case RTSHORT: answers.push_back(std::to_wstring(rb->resval.rint)); break;
        case RTLONG: answers.push_back(std::to_wstring(rb->resval.rlong)); break;
        case RTREAL:
        case RTANG:
        case RTORINT: answers.push_back(realText(rb->resval.rreal)); break;
        case RTPOINT: answers.push_back(pointText(rb->resval.rpoint, false)); break;
        case RT3DPOINT: answers.push_back(pointText(rb->resval.rpoint, true)); break;
        case RTENAME: answers.push_back(entityText(rb->resval.rlname)); break;
        case RTPICKS: answers.push_back(setText(rb->resval.rlname)); break;
        case RTNONE: break;
        default: return RTERROR;
        }
    }
    return runAnswers(std::move(answers));
}

namespace standin {
namespace editor {

int runCommand(const std::wstring& line)
{
    // Answers of an acedCommand in progress belong to it, not to this line.
    kv_editor::pushAnswers({});
    const int result = runNamed(line);
    kv_editor::popAnswers();
    return result;
}

bool isCommand(const std::wstring& line)
{
    const std::wstring name = bareName(line);
    return !name.empty() && (registeredCommand(name) != nullptr || hostCommand(name) != nullptr);
}

void resetEditor()
{
    clearCommandLine();
    kv_editor::resetVariables();
    kv_editor::resetMenuState();
    kv_editor::resetSelection();
    kv_editor::resetInput();
    kv_editor::resetView();
}

}  // namespace editor
}  // namespace standin
