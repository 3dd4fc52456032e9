// libFuzzer entry: arbitrary bytes as a DXF file read by the host's DXF import.
#include "common/FuzzSupport.h"

#include "dxf/DxfHarness.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    kvfuzz::SetUpDxfHarness();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string broke = kvfuzz::RunDxfInput(data, size);
    kvfuzz::EndInput();
    kvfuzz::AbortOnBreach("DXF input", broke);
    return 0;
}
