// Scenes made in memory through the reader's scene conversion: a fixed run of
// pseudo-random inputs (what the in-process model fuzzer starts from), so that
// every build tries the conversion on missing arrays, indices past the end,
// coordinates that are not finite and placements beyond the limit.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "model/SceneHarness.h"
#include "standin/AcDbStandin.h"

namespace {

TEST(SceneConversionTest, PseudoRandomScenesKeepEveryRule)
{
    const char* old = std::getenv("VRN_READER_MAX_FACES");
    const std::string saved = old ? old : "";
    kvfuzz::SetUpSceneHarness();
    std::mt19937 random(20261210);
    for (int run = 0; run < 3000; ++run) {
        std::vector<uint8_t> bytes(1 + random() % 4096);
        for (uint8_t& b : bytes)
            b = static_cast<uint8_t>(random());
        bytes[0] = static_cast<uint8_t>(bytes[0] % 0xC0);  // a scene, not a polygon
        const std::string broke = kvfuzz::RunInProcessModelInput(bytes.data(), bytes.size());
        ASSERT_EQ(broke, "") << "input " << run;
    }
    // The run reaches every outcome, meshes written in every mode included.
    EXPECT_GT(kvfuzz::g_sceneOutcomes[0], 100u);
    EXPECT_GT(kvfuzz::g_sceneOutcomes[1], 100u);
    EXPECT_GT(kvfuzz::g_sceneOutcomes[2], 100u);
    std::printf("scenes refused %lu, without mesh %lu, with meshes %lu\n", kvfuzz::g_sceneOutcomes[0],
                kvfuzz::g_sceneOutcomes[1], kvfuzz::g_sceneOutcomes[2]);
    if (old)
        setenv("VRN_READER_MAX_FACES", saved.c_str(), 1);
    else
        unsetenv("VRN_READER_MAX_FACES");
    EXPECT_EQ(standin::describeOpenObjects(), "");
}

}  // namespace
