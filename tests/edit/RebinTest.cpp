// A new rpm axis under the same curves.

#include "edit/MapBlockCommands.h"

#include <gtest/gtest.h>

namespace orna5 {
namespace {

using Curve = std::array<int, 10>;

constexpr RpmPoints kEvenAxis = {1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000};

ParameterImage CurveImage(const Curve& values) {
    ParameterImage image{};
    for (std::size_t i = 0; i < kAxisPoints; ++i) {
        image[field::mapRpm + i] = image[field::servoRpm + i] =
            static_cast<std::uint8_t>(kEvenAxis[i] / 100);
        image[field::servoMv + i] = static_cast<std::uint8_t>(values[i]);
        for (std::size_t row = 0; row < kMapRows; ++row)
            image[MapCell(row, i)] = static_cast<std::uint8_t>(values[i]);
    }
    return image;
}

TEST(Rebin, ReadsTheOldCurveAtTheNewPoints) {
    struct Case {
        const char* name;
        bool servo;
        Curve old;
        RpmPoints points;
        Curve expected;
        bool clipped;
    };
    const Curve curve = {10, 13, 16, 25, 28, 32, 33, 33, 31, 30};
    const Case cases[] = {
        {"the same axis keeps the curve", false, curve, kEvenAxis, curve, false},
        // 300 and 1000 at or below the first point, 10000..20000 at or above
        // the last; 1500 is 11.5, 2100 is 13.3, 2500 is 14.5 and 9500 is 30.5
        // (halves away from zero); 8500 lies on the line at 32.
        {"ends, lines between points and rounding",
         false,
         curve,
         {300, 1000, 1500, 2100, 2500, 8500, 9500, 10000, 15000, 20000},
         {10, 10, 12, 13, 15, 32, 31, 30, 30, 30},
         false},
        {"advance kept within 0..60",
         false,
         {70, 13, 16, 25, 28, 32, 33, 33, 31, 90},
         {300, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 12000},
         {60, 13, 16, 25, 28, 32, 33, 33, 31, 60},
         true},
        // Servo units of 20 mV: 2500 rpm lies half way between 105 and 110.
        {"servo rounded to its step",
         true,
         {100, 105, 110, 115, 120, 125, 130, 135, 140, 145},
         {1000, 2500, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000},
         {100, 108, 110, 115, 120, 125, 130, 135, 140, 145},
         false},
        {"servo kept within 20..5000 mV",
         true,
         {0, 105, 110, 115, 120, 125, 130, 135, 140, 255},
         kEvenAxis,
         {1, 105, 110, 115, 120, 125, 130, 135, 140, 250},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ParameterImage image = CurveImage(c.old);
        const ParameterImage before = image;
        const RebinOutcome outcome =
            c.servo ? RebinServoRpm(image, c.points) : RebinRpmAxis(image, c.points);
        EXPECT_EQ(outcome.fault, RpmListFault::None);
        EXPECT_EQ(outcome.clipped, c.clipped);
        const std::size_t axis = c.servo ? field::servoRpm : field::mapRpm;
        for (std::size_t i = 0; i < kAxisPoints; ++i) {
            EXPECT_EQ(image[axis + i] * 100, c.points[i]) << i;
            if (c.servo) {
                EXPECT_EQ(image[field::servoMv + i], c.expected[i]) << i;
                EXPECT_EQ(image[MapCell(9, i)], before[MapCell(9, i)]) << i;
            } else {
                for (std::size_t row = 0; row < kMapRows; ++row)
                    EXPECT_EQ(image[MapCell(row, i)], c.expected[i]) << row << ' ' << i;
                EXPECT_EQ(image[field::servoMv + i], before[field::servoMv + i]) << i;
            }
        }
    }
}

TEST(Rebin, ARefusedListSaysWhyAndChangesNothing) {
    struct Case {
        RpmPoints points;
        RpmListFault fault;
    };
    const Case cases[] = {
        {{1000, 2050, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000}, RpmListFault::NotOn100},
        {{200, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000}, RpmListFault::OutOfRange},
        {{1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 20100}, RpmListFault::OutOfRange},
        {{1000, 2000, 3000, 3000, 5000, 6000, 7000, 8000, 9000, 10000}, RpmListFault::NotRising},
        {{1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 8900}, RpmListFault::NotRising},
        // Too close together to spread on whole hundreds.
        {SpreadRpmPoints(1000, 1800), RpmListFault::NotRising},
        {SpreadRpmPoints(1050, 12000), RpmListFault::NotOn100},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckRpmPoints(c.points), c.fault);
        ParameterImage image = CurveImage({10, 13, 16, 25, 28, 32, 33, 33, 31, 30});
        const ParameterImage before = image;
        EXPECT_EQ(RebinRpmAxis(image, c.points).fault, c.fault);
        EXPECT_EQ(RebinServoRpm(image, c.points).fault, c.fault);
        EXPECT_EQ(image, before);
    }
    EXPECT_EQ(SpreadRpmPoints(1000, 12000),
              (RpmPoints{1000, 2200, 3400, 4700, 5900, 7100, 8300, 9600, 10800, 12000}));
}

} // namespace
} // namespace orna5
