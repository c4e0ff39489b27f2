#include "lang/TextTable.h"
#include "params/ParameterImage.h"
#include "timing/TimingCheck.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace orna5 {
namespace {

// Points at `rpms` where the unit reports 20° on channel 1 and the strobe
// shows 20° + difference(rpm).
std::vector<TimingPoint> Points(const std::vector<int>& rpms,
                                const std::function<double(int)>& difference) {
    std::vector<TimingPoint> points;
    for (int rpm : rpms) {
        TimingPoint point;
        point.rpm = rpm;
        point.unit[0] = 20;
        point.strobe = 20 + difference(rpm);
        points.push_back(point);
    }
    return points;
}

const std::vector<int> kSweep{1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000};

struct DriftCase {
    const char* fault; // what a wrong answer would mean
    std::vector<TimingPoint> points;
    DriftKind kind;
    double slope;
    double mean;
    const char* english;
};

TEST(DriftTest, SlopeAndOffsetFromTablesOfPoints) {
    const std::vector<DriftCase> cases{
        {"a lag that grows with rpm read as its sign turned over",
         Points(kSweep, [](int rpm) { return -0.6 * (rpm - 1000) / 1000.0; }), DriftKind::Drift,
         -0.6, -2.4,
         "the engine gets 0.6° less per 1000 rpm than the unit reports: pick-up lag or trigger "
         "offset"},
        {"a growing advance named as less",
         Points(kSweep, [](int rpm) { return 0.3 * rpm / 1000.0 - 1.5; }), DriftKind::Drift, 0.3,
         0.0,
         "the engine gets 0.3° more per 1000 rpm than the unit reports: pick-up lag or trigger "
         "offset"},
        {"a constant offset taken for a drift", Points(kSweep, [](int) { return -1.5; }),
         DriftKind::Constant, 0.0, -1.5,
         "the engine gets 1.5° less than the unit reports at every speed: a constant offset "
         "(pick-up position or timing marks)"},
        {"reading noise of half a degree named as a fault",
         Points(kSweep, [](int rpm) { return (rpm / 1000) % 2 ? 0.5 : -0.5; }), DriftKind::Agrees,
         0.0, 0.5 / 9, "the engine gets what the unit reports (within 1°)"},
        {"a change of exactly one degree over the span not named",
         Points({1000, 5000}, [](int rpm) { return rpm == 1000 ? 0.0 : -1.0; }), DriftKind::Drift,
         -0.25, -0.5,
         "the engine gets 0.3° less per 1000 rpm than the unit reports: pick-up lag or trigger "
         "offset"},
        {"a change just under one degree named as a drift",
         Points({1000, 5000}, [](int rpm) { return rpm == 1000 ? 0.0 : -0.9; }), DriftKind::Agrees,
         -0.225, -0.45, "the engine gets what the unit reports (within 1°)"},
        {"a mean difference of exactly one degree not named",
         Points({2000, 6000}, [](int) { return 1.0; }), DriftKind::Constant, 0.0, 1.0,
         "the engine gets 1.0° more than the unit reports at every speed: a constant offset "
         "(pick-up position or timing marks)"},
        {"a mean just under one degree named as an offset",
         Points({2000, 6000}, [](int) { return -0.95; }), DriftKind::Agrees, 0.0, -0.95,
         "the engine gets what the unit reports (within 1°)"},
        {"readings all at one speed dividing by zero or inventing a slope",
         Points({3000, 3000, 3000}, [](int) { return -2.0; }), DriftKind::Constant, 0.0, -2.0,
         "the engine gets 2.0° less than the unit reports at every speed: a constant offset "
         "(pick-up position or timing marks)"},
        {"one reading made into a line", Points({3000}, [](int) { return -2.0; }),
         DriftKind::TooFew, 0.0, 0.0, "at least two strobe readings are needed"},
        {"no readings at all made into a verdict",
         {},
         DriftKind::TooFew,
         0.0,
         0.0,
         "at least two strobe readings are needed"},
    };
    for (const DriftCase& c : cases) {
        SCOPED_TRACE(c.fault);
        const Drift drift = DriftOf(c.points, 1);
        EXPECT_EQ(drift.kind, c.kind);
        EXPECT_NEAR(drift.slopePer1000, c.slope, 1e-9);
        EXPECT_NEAR(drift.meanDifference, c.mean, 1e-9);
        EXPECT_FALSE(std::isnan(drift.offset));
        EXPECT_EQ(DriftText(drift, English), c.english);
    }
}

// A point without a strobe reading, or without the compared unit figure,
// is no reading: the verdict must not be drawn from half a point.
TEST(DriftTest, OnlyPointsWithBothReadingsCount) {
    std::vector<TimingPoint> points = Points({1000, 2000, 3000}, [](int) { return -3.0; });
    points[1].strobe.reset();
    points[2].unit[0].reset();
    points[2].unit[1] = 17; // another channel: not the compared one
    EXPECT_EQ(DriftOf(points, 1).kind, DriftKind::TooFew);
    EXPECT_EQ(DriftOf(points, 1).readings, 1);
}

struct ChannelCase {
    const char* fault;
    int channel;
    std::optional<double> figure;
};

TEST(DriftTest, TheComparedFigureIsTheChosenChannelOrTheLargest) {
    TimingPoint point;
    point.unit = {std::nullopt, 18.5, 21.0, std::nullopt};
    const std::vector<ChannelCase> cases{
        {"an unused channel given a figure", 1, std::nullopt},
        {"channel 2 read from another byte", 2, 18.5},
        {"channel 4 read past the channels in use", 4, std::nullopt},
        {"the single figure not the largest channel in use, as the display shows it", kUnitFigure,
         21.0},
    };
    for (const ChannelCase& c : cases) {
        SCOPED_TRACE(c.fault);
        EXPECT_EQ(UnitFigure(point, c.channel), c.figure);
    }
}

TEST(DriftTest, NumbersInTheVerdictFollowTheLanguage) {
    const struct {
        const char* fault;
        double degrees;
        int language;
        const char* text;
    } cases[] = {
        {"a point in a German text", 0.6, German, "0,6"},
        {"a comma in an English text", 0.6, English, "0.6"},
        {"a small slope shown as nothing", 0.04, English, "0.04"},
        {"a whole number without its decimal", 2.0, Czech, "2,0"},
        {"rounding half a tenth down", 1.25, French, "1,3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        EXPECT_EQ(DegreesText(c.degrees, c.language), c.text);
    }
    Drift drift;
    drift.kind = DriftKind::Drift;
    drift.slopePer1000 = -0.6;
    EXPECT_EQ(DriftText(drift, German),
              "der Motor bekommt je 1000 U/min 0,6° weniger, als die Zündung meldet: Geberverzug "
              "oder Triggerversatz");
}

TEST(DriftTest, DefaultPointsRunFromIdleToBelowTheLimiter) {
    const struct {
        const char* fault;
        int firstAxis; // rpm / 100
        int limiter;   // rpm / 100
        std::vector<int> rpms;
    } cases[] = {
        {"the map's idle point ignored", 12, 60, {1200, 2000, 3000, 4000, 5000}},
        {"a first axis point far below idle taken as idle", 3, 45, {1000, 2000, 3000, 4000}},
        {"a first axis point far above idle taken as idle", 30, 50, {1000, 2000, 3000, 4000}},
        {"a point offered at the limiter, where the spark is cut",
         10,
         50,
         {1000, 2000, 3000, 4000}},
        {"no points with a limiter below idle",
         10,
         0,
         {1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        ParameterImage image;
        image[field::mapRpm] = static_cast<std::uint8_t>(c.firstAxis);
        image[field::limiterRpm] = static_cast<std::uint8_t>(c.limiter);
        EXPECT_EQ(DefaultCheckRpms(image), c.rpms);
    }
}

} // namespace
} // namespace orna5
