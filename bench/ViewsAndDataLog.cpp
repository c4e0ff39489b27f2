// The views' costs.
//
// OpenLog/1 and OpenLog/10: a data log of one and of ten hours at one frame
// per 330 ms (about 11 000 and 110 000 rows) read from disk, built into the
// chart window, drawn once and counted into the time-in-cell table; reports
// each step in milliseconds, and how much the resident memory grew while
// the log was open beside the size of its file.
//
// CurvesWhileMonitoring: the window watching orna5-sim's sweeping engine,
// first without and then with the advance curves open, in one run; reports
// the process's CPU time as a share of one core for both and the difference.
//
//   ORNA5_BENCH_SECONDS=30 build/bench/bench_ViewsAndDataLog

#include "WindowRun.h"
#include "app/Document.h"
#include "app/ViewManager.h"
#include "app/form/FormHlav.h"
#include "app/views/AdvanceCurvesWindow.h"
#include "app/views/LogChartWindow.h"
#include "device/DeviceFrame.h"
#include "device/LogClock.h"
#include "device/TimeInCell.h"
#include "files/MonitorLog.h"
#include "params/MonitorFrame.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>

namespace {

using orna5::bench::RunEventLoop;
namespace m = orna5::monitorField;

constexpr int kHourRows = 3600 * 1000 / 330;

// Hours of an engine going up and down the rev range every two minutes.
void WriteLog(const QString& path, const orna5::ParameterImage& image, int hours) {
    orna5::MonitorLogWriter writer(orna5::LogTimeNow);
    writer.Open(path.toStdString(), orna5::MakeLogHeader(image, "ORN12", "bench.ign"));
    const QDateTime start = QDateTime::fromString("2026-12-08T10:00:00.000", Qt::ISODateWithMs);
    orna5::DeviceFrame f{};
    f[m::code] = 0xB0;
    f[m::channelAdvance] = f[m::channelAdvance + 1] = 128;
    f[m::protocolVersion] = 54;
    for (int i = 0; i < kHourRows * hours; ++i) {
        const double phase = std::fabs(std::sin(i * 330 / 1000.0 * M_PI / 120));
        orna5::PutFrameWord(f.data(), m::rpm, static_cast<std::uint16_t>(1200 + 9800 * phase));
        orna5::PutFrameWord(f.data(), m::supplyMv, static_cast<std::uint16_t>(13500 + i % 7 * 50));
        f[m::tpsPercent] = static_cast<std::uint8_t>(100 * phase);
        f[m::channelAdvance] = f[m::channelAdvance + 1] =
            static_cast<std::uint8_t>(110 + 22 * phase);
        writer.Append(f.data(),
                      start.addMSecs(330LL * i).toString(Qt::ISODateWithMs).toStdString());
    }
}

void OpenLog(benchmark::State& state) {
    const int hours = static_cast<int>(state.range(0));
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    orna5::StartOptions options;
    options.simulate = true;
    orna5::TFormHlav window(options);
    const QString path = config.filePath("ride.csv");
    WriteLog(path, window.Image(), hours);

    double readMs = 0, buildMs = 0, drawMs = 0, cellsMs = 0;
    std::size_t rows = 0;
    long growthKb = 0;
    const long startKb = orna5::bench::ResidentKb();
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        orna5::MonitorLog log;
        {
            std::ifstream in(path.toStdString(), std::ios::binary);
            orna5::ReadMonitorLog(in, log);
        }
        rows = log.Rows();
        const double read = clock.nsecsElapsed() / 1e6;
        orna5::TimeInCell cells;
        orna5::CountLogCells(log, cells);
        benchmark::DoNotOptimize(cells.Total());
        const double counted = clock.nsecsElapsed() / 1e6;
        auto* chart = new orna5::LogChartWindow(window.Doc(), path, std::move(log));
        chart->show();
        const double built = clock.nsecsElapsed() / 1e6;
        benchmark::DoNotOptimize(chart->grab());
        const double drawn = clock.nsecsElapsed() / 1e6;
        growthKb = std::max(growthKb, orna5::bench::ResidentKb() - startKb);
        state.SetIterationTime(drawn / 1000);
        readMs += read;
        cellsMs += counted - read;
        buildMs += built - counted;
        drawMs += drawn - built;
        delete chart;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["read_ms"] = readMs / n;
    state.counters["build_ms"] = buildMs / n;
    state.counters["draw_ms"] = drawMs / n;
    state.counters["cells_ms"] = cellsMs / n;
    state.counters["total_ms"] = (readMs + cellsMs + buildMs + drawMs) / n;
    state.counters["file_mb"] = QFileInfo(path).size() / 1e6;
    state.counters["rss_growth_mb"] = growthKb / 1024.0;
}

BENCHMARK(OpenLog)->Arg(1)->Arg(10)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

void CurvesWhileMonitoring(benchmark::State& state) {
    const qint64 runMs = orna5::bench::RunMilliseconds(30);
    orna5::bench::BenchUnit unit;
    if (!unit.Start(state))
        return;
    const QString& device = unit.device;

    for (auto _ : state) {
        orna5::StartOptions options;
        options.port = device;
        orna5::TFormHlav window(options);
        window.show();
        RunEventLoop(1000); // start-up settles
        const double without = orna5::bench::CpuShare(runMs);
        window.Views().ShowAdvanceCurves();
        RunEventLoop(500);
        const double with = orna5::bench::CpuShare(runMs);
        state.SetIterationTime(2.0 * runMs / 1000);
        state.counters["cpu_percent_without_curves"] = without;
        state.counters["cpu_percent_with_curves"] = with;
        state.counters["cpu_percent_curves_add"] = with - without;
        window.close();
    }
}

BENCHMARK(CurvesWhileMonitoring)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    return orna5::bench::RunWindowBenchmarks(argc, argv);
}
