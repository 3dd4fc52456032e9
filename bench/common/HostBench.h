// What the whole-process benchmarks share: they run the host program, arxhost,
// on scripts in a temporary folder, take --runs and --host beside the
// benchmark library's own flags, and read back what the host printed.
#pragma once

#include "standin/FileIo.h"

#include <benchmark/benchmark.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <ftw.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kvbench {

struct HostBench {
    std::string host;    // the host program
    int runs = 5;        // runs per figure
    std::string folder;  // temporary: files, scripts, registry, outputs
};

inline std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// "--name=value": true, with the value.
inline bool TakeFlag(const char* arg, const char* name, std::string& value)
{
    const size_t n = std::strlen(name);
    if (std::strncmp(arg, name, n) != 0 || arg[n] != '=')
        return false;
    value = arg + n + 1;
    return true;
}

// Reads --runs and --host, hands the other flags to the benchmark library,
// checks the host program and makes the temporary folder. Returns -1 to go
// on, or the exit code after a message naming the program.
inline int StartHostBench(const char* program, int argc, char** argv, HostBench& bench)
{
    bench.host = standin::files::programFolder() + "/arxhost";
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        std::string value;
        if (i > 0 && TakeFlag(argv[i], "--runs", value)) {
            bench.runs = std::atoi(value.c_str());
            if (bench.runs < 1) {
                std::fprintf(stderr, "%s: --runs needs a whole number of at least 1\n", program);
                return 2;
            }
        } else if (i > 0 && TakeFlag(argv[i], "--host", value)) {
            bench.host = value;
        } else {
            rest.push_back(argv[i]);
        }
    }
    int restCount = static_cast<int>(rest.size());
    rest.push_back(nullptr);
    benchmark::Initialize(&restCount, rest.data());
    if (benchmark::ReportUnrecognizedArguments(restCount, rest.data()))
        return 1;
    if (::access(bench.host.c_str(), X_OK) != 0) {
        std::fprintf(stderr, "%s: cannot run the host program %s\n", program, bench.host.c_str());
        return 1;
    }
    std::string pattern = std::string("/tmp/kv-") + program + "-XXXXXX";
    if (!::mkdtemp(&pattern[0])) {
        std::fprintf(stderr, "%s: cannot make a temporary folder: %s\n", program, std::strerror(errno));
        return 1;
    }
    bench.folder = pattern;
    return -1;
}

// What the host program printed on the command line and on standard error in
// its last run.
inline std::string HostOutPath(const HostBench& bench) { return bench.folder + "/stdout.txt"; }
inline std::string HostErrPath(const HostBench& bench) { return bench.folder + "/stderr.txt"; }

// Starts the host program on the script, with its registry in the temporary
// folder, standard input from /dev/null and its output in the two files
// above. Returns the child's process id, or -1 with the error.
inline pid_t SpawnHost(const HostBench& bench, const std::string& script, std::string& error)
{
    const std::string out = HostOutPath(bench), err = HostErrPath(bench);
    const std::string registry = bench.folder + "/registry.txt";
    const pid_t pid = ::fork();
    if (pid < 0) {
        error = std::string("fork: ") + std::strerror(errno);
        return -1;
    }
    if (pid == 0) {
        const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int i = ::open("/dev/null", O_RDONLY);
        if (o < 0 || e < 0 || i < 0)
            ::_exit(126);
        ::dup2(i, 0);
        ::dup2(o, 1);
        ::dup2(e, 2);
        const char* argv[] = {bench.host.c_str(), "--registry", registry.c_str(), script.c_str(), nullptr};
        ::execv(bench.host.c_str(), const_cast<char* const*>(argv));
        ::_exit(127);
    }
    return pid;
}

// Empty when the host program ended with status 0 and wrote nothing on
// standard error; otherwise what went wrong.
inline std::string HostFailure(const HostBench& bench, int status)
{
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "the host program ended with status " + std::to_string(status);
    const std::string errors = ReadText(HostErrPath(bench));
    if (!errors.empty())
        return "the host program reported: " + errors.substr(0, 200);
    return std::string();
}

// The temporary folder and everything in it.
inline void RemoveFolder(const std::string& folder)
{
    ::nftw(
        folder.c_str(), [](const char* path, const struct stat*, int, struct FTW*) { return ::remove(path); }, 16,
        FTW_DEPTH | FTW_PHYS);
}

}  // namespace kvbench
