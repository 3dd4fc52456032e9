// Mesh writers into the stand-in database.
//
// Each writer runs on jittered grid meshes of 10k, 100k and 1M triangles
// (half of the corners duplicated vertices) into a fresh working database.
// Reported: entities appended per second and heap bytes per appended entity
// (the growth of the heap over the write, divided by the entities that the
// write appended). The topology that lines and points are made from is built
// before the timed part, so the figures are the writers' own.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <vector>

#include "MeshWriters.h"
#include "topology/GridMesh.h"
#include "dbapserv.h"
#include "dbsymtb.h"
#include "standin/AcDbStandin.h"

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

std::size_t HeapInUse()
{
    // The C heap, and the database's own heap that entities are made on.
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd + standin::objectHeapBytes();
}

int ModelSpaceCount()
{
    AcDbBlockTable* table = nullptr;
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (db->getSymbolTable(table, AcDb::kForRead) != Acad::eOk)
        return 0;
    AcDbBlockTableRecord* space = nullptr;
    const Acad::ErrorStatus es = table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForRead);
    table->close();
    if (es != Acad::eOk)
        return 0;
    int count = 0;
    AcDbBlockTableRecordIterator* it = nullptr;
    if (space->newIterator(it) == Acad::eOk) {
        for (it->start(); !it->done(); it->step())
            ++count;
        delete it;
    }
    space->close();
    return count;
}

template <int (*Write)(const ON_Mesh&, const CString&, const AcCmColor&)>
void Writer(benchmark::State& state)
{
    const ON_Mesh& mesh = Mesh(static_cast<int>(state.range(0)));
    const CString layer;
    const AcCmColor color;
    double entities = 0, bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        standin::newWorkingDatabase();
        const std::size_t before = HeapInUse();
        state.ResumeTiming();

        Write(mesh, layer, color);

        state.PauseTiming();
        const std::size_t after = HeapInUse();
        const int appended = ModelSpaceCount();
        entities += appended;
        bytes += static_cast<double>(after - before);
        state.ResumeTiming();
    }
    state.counters["entities/s"] = benchmark::Counter(entities, benchmark::Counter::kIsRate);
    state.counters["bytes/entity"] = entities > 0 ? bytes / entities : 0;
    state.counters["entities"] = entities / static_cast<double>(state.iterations());
}

int SubDMesh(const ON_Mesh& mesh, const CString& layer, const AcCmColor& color)
{
    return MeshToSubDMesh(mesh, FALSE, layer, color);
}

int Faces(const ON_Mesh& m, const CString& l, const AcCmColor& c) { return MeshToFaces(m, l, c); }
int Lines(const ON_Mesh& m, const CString& l, const AcCmColor& c) { return MeshToLines(m, l, c); }
int Points(const ON_Mesh& m, const CString& l, const AcCmColor& c) { return MeshToPoints(m, l, c); }

}  // namespace

BENCHMARK_TEMPLATE(Writer, SubDMesh)->Name("MeshToSubDMesh")->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Writer, Faces)->Name("MeshToFaces")->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Writer, Lines)->Name("MeshToLines")->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Writer, Points)->Name("MeshToPoints")->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
