// The window's cost while it watches a running engine: the main window is
// shown on the offscreen platform, opened on orna5-sim whose engine sweeps
// from idle to the limiter and back, so the live panel changes with every
// frame and the lit map cell moves. Reports the process's CPU time as a
// share of one core and the slowest tick (receive, panel, marks).
//
// The second run does the same with View > Map in 3D open. That view needs
// OpenGL, so run both on a virtual X server to compare them:
//
//   ORNA5_BENCH_SECONDS=60 build/bench/bench_WindowMonitoring
//   QT_QPA_PLATFORM=xcb xvfb-run -a build/bench/bench_WindowMonitoring

#include "TickClock.h"
#include "WindowRun.h"
#include "app/ViewManager.h"
#include "app/form/FormHlav.h"
#include "app/views/Map3DWindow.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdlib>

namespace {

using orna5::bench::RunEventLoop;

// map3d: View > Map in 3D open (needs OpenGL). fast: Tools > Live data >
// Fast against a unit answering at the line's speed (--paced), so every
// frame is taken when it comes. views: the map table and the advance curves
// open, which still redraw a few times a second. Goals at the Fast rate with
// the views: under 3 % of one core, the slowest tick under 10 ms.
void WindowMonitoring(benchmark::State& state) {
    const bool map3d = state.range(0) != 0;
    const bool fast = state.range(1) != 0;
    const bool views = state.range(2) != 0;
    if (map3d && !orna5::Map3DWindow::OpenGLAvailable()) {
        state.SkipWithError("no OpenGL here: run under xvfb-run with QT_QPA_PLATFORM=xcb");
        return;
    }
    const qint64 runMs = orna5::bench::RunMilliseconds(60);
    orna5::bench::BenchUnit unit;
    if (!unit.Start(state, fast ? QStringList{"--paced"} : QStringList{}))
        return;
    const QString& device = unit.device;

    for (auto _ : state) {
        orna5::StartOptions options;
        options.port = device;
        orna5::TFormHlav window(options);
        window.show();
        window.findChild<QAction*>(fast ? "MenuLiveFast" : "MenuLiveStandard")->trigger();
        orna5::Map3DWindow* map = map3d ? window.Views().ShowMap3D() : nullptr;
        if (views) {
            window.Views().ShowMapTable();
            window.Views().ShowAdvanceCurves();
        }
        TickClock tickClock;
        tickClock.Attach(window);
        long frames = 0;
        QObject::connect(&window, &orna5::TFormHlav::FrameAccepted, [&frames] { ++frames; });
        // Let start-up settle before measuring.
        RunEventLoop(1000);
        tickClock.slowestNs = 0;
        tickClock.ticks = tickClock.frames = 0;
        frames = 0;

        const double share = orna5::bench::CpuShare(runMs);
        state.SetIterationTime(runMs / 1000.0);
        state.counters["cpu_percent_of_core"] = share;
        state.counters["cpu_seconds_per_minute"] = 0.6 * share;
        state.counters["slowest_tick_ms"] = tickClock.slowestNs / 1e6;
        state.counters["ticks"] = static_cast<double>(tickClock.ticks);
        state.counters["frames_per_s"] = frames * 1000.0 / runMs;
        if (map)
            state.counters["marker_moves"] = map->MarkerMoves();
        window.close();
    }
}

BENCHMARK(WindowMonitoring)
    ->ArgNames({"map3d", "fast", "views"})
    ->Args({0, 0, 0})
    ->Args({1, 0, 0})
    ->Args({0, 1, 1})
    ->Args({0, 1, 0})
    ->Args({0, 0, 1})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    return orna5::bench::RunWindowBenchmarks(argc, argv);
}
