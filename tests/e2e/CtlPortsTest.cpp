// orna5ctl ports and --port auto against emulated units: the Com items are
// pointed at pseudo-terminals through the settings file, the rest at paths
// that do not exist, so the machine's own serial devices take no part.

#include "Programs.h"

#include <gtest/gtest.h>

#include <QDir>

#include <sstream>

namespace orna5::e2e {
namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The line of orna5ctl ports for Com `number`, after the item's name, with
// the columns' padding taken out: "/dev/pts/3 present no answer".
std::string LineOf(const std::string& out, int number) {
    const std::string name = "Com " + std::to_string(number) + " ";
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind(name, 0) != 0)
            continue;
        std::istringstream words(line.substr(name.size()));
        std::string word, joined;
        while (words >> word)
            joined += (joined.empty() ? "" : " ") + word;
        return joined;
    }
    return {};
}

class CtlPorts : public ::testing::Test {
protected:
    // Com 1 and Com 2 on the given devices, every other item on nothing.
    void PointComItems(const QString& com1, const QString& com2) {
        QDir().mkpath(ws.Path("config/orna5"));
        std::string ini =
            "[PORTS]\nCom1=" + com1.toStdString() + "\nCom2=" + com2.toStdString() + "\n";
        for (int n = 3; n <= 21; ++n)
            ini += "Com" + std::to_string(n) + "=" + ws.Path("none").toStdString() +
                   std::to_string(n) + "\n";
        ws.Write("config/orna5/orna5.ini", ini);
    }

    Workspace ws;
};

TEST_F(CtlPorts, ProbeAndAutoPassTheSilentDeviceAndTakeTheUnit) {
    Simulator silent({"--silent"});
    Simulator unit;
    PointComItems(silent.Device(), unit.Device());

    RunResult run = RunCtl({"ports"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(LineOf(run.out, 1), silent.Device().toStdString() + " present") << run.out;
    EXPECT_EQ(LineOf(run.out, 3), ws.Path("none3").toStdString() + " not present") << run.out;
    EXPECT_FALSE(Contains(run.out, "answer"));

    run = RunCtl({"ports", "--probe"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(LineOf(run.out, 1), silent.Device().toStdString() + " present no answer") << run.out;
    EXPECT_EQ(LineOf(run.out, 2), unit.Device().toStdString() + " present answers ORN12")
        << run.out;
    EXPECT_EQ(LineOf(run.out, 3), ws.Path("none3").toStdString() + " not present") << run.out;

    run = RunCtl({"read", "--port", "auto", "-o", ws.Path("unit.ign")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.err, "using " + unit.Device().toStdString() + " (Com 2)")) << run.err;
    EXPECT_FALSE(ws.Read("unit.ign").empty());
}

TEST_F(CtlPorts, NothingAnsweringFailsAndNamesTheDevicesTried) {
    Simulator silent({"--silent"});
    PointComItems(silent.Device(), ws.Path("gone"));

    RunResult run = RunCtl({"ports", "--probe"});
    EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
    EXPECT_TRUE(Contains(LineOf(run.out, 1), "no answer")) << run.out;

    run = RunCtl({"read", "--port", "auto", "-o", ws.Path("unit.ign")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.err, "no unit answered")) << run.err;
    EXPECT_TRUE(Contains(run.err, silent.Device().toStdString() + "  no answer")) << run.err;
    EXPECT_TRUE(ws.Read("unit.ign").empty());
}

} // namespace
} // namespace orna5::e2e
