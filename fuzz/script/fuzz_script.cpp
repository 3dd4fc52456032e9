// libFuzzer entry: arbitrary bytes as the host program's script.
#include <cstdio>
#include <cstdlib>

#include "common/FuzzSupport.h"
#include "script/ScriptHarness.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const std::string broke = kvfuzz::SetUpScriptHarness();
    if (!broke.empty()) {
        std::fprintf(stderr, "cannot start the host: %s\n", broke.c_str());
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string broke = kvfuzz::RunScriptInput(data, size);
    kvfuzz::EndScriptInput();
    kvfuzz::AbortOnBreach("script input", broke);
    return 0;
}
