// Win32 calls: _wsplitpath, GetModuleFileNameW, ShellExecuteW, MessageBoxW,
// windows and CWnd::FromHandle, the last error.
#include "TestSupport.h"

#include <standin/Win32.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(SplitPath, DriveFolderNameAndExtension)
{
    struct Row {
        const wchar_t* path;
        const wchar_t* drive;
        const wchar_t* dir;
        const wchar_t* fname;
        const wchar_t* ext;
    };
    const Row rows[] = {
        {L"C:\\Program Files\\Kolvane\\Kolvane.arx", L"C:", L"\\Program Files\\Kolvane\\", L"Kolvane", L".arx"},
        {L"C:\\Kolvane.chm", L"C:", L"\\", L"Kolvane", L".chm"},  // a root file
        {L"/work/build/bin/Kolvane.arx", L"", L"/work/build/bin/", L"Kolvane", L".arx"},
        {L"C:/mixed\\seps/file.txt", L"C:", L"/mixed\\seps/", L"file", L".txt"},
        {L"D:\\folder\\noext", L"D:", L"\\folder\\", L"noext", L""},
        {L"dir.v2\\name", L"", L"dir.v2\\", L"name", L""},
        {L"archive.tar.gz", L"", L"", L"archive.tar", L".gz"},
        {L"E:", L"E:", L"", L"", L""},
        {L"\\\\server\\share\\f.c", L"", L"\\\\server\\share\\", L"f", L".c"},
        {L"", L"", L"", L"", L""},
    };
    for (const Row& r : rows) {
        wchar_t drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT];
        _wsplitpath(r.path, drive, dir, fname, ext);
        EXPECT_STREQ(r.drive, drive) << r.path;
        EXPECT_STREQ(r.dir, dir) << r.path;
        EXPECT_STREQ(r.fname, fname) << r.path;
        EXPECT_STREQ(r.ext, ext) << r.path;
    }
}

TEST(SplitPath, PartsMayBeLeftOutAndTooLongPartsClearAll)
{
    wchar_t drive[_MAX_DRIVE], dir[_MAX_DIR];
    _wsplitpath(L"C:\\a\\b.txt", drive, dir, NULL, NULL);
    EXPECT_STREQ(L"C:", drive);
    EXPECT_STREQ(L"\\a\\", dir);
    std::wstring longName = L"C:\\" + std::wstring(300, L'n') + L".txt";
    wchar_t fname[_MAX_FNAME], ext[_MAX_EXT];
    _wsplitpath(longName.c_str(), drive, dir, fname, ext);
    EXPECT_STREQ(L"", drive);
    EXPECT_STREQ(L"", fname);
}

TEST(ModuleFileName, TheProgramsPath)
{
    wchar_t buffer[MAX_PATH];
    DWORD n = GetModuleFileNameW(NULL, buffer, MAX_PATH);
    ASSERT_GT(n, 0u);
    EXPECT_EQ(std::wcslen(buffer), n);
    EXPECT_NE(nullptr, std::wcsstr(buffer, L"mfcwin_conformance"));
    EXPECT_EQ(L'/', buffer[0]);
}

TEST(ModuleFileName, ABufferTooSmallGetsTheVistaTruncation)
{
    wchar_t full[MAX_PATH];
    DWORD length = GetModuleFileNameW(NULL, full, MAX_PATH);
    ASSERT_GT(length, 4u);
    for (DWORD size : {length, length - 3, DWORD(1)}) {
        std::wstring buffer(size + 4, L'#');
        SetLastError(0);
        DWORD n = GetModuleFileNameW(NULL, &buffer[0], size);
        EXPECT_EQ(size, n);
        EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
        EXPECT_EQ(std::wstring(full, size - 1), std::wstring(buffer.c_str())) << size;
        EXPECT_EQ(L'#', buffer[size]);  // nothing written past the buffer
    }
    SetLastError(0);
    wchar_t exact[MAX_PATH];
    EXPECT_EQ(length, GetModuleFileNameW(NULL, exact, length + 1));
    EXPECT_EQ(0u, GetLastError());
}

TEST(ModuleFileName, AnUnknownModuleFails)
{
    wchar_t buffer[MAX_PATH];
    int notAModule = 0;
    EXPECT_EQ(0u, GetModuleFileNameW(reinterpret_cast<HMODULE>(&notAModule), buffer, MAX_PATH));
    EXPECT_EQ(ERROR_MOD_NOT_FOUND, GetLastError());
}

class Shell : public WithUser {
protected:
    void SetUp() override
    {
        WithUser::SetUp();
        standin::resetFileAssociations();
        standin::clearShellOpenings();
        char name[] = "/tmp/kvshellXXXXXX";
        ASSERT_NE(nullptr, mkdtemp(name));
        folder = name;
        std::ofstream(folder + "/Help.chm") << "help";
        std::ofstream(folder + "/notes.xyz") << "notes";
    }
    void TearDown() override
    {
        std::remove((folder + "/Help.chm").c_str());
        std::remove((folder + "/notes.xyz").c_str());
        rmdir(folder.c_str());
        standin::resetFileAssociations();
        WithUser::TearDown();
    }
    static intptr_t code(HINSTANCE h) { return reinterpret_cast<intptr_t>(h); }
    std::wstring path(const char* name) const { return standin::widen(folder + "/" + name); }
    std::string folder;
};

TEST_F(Shell, OpeningADocumentIsRecordedAndShownNotLaunched)
{
    intptr_t r = code(ShellExecuteW(NULL, L"open", path("Help.chm").c_str(), L"", NULL, SW_SHOW));
    EXPECT_GT(r, 32);
    auto opened = standin::shellOpenings();
    ASSERT_EQ(1u, opened.size());
    EXPECT_EQ(path("Help.chm"), opened[0].file);
    EXPECT_EQ(L"open", opened[0].verb);
    EXPECT_EQ(SW_SHOW, opened[0].showCommand);
    EXPECT_EQ(L"[shell] open " + path("Help.chm") + L"\n", user.output());
}

TEST_F(Shell, FailuresGiveTheShellsCodes)
{
    struct Row {
        std::wstring file;
        const wchar_t* verb;
        intptr_t expected;
    };
    const std::vector<Row> rows = {
        {path("Missing.chm"), L"open", SE_ERR_FNF},
        {standin::widen(folder) + L"/no-folder/Help.chm", L"open", SE_ERR_PNF},
        {path("notes.xyz"), L"open", SE_ERR_NOASSOC},  // a type with no program
        {path("Help.chm"), L"print", SE_ERR_NOASSOC},  // a verb the type does not have
        {L"", L"open", SE_ERR_FNF},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.expected, code(ShellExecuteW(NULL, r.verb, r.file.c_str(), L"", NULL, SW_SHOW)))
            << standin::narrow(r.file);
    EXPECT_TRUE(standin::shellOpenings().empty());
    EXPECT_TRUE(user.output().empty());
}

TEST_F(Shell, AssociationsCanBeChangedAndTheFolderArgumentIsUsed)
{
    standin::setFileAssociation(L".CHM", L"");  // no program for help files
    EXPECT_EQ(SE_ERR_NOASSOC, code(ShellExecuteW(NULL, L"open", path("Help.chm").c_str(), L"", NULL, SW_SHOW)));
    standin::setFileAssociation(L"xyz", L"notes.exe");
    EXPECT_EQ(L"notes.exe", standin::fileAssociation(L".Xyz"));
    std::wstring dir = standin::widen(folder);
    EXPECT_GT(code(ShellExecuteW(NULL, NULL, L"notes.xyz", NULL, dir.c_str(), SW_SHOW)), 32);
    EXPECT_EQ(SE_ERR_PNF, code(ShellExecuteW(NULL, NULL, L"notes.xyz", NULL, L"/no/such/dir", SW_SHOW)));
    ASSERT_EQ(1u, standin::shellOpenings().size());
    EXPECT_EQ(L"notes.exe", standin::shellOpenings()[0].program);
}

class Boxes : public WithUser {};

TEST_F(Boxes, MessageBoxesAreAskedOfTheUser)
{
    EXPECT_EQ(IDOK, MessageBoxW(NULL, L"Line one\nline two", L"Caption", MB_ICONWARNING));
    user.answerBox(IDNO);
    EXPECT_EQ(IDNO, MessageBoxW(NULL, L"Sure?", L"Ask", MB_YESNO));
    user.escape();
    EXPECT_EQ(IDCANCEL, MessageBoxW(NULL, L"Go on?", L"Ask", MB_OKCANCEL));
    user.answerBox(IDCANCEL);  // not a button of a yes/no box
    EXPECT_EQ(0, MessageBoxW(NULL, L"Sure?", L"Ask", MB_YESNO));
    EXPECT_EQ(IDOK, MessageBoxW(NULL, L"No caption", NULL, MB_OK));
    ASSERT_EQ(5u, user.boxes().size());
    EXPECT_EQ(L"Caption", user.boxes()[0].caption);
    EXPECT_EQ(L"Line one\nline two", user.boxes()[0].text);
    EXPECT_EQ(static_cast<unsigned>(MB_ICONWARNING), user.boxes()[0].type);
    EXPECT_EQ(L"Error", user.boxes()[4].caption);
}

TEST_F(Boxes, ABoxOwnedByAWindowThatIsGoneFails)
{
    HWND frame = standin::createTopLevelWindow(L"Frame");
    EXPECT_EQ(IDOK, MessageBoxW(frame, L"Owned", L"Caption", MB_OK));
    DestroyWindow(frame);
    EXPECT_EQ(0, MessageBoxW(frame, L"Orphan", L"Caption", MB_OK));
    EXPECT_EQ(ERROR_INVALID_WINDOW_HANDLE, GetLastError());
    EXPECT_EQ(1u, user.boxes().size());
}

TEST_F(Boxes, WithoutAUserEveryBoxIsCancelled)
{
    standin::User* mine = standin::setCurrentUser(nullptr);
    EXPECT_EQ(IDOK, MessageBoxW(NULL, L"Only OK", L"C", MB_OK));
    EXPECT_EQ(IDCANCEL, MessageBoxW(NULL, L"Cancel?", L"C", MB_YESNOCANCEL));
    standin::setCurrentUser(mine);
}

TEST(Windows, FromHandleMapsAWindowToOneCWnd)
{
    HWND frame = standin::createTopLevelWindow(L"Main frame");
    ASSERT_TRUE(IsWindow(frame));
    CWnd* a = CWnd::FromHandle(frame);
    ASSERT_NE(nullptr, a);
    EXPECT_EQ(a, CWnd::FromHandle(frame));
    EXPECT_EQ(frame, a->GetSafeHwnd());
    CString title;
    a->GetWindowText(title);
    EXPECT_EQ(CString(L"Main frame"), title);
    a->SetWindowText(L"Renamed");
    wchar_t buffer[4];
    EXPECT_EQ(3, GetWindowTextW(frame, buffer, 4));  // cut to the buffer
    EXPECT_STREQ(L"Ren", buffer);
    EXPECT_EQ(nullptr, CWnd::FromHandle(NULL));
    EXPECT_TRUE(DestroyWindow(frame));
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_EQ(nullptr, CWnd::FromHandle(frame));
    EXPECT_FALSE(DestroyWindow(frame));
}

TEST(Windows, AnAttachedCWndIsThePermanentOne)
{
    HWND frame = standin::createTopLevelWindow(L"Frame");
    {
        CWnd wnd;
        EXPECT_TRUE(wnd.Attach(frame));
        EXPECT_EQ(&wnd, CWnd::FromHandle(frame));
        EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(frame));
        CWnd other;
        EXPECT_FALSE(other.Attach(frame));
        EXPECT_EQ(frame, wnd.Detach());
        EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(frame));
    }
    EXPECT_TRUE(IsWindow(frame));  // a detached CWnd leaves the window alone
    DestroyWindow(frame);
}

TEST(LastError, IsKeptPerThread)
{
    SetLastError(1234);
    EXPECT_EQ(1234u, GetLastError());
    SetLastError(0);
}

}  // namespace

namespace {

class FindFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/kvfindXXXXXX";
        ASSERT_NE(nullptr, mkdtemp(name));
        folder = name;
        for (const char* f : {"model.dxf", "model.dxfx", "Other.DXF", "readme.txt", ".hidden"})
            std::ofstream(folder + "/" + f) << "x";
        mkdir((folder + "/sub").c_str(), 0755);
    }
    void TearDown() override { std::system(("rm -rf " + folder).c_str()); }

    // The names found for `pattern`, in the order given; empty with the
    // last error when nothing is found.
    std::vector<std::wstring> find(const std::wstring& pattern, DWORD* error = nullptr)
    {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW data;
        HANDLE h = FindFirstFileW((standin::widen(folder) + L"\\" + pattern).c_str(), &data);
        if (h == INVALID_HANDLE_VALUE) {
            if (error)
                *error = GetLastError();
            return names;
        }
        do
            names.push_back(data.cFileName);
        while (FindNextFileW(h, &data));
        EXPECT_EQ(ERROR_NO_MORE_FILES, GetLastError());
        EXPECT_TRUE(FindClose(h));
        return names;
    }
    std::string folder;
};

TEST_F(FindFiles, PatternsMatchLongAndShortNamesIgnoringCase)
{
    using V = std::vector<std::wstring>;
    struct Row {
        const wchar_t* pattern;
        V names;
    };
    const Row rows[] = {
        {L"*.dxf", V{L"model.dxf", L"model.dxfx", L"Other.DXF"}},  // model.dxfx through MODEL~1.DXF
        {L"model*.dxf", V{L"model.dxf", L"model.dxfx"}},
        {L"M?DEL.DXF", V{L"model.dxf"}},
        {L"*.txt", V{L"readme.txt"}},
        {L"sub", V{L"sub"}},
        {L"*", V{L".", L"..", L".hidden", L"model.dxf", L"model.dxfx", L"Other.DXF", L"readme.txt", L"sub"}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.names, find(r.pattern)) << standin::narrow(r.pattern);
}

TEST_F(FindFiles, NothingFoundAndMissingFolders)
{
    DWORD error = 0;
    EXPECT_TRUE(find(L"*.zip", &error).empty());
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, error);
    EXPECT_TRUE(find(L"nofolder\\*.dxf", &error).empty());
    EXPECT_EQ(ERROR_PATH_NOT_FOUND, error);
    int notAHandle = 0;
    EXPECT_FALSE(FindClose(&notAHandle));
}

TEST_F(FindFiles, FindDataDescribesTheFile)
{
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW((standin::widen(folder) + L"/model.dxfx").c_str(), &data);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    EXPECT_STREQ(L"model.dxfx", data.cFileName);
    EXPECT_STREQ(L"MODEL~1.DXF", data.cAlternateFileName);
    EXPECT_EQ(1u, data.nFileSizeLow);
    EXPECT_EQ(0u, data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    FindClose(h);
    h = FindFirstFileW((standin::widen(folder) + L"/sub").c_str(), &data);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    EXPECT_NE(0u, data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_STREQ(L"", data.cAlternateFileName);
    FindClose(h);
}

TEST_F(FindFiles, UnlinkRemovesFilesOnly)
{
    std::wstring dir = standin::widen(folder);
    EXPECT_EQ(0, _wunlink((dir + L"\\readme.txt").c_str()));
    EXPECT_EQ(-1, _wunlink((dir + L"\\readme.txt").c_str()));
    EXPECT_EQ(ENOENT, errno);
    EXPECT_EQ(-1, _wunlink((dir + L"\\sub").c_str()));
    EXPECT_EQ(EACCES, errno);
    chmod((folder + "/model.dxf").c_str(), 0444);
    EXPECT_EQ(-1, _wunlink((dir + L"/model.dxf").c_str()));
    EXPECT_EQ(EACCES, errno);
    struct stat st;
    EXPECT_EQ(0, stat((folder + "/model.dxf").c_str(), &st));  // still there
}

}  // namespace
