#pragma once

// What the benchmarks share that needs no window: the process's CPU time
// and memory, the emulated unit, and letting the event loop run a while.

#include <QByteArray>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>

namespace orna5::bench {

inline double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The process's resident memory now, in KiB.
inline long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

inline void RunEventLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Starts orna5-sim and returns the pseudo-terminal it serves on, or an empty
// text when it did not start.
inline QString StartSimulator(QProcess& sim, const QStringList& options = {}) {
    sim.start(ORNA5SIM_PATH, options);
    if (!sim.waitForReadyRead(10000))
        return {};
    return QString::fromLocal8Bit(sim.readLine()).trimmed();
}

// The process's CPU time while the event loop runs for ms, as a percentage
// of one core.
inline double CpuShare(qint64 ms) {
    const double cpuStart = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    RunEventLoop(static_cast<int>(ms));
    return 100.0 * (CpuSeconds() - cpuStart) / (wall.elapsed() / 1000.0);
}

// How long a timed run lasts: ORNA5_BENCH_SECONDS, else the benchmark's own
// default, in milliseconds.
inline qint64 RunMilliseconds(int defaultSeconds) {
    const char* seconds = std::getenv("ORNA5_BENCH_SECONDS");
    return (seconds ? std::max(1, std::atoi(seconds)) : defaultSeconds) * 1000LL;
}

} // namespace orna5::bench
