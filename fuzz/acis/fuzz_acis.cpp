// libFuzzer entry: arbitrary bytes as an ACIS file read by the host's ACIS reader.
#include "common/FuzzSupport.h"

#include "acis/AcisHarness.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    kvfuzz::SetUpAcisHarness();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string broke = kvfuzz::RunAcisInput(data, size);
    kvfuzz::EndInput();
    kvfuzz::AbortOnBreach("ACIS input", broke);
    return 0;
}
