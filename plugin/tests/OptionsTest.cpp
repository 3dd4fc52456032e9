// The options dialog and the options it stores in the registry.
#include <afxwin.h>

#include <ostream>

#include "KolvaneOptionsDlg.h"
#include "PluginTest.h"
#include "standin/Dialogs.h"
#include "standin/VrnStandin.h"

using namespace plugin_test;

namespace {

struct Seen {
    int selection = -2;
    int check = -2;
    bool operator==(const Seen& other) const { return selection == other.selection && check == other.check; }
};

void PrintTo(const Seen& seen, std::ostream* out)
{
    *out << "selection " << seen.selection << ", check " << seen.check;
}

// An options dialog that only looks and then presses a button.
std::function<void(standin::DialogSession&)> LookAndPress(Seen& seen, int button)
{
    return [&seen, button](standin::DialogSession& dialog) {
        seen.selection = dialog.comboSelection(kComboId);
        seen.check = dialog.checkState(kCheckId);
        dialog.press(button);
    };
}

}  // namespace

class OptionsTest : public PluginTest {
protected:
    void SetUp() override
    {
        PluginTest::SetUp();
        fake_reader::QueueMeshes({Cube()});
    }
    // Another import of the cube.
    void Again() { fake_reader::QueueMeshes({Cube()}); }
    // Imports the cube, pressing the button in the options dialog; what the
    // dialog offered.
    Seen Offered(int button)
    {
        Seen seen;
        Import("cube.skp", LookAndPress(seen, button));
        return seen;
    }
};

TEST_F(OptionsTest, FirstUseOffersMeshWithTheWarningCheckedAndOkStoresThem)
{
    ASSERT_FALSE(FileExists(registryFile()));
    EXPECT_EQ(Offered(IDOK), (Seen{0, BST_CHECKED}));
    EXPECT_EQ(StoredInt(L"Import As", 99), 0);
    EXPECT_EQ(StoredBool(L"Warning", 99), 1);
    EXPECT_EQ(CommandLines(), std::vector<std::wstring>{L"Created polyface mesh consisting of 8 vertices and 6 faces"});
}

TEST_F(OptionsTest, TheChoiceMadeAtOkIsOfferedAtTheNextImport)
{
    ImportAs("cube.skp", L"Points", false);
    EXPECT_EQ(StoredInt(L"Import As", 99), 3);
    EXPECT_EQ(StoredBool(L"Warning", 99), 0);

    Again();
    EXPECT_EQ(Offered(IDOK), (Seen{3, BST_UNCHECKED}));
    EXPECT_EQ(CommandLines(), (std::vector<std::wstring>{L"Created 8 points", L"Created 8 points"}));
}

TEST_F(OptionsTest, CancelStoresNothing)
{
    ImportAs("cube.skp", L"3D Faces", false);
    Again();
    Import("cube.skp", [](standin::DialogSession& dialog) {
        dialog.selectComboItem(kComboId, L"Lines");
        dialog.setCheck(kCheckId, BST_CHECKED);
        dialog.press(IDCANCEL);
    });
    EXPECT_EQ(StoredInt(L"Import As", 99), 1);
    EXPECT_EQ(StoredBool(L"Warning", 99), 0);

    Again();
    EXPECT_EQ(Offered(IDCANCEL), (Seen{1, BST_UNCHECKED}));
}

TEST_F(OptionsTest, AStoredModeOutsideTheListReadsAsMeshAndOkStoresMesh)
{
    const int stored[] = {7, -1, 4};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(stored[i]);
        StoreInt(L"Import As", stored[i]);
        Again();
        EXPECT_EQ(Offered(IDOK).selection, 0);
        EXPECT_EQ(StoredInt(L"Import As", 99), 0);
        // Each import made its one mesh.
        EXPECT_EQ(CommandLines(),
                  std::vector<std::wstring>(i + 1, L"Created polyface mesh consisting of 8 vertices and 6 faces"));
        EXPECT_EQ(ModelSpaceCount(), i + 1);
        EXPECT_TRUE(user().boxes().empty());
    }
}

TEST_F(OptionsTest, ADamagedRegistryFileGivesTheDefaultsAndIsKeptAside)
{
    const std::string damaged = "this is not a settings file\n\x01\x02[[[\n";
    WriteFile(registryFile(), damaged);
    EXPECT_EQ(Offered(IDOK), (Seen{0, BST_CHECKED}));
    EXPECT_EQ(CommandLines().size(), 1u);
    EXPECT_EQ(ModelSpaceCount(), 1);
    EXPECT_EQ(StoredInt(L"Import As", 99), 0);
    EXPECT_EQ(ReadFile(registryFile() + ".corrupt"), damaged);
}

TEST_F(OptionsTest, AnUnwritableRegistryDoesNotStopTheImport)
{
    // The store would lie below a plain file: it can be neither read nor made.
    WriteFile(tempDir() + "plain", "x");
    standin::vrn::setRegistryFile(tempDir() + "plain/registry.txt");
    ImportAs("cube.skp", L"Lines");
    EXPECT_EQ(CommandLines(), std::vector<std::wstring>{L"Created 12 lines"});
    EXPECT_EQ(ModelSpaceCount(), 12);

    // Nothing was stored, so the next import offers the defaults again.
    Again();
    EXPECT_EQ(Offered(IDCANCEL), (Seen{0, BST_CHECKED}));
}

// The dialog class on its own: its template and initialisation data are
// found only through the current resource source.
TEST_F(OptionsTest, WithoutTheModulesResourcesTheDialogCannotBeCreated)
{
    fake_reader::Clear();
    HINSTANCE before = AfxGetResourceHandle();
    AfxSetResourceHandle(GetModuleHandleW(nullptr));  // the test program: no dialog 200
    CKolvaneOptionsDlg dialog(nullptr);
    EXPECT_EQ(dialog.DoModal(), -1);
    AfxSetResourceHandle(before);
    EXPECT_EQ(dialog.m_importAs, -1);
    EXPECT_EQ(dialog.m_warning, FALSE);
    EXPECT_TRUE(user().dialogs().empty());
    EXPECT_FALSE(FileExists(registryFile()));
}
