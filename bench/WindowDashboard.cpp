// What View > Dashboard costs beside the main window at the Fast rate: the
// window on orna5-sim answering at the line's speed (--paced), its engine
// sweeping so every readout changes with every frame, measured without the
// dashboard, with it at its usual size, and with it as large as a 1280 x 800
// screen in full screen. Reports the process's CPU time as a share of one
// core, the dashboard's redraws and the frames a second. Goal: the
// dashboard adds under 3 % of one core.
//
//   ORNA5_BENCH_SECONDS=30 build/bench/bench_WindowDashboard
//   QT_QPA_PLATFORM=xcb xvfb-run -a build/bench/bench_WindowDashboard

#include "WindowRun.h"
#include "app/ViewManager.h"
#include "app/form/FormHlav.h"
#include "app/views/DashboardWindow.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QProcess>
#include <QTemporaryDir>

namespace {

using orna5::bench::RunEventLoop;

void WindowDashboard(benchmark::State& state) {
    const bool dashboard = state.range(0) != 0;
    const bool large = state.range(1) != 0;
    const qint64 runMs = orna5::bench::RunMilliseconds(30);
    orna5::bench::BenchUnit unit;
    if (!unit.Start(state, {"--paced"}))
        return;
    const QString& device = unit.device;

    for (auto _ : state) {
        orna5::StartOptions options;
        options.port = device;
        orna5::TFormHlav window(options);
        window.show();
        window.findChild<QAction*>("MenuLiveFast")->trigger();
        orna5::DashboardWindow* view = dashboard ? window.Views().ShowDashboard() : nullptr;
        if (view && large)
            view->resize(1280, 800);
        long frames = 0;
        QObject::connect(&window, &orna5::TFormHlav::FrameAccepted, [&frames] { ++frames; });
        // Let start-up settle before measuring.
        RunEventLoop(1500);
        frames = 0;
        const long redrawsBefore = view ? view->Redraws() : 0;

        const double share = orna5::bench::CpuShare(runMs);
        state.SetIterationTime(runMs / 1000.0);
        state.counters["cpu_percent_of_core"] = share;
        state.counters["frames_per_s"] = frames * 1000.0 / runMs;
        state.counters["redraws_per_s"] =
            view ? (view->Redraws() - redrawsBefore) * 1000.0 / runMs : 0.0;
        window.close();
    }
}

BENCHMARK(WindowDashboard)
    ->ArgNames({"dashboard", "large"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    return orna5::bench::RunWindowBenchmarks(argc, argv);
}
