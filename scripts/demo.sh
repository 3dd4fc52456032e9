#!/usr/bin/env bash
# Builds the project and imports the bundled sample model with the host
# program: the round table of samples/ is read, imported as 3D faces and
# written to samples/round-table.dxf.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/install-deps.sh

echo "== build (Release)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target arxhost Kolvane KolvaneFiles

# The import options are stored in a registry file of its own, so the demo
# leaves the user's stored options alone.
registry=$(mktemp -t kolvane-registry.XXXXXX)
trap 'rm -f "$registry" "$registry".corrupt*' EXIT

echo "== import samples/round-table.obj with samples/import-sample.scr"
# The script names its files relative to the folder it runs in.
cd "$top/samples"
rm -f round-table.dxf
"$top/build/bin/arxhost" --registry "$registry" import-sample.scr

if [ -s round-table.dxf ]; then
  echo "== the DXF went to $top/samples/round-table.dxf"
else
  echo "no DXF was written" >&2
  exit 1
fi
