// One full Program with its closing Verify against orna5-sim answering at
// the real line speed, on the real 55 ms tick, without and with the backup
// read that first keeps what the unit held. Reports the wall time beside
// two floors: the tick design's (the ticks the exchange needs x 55 ms) and
// the wire's (the bytes moved at 5760 bytes per second).

#include "device/DeviceFrame.h"
#include "device/DeviceSession.h"
#include "device/SerialLink.h"
#include "params/BikePresets.h"
#include "params/NormaliseImage.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int kTickMs = 55;
constexpr double kWireBytesPerSecond = 5760.0;

// Counts the bytes that cross the line in both directions.
class CountingLink : public orna5::Link {
public:
    explicit CountingLink(orna5::Link& inner) : inner(inner) {}
    std::size_t BytesQueued() override { return inner.BytesQueued(); }
    std::size_t Read(std::uint8_t* dst, std::size_t max) override {
        const std::size_t n = inner.Read(dst, max);
        bytes += n;
        return n;
    }
    bool Write(const std::uint8_t* src, std::size_t n) override {
        bytes += n;
        return inner.Write(src, n);
    }
    long bytes = 0;

private:
    orna5::Link& inner;
};

void ProgramAndVerify(benchmark::State& state, bool backup) {
    int argc = 1;
    char name[] = "bench";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    QProcess sim;
    sim.start(ORNA5SIM_PATH, {"--paced"});
    if (!sim.waitForStarted() || !sim.waitForReadyRead(5000)) {
        state.SkipWithError("orna5-sim did not start");
        return;
    }
    const std::string device = sim.readLine().trimmed().toStdString();

    orna5::ParameterImage image{};
    image[orna5::field::bikeCode] = 24;
    bool chosen = false;
    orna5::ApplyBikePreset(image, chosen);
    orna5::NormaliseImage(image);

    orna5::SerialLink serial;
    if (!serial.Open(device).ok) {
        state.SkipWithError("cannot open the emulated unit");
        return;
    }
    long ticksTotal = 0, bytesTotal = 0, runs = 0;
    double secondsTotal = 0;
    for (auto _ : state) {
        CountingLink link(serial);
        // A new session does not know the unit, so with the backup read on
        // every run reads it first.
        orna5::DeviceSession session(image);
        session.SetLink(&link);
        session.SetBackupBeforeProgram(backup);
        bool backupTaken = false;
        // Let the idle poll settle first so every run starts from the same
        // point of the poll cycle: right after a poll answer.
        QTimer timer;
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(kTickMs);
        int ticks = 0;
        bool started = false;
        bool ok = false;
        QElapsedTimer clock;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            const orna5::TickResult result = session.Tick();
            if (!started) {
                if (result.monitorFrame) {
                    started = true;
                    link.bytes = 0;
                    session.StartProgramming();
                    clock.start();
                }
                return;
            }
            ++ticks;
            if (result.backup) {
                backupTaken = true;
                session.BackupKept(); // the store's own time is measured apart
            }
            if (result.ended) {
                ok = result.ended->outcome == orna5::Outcome::Success && backupTaken == backup;
                app.quit();
            }
        });
        timer.start();
        app.exec();
        timer.stop();
        const double seconds = clock.nsecsElapsed() / 1e9;
        state.SetIterationTime(seconds);
        if (!ok) {
            state.SkipWithError("Program did not end with its success line");
            break;
        }
        ticksTotal += ticks;
        bytesTotal += link.bytes;
        secondsTotal += seconds;
        ++runs;
    }
    serial.Close();
    sim.terminate();
    sim.waitForFinished();
    if (runs > 0) {
        const double ticks = double(ticksTotal) / runs;
        const double bytes = double(bytesTotal) / runs;
        state.counters["wall_ms"] = 1000.0 * secondsTotal / runs;
        state.counters["ticks"] = ticks;
        state.counters["tick_floor_ms"] = ticks * kTickMs;
        state.counters["bytes"] = bytes;
        state.counters["wire_floor_ms"] = 1000.0 * bytes / kWireBytesPerSecond;
    }
}

BENCHMARK_CAPTURE(ProgramAndVerify, without_backup, false)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(ProgramAndVerify, with_backup, true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace

BENCHMARK_MAIN();
