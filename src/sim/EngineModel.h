#pragma once

#include "sim/RideModel.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

namespace orna5 {

// A pretend engine behind the emulated unit: it revs from idle up to the
// limiter of the stored parameters and back, one step per poll, with the
// throttle following, and fills a live-data frame the way the unit does.
// On a ride (StartRide) the engine speed and throttle are the ride's
// instead, on the clock's time.
class EngineModel {
public:
    static constexpr int kIdleRpm = 1200;
    // Polls for one sweep idle -> limiter -> idle (about 20 s at one poll
    // every 330 ms).
    static constexpr int kSweepPolls = 60;
    static constexpr std::uint16_t kSupplyMillivolts = 13800;

    // Seconds on a steady clock.
    using Clock = std::function<double()>;
    // A ride of the unit's stored parameters, moved on to the clock's time
    // at every poll; a silence longer than kLongestRideStep is not ridden.
    static constexpr double kLongestRideStep = 1.0;
    void StartRide(Clock clock);
    const RideModel* Ride() const { return ride ? &*ride : nullptr; }

    // One poll's worth of time, with the unit's stored parameters.
    void Step(const std::uint8_t* memory);
    void SetPhase(int value) { phase = ((value % kSweepPolls) + kSweepPolls) % kSweepPolls; }
    int Phase() const { return phase; }

    // Engine speed and throttle percent now, for the stored parameters.
    int Rpm(const std::uint8_t* memory) const;
    int ThrottlePercent() const;

    // Writes the live fields (engine speed, throttle, voltage, advance per
    // channel, servo, pick-ups, alarms) into a 102-byte frame; the caller
    // sets the code, counters, version and check byte.
    void FillLiveFields(const std::uint8_t* memory, std::uint8_t* frame) const;

private:
    // 0..1000: how far up the sweep the engine is.
    int Level() const;

    int phase = 0;
    std::optional<RideModel> ride;
    Clock rideClock;
    double rideTime = 0;
};

} // namespace orna5
