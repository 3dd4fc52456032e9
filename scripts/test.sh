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
fuzz/tools/build-fuzzers.sh build-fuzz
fuzz/tools/run-fuzzers.sh build-fuzz 60

echo "== the host program under valgrind"
fuzz/tools/valgrind-host.sh build
