// Whole imports through the host program against reading the same file alone.
//
// A jittered grid OBJ (make_grid_obj's) of about 100 thousand and of about a
// million triangles is imported by running the host program, arxhost, on a
// script: the command "_Kolvane", the file, then the options dialog with one
// of the four modes and OK. The reference, "Read", is the same process on the
// same file whose script answers the options dialog with Cancel: the host
// starts, loads the module, the model reader reads the file (in its reading
// child) and hands the meshes over, and the command ends before any entity is
// written. So the two differ by exactly the writers and their report lines.
//
// Each run is a whole process, timed from fork to exit. The runs are
// interleaved, a read before every import (read, Mesh, read, 3DFaces, ...,
// --runs rounds), so that slow and fast spells of a shared machine fall on
// both sides: each time is the median of its runs, and an import's ratio to
// the read is the median of its ratios to the read just before it. Peak memory is the peak resident size of the host
// process plus that of the reader's child process (both from the kernel's
// high-water marks, sampled every millisecond and checked against wait4's
// ru_maxrss). Every run is checked: exit status 0, the expected report line
// on the command line and nothing reported on standard error (objects left
// open), so a failing import is never counted as a fast one.
//
//   bench_import [--runs=N] [--host=PATH] [benchmark flags]
//
// --runs: runs per figure (default 5); --host: the host program (default:
// arxhost beside this program). A summary table follows the runs.
#include "GridObj.h"
#include "HostBench.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <limits.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const int kCells[] = {224, 707};  // 100 352 and 999 698 triangles

enum Mode { kRead = -1, kMesh = 0, kFaces, kLines, kPoints };
const Mode kModes[] = {kRead, kMesh, kFaces, kLines, kPoints};

const char* ModeName(Mode mode)
{
    switch (mode) {
    case kRead: return "Read";
    case kMesh: return "Mesh";
    case kFaces: return "3DFaces";
    case kLines: return "Lines";
    case kPoints: return "Points";
    }
    return "?";
}

// The options dialog's combo item for a mode.
const char* ComboItem(Mode mode)
{
    switch (mode) {
    case kMesh: return "Mesh";
    case kFaces: return "3D Faces";
    case kLines: return "Lines";
    case kPoints: return "Points";
    case kRead: return "Mesh";  // answered, then cancelled
    }
    return "Mesh";
}

// The report line the host must print for a grid of cells x cells.
std::string ExpectedLine(Mode mode, int cells)
{
    const long long c = cells;
    const long long vertices = (c + 1) * (c + 1), faces = 2 * c * c, edges = 3 * c * c + 2 * c;
    char line[128];
    switch (mode) {
    case kRead: return "Failure [Command cancelled]";
    case kMesh:
        std::snprintf(line, sizeof line, "Created polyface mesh consisting of %lld vertices and %lld faces", vertices,
                      faces);
        break;
    case kFaces: std::snprintf(line, sizeof line, "Created %lld 3d faces", faces); break;
    case kLines: std::snprintf(line, sizeof line, "Created %lld lines", edges); break;
    case kPoints: std::snprintf(line, sizeof line, "Created %lld points", vertices); break;
    }
    return line;
}

using kvbench::ReadText;

kvbench::HostBench g;

bool WriteText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out.flush());
}

// The grid OBJ of the given size, written on first use.
const std::string& ModelFile(int cells)
{
    static std::map<int, std::string> files;
    std::string& path = files[cells];
    if (path.empty()) {
        const std::string name = g.folder + "/grid-" + std::to_string(cells) + ".obj";
        if (std::FILE* out = std::fopen(name.c_str(), "wb")) {
            const bool ok = gridobj::write(out, cells);
            if (std::fclose(out) == 0 && ok)
                path = name;
        }
    }
    return path;
}

// A "Key:   1234 kB" field of /proc/PID/status, in kB; -1 when unknown.
long StatusKb(const std::string& status, const char* key)
{
    const size_t at = status.find(key);
    if (at == std::string::npos)
        return -1;
    return std::strtol(status.c_str() + at + std::strlen(key), nullptr, 10);
}

std::string ProcText(pid_t pid, const char* file)
{
    const std::string path = "/proc/" + std::to_string(pid) + "/" + file;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::string();
    std::string text;
    char buf[4096];
    ssize_t got;
    while ((got = ::read(fd, buf, sizeof buf)) > 0)
        text.append(buf, static_cast<size_t>(got));
    ::close(fd);
    return text;
}

struct RunResult {
    bool ok = false;
    std::string error;
    double seconds = 0;
    long hostPeakKb = 0;    // peak resident size of the host process
    long readerPeakKb = 0;  // peak resident size of the reader's child process
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
    std::map<pid_t, long> childPeak;
    for (;;) {
        const pid_t done = ::wait4(pid, &status, WNOHANG, &usage);
        if (done == pid)
            break;
        if (done < 0 && errno != EINTR) {
            r.error = std::string("wait4: ") + std::strerror(errno);
            return r;
        }
        const long hwm = StatusKb(ProcText(pid, "status"), "VmHWM:");
        r.hostPeakKb = std::max(r.hostPeakKb, hwm);
        char children[64];
        std::snprintf(children, sizeof children, "task/%d/children", static_cast<int>(pid));
        std::istringstream list(ProcText(pid, children));
        for (long child; list >> child;) {
            const long c = StatusKb(ProcText(static_cast<pid_t>(child), "status"), "VmHWM:");
            long& peak = childPeak[static_cast<pid_t>(child)];
            peak = std::max(peak, c);
        }
        const struct timespec pause {
            0, 1000000
        };
        ::nanosleep(&pause, nullptr);
    }
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    for (const auto& c : childPeak)
        r.readerPeakKb = std::max(r.readerPeakKb, c.second);
    // ru_maxrss is the larger of the host's peak and its children's, exactly:
    // it corrects the larger of the two sampled figures.
    const long exact = usage.ru_maxrss;
    if (r.hostPeakKb >= r.readerPeakKb)
        r.hostPeakKb = std::max(r.hostPeakKb, exact);
    else
        r.readerPeakKb = std::max(r.readerPeakKb, exact);

    r.error = kvbench::HostFailure(g, status);
    if (!r.error.empty())
        return r;
    r.ok = true;
    return r;
}

std::string ScriptFor(Mode mode, int cells)
{
    return g.folder + "/" + ModeName(mode) + "-" + std::to_string(cells) + ".scr";
}

// One whole-process run, checked: the report line must be on the command line.
RunResult RunChecked(Mode mode, int cells)
{
    RunResult result = RunHost(ScriptFor(mode, cells));
    const std::string expected = ExpectedLine(mode, cells);
    if (result.ok && ReadText(kvbench::HostOutPath(g)).find(expected) == std::string::npos) {
        result.ok = false;
        result.error = "the host program did not print \"" + expected + "\"";
    }
    return result;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The figures of one mode at one size: medians over its runs. For an import,
// perRead is the median of the ratios of each import to the read run just
// before it, so that a figure and its reference were taken side by side.
struct Figures {
    std::string error;
    double seconds = 0, hostMb = 0, readerMb = 0, peakMb = 0, perRead = 0;
};
std::map<std::string, Figures> g_figures;

std::string BenchName(Mode mode, int cells);

// Runs read, import, read, import... for every mode, g.runs rounds, and keeps
// the medians in g_figures.
void Measure(int cells)
{
    const std::string& model = ModelFile(cells);
    struct Samples {
        std::vector<double> seconds, hostMb, readerMb, peakMb, perRead;
        std::string error;
        void add(const RunResult& r)
        {
            seconds.push_back(r.seconds);
            hostMb.push_back(r.hostPeakKb / 1024.0);
            readerMb.push_back(r.readerPeakKb / 1024.0);
            peakMb.push_back((r.hostPeakKb + r.readerPeakKb) / 1024.0);
        }
    };
    std::map<Mode, Samples> samples;
    for (Mode mode : kModes) {
        const std::string text =
            "_Kolvane\n" + model + "\n" + ComboItem(mode) + "\nYes\n" + (mode == kRead ? "Cancel" : "OK") + "\n";
        if (model.empty())
            samples[mode].error = "cannot write the grid OBJ";
        else if (!WriteText(ScriptFor(mode, cells), text))
            samples[mode].error = "cannot write the script";
    }
    for (int round = 0; round < g.runs; ++round) {
        for (Mode mode : kModes) {
            if (mode == kRead || !samples[mode].error.empty() || !samples[kRead].error.empty())
                continue;
            const RunResult read = RunChecked(kRead, cells);
            if (!read.ok) {
                samples[kRead].error = read.error;
                continue;
            }
            samples[kRead].add(read);
            const RunResult run = RunChecked(mode, cells);
            if (!run.ok) {
                samples[mode].error = run.error;
                continue;
            }
            samples[mode].add(run);
            samples[mode].perRead.push_back(run.seconds / read.seconds);
            std::fprintf(stderr, "%d triangles, round %d: read %.3f s, %s %.3f s\n", 2 * cells * cells, round + 1,
                         read.seconds, ModeName(mode), run.seconds);
        }
    }
    for (Mode mode : kModes) {
        const Samples& s = samples[mode];
        Figures f;
        f.error = s.error;
        if (f.error.empty() && s.seconds.empty())
            f.error = "no run";
        f.seconds = Median(s.seconds);
        f.hostMb = Median(s.hostMb);
        f.readerMb = Median(s.readerMb);
        f.peakMb = Median(s.peakMb);
        f.perRead = Median(s.perRead);
        g_figures[BenchName(mode, cells)] = f;
    }
}

// Reports the figures that Measure took, one benchmark each.
void BM_Import(benchmark::State& state, std::string name)
{
    const Figures& f = g_figures[name];
    if (!f.error.empty()) {
        state.SkipWithError(f.error.c_str());
        return;
    }
    for (auto _ : state)
        state.SetIterationTime(f.seconds);
    state.counters["host_MB"] = f.hostMb;
    state.counters["reader_MB"] = f.readerMb;
    state.counters["peak_MB"] = f.peakMb;
    if (f.perRead > 0)
        state.counters["per_read"] = f.perRead;
}

const Figures* Find(const std::string& name)
{
    auto it = g_figures.find(name);
    return it == g_figures.end() || !it->second.error.empty() ? nullptr : &it->second;
}

std::string BenchName(Mode mode, int cells)
{
    return std::string("Import/") + ModeName(mode) + "/" + std::to_string(2 * cells * cells);
}

}  // namespace

int main(int argc, char** argv)
{
    if (const int code = kvbench::StartHostBench("bench_import", argc, argv, g); code >= 0)
        return code;

    for (int cells : kCells)
        Measure(cells);
    for (int cells : kCells)
        for (Mode mode : kModes)
            benchmark::RegisterBenchmark(BenchName(mode, cells).c_str(), BM_Import, BenchName(mode, cells))
                ->Iterations(1)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();

    std::printf("\n%10s %-8s %10s %12s %10s %10s %10s %12s %10s\n", "triangles", "mode", "median s", "time/read",
                "growth x10", "host MB", "reader MB", "peak MB", "mem/read");
    for (int cells : kCells) {
        const Figures* read = Find(BenchName(kRead, cells));
        for (Mode mode : kModes) {
            const Figures* f = Find(BenchName(mode, cells));
            if (!f)
                continue;
            const Figures* smaller = cells == kCells[1] ? Find(BenchName(mode, kCells[0])) : nullptr;
            char ratio[32] = "-", memRatio[32] = "-", growth[32] = "-";
            if (f->perRead > 0)
                std::snprintf(ratio, sizeof ratio, "%.2f", f->perRead);
            if (read && read->peakMb > 0)
                std::snprintf(memRatio, sizeof memRatio, "%.2f", f->peakMb / read->peakMb);
            if (smaller && smaller->seconds > 0)
                std::snprintf(growth, sizeof growth, "%.2f", f->seconds / smaller->seconds);
            std::printf("%10d %-8s %10.3f %12s %10s %10.1f %10.1f %12.1f %10s\n", 2 * cells * cells, ModeName(mode),
                        f->seconds, ratio, growth, f->hostMb, f->readerMb, f->peakMb, memRatio);
        }
    }
    benchmark::Shutdown();

    kvbench::RemoveFolder(g.folder);
    return 0;
}
