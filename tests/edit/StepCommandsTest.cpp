#include "edit/StepCommands.h"

#include "params/NormaliseImage.h"

#include <gtest/gtest.h>

namespace orna5 {
namespace {

// An image the normalisation leaves alone, with every map cell set to fill.
ParameterImage MapImage(std::uint8_t fill) {
    ParameterImage image{};
    for (std::size_t i = 0; i < kAxisPoints; ++i) {
        image[field::mapRpm + i] = static_cast<std::uint8_t>(15 + 10 * i);
        image[field::servoRpm + i] = static_cast<std::uint8_t>(12 + 10 * i);
        image[field::servoMv + i] = static_cast<std::uint8_t>(100 + i);
    }
    image[field::syncMethod] = 2;
    image[field::lobeCount] = 4;
    for (std::size_t cell = 0; cell < kMapRows * kAxisPoints; ++cell) {
        image[field::advanceMap + cell] = fill;
    }
    return image;
}

LivePosition LiveAt(int row, int column) {
    LivePosition live;
    live.belowMapAxis = false;
    live.tpsRow = static_cast<std::uint8_t>(row);
    live.mapRpmColumn = static_cast<std::uint8_t>(column);
    return live;
}

TEST(StepCommands, AdvanceAllStopsAtTheLimits) {
    ParameterImage image = MapImage(30);
    image[MapCell(0, 0)] = 60;
    image[MapCell(0, 1)] = 59;
    image[MapCell(9, 9)] = 0;
    image[MapCell(5, 5)] = 1;

    ParameterImage plus = image;
    AdvancePlus(plus, LivePosition{}, true);
    EXPECT_EQ(plus[MapCell(0, 0)], 60);
    EXPECT_EQ(plus[MapCell(0, 1)], 60);
    EXPECT_EQ(plus[MapCell(9, 9)], 1);
    EXPECT_EQ(plus[MapCell(3, 7)], 31);

    ParameterImage minus = image;
    AdvanceMinus(minus, LivePosition{}, true);
    EXPECT_EQ(minus[MapCell(0, 0)], 59);
    EXPECT_EQ(minus[MapCell(9, 9)], 0);
    EXPECT_EQ(minus[MapCell(5, 5)], 0);
    EXPECT_EQ(minus[MapCell(3, 7)], 29);
}

// A cell above the step range (from a file) is only ever lowered.
TEST(StepCommands, AdvancePlusLeavesCellAboveRangeAlone) {
    ParameterImage image = MapImage(70);
    AdvancePlus(image, LivePosition{}, true);
    EXPECT_EQ(image[MapCell(4, 4)], 70);
    AdvanceMinus(image, LivePosition{}, true);
    EXPECT_EQ(image[MapCell(4, 4)], 69);
}

TEST(StepCommands, AdvanceOnTheLiveCellOnly) {
    struct Case {
        std::uint8_t start;
        bool plus;
        std::uint8_t expected;
    };
    for (const Case& c :
         {Case{30, true, 31}, Case{60, true, 60}, Case{30, false, 29}, Case{0, false, 0}}) {
        ParameterImage image = MapImage(c.start);
        const ParameterImage before = image;
        const LivePosition live = LiveAt(7, 3);
        if (c.plus) {
            AdvancePlus(image, live, false);
        } else {
            AdvanceMinus(image, live, false);
        }
        EXPECT_EQ(image[MapCell(7, 3)], c.expected);
        image[MapCell(7, 3)] = before[MapCell(7, 3)];
        EXPECT_EQ(image, before) << "only the live cell may move";
    }
}

TEST(StepCommands, AdvanceWithoutLiveCellChangesNothing) {
    const ParameterImage image = MapImage(30);
    LivePosition belowAxis = LiveAt(9, 0);
    belowAxis.belowMapAxis = true;
    const LivePosition offMap[] = {belowAxis, LivePosition{}, LiveAt(10, 0), LiveAt(0, 10)};
    for (const LivePosition& live : offMap) {
        ParameterImage copy = image;
        AdvancePlus(copy, live, false);
        AdvanceMinus(copy, live, false);
        EXPECT_EQ(copy, image);
    }
}

TEST(StepCommands, AdvanceNormalisesTheImage) {
    ParameterImage image = MapImage(30);
    image[field::outputCount] = 9;
    image[field::mapRpm + 1] = 0;
    AdvancePlus(image, LiveAt(0, 0), false);
    ParameterImage normalised = image;
    NormaliseImage(normalised);
    EXPECT_EQ(image, normalised);
    EXPECT_EQ(image[field::outputCount], 4);
}

TEST(StepCommands, ColumnMovesAllRowsButThoseAtTheLimit) {
    for (int column : {0, 4, 9}) {
        ParameterImage image = MapImage(30);
        image[MapCell(2, column)] = 60;
        image[MapCell(5, column)] = 0;
        const ParameterImage before = image;

        ColumnUp(image, column);
        for (std::size_t row = 0; row < kMapRows; ++row) {
            const int expected = row == 2 ? 60 : row == 5 ? 1 : 31;
            EXPECT_EQ(image[MapCell(row, column)], expected) << "row " << row;
        }
        ColumnDown(image, column);
        ColumnDown(image, column);
        for (std::size_t row = 0; row < kMapRows; ++row) {
            const int expected = row == 2 ? 58 : row == 5 ? 0 : 29;
            EXPECT_EQ(image[MapCell(row, column)], expected) << "row " << row;
        }
        // The other columns never move.
        for (std::size_t row = 0; row < kMapRows; ++row) {
            image[MapCell(row, column)] = before[MapCell(row, column)];
        }
        EXPECT_EQ(image, before);
    }
}

TEST(StepCommands, ColumnOutsideTheMapChangesNothing) {
    const ParameterImage image = MapImage(30);
    for (int column : {-1, 10, 100}) {
        ParameterImage copy = image;
        ColumnUp(copy, column);
        ColumnDown(copy, column);
        EXPECT_EQ(copy, image);
    }
}

TEST(StepCommands, ServoStaysWithin20And4980Millivolts) {
    ParameterImage image = MapImage(30);
    image[field::servoMv + 0] = 1;
    image[field::servoMv + 1] = 249;
    image[field::servoMv + 2] = 2;
    image[field::servoMv + 3] = 248;

    ParameterImage minus = image;
    ServoMinus(minus, LivePosition{}, true);
    EXPECT_EQ(minus[field::servoMv + 0], 1);
    EXPECT_EQ(minus[field::servoMv + 1], 248);
    EXPECT_EQ(minus[field::servoMv + 2], 1);
    EXPECT_EQ(minus[field::servoMv + 9], 108);

    ParameterImage plus = image;
    ServoPlus(plus, LivePosition{}, true);
    EXPECT_EQ(plus[field::servoMv + 0], 2);
    EXPECT_EQ(plus[field::servoMv + 1], 249);
    EXPECT_EQ(plus[field::servoMv + 3], 249);
    EXPECT_EQ(plus[field::servoMv + 9], 110);
}

TEST(StepCommands, ServoOnTheLivePointOnly) {
    ParameterImage image = MapImage(30);
    const ParameterImage before = image;
    LivePosition live;
    live.servoRpmColumn = 6;
    ServoPlus(image, live, false);
    EXPECT_EQ(image[field::servoMv + 6], before[field::servoMv + 6] + 1);
    image[field::servoMv + 6] = before[field::servoMv + 6];
    EXPECT_EQ(image, before);

    live.servoRpmColumn = 10;
    ServoMinus(image, live, false);
    EXPECT_EQ(image, before) << "a point outside the curve changes nothing";
}

TEST(StepCommands, TpsCalibrationRanges) {
    struct Case {
        bool full;
        std::uint16_t millivolts;
        bool accepted;
        int stored;
    };
    const Case cases[] = {
        {false, 50, false, 0},   {false, 99, false, 0},    {false, 100, true, 10},
        {false, 705, true, 70},  {false, 2500, true, 250}, {false, 2501, false, 0},
        {false, 2600, false, 0}, {true, 2499, false, 0},   {true, 2500, true, 0},
        {true, 3795, true, 129}, {true, 4900, true, 240},  {true, 4901, false, 0},
        {true, 65535, false, 0},
    };
    for (const Case& c : cases) {
        ParameterImage image = MapImage(30);
        image[field::tpsZeroMv] = 77;
        image[field::tpsFullMv] = 177;
        const ParameterImage before = image;
        const std::size_t byte = c.full ? field::tpsFullMv : field::tpsZeroMv;
        const bool done =
            c.full ? SetTpsFull(image, c.millivolts) : SetTpsZero(image, c.millivolts);
        EXPECT_EQ(done, c.accepted) << c.millivolts << " mV";
        if (c.accepted) {
            EXPECT_EQ(image[byte], c.stored) << c.millivolts << " mV";
            image[byte] = before[byte];
        }
        EXPECT_EQ(image, before) << c.millivolts << " mV";
    }
}

} // namespace
} // namespace orna5
