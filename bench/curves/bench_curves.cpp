// Curve writers into the stand-in database.
//
// WritePoints and WriteLines run on 10k, 100k and 1M points or lines (points
// on a jittered grid, lines between neighbours) into a fresh working
// database. Reported: entities appended per second and heap bytes per
// appended entity (the growth of the heap over the write, divided by the
// entities that the write appended).
#include <benchmark/benchmark.h>

#include <cstdint>

#include "CurveWriters.h"
#include "WriteMeasure.h"

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

void WritePointsBench(benchmark::State& state)
{
    const ON_3dPointArray& points = Points(static_cast<int>(state.range(0)));
    kvbench::MeasureWrites(state, CString(), AcCmColor(),
                           [&points](const CString& l, const AcCmColor& c) { WritePoints(points, l, c); });
}

void WriteLinesBench(benchmark::State& state)
{
    const ON_SimpleArray<ON_Line>& lines = Lines(static_cast<int>(state.range(0)));
    kvbench::MeasureWrites(state, CString(), AcCmColor(),
                           [&lines](const CString& l, const AcCmColor& c) { WriteLines(lines, l, c); });
}

}  // namespace

BENCHMARK(WritePointsBench)->Name("WritePoints")->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteLinesBench)->Name("WriteLines")->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
