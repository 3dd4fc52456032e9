// The host's own commands and the command prompt: "_dxfout", "_zoom",
// unknown commands, and acedCommand's argument types.
#include <fstream>
#include <sstream>

#include "accmd.h"
#include "acedads.h"
#include "acutads.h"

#include "EditorTest.h"

namespace {

using HostCommandTest = EditorTest;

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST_F(HostCommandTest, DxfOutWritesTheDrawingAndAddsTheExtension)
{
    addLine(0, 0, 3, 4);
    const std::wstring base = standin::widen(path("drawing"));
    EXPECT_EQ(acedCommand(RTSTR, L"_dxfout", RTSTR, base.c_str(), RTNONE), RTNORM);
    const std::string written = readAll(path("drawing.dxf"));
    EXPECT_NE(written.find("LINE"), std::string::npos);
    EXPECT_NE(written.find("EOF"), std::string::npos);

    // Asked of the user at the command prompt, with an extension of its own.
    user().type(standin::widen(path("other.DXF")));
    EXPECT_EQ(standin::editor::runCommand(L"dxfout"), RTNORM);
    EXPECT_EQ(user().prompts(), std::vector<std::wstring>{L"Enter file name: "});
    EXPECT_FALSE(readAll(path("other.DXF")).empty());

    const std::wstring nowhere = standin::widen(path("no/such/folder/x.dxf"));
    EXPECT_EQ(acedCommand(RTSTR, L"_dxfout", RTSTR, nowhere.c_str(), RTNONE), RTERROR);
    EXPECT_NE(standin::editor::commandLineText().find(L"Unable to write DXF file"), std::wstring::npos);
}

TEST_F(HostCommandTest, UnknownCommandsAreReportedAsTheHostDoes)
{
    EXPECT_EQ(standin::editor::runCommand(L"frobnicate"), RTERROR);
    EXPECT_EQ(standin::editor::commandLineText(), L"Unknown command \"FROBNICATE\".  Press F1 for help.\n");
    EXPECT_EQ(acedCommand(RTSTR, L"_zoom", RTSTR, L"_extents", RTSTR, L"_nothing", RTNONE), RTERROR);
    EXPECT_FALSE(standin::editor::isCommand(L"nothing"));
    EXPECT_TRUE(standin::editor::isCommand(L"_ZOOM"));
    EXPECT_TRUE(standin::editor::isCommand(L"'zoom"));
    EXPECT_EQ(acedCommand(12345, 1, RTNONE), RTERROR);  // an argument type that is not served
}

TEST_F(HostCommandTest, ArgumentsOfEveryTypeBecomeAnswers)
{
    const AcDbObjectId line = addLine(0, 0, 1, 0);
    ads_name name;
    acdbGetAdsName(name, line);
    ASSERT_EQ(acedRegCmds->addCommand(
                  L"KvHostTest", L"_KvSelect", L"KvSelect", ACRX_CMD_MODAL,
                  +[] {
                      ads_name ss;
                      if (acedSSGet(nullptr, nullptr, nullptr, nullptr, ss) == RTNORM) {
                          long n = 0;
                          acedSSLength(ss, &n);
                          acutPrintf(L"selected %ld\n", n);
                          acedSSFree(ss);
                      }
                      ads_name entity;
                      ads_point pt;
                      if (acedEntSel(L"Pick: ", entity, pt) == RTNORM)
                          acutPrintf(L"picked at %g,%g,%g\n", pt[0], pt[1], pt[2]);
                  }),
              Acad::eOk);
    const ads_point where = {0.5, 0.25, 2.0};
    EXPECT_EQ(acedCommand(RTSTR, L"KvSelect", RTENAME, name, RTSTR, L"", RT3DPOINT, where, RTNONE), RTNORM);
    EXPECT_EQ(standin::editor::commandLineText(), L"selected 1\npicked at 0.5,0.25,2\n");
    EXPECT_TRUE(user().prompts().empty());
    EXPECT_EQ(acedRegCmds->removeGroup(L"KvHostTest"), Acad::eOk);
}

}  // namespace
