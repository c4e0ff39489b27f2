// Every fault of the line or the unit, through orna5ctl's program, verify and
// read against orna5-sim. The unit starts holding the parameters of vfr.ign;
// program writes changed.ign (one map cell apart), verify and read use
// vfr.ign. Each operation either ends in its success line with the unit
// holding what was sent, or in the error the resend rule leaves, and never
// both; a pulled cable is survived and the new device works at once.

#include "Programs.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace orna5::e2e {
namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

constexpr const char* kOk = "";
constexpr const char* kVersion = "Unmatched version of PC and Ignition programs!  PC-54, IGN-53";

// What each command must end in: kOk, or the text its error output carries.
struct Fault {
    const char* name;
    QStringList options;
    const char* program;
    const char* verify;
    const char* read;
};

// Test names print the fault by its name (the rest has padding bytes).
void PrintTo(const Fault& fault, std::ostream* out) {
    *out << fault.name;
}

const Fault kFaults[] = {
    {"none", {}, kOk, kOk, kOk},
    {"dropped_answers", {"--drop", "2"}, kOk, kOk, kOk},
    {"corrupt_check_bytes", {"--corrupt", "3"}, kOk, kOk, kOk},
    {"wrong_echo_once", {"--bad-echo", "1"}, kOk, kOk, kOk},
    {"wrong_echo_for_good", {"--bad-echo", "1000000"}, "Program error!", kOk, kOk},
    {"byte_stored_wrongly", {"--bad-store", "150"}, "Verify error!", kOk, kOk},
    {"stray_bytes", {"--stray", "7"}, kOk, kOk, kOk},
    {"silent_unit", {"--silent"}, "Program error!", "Verify error!", "Read error!"},
    // Verify starts at page 1 and never sees the version.
    {"other_protocol", {"--protocol", "53"}, kVersion, kOk, kVersion},
    {"answers_split_across_ticks", {"--split", "80"}, kOk, kOk, kOk},
    {"answers_at_line_speed", {"--paced"}, kOk, kOk, kOk},
    {"endless_garbage", {"--garbage"}, "Program error!", "Verify error!", "Read error!"},
    {"cable_pulled", {"--hangup-after", "2"}, "Program error!", "Verify error!", "Read error!"},
};

class CtlFaultMatrix : public ::testing::TestWithParam<Fault> {
protected:
    void SetUp() override {
        ASSERT_EQ(RunCtl({"new", "--bike", "24", "-o", ws.Path("vfr.ign")}).exitCode, 0);
        ASSERT_EQ(RunCtl({"normalise", ws.Path("vfr.ign"), "-o", ws.Path("vfr-n.ign")}).exitCode,
                  0);
        std::string changed = ws.Read("vfr.ign");
        const std::size_t at = changed.find("ADVANCE");
        ASSERT_NE(at, std::string::npos);
        changed.replace(changed.find("   10 ", at), 6, "   11 ");
        ws.Write("changed.ign", changed);
        // What a unit holds after a clean program of changed.ign.
        Simulator clean({"--load", ws.Path("vfr.ign")});
        ASSERT_EQ(RunCtl({"program", ws.Path("changed.ign"), "--port", clean.Device()}).exitCode,
                  0);
        programmed = clean.Memory();
        ASSERT_EQ(programmed.size(), 200u);
    }

    // Starts the unit with the fault and runs one command on it.
    RunResult Run(Simulator& sim, const QStringList& command) {
        QStringList arguments = command;
        arguments << "--port" << sim.Device();
        return RunCtl(arguments);
    }

    QStringList Options() const {
        return QStringList{"--load", ws.Path("vfr.ign")} + GetParam().options;
    }

    // The outcome the fault allows, and nothing else: a success line only
    // with exit status 0, an error only with 1, never a crash.
    void Expect(const RunResult& run, const char* error, const char* success) {
        ASSERT_TRUE(run.exitCode == 0 || run.exitCode == 1) << run.exitCode << run.err;
        if (*error == '\0') {
            EXPECT_EQ(run.exitCode, 0) << run.err;
            EXPECT_TRUE(Contains(run.out, success)) << run.out;
            EXPECT_FALSE(Contains(run.err, "error!")) << run.err;
        } else {
            EXPECT_EQ(run.exitCode, 1) << run.out;
            EXPECT_TRUE(Contains(run.err, error)) << run.err;
            EXPECT_FALSE(Contains(run.out, ": OK")) << run.out;
        }
    }

    // After a pulled cable the tool says so, and the same command on the
    // terminal that takes its place succeeds.
    void ExpectReopens(Simulator& sim, const RunResult& run, const QStringList& command) {
        if (!GetParam().options.contains("--hangup-after")) {
            return;
        }
        EXPECT_TRUE(Contains(run.err, "has disappeared")) << run.err;
        ASSERT_TRUE(sim.AwaitNewDevice());
        sim.Control("--clear");
        const RunResult again = Run(sim, command);
        EXPECT_EQ(again.exitCode, 0) << again.err;
        EXPECT_TRUE(Contains(again.out, ": OK")) << again.out;
    }

    Workspace ws;
    std::vector<int> programmed;
};

TEST_P(CtlFaultMatrix, Program) {
    Simulator sim(Options());
    ASSERT_FALSE(sim.Device().isEmpty());
    const QStringList command{"program", ws.Path("changed.ign")};
    const RunResult run = Run(sim, command);
    Expect(run, GetParam().program, "Program device:: OK");
    if (run.exitCode == 0) {
        sim.Control("--clear");
        EXPECT_EQ(sim.Memory(), programmed) << "a success line for a unit that differs";
    }
    ExpectReopens(sim, run, command);
}

TEST_P(CtlFaultMatrix, Verify) {
    Simulator sim(Options());
    ASSERT_FALSE(sim.Device().isEmpty());
    const QStringList command{"verify", ws.Path("vfr.ign")};
    const RunResult run = Run(sim, command);
    Expect(run, GetParam().verify, "Verify:: OK");
    ExpectReopens(sim, run, command);
}

TEST_P(CtlFaultMatrix, Read) {
    Simulator sim(Options());
    ASSERT_FALSE(sim.Device().isEmpty());
    ws.Write("out.ign", "precious");
    const QStringList command{"read", "-o", ws.Path("out.ign")};
    const RunResult run = Run(sim, command);
    Expect(run, GetParam().read, "Verify:: OK");
    // A failed read leaves the output file as it was.
    EXPECT_EQ(ws.Read("out.ign"), run.exitCode == 0 ? ws.Read("vfr-n.ign") : "precious");
    ExpectReopens(sim, run, command);
}

INSTANTIATE_TEST_SUITE_P(Faults, CtlFaultMatrix, ::testing::ValuesIn(kFaults),
                         [](const ::testing::TestParamInfo<Fault>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace orna5::e2e
