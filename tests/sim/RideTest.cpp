#include "SimTestSupport.h"

#include "files/MonitorLog.h"
#include "ride/PullComparison.h"
#include "sim/UnitEmulator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

namespace orna5 {
namespace {

// A minute of the emulator's ride, polled at the Fast rate and logged as
// orna5ctl monitor logs it, on the start-up parameters with the map set to
// the engine's best advance moved by `offset` degrees.
PullLog RideOnMap(int offset) {
    UnitEmulator unit;
    UnitEmulator::Memory memory = unit.StoredBytes();
    for (std::size_t row = 0; row < kMapRows; ++row) {
        for (std::size_t column = 0; column < kAxisPoints; ++column) {
            const double best = RideModel::BestAdvance(memory[field::mapRpm + column] * 100.0);
            memory[MapCell(row, column)] =
                static_cast<std::uint8_t>(std::clamp(std::lround(best) + offset, 0L, 60L));
        }
    }
    unit.SetStoredBytes(memory);
    ParameterImage image;
    std::copy(memory.begin(), memory.end(), image.begin());
    std::ostringstream text;
    WriteLogHeader(text, MakeLogHeader(image, "ORN12", "ride.ign"));

    double now = 0;
    unit.Engine().StartRide([&now] { return now; });
    LogTime time;
    ParseLogTime("2026-06-01T10:00:00.000+02:00", time);
    for (int poll = 0; poll < 1500; ++poll) {
        now += 0.04;
        time.millis += 40;
        const std::vector<std::uint8_t> frame = unit.Feed(test::Frame(0x30));
        text << LogRow(frame.data(), FormatLogTime(time)) << '\n';
    }
    PullLog log;
    MonitorLog read;
    ReadMonitorLog(std::string_view(text.str()), read);
    FindPulls(read, log);
    return log;
}

TEST(Ride, AMapAtTheBestAdvanceGainsRevsFasterThanOneTenDegreesOff) {
    const std::vector<PullLog> logs = {RideOnMap(0), RideOnMap(-10)};
    // Pulls from a stop through the four gears, ride after ride.
    ASSERT_GE(logs[0].pulls.size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(logs[0].pulls[i].gear, static_cast<int>(i % 4 + 1)) << i;
    }
    for (int gear = 1; gear <= RideModel::kGears; ++gear) {
        SCOPED_TRACE(gear);
        const PullComparison comparison = ComparePulls(logs, gear);
        ASSERT_GE(comparison.logs[1].differences.size(), 3u);
        for (const RateDifference& difference : comparison.logs[1].differences) {
            EXPECT_LT(difference.percent, -5) << difference.rpm;
            EXPECT_FALSE(difference.insideBands) << difference.rpm;
        }
        EXPECT_FALSE(comparison.logs[1].mapDifferences.empty());
    }
}

} // namespace
} // namespace orna5
