// Mesh topology build time against a std::sort of the mesh's coordinates.
//
// For each grid size the topology is rebuilt from scratch (after
// DestroyTopology) and compared with sorting the 3 * VertexCount() vertex
// coordinates as one float array. A table of the ratios is printed after
// the runs: topology / sort per size, and how the topology time grows when
// the mesh grows tenfold.
#include "GridMesh.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {
const int kSizes[] = {10000, 100000, 1000000};

const ON_Mesh& GridMeshFor(int triangles)
{
    static std::map<int, std::unique_ptr<ON_Mesh>> cache;
    std::unique_ptr<ON_Mesh>& m = cache[triangles];
    if (!m) {
        m.reset(new ON_Mesh);
        kvbench::MakeGridMesh(*m, kvbench::GridCellsForTriangles(triangles));
    }
    return *m;
}

void BM_Topology(benchmark::State& state)
{
    ON_Mesh& mesh = const_cast<ON_Mesh&>(GridMeshFor((int)state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        mesh.DestroyTopology();
        state.ResumeTiming();
        const ON_MeshTopology& top = mesh.Topology();
        benchmark::DoNotOptimize(top.m_tope.Array());
    }
    const ON_MeshTopology& top = mesh.Topology();
    state.counters["faces"] = mesh.FaceCount();
    state.counters["vertices"] = mesh.VertexCount();
    state.counters["topv"] = top.TopVertexCount();
    state.counters["tope"] = top.TopEdgeCount();
    // Bytes held by the topology: its four arrays and the three index pools
    // behind m_vi, m_topei and m_topfi.
    double bytes =
        top.m_topv_map.SizeOfArray() + top.m_topv.SizeOfArray() + top.m_tope.SizeOfArray() + top.m_topf.SizeOfArray();
    bytes += sizeof(int) * (double)mesh.VertexCount();
    for (int e = 0; e < top.TopEdgeCount(); e++)
        bytes += sizeof(int) * (2.0 + top.m_tope[e].m_topf_count);
    state.counters["top_bytes_per_face"] = bytes / mesh.FaceCount();
}

void BM_SortReference(benchmark::State& state)
{
    const ON_Mesh& mesh = GridMeshFor((int)state.range(0));
    const float* coords = &mesh.m_V[0].x;
    const size_t n = 3 * (size_t)mesh.VertexCount();
    std::vector<float> work(n);
    for (auto _ : state) {
        state.PauseTiming();
        std::copy(coords, coords + n, work.begin());
        state.ResumeTiming();
        std::sort(work.begin(), work.end());
        benchmark::DoNotOptimize(work.data());
    }
    state.counters["floats"] = (double)n;
}

BENCHMARK(BM_Topology)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SortReference)
    ->Arg(kSizes[0])
    ->Arg(kSizes[1])
    ->Arg(kSizes[2])
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Keeps the per-iteration times of the runs for the summary table.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                m_ms[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    double Ms(const std::string& name) const
    {
        auto it = m_ms.find(name);
        return it == m_ms.end() ? 0.0 : it->second;
    }

private:
    std::map<std::string, double> m_ms;
};
}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\n%12s %14s %14s %10s %14s\n", "triangles", "topology ms", "sort ms", "ratio", "growth x10");
    double previous = 0.0;
    for (int size : kSizes) {
        const std::string arg = "/" + std::to_string(size) + "/real_time";
        const double top = reporter.Ms("BM_Topology" + arg);
        const double sort = reporter.Ms("BM_SortReference" + arg);
        if (top <= 0.0 || sort <= 0.0)
            continue;
        if (previous > 0.0)
            std::printf("%12d %14.3f %14.3f %10.2f %14.2f\n", size, top, sort, top / sort, top / previous);
        else
            std::printf("%12d %14.3f %14.3f %10.2f %14s\n", size, top, sort, top / sort, "-");
        previous = top;
    }
    benchmark::Shutdown();
    return 0;
}
