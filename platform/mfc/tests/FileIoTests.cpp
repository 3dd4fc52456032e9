// Reading whole files and replacing files: the path cases, the reasons given,
// what an unfinished replacement leaves, and an owner that cannot be kept.
#include <standin/FileIo.h>
#include <standin/WideFormat.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "PathCases.h"

using namespace standin::files;
using pathcases::Folder;
using pathcases::readFile;
using pathcases::writeFile;

namespace {

const char kWritten[] = "written by the module\n";

pathcases::Writer moduleWriter()
{
    pathcases::Writer w;
    w.name = "replaceFile";
    w.write = [](const std::string& name) { return !replaceFile(name, kWritten); };
    w.wrote = [](const std::string& bytes) { return bytes == kWritten; };
    return w;
}

TEST(FileIoTest, EveryPathCaseOfAReplacement)
{
    for (const pathcases::PathCase& c : pathcases::pathCases())
        pathcases::runPathCase(c, moduleWriter());
}

TEST(FileIoTest, RefusedReplacementsSayWhy)
{
    if (!pathcases::fullDeviceIsThere())
        GTEST_SKIP() << "/dev/full is not the full device here";
    Folder f;
    ::mkdir(f.file("folder").c_str(), 0755);
    writeFile(f.file("read-only"), "x", 0444);
    ASSERT_EQ(::symlink("loop", f.file("loop").c_str()), 0);
    ASSERT_EQ(::symlink("/dev/full", f.file("full").c_str()), 0);
    struct Case {
        std::string name;
        std::wstring reason;
        bool diskFull;
    };
    const std::vector<Case> cases = {
        {"", L"no file name", false},
        {f.file(std::string("a\0b", 3)), L"the name holds a NUL character", false},
        {f.file("folder"), L"it is a folder", false},
        {f.file("read-only"), L"Permission denied", false},
        {f.file("loop"), L"Too many levels of symbolic links", false},
        {f.file("missing/x"), L"No such file or directory", false},
        {f.file(std::string(300, 'n')), L"File name too long", false},
        {f.file("full"), L"No space left on device", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FileError e = replaceFile(c.name, kWritten);
        ASSERT_TRUE(e);
        EXPECT_EQ(e.reason(), c.reason);
        EXPECT_EQ(e.diskFull(), c.diskFull);
    }
}

TEST(FileIoTest, AReplacementNotCommittedLeavesTheOldFile)
{
    Folder f;
    writeFile(f.file("plan.txt"), "old", 0600);
    const auto before = pathcases::snapshot(f.path());
    {
        Replacement r;
        ASSERT_FALSE(r.open(f.file("plan.txt")));
        r.write("new content");
    }
    EXPECT_EQ(pathcases::snapshot(f.path()), before) << "dropped before its commit";
    {
        Replacement r;
        ASSERT_FALSE(r.open(f.file("plan.txt")));
        r.write("half of it");
        r.fail(ENOMEM);
        r.write(" and the rest");
        const FileError e = r.commit();
        EXPECT_EQ(e.kind, FileError::kSystem);
        EXPECT_EQ(e.error, ENOMEM);
    }
    EXPECT_EQ(pathcases::snapshot(f.path()), before) << "failed on the way";
    {
        Replacement r;
        ASSERT_FALSE(r.open(f.file("plan.txt")));
        r.write("new ");
        r.write("content");
        ASSERT_FALSE(r.commit());
        EXPECT_TRUE(r.commit()) << "a second commit has nothing to commit";
    }
    EXPECT_EQ(readFile(f.file("plan.txt")), "new content");
}

TEST(FileIoTest, AnOwnerThatCannotBeKeptIsKeptByWritingInPlace)
{
    if (!pathcases::runningAsRoot())
        GTEST_SKIP() << "only root can give a file to another user";
    // Root's file, writable by all, in a folder all may write: another user
    // may replace it but cannot give the new file to root.
    Folder f;
    ::chmod(f.path().c_str(), 0777);
    writeFile(f.file("shared.txt"), "a longer old content than the new one", 0666);
    const std::string name = f.file("shared.txt");
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(99);
        ::_exit(replaceFile(name, "new content") ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    struct stat st;
    ASSERT_EQ(::stat(name.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 0u);
    EXPECT_EQ(st.st_mode & 0777, 0666u);
    EXPECT_EQ(readFile(name), "new content");
    EXPECT_EQ(pathcases::snapshot(f.path()).size(), 1u) << "no temporary file left";
}

TEST(FileIoTest, ChainsOfLinksEndWhereTheyLead)
{
    Folder f;
    ::mkdir(f.file("a").c_str(), 0755);
    ::mkdir(f.file("b").c_str(), 0755);
    ASSERT_EQ(::symlink("../b/second", f.file("a/first").c_str()), 0);
    ASSERT_EQ(::symlink(f.file("c-later").c_str(), f.file("b/second").c_str()), 0);
    std::string target;
    EXPECT_FALSE(linkTarget(f.file("a/first"), target));
    EXPECT_EQ(target, f.file("c-later"));
    EXPECT_FALSE(linkTarget(f.file("plain"), target));
    EXPECT_EQ(target, f.file("plain"));
    ASSERT_FALSE(replaceFile(f.file("a/first"), "x"));
    EXPECT_EQ(readFile(f.file("c-later")), "x");

    // Forty links are followed, the forty-first is one too many.
    for (int i = 0; i < 41; ++i)
        ASSERT_EQ(::symlink(("l" + std::to_string(i + 1)).c_str(), f.file("l" + std::to_string(i)).c_str()), 0);
    EXPECT_FALSE(linkTarget(f.file("l1"), target));
    EXPECT_EQ(target, f.file("l41"));
    const FileError e = linkTarget(f.file("l0"), target);
    EXPECT_EQ(e.error, ELOOP);
    EXPECT_EQ(target, f.file("l0"));
}

// ---- Reading -------------------------------------------------------------

TEST(FileIoTest, ReadsWholeFilesAndRefusesWhatIsNoFile)
{
    Folder f;
    writeFile(f.file("plain"), "12345");
    ::mkdir(f.file("folder").c_str(), 0755);
    ASSERT_EQ(::symlink("plain", f.file("link").c_str()), 0);
    ASSERT_EQ(::symlink("nowhere", f.file("dangling").c_str()), 0);
    ASSERT_EQ(::symlink("loop", f.file("loop").c_str()), 0);
    ASSERT_EQ(::mkfifo(f.file("pipe").c_str(), 0644), 0);
    writeFile(f.file("unreadable"), "secret", 0);
    writeFile(f.file("empty"), "");
    struct Case {
        std::string name;
        std::uint64_t limit;
        FileError::Kind kind;
        int error;
        std::wstring reason;  // or the content read
    };
    std::vector<Case> cases = {
        {f.file("plain"), 5, FileError::kNone, 0, L"12345"},
        {f.file("link"), 100, FileError::kNone, 0, L"12345"},
        {f.file("empty"), 100, FileError::kNone, 0, L""},
        {f.file("plain"), 4, FileError::kTooLarge, 0, L"the file is larger than 4 bytes"},
        {f.file("missing"), 100, FileError::kSystem, ENOENT, L"No such file or directory"},
        {f.file("missing/x"), 100, FileError::kSystem, ENOENT, L"No such file or directory"},
        {f.file("plain/x"), 100, FileError::kSystem, ENOTDIR, L"Not a directory"},
        {f.file("dangling"), 100, FileError::kSystem, ENOENT, L"No such file or directory"},
        {f.file("loop"), 100, FileError::kSystem, ELOOP, L"Too many levels of symbolic links"},
        {f.file("folder"), 100, FileError::kFolder, 0, L"it is a folder"},
        {f.file("pipe"), 100, FileError::kNotAFile, 0, L"it is not a regular file"},
        {"/dev/zero", 100, FileError::kNotAFile, 0, L"it is not a regular file"},
        {f.file(std::string(300, 'n')), 100, FileError::kSystem, ENAMETOOLONG, L"File name too long"},
        {f.file(std::string("plain\0x", 7)), 100, FileError::kNulInName, 0, L"the name holds a NUL character"},
        {"", 100, FileError::kNoName, 0, L"no file name"},
    };
    if (!pathcases::runningAsRoot())
        cases.push_back({f.file("unreadable"), 100, FileError::kSystem, EACCES, L"Permission denied"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string data = "left over";
        struct stat st {};
        const FileError e = readWholeFile(c.name, c.limit, data, &st);
        EXPECT_EQ(e.kind, c.kind);
        EXPECT_EQ(e.error, c.error);
        if (e) {
            EXPECT_EQ(e.reason(), c.reason);
            EXPECT_EQ(data, "");
        } else {
            EXPECT_EQ(standin::widen(data), c.reason);
            EXPECT_EQ(static_cast<size_t>(st.st_size), data.size());
        }
    }
    FileError large;
    large.kind = FileError::kTooLarge;
    large.limit = std::uint64_t(512) << 20;
    EXPECT_EQ(large.reason(), L"the file is larger than 512 MB");
}

}  // namespace
