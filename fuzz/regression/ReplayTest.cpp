// Every seed of the three fuzzers and every input that once broke something
// (the regressions folders) runs through its harness again.
#include <gtest/gtest.h>

#include <string>

#include "HostileSupport.h"
#include "mesh/MeshHarness.h"
#include "model/ModelHarness.h"
#include "script/ScriptHarness.h"

using namespace hostile;

namespace {

template <class Run>
void Replay(const std::string& target, Run run)
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

}  // namespace
