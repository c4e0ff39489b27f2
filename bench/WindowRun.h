#pragma once

// What the window benchmarks share: the process's CPU time and letting the
// event loop run on its own for a while.

#include <QEventLoop>
#include <QTimer>

#include <sys/resource.h>

namespace orna5::bench {

inline double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

inline void RunEventLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace orna5::bench
