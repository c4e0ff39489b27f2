#pragma once

// The main() of the window benchmarks, beside what all benchmarks share.

#include "BenchRun.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>

namespace orna5::bench {

// What a window benchmark runs beside: settings of its own, so the user's
// orna5.ini is neither read nor written, and an emulated unit.
struct BenchUnit {
    QTemporaryDir config;
    QProcess sim;
    QString device;

    ~BenchUnit() {
        sim.terminate();
        sim.waitForFinished(3000);
    }

    // False, with the benchmark skipped, when the emulated unit did not start.
    bool Start(benchmark::State& state, const QStringList& options = {}) {
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        device = StartSimulator(sim, options);
        if (device.isEmpty())
            state.SkipWithError("orna5-sim did not start");
        return !device.isEmpty();
    }
};

// The main() of a window benchmark: the real form on the offscreen platform,
// unless QT_QPA_PLATFORM names another (the views that need OpenGL).
inline int RunWindowBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace orna5::bench
