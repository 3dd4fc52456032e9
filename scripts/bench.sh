#!/usr/bin/env bash
# The benchmark document: builds a Release tree, runs the benchmark groups
# (mesh topology against std::sort, the mesh writers and the point and line
# writers into the drawing database, the entity readers, polyface building
# and mesh selection, whole imports through the host program against the
# read alone), prints one table of figures against their targets, with the
# date and the machine it came from, and writes docs/benchmarks.md: what each
# group measures, then that table.
#
#   scripts/bench.sh [--out FILE] [--runs N]
#
# --out FILE   write the document to FILE instead of docs/benchmarks.md
# --runs N     whole-process runs per import figure (default 5)
# KV_BENCH_BUILD names the build folder (default: build-bench).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${KV_BENCH_BUILD:-$top/build-bench}
out=$top/docs/benchmarks.md
runs=5
while [ $# -gt 0 ]; do
  case "$1" in
    --out) out=${2:?--out needs a file}; shift 2 ;;
    --runs) runs=${2:?--runs needs a number}; shift 2 ;;
    -h|--help) sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "bench.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done
case "$runs" in ''|*[!0-9]*|0) echo "bench.sh: --runs needs a whole number of at least 1" >&2; exit 2 ;; esac

echo "== build (Release) in $build" >&2
(cd "$top" && cmake --preset bench -B "$build" >/dev/null)
cmake --build "$build" -j "$(nproc)" --target bench_topology bench_writers bench_curves bench_database \
  bench_entity_readers bench_model_reader bench_import bench_dxfin >&2

results=$(mktemp -d /tmp/kv-bench-XXXXXX)
trap 'rm -rf "$results"' EXIT
bin=$build/bin
reps=(--benchmark_repetitions=3 --benchmark_report_aggregates_only=true)

# One benchmark program, bench_<name>, with its flags; its figures go to
# <name>.json among the results.
run_bench() {
  local title=$1 name=$2
  shift 2
  echo "== $title" >&2
  "$bin/bench_$name" "$@" --benchmark_out="$results/$name.json" --benchmark_out_format=json >&2
}

run_bench topology topology "${reps[@]}"
run_bench "mesh writers" writers "${reps[@]}"
run_bench "curve writers" curves "${reps[@]}"
run_bench "database appends" database "${reps[@]}"
run_bench "entity readers" entity_readers "${reps[@]}"
run_bench "model reader" model_reader "${reps[@]}"
run_bench "whole imports" import --runs="$runs"
run_bench "DXF input" dxfin --runs="$runs"

cpu=$(grep -m1 '^model name' /proc/cpuinfo | sed 's/^[^:]*: *//')
[ -n "$cpu" ] || cpu=$(uname -m)
mem=$(awk '/^MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo)
machine="$cpu, $(nproc) cores, $mem memory, Linux $(uname -r)"
when=$(date -u '+%Y-%m-%d %H:%M UTC')

# Debian's own Python: only its standard library is used.
/usr/bin/python3 - "$results" "$when" "$machine" "$out" <<'PY'
import json, sys, os

folder, when, machine, out = sys.argv[1:5]

# The document's head: what each group measures and how.
HEAD = """# Benchmarks

Written by `scripts/bench.sh`, which builds a Release tree, runs the groups
below and writes their figures against the targets, with the date and the
machine they came from. `bench/README.md` says how each figure is taken.
Times are medians of repetitions; "growth x10" is the time at one size over
the time at a tenth of that size (10 is linear).

| group | program | what it measures |
|---|---|---|
| Topology | `bench_topology` | `ON_Mesh::Topology` of jittered grids of 10k, 100k and 1M triangles, half their corners duplicated, against `std::sort` of the same vertex coordinates |
| Mesh writers | `bench_writers` | the four mesh writers into a fresh drawing database: entities per second and heap bytes per appended entity |
| Curve writers | `bench_curves` | the point and line writers, the same figures |
| Database appends | `bench_database` | one 3D face, line or point appended to model space through the host's calls, and the heap that each 3D face of a million costs |
| Entity readers | `bench_entity_readers` | the general entity reader over mixed entities, a polyface mesh built and read back at the face-record limit, the selection of meshes from the drawing |
| Model reader | `bench_model_reader` | `VrnRavlib::SKPToMesh` on generated OBJ files of about 100k and 1M triangles (the reading child included) |
| Whole imports | `bench_import` | imports of a generated OBJ of about a million triangles through the host program, in each mode, against the same program reading the file and cancelling the options dialog (the two differ only by the writers), in interleaved runs (read, import, read, import...): medians of the times, and of each import's ratio to the read just before it; peak memory counts the host and the reader's child process |
| DXF input | `bench_dxfin` | `_dxfin` through the host program on generated files of blocks with their references, layers with a point on each, blocks nested one in the next, and points, each at two sizes four times apart: time, growth x4 without the host's start-up (4 is linear; target 5), the host's peak memory; for points at most 8 times the file plus the host's start-up peak |
"""

def load(name):
    with open(os.path.join(folder, name)) as f:
        runs = json.load(f)["benchmarks"]
    figures = {}
    for run in runs:
        if run.get("error_occurred"):
            continue
        if run.get("run_type") == "aggregate" and run.get("aggregate_name") != "median":
            continue
        # "Import/Lines/999698/iterations:1/repeats:5/manual_time": the name
        # up to its run settings.
        name = run.get("run_name", run["name"]).split("/iterations:")[0]
        figures[name] = run
    return figures

def ms(run):
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[run.get("time_unit", "ns")]
    return run["real_time"] * scale

rows = []
def row(subject, size, figure, text, target, met):
    rows.append((subject, size, text, target, "-" if met is None else ("met" if met else "MISSED")))

def count(n):
    return "%dk" % round(n / 1000) if n < 999500 else "%.0fM" % (n / 1e6)

topology = load("topology.json")
sizes = [10000, 100000, 1000000]
previous = None
for n in sizes:
    top = topology.get("BM_Topology/%d/real_time" % n)
    ref = topology.get("BM_SortReference/%d/real_time" % n)
    if not top or not ref:
        row("Topology", count(n), None, "no result", "", False)
        continue
    ratio = ms(top) / ms(ref)
    target = n == 1000000
    row("Topology / std::sort", count(n), ratio, "%.2f (%.1f ms / %.1f ms)" % (ratio, ms(top), ms(ref)),
        "<= 2.0" if target else "", ratio <= 2.0 if target else None)
    if previous:
        growth = ms(top) / previous
        row("Topology growth x10", count(n), growth, "%.2f" % growth, "<= 12", growth <= 12)
    previous = ms(top)

writers = load("writers.json")
for writer, entity in (("MeshToSubDMesh", None), ("MeshToFaces", "AcDbFace"), ("MeshToLines", "AcDbLine"),
                       ("MeshToPoints", "AcDbPoint")):
    previous = None
    for n in sizes:
        run = writers.get("%s/%d" % (writer, n))
        if not run:
            row(writer, count(n), None, "no result", "", False)
            continue
        if entity:
            rate = run.get("entities/s", 0.0)
            row(writer + " entities/s", count(n), rate, "%.2fM/s" % (rate / 1e6), ">= 2M/s", rate >= 2e6)
            per = run.get("bytes/entity", 0.0)
            row(writer + " bytes/entity", count(n), per, "%.0f B" % per, "<= 256 B", per <= 256)
        else:
            row(writer + " time", count(n), ms(run), "%.1f ms" % ms(run), "", None)
        if previous:
            growth = ms(run) / previous
            row(writer + " growth x10", count(n), growth, "%.2f" % growth, "<= 12", growth <= 12)
        previous = ms(run)

curves = load("curves.json")
for writer in ("WritePoints", "WriteLines"):
    previous = None
    for n in sizes:
        run = curves.get("%s/%d" % (writer, n))
        if not run:
            row(writer, count(n), None, "no result", "", False)
            continue
        target = n == 1000000
        rate = run.get("entities/s", 0.0)
        row(writer + " entities/s", count(n), rate, "%.2fM/s" % (rate / 1e6),
            ">= 5M/s" if target else "", rate >= 5e6 if target else None)
        per = run.get("bytes/entity", 0.0)
        row(writer + " bytes/entity", count(n), per, "%.0f B" % per,
            "<= 200 B" if target else "", per <= 200 if target else None)
        if previous:
            growth = ms(run) / previous
            row(writer + " growth x10", count(n), growth, "%.2f" % growth, "<= 12", growth <= 12)
        previous = ms(run)

database = load("database.json")
for subject in ("AppendFace", "AppendLine", "AppendPoint"):
    run = database.get("BM_" + subject)
    if not run:
        row("Database " + subject, "-", None, "no result", "", False)
        continue
    rate = run.get("items_per_second", 0.0)
    row("Database %s entities/s" % subject, "-", rate, "%.2fM/s" % (rate / 1e6), "", None)
run = database.get("BM_FaceMemory/1000000")
if run:
    row("Database bytes/AcDbFace", "1M", run["bytes_per_face"], "%.0f B (object %.0f B)"
        % (run["bytes_per_face"], run["sizeof_AcDbFace"]), "", None)
else:
    row("Database bytes/AcDbFace", "1M", None, "no result", "", False)

readers = load("entity_readers.json")
for subject, sizes_, what in (("ReadEntity", (100000, 1000000), "entities"),
                              ("FillPolyFaceMesh", (3276, 32767), "vertices"),
                              ("ReadPolyFaceMesh", (3276, 32767), "vertices"),
                              ("SelectEntityMeshes", (1000, 10000), "meshes")):
    previous = None
    for n in sizes_:
        run = readers.get("%s/%d" % (subject, n))
        label = "%d %s" % (n, what) if n < 100000 else "%s %s" % (count(n), what)
        if not run:
            row(subject, label, None, "no result", "", False)
            continue
        row(subject + " time", label, ms(run), "%.2f ms" % ms(run), "", None)
        if previous:
            growth = ms(run) / previous
            row(subject + " growth x10", label, growth, "%.2f" % growth, "<= 12", growth <= 12)
        previous = ms(run)

model_reader = load("model_reader.json")
previous = None
for cells in (224, 707):
    n = 2 * cells * cells
    run = model_reader.get("BM_SKPToMesh_Grid/%d/real_time" % cells)
    if not run:
        row("SKPToMesh", count(n), None, "no result", "", False)
        continue
    row("SKPToMesh time", count(n), ms(run), "%.1f ms" % ms(run), "", None)
    if previous:
        growth = ms(run) / previous
        row("SKPToMesh growth x10", count(n), growth, "%.2f" % growth, "<= 12", growth <= 12)
    previous = ms(run)

imports = load("import.json")
modes = ["Read", "Mesh", "3DFaces", "Lines", "Points"]
small, large = 2 * 224 * 224, 2 * 707 * 707
def imp(mode, n):
    return imports.get("Import/%s/%d" % (mode, n))
read = imp("Read", large)
for mode in modes:
    run, before = imp(mode, large), imp(mode, small)
    if not run:
        row("Import " + mode, count(large), None, "no result", "", False)
        continue
    if mode == "Read":
        row("Read alone: time", count(large), ms(run), "%.3f s" % (ms(run) / 1000), "", None)
        row("Read alone: peak memory", count(large), run["peak_MB"],
            "%.0f MB (host %.0f + reader %.0f)" % (run["peak_MB"], run["host_MB"], run["reader_MB"]), "", None)
    elif read:
        ratio = run["per_read"]
        row("Import %s / read: time" % mode, count(large), ratio,
            "%.2f (%.3f s)" % (ratio, ms(run) / 1000), "<= 1.5", ratio <= 1.5)
        mem = run["peak_MB"] / read["peak_MB"]
        row("Import %s / read: peak memory" % mode, count(large), mem,
            "%.2f (%.0f MB: host %.0f + reader %.0f)" % (mem, run["peak_MB"], run["host_MB"], run["reader_MB"]),
            "<= 3", mem <= 3)
    if before:
        growth = ms(run) / ms(before)
        label = "Read alone" if mode == "Read" else "Import " + mode
        row(label + ": growth x10", count(large), growth, "%.2f" % growth, "<= 12", growth <= 12)

# DXF input: whole runs of the host; growth without the host's start-up.
dxfin = load("dxfin.json")
start = dxfin.get("DxfIn/Start")
for subject, sizes_, what in (("Blocks", (20000, 80000), "blocks"), ("Layers", (10000, 40000), "layers"),
                              ("Nesting", (25000, 100000), "nested blocks"),
                              ("Points", (250000, 1000000), "points")):
    before = None
    for n in sizes_:
        run = dxfin.get("DxfIn/%s/%d" % (subject, n))
        label = "%s %s" % (count(n), what)
        if not run or not start:
            row("DXF in " + subject, label, None, "no result", "", False)
            before = None
            continue
        row("DXF in %s: time" % subject, label, ms(run), "%.3f s (file %.1f MB)" % (ms(run) / 1000, run["file_MB"]),
            "", None)
        if before and ms(before) > ms(start):
            growth = (ms(run) - ms(start)) / (ms(before) - ms(start))
            row("DXF in %s: growth x4" % subject, label, growth, "%.2f" % growth, "<= 5", growth <= 5)
        peak = run["peak_MB"]
        if subject == "Points":
            limit = 8 * run["file_MB"] + start["peak_MB"]
            row("DXF in %s: peak memory" % subject, label, peak,
                "%.0f MB (%.1f x file beyond start-up)" % (peak, (peak - start["peak_MB"]) / run["file_MB"]),
                "<= 8 x file + start-up %.0f MB" % start["peak_MB"], peak <= limit)
        else:
            row("DXF in %s: peak memory" % subject, label, peak, "%.0f MB" % peak, "", None)
        before = run

header = ("subject", "size", "figure", "target", "met")
widths = [max(len(str(r[i])) for r in rows + [header]) for i in range(5)]
lines = ["Benchmarks of %s on %s" % (when, machine), "",
         "| " + " | ".join(h.ljust(w) for h, w in zip(header, widths)) + " |",
         "|" + "|".join("-" * (w + 2) for w in widths) + "|"]
for r in rows:
    lines.append("| " + " | ".join(str(c).ljust(w) for c, w in zip(r, widths)) + " |")
missed = sum(1 for r in rows if r[4] == "MISSED")
lines += ["", "%d figures against targets, %d missed." % (sum(1 for r in rows if r[4] != "-"), missed)]
text = "\n".join(lines) + "\n"
sys.stdout.write(text)
with open(out, "w") as f:
    f.write(HEAD + "\n" + text)
PY
