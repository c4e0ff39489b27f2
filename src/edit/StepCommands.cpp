#include "edit/StepCommands.h"

#include "params/FieldTable.h"
#include "params/NormaliseImage.h"

namespace orna5 {

namespace {

void StepDown(std::uint8_t& value, std::uint8_t low) {
    if (value > low) {
        --value;
    }
}

void StepUp(std::uint8_t& value, std::uint8_t high) {
    if (value < high) {
        ++value;
    }
}

// The live values come from decoded frames; an index out of the axis must not
// reach outside the map.
bool LiveCellValid(const LivePosition& live) {
    return !live.belowMapAxis && live.tpsRow < kMapRows && live.mapRpmColumn < kAxisPoints;
}

void StepAdvance(ParameterImage& image, const LivePosition& live, bool allCells, bool plus) {
    NormaliseImage(image);
    const auto step = [plus](std::uint8_t& cell) {
        if (plus) {
            StepUp(cell, kMaxAdvance);
        } else {
            StepDown(cell, 0);
        }
    };
    if (allCells) {
        for (std::size_t cell = 0; cell < kMapRows * kAxisPoints; ++cell) {
            step(image[field::advanceMap + cell]);
            NormaliseImage(image);
        }
        return;
    }
    if (!LiveCellValid(live)) {
        return;
    }
    step(image[MapCell(live.tpsRow, live.mapRpmColumn)]);
    NormaliseImage(image);
}

void StepColumn(ParameterImage& image, int column, bool up) {
    if (column < 0 || column >= static_cast<int>(kAxisPoints)) {
        return;
    }
    for (std::size_t row = 0; row < kMapRows; ++row) {
        auto& cell = image[MapCell(row, static_cast<std::size_t>(column))];
        if (up) {
            StepUp(cell, kMaxAdvance);
        } else {
            StepDown(cell, 0);
        }
    }
}

void StepServo(ParameterImage& image, const LivePosition& live, bool allPoints, bool plus) {
    const auto step = [plus](std::uint8_t& point) {
        if (plus) {
            StepUp(point, kMaxServoStep);
        } else {
            StepDown(point, kMinServoStep);
        }
    };
    if (allPoints) {
        for (std::size_t point = 0; point < kAxisPoints; ++point) {
            step(image[field::servoMv + point]);
        }
    } else if (live.servoRpmColumn < kAxisPoints) {
        step(image[field::servoMv + live.servoRpmColumn]);
    }
}

} // namespace

void AdvanceMinus(ParameterImage& image, const LivePosition& live, bool allCells) {
    StepAdvance(image, live, allCells, false);
}

void AdvancePlus(ParameterImage& image, const LivePosition& live, bool allCells) {
    StepAdvance(image, live, allCells, true);
}

void ColumnDown(ParameterImage& image, int column) {
    StepColumn(image, column, false);
}

void ColumnUp(ParameterImage& image, int column) {
    StepColumn(image, column, true);
}

void ServoMinus(ParameterImage& image, const LivePosition& live, bool allPoints) {
    StepServo(image, live, allPoints, false);
}

void ServoPlus(ParameterImage& image, const LivePosition& live, bool allPoints) {
    StepServo(image, live, allPoints, true);
}

bool SetTpsZero(ParameterImage& image, std::uint16_t millivolts) {
    if (millivolts < 100 || millivolts > 2500) {
        return false;
    }
    image[field::tpsZeroMv] = static_cast<std::uint8_t>(Stored(fieldScale::tpsZero, millivolts));
    return true;
}

bool SetTpsFull(ParameterImage& image, std::uint16_t millivolts) {
    if (millivolts < 2500 || millivolts > 4900) {
        return false;
    }
    image[field::tpsFullMv] = static_cast<std::uint8_t>(Stored(fieldScale::tpsFull, millivolts));
    return true;
}

} // namespace orna5
