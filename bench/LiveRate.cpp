// Live-data frames per second against orna5-sim answering at the real line
// speed (--paced), at the Standard and the Fast rate, beside the line's own
// ceiling: a 102-byte poll and its 102-byte answer take 35.4 ms at 57600
// baud, 28.2 exchanges a second. Also the longest time the one thread spent
// in a tick or a ready-read (goal: under 10 ms; a drained write would hold
// it for a frame's 18 ms on the line).

#include "BenchRun.h"
#include "device/DeviceSession.h"
#include "device/SerialLink.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int kTickMs = 55;
constexpr int kSeconds = 5;
constexpr double kLineExchangesPerSecond = 57600.0 / 10.0 / 204.0;

void LiveRate(benchmark::State& state, orna5::DeviceSession::PollRate rate) {
    int argc = 1;
    char name[] = "bench";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QProcess sim;
    const std::string device = orna5::bench::StartSimulator(sim, {"--paced"}).toStdString();
    orna5::SerialLink serial;
    if (device.empty() || !serial.Open(device).ok) {
        state.SkipWithError("cannot open the emulated unit");
        return;
    }
    double framesPerSecond = 0;
    qint64 longestNs = 0;
    for (auto _ : state) {
        orna5::ParameterImage image{};
        orna5::DeviceSession session(image);
        session.SetLink(&serial);
        session.SetPollRate(rate);
        long frames = 0;
        QElapsedTimer wall;
        QElapsedTimer slice;
        const auto timed = [&](auto&& work) {
            slice.start();
            if (work().monitorFrame)
                ++frames;
            longestNs = std::max(longestNs, slice.nsecsElapsed());
        };
        serial.OnDataArrived([&] { timed([&] { return session.DataArrived(); }); });
        QTimer timer;
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(kTickMs);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            timed([&] { return session.Tick(); });
            if (wall.elapsed() >= kSeconds * 1000)
                app.quit();
        });
        wall.start();
        timer.start();
        app.exec();
        serial.OnDataArrived({});
        framesPerSecond = frames * 1000.0 / wall.elapsed();
    }
    state.counters["frames_per_s"] = framesPerSecond;
    state.counters["line_ceiling_per_s"] = kLineExchangesPerSecond;
    state.counters["longest_slice_ms"] = longestNs / 1e6;
    serial.Close();
    sim.kill();
    sim.waitForFinished();
}

} // namespace

BENCHMARK_CAPTURE(LiveRate, standard, orna5::DeviceSession::PollRate::Standard)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(LiveRate, fast, orna5::DeviceSession::PollRate::Fast)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
