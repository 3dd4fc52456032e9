// libFuzzer entry: scenes made from arbitrary bytes through the reader's scene
// conversion in this process, then imported in every mode; inputs whose first
// byte is 0xC0 or more go through its polygon splitting and point joining.
#include "common/FuzzSupport.h"

#include "model/SceneHarness.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    kvfuzz::SetUpSceneHarness();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string broke = kvfuzz::RunInProcessModelInput(data, size);
    kvfuzz::EndInput();
    kvfuzz::AbortOnBreach("model input", broke);
    return 0;
}
