// The path cases every writer of a file is held to (standin/FileIo.h): each
// case makes its files in a fresh folder, a writer writes the name it gives,
// and the folder afterwards must hold exactly what it held before, with the
// written file where the case says it lands or, for a refused write, nothing
// changed and nothing left beside it.
#pragma once

#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace pathcases {

// A fresh folder, removed with what it holds (permissions given back first).
class Folder {
public:
    Folder()
    {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp != nullptr && *tmp ? tmp : "/tmp") + "/kv-paths-XXXXXX";
        if (::mkdtemp(&pattern[0]) != nullptr)
            path_ = pattern;
    }
    ~Folder()
    {
        if (!path_.empty()) {
            const std::string command = "chmod -R u+rwx '" + path_ + "' 2>/dev/null; rm -rf '" + path_ + "'";
            if (std::system(command.c_str()) != 0)
                ADD_FAILURE() << "could not remove " << path_;
        }
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline void writeFile(const std::string& path, const std::string& bytes, mode_t mode = 0644)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    ::chmod(path.c_str(), mode);
}

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every entry under folder (relative name -> kind, mode, owner and content
// or link target), folders descended into.
inline void snapshot(const std::string& folder, const std::string& prefix, std::map<std::string, std::string>& out)
{
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return;
    std::vector<std::string> names;
    while (dirent* e = ::readdir(dir))
        if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
            names.push_back(e->d_name);
    ::closedir(dir);
    for (const std::string& name : names) {
        const std::string path = folder + "/" + name;
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0)
            continue;
        std::ostringstream d;
        d << std::oct << (st.st_mode & 07777) << std::dec << " " << st.st_uid << ":" << st.st_gid << " ";
        if (S_ISLNK(st.st_mode)) {
            char target[4096];
            const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
            d << "link " << std::string(target, n > 0 ? static_cast<size_t>(n) : 0);
        } else if (S_ISDIR(st.st_mode)) {
            d << "folder";
            snapshot(path, prefix + name + "/", out);
        } else if (S_ISREG(st.st_mode)) {
            d << "file " << readFile(path);
        } else {
            d << "other";
        }
        out[prefix + name] = d.str();
    }
}

inline std::map<std::string, std::string> snapshot(const std::string& folder)
{
    std::map<std::string, std::string> out;
    snapshot(folder, "", out);
    return out;
}

inline bool runningAsRoot()
{
    return ::geteuid() == 0;
}

// The device that is always full. Where /dev/full is not that device (a
// plain file left there by something else), the cases that write to it are
// not run, so that a test never writes a file in /dev.
inline bool fullDeviceIsThere()
{
    struct stat st;
    return ::stat("/dev/full", &st) == 0 && S_ISCHR(st.st_mode);
}

inline mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// What a writer is and does, for the cases.
struct Writer {
    std::string name;
    // Writes the given name; true when the writer reports success.
    std::function<bool(const std::string& name)> write;
    // True when the bytes are what this writer writes.
    std::function<bool(const std::string& bytes)> wrote;
    bool makesFolders = false;  // a missing folder is made
    bool cStringNames = false;  // its callers pass names as C strings: a NUL ends the name
};

// The content every old file holds: a comment line, which every writer that
// reads its file first (the settings store) takes as a file of its own.
inline const char* oldContent()
{
    return "; older content\n";
}

struct Prepared {
    std::string name;     // what the writer is given
    std::string landsAt;  // relative to the folder; empty: the write is refused
    mode_t mode = 0;      // of the written file
    uid_t owner = 0;
    bool checkOwner = false;
};

struct PathCase {
    const char* title;
    std::function<Prepared(const Folder&, const Writer&)> prepare;
    bool needsUser = false;        // root would pass where the case refuses
    bool needsRoot = false;        // only root can make it
    bool fileSizeLimit = false;    // the write runs under a small file size limit (a full disk)
    bool needsFullDevice = false;  // writes to /dev/full
};

inline std::vector<PathCase> pathCases()
{
    const auto refused = [](std::string name) {
        Prepared p;
        p.name = std::move(name);
        return p;
    };
    const auto lands = [](std::string name, std::string at, mode_t mode) {
        Prepared p;
        p.name = std::move(name);
        p.landsAt = std::move(at);
        p.mode = mode;
        return p;
    };
    return {
        {"a new plain file",
         [=](const Folder& f, const Writer&) { return lands(f.file("new.txt"), "new.txt", newFileMode()); }},
        {"an existing file keeps its permissions",
         [=](const Folder& f, const Writer&) {
             writeFile(f.file("old.txt"), oldContent(), 0640);
             return lands(f.file("old.txt"), "old.txt", 0640);
         }},
        {"an existing file keeps its owner",
         [=](const Folder& f, const Writer&) {
             writeFile(f.file("theirs.txt"), oldContent(), 0644);
             EXPECT_EQ(::chown(f.file("theirs.txt").c_str(), 65534, 65534), 0);
             Prepared p = lands(f.file("theirs.txt"), "theirs.txt", 0644);
             p.owner = 65534;
             p.checkOwner = true;
             return p;
         },
         false, true},
        {"a missing folder",
         [=](const Folder& f, const Writer& w) {
             return w.makesFolders ? lands(f.file("missing/new.txt"), "missing/new.txt", newFileMode())
                                   : refused(f.file("missing/new.txt"));
         }},
        {"a folder",
         [=](const Folder& f, const Writer&) {
             ::mkdir(f.file("folder.txt").c_str(), 0755);
             return refused(f.file("folder.txt"));
         }},
        {"a link is written where it leads",
         [=](const Folder& f, const Writer&) {
             writeFile(f.file("target.txt"), oldContent(), 0640);
             EXPECT_EQ(::symlink("target.txt", f.file("link.txt").c_str()), 0);
             return lands(f.file("link.txt"), "target.txt", 0640);
         }},
        {"a dangling link is written through",
         [=](const Folder& f, const Writer&) {
             EXPECT_EQ(::symlink("later.txt", f.file("dangling.txt").c_str()), 0);
             return lands(f.file("dangling.txt"), "later.txt", newFileMode());
         }},
        {"a link loop",
         [=](const Folder& f, const Writer&) {
             EXPECT_EQ(::symlink("loop-b.txt", f.file("loop-a.txt").c_str()), 0);
             EXPECT_EQ(::symlink("loop-a.txt", f.file("loop-b.txt").c_str()), 0);
             return refused(f.file("loop-a.txt"));
         }},
        {"a read-only file",
         [=](const Folder& f, const Writer&) {
             writeFile(f.file("read-only.txt"), oldContent(), 0444);
             return refused(f.file("read-only.txt"));
         }},
        {"a read-only folder",
         [=](const Folder& f, const Writer&) {
             ::mkdir(f.file("locked").c_str(), 0755);
             writeFile(f.file("locked/inside.txt"), oldContent(), 0666);
             ::chmod(f.file("locked").c_str(), 0555);
             return refused(f.file("locked/inside.txt"));
         },
         true},
        {"a full device",
         [=](const Folder& f, const Writer&) {
             EXPECT_EQ(::symlink("/dev/full", f.file("full.txt").c_str()), 0);
             return refused(f.file("full.txt"));
         },
         false, false, false, true},
        {"a pipe nobody reads",
         [=](const Folder& f, const Writer&) {
             EXPECT_EQ(::mkfifo(f.file("pipe.txt").c_str(), 0644), 0);
             return refused(f.file("pipe.txt"));
         }},
        {"a full disk while writing",
         [=](const Folder& f, const Writer&) {
             writeFile(f.file("old.txt"), oldContent(), 0640);
             return refused(f.file("old.txt"));
         },
         false, false, true},
        {"a name too long",
         [=](const Folder& f, const Writer&) { return refused(f.file(std::string(300, 'n') + ".txt")); }},
        {"a NUL in the name",
         [=](const Folder& f, const Writer& w) {
             const std::string name = f.file(std::string("a\0b.txt", 7));
             return w.cStringNames ? lands(name, "a", newFileMode()) : refused(name);
         }},
    };
}

// Runs the case against the writer and checks the folder afterwards.
inline void runPathCase(const PathCase& c, const Writer& w)
{
    SCOPED_TRACE(std::string(c.title) + " (" + w.name + ")");
    if ((c.needsUser && runningAsRoot()) || (c.needsRoot && !runningAsRoot()) ||
        (c.needsFullDevice && !fullDeviceIsThere()))
        return;
    Folder folder;
    ASSERT_FALSE(folder.path().empty());
    const Prepared p = c.prepare(folder, w);
    std::map<std::string, std::string> before = snapshot(folder.path());

    bool ok = false;
    if (c.fileSizeLimit) {
        struct rlimit old;
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
        struct rlimit small = old;
        small.rlim_cur = 16;
        void (*previous)(int) = ::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        ok = w.write(p.name);
        ::setrlimit(RLIMIT_FSIZE, &old);
        ::signal(SIGXFSZ, previous);
    } else {
        ok = w.write(p.name);
    }

    std::map<std::string, std::string> after = snapshot(folder.path());
    if (p.landsAt.empty()) {
        EXPECT_FALSE(ok) << "the write must fail";
        EXPECT_EQ(after, before) << "nothing changed, nothing left beside it";
        return;
    }
    EXPECT_TRUE(ok) << "the write must succeed";
    struct stat st;
    ASSERT_EQ(::lstat(folder.file(p.landsAt).c_str(), &st), 0) << p.landsAt;
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 07777, p.mode);
    if (p.checkOwner) {
        EXPECT_EQ(st.st_uid, p.owner);
        EXPECT_EQ(st.st_gid, p.owner);
    }
    EXPECT_TRUE(w.wrote(readFile(folder.file(p.landsAt)))) << readFile(folder.file(p.landsAt));
    // Everything else as it was; the folders made on the way are new.
    after.erase(p.landsAt);
    before.erase(p.landsAt);
    for (size_t slash = p.landsAt.find('/'); slash != std::string::npos; slash = p.landsAt.find('/', slash + 1))
        if (!before.count(p.landsAt.substr(0, slash)))
            after.erase(p.landsAt.substr(0, slash));
    EXPECT_EQ(after, before);
}

}  // namespace pathcases
