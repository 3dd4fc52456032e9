#!/usr/bin/env bash
# Builds the project and imports the bundled sample model with the host
# program: the round table of samples/ is read, imported as 3D faces and
# written to samples/round-table.dxf.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/install-deps.sh

# The demo preset's own tree, build-demo/: the tests' tree is left alone.
echo "== build (Release) in build-demo"
cmake --preset demo >/dev/null
cmake --build --preset demo -j "$(nproc)"

# The import options are stored in a registry file of its own, so the demo
# leaves the user's stored options alone.
registry=$(mktemp -t kolvane-registry.XXXXXX)
trap 'rm -f "$registry" "$registry".corrupt*' EXIT

echo "== import samples/round-table.obj with samples/import-sample.scr"
# The script names its files relative to the folder it runs in.
cd "$top/samples"
rm -f round-table.dxf
"$top/build-demo/bin/arxhost" --registry "$registry" import-sample.scr

if [ -s round-table.dxf ]; then
  echo "== the DXF went to $top/samples/round-table.dxf"
else
  echo "no DXF was written" >&2
  exit 1
fi
