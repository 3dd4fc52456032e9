// libFuzzer entry: arbitrary meshes through the topology and the writers.
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
    kvfuzz::AbortOnBreach("mesh input", broke);
    return 0;
}
