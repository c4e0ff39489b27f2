#include "ride/PullFinder.h"
#include "RideLog.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orna5 {
namespace {

using test::RideLog;
using test::TorqueLike;

PullLog Find(const RideLog& ride, const PullRules& rules = {}) {
    PullLog log;
    PullFinder finder(log, rules);
    MonitorLogReader reader(finder);
    reader.Feed(ride.Text());
    reader.Finish();
    finder.Finish();
    return log;
}

// The rate found at each bin against the one the rpm was made from, over
// the part of the pull the goal speaks of: every bin 500 rpm or more inside
// its range on Fast rows, the middle two thirds of its range on Standard rows.
TEST(PullFinder, RatesFollowTheCurveTheRpmWasMadeFrom) {
    struct Case {
        const char* name;
        double rowSeconds;
        double peak; // rpm per second: first gear some 4000, a top gear some 700
        double tolerance;
        bool middleThirds;
        test::RateCurve rate;
    };
    const auto dipped = [](double peak) {
        // A torque dip at 6000 rpm, as an intake resonance gives.
        return [peak](double rpm) {
            const double d = (rpm - 6000) / 1500;
            return TorqueLike(peak)(rpm) * (1 - 0.1 * std::exp(-d * d));
        };
    };
    const Case cases[] = {
        {"Fast, first gear", 0.04, 4000, 0.05, false, TorqueLike(4000)},
        {"Fast, top gear", 0.04, 700, 0.05, false, TorqueLike(700)},
        {"Fast, a dip in the torque", 0.04, 2500, 0.05, false, dipped(2500)},
        {"Standard, first gear", 0.33, 4000, 0.10, true, TorqueLike(4000)},
        {"Standard, top gear", 0.33, 700, 0.10, true, TorqueLike(700)},
        {"Standard, a dip in the torque", 0.33, 2500, 0.10, true, dipped(2500)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RideLog ride(c.rowSeconds, 10);
        // Cruising, the throttle opened, a quick-shift into the next gear
        // (which rises at half the rate), the throttle closed.
        ride.Hold(2, 3000, 20)
            .Pull(11000, c.rate)
            .Move(8000, 0.1, 100)
            .Pull(11000, [&c](double rpm) { return c.rate(rpm) / 2; })
            .Hold(1, 9000, 0);
        const PullLog log = Find(ride);
        ASSERT_EQ(log.pulls.size(), 2u);
        const Pull& pull = log.pulls[0];
        EXPECT_NEAR(pull.lowRpm, 3000, 60);
        EXPECT_NEAR(pull.highRpm, 11000, c.rowSeconds * c.peak + 10);
        const double low =
            c.middleThirds ? pull.lowRpm + (pull.highRpm - pull.lowRpm) / 6 : pull.lowRpm + 500;
        const double high =
            c.middleThirds ? pull.highRpm - (pull.highRpm - pull.lowRpm) / 6 : pull.highRpm - 500;
        int checked = 0;
        for (const BinRate& bin : pull.rates) {
            EXPECT_EQ(bin.rpm % kRateBinRpm, 0);
            if (bin.rpm >= low && bin.rpm <= high) {
                ++checked;
                EXPECT_NEAR(bin.rate, c.rate(bin.rpm), c.tolerance * c.rate(bin.rpm))
                    << "at " << bin.rpm << " rpm";
            }
        }
        EXPECT_GE(checked, 15);
        EXPECT_NEAR(log.pulls[1].lowRpm, 8000, 200);
    }
}

// What makes a stretch a pull and what ends one.
TEST(PullFinder, ThePullRule) {
    const auto rate = TorqueLike(1500);
    struct Case {
        const char* name;
        RideLog ride;
        double minTps;
        std::vector<std::pair<double, double>> pulls; // lowest and highest rpm
    };
    const auto start = [] { return RideLog(0.04, 0).Hold(1, 3000, 0); };
    Case cases[] = {
        {"a rise of 1400 rpm", start().Pull(4400, rate).Hold(1, 4000, 0), 90, {}},
        {"a rise under a second", start().Pull(4600, TorqueLike(4000)).Hold(1, 4000, 0), 90, {}},
        {"the throttle at 85 %", start().Pull(6000, rate, 85).Hold(1, 4000, 0), 90, {}},
        {"the throttle at 85 %, full from 80 %", start().Pull(6000, rate, 85), 80, {{3000, 6000}}},
        {"a gap of 1.5 s",
         start().Pull(6000, rate).Gap(1.5).Pull(9000, rate),
         90,
         {{3000, 6000}, {6000, 9000}}},
        {"a gap of 0.9 s", start().Pull(6000, rate).Gap(0.9).Pull(9000, rate), 90, {{3000, 9000}}},
        {"a drop of 400 rpm",
         start().Pull(6000, rate).Move(5600, 0.1, 100).Pull(9000, rate),
         90,
         {{3000, 6000}, {5600, 9000}}},
        {"a dip of 200 rpm",
         start().Pull(6000, rate).Move(5800, 0.1, 100).Pull(9000, rate),
         90,
         {{3000, 9000}}},
        {"level for 1.5 s",
         start().Pull(6000, rate).Hold(1.5, 6000, 100).Pull(9000, rate),
         90,
         {{3000, 6000}, {6000, 9000}}},
        {"a glitched reading of 20000 rpm",
         start()
             .Pull(4000, TorqueLike(900))
             .Move(20000, 0.04, 100)
             .Move(4000, 0.04, 100)
             .Hold(1, 4000, 0),
         90,
         {}},
        {"a reading of 0 rpm within a pull",
         start().Pull(6000, rate).Move(0, 0.04, 100).Move(6000, 0.04, 100).Pull(9000, rate),
         90,
         {{3000, 9000}}},
        {"a reading of 0 rpm within a pull, on Standard rows",
         RideLog(0.33, 0)
             .Hold(1, 3000, 0)
             .Pull(6000, rate)
             .Move(0, 0.33, 100)
             .Move(6700, 0.33, 100)
             .Pull(9000, rate)
             .Hold(0.33, 9000, 100),
         90,
         {{3000, 9000}}},
        {"the throttle closed",
         start().Pull(6000, rate).Hold(0.1, 6000, 0).Pull(9000, rate),
         90,
         {{3000, 6000}, {6000, 9000}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PullRules rules;
        rules.minTps = c.minTps;
        const PullLog log = Find(c.ride, rules);
        ASSERT_EQ(log.pulls.size(), c.pulls.size());
        for (std::size_t i = 0; i < c.pulls.size(); ++i) {
            EXPECT_NEAR(log.pulls[i].lowRpm, c.pulls[i].first, 70) << i;
            EXPECT_NEAR(log.pulls[i].highRpm, c.pulls[i].second, 70) << i;
        }
    }
}

// A run from a stop through three gears, a roll-on in second after rolling
// off, and a start from a stop again; the second log's map programmed while
// recording is the map of the pull after it.
TEST(PullFinder, GearsFollowShiftsStopsAndLikeness) {
    const std::vector<double> gearRate = {4000, 2000, 1000};
    const auto inGear = [&gearRate](int gear) { return TorqueLike(gearRate[gear - 1]); };
    ParameterImage programmed{};
    programmed[field::advanceMap] = 33;
    std::ostringstream map;
    WriteLogMap(map, "2026-06-01T10:01:00.000+02:00", programmed);
    RideLog ride(0.04, 10);
    ride.Hold(2, 1200, 0)
        .Pull(10000, inGear(1))
        .Move(7000, 0.1, 100)
        .Pull(10000, inGear(2))
        .Move(7000, 0.1, 100)
        .Pull(10000, inGear(3))
        .Move(5000, 3, 0)
        .Pull(10000, inGear(2))
        .Move(1200, 4, 0)
        .Append(map.str())
        .Hold(2, 1200, 0)
        .Pull(9000, inGear(1));
    const PullLog log = Find(ride);
    ASSERT_EQ(log.pulls.size(), 5u);
    const std::vector<int> gears = {log.pulls[0].gear, log.pulls[1].gear, log.pulls[2].gear,
                                    log.pulls[3].gear, log.pulls[4].gear};
    EXPECT_EQ(gears, (std::vector<int>{1, 2, 3, 2, 1}));
    ASSERT_EQ(log.maps.size(), 2u);
    EXPECT_EQ(log.pulls[3].map, 0u);
    EXPECT_EQ(log.pulls[4].map, 1u);
    EXPECT_EQ(log.maps[1].advanceMap[0], 33);
}

} // namespace
} // namespace orna5
