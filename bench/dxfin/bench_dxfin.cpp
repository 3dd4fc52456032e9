// DXF input through the host program: the host's "_dxfin" on generated files
// of four kinds, each at two sizes four times apart.
//
//   Blocks   n blocks of one point each, and a reference of each in model space
//   Layers   n layers in the layer table, and a point on each
//   Nesting  n blocks, each but the first holding a reference of the one
//            before, and one reference of the last in model space
//   Points   n points in model space
//
// Each run is a whole process: the host program, arxhost, on a script of the
// command and the file name, timed from fork to exit; each figure is the
// median of several runs. "Start" is the same host on an empty script: what
// start-up and exit cost alone. Growth figures take it off both sides, so
// that they compare the reading alone. Peak memory is the host process's peak
// resident size (wait4's ru_maxrss). Every run is checked: exit status 0,
// nothing on standard error and no refusal on the command line, so a file
// that was refused is never counted as a fast read.
//
//   bench_dxfin [--runs=N] [--host=PATH] [benchmark flags]
//
// --runs: runs per figure (default 5); --host: the host program (default:
// arxhost beside this program). A summary table follows the runs.
#include "HostBench.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <limits.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

enum Kind { kStart, kBlocks, kLayers, kNesting, kPoints };

struct Subject {
    Kind kind;
    const char* name;
    long sizes[2];
};

const Subject kSubjects[] = {
    {kBlocks, "Blocks", {20000, 80000}},
    {kLayers, "Layers", {10000, 40000}},
    {kNesting, "Nesting", {25000, 100000}},
    {kPoints, "Points", {250000, 1000000}},
};

using kvbench::ReadText;

kvbench::HostBench g;

// ---- the files

// Writes DXF group pairs, buffered.
class DxfWriter {
public:
    explicit DxfWriter(std::FILE* out) : out_(out) {}
    void pair(int code, const char* value) { std::fprintf(out_, "%3d\n%s\n", code, value); }
    void pair(int code, long value) { std::fprintf(out_, "%3d\n%ld\n", code, value); }
    void point(double x, double y, double z) { std::fprintf(out_, " 10\n%.6f\n 20\n%.6f\n 30\n%.6f\n", x, y, z); }
    void section(const char* name)
    {
        pair(0, "SECTION");
        pair(2, name);
    }
    void endSection() { pair(0, "ENDSEC"); }
    void pointEntity(const char* layer, double x, double y)
    {
        pair(0, "POINT");
        pair(8, layer);
        point(x, y, 0.0);
    }
    void insert(const char* block, double x, double y)
    {
        pair(0, "INSERT");
        pair(8, "0");
        pair(2, block);
        point(x, y, 0.0);
    }
    void beginBlock(const char* name)
    {
        pair(0, "BLOCK");
        pair(8, "0");
        pair(2, name);
        pair(70, 0L);
        point(0.0, 0.0, 0.0);
    }
    void endBlock() { pair(0, "ENDBLK"); }

private:
    std::FILE* out_;
};

std::string Name(const char* stem, long i)
{
    return stem + std::to_string(i);
}

void WriteDxf(std::FILE* out, Kind kind, long n)
{
    DxfWriter w(out);
    // Coordinates on a jittered grid, so that every number has its digits.
    auto x = [](long i) { return static_cast<double>(i % 1000) + 0.123457 * static_cast<double>(i % 7); };
    auto y = [](long i) { return static_cast<double>(i / 1000) + 0.654321 * static_cast<double>(i % 5); };
    if (kind == kLayers) {
        w.section("TABLES");
        w.pair(0, "TABLE");
        w.pair(2, "LAYER");
        w.pair(70, n);
        for (long i = 0; i < n; ++i) {
            w.pair(0, "LAYER");
            w.pair(2, Name("Layer", i).c_str());
            w.pair(70, 0L);
            w.pair(62, 1 + i % 255);
            w.pair(6, "CONTINUOUS");
        }
        w.pair(0, "ENDTAB");
        w.endSection();
    }
    if (kind == kBlocks || kind == kNesting) {
        w.section("BLOCKS");
        for (long i = 0; i < n; ++i) {
            w.beginBlock(Name("Block", i).c_str());
            if (kind == kBlocks || i == 0)
                w.pointEntity("0", x(i), y(i));
            else
                w.insert(Name("Block", i - 1).c_str(), 1.0, 0.0);
            w.endBlock();
        }
        w.endSection();
    }
    w.section("ENTITIES");
    switch (kind) {
    case kStart: break;
    case kBlocks:
        for (long i = 0; i < n; ++i)
            w.insert(Name("Block", i).c_str(), x(i), y(i));
        break;
    case kLayers:
        for (long i = 0; i < n; ++i)
            w.pointEntity(Name("Layer", i).c_str(), x(i), y(i));
        break;
    case kNesting: w.insert(Name("Block", n - 1).c_str(), 0.0, 0.0); break;
    case kPoints:
        for (long i = 0; i < n; ++i)
            w.pointEntity("0", x(i), y(i));
        break;
    }
    w.endSection();
    w.pair(0, "EOF");
}

const char* KindName(Kind kind)
{
    if (kind == kStart)
        return "Start";
    for (const Subject& s : kSubjects)
        if (s.kind == kind)
            return s.name;
    return "?";
}

std::string BenchName(Kind kind, long n)
{
    return kind == kStart ? std::string("DxfIn/Start")
                          : std::string("DxfIn/") + KindName(kind) + "/" + std::to_string(n);
}

// The file of the kind and size, written on first use; empty when it could
// not be written.
const std::string& DxfFile(Kind kind, long n)
{
    static std::map<std::string, std::string> files;
    std::string& path = files[BenchName(kind, n)];
    if (path.empty()) {
        const std::string name = g.folder + "/" + KindName(kind) + "-" + std::to_string(n) + ".dxf";
        if (std::FILE* out = std::fopen(name.c_str(), "wb")) {
            WriteDxf(out, kind, n);
            const bool ok = !std::ferror(out);
            if (std::fclose(out) == 0 && ok)
                path = name;
        }
    }
    return path;
}

// ---- the runs

struct RunResult {
    bool ok = false;
    std::string error;
    double seconds = 0;
    long peakKb = 0;
};

RunResult RunHost(const std::string& script)
{
    RunResult r;
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = kvbench::SpawnHost(g, script, r.error);
    if (pid < 0)
        return r;
    int status = 0;
    struct rusage usage {};
    pid_t done;
    while ((done = ::wait4(pid, &status, 0, &usage)) < 0 && errno == EINTR) {}
    if (done != pid) {
        r.error = std::string("wait4: ") + std::strerror(errno);
        return r;
    }
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    r.peakKb = usage.ru_maxrss;
    r.error = kvbench::HostFailure(g, status);
    if (!r.error.empty())
        return r;
    const std::string said = ReadText(kvbench::HostOutPath(g));
    const size_t refused = said.find("Unable to read DXF file");
    if (refused != std::string::npos) {
        r.error = said.substr(refused, 300);
        return r;
    }
    r.ok = true;
    return r;
}

void BM_DxfIn(benchmark::State& state, Kind kind, long n)
{
    std::string text;
    double fileMb = 0;
    if (kind != kStart) {
        const std::string& file = DxfFile(kind, n);
        struct stat st {};
        if (file.empty() || ::stat(file.c_str(), &st) != 0) {
            state.SkipWithError("cannot write the DXF file");
            return;
        }
        fileMb = static_cast<double>(st.st_size) / (1024.0 * 1024.0);
        text = "_dxfin\n" + file + "\n";
    }
    const std::string script = g.folder + "/" + KindName(kind) + "-" + std::to_string(n) + ".scr";
    {
        std::ofstream s(script, std::ios::binary | std::ios::trunc);
        s << text;
        if (!s.flush()) {
            state.SkipWithError("cannot write the script");
            return;
        }
    }
    RunResult result;
    for (auto _ : state) {
        result = RunHost(script);
        if (!result.ok) {
            state.SkipWithError(result.error.c_str());
            break;
        }
        state.SetIterationTime(result.seconds);
    }
    if (!result.ok)
        return;
    state.counters["count"] = static_cast<double>(n);
    state.counters["file_MB"] = fileMb;
    state.counters["peak_MB"] = result.peakKb / 1024.0;
}

// Keeps the medians for the summary table.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    struct Figures {
        double ms = 0, fileMb = 0, peakMb = 0;
    };
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if (!median && !single)
                continue;
            auto counter = [&run](const char* name) {
                auto it = run.counters.find(name);
                return it == run.counters.end() ? 0.0 : static_cast<double>(it->second);
            };
            figures_[run.run_name.function_name] = {run.GetAdjustedRealTime(), counter("file_MB"), counter("peak_MB")};
        }
        ConsoleReporter::ReportRuns(runs);
    }
    const Figures* Find(const std::string& name) const
    {
        auto it = figures_.find(name);
        return it == figures_.end() ? nullptr : &it->second;
    }

private:
    std::map<std::string, Figures> figures_;
};

void Register(Kind kind, long n)
{
    benchmark::RegisterBenchmark(BenchName(kind, n).c_str(), BM_DxfIn, kind, n)
        ->Iterations(1)
        ->Repetitions(g.runs)
        ->ReportAggregatesOnly(true)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

void PrintSummary(const RecordingReporter& reporter)
{
    const RecordingReporter::Figures* start = reporter.Find(BenchName(kStart, 0));
    const double startMs = start ? start->ms : 0.0;
    std::printf("\n%-8s %9s %9s %10s %10s %9s %12s\n", "subject", "count", "file MB", "median s", "growth x4",
                "peak MB", "peak/file");
    if (start)
        std::printf("%-8s %9s %9s %10.3f %10s %9.1f %12s\n", "Start", "-", "-", start->ms / 1000.0, "-", start->peakMb,
                    "-");
    for (const Subject& s : kSubjects) {
        const RecordingReporter::Figures* small = reporter.Find(BenchName(s.kind, s.sizes[0]));
        for (long n : s.sizes) {
            const RecordingReporter::Figures* f = reporter.Find(BenchName(s.kind, n));
            if (!f)
                continue;
            char growth[32] = "-", perFile[32] = "-";
            if (n == s.sizes[1] && small && small->ms - startMs > 0)
                std::snprintf(growth, sizeof growth, "%.2f", (f->ms - startMs) / (small->ms - startMs));
            if (f->fileMb > 0)
                std::snprintf(perFile, sizeof perFile, "%.2f", (f->peakMb - (start ? start->peakMb : 0)) / f->fileMb);
            std::printf("%-8s %9ld %9.1f %10.3f %10s %9.1f %12s\n", s.name, n, f->fileMb, f->ms / 1000.0, growth,
                        f->peakMb, perFile);
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (const int code = kvbench::StartHostBench("bench_dxfin", argc, argv, g); code >= 0)
        return code;

    Register(kStart, 0);
    for (const Subject& s : kSubjects)
        for (long n : s.sizes)
            Register(s.kind, n);

    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintSummary(reporter);
    benchmark::Shutdown();

    kvbench::RemoveFolder(g.folder);
    return 0;
}
