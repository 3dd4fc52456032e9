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

# The builds are the presets of CMakePresets.json: build/ (default) and
# build-asan/ (sanitizers).
echo "== build (warnings as errors)"
cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs"
echo "== tests"
ctest --preset default -j "$jobs"

echo "== build (AddressSanitizer + UndefinedBehaviorSanitizer)"
cmake --preset sanitizers >/dev/null
cmake --build --preset sanitizers -j "$jobs"
echo "== tests under the sanitizers"
ctest --preset sanitizers -j "$jobs"

echo "== fuzzers (clang, libFuzzer, AddressSanitizer + UndefinedBehaviorSanitizer)"
fuzz/tools/build-fuzzers.sh build-fuzz
fuzz/tools/run-fuzzers.sh build-fuzz 60

echo "== the host program under valgrind"
fuzz/tools/valgrind-host.sh build
