#include "ride/PullComparison.h"

#include <gtest/gtest.h>

namespace orna5 {
namespace {

// A pull whose rate is `scale` times a flat 1000 rpm/s from 4000 to
// 8000 rpm.
Pull FlatPull(double scale, int gear = 2, std::size_t map = 0) {
    Pull pull;
    pull.gear = gear;
    pull.map = map;
    for (int rpm = 4000; rpm <= 8000; rpm += kRateBinRpm) {
        pull.rates.push_back({rpm, 1000 * scale});
    }
    return pull;
}

PullLog LogOf(std::vector<Pull> pulls, const LogHeader& map) {
    PullLog log;
    log.isLog = true;
    log.maps = {map};
    log.pulls = std::move(pulls);
    return log;
}

LogHeader Map(std::uint8_t advance) {
    LogHeader map;
    map.hasMap = true;
    map.tune = "0badf00d";
    for (std::size_t i = 0; i < kAxisPoints; ++i) {
        map.mapRpm[i] = static_cast<std::uint8_t>(10 + 10 * i);
    }
    map.advanceMap.fill(30);
    map.advanceMap[9 * kAxisPoints + 6] = advance; // 100 % throttle, 7000 rpm
    return map;
}

TEST(PullComparison, MeansBandsAndDifferencesAgainstTheFirstLog) {
    std::vector<PullLog> logs = {
        LogOf({FlatPull(0.99), FlatPull(1.01), FlatPull(0.5, 1)}, Map(30)),
        LogOf({FlatPull(1.04), FlatPull(1.06), FlatPull(2.0, 3)}, Map(32)),
        LogOf({FlatPull(0.95), FlatPull(1.10)}, Map(30)),
    };
    struct Case {
        const char* name;
        int gear;
        bool excludeLast; // of log 2's second-gear pulls
        double percent2;
        bool inside2;
        double percent3;
        bool inside3;
    };
    const Case cases[] = {
        {"second gear", 2, false, 5.0, false, 2.5, true},
        {"second gear, log 2's second pull left out", 2, true, 4.0, false, 2.5, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        logs[1].pulls[1].excluded = c.excludeLast;
        const PullComparison comparison = ComparePulls(logs, c.gear);
        ASSERT_EQ(comparison.logs.size(), 3u);
        EXPECT_EQ(comparison.rpms.front(), 4000);
        EXPECT_EQ(comparison.rpms.back(), 8000);
        EXPECT_EQ(comparison.logs[0].pulls, 2);
        const RateBand* band = comparison.Band(0, 6000);
        ASSERT_TRUE(band);
        EXPECT_DOUBLE_EQ(band->mean, 1000);
        EXPECT_DOUBLE_EQ(band->low, 990);
        EXPECT_DOUBLE_EQ(band->high, 1010);
        EXPECT_FALSE(comparison.Difference(0, 6000));
        // Differences at every 500 rpm only.
        EXPECT_EQ(comparison.logs[1].differences.size(), 9u);
        EXPECT_FALSE(comparison.Difference(1, 6250));
        for (int rpm = 4000; rpm <= 8000; rpm += kDifferenceStepRpm) {
            const RateDifference* second = comparison.Difference(1, rpm);
            const RateDifference* third = comparison.Difference(2, rpm);
            ASSERT_TRUE(second && third);
            EXPECT_NEAR(second->percent, c.percent2, 1e-9);
            EXPECT_EQ(second->insideBands, c.inside2);
            EXPECT_NEAR(third->percent, c.percent3, 1e-9);
            EXPECT_EQ(third->insideBands, c.inside3);
        }
    }
    // Every gear at once: the first-gear and third-gear pulls count too.
    EXPECT_EQ(ComparePulls(logs).logs[0].pulls, 3);
}

TEST(PullComparison, MapsThatDifferAreListedCellByCell) {
    LogHeader unknown;
    const std::vector<PullLog> logs = {
        LogOf({FlatPull(1)}, Map(30)),
        LogOf({FlatPull(1)}, Map(32)),
        LogOf({FlatPull(1)}, Map(30)),
        LogOf({FlatPull(1)}, unknown),
    };
    const PullComparison comparison = ComparePulls(logs);
    ASSERT_TRUE(comparison.logs[1].mapsKnown);
    ASSERT_EQ(comparison.logs[1].mapDifferences.size(), 1u);
    EXPECT_EQ(DifferenceLine(comparison.logs[1].mapDifferences[0]),
              "Advance Map: Advance at TPS 100%, rpm point 7: 30 deg -> 32 deg");
    EXPECT_TRUE(comparison.logs[2].mapsKnown);
    EXPECT_TRUE(comparison.logs[2].mapDifferences.empty());
    EXPECT_FALSE(comparison.logs[3].mapsKnown);
    EXPECT_EQ(comparison.logs[1].map.tune, "0badf00d");

    // A log whose pulls ran on two maps compares the first one's.
    PullLog twoMaps = LogOf({FlatPull(1, 2, 1), FlatPull(1, 2, 0)}, Map(30));
    twoMaps.maps.push_back(Map(32));
    const PullComparison several = ComparePulls({logs[0], twoMaps});
    EXPECT_TRUE(several.logs[1].severalMaps);
    EXPECT_EQ(several.logs[1].mapDifferences.size(), 1u);
}

} // namespace
} // namespace orna5
