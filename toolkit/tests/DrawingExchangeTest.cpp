// DXF files read into the drawing through the host's "_dxfin": one file, and
// the files that lie beside a model file. ACIS files read into model space
// and written from a list of entities.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "DrawingExchange.h"
#include "EntityPlacement.h"
#include "ToolkitUtilities.h"
#include "dbbody.h"
#include "dbregion.h"
#include "dbsol3d.h"
#include "ToolkitTest.h"
#include "standin/WideFormat.h"

namespace {

// A drawing of one line from (x, 0) to (x + 1, 1).
std::string lineDxf(int x)
{
    const std::string s = std::to_string(x), e = std::to_string(x + 1);
    return "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  8\nPlan\n 10\n" + s + "\n 20\n0\n 30\n0\n 11\n" + e +
        "\n 21\n1\n 31\n0\n  0\nENDSEC\n  0\nEOF\n";
}

class DrawingExchangeTest : public ToolkitTest {
protected:
    void SetUp() override
    {
        ToolkitTest::SetUp();
        char pattern[] = "/tmp/kv-exchange-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override
    {
        ToolkitTest::TearDown();
        const std::string command = "rm -rf '" + folder_ + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }
    std::string file(const std::string& name, const std::string& content)
    {
        std::ofstream(folder_ + "/" + name, std::ios::binary) << content;
        return folder_ + "/" + name;
    }
    // Importing the DXF files of the model path given finds none: nothing is
    // imported and the command line says so.
    static void expectNoDxfFound(const std::string& given)
    {
        standin::editor::clearCommandLine();
        int count = 5;
        EXPECT_EQ(ImportDxfFiles(CString(standin::widen(given).c_str()), count), 0);
        EXPECT_EQ(count, 0);
        EXPECT_EQ(standin::editor::commandLineText(), L"Unable to read 2D data\n");
    }

    bool exists(const std::string& name) const { return access((folder_ + "/" + name).c_str(), F_OK) == 0; }
    CString wide(const std::string& name) const { return CString(standin::widen(folder_ + "/" + name).c_str()); }
    static int zooms() { return standin::editor::currentView().extentsZooms; }

    std::string folder_;
};

TEST_F(DrawingExchangeTest, ImportDxfFileZoomsOnlyWhenAskedAndOnlyAfterANormalImport)
{
    file("plan.dxf", lineDxf(0));
    file("bad.dxf", "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n");
    EXPECT_EQ(ImportDxfFile(wide("plan.dxf"), FALSE), 1);
    EXPECT_EQ(modelSpaceIds().size(), 1u);
    EXPECT_EQ(zooms(), 0);
    EXPECT_EQ(ImportDxfFile(wide("plan.dxf"), TRUE), 1);
    EXPECT_EQ(modelSpaceIds().size(), 2u);
    EXPECT_EQ(zooms(), 1);
    EXPECT_EQ(ImportDxfFile(wide("bad.dxf"), TRUE), 0);
    EXPECT_EQ(modelSpaceIds().size(), 2u);
    EXPECT_EQ(zooms(), 1);
    EXPECT_TRUE(exists("plan.dxf")) << "a single import deletes nothing";
}

TEST_F(DrawingExchangeTest, ImportDxfFilesReadsTheFilesBesideTheModelAndKeepsTheOnesThatFail)
{
    file("model.skp", "not read");
    file("model.dxf", lineDxf(0));
    file("model_2.dxf", "garbage");
    file("model plan.dxf", lineDxf(10));
    file("other.dxf", lineDxf(20));
    int count = -1;
    EXPECT_EQ(ImportDxfFiles(wide("model.skp"), count), 0);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(modelSpaceIds().size(), 2u);
    EXPECT_EQ(zooms(), 2) << "one zoom after each import";
    const std::wstring printed = standin::editor::commandLineText();
    EXPECT_NE(printed.find(L"Unable to read 2D data from model_2.dxf"), std::wstring::npos);
    EXPECT_EQ(printed.find(L"Unable to read 2D data from model_2.dxf\n"), std::wstring::npos) << "no line break";
    EXPECT_FALSE(exists("model.dxf"));
    EXPECT_FALSE(exists("model plan.dxf"));
    EXPECT_TRUE(exists("model_2.dxf")) << "a file that failed keeps its data";
    EXPECT_TRUE(exists("other.dxf"));
    EXPECT_TRUE(exists("model.skp"));
}

TEST_F(DrawingExchangeTest, ThePatternIsTheSameWithAndWithoutAnExtension)
{
    for (const char* given : {"model.skp", "model"}) {
        SCOPED_TRACE(given);
        freshDatabase();
        file("model.dxf", lineDxf(0));
        file("model_1.dxf", lineDxf(1));
        int count = 0;
        EXPECT_EQ(ImportDxfFiles(wide(given), count), 1);
        EXPECT_EQ(count, 2);
        EXPECT_EQ(modelSpaceIds().size(), 2u);
        EXPECT_FALSE(exists("model.dxf"));
        EXPECT_FALSE(exists("model_1.dxf"));
    }
}

TEST_F(DrawingExchangeTest, NoMatchingFileIsReportedAndNothingIsDeleted)
{
    file("plan.dxf", lineDxf(0));
    for (const std::string& given : {folder_ + "/model.skp", folder_ + "/missing-folder/model.skp"}) {
        SCOPED_TRACE(given);
        expectNoDxfFound(given);
    }
    EXPECT_TRUE(exists("plan.dxf"));
    EXPECT_TRUE(modelSpaceIds().empty());
}

TEST_F(DrawingExchangeTest, AModelPathThatCannotBeSplitWholeSearchesNothing)
{
    // The working folder holds DXF files that have nothing to do with the model.
    const std::string work = folder_ + "/work";
    ASSERT_EQ(mkdir(work.c_str(), 0700), 0);
    std::ofstream(work + "/stray.dxf", std::ios::binary) << lineDxf(0);
    std::ofstream(work + "/model.dxf", std::ios::binary) << lineDxf(1);
    // A folder path of 256 characters and more, with the model's DXF file in it.
    std::string deep = folder_;
    while (deep.size() < 300) {
        deep += "/" + std::string(40, 'd');
        ASSERT_EQ(mkdir(deep.c_str(), 0700), 0);
    }
    std::ofstream(deep + "/model.dxf", std::ios::binary) << lineDxf(2);
    char* previous = getcwd(nullptr, 0);
    ASSERT_EQ(chdir(work.c_str()), 0);
    const std::string paths[] = {deep + "/model.skp", "", deep + "/"};
    for (const std::string& given : paths) {
        SCOPED_TRACE(given);
        expectNoDxfFound(given);
    }
    EXPECT_EQ(chdir(previous), 0);
    free(previous);
    EXPECT_TRUE(modelSpaceIds().empty());
    EXPECT_EQ(access((work + "/stray.dxf").c_str(), F_OK), 0);
    EXPECT_EQ(access((work + "/model.dxf").c_str(), F_OK), 0);
    EXPECT_EQ(access((deep + "/model.dxf").c_str(), F_OK), 0);
}

TEST_F(DrawingExchangeTest, WildcardsInTheModelNameAreTakenAsWritten)
{
    struct Case {
        const char* model;
        const char* beside;  // begins with the model's name as written: taken
        const char* other;   // matched only by the wildcard: kept
    };
    const Case cases[] = {
        {"mo*l.skp", "mo*l plan.dxf", "model.dxf"},
        {"m?del.skp", "m?del.dxf", "model_2.dxf"},
        {"*.skp", "*_1.dxf", "plan.dxf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        freshDatabase();
        file(c.model, "not read");
        file(c.beside, lineDxf(0));
        file(c.other, lineDxf(10));
        int count = 0;
        EXPECT_EQ(ImportDxfFiles(wide(c.model), count), 1);
        EXPECT_EQ(count, 1);
        EXPECT_EQ(modelSpaceIds().size(), 1u);
        EXPECT_FALSE(exists(c.beside));
        EXPECT_TRUE(exists(c.other)) << "a file the model's name does not begin is never deleted";
        ::unlink((folder_ + "/" + c.other).c_str());
    }
    // Only files the wildcard matched: none lies beside the model.
    freshDatabase();
    standin::editor::clearCommandLine();
    file("m?del.skp", "not read");
    file("model.dxf", lineDxf(0));
    int count = 5;
    EXPECT_EQ(ImportDxfFiles(wide("m?del.skp"), count), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(standin::editor::commandLineText(), L"Unable to read 2D data\n");
    EXPECT_TRUE(exists("model.dxf"));
    EXPECT_TRUE(modelSpaceIds().empty());
}

// Three bodies of three classes, appended to model space and closed.
std::vector<AcDbObjectId> appendThreeBodies()
{
    auto* solid = new AcDb3dSolid();
    EXPECT_EQ(solid->createBox(1, 2, 3), Acad::eOk);
    auto* body = new AcDbBody();
    EXPECT_EQ(body->setStandinModel(standin::cylinderModel(AcGePoint3d(5, 0, 0), 1, 2)), Acad::eOk);
    auto* region = new AcDbRegion();
    EXPECT_EQ(region->setStandinModel(standin::polygonRegionModel(
                  {AcGePoint3d(0, 0, 0), AcGePoint3d(1.0 / 3, 0, 0), AcGePoint3d(0, 0.1, 0)})),
              Acad::eOk);
    std::vector<AcDbObjectId> ids;
    for (AcDbEntity* e : std::initializer_list<AcDbEntity*>{solid, body, region}) {
        AcDbObjectId id;
        EXPECT_EQ(AppendToModelSpace(e, id), Acad::eOk);
        e->close();
        ids.push_back(id);
    }
    return ids;
}

AcArray<AcDbObjectId> idArray(const std::vector<AcDbObjectId>& ids)
{
    AcArray<AcDbObjectId> list;
    for (const AcDbObjectId& id : ids)
        list.append(id);
    return list;
}

// The class names of the entities, in order.
std::vector<std::string> classNames(const std::vector<AcDbObjectId>& ids)
{
    std::vector<std::string> names;
    for (const AcDbObjectId& id : ids) {
        AcDbEntity* e = nullptr;
        if (acdbOpenAcDbEntity(e, id, AcDb::kForRead) != Acad::eOk)
            continue;
        names.push_back(standin::narrow(e->isA()->name()));
        e->close();
    }
    return names;
}

const std::vector<std::string> kThreeClasses = {"AcDb3dSolid", "AcDbBody", "AcDbRegion"};

TEST_F(DrawingExchangeTest, AcisFileRoundTripsThroughTheDrawingInOrder)
{
    const std::vector<AcDbObjectId> written = appendThreeBodies();
    ASSERT_EQ(ExportAcisFile(idArray(written), wide("three.sat")), 1);
    ASSERT_TRUE(exists("three.sat"));

    freshDatabase();
    EXPECT_EQ(ImportAcisFile(wide("three.sat"), FALSE), 1);
    EXPECT_EQ(classNames(modelSpaceIds()), kThreeClasses);
    EXPECT_EQ(zooms(), 0);

    // The entities read are resident and closed; written out again, the file
    // is the same.
    ASSERT_EQ(ExportAcisFile(idArray(modelSpaceIds()), wide("again.sat")), 1);
    std::ifstream a(folder_ + "/three.sat"), b(folder_ + "/again.sat");
    const std::string first((std::istreambuf_iterator<char>(a)), std::istreambuf_iterator<char>());
    const std::string second((std::istreambuf_iterator<char>(b)), std::istreambuf_iterator<char>());
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(first, second);

    EXPECT_EQ(ImportAcisFile(wide("three.sat"), TRUE), 1);
    EXPECT_EQ(modelSpaceIds().size(), 6u) << "appended after what is there";
    EXPECT_EQ(zooms(), 1) << "one zoom, after the last append";
}

TEST_F(DrawingExchangeTest, AnAcisFileThatCannotBeReadAppendsNothing)
{
    file("garbage.sat", "kolvane-acis 1\nbodies 3\nBODY 0\n");
    file("drawing.dxf", lineDxf(0));
    const struct {
        const char* name;
        const wchar_t* text;
    } cases[] = {
        {"garbage.sat", L"Cannot Restore From Acis File"},
        {"drawing.dxf", L"Cannot Restore From Acis File"},
        {"missing.sat", L"File Not Found"},
        {"", L"File Access Err"},  // the folder itself
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CToolkitUtilities::SetLastErrorText(L"");
        EXPECT_EQ(ImportAcisFile(wide(c.name), TRUE), 0);
        EXPECT_EQ(CToolkitUtilities::GetLastErrorText(), CString(c.text));
    }
    EXPECT_TRUE(modelSpaceIds().empty());
    EXPECT_EQ(zooms(), 0);
}

TEST_F(DrawingExchangeTest, EntitiesThatNoDrawingTakesAreDeleted)
{
    ASSERT_EQ(ExportAcisFile(idArray(appendThreeBodies()), wide("three.sat")), 1);
    // With model space held open for write elsewhere the read succeeds and
    // the appends fail: the three new entities must not be left to no one
    // (the leak check of the sanitizer build sees them).
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(db()->getSymbolTable(table, AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite), Acad::eOk);
    table->close();
    CToolkitUtilities::SetLastErrorText(L"");
    const int result = ImportAcisFile(wide("three.sat"), TRUE);
    space->close();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(standin::narrow(CToolkitUtilities::GetLastErrorText().GetString()), "Was Open For Write");
    EXPECT_EQ(zooms(), 0);
    EXPECT_EQ(modelSpaceIds().size(), 3u) << "only the three written";
}

TEST_F(DrawingExchangeTest, ExportAcisFileFailuresWriteNothing)
{
    const std::vector<AcDbObjectId> ids = appendThreeBodies();
    file("kept.sat", "older data");

    // Nothing to write: the writer's own status.
    EXPECT_EQ(ExportAcisFile(AcArray<AcDbObjectId>(), wide("empty.sat")), 0);
    EXPECT_EQ(CToolkitUtilities::GetLastErrorText(), CString(L"Invalid Input"));
    EXPECT_FALSE(exists("empty.sat"));

    // An erased entity among the others ends the export before the write.
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(e, ids[1], AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(e->erase(), Acad::eOk);
    e->close();
    EXPECT_EQ(ExportAcisFile(idArray(ids), wide("kept.sat")), 0);
    EXPECT_EQ(CToolkitUtilities::GetLastErrorText(), CString(L"Was Erased"));
    std::ifstream in(folder_ + "/kept.sat");
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()), "older data");

    // A file that cannot be written.
    EXPECT_EQ(ExportAcisFile(idArray({ids[0]}), wide("no-folder/a.sat")), 0);
    EXPECT_EQ(CToolkitUtilities::GetLastErrorText(), CString(L"File Access Err"));
}

}  // namespace
