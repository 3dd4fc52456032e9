#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer into the folder given (default build-fuzz).
# The modules and libraries link the shared sanitizer runtime (clang links the
# static one into programs only); sized deallocation is on, as GCC has it in
# C++17.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-build-fuzz}
cd "$top"
rt=$(clang -print-resource-dir)/lib/linux
link="-shared-libasan -Wl,-rpath,$rt"
# The fuzz preset of CMakePresets.json, in the folder given; the linker flags
# name the compiler's own runtime folder, known only here.
cmake --preset fuzz -B "$build" \
  -DCMAKE_EXE_LINKER_FLAGS="$link" -DCMAKE_SHARED_LINKER_FLAGS="$link" \
  -DCMAKE_MODULE_LINKER_FLAGS="$link" >/dev/null
cmake --build "$build" -j "$(nproc)" --target fuzz_mesh fuzz_model fuzz_model_file fuzz_script fuzz_dxf fuzz_acis
