#include "script/ScriptHarness.h"

#include <dirent.h>
#include <unistd.h>

#include <cstring>
#include <cwctype>
#include <optional>
#include <set>
#include <sstream>
#include <vector>

#include <afxwin.h>

#include "acdocman.h"
#include "dbapserv.h"
#include "rxdlinkr.h"
#include "rxmfcapi.h"
#include "common/FuzzSupport.h"
#include "standin/AcDbStandin.h"
#include "standin/AcEdStandin.h"
#include "standin/FileIo.h"
#include "standin/LineUser.h"
#include "standin/User.h"
#include "standin/Win32.h"
#include "standin/VrnStandin.h"
#include "standin/WideFormat.h"

namespace kvfuzz {

namespace {

bool g_ready = false;
bool g_endedCleanly = false;  // the last input was followed by EndScriptInput
HINSTANCE g_resourceAtStart = nullptr;

struct FixtureFile {
    const char* name;
    const char* content;
};

const FixtureFile kFixture[] = {
    {"cube.obj",
     "o cube\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1\n"
     "f 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 2 3 7 6\nf 3 4 8 7\nf 4 1 5 8\n"},
    {"two.obj", "o a\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\no b\nv 5 0 0\nv 6 0 0\nv 6 1 0\nv 5 1 0\nf 4 5 6 7\n"},
    {"nomesh.obj", "v 0 0 0\nv 1 0 0\np 1\nl 1 2\n"},
    {"empty.obj", ""},
    {"bad.obj", "f 1 2 3\nv nan inf\n\x01\x02\xff garbage\n"},
};

// Files a script made in the working folder go; the fixture stays.
void TidyWorkingFolder()
{
    std::set<std::string> keep;
    for (const FixtureFile& f : kFixture)
        keep.insert(f.name);
    std::vector<std::string> stray;
    if (DIR* dir = ::opendir(ScratchDir().c_str())) {
        while (dirent* e = ::readdir(dir)) {
            if (e->d_type != DT_DIR && !keep.count(e->d_name))
                stray.push_back(e->d_name);
        }
        ::closedir(dir);
    }
    for (const std::string& name : stray)
        ::unlink((ScratchDir() + "/" + name).c_str());
}

std::wstring Trimmed(std::wstring command)
{
    while (!command.empty() && std::iswspace(command.back()))
        command.pop_back();
    size_t start = 0;
    while (start < command.size() && std::iswspace(command[start]))
        ++start;
    return command.substr(start);
}

}  // namespace

std::string SetUpScriptHarness(const std::string& module)
{
    if (g_ready)
        return "";
    const std::string& dir = ScratchDir();
    for (const FixtureFile& f : kFixture) {
        if (!WriteBytes(dir + "/" + f.name, reinterpret_cast<const uint8_t*>(f.content), std::strlen(f.content)))
            return "cannot write the fixture into " + dir;
    }
    if (::chdir(dir.c_str()) != 0)
        return "cannot work in " + dir;
    setenv("VRN_READER_TIMEOUT", "10", 0);
    standin::vrn::setRegistryFile(dir + "/registry.txt");

    // The host starts: main window, document manager, the drawing.
    adsw_acadMainWnd();
    acDocManagerPtr();
    acdbHostApplicationServices()->workingDatabase();

    const std::string path = module.empty() ? standin::files::programFolder() + "/Kolvane.arx" : module;
    std::istringstream none;
    std::ostringstream out;
    standin::LineUser user(none, out);
    standin::ScopedUser scoped(user);
    if (!acrxDynamicLinker->loadModule(standin::widen(path).c_str(), true))
        return "cannot load the module " + path;
    const std::string broke = CheckNothingLeft("loading the module");
    if (!broke.empty())
        return broke;
    g_resourceAtStart = AfxGetResourceHandle();
    g_ready = true;
    return "";
}

std::string RunScriptInput(const uint8_t* data, size_t size)
{
    if (!g_ready)
        return "the host was not started";
    // Every input starts from the same host: a new drawing, the editor as it
    // started, no stored options, no files of an earlier script. The end of
    // the input before has already put the editor and the folder back.
    standin::newWorkingDatabase();
    if (!g_endedCleanly) {
        standin::editor::resetEditor();
        TidyWorkingFolder();
    }
    g_endedCleanly = false;
    standin::editor::setHostRelease(L'E');

    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream out;
    standin::LineUser user(in, out);
    standin::ScopedUser scoped(user);
    std::string broke;
    while (broke.empty()) {
        const std::optional<std::wstring> line = user.commandLine(L"Command: ");
        if (!line) {
            if (user.atEnd())
                break;
            continue;  // Escape at the command prompt
        }
        const std::wstring command = Trimmed(*line);
        if (command.empty())
            continue;
        standin::editor::runCommand(command);
        const std::string what = "the command " + standin::narrow(command.substr(0, 80));
        broke = CheckNothingLeft(what);
        if (broke.empty() && AfxGetResourceHandle() != g_resourceAtStart)
            broke = "after " + what + ": MFC's resource handle was not given back";
    }
    standin::editor::freeAllSelectionSets();
    return broke;
}

void EndScriptInput()
{
    standin::editor::resetEditor();
    standin::discardWorkingDatabase();
    standin::clearShellOpenings();
    TidyWorkingFolder();
    g_endedCleanly = true;
}

}  // namespace kvfuzz
