#!/usr/bin/env bash
# Runs the fuzzers of a fuzz build side by side, each for SECONDS over
# a working copy of its seed corpus, and fails when any of them finds an
# input that breaks something. What they find is kept in
# BUILD/fuzz-artifacts (crash-*, leak-*, timeout-*, oom-*); the corpus they
# grow in BUILD/fuzz-work/<target>.
#
#   fuzz/tools/run-fuzzers.sh BUILD [SECONDS] [TARGET...]
#
# An input found breaking belongs in fuzz/<target>/regressions once the fault
# is mended; hostile_input_tests replays that folder.
set -uo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:?usage: run-fuzzers.sh BUILD [SECONDS] [TARGET...]}
seconds=${2:-60}
shift $(( $# >= 2 ? 2 : $# ))
targets=("$@")
((${#targets[@]})) || targets=(mesh model model_file script dxf acis)
build=$(cd "$build" && pwd)

# The fuzz build links the shared sanitizer runtime, which the C++ library
# comes before in the programs' library list: that order is harmless here.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:verify_asan_link_order=0:${ASAN_OPTIONS:-}
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}

# The harnesses' scratch files (models, scripts' outputs, the settings store)
# go to a folder in memory where there is one: a store that is written
# durably costs a disk flush on every OK otherwise.
scratch=""
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  scratch=$(mktemp -d /dev/shm/kv-fuzz-XXXXXX) && export TMPDIR=$scratch
fi

artifacts=$build/fuzz-artifacts
mkdir -p "$artifacts" "$artifacts/survived"
stamp=$(mktemp)
trap 'rm -f "$stamp"; [ -n "$scratch" ] && rm -rf "$scratch"' EXIT
pids=()
for t in "${targets[@]}"; do
  exe=$build/bin/fuzz_$t
  [ -x "$exe" ] || { echo "run-fuzzers: $exe is not built" >&2; exit 2; }
  work=$build/fuzz-work/$t
  mkdir -p "$work" "$build/fuzz-run/$t"
  # model_file (the end-to-end model target) starts from the model seeds.
  src=$t
  [ "$t" = model_file ] && src=model
  dict=()
  [ -f "$top/fuzz/$src/$src.dict" ] && dict=(-dict="$top/fuzz/$src/$src.dict")
  # Run in a folder of its own: the script fuzzer's scripts may write files.
  ( cd "$build/fuzz-run/$t" &&
    "$exe" "${dict[@]}" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=4096 -max_len=65536 \
      -print_final_stats=1 -artifact_prefix="$artifacts/$t-" \
      "$work" "$top/fuzz/$src/corpus" > "$build/fuzz-$t.log" 2>&1 ) &
  pids+=($!)
done

status=0
for i in "${!targets[@]}"; do
  t=${targets[$i]}
  wait "${pids[$i]}"
  rc=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/fuzz-$t.log" | grep -o '[0-9]*$' | tail -1)
  rate=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$build/fuzz-$t.log" | grep -o '[0-9]*$' | tail -1)
  # The model reader reads each file in a child process, a copy of the
  # fuzzer, whose crash handler also writes the file when the importer
  # crashes in the child. Such a file is replayed: when the fuzzer itself
  # came through (the reader said why it failed), it is kept aside as one
  # that the child did not survive and the host did.
  survived=0
  for a in "$artifacts/$t"-*; do
    [ -f "$a" ] && [ "$a" -nt "$stamp" ] || continue
    if (cd "$build/fuzz-run/$t" && "$exe" -runs=1 -artifact_prefix=replay- "$a" > /dev/null 2>&1); then
      mv "$a" "$artifacts/survived/"
      survived=$((survived + 1))
    fi
  done
  rm -f "$build/fuzz-run/$t"/replay-*
  echo "fuzz_$t: ${runs:-?} executions in ${seconds} s (${rate:-?}/s), exit $rc" \
       "$( ((survived)) && echo "; $survived files crashed the reading child and were survived")"
  if [ "$rc" -ne 0 ]; then
    status=1
    echo "fuzz_$t found a fault; its log ($build/fuzz-$t.log) ends:"
    tail -40 "$build/fuzz-$t.log"
  fi
done
exit $status
