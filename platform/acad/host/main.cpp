// arxhost: the host program. It starts the host (main window, document,
// drawing), loads an application module through the dynamic linker and runs
// a script of commands and answers, one per line, as the host's own script
// files do.
//
//   arxhost [--module PATH] [--registry FILE] [--release LETTER] [SCRIPT]
//
// Without SCRIPT the commands are read from standard input. At the end of
// the input the module is unloaded and the program ends with 0. Errors in
// the command line or a module that cannot be loaded end it at once with a
// message on standard error and a non-zero status.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "standin/AcDbStandin.h"
#include "standin/AcEdStandin.h"
#include "standin/FileIo.h"
#include "standin/LineUser.h"
#include "standin/User.h"
#include "standin/WideFormat.h"

#include "acdocman.h"
#include "adscodes.h"
#include "dbapserv.h"
#include "rxdlinkr.h"
#include "rxmfcapi.h"

#include "standin/VrnStandin.h"

namespace {

const char* const kUsage = "usage: arxhost [--module PATH] [--registry FILE] [--release LETTER] [SCRIPT]\n"
                           "  --module PATH     the application module to load (default: Kolvane.arx beside arxhost)\n"
                           "  --registry FILE   the settings store of the maker's libraries\n"
                           "  --release LETTER  the host release letter of _VERNUM (default E, AutoCAD 2011)\n"
                           "  SCRIPT            commands and answers, one per line (default: standard input)\n";

struct Options {
    std::string module;
    std::string registry;
    bool haveRegistry = false;
    wchar_t release = L'E';
    std::string script;
    bool haveScript = false;
};

int usageError(const std::string& message)
{
    std::fprintf(stderr, "arxhost: %s\n%s", message.c_str(), kUsage);
    return 2;
}

// 0 to go on, otherwise the exit status.
int parse(int argc, char** argv, Options& options, bool& helpOnly)
{
    helpOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) -> bool {
            if (i + 1 >= argc)
                return false;
            out = argv[++i];
            return true;
        };
        if (arg == "--help" || arg == "-h") {
            helpOnly = true;
            return 0;
        } else if (arg == "--module") {
            if (!value(options.module) || options.module.empty())
                return usageError("--module needs a path");
        } else if (arg == "--registry") {
            if (!value(options.registry) || options.registry.empty())
                return usageError("--registry needs a file");
            options.haveRegistry = true;
        } else if (arg == "--release") {
            std::string letter;
            if (!value(letter))
                return usageError("--release needs a letter");
            const std::wstring wide = standin::widen(letter);
            if (wide.size() != 1 || !((wide[0] >= L'A' && wide[0] <= L'Z') || (wide[0] >= L'a' && wide[0] <= L'z')))
                return usageError("--release takes one letter, such as E for AutoCAD 2011");
            options.release = static_cast<wchar_t>(towupper(wide[0]));
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            return usageError("unknown option " + arg);
        } else {
            if (options.haveScript)
                return usageError("more than one script given");
            options.script = arg;
            options.haveScript = true;
        }
    }
    if (options.module.empty())
        options.module = standin::files::programFolder() + "/Kolvane.arx";
    return 0;
}

// Says on standard error what a command left behind.
void checkAfterCommand(const std::wstring& command)
{
    const std::string open = standin::describeOpenObjects();
    if (!open.empty())
        std::fprintf(stderr, "arxhost: after %s: database objects left open: %s\n", standin::narrow(command).c_str(),
                     open.c_str());
    const std::string held = standin::editor::describeHeldSelectionSets();
    if (!held.empty())
        std::fprintf(stderr, "arxhost: after %s: selection sets held: %s\n", standin::narrow(command).c_str(),
                     held.c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    bool helpOnly = false;
    if (const int status = parse(argc, argv, options, helpOnly))
        return status;
    if (helpOnly) {
        std::fputs(kUsage, stdout);
        return 0;
    }

    std::ifstream scriptFile;
    if (options.haveScript) {
        // A folder opens as a stream that reads nothing; it is no script.
        struct stat st {};
        if (stat(options.script.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
            std::fprintf(stderr, "arxhost: cannot read the script %s: it is a folder\n", options.script.c_str());
            return 2;
        }
        scriptFile.open(options.script, std::ios::binary);
        if (!scriptFile) {
            std::fprintf(stderr, "arxhost: cannot read the script %s\n", options.script.c_str());
            return 2;
        }
    }
    std::istream& input = options.haveScript ? static_cast<std::istream&>(scriptFile) : std::cin;

    if (access(options.module.c_str(), R_OK) != 0) {
        std::fprintf(stderr, "arxhost: cannot find the module %s\n", options.module.c_str());
        return 1;
    }

    if (options.haveRegistry) {
        standin::vrn::setRegistryFile(options.registry);
    }
    standin::editor::setHostRelease(options.release);

    // The host starts: main window, document manager, the drawing.
    adsw_acadMainWnd();
    acDocManagerPtr();
    acdbHostApplicationServices()->workingDatabase();

    standin::LineUser user(input, std::cout);
    standin::ScopedUser scoped(user);

    const std::wstring module = standin::widen(options.module);
    if (!acrxDynamicLinker->loadModule(module.c_str(), true)) {
        std::cout.flush();
        std::fprintf(stderr, "arxhost: cannot load the module %s\n", options.module.c_str());
        standin::rx::unloadAllModules();
        return 1;
    }
    checkAfterCommand(L"loading " + module);

    while (true) {
        std::optional<std::wstring> line = user.commandLine(L"Command: ");
        if (!line) {
            if (user.atEnd())
                break;
            continue;  // Escape at the command prompt
        }
        std::wstring command = std::move(*line);
        line.reset();
        while (!command.empty() && iswspace(command.back()))
            command.pop_back();
        size_t start = 0;
        while (start < command.size() && iswspace(command[start]))
            ++start;
        command.erase(0, start);
        if (command.empty())
            continue;
        standin::editor::runCommand(command);
        checkAfterCommand(command);
    }

    if (!acrxDynamicLinker->unloadModule(module.c_str(), true))
        standin::rx::unloadAllModules();
    std::cout.flush();
    return 0;
}
