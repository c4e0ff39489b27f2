// The restore-point store at its bound: how long one Add takes when the
// history already holds 1000 points (goal under 20 ms, fsyncs included),
// how long a List of them takes, and how long the window's event loop
// stalls while another program holds the store's lock for 10 s and a
// HistoryWriter::Add waits for it (goal under 100 ms).

#include "disk/HistoryStore.h"
#include "disk/HistoryWriter.h"
#include "disk/WholeFile.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>

namespace {

using namespace orna5;

constexpr std::int64_t kStartMs = 1765234992000;

ParameterImage Numbered(std::uint64_t n) {
    ParameterImage image;
    image[field::advanceMap] = static_cast<std::uint8_t>(n);
    image[field::advanceMap + 1] = static_cast<std::uint8_t>(n >> 8);
    image[60] = 1;
    return image;
}

// A history at its bound, written directly: adding 1000 points one by one
// would spend the run on fsyncs.
void FillStore(const QString& folder) {
    const QDir dir(folder);
    RestoreIndex index;
    for (std::uint64_t id = 1; id <= kMaxRestorePoints; ++id) {
        RestorePointFile file;
        file.entry = RestorePoint{
            id,           kStartMs + std::int64_t(id), RestoreKind::Programmed, "ORN12",
            " 7. 5.2009", "/home/rider/tunes/road.ign"};
        const ParameterImage image = Numbered(id);
        std::copy_n(image.begin(), file.bytes.size(), file.bytes.begin());
        WriteWholeFile(dir.filePath(QString::fromStdString(RestorePointBytesFileName(id))),
                       QByteArray::fromStdString(WriteRestorePointFile(file)));
        SaveParameterFile(dir.filePath(QString::fromStdString(RestorePointFileName(id))), image);
        index.points.push_back(file.entry);
    }
    WriteWholeFile(dir.filePath("index"), QByteArray::fromStdString(WriteRestoreIndex(index)));
}

void BM_AddToAFullStore(benchmark::State& state) {
    QTemporaryDir dir;
    FillStore(dir.path());
    HistoryStore store(dir.path());
    std::uint64_t n = 5000;
    double slowestMs = 0;
    for (auto _ : state) {
        ++n;
        QElapsedTimer timer;
        timer.start();
        const HistoryStore::AddResult added =
            store.Add(Numbered(n), RestoreKind::Programmed, {}, kStartMs + std::int64_t(n));
        slowestMs = std::max(slowestMs, timer.nsecsElapsed() / 1e6);
        if (!added.stored) {
            state.SkipWithError(added.reason.toStdString().c_str());
            break;
        }
    }
    state.counters["points"] = double(store.List().points.size());
    state.counters["slowest_ms"] = slowestMs;
}
BENCHMARK(BM_AddToAFullStore)->Unit(benchmark::kMillisecond)->Iterations(50);

void BM_ListAFullStore(benchmark::State& state) {
    QTemporaryDir dir;
    FillStore(dir.path());
    const HistoryStore store(dir.path());
    std::size_t listed = 0;
    for (auto _ : state) {
        listed = store.List().points.size();
        benchmark::DoNotOptimize(listed);
    }
    state.counters["points"] = double(listed);
}
BENCHMARK(BM_ListAFullStore)->Unit(benchmark::kMillisecond);

// The window's tick as a 5 ms timer: the largest gap between its firings
// while the writer waits out another holder's lock.
void BM_EventLoopStallWhileTheLockIsHeld(benchmark::State& state) {
    int argc = 1;
    char name[] = "bench";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    for (auto _ : state) {
        QLockFile held(dir.filePath("index.lock"));
        held.tryLock(0);
        HistoryWriter writer(dir.path());
        QEventLoop loop;
        bool answered = false;
        bool stored = false;
        QObject::connect(&writer, &HistoryWriter::Added,
                         [&](std::uint64_t, const HistoryStore::AddResult& result) {
                             answered = true;
                             stored = result.stored;
                             loop.quit();
                         });
        QElapsedTimer clock;
        clock.start();
        qint64 last = 0;
        qint64 largestGapNs = 0;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            largestGapNs = std::max(largestGapNs, now - last);
            last = now;
        });
        tick.start(5);
        QTimer::singleShot(10000, [&] { held.unlock(); });
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        // Asked for from inside the loop, as the window's tick would.
        QTimer::singleShot(0, [&] {
            last = clock.nsecsElapsed();
            writer.Add(Numbered(1), RestoreKind::BeforeProgram, {}, kStartMs);
        });
        loop.exec();
        state.counters["largest_gap_ms"] = largestGapNs / 1e6;
        state.counters["answer_after_ms"] = clock.nsecsElapsed() / 1e6;
        state.counters["stored"] = answered && stored ? 1 : 0;
    }
}
BENCHMARK(BM_EventLoopStallWhileTheLockIsHeld)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
