#pragma once

#include <array>
#include <cstdint>

namespace orna5 {

// A pretend ride behind the emulated unit, for trying a tune without a
// road: full throttle in first from a stop, the rpm rising as fast as the
// engine's torque lets it, a quick-shift (throttle held open, the rpm
// dropping by the ratio of the gears) into the next gear and on to the
// top gear of the ride, then the throttle closed and the rpm falling back
// to idle, a short stop, and again.
//
// The torque depends on the advance: the engine has a best-advance curve,
// and the further the advance the unit's map gives (read from its own
// memory at the current rpm and throttle) lies from it, the less torque and
// the slower the rpm rises. So a map moved toward the curve shows a higher
// rise rate in a log of the ride, as a real engine would on the road.
class RideModel {
public:
    static constexpr int kGears = 4;
    // Overall ratios of the gears: each shift drops the rpm to this share.
    static constexpr std::array<double, kGears> kRatios{2.6, 1.8, 1.3, 1.0};
    // rpm per second in first gear at full torque and the best advance.
    static constexpr double kFirstGearRate = 3000;
    static constexpr double kIdleRpm = 1200;
    static constexpr double kStopSeconds = 2;
    static constexpr double kShiftSeconds = 0.1;
    // rpm per second lost with the throttle closed.
    static constexpr double kRollOffRate = 2000;

    // The advance of the engine's most torque at `rpm`, in degrees.
    static double BestAdvance(double rpm);
    // The full-throttle torque at the best advance, as a share of the peak.
    static double TorqueShare(double rpm);
    // The share of the torque left at `offDegrees` from the best advance.
    static double AdvanceShare(double offDegrees);
    // The advance the map in `memory` gives at `rpm` and `throttle` percent,
    // in degrees, between its points on the straight line.
    static double MapAdvance(const std::uint8_t* memory, double rpm, double throttle);
    // Full-throttle rise rate in `gear` (1..kGears) at `rpm`, on the map.
    static double RiseRate(const std::uint8_t* memory, int gear, double rpm);

    // Moves the ride on by `seconds` with the parameters in `memory`.
    void Advance(double seconds, const std::uint8_t* memory);

    double Rpm() const { return rpm; }
    int ThrottlePercent() const { return phase == Phase::Pull || phase == Phase::Shift ? 100 : 0; }
    int Gear() const { return gear; }

private:
    enum class Phase { Stop, Pull, Shift, RollOff };

    void Step(double seconds, const std::uint8_t* memory);

    Phase phase = Phase::Stop;
    double inPhase = 0;
    double rpm = kIdleRpm;
    int gear = 1;
    double shiftFrom = 0;
    double shiftTo = 0;
};

} // namespace orna5
