// Every seed of the fuzzers and every input that once broke something
// (the regressions folders) runs through its harness again.
#include <gtest/gtest.h>

#include <string>

#include "HostileSupport.h"
#include "dbapserv.h"
#include "standin/AcDbStandin.h"
#include "acis/AcisHarness.h"
#include "dxf/DxfHarness.h"
#include "mesh/MeshHarness.h"
#include "model/ModelHarness.h"
#include "script/ScriptHarness.h"

using namespace hostile;

namespace {

template <class Run> void Replay(const std::string& target, Run run)
{
    int inputs = 0;
    for (const char* folder : {"/corpus", "/regressions"}) {
        for (const std::string& file : FilesIn(FuzzDir() + "/" + target + folder)) {
            const std::string bytes = ReadFile(file);
            SCOPED_TRACE(file);
            EXPECT_EQ(run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), "");
            ++inputs;
        }
    }
    EXPECT_GT(inputs, 0) << "no inputs for " << target;
}

TEST(ReplayTest, MeshInputs)
{
    kvfuzz::SetUpMeshHarness();
    Replay("mesh", kvfuzz::RunMeshInput);
}

TEST(ReplayTest, ModelInputs)
{
    kvfuzz::SetUpModelHarness();
    Replay("model", kvfuzz::RunModelInput);
}

TEST(ReplayTest, ScriptInputs)
{
    ASSERT_EQ(kvfuzz::SetUpScriptHarness(), "");
    Replay("script", kvfuzz::RunScriptInput);
}

TEST(ReplayTest, DxfInputs)
{
    kvfuzz::SetUpDxfHarness();
    Replay("dxf", kvfuzz::RunDxfInput);
}

TEST(ReplayTest, AcisInputs)
{
    kvfuzz::SetUpAcisHarness();
    Replay("acis", kvfuzz::RunAcisInput);
}

TEST(ReplayTest, TheScriptHarnessReachesThePlugIn)
{
    // A script fuzzer whose host had lost the module would fuzz nothing.
    ASSERT_EQ(kvfuzz::SetUpScriptHarness(), "");
    const std::string script = "_Kolvane\ncube.obj\n3D Faces\nYes\nOK\n";
    ASSERT_EQ(kvfuzz::RunScriptInput(reinterpret_cast<const uint8_t*>(script.data()), script.size()), "");
    EXPECT_EQ(standin::modelSpaceEntityCount(acdbHostApplicationServices()->workingDatabase()), 6);
}

}  // namespace
