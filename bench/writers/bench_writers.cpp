// Mesh writers into the stand-in database.
//
// Each writer runs on jittered grid meshes of 10k, 100k and 1M triangles
// (half of the corners duplicated vertices) into a fresh working database.
// Reported: entities appended per second and heap bytes per appended entity
// (the growth of the heap over the write, divided by the entities that the
// write appended). The topology that lines and points are made from is built
// before the timed part, so the figures are the writers' own.
#include <benchmark/benchmark.h>

#include "GridMesh.h"
#include "MeshWriters.h"
#include "WriteMeasure.h"

namespace {

const ON_Mesh& Mesh(int triangles)
{
    static ON_Mesh meshes[3];
    const int slot = triangles <= 10000 ? 0 : triangles <= 100000 ? 1 : 2;
    if (meshes[slot].m_F.Count() == 0) {
        kvbench::MakeGridMesh(meshes[slot], kvbench::GridCellsForTriangles(triangles));
        meshes[slot].Topology();
    }
    return meshes[slot];
}

template <int (*Write)(const ON_Mesh&, const CString&, const AcCmColor&)> void Writer(benchmark::State& state)
{
    const ON_Mesh& mesh = Mesh(static_cast<int>(state.range(0)));
    kvbench::MeasureWrites(state, CString(), AcCmColor(),
                           [&mesh](const CString& layer, const AcCmColor& color) { Write(mesh, layer, color); });
}

int SubDMesh(const ON_Mesh& mesh, const CString& layer, const AcCmColor& color)
{
    return MeshToSubDMesh(mesh, FALSE, layer, color);
}

int Faces(const ON_Mesh& m, const CString& l, const AcCmColor& c)
{
    return MeshToFaces(m, l, c);
}
int Lines(const ON_Mesh& m, const CString& l, const AcCmColor& c)
{
    return MeshToLines(m, l, c);
}
int Points(const ON_Mesh& m, const CString& l, const AcCmColor& c)
{
    return MeshToPoints(m, l, c);
}

}  // namespace

BENCHMARK_TEMPLATE(Writer, SubDMesh)
    ->Name("MeshToSubDMesh")
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Writer, Faces)
    ->Name("MeshToFaces")
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Writer, Lines)
    ->Name("MeshToLines")
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Writer, Points)
    ->Name("MeshToPoints")
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
