#!/usr/bin/env bash
# The project's test command: installs what is missing, builds, and runs every
# test twice: once in a normal build (warnings as errors), once under
# AddressSanitizer (with its leak checker) and UndefinedBehaviorSanitizer;
# then builds the fuzzers with clang and runs each for a minute over its seeds,
# and runs the host program on the sample script under valgrind.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/install-deps.sh
jobs=$(nproc)

echo "== build (warnings as errors)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
echo "== tests"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== build (AddressSanitizer + UndefinedBehaviorSanitizer)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKV_SANITIZE=ON -DKV_WERROR=ON -DKV_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
echo "== tests under the sanitizers"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== fuzzers (clang, libFuzzer, AddressSanitizer + UndefinedBehaviorSanitizer)"
# The modules and libraries link the shared sanitizer runtime (clang links the
# static one into programs only); the launcher drops GCC-only options; sized
# deallocation is on, as GCC has it in C++17.
rt=$(clang -print-resource-dir)/lib/linux
fuzz_link="-shared-libasan -Wl,-rpath,$rt"
launcher="$top/fuzz/tools/clang-launcher.sh"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKV_SANITIZE=ON -DKV_BUILD_FUZZ=ON -DKV_BUILD_TESTS=OFF -DKV_BUILD_BENCH=OFF \
  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link -fsized-deallocation" \
  -DCMAKE_C_COMPILER_LAUNCHER="$launcher" -DCMAKE_CXX_COMPILER_LAUNCHER="$launcher" \
  -DCMAKE_EXE_LINKER_FLAGS="$fuzz_link" -DCMAKE_SHARED_LINKER_FLAGS="$fuzz_link" \
  -DCMAKE_MODULE_LINKER_FLAGS="$fuzz_link" >/dev/null
cmake --build build-fuzz -j "$jobs" --target fuzz_mesh fuzz_model fuzz_script
fuzz/tools/run-fuzzers.sh build-fuzz 60

echo "== the host program under valgrind"
fuzz/tools/valgrind-host.sh build
