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

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

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

// One run of a program with its output thrown away: how long it took, its
// peak resident memory and its exit status (-1 when it did not start or
// did not exit).
struct ProgramRun {
    bool started = false;
    double seconds = 0;
    long peakKb = 0;
    int exitCode = -1;
};

inline ProgramRun RunProgram(const std::string& program, std::vector<std::string> args) {
    ProgramRun run;
    const auto start = std::chrono::steady_clock::now();
    std::vector<char*> argv;
    std::string name = program;
    argv.push_back(name.data());
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const bool spawned =
        posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    if (!spawned)
        return run;
    run.started = true;
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakKb = usage.ru_maxrss;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace orna5::bench
