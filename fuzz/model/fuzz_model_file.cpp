// libFuzzer entry, end to end: arbitrary model files through the reader as the
// plug-in calls it (Assimp in the reading child) and the import.
#include "common/FuzzSupport.h"

#include "model/ModelHarness.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    kvfuzz::SetUpModelHarness();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string broke = kvfuzz::RunModelInput(data, size);
    kvfuzz::EndInput();
    kvfuzz::AbortOnBreach("model input", broke);
    return 0;
}
