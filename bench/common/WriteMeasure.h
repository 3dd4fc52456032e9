// The measure of the write benchmarks: each iteration writes into a fresh
// working database; reported are entities appended per second and heap
// bytes per appended entity (the growth of the heap over the write, divided
// by the entities in model space after it).
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>

#include "acadstrc.h"
#include "standin/AcDbStandin.h"

class CString;
class AcCmColor;

namespace kvbench {

// The C heap in use, and what the database's own heap has handed out.
std::size_t HeapInUse();

// The entities in model space of the working database.
int ModelSpaceCount();

// Runs write(layer, color) once per iteration into a fresh working database.
template <typename Write>
void MeasureWrites(benchmark::State& state, const CString& layer, const AcCmColor& color, Write write)
{
    double entities = 0, bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        standin::newWorkingDatabase();
        const std::size_t before = HeapInUse();
        state.ResumeTiming();

        write(layer, color);

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

}  // namespace kvbench
