#!/usr/bin/env bash
# Runs the host program of a build under valgrind's memcheck on the bundled
# sample script (and on one that imports the sample in every mode and takes
# the failure roads), and fails on any leak or memory error, in the host or in
# the child that reads the model.
#
#   fuzz/tools/valgrind-host.sh BUILD
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?usage: valgrind-host.sh BUILD}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$top/samples/round-table.obj" "$top/samples/import-sample.scr" "$work/"
printf '%s\n' _Kolvane round-table.obj Mesh No OK _Kolvane round-table.obj Lines "" OK \
  _Kolvane round-table.obj Points "" OK _Kolvane "" _Kolvane missing.obj \
  _Kolvane round-table.obj "" "" Cancel _KolvaneHelp _KolvaneAbout _dxfout every-mode.dxf > "$work/every-mode.scr"

# glibc's AVX2 wide-string compare reads whole vectors past the end of a
# string (within its page), which this valgrind takes for invalid reads; the
# plain versions are used instead.
export GLIBC_TUNABLES=glibc.cpu.hwcaps=-AVX2_Usable,-AVX2,-EVEX,-AVX512F,-AVX512BW
status=0
for script in import-sample.scr every-mode.scr; do
  if (cd "$work" && valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite,indirect \
        --errors-for-leak-kinds=definite,indirect --error-exitcode=99 \
        "$build/bin/arxhost" --registry "$work/registry.txt" "$script" > "$work/out.txt" 2> "$work/valgrind.txt") &&
     ! grep -q '^arxhost:' "$work/valgrind.txt"; then
    echo "valgrind: arxhost $script: $(grep -c 'ERROR SUMMARY: 0 errors' "$work/valgrind.txt") processes, no errors, no leaks"
  else
    status=1
    echo "valgrind: arxhost $script: errors, leaks or objects left open:"
    cat "$work/valgrind.txt"
  fi
done
exit $status
