// Curve writers into the stand-in database.
//
// WritePoints and WriteLines run on 10k, 100k and 1M points or lines (points
// on a jittered grid, lines between neighbours) into a fresh working
// database. Reported: entities appended per second and heap bytes per
// appended entity (the growth of the heap over the write, divided by the
// entities that the write appended).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdint>

#include "CurveWriters.h"
#include "dbapserv.h"
#include "dbsymtb.h"
#include "standin/AcDbStandin.h"

namespace {

// A repeatable jitter in [0, 1).
double Jitter(std::uint64_t i)
{
    i = (i + 0x9E3779B97F4A7C15ull) * 0xBF58476D1CE4E5B9ull;
    i ^= i >> 31;
    return static_cast<double>(i >> 11) / 9007199254740992.0;
}

ON_3dPoint GridPoint(int i)
{
    const int side = 1000;
    return ON_3dPoint(i % side + 0.25 * Jitter(3u * i), i / side + 0.25 * Jitter(3u * i + 1), Jitter(3u * i + 2));
}

const ON_3dPointArray& Points(int count)
{
    static ON_3dPointArray arrays[3];
    ON_3dPointArray& points = arrays[count <= 10000 ? 0 : count <= 100000 ? 1 : 2];
    if (points.Count() == 0) {
        points.Reserve(count);
        for (int i = 0; i < count; ++i)
            points.Append(GridPoint(i));
    }
    return points;
}

const ON_SimpleArray<ON_Line>& Lines(int count)
{
    static ON_SimpleArray<ON_Line> arrays[3];
    ON_SimpleArray<ON_Line>& lines = arrays[count <= 10000 ? 0 : count <= 100000 ? 1 : 2];
    if (lines.Count() == 0) {
        lines.Reserve(count);
        for (int i = 0; i < count; ++i)
            lines.Append(ON_Line(GridPoint(i), GridPoint(i + 1)));
    }
    return lines;
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

template <typename Write>
void Writer(benchmark::State& state, Write write)
{
    const CString layer;
    const AcCmColor color;
    const int count = static_cast<int>(state.range(0));
    double entities = 0, bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        standin::newWorkingDatabase();
        const std::size_t before = HeapInUse();
        state.ResumeTiming();

        write(count, layer, color);

        state.PauseTiming();
        const std::size_t after = HeapInUse();
        entities += ModelSpaceCount();
        bytes += static_cast<double>(after - before);
        state.ResumeTiming();
    }
    state.counters["entities/s"] = benchmark::Counter(entities, benchmark::Counter::kIsRate);
    state.counters["bytes/entity"] = entities > 0 ? bytes / entities : 0;
    state.counters["entities"] = entities / static_cast<double>(state.iterations());
}

void WritePointsBench(benchmark::State& state)
{
    Points(static_cast<int>(state.range(0)));
    Writer(state, [](int n, const CString& l, const AcCmColor& c) { WritePoints(Points(n), l, c); });
}

void WriteLinesBench(benchmark::State& state)
{
    Lines(static_cast<int>(state.range(0)));
    Writer(state, [](int n, const CString& l, const AcCmColor& c) { WriteLines(Lines(n), l, c); });
}

}  // namespace

BENCHMARK(WritePointsBench)->Name("WritePoints")->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteLinesBench)->Name("WriteLines")->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
