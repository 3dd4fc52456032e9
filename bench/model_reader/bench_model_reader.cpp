// The model reader on a generated OBJ of a jittered grid: about 100 thousand
// and about a million triangles with shared corners, read into ON_Meshes.

#include "VrnRavlib.h"

#include "GridObj.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

// Writes the grid OBJ to a temporary file for the benchmark's duration.
class GridFile {
public:
    explicit GridFile(int cells)
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vrn-grid-XXXXXX.obj").string();
        int fd = ::mkstemps(pattern.data(), 4);
        if (fd < 0)
            return;
        std::FILE* out = ::fdopen(fd, "wb");
        if (!out) {
            ::close(fd);
            return;
        }
        bool ok = gridobj::write(out, cells);
        ok = std::fclose(out) == 0 && ok;
        path_ = pattern;
        ok_ = ok;
    }
    ~GridFile()
    {
        if (!path_.empty())
            std::remove(path_.c_str());
    }
    bool ok() const { return ok_; }
    CString path() const { return CString(std::wstring(path_.begin(), path_.end()).c_str()); }

private:
    std::string path_;
    bool ok_ = false;
};

void BM_SKPToMesh_Grid(benchmark::State& state)
{
    const int cells = static_cast<int>(state.range(0));
    GridFile file(cells);
    if (!file.ok()) {
        state.SkipWithError("cannot write the grid OBJ");
        return;
    }
    const CString path = file.path();
    long long triangles = 0, vertices = 0;
    for (auto _ : state) {
        ON_ClassArray<ON_Mesh> meshes;
        if (!VrnRavlib::SKPToMesh(path, meshes) || meshes.Count() != 1) {
            state.SkipWithError("the grid OBJ was not read");
            return;
        }
        triangles = meshes[0].m_F.Count();
        vertices = meshes[0].m_V.Count();
        benchmark::DoNotOptimize(meshes[0].m_F.Array());
    }
    state.counters["triangles"] = static_cast<double>(triangles);
    state.counters["vertices"] = static_cast<double>(vertices);
    state.counters["triangles/s"] =
        benchmark::Counter(static_cast<double>(triangles), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_SKPToMesh_Grid)->Arg(224)->Arg(707)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
