// The entity readers over the stand-in database.
//
// ReadEntity reads 100k and 1M entities of mixed classes (lines, points,
// circles, 3D faces, text, in turn) that belong to no database; the objects
// it makes are deleted outside the timed part. FillPolyFaceMesh writes, and
// ReadPolyFaceMesh reads, a polyface mesh of 3276 and 32767 vertices (the
// most a face record can name) in a fresh working database.
// SelectEntityMeshes selects ("ALL", as the user types it) and reads 1k and
// 10k small polyface meshes.
#include <benchmark/benchmark.h>

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
            entities.emplace_back(new AcDbFace(AcGePoint3d(x, 4, 0), AcGePoint3d(x + 1, 4, 0),
                                               AcGePoint3d(x + 1, 5, 0), AcGePoint3d(x, 5, 0)));
            break;
        default: entities.emplace_back(new AcDbText(AcGePoint3d(x, 6, 0), L"T")); break;
        }
    }
    return entities;
}

void BM_ReadEntity(benchmark::State& state)
{
    const auto entities = MixedEntities(static_cast<int>(state.range(0)));
    const ON_ClassArray<ON_InstanceDefinition> definitions;
    ON_SimpleArray<ON_Geometry*> objects;
    objects.Reserve(static_cast<size_t>(entities.size()));
    for (auto _ : state) {
        for (const auto& entity : entities)
            ReadEntity(entity.get(), objects, definitions);
        state.PauseTiming();
        for (int i = 0; i < objects.Count(); ++i)
            delete objects[i];
        objects.SetCount(0);
        state.ResumeTiming();
    }
    state.counters["entities/s"] =
        benchmark::Counter(static_cast<double>(entities.size()), benchmark::Counter::kIsIterationInvariantRate);
}

// A grid of about `vertices` vertices split into triangles.
ON_Mesh GridMesh(int vertices)
{
    int side = 1;
    while ((side + 1) * (side + 1) <= vertices)
        ++side;
    ON_Mesh mesh;
    int v = 0;
    for (; v < vertices; ++v)
        mesh.SetVertex(v, ON_3dPoint(v % side, v / side, 0));
    int f = 0;
    for (int r = 0; r + 1 < side; ++r)
        for (int c = 0; c + 1 < side; ++c) {
            const int a = r * side + c;
            if (a + side + 1 >= vertices)
                continue;
            mesh.SetTriangle(f++, a, a + 1, a + side + 1);
            mesh.SetTriangle(f++, a, a + side + 1, a + side);
        }
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
    const ON_Mesh mesh = GridMesh(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        standin::newWorkingDatabase();
        AcDbPolyFaceMesh* polyface = nullptr;
        NewPolyFace(polyface);
        state.ResumeTiming();
        Acad::ErrorStatus status = Acad::eOk;
        if (!FillPolyFaceMesh(mesh, polyface, status))
            state.SkipWithError("FillPolyFaceMesh failed");
        state.PauseTiming();
        polyface->close();
        state.ResumeTiming();
    }
    state.counters["faces"] = mesh.FaceCount();
}

void BM_ReadPolyFaceMesh(benchmark::State& state)
{
    standin::newWorkingDatabase();
    const ON_Mesh mesh = GridMesh(static_cast<int>(state.range(0)));
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
    const ON_Mesh square = GridMesh(9);
    for (int i = 0; i < state.range(0); ++i) {
        AcDbPolyFaceMesh* polyface = nullptr;
        NewPolyFace(polyface);
        FillPolyFaceMesh(square, polyface);
        polyface->close();
    }
    standin::ScriptedUser user;
    standin::User* previous = standin::setCurrentUser(&user);
    for (auto _ : state) {
        state.PauseTiming();
        user.type(L"ALL").type(L"");
        state.ResumeTiming();
        ON_ClassArray<ON_Mesh> meshes;
        if (!SelectEntityMeshes(L"Select meshes: ", 0, meshes))
            state.SkipWithError("SelectEntityMeshes failed");
        benchmark::DoNotOptimize(meshes.Count());
    }
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
