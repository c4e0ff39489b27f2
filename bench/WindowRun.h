#pragma once

// The main() of the window benchmarks, beside what all benchmarks share.

#include "BenchRun.h"

#include <benchmark/benchmark.h>

#include <QApplication>

namespace orna5::bench {

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
