// What reading a data log costs, through orna5ctl cells as a user runs it
// and through the reader the window uses.
//
// Cells/small, Cells/tenHours: `orna5ctl cells` on a log of some 6 KB and on
// one of ten hours at the fast pace (25 rows a second, about 900 000 rows);
// reports the run's wall time and the child's peak resident memory.
// Goals: under 30 MB for the small log; under 80 MB and 1 s for ten hours.
//
// Cells/commas: `orna5ctl cells` on 64 MB of a log made of commas (a
// column line, then rows of nothing but commas and lines of them far longer
// than any line of a log); its peak memory must stay that of a small log.
//
// ReadLog/tenHours, ReadLog/commas: the whole log read into memory, as the
// chart and playback take it; reports how much the resident memory grew
// beside the size of the file.
//
//   build/bench/bench_LogReading

#include "BenchRun.h"
#include "files/LogTime.h"
#include "files/MonitorLog.h"
#include "params/MonitorFrame.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace m = orna5::monitorField;

std::string Folder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/orna5-bench-logs-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        return std::string(made ? made : "/tmp");
    }();
    return folder;
}

// A ride of `rows` frames 40 ms apart, the engine sweeping the rev range.
std::string WriteRide(const std::string& name, long rows) {
    const std::string path = Folder() + "/" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    orna5::ParameterImage image{};
    for (std::size_t i = 0; i < orna5::kAxisPoints; ++i)
        image[orna5::field::mapRpm + i] = static_cast<std::uint8_t>(10 + 10 * i);
    image[orna5::field::mapUsesTps] = 1;
    orna5::WriteLogHeader(out, orna5::MakeLogHeader(image, "ORN12", "bench.ign"));
    std::uint8_t f[102] = {};
    f[m::code] = 0xB0;
    f[m::protocolVersion] = 54;
    orna5::LogTime time;
    orna5::ParseLogTime("2026-10-25T01:00:00.000+02:00", time);
    for (long i = 0; i < rows; ++i) {
        const double phase = std::fabs(std::sin(i * 0.04 * M_PI / 120));
        orna5::PutFrameWord(f, m::rpm, static_cast<std::uint16_t>(1200 + 9800 * phase));
        orna5::PutFrameWord(f, m::supplyMv, static_cast<std::uint16_t>(13500 + i % 7 * 50));
        f[m::tpsPercent] = static_cast<std::uint8_t>(100 * phase);
        f[m::channelAdvance] = f[m::channelAdvance + 1] =
            static_cast<std::uint8_t>(110 + 22 * phase);
        out << orna5::LogRow(f, orna5::FormatLogTime(time)) << '\n';
        time.millis += 40;
    }
    return path;
}

std::string WriteCommas(const std::string& name, std::size_t bytes) {
    const std::string path = Folder() + "/" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "time,rpm,tps_percent\n";
    const std::string shortRows(1000, ',');
    std::string line(1 << 20, ',');
    line.back() = '\n';
    for (std::size_t written = 0; written < bytes; written += line.size() + 2 * shortRows.size()) {
        out << shortRows << '\n' << line << shortRows << '\n';
    }
    return path;
}

const std::string& Path(int which) {
    static const std::string small = WriteRide("small.csv", 60);
    static const std::string tenHours = WriteRide("ten-hours.csv", 10L * 3600 * 25);
    static const std::string commas = WriteCommas("commas.csv", 64u << 20);
    return which == 0 ? small : which == 1 ? tenHours : commas;
}

double FileMb(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    return static_cast<double>(in.tellg()) / 1e6;
}

void Cells(benchmark::State& state) {
    const std::string& path = Path(static_cast<int>(state.range(0)));
    long peakKb = 0;
    int exitCode = -1;
    double seconds = 0;
    for (auto _ : state) {
        const orna5::bench::ProgramRun run =
            orna5::bench::RunProgram(ORNA5CTL_PATH, {"cells", path});
        if (!run.started) {
            state.SkipWithError("orna5ctl would not start");
            break;
        }
        seconds = run.seconds;
        state.SetIterationTime(seconds);
        peakKb = std::max(peakKb, run.peakKb);
        exitCode = run.exitCode;
    }
    state.counters["file_mb"] = FileMb(path);
    state.counters["peak_rss_mb"] = peakKb / 1024.0;
    state.counters["seconds"] = seconds;
    state.counters["exit"] = exitCode;
}

void ReadLog(benchmark::State& state) {
    const std::string& path = Path(static_cast<int>(state.range(0)));
    long growthKb = 0;
    std::size_t rows = 0;
    for (auto _ : state) {
        const long before = orna5::bench::ResidentKb();
        orna5::MonitorLog log;
        orna5::BoundedRead read;
        orna5::ReadMonitorLogFile(path, log, read);
        rows = log.Rows();
        growthKb = std::max(growthKb, orna5::bench::ResidentKb() - before);
        benchmark::DoNotOptimize(log.seconds.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["file_mb"] = FileMb(path);
    state.counters["rss_growth_mb"] = growthKb / 1024.0;
}

} // namespace

BENCHMARK(Cells)
    ->ArgName("log")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(ReadLog)->ArgName("log")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(1);

// The logs are some 140 MB: they go when the run ends.
int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const char* name : {"small.csv", "ten-hours.csv", "commas.csv"})
        std::remove((Folder() + "/" + name).c_str());
    ::rmdir(Folder().c_str());
    return 0;
}
