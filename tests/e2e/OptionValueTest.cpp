// An option's value comes as "--name X" or as "--name=X" in orna5ctl and
// orna5-sim alike (the window's own parse has a test beside the window's).

#include "Programs.h"

#include <gtest/gtest.h>

namespace orna5::e2e {
namespace {

struct Row {
    bool ctl; // else orna5-sim
    QStringList arguments;
    int exitCode;
    const char* err; // part of the error output, or empty
};

TEST(OptionValue, SpacedAndJoinedFormsMeanTheSame) {
    Simulator sim;
    ASSERT_FALSE(sim.Device().isEmpty());
    Workspace ws;
    const QString dev = sim.Device();
    const QString out = ws.Path("back.ign");
    const Row rows[] = {
        {true, {"read", "--port", dev, "-o", out}, 0, ""},
        {true, {"read", "--port=" + dev, "-o", out}, 0, ""},
        {true, {"monitor", "--port=" + dev, "--count=1", "--params=" + out}, 0, ""},
        {true, {"read", "--port=" + ws.Path("none"), "-o", out}, 1, "Com opening error"},
        {true, {"read", "-o", out, "--port"}, 2, "--port needs a value"},
        {true, {"read", "--port", dev, "--out=x"}, 2, "unknown option --out=x"},
        {false, {"--drop", "3", "--help"}, 0, ""},
        {false, {"--drop=3", "--help"}, 0, ""},
        {false, {"--bad-store=200", "--help"}, 2, "--bad-store needs an offset 0..199"},
        {false, {"--help", "--drop"}, 2, "--drop needs a count"},
    };
    for (const Row& row : rows) {
        const RunResult run = RunProgram(row.ctl ? ORNA5CTL_PATH : ORNA5SIM_PATH, row.arguments);
        const std::string said = row.arguments.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, row.exitCode) << said << "\n" << run.err;
        EXPECT_NE(run.err.find(row.err), std::string::npos) << said << "\n" << run.err;
    }
}

} // namespace
} // namespace orna5::e2e
