// Helpers of the hostile-input tests: temporary folders, files, and runs of
// the host program on a script.
#pragma once

#include <string>
#include <vector>

namespace hostile {

// The build's folder of programs and modules, the shared sample models, the
// project's top folder and this folder's seed corpora.
std::string BinDir();
std::string TestDataDir();
std::string FuzzDir();

// A new empty folder (ending in '/'), removed by RemoveTree.
std::string MakeTempDir();
void RemoveTree(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);
// The files of a folder (full paths, sorted); none when it does not exist.
std::vector<std::string> FilesIn(const std::string& folder);
int Count(const std::string& text, const std::string& what);
// True when this process can read files whatever their permissions say.
bool IgnoresPermissions();
// A command prefix that runs a program as a user whom file permissions bind:
// "" when this process is one, else a switch to the user "nobody" (and
// folder is opened to everyone so that such a user can work in it). possible
// is false when no such user can run the build's host program.
std::string AsBoundUser(const std::string& folder, bool& possible);

struct HostRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs arxhost in folder cwd on a script of these lines, with the given extra
// options (a --registry FILE among them, or the folder's registry.txt).
HostRun RunHost(const std::string& cwd, const std::vector<std::string>& lines, const std::string& options = "",
                const std::string& prefix = "");

}  // namespace hostile
