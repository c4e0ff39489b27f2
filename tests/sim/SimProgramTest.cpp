#include "SimTestSupport.h"

#include "device/SerialLink.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>

#include <csignal>

using namespace orna5;
using orna5::test::App;
using orna5::test::Frame;
using orna5::test::RunUntil;

namespace {

// The build makes the program before these tests and names its path.
QString SimProgram() {
    return QStringLiteral(ORNA5SIM_PATH);
}

std::string StartSim(QProcess& sim, const QStringList& args) {
    sim.start(SimProgram(), args);
    if (!sim.waitForStarted(5000))
        return {};
    RunUntil([&] { return sim.canReadLine() || sim.state() != QProcess::Running; }, 5000);
    return sim.readLine().trimmed().toStdString();
}

} // namespace

TEST(SimProgram, ServesOnItsPrintedDeviceUntilTerminated) {
    App();
    ASSERT_TRUE(QFileInfo::exists(SimProgram())) << SimProgram().toStdString();
    for (int sig : {SIGTERM, SIGINT}) {
        QProcess sim;
        const std::string path = StartSim(sim, {"--protocol", "53"});
        ASSERT_EQ(path.rfind("/dev/", 0), 0u) << path;

        // Two opens in a row: the terminal stays usable between clients.
        for (int round = 0; round < 2; ++round) {
            SerialLink link;
            const PortOpenResult opened = link.Open(path);
            ASSERT_TRUE(opened.ok) << opened.reason;
            const auto poll = Frame(0x30);
            ASSERT_TRUE(link.Write(poll.data(), poll.size()));
            ASSERT_TRUE(RunUntil([&] { return link.BytesQueued() >= 102; }));
            std::uint8_t answer[102];
            ASSERT_EQ(link.Read(answer, sizeof answer), 102u);
            EXPECT_EQ(answer[0], 0xB0);
            EXPECT_EQ(answer[100], 53);
        }
        ::kill(static_cast<pid_t>(sim.processId()), sig);
        ASSERT_TRUE(sim.waitForFinished(5000));
        EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(sim.exitCode(), 0);
    }
}

TEST(SimProgram, RejectsBadOptions) {
    App();
    ASSERT_TRUE(QFileInfo::exists(SimProgram())) << SimProgram().toStdString();
    for (const QStringList& args :
         {QStringList{"--bad-store", "200"}, QStringList{"--drop"}, QStringList{"--whatever"},
          QStringList{"--split", "0"}, QStringList{"--hangup-after", "x"},
          // A byte outside the 200 of memory, or a value beyond a byte.
          QStringList{"--set", "200=1"}, QStringList{"--set", "5=256"}, QStringList{"--set", "5"},
          QStringList{"--set", "=1"}, QStringList{"--set"}}) {
        QProcess sim;
        sim.start(SimProgram(), args);
        ASSERT_TRUE(sim.waitForFinished(5000));
        EXPECT_EQ(sim.exitCode(), 2) << args.join(' ').toStdString();
    }
    QProcess missing;
    missing.start(SimProgram(), {"--load", "/nonexistent/file.ign"});
    ASSERT_TRUE(missing.waitForFinished(5000));
    EXPECT_EQ(missing.exitCode(), 1);
    EXPECT_TRUE(missing.readAllStandardError().contains("No such file"));
}

// Faults set on standard input while it runs; a control line it cannot
// read changes nothing and the unit goes on serving.
TEST(SimProgram, TakesFaultsAndDumpsFromStandardInput) {
    App();
    QProcess sim;
    sim.start(SimProgram(), {});
    ASSERT_TRUE(sim.waitForReadyRead(10000));
    const std::string path = sim.readLine().trimmed().toStdString();
    sim.write("--nonsense\n--silent\n");
    SerialLink link;
    ASSERT_TRUE(link.Open(path).ok);
    const auto poll = Frame(0x30);
    ASSERT_TRUE(RunUntil([&] { return sim.readAllStandardError().contains("--nonsense"); }));
    ASSERT_TRUE(link.Write(poll.data(), poll.size()));
    RunUntil([] { return false; }, 300);
    EXPECT_EQ(link.BytesQueued(), 0u); // silent now

    sim.write("--dump\n");
    ASSERT_TRUE(RunUntil([&] { return sim.canReadLine(); }));
    const QList<QByteArray> memory = sim.readLine().trimmed().split(' ');
    ASSERT_EQ(memory.size(), 201);
    EXPECT_EQ(memory[0], "memory:");
    EXPECT_EQ(memory[1], "20"); // the start-up model

    sim.write("--clear\n");
    ASSERT_TRUE(RunUntil([&] {
        link.Write(poll.data(), poll.size());
        return link.BytesQueued() >= 102;
    }));
    sim.terminate();
    ASSERT_TRUE(sim.waitForFinished(5000));
}
