// The window on a misbehaving unit for a long time: the main window on the
// offscreen platform, opened on orna5-sim, alternately programs a changed
// map cell and reads the unit back, while the unit's and the line's faults
// are switched on and off between operations. Reports resident memory at
// the start and the end, the operations done, the errors the window showed,
// the false successes (a success line while the unit's memory differs from
// the window's image; must be 0) and the slowest tick.
//
//   bench/soak [SECONDS]     (600 by default)

#include "TickClock.h"
#include "WindowRun.h"
#include "app/form/FormHlav.h"
#include "device/DeviceSession.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

using orna5::bench::ResidentKb;

// Between two faults the line is clean, so every fault is also followed by
// an operation that must succeed.
const char* const kFaults[] = {
    "--drop 2",
    "",
    "--corrupt 3",
    "--bad-echo 1",
    "",
    "--bad-echo 1000000",
    "",
    "--bad-store 150",
    "--stray 7",
    "",
    "--silent",
    "",
    "--protocol 53",
    "--split 80",
    "",
    "--garbage",
    "",
    "--hangup-after 2",
    "",
};

// orna5-sim with its control input: faults, memory dumps, and the new
// device after a pulled cable.
class Sim {
public:
    bool Start() {
        process.start(ORNA5SIM_PATH, {});
        device = NextLine(10000);
        return !device.isEmpty();
    }
    ~Sim() {
        process.terminate();
        process.waitForFinished(3000);
    }
    void Control(const QString& line) {
        process.write((line + "\n").toUtf8());
        process.waitForBytesWritten(3000);
    }
    std::vector<int> Memory() {
        Control("--dump");
        for (QString line = NextLine(5000); !line.isEmpty(); line = NextLine(5000)) {
            if (!line.startsWith("memory:")) {
                device = line; // a device line came first
                continue;
            }
            std::vector<int> bytes;
            for (const QString& word : line.mid(7).split(' ', Qt::SkipEmptyParts))
                bytes.push_back(word.toInt());
            return bytes;
        }
        return {};
    }
    QString NextLine(int timeoutMs) {
        QElapsedTimer clock;
        clock.start();
        while (!process.canReadLine()) {
            const int left = timeoutMs - static_cast<int>(clock.elapsed());
            if (left <= 0 || !process.waitForReadyRead(left))
                return QString();
        }
        return QString::fromUtf8(process.readLine()).trimmed();
    }
    QProcess process;
    QString device;
};

struct Tally {
    long operations = 0;
    long successes = 0;
    long errors = 0;
    long versionMessages = 0;
    long falseSuccesses = 0;
    long reopened = 0;
};

void Enter(orna5::TFormHlav& window, const QString& name, const QString& text) {
    auto* edit = window.findChild<QLineEdit*>(name);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

// Presses the button and turns the event loop until the tick that finds the
// operation over; returns the status line then, and whether it was red.
bool RunOperation(orna5::TFormHlav& window, const char* button, QString& text, bool& red) {
    bool done = false;
    const auto connection = QObject::connect(&window, &orna5::TFormHlav::TickDone, &window, [&] {
        if (!done && window.Session().CurrentOperation() == orna5::Operation::Idle) {
            done = true;
            text = window.findChild<QLabel*>("LabelHlaseni")->text();
            red = window.Session().Display().Status().colour == orna5::ColourRole::Red;
        }
    });
    QTest::mouseClick(window.findChild<QPushButton*>(button), Qt::LeftButton);
    const bool ended = QTest::qWaitFor([&] { return done; }, 30000);
    QObject::disconnect(connection);
    return ended;
}

bool SameAsUnit(const orna5::ParameterImage& image, const std::vector<int>& memory) {
    if (memory.size() != orna5::kTransferSize)
        return false;
    for (std::size_t i = 0; i < memory.size(); ++i)
        if (i != orna5::field::reserved1 && memory[i] != image[i])
            return false;
    return true;
}

void WindowSoak(benchmark::State& state) {
    const qint64 runMs = orna5::bench::RunMilliseconds(600);
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    Sim sim;
    if (!sim.Start()) {
        state.SkipWithError("orna5-sim did not start");
        return;
    }
    // A link of a stable name, as /dev/serial/by-id gives a real adapter, so
    // the Com menu's device item finds the unit again after a pulled cable.
    const QString port = config.filePath("unit");
    QFile::link(sim.device, port);

    for (auto _ : state) {
        orna5::StartOptions options;
        options.port = port;
        orna5::TFormHlav window(options);
        window.show();
        TickClock tickClock;
        tickClock.Attach(window);
        QTest::qWait(1000);
        const long rssStart = ResidentKb();
        long rssMost = rssStart;
        tickClock.slowestNs = 0;

        Tally tally;
        qint64 slowestNs = 0;
        std::map<std::string, qint64> slowestByFault;
        QElapsedTimer wall;
        wall.start();
        for (long cycle = 0; wall.elapsed() < runMs; ++cycle) {
            const QString fault = kFaults[cycle % (sizeof kFaults / sizeof kFaults[0])];
            tickClock.slowestNs = 0;
            sim.Control(fault);
            const bool program = cycle % 2 == 0;
            if (program)
                Enter(window, QString("Edit%1").arg(100 + cycle % 50),
                      QString::number(20 + cycle % 17));
            QString text;
            bool red = false;
            if (!RunOperation(window, program ? "BitBtnProgram" : "ButtonRead", text, red)) {
                std::fprintf(stderr, "cycle %ld (%s): the operation did not end\n", cycle,
                             qPrintable(fault));
                ++tally.errors;
            }
            ++tally.operations;
            if (auto* box = window.findChild<QMessageBox*>("VersionMismatchBox")) {
                ++tally.versionMessages;
                box->close();
                QCoreApplication::processEvents();
            } else if (red) {
                ++tally.errors;
            } else if (text.endsWith(": OK")) {
                ++tally.successes;
                sim.Control("--clear");
                if (!SameAsUnit(window.Image(), sim.Memory())) {
                    ++tally.falseSuccesses;
                    std::fprintf(stderr, "cycle %ld (%s): false success \"%s\"\n", cycle,
                                 qPrintable(fault), qPrintable(text));
                }
            }
            sim.Control("--clear");
            if (fault.startsWith("--hangup")) {
                // The cable back in: the unit's new terminal under the same
                // name, chosen again in the Com menu.
                const QString device = sim.NextLine(5000);
                if (!device.isEmpty()) {
                    QFile::remove(port);
                    QFile::link(device, port);
                }
                window.findChild<QAction*>("MenuComDevice")->trigger();
                ++tally.reopened;
            }
            rssMost = std::max(rssMost, ResidentKb());
            qint64& slowest = slowestByFault[fault.isEmpty() ? "(none)" : fault.toStdString()];
            slowest = std::max(slowest, tickClock.slowestNs);
            slowestNs = std::max(slowestNs, tickClock.slowestNs);
        }
        const long rssEnd = ResidentKb();
        state.SetIterationTime(wall.elapsed() / 1000.0);
        state.counters["rss_start_kb"] = static_cast<double>(rssStart);
        state.counters["rss_end_kb"] = static_cast<double>(rssEnd);
        state.counters["rss_most_kb"] = static_cast<double>(rssMost);
        state.counters["operations"] = static_cast<double>(tally.operations);
        state.counters["successes"] = static_cast<double>(tally.successes);
        state.counters["errors"] = static_cast<double>(tally.errors);
        state.counters["version_messages"] = static_cast<double>(tally.versionMessages);
        state.counters["false_successes"] = static_cast<double>(tally.falseSuccesses);
        state.counters["reopened"] = static_cast<double>(tally.reopened);
        state.counters["slowest_tick_ms"] = slowestNs / 1e6;
        state.counters["ticks"] = static_cast<double>(tickClock.ticks);
        std::printf("soak: %.0f s, rss start %ld kB end %ld kB (most %ld kB), %ld operations, "
                    "%ld successes, %ld errors, %ld version messages, %ld false successes, "
                    "%ld reopened, slowest tick %.1f ms over %ld ticks\n",
                    wall.elapsed() / 1000.0, rssStart, rssEnd, rssMost, tally.operations,
                    tally.successes, tally.errors, tally.versionMessages, tally.falseSuccesses,
                    tally.reopened, slowestNs / 1e6, tickClock.ticks);
        for (const auto& [fault, ns] : slowestByFault)
            std::printf("  slowest tick with %s: %.1f ms\n", fault.c_str(), ns / 1e6);
        window.close();
        if (tally.falseSuccesses > 0)
            state.SkipWithError("false successes");
    }
}

BENCHMARK(WindowSoak)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    return orna5::bench::RunWindowBenchmarks(argc, argv);
}
