// The entity readers over the stand-in database.
//
// ReadEntity reads 100k and 1M entities of mixed classes (lines, points,
// circles, 3D faces, text, in turn) that belong to no database; the objects
// it makes are deleted outside the timed part. FillPolyFaceMesh writes, and
// ReadPolyFaceMesh reads, a triangle strip of 3276 and 32767 vertices (the
// most a face record can name) in a fresh working database.
// SelectEntityMeshes selects ("ALL", as the user types it) and reads 1k and
// 10k small polyface meshes. Freed heap memory is kept between runs.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>
#include <vector>

#include "EntityDispatch.h"
#include "FaceReaders.h"
#include "MeshSelection.h"
#include "dbapserv.h"
#include "dbsymtb.h"
#include "standin/AcDbStandin.h"
#include "standin/ScriptedUser.h"

namespace {

// The objects a run made are deleted between runs; the C heap keeps the
// freed memory instead of handing it back and faulting it in again on the
// next run, so the figures are the readers' own and not the kernel's page
// clearing.
const int kKeepFreedHeap = mallopt(M_TRIM_THRESHOLD, 1 << 30);

std::vector<std::unique_ptr<AcDbEntity>> MixedEntities(int count)
{
    std::vector<std::unique_ptr<AcDbEntity>> entities;
    entities.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double x = i;
        switch (i % 5) {
        case 0: entities.emplace_back(new AcDbLine(AcGePoint3d(x, 0, 0), AcGePoint3d(x, 1, 0))); break;
        case 1: entities.emplace_back(new AcDbPoint(AcGePoint3d(x, 2, 0))); break;
        case 2: entities.emplace_back(new AcDbCircle(AcGePoint3d(x, 3, 0), AcGeVector3d(0, 0, 1), 0.5)); break;
        case 3:
            entities.emplace_back(new AcDbFace(AcGePoint3d(x, 4, 0), AcGePoint3d(x + 1, 4, 0), AcGePoint3d(x + 1, 5, 0),
                                               AcGePoint3d(x, 5, 0)));
            break;
        default: entities.emplace_back(new AcDbText(AcGePoint3d(x, 6, 0), L"T")); break;
        }
    }
    return entities;
}

void BM_ReadEntity(benchmark::State& state)
{
    benchmark::DoNotOptimize(kKeepFreedHeap);
    const auto entities = MixedEntities(static_cast<int>(state.range(0)));
    const ON_ClassArray<ON_InstanceDefinition> definitions;
    ON_SimpleArray<ON_Geometry*> objects;
    objects.Reserve(static_cast<size_t>(entities.size()));
    auto readAll = [&] {
        for (const auto& entity : entities)
            ReadEntity(entity.get(), objects, definitions);
    };
    auto deleteAll = [&] {
        for (int i = 0; i < objects.Count(); ++i)
            delete objects[i];
        objects.SetCount(0);
    };
    // One untimed pass first, so that the heap the objects take is faulted
    // in before the timed runs and the first run costs what the others do.
    readAll();
    deleteAll();
    for (auto _ : state) {
        readAll();
        state.PauseTiming();
        deleteAll();
        state.ResumeTiming();
    }
    state.counters["entities/s"] =
        benchmark::Counter(static_cast<double>(entities.size()), benchmark::Counter::kIsIterationInvariantRate);
}

// A strip of `vertices` vertices and vertices - 2 triangles: at 32767
// vertices both counts stay within what a polyface mesh holds.
ON_Mesh StripMesh(int vertices)
{
    ON_Mesh mesh;
    for (int v = 0; v < vertices; ++v)
        mesh.SetVertex(v, ON_3dPoint(v / 2, v % 2, 0));
    for (int f = 0; f + 2 < vertices; ++f)
        mesh.SetTriangle(f, f, f + 1, f + 2);
    return mesh;
}

AcDbBlockTableRecord* OpenModelSpace()
{
    AcDbBlockTable* table = nullptr;
    acdbHostApplicationServices()->workingDatabase()->getSymbolTable(table, AcDb::kForRead);
    AcDbBlockTableRecord* space = nullptr;
    table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite);
    table->close();
    return space;
}

AcDbObjectId NewPolyFace(AcDbPolyFaceMesh*& mesh)
{
    AcDbBlockTableRecord* space = OpenModelSpace();
    mesh = new AcDbPolyFaceMesh();
    AcDbObjectId id;
    space->appendAcDbEntity(id, mesh);
    space->close();
    return id;
}

void BM_FillPolyFaceMesh(benchmark::State& state)
{
    const ON_Mesh mesh = StripMesh(static_cast<int>(state.range(0)));
    int failures = 0;
    for (auto _ : state) {
        state.PauseTiming();
        standin::newWorkingDatabase();
        AcDbPolyFaceMesh* polyface = nullptr;
        NewPolyFace(polyface);
        state.ResumeTiming();
        Acad::ErrorStatus status = Acad::eOk;
        failures += FillPolyFaceMesh(mesh, polyface, status) ? 0 : 1;
        state.PauseTiming();
        polyface->close();
        state.ResumeTiming();
    }
    if (failures)
        state.SkipWithError("FillPolyFaceMesh failed");
    state.counters["faces"] = mesh.FaceCount();
}

void BM_ReadPolyFaceMesh(benchmark::State& state)
{
    standin::newWorkingDatabase();
    const ON_Mesh mesh = StripMesh(static_cast<int>(state.range(0)));
    AcDbPolyFaceMesh* polyface = nullptr;
    const AcDbObjectId id = NewPolyFace(polyface);
    FillPolyFaceMesh(mesh, polyface);
    polyface->close();
    acdbOpenObject(polyface, id, AcDb::kForRead);
    for (auto _ : state) {
        ON_Mesh read;
        if (!ReadPolyFaceMesh(polyface, read))
            state.SkipWithError("ReadPolyFaceMesh failed");
        benchmark::DoNotOptimize(read.m_F.Count());
    }
    polyface->close();
    state.counters["faces"] = mesh.FaceCount();
}

void BM_SelectEntityMeshes(benchmark::State& state)
{
    standin::newWorkingDatabase();
    const ON_Mesh square = StripMesh(9);
    for (int i = 0; i < state.range(0); ++i) {
        AcDbPolyFaceMesh* polyface = nullptr;
        NewPolyFace(polyface);
        FillPolyFaceMesh(square, polyface);
        polyface->close();
    }
    standin::ScriptedUser user;
    int failures = 0;
    standin::User* previous = standin::setCurrentUser(&user);
    for (auto _ : state) {
        state.PauseTiming();
        user.type(L"ALL").type(L"");
        state.ResumeTiming();
        ON_ClassArray<ON_Mesh> meshes;
        failures += SelectEntityMeshes(L"Select meshes: ", 0, meshes) ? 0 : 1;
        benchmark::DoNotOptimize(meshes.Count());
    }
    if (failures)
        state.SkipWithError("SelectEntityMeshes failed");
    standin::setCurrentUser(previous);
    state.counters["meshes/s"] =
        benchmark::Counter(static_cast<double>(state.range(0)), benchmark::Counter::kIsIterationInvariantRate);
}

}  // namespace

BENCHMARK(BM_ReadEntity)->Name("ReadEntity")->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillPolyFaceMesh)->Name("FillPolyFaceMesh")->Arg(3276)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPolyFaceMesh)->Name("ReadPolyFaceMesh")->Arg(3276)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectEntityMeshes)->Name("SelectEntityMeshes")->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
