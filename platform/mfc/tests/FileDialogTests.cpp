// CFileDialog as the system uses it: filter, default extension, flags.
#include "TestSupport.h"

#include <afxdlgs.h>

#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace {

class FileDialog : public WithUser {};

TEST_F(FileDialog, AsksWithItsFilterAndDefaultExtension)
{
    CFileDialog dlg(TRUE, L"skp", NULL, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, L"SKetchUp SKP Files (*.skp)|*.skp||");
    user.chooseFile(L"/models/house.skp");
    EXPECT_EQ(IDOK, dlg.DoModal());
    ASSERT_EQ(1u, user.fileRequests().size());
    const standin::FileRequest& r = user.fileRequests()[0];
    EXPECT_TRUE(r.open);
    EXPECT_EQ(L"skp", r.defaultExtension);
    EXPECT_EQ(L"SKetchUp SKP Files (*.skp)|*.skp||", r.filter);
    EXPECT_EQ(6u, r.flags & 6u);
    EXPECT_EQ(CString(L"/models/house.skp"), dlg.GetPathName());
    EXPECT_EQ(CString(L"house.skp"), dlg.GetFileName());
    EXPECT_EQ(CString(L"skp"), dlg.GetFileExt());
    EXPECT_EQ(CString(L"house"), dlg.GetFileTitle());
    // MFC's filter form with NULs for the common dialog.
    const wchar_t* f = dlg.m_ofn.lpstrFilter;
    EXPECT_STREQ(L"SKetchUp SKP Files (*.skp)", f);
    EXPECT_STREQ(L"*.skp", f + std::wcslen(f) + 1);
}

TEST_F(FileDialog, TheDefaultExtensionGoesOntoANameTypedWithoutOne)
{
    struct Row {
        const wchar_t* typed;
        const wchar_t* path;
    };
    const Row rows[] = {{L"/m/house", L"/m/house.skp"},
                        {L"/m/house.dae", L"/m/house.dae"},
                        {L"/m.d/house", L"/m.d/house.skp"},
                        {L"C:\\m\\house", L"C:\\m\\house.skp"}};
    for (const Row& r : rows) {
        CFileDialog dlg(TRUE, L"skp", NULL, OFN_HIDEREADONLY, L"SKP|*.skp||");
        user.chooseFile(r.typed);
        ASSERT_EQ(IDOK, dlg.DoModal());
        EXPECT_EQ(CString(r.path), dlg.GetPathName());
    }
}

TEST_F(FileDialog, CancelAndRunningOutOfAnswersGiveIdCancel)
{
    CFileDialog first(TRUE, L"skp");
    user.cancelFile();
    EXPECT_EQ(IDCANCEL, first.DoModal());
    EXPECT_TRUE(first.GetPathName().IsEmpty());
    CFileDialog second(TRUE, L"skp");
    user.escape();
    EXPECT_EQ(IDCANCEL, second.DoModal());
    CFileDialog third(TRUE, L"skp");
    EXPECT_EQ(IDCANCEL, third.DoModal());
}

TEST_F(FileDialog, ARelativeNameIsTakenInTheCurrentFolder)
{
    CFileDialog dlg(TRUE, NULL);
    user.chooseFile(L"model.obj");
    ASSERT_EQ(IDOK, dlg.DoModal());
    char cwd[4096];
    ASSERT_NE(nullptr, getcwd(cwd, sizeof cwd));
    EXPECT_EQ(CString(standin::widen(std::string(cwd) + "/model.obj").c_str()), dlg.GetPathName());
}

TEST_F(FileDialog, FileMustExistAsksAgain)
{
    char name[] = "/tmp/kvfdXXXXXX";
    int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    close(fd);
    CFileDialog dlg(TRUE, NULL, NULL, OFN_FILEMUSTEXIST);
    user.chooseFile(L"/no/such/file.txt").chooseFile(standin::widen(name));
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(CString(standin::widen(name).c_str()), dlg.GetPathName());
    ASSERT_EQ(1u, user.boxes().size());
    EXPECT_NE(std::wstring::npos, user.boxes()[0].text.find(L"File not found."));
    std::remove(name);
}

TEST_F(FileDialog, SavingOverAnExistingFileAsksFirst)
{
    char name[] = "/tmp/kvfdXXXXXX";
    int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    close(fd);
    CFileDialog dlg(FALSE, NULL, NULL, OFN_OVERWRITEPROMPT);
    user.chooseFile(standin::widen(name)).answerBox(IDNO).chooseFile(standin::widen(name)).answerBox(IDYES);
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(2u, user.boxes().size());
    EXPECT_FALSE(user.fileRequests()[0].open);
    std::remove(name);
}

}  // namespace
