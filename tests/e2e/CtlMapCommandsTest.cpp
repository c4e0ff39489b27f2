// orna5ctl rebin and cells as a user runs them: real files, a real log from
// orna5-sim, real exit codes.

#include "Programs.h"
#include "files/MonitorLog.h"
#include "files/ParameterFile.h"

#include <gtest/gtest.h>

#include <QFile>

#include <algorithm>
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

} // namespace
} // namespace orna5::e2e
