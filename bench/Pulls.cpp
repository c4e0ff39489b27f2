// What finding and comparing the pulls of a long ride costs.
//
// FindAndCompare/tenHours: the pulls of a ten-hour log at the Fast rate
// (25 rows a second, 900 000 rows, some 6 500 pulls of the emulator's ride)
// found through the streaming reader and compared, in this process; reports
// the wall time, the pulls and how much the resident memory grew.
// Goal: under 1 s.
//
// CtlPulls/tenHours: `orna5ctl pulls` on the same log as a user runs it;
// reports the run's wall time and the child's peak resident memory.
//
//   build/bench/bench_Pulls

#include "BenchRun.h"
#include "files/LogTime.h"
#include "files/MonitorLog.h"
#include "ride/PullComparison.h"
#include "ride/PullFinder.h"
#include "sim/UnitEmulator.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

const std::string& Folder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/orna5-bench-pulls-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        return std::string(made ? made : "/tmp");
    }();
    return folder;
}

// The emulator's ride, polled every 40 ms for ten hours and logged as
// orna5ctl monitor logs it.
const std::string& TenHours() {
    static const std::string path = [] {
        const std::string file = Folder() + "/ride.csv";
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        orna5::UnitEmulator unit;
        orna5::ParameterImage image;
        std::copy(unit.StoredBytes().begin(), unit.StoredBytes().end(), image.begin());
        orna5::WriteLogHeader(out, orna5::MakeLogHeader(image, "ORN12", "ride.ign"));
        double now = 0;
        unit.Engine().StartRide([&now] { return now; });
        orna5::LogTime time;
        orna5::ParseLogTime("2026-06-01T08:00:00.000+02:00", time);
        std::vector<std::uint8_t> poll(102, 0);
        poll[0] = 0x30;
        poll[101] = 0xFF ^ 0x30;
        for (long row = 0; row < 10L * 3600 * 25; ++row) {
            now += 0.04;
            time.millis += 40;
            const std::vector<std::uint8_t> frame = unit.Feed(poll);
            out << orna5::LogRow(frame.data(), orna5::FormatLogTime(time)) << '\n';
        }
        return file;
    }();
    return path;
}

double FileMb(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    return static_cast<double>(in.tellg()) / 1e6;
}

void FindAndCompare(benchmark::State& state) {
    const std::string& path = TenHours();
    std::size_t pulls = 0;
    long growthKb = 0;
    double seconds = 0;
    for (auto _ : state) {
        const long before = orna5::bench::ResidentKb();
        const auto start = std::chrono::steady_clock::now();
        std::vector<orna5::PullLog> logs(1);
        orna5::FindPulls(path, logs[0]);
        logs.push_back(logs[0]);
        const orna5::PullComparison comparison = orna5::ComparePulls(logs, 2);
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        pulls = logs[0].pulls.size();
        growthKb = std::max(growthKb, orna5::bench::ResidentKb() - before);
        benchmark::DoNotOptimize(comparison.rpms.data());
    }
    state.counters["file_mb"] = FileMb(path);
    state.counters["pulls"] = static_cast<double>(pulls);
    state.counters["seconds"] = seconds;
    state.counters["rss_growth_mb"] = growthKb / 1024.0;
}

void CtlPulls(benchmark::State& state) {
    const std::string& path = TenHours();
    long peakKb = 0;
    int exitCode = -1;
    double seconds = 0;
    for (auto _ : state) {
        const orna5::bench::ProgramRun run =
            orna5::bench::RunProgram(ORNA5CTL_PATH, {"pulls", path, "--gear=2"});
        if (!run.started) {
            state.SkipWithError("orna5ctl would not start");
            break;
        }
        seconds = run.seconds;
        state.SetIterationTime(seconds);
        peakKb = std::max(peakKb, run.peakKb);
        exitCode = run.exitCode;
    }
    state.counters["peak_rss_mb"] = peakKb / 1024.0;
    state.counters["seconds"] = seconds;
    state.counters["exit"] = exitCode;
}

} // namespace

BENCHMARK(FindAndCompare)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(CtlPulls)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// The log is some 90 MB: it goes when the run ends.
int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove((Folder() + "/ride.csv").c_str());
    ::rmdir(Folder().c_str());
    return 0;
}
