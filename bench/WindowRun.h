#pragma once

// What the window benchmarks share: the process's CPU time and letting the
// event loop run on its own for a while.

#include <QEventLoop>
#include <QProcess>
#include <QString>
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

// Starts orna5-sim and returns the pseudo-terminal it serves on, or an empty
// text when it did not start.
inline QString StartSimulator(QProcess& sim) {
    sim.start(ORNA5SIM_PATH, {});
    if (!sim.waitForReadyRead(10000))
        return {};
    return QString::fromLocal8Bit(sim.readLine()).trimmed();
}

} // namespace orna5::bench
