#include "sim/RideModel.h"

#include "params/FieldTable.h"
#include "params/ParameterImage.h"
#include "params/TpsBreakpoints.h"

#include <algorithm>
#include <cmath>

namespace orna5 {

namespace {

// Longest step of the ride's clock: the rpm of first gear moves some 6 rpm
// in it.
constexpr double kStepSeconds = 0.002;

// The rpm at which the ride shifts: short of the unit's limiter.
double ShiftRpm(const std::uint8_t* memory) {
    const double limiter =
        static_cast<double>(Shown(fieldScale::limiter, memory[field::limiterRpm]));
    return std::clamp(limiter - 300, 4000.0, 15000.0);
}

// Where `value` lies among the rising `points`: the index of the point
// below and the share of the way to the next.
template <class Points> void Locate(const Points& points, double value, int& index, double& share) {
    const int last = static_cast<int>(points.size()) - 1;
    index = 0;
    share = 0;
    if (value <= points[0]) {
        return;
    }
    if (value >= points[last]) {
        index = last;
        return;
    }
    while (index < last - 1 && points[index + 1] <= value) {
        ++index;
    }
    const double span = points[index + 1] - points[index];
    share = span > 0 ? (value - points[index]) / span : 0;
}

} // namespace

double RideModel::BestAdvance(double rpm) {
    static constexpr std::array<double, 5> kRpm{1000, 3000, 6000, 9000, 12000};
    static constexpr std::array<double, 5> kAdvance{12, 24, 32, 36, 38};
    int i = 0;
    double share = 0;
    Locate(kRpm, rpm, i, share);
    const int next = std::min(i + 1, static_cast<int>(kRpm.size()) - 1);
    return kAdvance[i] + (kAdvance[next] - kAdvance[i]) * share;
}

double RideModel::TorqueShare(double rpm) {
    const double x = (rpm - 8500) / 7500;
    return std::max(0.3, 1 - 0.45 * x * x);
}

double RideModel::AdvanceShare(double offDegrees) {
    return std::max(0.2, 1 - 0.0015 * offDegrees * offDegrees);
}

double RideModel::MapAdvance(const std::uint8_t* memory, double rpm, double throttle) {
    std::array<double, kAxisPoints> axis{};
    for (std::size_t i = 0; i < kAxisPoints; ++i) {
        axis[i] = memory[field::mapRpm + i] * 100.0;
    }
    int column = 0;
    double across = 0;
    Locate(axis, rpm, column, across);
    // Without the throttle rows the unit runs on the last row, as its live
    // data shows.
    int row = kMapRows - 1;
    double down = 0;
    if (memory[field::mapUsesTps]) {
        std::array<double, kMapRows> rows{};
        std::copy(TpsBreakpoints.begin(), TpsBreakpoints.end(), rows.begin());
        Locate(rows, throttle, row, down);
    }
    const auto cell = [memory](int r, int c) {
        const int lastRow = kMapRows - 1;
        const int lastColumn = kAxisPoints - 1;
        return static_cast<double>(
            memory[MapCell(static_cast<std::size_t>(std::min(r, lastRow)),
                           static_cast<std::size_t>(std::min(c, lastColumn)))]);
    };
    const double upper = cell(row, column) + (cell(row, column + 1) - cell(row, column)) * across;
    const double lower =
        cell(row + 1, column) + (cell(row + 1, column + 1) - cell(row + 1, column)) * across;
    return upper + (lower - upper) * down;
}

double RideModel::RiseRate(const std::uint8_t* memory, int gear, double rpm) {
    const int g = std::clamp(gear, 1, kGears) - 1;
    const double ratio = kRatios[static_cast<std::size_t>(g)] / kRatios[0];
    const double off = MapAdvance(memory, rpm, 100) - BestAdvance(rpm);
    return kFirstGearRate * ratio * ratio * TorqueShare(rpm) * AdvanceShare(off);
}

void RideModel::Advance(double seconds, const std::uint8_t* memory) {
    while (seconds > 0) {
        const double step = std::min(seconds, kStepSeconds);
        Step(step, memory);
        seconds -= step;
    }
}

void RideModel::Step(double seconds, const std::uint8_t* memory) {
    inPhase += seconds;
    switch (phase) {
    case Phase::Stop:
        rpm = kIdleRpm;
        if (inPhase >= kStopSeconds) {
            phase = Phase::Pull;
            gear = 1;
            inPhase = 0;
        }
        break;
    case Phase::Pull:
        rpm += seconds * RiseRate(memory, gear, rpm);
        if (rpm >= ShiftRpm(memory)) {
            inPhase = 0;
            if (gear < kGears) {
                phase = Phase::Shift;
                shiftFrom = rpm;
                shiftTo = rpm * kRatios[static_cast<std::size_t>(gear)] /
                          kRatios[static_cast<std::size_t>(gear - 1)];
                ++gear;
            } else {
                phase = Phase::RollOff;
            }
        }
        break;
    case Phase::Shift:
        rpm = shiftFrom + (shiftTo - shiftFrom) * std::min(1.0, inPhase / kShiftSeconds);
        if (inPhase >= kShiftSeconds) {
            phase = Phase::Pull;
            inPhase = 0;
        }
        break;
    case Phase::RollOff:
        rpm = std::max(kIdleRpm, rpm - seconds * kRollOffRate);
        if (rpm <= kIdleRpm) {
            phase = Phase::Stop;
            inPhase = 0;
        }
        break;
    }
}

} // namespace orna5
