#include "HostileSupport.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace hostile {

std::string BinDir()
{
    return KV_TEST_BIN_DIR;
}

std::string TestDataDir()
{
    const char* env = std::getenv("KV_TEST_DATA");
    return env && *env ? env : KV_TEST_DATA_DIR;
}

std::string FuzzDir()
{
    return KV_FUZZ_DIR;
}

std::string MakeTempDir()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/kv-hostile-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!::mkdtemp(buffer.data()))
        return "";
    return std::string(buffer.data()) + "/";
}

void RemoveTree(const std::string& path)
{
    std::string p = path;
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    struct stat st {};
    if (::lstat(p.c_str(), &st) != 0)
        return;
    if (S_ISDIR(st.st_mode)) {
        ::chmod(p.c_str(), 0700);
        for (const std::string& f : FilesIn(p))
            RemoveTree(f);
        ::rmdir(p.c_str());
    } else {
        ::unlink(p.c_str());
    }
}

void WriteFile(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary);
    out << content;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool Exists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> files;
    std::string base = folder;
    if (!base.empty() && base.back() != '/')
        base += '/';
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* e = ::readdir(dir)) {
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                files.push_back(base + e->d_name);
        }
        ::closedir(dir);
    }
    std::sort(files.begin(), files.end());
    return files;
}

int Count(const std::string& text, const std::string& what)
{
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size()))
        ++n;
    return n;
}

bool IgnoresPermissions()
{
    return ::geteuid() == 0;
}

std::string AsBoundUser(const std::string& folder, bool& possible)
{
    possible = true;
    if (!IgnoresPermissions())
        return "";
    std::string f = folder;
    while (f.size() > 1 && f.back() == '/')
        f.pop_back();
    ::chmod(f.c_str(), 0777);
    const std::string prefix = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    const std::string check = prefix + "test -x '" + BinDir() + "/arxhost' -a -r '" + BinDir() +
        "/Kolvane.arx' -a -w '" + f + "' 2> /dev/null";
    possible = std::system(check.c_str()) == 0;
    return prefix;
}

HostRun RunHost(const std::string& cwd, const std::vector<std::string>& lines, const std::string& options,
                const std::string& prefix)
{
    std::string script;
    for (const std::string& line : lines)
        script += line + "\n";
    WriteFile(cwd + "script.scr", script);
    const std::string registry =
        options.find("--registry") == std::string::npos ? "--registry '" + cwd + "registry.txt' " : "";
    const std::string command = "cd '" + cwd + "' && " + prefix + "'" + BinDir() + "/arxhost' " + registry + options +
        " script.scr > host-out.txt 2> host-err.txt < /dev/null";
    HostRun run;
    const int status = std::system(command.c_str());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    run.out = ReadFile(cwd + "host-out.txt");
    run.err = ReadFile(cwd + "host-err.txt");
    ::unlink((cwd + "host-out.txt").c_str());
    ::unlink((cwd + "host-err.txt").c_str());
    ::unlink((cwd + "script.scr").c_str());
    return run;
}

}  // namespace hostile
