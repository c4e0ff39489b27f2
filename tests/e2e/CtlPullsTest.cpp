// orna5ctl pulls as a user runs it: logs of two rides on two maps, the one
// engine gaining revs 5 % faster on the second.

#include "../ride/RideLog.h"
#include "Programs.h"
#include "params/TuneChecksum.h"

#include <gtest/gtest.h>

#include <regex>

namespace orna5::e2e {
namespace {

using test::RideLog;
using test::TorqueLike;

ParameterImage MapWith(std::uint8_t cell) {
    ParameterImage image;
    for (std::size_t i = 0; i < kAxisPoints; ++i) {
        image[field::mapRpm + i] = static_cast<std::uint8_t>(10 + 10 * i);
    }
    std::fill(image.begin() + field::advanceMap, image.begin() + field::advanceMap + 100, 30);
    image[MapCell(9, 6)] = cell;
    return image;
}

// Two rides from a stop through first and second gear.
std::string Rides(const ParameterImage& image, double scale) {
    RideLog ride(0.04, 10, image);
    for (int i = 0; i < 2; ++i) {
        ride.Hold(2, 1200, 0)
            .Pull(10000, TorqueLike(3000 * scale))
            .Move(7000, 0.1, 100)
            .Pull(10000, TorqueLike(1500 * scale))
            .Move(1200, 4, 0);
    }
    return ride.Text();
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(CtlPulls, ComparesTheRatesOfTwoLogsAndTheirMaps) {
    Workspace ws;
    ws.Write("before.csv", Rides(MapWith(30), 1.0));
    ws.Write("after.csv", Rides(MapWith(32), 1.05));
    const QString before = ws.Path("before.csv");
    const QString after = ws.Path("after.csv");

    const RunResult run = RunCtl({"pulls", before, after, "--gear", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Has(run.out, "Log 1: " + before.toStdString())) << run.out;
    EXPECT_TRUE(Has(run.out, "Tune: " + TuneChecksum(MapWith(32)))) << run.out;
    EXPECT_TRUE(Has(run.out, "Log 2 ran on another map than log 1")) << run.out;
    EXPECT_TRUE(Has(run.out, "  Advance Map: Advance at TPS 100%, rpm point 7: 30 deg -> 32 deg"))
        << run.out;
    // The two first-gear pulls of each log, then the rate table: a
    // difference of some +5 % every 500 rpm, beyond the pulls' spread.
    const std::regex pullLine(
        R"(^ +[13] +2026-06-01T10:00:\d\d\.\d{3}\+02:00 +\d+-\d+ +\d+\.\d +1$)");
    const std::regex rateLine(R"(^ *(\d+) .* \+(\d+\.\d) %\s+beyond the bands$)");
    int pulls = 0;
    int differences = 0;
    for (const std::string& line : Lines(run.out)) {
        std::smatch match;
        pulls += std::regex_match(line, pullLine);
        if (std::regex_match(line, match, rateLine)) {
            ++differences;
            EXPECT_EQ(std::stoi(match[1]) % 500, 0) << line;
            EXPECT_NEAR(std::stod(match[2]), 5, 2.5) << line;
        }
    }
    EXPECT_EQ(pulls, 4) << run.out;
    EXPECT_GE(differences, 10) << run.out;

    // --csv: a line per pull and bin; --gear 2 keeps the second-gear pulls,
    // numbered as in their log.
    const RunResult csv = RunCtl({"pulls", before, after, "--csv", "--gear", "2"});
    ASSERT_EQ(csv.exitCode, 0) << csv.err;
    const std::vector<std::string> lines = Lines(csv.out);
    ASSERT_GT(lines.size(), 40u) << csv.out;
    EXPECT_EQ(lines[0], "log,pull,rpm,rate");
    const std::regex csvLine(R"(^([12]),([24]),(\d+),(\d+\.\d)$)");
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(lines[i], match, csvLine)) << lines[i];
        EXPECT_EQ(std::stoi(match[3]) % 250, 0) << lines[i];
    }
}

TEST(CtlPulls, SaysWhyALogGivesNothing) {
    Workspace ws;
    ws.Write("idle.csv", RideLog(0.33, 0).Hold(20, 1200, 0).Text());
    ws.Write("half.csv", RideLog(0.04, 0).Hold(1, 3000, 0).Pull(9000, TorqueLike(2000), 80).Text());
    ws.Write("notes.txt", "rpm went up\n");
    struct Case {
        QStringList arguments;
        int exitCode;
        std::string err;
    };
    const Case cases[] = {
        {{"idle.csv"}, 1, "idle.csv: no pull: the rpm never rose by 1500 rpm"},
        {{"half.csv"}, 1, "with the throttle at or above 90 %"},
        {{"notes.txt", "half.csv"}, 1, "notes.txt: This file is not a data log."},
        {{"missing.csv"}, 1, "Open file error!"},
        {{"half.csv", "--min-tps", "0"}, 2, "--min-tps takes a whole number from 1 to 100"},
    };
    for (const Case& c : cases) {
        QStringList arguments{"pulls"};
        for (const QString& word : c.arguments) {
            arguments << (word.endsWith(".csv") || word.endsWith(".txt") ? ws.Path(word) : word);
        }
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const RunResult run = RunCtl(arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE(Has(run.err, c.err)) << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
    // Full throttle from 80 %: the pull is there.
    const RunResult run = RunCtl({"pulls", ws.Path("half.csv"), "--min-tps", "80", "--csv"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Has(run.out, "\n1,1,3000,")) << run.out;
}

} // namespace
} // namespace orna5::e2e
