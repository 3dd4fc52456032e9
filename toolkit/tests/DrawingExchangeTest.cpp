// DXF files read into the drawing through the host's "_dxfin": one file, and
// the files that lie beside a model file.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "DrawingExchange.h"
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
        standin::editor::clearCommandLine();
        int count = 5;
        EXPECT_EQ(ImportDxfFiles(CString(standin::widen(given).c_str()), count), 0);
        EXPECT_EQ(count, 0);
        EXPECT_EQ(standin::editor::commandLineText(), L"Unable to read 2D data\n");
    }
    EXPECT_TRUE(exists("plan.dxf"));
    EXPECT_TRUE(modelSpaceIds().empty());
}

}  // namespace
