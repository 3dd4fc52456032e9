// The settings store: values round trip through the file, defaults, types,
// damaged and unusable files, and where the file lies.

#include "VrnRegistry.h"
#include "standin/VrnStandin.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using vrntest::readFile;
using vrntest::TempFolder;
using vrntest::writeFile;

namespace {

const wchar_t kKey[] = L"Software\\Varnett\\Kolvane for AutoCAD";

// Sets an environment variable for the test's duration.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = std::string(old);
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(folder.path().empty());
        file = folder.file("registry.txt");
        standin::vrn::setRegistryFile(file);
    }
    void TearDown() override { standin::vrn::setRegistryFile(""); }

    // A registry object with the plug-in's key selected.
    static VrnRegistry keyed()
    {
        VrnRegistry r;
        EXPECT_EQ(r.SetKey(kKey, 1), 1);
        return r;
    }

    TempFolder folder;
    std::string file;
};

TEST_F(RegistryTest, NothingStoredGivesTheDefaults)
{
    VrnRegistry r = keyed();
    EXPECT_EQ(r.ReadInt(L"Import As", 0), 0);
    EXPECT_EQ(r.ReadInt(L"Import As", -7), -7);
    EXPECT_EQ(r.ReadBool(L"Warning", 1), 1);
    EXPECT_EQ(r.ReadBool(L"Warning", 0), 0);
    EXPECT_EQ(r.ReadString(L"Name", L"none"), CString(L"none"));
    EXPECT_FALSE(std::filesystem::exists(file)) << "selecting a key writes nothing";
}

TEST_F(RegistryTest, ValuesPersistAcrossObjects)
{
    {
        VrnRegistry r = keyed();
        EXPECT_EQ(r.WriteInt(L"Import As", 3), 1);
        EXPECT_EQ(r.WriteBool(L"Warning", 0), 1);
    }
    VrnRegistry other = keyed();
    EXPECT_EQ(other.ReadInt(L"Import As", 0), 3);
    EXPECT_EQ(other.ReadBool(L"Warning", 1), 0);

    // The file is the documented human-readable text.
    std::string text = readFile(file);
    EXPECT_NE(text.find("[Software\\Varnett\\Kolvane for AutoCAD]\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"Import As\"=int:3\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"Warning\"=bool:0\n"), std::string::npos) << text;
}

TEST_F(RegistryTest, IntegersRoundTrip)
{
    for (int value : {0, 1, -1, 42, INT_MAX, INT_MIN}) {
        VrnRegistry w = keyed();
        ASSERT_EQ(w.WriteInt(L"Value", value), 1);
        VrnRegistry r = keyed();
        EXPECT_EQ(r.ReadInt(L"Value", 12345), value);
    }
}

TEST_F(RegistryTest, AnyNonZeroBooleanIsStoredAsOne)
{
    VrnRegistry r = keyed();
    ASSERT_EQ(r.WriteBool(L"Flag", 5), 1);
    EXPECT_EQ(r.ReadBool(L"Flag", 0), 1);
    ASSERT_EQ(r.WriteBool(L"Flag", -1), 1);
    EXPECT_EQ(r.ReadBool(L"Flag", 0), 1);
}

TEST_F(RegistryTest, TextsRoundTrip)
{
    const wchar_t* texts[] = {L"",
                              L"plain",
                              L"quote \" and backslash \\",
                              L"two\nlines\r\tand tab",
                              L"caf\u00e9 \u4e2d\u6587 \U0001F600",
                              L"[not a key]",
                              L"\"=int:1"};
    for (const wchar_t* text : texts) {
        VrnRegistry w = keyed();
        ASSERT_EQ(w.WriteString(L"Text", text), 1);
        VrnRegistry r = keyed();
        EXPECT_EQ(r.ReadString(L"Text", L"default"), CString(text));
    }
    // Names need the same care as texts.
    VrnRegistry w = keyed();
    ASSERT_EQ(w.WriteInt(L"odd \"name\"\\", 9), 1);
    EXPECT_EQ(keyed().ReadInt(L"odd \"name\"\\", 0), 9);
}

TEST_F(RegistryTest, ReadOfAnotherTypeGivesTheDefault)
{
    VrnRegistry r = keyed();
    ASSERT_EQ(r.WriteBool(L"Warning", 1), 1);
    ASSERT_EQ(r.WriteInt(L"Import As", 2), 1);
    ASSERT_EQ(r.WriteString(L"Text", L"3"), 1);
    EXPECT_EQ(r.ReadInt(L"Warning", 7), 7);
    EXPECT_EQ(r.ReadBool(L"Import As", 0), 0);
    EXPECT_EQ(r.ReadInt(L"Text", -1), -1);
    EXPECT_EQ(r.ReadBool(L"Text", 1), 1);
    EXPECT_EQ(r.ReadString(L"Import As", L"d"), CString(L"d"));

    // A later write of another type replaces the value and its type.
    ASSERT_EQ(r.WriteInt(L"Warning", 4), 1);
    EXPECT_EQ(r.ReadInt(L"Warning", 0), 4);
    EXPECT_EQ(r.ReadBool(L"Warning", 0), 0);
}

TEST_F(RegistryTest, KeysAndNamesIgnoreLetterCaseAndKeysStaySeparate)
{
    VrnRegistry r = keyed();
    ASSERT_EQ(r.WriteInt(L"Import As", 2), 1);

    VrnRegistry upper;
    ASSERT_EQ(upper.SetKey(L"SOFTWARE\\varnett\\KOLVANE FOR AUTOCAD\\", 1), 1);
    EXPECT_EQ(upper.ReadInt(L"import as", 0), 2);
    ASSERT_EQ(upper.WriteInt(L"IMPORT AS", 1), 1);
    EXPECT_EQ(r.ReadInt(L"Import As", 0), 1);
    // The spelling first written stays.
    EXPECT_NE(readFile(file).find("\"Import As\"=int:1"), std::string::npos);

    VrnRegistry other;
    ASSERT_EQ(other.SetKey(L"Software\\Varnett\\Other", 1), 1);
    EXPECT_EQ(other.ReadInt(L"Import As", -1), -1);
    ASSERT_EQ(other.WriteInt(L"Import As", 3), 1);
    EXPECT_EQ(r.ReadInt(L"Import As", 0), 1);
}

TEST_F(RegistryTest, WithoutAKeyNothingIsReadOrWritten)
{
    VrnRegistry none;
    EXPECT_EQ(none.ReadInt(L"Import As", 5), 5);
    EXPECT_EQ(none.WriteInt(L"Import As", 1), 0);

    VrnRegistry empty;
    EXPECT_EQ(empty.SetKey(L"", 1), 0);
    EXPECT_EQ(empty.SetKey(L"\\\\", 1), 0);
    EXPECT_EQ(empty.WriteBool(L"Warning", 1), 0);

    VrnRegistry r = keyed();
    EXPECT_EQ(r.WriteInt(L"", 1), 0) << "a value needs a name";
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(RegistryTest, OpeningWithoutCreateNeedsAnExistingKey)
{
    VrnRegistry r;
    EXPECT_EQ(r.SetKey(kKey, 0), 0);
    EXPECT_EQ(r.WriteInt(L"Import As", 1), 0) << "the failed SetKey selected nothing";
    ASSERT_EQ(keyed().WriteInt(L"Import As", 1), 1);
    EXPECT_EQ(r.SetKey(kKey, 0), 1);
    EXPECT_EQ(r.ReadInt(L"Import As", 0), 1);
}

TEST_F(RegistryTest, ReadsAHandWrittenFile)
{
    writeFile(file,
              "\xEF\xBB\xBF; written by hand\r\n"
              "# another comment\r\n"
              "\r\n"
              "  [ Software\\Varnett\\Kolvane for AutoCAD ]  \r\n"
              "\"Import As\" = int: -2\r\n"
              "\"Warning\"=bool:0\r\n"
              "\"Name\"=string:\"caf\xC3\xA9 \\\"x\\\"\"\r\n");
    VrnRegistry r = keyed();
    EXPECT_EQ(r.ReadInt(L"Import As", 0), -2);
    EXPECT_EQ(r.ReadBool(L"Warning", 1), 0);
    EXPECT_EQ(r.ReadString(L"Name", L""), CString(L"caf\u00e9 \"x\""));
    ASSERT_EQ(r.WriteInt(L"Import As", 1), 1);
    EXPECT_FALSE(std::filesystem::exists(file + ".corrupt")) << "nothing was damaged";
}

TEST_F(RegistryTest, DamagedFileIsKeptAsideAndWhatCanBeReadSurvives)
{
    const std::string damaged = "[Software\\Varnett\\Kolvane for AutoCAD]\n"
                                "\"Import As\"=int:2\n"
                                "\"Warning\"=bool:maybe\n"
                                "this line means nothing\n"
                                "\"Big\"=int:99999999999\n"
                                "\"Bad\xFF\"=int:1\n"
                                "\"Open=string:\"x\n";
    writeFile(file, damaged);
    VrnRegistry r = keyed();
    EXPECT_EQ(r.ReadInt(L"Import As", 0), 2);
    EXPECT_EQ(r.ReadBool(L"Warning", 1), 1);
    EXPECT_EQ(r.ReadInt(L"Big", -1), -1);

    ASSERT_EQ(r.WriteInt(L"Other", 5), 1);
    EXPECT_EQ(readFile(file + ".corrupt"), damaged) << "the damaged file is kept unchanged";
    EXPECT_EQ(r.ReadInt(L"Import As", 0), 2) << "readable values are carried over";
    EXPECT_EQ(r.ReadInt(L"Other", 0), 5);

    // The rewritten file is clean: a second write keeps nothing aside.
    ASSERT_EQ(r.WriteInt(L"Other", 6), 1);
    EXPECT_FALSE(std::filesystem::exists(file + ".corrupt.1"));

    // A later damage does not overwrite the earlier backup.
    writeFile(file, std::string("\x00\x01\x02 binary", 10));
    EXPECT_EQ(r.ReadInt(L"Import As", 7), 7);
    ASSERT_EQ(r.WriteInt(L"Import As", 1), 1);
    EXPECT_EQ(readFile(file + ".corrupt"), damaged);
    EXPECT_EQ(readFile(file + ".corrupt.1"), std::string("\x00\x01\x02 binary", 10));
    EXPECT_EQ(r.ReadInt(L"Import As", 0), 1);
}

TEST_F(RegistryTest, WritesLeaveNoTemporaryFilesAndKeepPermissions)
{
    VrnRegistry r = keyed();
    ASSERT_EQ(r.WriteInt(L"Import As", 1), 1);
    ::chmod(file.c_str(), 0600);
    ASSERT_EQ(r.WriteInt(L"Import As", 2), 1);
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder.path())) {
        ++entries;
        EXPECT_EQ(e.path().filename(), "registry.txt");
    }
    EXPECT_EQ(entries, 1);
}

TEST_F(RegistryTest, MissingFoldersAreMade)
{
    std::string deep = folder.file("a/b/c/store.txt");
    standin::vrn::setRegistryFile(deep);
    ASSERT_EQ(keyed().WriteBool(L"Warning", 1), 1);
    EXPECT_EQ(keyed().ReadBool(L"Warning", 0), 1);
    EXPECT_TRUE(std::filesystem::is_regular_file(deep));
}

TEST_F(RegistryTest, UnusableStoreGivesDefaultsAndFailedWrites)
{
    // A folder where the file should be, and a path that runs through a file:
    // neither can be read or written, whoever runs the test.
    std::filesystem::create_directory(folder.file("folder.txt"));
    writeFile(folder.file("plain"), "not a folder");
    for (const std::string& path : {folder.file("folder.txt"), folder.file("plain/registry.txt")}) {
        SCOPED_TRACE(path);
        standin::vrn::setRegistryFile(path);
        VrnRegistry r = keyed();
        EXPECT_EQ(r.ReadInt(L"Import As", 4), 4);
        EXPECT_EQ(r.WriteInt(L"Import As", 1), 0);
        EXPECT_EQ(r.WriteString(L"Name", L"x"), 0);
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("folder.txt")));
    EXPECT_EQ(readFile(folder.file("plain")), "not a folder");
}

TEST_F(RegistryTest, UnreadableFileIsNeverReplaced)
{
    if (vrntest::runningAsRoot())
        GTEST_SKIP() << "root reads every file";
    ASSERT_EQ(keyed().WriteInt(L"Import As", 3), 1);
    ::chmod(file.c_str(), 0);
    VrnRegistry r = keyed();
    EXPECT_EQ(r.ReadInt(L"Import As", 0), 0);
    EXPECT_EQ(r.WriteInt(L"Import As", 1), 0);
    ::chmod(file.c_str(), 0600);
    EXPECT_EQ(r.ReadInt(L"Import As", 0), 3);
}

TEST_F(RegistryTest, UnwritableFolderFailsTheWrite)
{
    if (vrntest::runningAsRoot())
        GTEST_SKIP() << "root writes into every folder";
    std::filesystem::create_directory(folder.file("locked"));
    std::string inside = folder.file("locked/registry.txt");
    standin::vrn::setRegistryFile(inside);
    ::chmod(folder.file("locked").c_str(), 0555);
    EXPECT_EQ(keyed().WriteInt(L"Import As", 1), 0);
    EXPECT_EQ(keyed().ReadInt(L"Import As", 2), 2);
}

TEST_F(RegistryTest, TheStoreFileIsFoundInOrder)
{
    using standin::vrn::registryFile;
    using standin::vrn::setRegistryFile;
    ScopedEnv env("VRN_REGISTRY_FILE", std::nullopt);
    ScopedEnv xdg("XDG_CONFIG_HOME", std::nullopt);
    ScopedEnv home("HOME", std::string("/home/someone"));
    setRegistryFile("");
    EXPECT_EQ(registryFile(), "/home/someone/.config/kolvane/registry.txt");
    {
        ScopedEnv relative("XDG_CONFIG_HOME", std::string("relative/config"));
        EXPECT_EQ(registryFile(), "/home/someone/.config/kolvane/registry.txt")
            << "a relative XDG_CONFIG_HOME is ignored";
    }
    ScopedEnv xdgSet("XDG_CONFIG_HOME", std::string("/cfg"));
    EXPECT_EQ(registryFile(), "/cfg/kolvane/registry.txt");
    ScopedEnv envSet("VRN_REGISTRY_FILE", folder.file("from-env.txt"));
    EXPECT_EQ(registryFile(), folder.file("from-env.txt"));
    ASSERT_EQ(keyed().WriteInt(L"Import As", 2), 1);
    EXPECT_TRUE(std::filesystem::exists(folder.file("from-env.txt")));
    setRegistryFile(file);
    EXPECT_EQ(registryFile(), file);
    EXPECT_EQ(keyed().ReadInt(L"Import As", 0), 0) << "the file set in code comes first";
}

TEST_F(RegistryTest, WritesGoThroughASymbolicLink)
{
    std::string target = folder.file("real.txt");
    writeFile(target, "");
    std::filesystem::create_symlink(target, file);
    ASSERT_EQ(keyed().WriteInt(L"Import As", 3), 1);
    EXPECT_TRUE(std::filesystem::is_symlink(file));
    EXPECT_NE(readFile(target).find("\"Import As\"=int:3"), std::string::npos);
}

}  // namespace

namespace {

// Runs fn in a child process as the user "nobody" when this process is root
// (so that file permissions bind), else in a child as this user. The child's
// exit status is fn's result; -1 when no child could run.
template <typename Fn> int inChildBoundByPermissions(Fn fn)
{
    pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(99);
        ::_exit(fn());
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

TEST_F(RegistryTest, ADanglingLinkIsWrittenThroughToTheFileItNames)
{
    std::string target = folder.file("made-later.txt");
    std::filesystem::create_symlink(target, file);
    ASSERT_EQ(keyed().WriteInt(L"Import As", 2), 1);
    EXPECT_TRUE(std::filesystem::is_symlink(file)) << "the link stays a link";
    EXPECT_NE(readFile(target).find("\"Import As\"=int:2"), std::string::npos);
    EXPECT_EQ(keyed().ReadInt(L"Import As", 0), 2);
}

TEST_F(RegistryTest, AStoreWithoutWritePermissionStaysAsItIs)
{
    ASSERT_EQ(keyed().WriteInt(L"Import As", 1), 1);
    const std::string before = readFile(file);
    ::chmod(file.c_str(), 0444);
    VrnRegistry r = keyed();
    EXPECT_EQ(r.WriteInt(L"Import As", 3), 0);
    EXPECT_EQ(r.WriteBool(L"Warning", 0), 0);
    EXPECT_EQ(readFile(file), before);
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
    EXPECT_EQ(r.ReadInt(L"Import As", 0), 1);
}

TEST_F(RegistryTest, AReplacedStoreKeepsItsOwner)
{
    if (!vrntest::runningAsRoot())
        GTEST_SKIP() << "only root can give a file to another user";
    ASSERT_EQ(keyed().WriteInt(L"Import As", 1), 1);
    ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
    ASSERT_EQ(keyed().WriteInt(L"Import As", 2), 1);
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EXPECT_EQ(keyed().ReadInt(L"Import As", 0), 2);
}

TEST_F(RegistryTest, AFolderThisUserMayNotWriteFailsTheWriteAndKeepsTheStore)
{
    std::filesystem::create_directory(folder.file("locked"));
    std::string inside = folder.file("locked/registry.txt");
    standin::vrn::setRegistryFile(inside);
    ASSERT_EQ(keyed().WriteInt(L"Import As", 1), 1);
    ::chmod(folder.path().c_str(), 0755);
    ::chmod(inside.c_str(), 0666);
    ::chmod(folder.file("locked").c_str(), 0555);
    int result = inChildBoundByPermissions([] {
        VrnRegistry r;
        if (r.SetKey(kKey, 1) != 1)
            return 10;
        int written = r.WriteInt(L"Import As", 3);
        return written == 0 && r.ReadInt(L"Import As", 0) == 1 ? 0 : 11;
    });
    ::chmod(folder.file("locked").c_str(), 0755);
    EXPECT_EQ(result, 0) << "the write must fail and say so; the stored value stays";
    EXPECT_EQ(keyed().ReadInt(L"Import As", 0), 1);
}

TEST_F(RegistryTest, WritersInTwoProcessesNeverMixTheirValues)
{
    // Each child writes its own pair of values through one object, as the
    // options dialog does on OK; whatever the order, the store ends with one
    // child's pair, never half of each.
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        pid_t children[2];
        for (int c = 0; c < 2; ++c) {
            children[c] = ::fork();
            ASSERT_GE(children[c], 0);
            if (children[c] == 0) {
                VrnRegistry r;
                if (r.SetKey(kKey, 1) != 1)
                    ::_exit(1);
                int ok = r.WriteInt(L"Import As", c == 0 ? 2 : 3);
                ::usleep(1000);
                ok = ok && r.WriteBool(L"Warning", c == 0 ? 0 : 1);
                ::_exit(ok ? 0 : 2);
            }
        }
        for (pid_t child : children) {
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        VrnRegistry r = keyed();
        const int importAs = r.ReadInt(L"Import As", -1);
        const int warning = r.ReadBool(L"Warning", -1);
        EXPECT_TRUE((importAs == 2 && warning == 0) || (importAs == 3 && warning == 1))
            << "Import As " << importAs << ", Warning " << warning;
    }
}

TEST_F(RegistryTest, ReadingSeveralValuesParsesTheStoreOnce)
{
    VrnRegistry w = keyed();
    ASSERT_EQ(w.WriteInt(L"Import As", 2), 1);
    ASSERT_EQ(w.WriteBool(L"Warning", 0), 1);
    const long before = standin::vrn::storeFileReads();
    VrnRegistry r = keyed();
    EXPECT_EQ(r.ReadInt(L"Import As", 0), 2);
    EXPECT_EQ(r.ReadBool(L"Warning", 1), 0);
    EXPECT_EQ(standin::vrn::storeFileReads() - before, 1);
    // A store changed by someone else is read again.
    std::string text = readFile(file);
    text.replace(text.find("int:2"), 5, "int:1");
    writeFile(file, text);
    EXPECT_EQ(r.ReadInt(L"Import As", 0), 1);
}

TEST_F(RegistryTest, ManyValuesUnderOneKeyAllRoundTrip)
{
    // A large store (tens of thousands of values) reads and writes whole.
    std::string text = "[Software\\Varnett\\Kolvane for AutoCAD]\n";
    for (int i = 0; i < 20000; ++i)
        text += "\"v" + std::to_string(i) + "\"=int:" + std::to_string(i) + "\n";
    text += "\"V7\"=int:-7\n";  // the same name in other letters: the later line wins
    writeFile(file, text);
    VrnRegistry r = keyed();
    EXPECT_EQ(r.ReadInt(L"v19999", 0), 19999);
    EXPECT_EQ(r.ReadInt(L"v7", 0), -7);
    ASSERT_EQ(r.WriteInt(L"Import As", 3), 1);
    EXPECT_EQ(keyed().ReadInt(L"v12345", 0), 12345);
    EXPECT_EQ(keyed().ReadInt(L"Import As", 0), 3);
}

}  // namespace
