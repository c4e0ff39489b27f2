#include "sim/EngineModel.h"

#include "params/FieldTable.h"
#include "params/MonitorFrame.h"
#include "params/ParameterImage.h"
#include "params/TpsBreakpoints.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace orna5 {

namespace {

// A live value as a 16-bit frame field, kept to the field's range.
void Put16(std::uint8_t* frame, std::size_t offset, int value) {
    PutFrameWord(frame, offset, static_cast<std::uint16_t>(std::clamp(value, 0, 0xFFFF)));
}

int MillivoltsToCounts(int mv) {
    return std::clamp(mv, 0, 5000) * 1023 / 5000;
}

// The axis point nearest to r (ties to the lower one); 0 below the axis.
int NearestPoint(const std::uint8_t* axis, int r) {
    int i = 0;
    while (i < static_cast<int>(kAxisPoints) && axis[i] <= r)
        ++i;
    if (i == 0)
        return 0;
    if (i == static_cast<int>(kAxisPoints))
        return kAxisPoints - 1;
    return axis[i - 1] + axis[i] >= 2 * r ? i - 1 : i;
}

// A scalar field's figure as the emulator computes with it.
int FigureOf(const FieldScale& f, const std::uint8_t* memory) {
    return static_cast<int>(Shown(f, memory[f.offset]));
}

int NearestRow(int percent) {
    int b = 1;
    while (b < static_cast<int>(kMapRows) && TpsBreakpoints[b] <= percent)
        ++b;
    if (b == static_cast<int>(kMapRows))
        return kMapRows - 1;
    return TpsBreakpoints[b - 1] + TpsBreakpoints[b] >= 2 * percent ? b - 1 : b;
}

} // namespace

void EngineModel::StartRide(Clock clock) {
    rideClock = std::move(clock);
    rideTime = rideClock();
    ride.emplace();
}

void EngineModel::Step(const std::uint8_t* memory) {
    phase = (phase + 1) % kSweepPolls;
    if (ride) {
        const double now = rideClock();
        ride->Advance(std::clamp(now - rideTime, 0.0, kLongestRideStep), memory);
        rideTime = now;
    }
}

int EngineModel::Level() const {
    const int half = kSweepPolls / 2;
    const int up = phase <= half ? phase : kSweepPolls - phase;
    return up * 1000 / half;
}

int EngineModel::Rpm(const std::uint8_t* memory) const {
    if (ride) {
        return static_cast<int>(std::lround(ride->Rpm()));
    }
    const int limiter = std::max(FigureOf(fieldScale::limiter, memory), kIdleRpm + 500);
    const int rpm = kIdleRpm + (limiter - kIdleRpm) * Level() / 1000;
    return rpm / 10 * 10;
}

int EngineModel::ThrottlePercent() const {
    if (ride) {
        return ride->ThrottlePercent();
    }
    return Level() / 10;
}

void EngineModel::FillLiveFields(const std::uint8_t* memory, std::uint8_t* frame) const {
    namespace m = monitorField;
    const int rpm = Rpm(memory);
    const int throttle = ThrottlePercent();
    Put16(frame, m::rpm, rpm);

    const int zeroMv = FigureOf(fieldScale::tpsZero, memory);
    const int fullMv = FigureOf(fieldScale::tpsFull, memory);
    Put16(frame, m::tpsCounts, MillivoltsToCounts(zeroMv + (fullMv - zeroMv) * throttle / 100));
    // A little ripple so the voltage display is seen to be live.
    Put16(frame, m::supplyMv, kSupplyMillivolts - 40 + 20 * (phase % 5));

    const int r = rpm / 100;
    const int servoColumn = NearestPoint(memory + field::servoRpm, r);
    const int servoCounts = MillivoltsToCounts(memory[field::servoMv + servoColumn] * 20);
    Put16(frame, m::servoMeasured, servoCounts);
    Put16(frame, m::servoDesired, servoCounts);
    frame[m::servoOk] = 1; // servo in order

    frame[m::tpsPercent] = static_cast<std::uint8_t>(throttle);
    const int shiftRpm = FigureOf(fieldScale::shiftLight, memory);
    const bool shift = shiftRpm > 0 && rpm >= shiftRpm;
    frame[m::shiftLight] = shift ? 1 : 0;
    frame[m::rpmAlarmYellow] = shift ? 1 : 0;
    frame[m::rpmAlarmRed] = rpm >= FigureOf(fieldScale::limiter, memory) ? 1 : 0;

    // Pick-up checks that never signal a pick-up fault; pick-up 1 turning.
    frame[m::pickupCount1] = 0xFF;
    frame[m::pickupCount2] = 0xFF;
    frame[m::pickupValue1] = 0;
    frame[m::pickupValue2] = 0;
    frame[m::pickup1Signal] = 1;
    frame[m::pickup2Signal] = 0;

    const int column = NearestPoint(memory + field::mapRpm, r);
    const int row = memory[field::mapUsesTps] ? NearestRow(throttle) : kMapRows - 1;
    const int advance = memory[MapCell(row, column)];
    int channels = memory[field::outputCount];
    channels = std::clamp(channels, 1, static_cast<int>(kChannels));
    for (int c = 0; c < static_cast<int>(kChannels); ++c)
        frame[m::channelAdvance + c] =
            c < channels ? static_cast<std::uint8_t>(std::min(advance + 100, 255)) : 0;
    for (int c = 0; c < static_cast<int>(kChannels); ++c)
        Put16(frame, m::channelLimit + 2 * c, 0);
}

} // namespace orna5
