// Appending entities to model space through the host's calls, and the
// process memory that each appended 3D face costs.
//
//   bench_database                      all benchmarks
//   --benchmark_filter=Memory           the memory figure only
#include <benchmark/benchmark.h>

#include "WriteMeasure.h"
#include "dbents.h"
#include "dbsymtb.h"
#include "standin/AcDbStandin.h"

namespace {

// The whole placement road of one entity: open the block table, open model
// space for write, close the table, append, close the record, close the entity.
inline void appendToModelSpace(AcDbDatabase* db, AcDbEntity* entity)
{
    AcDbBlockTable* table = nullptr;
    db->getBlockTable(table, AcDb::kForRead);
    AcDbBlockTableRecord* space = nullptr;
    table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite);
    table->close();
    space->appendAcDbEntity(entity);
    space->close();
    entity->close();
}

void BM_AppendFace(benchmark::State& state)
{
    AcDbDatabase* db = standin::newWorkingDatabase();
    double x = 0.0;
    for (auto _ : state) {
        AcDbFace* face = new AcDbFace();
        face->setVertexAt(0, AcGePoint3d(x, 0.0, 0.0));
        face->setVertexAt(1, AcGePoint3d(x + 1.0, 0.0, 0.0));
        face->setVertexAt(2, AcGePoint3d(x + 1.0, 1.0, 0.0));
        face->setVertexAt(3, AcGePoint3d(x, 1.0, 0.0));
        appendToModelSpace(db, face);
        x += 1.0;
    }
    state.SetItemsProcessed(state.iterations());
    standin::discardWorkingDatabase();
}
BENCHMARK(BM_AppendFace);

void BM_AppendLine(benchmark::State& state)
{
    AcDbDatabase* db = standin::newWorkingDatabase();
    double x = 0.0;
    for (auto _ : state) {
        appendToModelSpace(db, new AcDbLine(AcGePoint3d(x, 0.0, 0.0), AcGePoint3d(x, 1.0, 0.0)));
        x += 1.0;
    }
    state.SetItemsProcessed(state.iterations());
    standin::discardWorkingDatabase();
}
BENCHMARK(BM_AppendLine);

void BM_AppendPoint(benchmark::State& state)
{
    AcDbDatabase* db = standin::newWorkingDatabase();
    double x = 0.0;
    for (auto _ : state) {
        appendToModelSpace(db, new AcDbPoint(AcGePoint3d(x, 0.0, 0.0)));
        x += 1.0;
    }
    state.SetItemsProcessed(state.iterations());
    standin::discardWorkingDatabase();
}
BENCHMARK(BM_AppendPoint);

// Heap growth over a large append, divided by the number of faces: the face,
// its slot in the id table and its place in model space's entity list.
void BM_FaceMemory(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    double perFace = 0.0;
    for (auto _ : state) {
        AcDbDatabase* db = standin::newWorkingDatabase();
        size_t before = kvbench::HeapInUse();
        for (int i = 0; i < count; ++i) {
            AcDbFace* face = new AcDbFace();
            for (Adesk::UInt16 k = 0; k < 4; ++k)
                face->setVertexAt(k, AcGePoint3d(i, k, 0.0));
            appendToModelSpace(db, face);
        }
        size_t after = kvbench::HeapInUse();
        perFace = static_cast<double>(after - before) / count;
        standin::discardWorkingDatabase();
    }
    state.counters["bytes_per_face"] = perFace;
    state.counters["sizeof_AcDbFace"] = sizeof(AcDbFace);
}
BENCHMARK(BM_FaceMemory)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
