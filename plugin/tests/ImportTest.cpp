// The import command: the file dialog, the reader's answers, the options
// dialog and the entities and report lines of each import mode.
#include <ostream>
#include <stdexcept>

#include "PluginTest.h"
#include "standin/AcEdStandin.h"
#include "standin/Dialogs.h"
#include "standin/ScriptedUser.h"
#include "dbapserv.h"
#include "standin/AcDbStandin.h"

using namespace plugin_test;

namespace {

const char kSquareObj[] = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
                          "f 1 2 3\nf 1 3 4\n";

const char kTwoObjectsObj[] = "o First\n"
                              "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
                              "f 1 2 3 4\n"
                              "o Second\n"
                              "v 0 0 5\nv 1 0 5\nv 1 1 5\nv 0 1 5\nv 2 0 5\n"
                              "f 5 6 7\nf 5 7 8\nf 6 9 7\n";

const std::wstring kNoMeshText =
    L"SKP file does not contain mesh data.\n\n"
    L"Note: Components in SKP files will need to be exploded in SketchUp to expose their mesh data.";

}  // namespace

using ImportTest = PluginTest;

TEST_F(ImportTest, TheFileDialogAsksForSketchUpFiles)
{
    user().cancelFile();
    RunCommand(L"_Kolvane");
    ASSERT_EQ(user().fileRequests().size(), 1u);
    const standin::FileRequest& request = user().fileRequests()[0];
    EXPECT_TRUE(request.open);
    EXPECT_EQ(request.defaultExtension, L"skp");
    EXPECT_EQ(request.fileName, L"");
    EXPECT_EQ(request.filter, L"SKetchUp SKP Files (*.skp)|*.skp||");
    // MFC adds its own flags (the Explorer style) to the ones asked for.
    EXPECT_EQ(request.flags & 6u, 6u);
}

TEST_F(ImportTest, CancelInTheFileDialogPrintsOneLineAndOpensNothing)
{
    user().cancelFile();
    RunCommand(L"_Kolvane");
    EXPECT_EQ(CommandLine(), L"Failure [Command cancelled]\n");
    EXPECT_EQ(fake_reader::Calls(), 0);
    EXPECT_TRUE(user().dialogs().empty());
    EXPECT_TRUE(user().boxes().empty());
    EXPECT_EQ(ModelSpaceCount(), 0);
}

TEST_F(ImportTest, AReaderFailureShowsTheReadersTextInAWarningBox)
{
    const std::string missing = tempDir() + "no-such-model.obj";
    Import(missing);
    ASSERT_EQ(user().boxes().size(), 1u);
    const auto& box = user().boxes()[0];
    EXPECT_EQ(box.caption, DefaultCaption());
    EXPECT_EQ(box.type, static_cast<unsigned>(MB_ICONWARNING));
    EXPECT_NE(box.text.find(Widen(missing)), std::wstring::npos) << Narrow(box.text);
    EXPECT_EQ(CommandLine(), L"");
    EXPECT_TRUE(user().dialogs().empty());
    EXPECT_EQ(ModelSpaceCount(), 0);
}

TEST_F(ImportTest, AModelWithoutFacesShowsTheNoMeshBox)
{
    // Points and a polyline only: the reader succeeds with no mesh.
    const std::string path = WriteObj("points.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\np 1 2 3\nl 1 2 3\n");
    Import(path);
    ASSERT_EQ(user().boxes().size(), 1u);
    EXPECT_EQ(user().boxes()[0].text, kNoMeshText);
    EXPECT_EQ(user().boxes()[0].caption, DefaultCaption());
    EXPECT_EQ(user().boxes()[0].type, static_cast<unsigned>(MB_ICONWARNING));
    EXPECT_EQ(CommandLine(), L"");
    EXPECT_TRUE(user().dialogs().empty());
    EXPECT_EQ(ModelSpaceCount(), 0);
}

TEST_F(ImportTest, TheOptionsDialogIsTheModulesOwn)
{
    const std::string path = WriteObj("square.obj", kSquareObj);
    Import(path, [](standin::DialogSession& dialog) {
        EXPECT_EQ(dialog.title(), L"Kolvane for AutoCAD Options");
        EXPECT_EQ(dialog.templateId(), 200);
        EXPECT_EQ(dialog.comboItems(kComboId), (std::vector<std::wstring>{L"Mesh", L"3D Faces", L"Lines", L"Points"}));
        const standin::DialogControl check = dialog.control(kCheckId);
        EXPECT_EQ(check.kind, standin::ControlKind::CheckBox);
        EXPECT_EQ(check.text, L"Display polyface mesh limit warning");
        EXPECT_EQ(dialog.defaultButton(), IDOK);
        // While the dialog is up, the module's resources are current.
        EXPECT_EQ(standin::docs::resourceStackDepth(), 1);
        dialog.press(IDCANCEL);
    });
    ASSERT_EQ(user().dialogs().size(), 1u);
    EXPECT_EQ(user().dialogs()[0].templateId, 200);
}

TEST_F(ImportTest, CancelInTheOptionsDialogImportsNothing)
{
    const std::string path = WriteObj("square.obj", kSquareObj);
    Import(path, [](standin::DialogSession& dialog) {
        dialog.selectComboItem(kComboId, L"Lines");
        dialog.press(IDCANCEL);
    });
    EXPECT_EQ(CommandLine(), L"Failure [Command cancelled]\n");
    EXPECT_EQ(ModelSpaceCount(), 0);
    EXPECT_EQ(StoredInt(L"Import As", 99), 99);
}

TEST_F(ImportTest, AnOptionsDialogThatCannotBeOpenedIsSaidSoAndWritesNothing)
{
    const std::string path = WriteObj("square.obj", kSquareObj);
    standin::failNextDialogCreation();
    Import(path);
    EXPECT_TRUE(user().dialogs().empty());
    ASSERT_EQ(user().boxes().size(), 1u);
    EXPECT_EQ(user().boxes()[0].text, L"The options dialog could not be opened.");
    EXPECT_EQ(user().boxes()[0].caption, DefaultCaption());
    EXPECT_EQ(user().boxes()[0].type, static_cast<unsigned>(MB_ICONWARNING));
    EXPECT_EQ(CommandLine(), L"");
    EXPECT_EQ(ModelSpaceCount(), 0);
    EXPECT_EQ(StoredInt(L"Import As", 99), 99);
}

TEST_F(ImportTest, EscapeInTheOptionsDialogCancelsToo)
{
    const std::string path = WriteObj("square.obj", kSquareObj);
    Import(path, [](standin::DialogSession& dialog) { dialog.escape(); });
    EXPECT_EQ(CommandLine(), L"Failure [Command cancelled]\n");
    EXPECT_EQ(ModelSpaceCount(), 0);
}

TEST_F(ImportTest, TwoMeshesAsFacesPrintOneLinePerMeshInOrder)
{
    const std::string path = WriteObj("two.obj", kTwoObjectsObj);
    ImportAs(path, L"3D Faces");
    EXPECT_EQ(CommandLines(), (std::vector<std::wstring>{L"Created 1 3d faces", L"Created 3 3d faces"}));
    EXPECT_EQ(ModelSpaceCounts(), (std::map<std::wstring, int>{{L"AcDbFace", 4}}));
}

struct ModeCase {
    const char* name;
    bool sixVertices;
    const wchar_t* item;
    const wchar_t* line;
    const wchar_t* entityClass;
    int entities;
};

// Test names and failure messages show the case by its name.
void PrintTo(const ModeCase& c, std::ostream* os)
{
    *os << c.name;
}

class ImportModeTest : public PluginTest, public ::testing::WithParamInterface<ModeCase> {};

// Two triangles sharing an edge: the counts come from the mesh, and for
// lines and points from its topology, where equal positions are one vertex.
TEST_P(ImportModeTest, ReportsTheMeshCountsAndMakesTheEntities)
{
    const ModeCase& c = GetParam();
    fake_reader::QueueMeshes({TwoTriangles(c.sixVertices)});
    ImportAs("two-triangles.skp", c.item);
    EXPECT_EQ(CommandLines(), std::vector<std::wstring>{c.line});
    EXPECT_EQ(ModelSpaceCounts(), (std::map<std::wstring, int>{{c.entityClass, c.entities}}));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ImportModeTest,
    ::testing::Values(ModeCase{"MeshOverFour", false, L"Mesh",
                               L"Created polyface mesh consisting of 4 vertices and 2 faces", L"AcDbSubDMesh", 1},
                      ModeCase{"MeshOverSix", true, L"Mesh",
                               L"Created polyface mesh consisting of 6 vertices and 2 faces", L"AcDbSubDMesh", 1},
                      ModeCase{"FacesOverSix", true, L"3D Faces", L"Created 2 3d faces", L"AcDbFace", 2},
                      ModeCase{"LinesOverFour", false, L"Lines", L"Created 5 lines", L"AcDbLine", 5},
                      ModeCase{"LinesOverSix", true, L"Lines", L"Created 5 lines", L"AcDbLine", 5},
                      ModeCase{"PointsOverFour", false, L"Points", L"Created 4 points", L"AcDbPoint", 4},
                      ModeCase{"PointsOverSix", true, L"Points", L"Created 4 points", L"AcDbPoint", 4}),
    [](const ::testing::TestParamInfo<ModeCase>& info) { return std::string(info.param.name); });

TEST_F(ImportTest, EachReportLineFollowsItsOwnMeshsEntities)
{
    // A line is printed right after its mesh is written: the entities of the
    // first mesh exist when its line appears, before the second is written.
    // A user who notes how many entities the drawing holds at each line shown.
    class CountingUser : public standin::ScriptedUser {
    public:
        void show(const std::wstring& text) override
        {
            ScriptedUser::show(text);
            if (text.find(L"Created") != std::wstring::npos)
                seen.emplace_back(text,
                                  standin::modelSpaceEntityCount(acdbHostApplicationServices()->workingDatabase()));
        }
        std::vector<std::pair<std::wstring, int>> seen;
    } counting;
    counting.chooseFile(L"model.skp").dialog([](standin::DialogSession& dialog) {
        EXPECT_TRUE(dialog.selectComboItem(kComboId, L"Lines"));
        EXPECT_TRUE(dialog.press(IDOK));
    });
    fake_reader::QueueMeshes({Cube(), TwoTriangles(false)});
    {
        standin::ScopedUser scoped(counting);
        RunCommand(L"_Kolvane");
    }
    EXPECT_EQ(CommandLines(), (std::vector<std::wstring>{L"Created 12 lines", L"Created 5 lines"}));
    EXPECT_EQ(counting.seen,
              (std::vector<std::pair<std::wstring, int>>{{L"Created 12 lines\n", 12}, {L"Created 5 lines\n", 17}}));
    EXPECT_EQ(ModelSpaceCount(), 17);
}

TEST_F(ImportTest, AnImportOfTheSharedCubeModelsMatchesTheirCorners)
{
    // A developer sample read in place: a cube of 8 corners and 6 quads.
    const std::string path = TestDataDir() + "/models/Cube.off";
    ImportAs(path, L"Mesh");
    EXPECT_EQ(CommandLines(), std::vector<std::wstring>{L"Created polyface mesh consisting of 8 vertices and 6 faces"});
    ImportAs(path, L"Points");
    EXPECT_EQ(CommandLines().back(), L"Created 8 points");
    EXPECT_EQ(ModelSpaceCounts(), (std::map<std::wstring, int>{{L"AcDbSubDMesh", 1}, {L"AcDbPoint", 8}}));
}

TEST_F(ImportTest, AnExceptionInsideTheCommandStillPopsTheResourceSource)
{
    fake_reader::QueueMeshes({Cube()});
    user().chooseFile(L"cube.skp");
    user().dialog([](standin::DialogSession&) { throw std::runtime_error("user walked away"); });
    EXPECT_THROW(RunCommand(L"_Kolvane"), std::runtime_error);
    EXPECT_EQ(standin::docs::resourceStackDepth(), 0);
    EXPECT_EQ(ModelSpaceCount(), 0);
    // The next import works as usual.
    fake_reader::QueueMeshes({Cube()});
    ImportAs("cube.skp", L"3D Faces");
    EXPECT_EQ(CommandLines().back(), L"Created 6 3d faces");
}

TEST_F(ImportTest, TheCaptionNamesTheRunningRelease)
{
    struct Case {
        wchar_t letter;
        const wchar_t* caption;
    };
    const Case cases[] = {
        {L'D', L"Kolvane for AutoCAD 2010 version 1.0"}, {L'E', L"Kolvane for AutoCAD 2011 version 1.0"},
        {L'A', L"Kolvane for AutoCAD 2007 version 1.0"}, {L'Z', L"Kolvane for AutoCAD 2006 version 1.0"},
        {L'X', L"Kolvane for AutoCAD ???? version 1.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.caption));
        standin::editor::setHostRelease(c.letter);
        Import(tempDir() + "missing.obj");
        ASSERT_FALSE(user().boxes().empty());
        EXPECT_EQ(user().boxes().back().caption, c.caption);
    }
}
