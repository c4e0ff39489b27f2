// orna5ctl against orna5-sim over a real pseudo-terminal: every exchange runs
// on the real 55 ms tick, so these are the slow tests of the suite.

#include "Programs.h"
#include "files/MonitorLog.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include <csignal>

#include <algorithm>
#include <fstream>
#include <memory>

namespace orna5::e2e {
namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class CtlDevice : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(RunCtl({"new", "--bike", "24", "-o", ws.Path("vfr.ign")}).exitCode, 0);
        ASSERT_EQ(RunCtl({"normalise", ws.Path("vfr.ign"), "-o", ws.Path("vfr-n.ign")}).exitCode,
                  0);
        // The same parameters with one map cell changed.
        std::string changed = ws.Read("vfr.ign");
        const std::size_t at = changed.find("ADVANCE");
        ASSERT_NE(at, std::string::npos);
        changed.replace(changed.find("   10 ", at), 6, "   11 ");
        ws.Write("changed.ign", changed);
    }

    RunResult Program(const Simulator& sim, const char* file = "vfr.ign") {
        return RunCtl({"program", ws.Path(file), "--port", sim.Device()});
    }

    Workspace ws;
};

TEST_F(CtlDevice, ProgramThenReadGivesBackTheFile) {
    Simulator sim;
    ASSERT_FALSE(sim.Device().isEmpty());
    RunResult run = Program(sim);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "Program device:: OK")) << run.out;

    run = RunCtl({"read", "--port", sim.Device(), "-o", ws.Path("back.ign")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "Verify:: OK")) << run.out;
    EXPECT_EQ(ws.Read("back.ign"), ws.Read("vfr-n.ign"));

    run = RunCtl({"verify", ws.Path("vfr.ign"), "--port", sim.Device()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    run = RunCtl({"verify", ws.Path("changed.ign"), "--port", sim.Device()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.err, "Verify error!")) << run.err;
}

TEST_F(CtlDevice, AnotherProtocolVersionStopsBeforeAnyPage) {
    Simulator sim({"--protocol", "53"});
    const RunResult run = Program(sim);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.err, "Unmatched version of PC and Ignition programs!  PC-54, IGN-53"))
        << run.err;
    EXPECT_FALSE(Contains(run.out, ": OK"));
}

TEST_F(CtlDevice, SilentUnitFailsAndReadLeavesTheOutputAlone) {
    Simulator sim({"--silent"});
    RunResult run = Program(sim);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.err, "Program error!")) << run.err;

    ws.Write("keep.ign", "precious");
    run = RunCtl({"read", "--port", sim.Device(), "-o", ws.Path("keep.ign")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.err, "Read error!")) << run.err;
    EXPECT_EQ(ws.Read("keep.ign"), "precious");
}

// Every orna5ctl program keeps what the unit held before it in the history,
// and a failed verify prints what differs as diff would.
TEST_F(CtlDevice, ProgramKeepsWhatTheUnitHeldAndVerifySaysWhatDiffers) {
    Simulator sim;
    ASSERT_EQ(Program(sim, "changed.ign").exitCode, 0);
    RunResult run = Program(sim);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "Program device:: OK")) << run.out;

    run = RunCtl({"history"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 4u) << run.out;
    EXPECT_EQ(lines[0].rfind("1\t", 0), 0u) << lines[0];
    EXPECT_TRUE(Contains(lines[0], "\tprogrammed\tORN")) << lines[0];
    EXPECT_TRUE(Contains(lines[0], "vfr.ign")) << lines[0];
    EXPECT_TRUE(Contains(lines[1], "\tbefore program\t")) << lines[1];
    EXPECT_TRUE(Contains(lines[3], "\tbefore program\t")) << lines[3];

    // Before the second Program the unit held the changed parameters.
    ASSERT_EQ(RunCtl({"history", "export", "2", "-o", ws.Path("held.ign")}).exitCode, 0);
    EXPECT_EQ(RunCtl({"diff", ws.Path("held.ign"), ws.Path("changed.ign")}).exitCode, 0);
    EXPECT_EQ(RunCtl({"history", "show", "1"}).out, RunCtl({"show", ws.Path("vfr-n.ign")}).out);

    run = RunCtl({"verify", ws.Path("changed.ign"), "--port", sim.Device()});
    EXPECT_EQ(run.exitCode, 1);
    const RunResult diff = RunCtl({"diff", ws.Path("vfr-n.ign"), ws.Path("changed.ign")});
    ASSERT_FALSE(diff.out.empty());
    EXPECT_TRUE(Contains(run.err, "Verify error!\n" + diff.out)) << run.err;

    // Without the backup read only the programmed point is added.
    ASSERT_EQ(
        RunCtl({"program", ws.Path("changed.ign"), "--port", sim.Device(), "--no-backup"}).exitCode,
        0);
    EXPECT_EQ(Lines(RunCtl({"history"}).out).size(), 5u);
}

TEST_F(CtlDevice, MissingPortIsReportedWithTheReason) {
    const RunResult run = RunCtl({"verify", ws.Path("vfr.ign"), "--port", ws.Path("no-such-tty")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.err, "Com opening error!")) << run.err;
    EXPECT_TRUE(Contains(run.err, "no-such-tty")) << run.err;
    EXPECT_EQ(RunCtl({"verify", ws.Path("vfr.ign"), "--port", "COM99"}).exitCode, 1);
}

// Faults a line or a unit can show. Each is either ridden out by the resend
// rule or reported; a unit whose memory differs from the file never gets a
// success line.
TEST_F(CtlDevice, FaultsAreSurvivedOrReported) {
    struct Case {
        QStringList options;
        bool succeeds;
    };
    const Case cases[] = {
        {{"--drop", "2"}, true},  {{"--corrupt", "3"}, true},   {{"--bad-echo", "1"}, true},
        {{"--stray", "7"}, true}, {{"--bad-echo", "5"}, false}, {{"--bad-store", "150"}, false},
        {{"--drop", "5"}, false},
    };
    for (const Case& c : cases) {
        Simulator sim(c.options);
        const RunResult run = Program(sim);
        const std::string name = c.options.join(' ').toStdString();
        if (c.succeeds) {
            EXPECT_EQ(run.exitCode, 0) << name << ": " << run.err;
            EXPECT_TRUE(Contains(run.out, "Program device:: OK")) << name;
        } else {
            EXPECT_EQ(run.exitCode, 1) << name;
            EXPECT_FALSE(Contains(run.out, ": OK")) << name << ": " << run.out;
            EXPECT_TRUE(Contains(run.err, "error!")) << name << ": " << run.err;
        }
    }
}

TEST_F(CtlDevice, MonitorPrintsLiveDataAndCsv) {
    Simulator sim;
    const RunResult run =
        RunCtl({"monitor", "--port", sim.Device(), "--count", "3", "--csv", ws.Path("live.csv")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    int lines = 0;
    for (char ch : run.out) {
        lines += ch == '\n';
    }
    EXPECT_EQ(lines, 3) << run.out;
    EXPECT_TRUE(Contains(run.out, "RPM = ")) << run.out;
    EXPECT_TRUE(Contains(run.out, "U = ")) << run.out;
    // The log reads back as the window reads it: the unit it came from, the
    // map it ran on, and one row per frame printed.
    std::ifstream csv(ws.Path("live.csv").toStdString(), std::ios::binary);
    MonitorLog log;
    ASSERT_TRUE(ReadMonitorLog(csv, log)) << ws.Read("live.csv");
    EXPECT_EQ(log.Rows(), 3u);
    EXPECT_EQ(log.skippedLines, 0u);
    EXPECT_FALSE(log.header.unitVersion.empty());
    EXPECT_TRUE(log.header.hasMap);
    EXPECT_EQ(log.columns.front(), "rpm");
}

} // namespace
} // namespace orna5::e2e

namespace orna5::e2e {
namespace {

TEST(CtlDevicePulled, MonitorEndsWhenThePortDisappears) {
    Workspace ws;
    auto sim = std::make_unique<Simulator>();
    QProcess ctl;
    ctl.start(ORNA5CTL_PATH, {"monitor", "--port", sim->Device()});
    ASSERT_TRUE(ctl.waitForReadyRead(10000)); // the first live line
    sim.reset();                              // the emulated adapter is pulled out
    ASSERT_TRUE(ctl.waitForFinished(10000));
    EXPECT_EQ(ctl.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(ctl.exitCode(), 1);
    EXPECT_NE(ctl.readAllStandardError().toStdString().find("has disappeared"), std::string::npos);
}

} // namespace
} // namespace orna5::e2e

namespace orna5::e2e {
namespace {

// The unit is set up as the per-channel model with four outputs; the start-up
// parameters would show one advance line.
TEST(CtlDeviceMonitor, DecodesAgainstTheUnitsOwnParameters) {
    Workspace ws;
    ASSERT_EQ(RunCtl({"new", "--bike", "22", "-o", ws.Path("special.ign")}).exitCode, 0);
    // The line after the model holds method, lobes and outputs.
    std::string text = ws.Read("special.ign");
    const std::size_t line = text.find('\n', text.find("BIKE"));
    ASSERT_NE(line, std::string::npos) << text;
    const std::size_t end = text.find('\n', line + 1);
    const std::size_t outputs = text.find_last_of("0123456789", end);
    text[outputs] = '4';
    ws.Write("special.ign", text);

    Simulator sim({"--load", ws.Path("special.ign")});
    RunResult run = RunCtl({"monitor", "--port", sim.Device(), "--count", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "Advance 4 = ")) << run.out;
    EXPECT_TRUE(Contains(run.err, "Verify:: OK")) << run.err;
    EXPECT_FALSE(Contains(run.err, "QSocketNotifier")) << run.err;

    // Against a file instead, without reading the unit: the start-up
    // parameters give the single advance line.
    ASSERT_EQ(RunCtl({"new", "--bike", "20", "-o", ws.Path("r6.ign")}).exitCode, 0);
    run =
        RunCtl({"monitor", "--port", sim.Device(), "--count", "1", "--params", ws.Path("r6.ign")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "Advance = ")) << run.out;
    EXPECT_FALSE(Contains(run.err, "Read:")) << run.err;
}

TEST(CtlDeviceMonitor, FailedReadEndsWithStatusOne) {
    Simulator sim({"--silent"});
    const RunResult run = RunCtl({"monitor", "--port", sim.Device(), "--count", "1"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.err, "Read error!")) << run.err;
    EXPECT_TRUE(Contains(run.err, "could not be read")) << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
}

} // namespace
} // namespace orna5::e2e

namespace orna5::e2e {
namespace {

// Both rates print one line per frame; against a given parameter file the
// unit is not read, and nothing says "No connection" before its first frame.
TEST(CtlDeviceMonitor, RatesAndNoFalseNoConnection) {
    Workspace ws;
    ASSERT_EQ(RunCtl({"new", "--bike", "20", "-o", ws.Path("r6.ign")}).exitCode, 0);
    Simulator sim;
    struct Row {
        QStringList extra;
        int exitCode;
    };
    const Row rows[] = {
        {{"--rate", "standard"}, 0},
        {{"--rate", "fast"}, 0},
        {{"--rate", "fast", "--params", ws.Path("r6.ign")}, 0},
        {{"--rate", "turbo"}, 2},
    };
    for (const Row& row : rows) {
        const RunResult run =
            RunCtl(QStringList{"monitor", "--port", sim.Device(), "--count", "12"} + row.extra);
        ASSERT_EQ(run.exitCode, row.exitCode)
            << row.extra.join(' ').toStdString() << ": " << run.err;
        if (row.exitCode != 0)
            continue;
        EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 12) << run.out;
        EXPECT_FALSE(Contains(run.err, "No connection")) << run.err;
    }
}

// Ctrl+C during a Program lets it finish: the unit holds the whole file and
// orna5ctl then ends by the signal. A second one ends it at once.
TEST_F(CtlDevice, ASignalLetsTheProgramFinishASecondEndsAtOnce) {
    Simulator sim;
    ASSERT_FALSE(sim.Device().isEmpty());
    ASSERT_EQ(Program(sim).exitCode, 0);
    for (const bool twice : {false, true}) {
        SCOPED_TRACE(twice ? "twice" : "once");
        QProcess ctl;
        ctl.start(ORNA5CTL_PATH,
                  {"program", ws.Path(twice ? "vfr.ign" : "changed.ign"), "--port", sim.Device()});
        std::string out, err;
        const auto await = [&](const std::string& text, const std::string& part) {
            for (int i = 0; i < 200 && text.find(part) == std::string::npos; ++i) {
                ctl.waitForReadyRead(50);
                ctl.setReadChannel(QProcess::StandardOutput);
                out += ctl.readAll().toStdString();
                ctl.setReadChannel(QProcess::StandardError);
                err += ctl.readAll().toStdString();
            }
            return text.find(part) != std::string::npos;
        };
        ASSERT_TRUE(await(out, "Program device:")) << out << err;
        ::kill(static_cast<pid_t>(ctl.processId()), SIGINT);
        ASSERT_TRUE(await(err, "ending when")) << out << err;
        if (twice)
            ::kill(static_cast<pid_t>(ctl.processId()), SIGINT);
        ASSERT_TRUE(ctl.waitForFinished(20000));
        out += ctl.readAllStandardOutput().toStdString();
        EXPECT_EQ(ctl.exitStatus(), QProcess::CrashExit);
        EXPECT_EQ(Contains(out, "Program device:: OK"), !twice) << out;
        if (!twice) {
            EXPECT_EQ(RunCtl({"verify", ws.Path("changed.ign"), "--port", sim.Device()}).exitCode,
                      0);
        }
    }
}

} // namespace
} // namespace orna5::e2e
