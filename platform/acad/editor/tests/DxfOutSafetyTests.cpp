// The host's "_dxfout" never loses a drawing: a failed write says why and
// leaves an earlier file as it was, an existing file is replaced only when
// the user says so, and names that are no file fail with their reason.
#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "acedads.h"

#include "EditorTest.h"

namespace {

using DxfOutSafetyTest = EditorTest;

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> folderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* e = readdir(dir))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                names.push_back(e->d_name);
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::wstring line()
{
    return standin::editor::commandLineText();
}

TEST_F(DxfOutSafetyTest, AFullDiskIsReportedAndTheEarlierFileKept)
{
    struct stat device;
    if (::stat("/dev/full", &device) != 0 || !S_ISCHR(device.st_mode))
        GTEST_SKIP() << "/dev/full is not the full device here";
    addLine(0, 0, 1, 1);
    // A name that links to a device that is always full.
    ASSERT_EQ(symlink("/dev/full", path("full.dxf").c_str()), 0);
    user().type(standin::widen(path("full.dxf")));
    user().type(L"Yes");
    EXPECT_EQ(standin::editor::runCommand(L"_dxfout"), RTERROR);
    EXPECT_NE(line().find(L"Unable to write DXF file \"" + standin::widen(path("full.dxf")) +
                          L"\": No space left on device."),
              std::wstring::npos)
        << standin::narrow(line());

    // A file size limit stands for a full disk while the file is written.
    const std::string earlier = file("plan.dxf", "the earlier drawing");
    for (int i = 0; i < 200; ++i)
        addLine(i, 0, i, 1);
    struct rlimit old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    void (*previous)(int) = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    standin::editor::clearCommandLine();
    const int result = acedCommand(RTSTR, L"_dxfout", RTSTR, standin::widen(earlier).c_str(), RTSTR, L"_Yes", RTNONE);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, previous);
    EXPECT_EQ(result, RTERROR);
    EXPECT_NE(line().find(L"File too large."), std::wstring::npos) << standin::narrow(line());
    EXPECT_EQ(readAll(earlier), "the earlier drawing");
    EXPECT_EQ(folderEntries(path("")), (std::vector<std::string>{"full.dxf", "plan.dxf"})) << "nothing left beside it";
}

TEST_F(DxfOutSafetyTest, AnExistingFileIsReplacedOnlyWhenTheUserSaysSo)
{
    addPoint(1, 1);
    const std::string model = file("cube.obj", "v 0 0 0\n");
    const std::string old = file("plan.dxf", "old");
    chmod(old.c_str(), 0640);

    // Not a DXF name: the extension is added, the model stays.
    EXPECT_EQ(acedCommand(RTSTR, L"_dxfout", RTSTR, standin::widen(model).c_str(), RTNONE), RTNORM);
    EXPECT_EQ(readAll(model), "v 0 0 0\n");
    EXPECT_NE(readAll(model + ".dxf").find("POINT"), std::string::npos);

    struct Case {
        const wchar_t* answer;
        int result;
        bool replaced;
    };
    for (const Case& c :
         {Case{L"No", RTCAN, false}, Case{L"", RTCAN, false}, Case{L"maybe", RTCAN, false}, Case{L"y", RTNORM, true}}) {
        SCOPED_TRACE(standin::narrow(c.answer));
        user().type(standin::widen(old));
        user().type(c.answer);
        EXPECT_EQ(standin::editor::runCommand(L"_dxfout"), c.result);
        EXPECT_EQ(user().prompts().back(),
                  L"\"" + standin::widen(old) + L"\" already exists. Do you want to replace it? [Yes/No] <No>: ");
        EXPECT_EQ(readAll(old) == "old", !c.replaced);
    }
    EXPECT_NE(readAll(old).find("POINT"), std::string::npos);
    struct stat st;
    ASSERT_EQ(stat(old.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "the replaced file keeps its permissions";
}

TEST_F(DxfOutSafetyTest, NamesThatAreNoFileFailWithTheirReason)
{
    addPoint(1, 1);
    mkdir(path("folder.dxf").c_str(), 0700);
    struct Case {
        std::wstring name;
        std::wstring reason;
    };
    const std::vector<Case> cases = {
        {std::wstring(L"a\0b.dxf", 7), L"the name holds a NUL character"},
        {standin::widen(path("folder.dxf")), L"it is a folder"},
        {standin::widen(path("missing/x.dxf")), L"No such file or directory"},
        {standin::widen(path(std::string(300, 'n') + ".dxf")), L"File name too long"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(standin::narrow(c.name));
        standin::editor::clearCommandLine();
        user().type(c.name);
        EXPECT_EQ(standin::editor::runCommand(L"_dxfout"), RTERROR);
        EXPECT_NE(line().find(L": " + c.reason + L".\n"), std::wstring::npos) << standin::narrow(line());
    }
    EXPECT_EQ(folderEntries(path("")), std::vector<std::string>{"folder.dxf"});
}

}  // namespace
