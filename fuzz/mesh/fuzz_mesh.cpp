// libFuzzer entry: arbitrary meshes through the topology and the writers.
#include <cstdio>
#include <cstdlib>

#include "common/FuzzSupport.h"

#include "mesh/MeshHarness.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    kvfuzz::SetUpMeshHarness();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string broke = kvfuzz::RunMeshInput(data, size);
    kvfuzz::EndInput();
    if (!broke.empty()) {
        std::fprintf(stderr, "mesh input broke: %s\n", broke.c_str());
        std::abort();
    }
    return 0;
}
