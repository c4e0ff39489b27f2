// orna5ctl's file commands as a user runs them: real files, real exit codes.

#include "Programs.h"

#include "files/ParameterFile.h"
#include "params/ParameterImage.h"

#include <gtest/gtest.h>

#include <QFile>

#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace orna5::e2e {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ParameterImage ImageOf(const std::string& text) {
    ParameterImage image{};
    std::istringstream in(text);
    EXPECT_TRUE(ReadParameterFile(in, image));
    return image;
}

TEST(CtlFileCommands, NewWritesTheStartupFileByteForByte) {
    Workspace ws;
    const RunResult run = RunCtl({"new", "--bike", "20", "-o", ws.Path("r6.ign")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ws.Read("r6.ign"), ReadFile(ORNA5_TEST_DATA "/startup.ign"));
}

// The model without a preset keeps the start-up set-up, as File > New does.
TEST(CtlFileCommands, NewForTheSpecialSettingStartsFromTheStartupParameters) {
    Workspace ws;
    ASSERT_EQ(RunCtl({"new", "--bike", "22", "-o", ws.Path("special.ign")}).exitCode, 0);
    const ParameterImage special = ImageOf(ws.Read("special.ign"));
    const ParameterImage startup = ImageOf(ReadFile(ORNA5_TEST_DATA "/startup.ign"));
    EXPECT_EQ(special[field::bikeCode], 22);
    EXPECT_EQ(special[field::lobeCount], startup[field::lobeCount]);
    EXPECT_EQ(special[field::outputCount], startup[field::outputCount]);
    EXPECT_GE(special[field::lobeCount], 1);
    EXPECT_GE(special[field::outputCount], 1);
}

// A FIFO named as the input is refused at once instead of waiting for a
// writer that never comes.
TEST(CtlFileCommands, ShowRefusesWhatIsNotARegularFile) {
    Workspace ws;
    const QString fifo = ws.Path("pipe.ign");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const RunResult run = RunCtl({"show", fifo});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Open file error!"), std::string::npos);
    EXPECT_NE(run.err.find("not a regular file"), std::string::npos);
}

TEST(CtlFileCommands, NewRefusesModelCodesOutsideTheList) {
    Workspace ws;
    for (const char* code : {"32", "-1", "abc", ""}) {
        const RunResult run = RunCtl({"new", "--bike", code, "-o", ws.Path("x.ign")});
        EXPECT_EQ(run.exitCode, 2) << code;
        EXPECT_FALSE(QFile::exists(ws.Path("x.ign")));
    }
    EXPECT_EQ(RunCtl({"new", "-o", ws.Path("x.ign")}).exitCode, 2);
    EXPECT_EQ(RunCtl({"frobnicate"}).exitCode, 2);
    EXPECT_EQ(RunCtl({"--help"}).exitCode, 0);
}

TEST(CtlFileCommands, NormaliseReportsUnreadableFilesAndWritesNothing) {
    Workspace ws;
    RunResult run = RunCtl({"normalise", ws.Path("missing.ign"), "-o", ws.Path("out.ign")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Open file error!"), std::string::npos);
    EXPECT_FALSE(QFile::exists(ws.Path("out.ign")));

    ws.Write("old.ign", "KAMBRIX_KEY 53\r\nBIKE 3\r\n");
    run = RunCtl({"normalise", ws.Path("old.ign"), "-o", ws.Path("out.ign")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Unmatched version of *.ign file!"), std::string::npos);
    EXPECT_FALSE(QFile::exists(ws.Path("out.ign")));
}

TEST(CtlFileCommands, NormaliseReadsOverTheStartupImageAndLimitsIt) {
    Workspace ws;
    // Only the limiter and a falling rpm axis: the rest comes from the
    // start-up image, the axis is made rising.
    ws.Write("part.ign", "KAMBRIX_KEY 54\nLIMITER 120\n"
                         "RPM_ADV 5000 4000 4000 6000 7000 8000 9000 10000 11000 12000");
    const RunResult run = RunCtl({"normalise", ws.Path("part.ign"), "-o", ws.Path("out.ign")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const ParameterImage out = ImageOf(ws.Read("out.ign"));
    const ParameterImage startup = ImageOf(ReadFile(ORNA5_TEST_DATA "/startup.ign"));
    EXPECT_EQ(out[field::limiterRpm], 120);
    EXPECT_EQ(out[field::mapRpm + 0], 50);
    EXPECT_EQ(out[field::mapRpm + 1], 51);
    EXPECT_EQ(out[field::mapRpm + 2], 52);
    EXPECT_EQ(out[field::mapRpm + 3], 60);
    EXPECT_EQ(out[field::bikeCode], startup[field::bikeCode]);
    for (std::size_t i = field::advanceMap; i < kTransferSize; ++i) {
        EXPECT_EQ(out[i], startup[i]) << i;
    }
}

TEST(CtlFileCommands, ShowAndDiffSpeakInUserUnits) {
    Workspace ws;
    ASSERT_EQ(RunCtl({"new", "--bike", "20", "-o", ws.Path("a.ign")}).exitCode, 0);
    ASSERT_EQ(RunCtl({"new", "--bike", "24", "-o", ws.Path("b.ign")}).exitCode, 0);

    RunResult run = RunCtl({"show", ws.Path("a.ign")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Yamaha R6"), std::string::npos);
    EXPECT_NE(run.out.find("11000 rpm"), std::string::npos); // limiter 110
    EXPECT_NE(run.out.find("3790 mV"), std::string::npos);   // TPS 100 % byte 129
    EXPECT_NE(run.out.find("[Advance Map]"), std::string::npos);
    EXPECT_NE(run.out.find("  1500  2000  3000"), std::string::npos); // rpm axis across

    run = RunCtl({"diff", ws.Path("a.ign"), ws.Path("a.ign")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.empty()) << run.out;

    run = RunCtl({"diff", ws.Path("a.ign"), ws.Path("b.ign")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("Number of lobes: 5 -> 11"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Honda VFR 750"), std::string::npos);

    EXPECT_EQ(RunCtl({"diff", ws.Path("a.ign"), ws.Path("none.ign")}).exitCode, 2);
}

} // namespace
} // namespace orna5::e2e
