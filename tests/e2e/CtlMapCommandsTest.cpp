// orna5ctl rebin and cells as a user runs them: real files, a real log from
// orna5-sim, real exit codes.

#include "Programs.h"
#include "files/MonitorLog.h"
#include "files/ParameterFile.h"
#include "params/BikePresets.h"
#include "params/TuneChecksum.h"

#include <gtest/gtest.h>

#include <QFile>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

namespace orna5::e2e {
namespace {

const QString kLowAxis = "500,1000,2000,3000,4000,5000,6000,8000,10000,12000";

std::vector<std::vector<std::string>> Table(const std::string& text, char separator) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::replace(line.begin(), line.end(), separator, ' ');
        std::istringstream words(line);
        auto& row = rows.emplace_back();
        for (std::string word; words >> word;)
            row.push_back(word);
    }
    return rows;
}

TEST(CtlMapCommands, RebinMovesTheAxisOrRefusesWithTheReason) {
    Workspace ws;
    const QString in = ORNA5_TEST_DATA "/startup.ign";
    const RunResult bad = RunCtl({"rebin", in, "--rpm",
                                  "500,1000,2000,3000,4000,5000,6000,8000,"
                                  "10000,9000",
                                  "-o", ws.Path("bad.ign")});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("must rise"), std::string::npos) << bad.err;
    EXPECT_FALSE(QFile::exists(ws.Path("bad.ign")));

    const RunResult run =
        RunCtl({"rebin", in, "--rpm", kLowAxis, "--servo-rpm",
                "1000,2000,3000,4000,5000,6000,7000,8000,9000,10000", "-o", ws.Path("low.ign")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ParameterImage image{};
    std::istringstream file(ws.Read("low.ign"));
    ASSERT_TRUE(ReadParameterFile(file, image));
    EXPECT_EQ(image[field::mapRpm], 5);
    EXPECT_EQ(image[field::mapRpm + 9], 120);
    EXPECT_EQ(image[field::servoRpm], 10);
    // The start-up map's first column (10°) stays where the old first point was.
    EXPECT_EQ(image[MapCell(9, 0)], 10);
    EXPECT_EQ(image[MapCell(9, 9)], 32);
}

// A log of the simulated engine taken on a map with a low axis: every frame
// lands in a cell of the log's own axis, with the throttle rows off all in
// the 100 % row.
TEST(CtlMapCommands, CellsOfALogFromTheSimulator) {
    Workspace ws;
    ASSERT_EQ(RunCtl({"rebin", ORNA5_TEST_DATA "/startup.ign", "--rpm", kLowAxis, "-o",
                      ws.Path("low.ign")})
                  .exitCode,
              0);
    Simulator sim;
    const RunResult monitor = RunCtl({"monitor", "--port", sim.Device(), "--count", "8", "--csv",
                                      ws.Path("ride.csv"), "--params", ws.Path("low.ign")});
    ASSERT_EQ(monitor.exitCode, 0) << monitor.err;
    MonitorLog log;
    ASSERT_TRUE(ReadMonitorLog(std::string_view(ws.Read("ride.csv")), log));
    ASSERT_EQ(log.Rows(), 8u);

    const RunResult text = RunCtl({"cells", ws.Path("ride.csv")});
    ASSERT_EQ(text.exitCode, 0) << text.err;
    const auto rows = Table(text.out, ' ');
    ASSERT_EQ(rows.size(), 11u) << text.out;
    EXPECT_EQ(rows[0], (std::vector<std::string>{"rpm", "500", "1000", "2000", "3000", "4000",
                                                 "5000", "6000", "8000", "10000", "12000"}));
    double sum = 0;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        ASSERT_EQ(rows[r].size(), 11u) << text.out;
        for (std::size_t c = 1; c < rows[r].size(); ++c) {
            const double seconds = std::stod(rows[r][c]);
            if (r < 10) {
                EXPECT_EQ(rows[r][c], "0.0") << text.out;
            }
            sum += seconds;
        }
    }
    EXPECT_EQ(rows[1][0], "0%");
    EXPECT_EQ(rows[10][0], "100%");
    // Every frame of the sweep lies above 500 rpm; a stall of the link
    // counts one second.
    double expected = 0;
    for (std::size_t row = 1; row < log.Rows(); ++row)
        expected += std::min(1.0, log.seconds[row] - log.seconds[row - 1]);
    EXPECT_NEAR(sum, expected, 0.55) << text.out;
    EXPECT_GT(sum, 1.0) << text.out;

    const RunResult csv = RunCtl({"cells", ws.Path("ride.csv"), "--csv"});
    ASSERT_EQ(csv.exitCode, 0) << csv.err;
    auto csvRows = Table(csv.out, ',');
    ASSERT_EQ(csvRows.size(), 11u) << csv.out;
    for (std::size_t r = 1; r < csvRows.size(); ++r)
        csvRows[r][0] += '%';
    EXPECT_EQ(csvRows, rows) << csv.out;

    const RunResult notALog = RunCtl({"cells", ws.Path("low.ign")});
    EXPECT_EQ(notALog.exitCode, 1);
    EXPECT_NE(notALog.err.find("not a data log"), std::string::npos) << notALog.err;
    EXPECT_TRUE(notALog.out.empty());
}

// The image orna5ctl reads a file over: what a file leaves out (the reserved
// bytes) is the start-up bike's.
ParameterImage ShownImage() {
    ParameterImage image{};
    image[field::bikeCode] = 20;
    bool chosenFromList = false;
    ApplyBikePreset(image, chosenFromList);
    return image;
}

std::string StartupFile() {
    std::ifstream in(ORNA5_TEST_DATA "/startup.ign", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// What cells says when a log holds little or nothing it can count: a table
// only when some row was counted, and always how many lines it skipped.
TEST(CtlMapCommands, CellsSaysWhatItCountedAndWhatItSkipped) {
    ParameterImage first{};
    ParameterImage second{};
    for (std::size_t i = 0; i < kAxisPoints; ++i) {
        first[field::mapRpm + i] = static_cast<std::uint8_t>(10 + 10 * i); // 1000..10000
        second[field::mapRpm + i] = static_cast<std::uint8_t>(5 + 5 * i);  // 500..5000
    }
    std::ostringstream header;
    WriteLogHeader(header, MakeLogHeader(first, "ORN12", "ride.ign"));
    std::ostringstream programmed;
    WriteLogMap(programmed, "2026-10-25T02:00:01.000+01:00", second);
    // 3000 rpm, throttle 0: a frame of the map's 100 % row with the rows off.
    const auto row = [](const std::string& time, const std::string& extra = {}) {
        return time + ",3000,13800,0" + std::string(19, ',') + extra + "\n";
    };
    struct Case {
        const char* name;
        std::string body;
        int exitCode;
        std::vector<std::string> err; // parts of stderr
    };
    const Case cases[] = {
        {"no rows", "", 1, {"no row of the log could be counted (it has none)"}},
        {"quoted times",
         row("\"2026-10-25T02:00:00.000+01:00\"") + row("\"2026-10-25T02:00:00.500+01:00\""),
         1,
         {"no row of the log could be counted", "2 lines skipped",
          "2 with a time that cannot be read"}},
        {"an extra field per row",
         row("2026-10-25T02:00:00.000+01:00", ",1") + row("2026-10-25T02:00:00.500+01:00", ",1"),
         1,
         {"no row of the log could be counted", "2 with more or fewer fields"}},
        {"no such date",
         row("2026-02-31T02:00:00.000+01:00") + row("2026-02-31T02:00:00.500+01:00"),
         1,
         {"2 with a time that cannot be read"}},
        {"some rows counted, one skipped",
         row("2026-10-25T02:00:00.000+01:00") + row("2026-10-25T02:00:00.500+01:00") +
             "2026-10-25T02:00:00.700+01:00,lots" + std::string(21, ',') + "\n",
         0,
         {"1 line skipped: 1 with a field that is not a number"}},
        {"the map programmed while recording",
         row("2026-10-25T02:00:00.000+01:00") + row("2026-10-25T02:00:00.500+01:00") +
             programmed.str() + row("2026-10-25T02:00:01.000+01:00") +
             row("2026-10-25T02:00:01.500+01:00"),
         0,
         {"the map was programmed 1 time"}},
    };
    Workspace ws;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ws.Write("log.csv", header.str() + c.body);
        const RunResult run = RunCtl({"cells", ws.Path("log.csv"), "--csv"});
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        for (const std::string& part : c.err)
            EXPECT_TRUE(Has(run.err, part)) << run.err;
        EXPECT_EQ(run.out.empty(), c.exitCode != 0) << run.out;
    }

    // The rows after the Program count against its axis, 3000 rpm in the
    // column of 3000 (the fifth); the one before it against the first map,
    // whose 3000 rpm column lies elsewhere. The table shows the last axis.
    const RunResult run = RunCtl({"cells", ws.Path("log.csv"), "--csv"});
    const auto rows = Table(run.out, ',');
    ASSERT_EQ(rows.size(), 11u) << run.out;
    EXPECT_EQ(rows[0][1], "500");
    EXPECT_EQ(rows[0][10], "5000");
    EXPECT_EQ(rows[10][5 + 1], "0.5") << run.out;
    double sum = 0;
    for (std::size_t c = 1; c < rows[10].size(); ++c)
        sum += std::stod(rows[10][c]);
    EXPECT_DOUBLE_EQ(sum, 1.5) << run.out;
}

TEST(CtlMapCommands, RebinSaysHowManyValuesItCut) {
    Workspace ws;
    // A rising curve read beyond its end is its end value: nothing to cut.
    RunResult run = RunCtl(
        {"rebin", ORNA5_TEST_DATA "/startup.ign", "--rpm", kLowAxis, "-o", ws.Path("low.ign")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_FALSE(Has(run.err, "cut")) << run.err;
    // Servo voltages at 0 mV, read anywhere, are below 20 mV: all ten cut.
    std::string text = StartupFile();
    ParameterImage image = ShownImage();
    std::istringstream in(text);
    ASSERT_TRUE(ReadParameterFile(in, image));
    for (std::size_t i = 0; i < kAxisPoints; ++i)
        image[field::servoMv + i] = 0;
    std::ostringstream file;
    WriteParameterFile(file, image);
    ws.Write("zero.ign", file.str());
    run = RunCtl({"rebin", ws.Path("zero.ign"), "--servo-rpm",
                  "1000,2000,3000,4000,5000,6000,7000,8000,9000,10000", "-o", ws.Path("out.ign")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Has(run.err, "--servo-rpm: 10 values were cut")) << run.err;
}

TEST(CtlMapCommands, ShowNamesTheTuneALogNames) {
    const RunResult run = RunCtl({"show", ORNA5_TEST_DATA "/startup.ign"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ParameterImage image = ShownImage();
    std::istringstream file(StartupFile());
    ASSERT_TRUE(ReadParameterFile(file, image));
    EXPECT_EQ(run.out.rfind("Tune: " + TuneChecksum(image) + "\n", 0), 0u) << run.out;
}

} // namespace
} // namespace orna5::e2e
