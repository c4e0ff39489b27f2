#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace orna5 {

// A pretend engine behind the emulated unit: it revs from idle up to the
// limiter of the stored parameters and back, one step per poll, with the
// throttle following, and fills a live-data frame the way the unit does.
class EngineModel {
public:
    static constexpr int kIdleRpm = 1200;
    // Polls for one sweep idle -> limiter -> idle (about 20 s at one poll
    // every 330 ms).
    static constexpr int kSweepPolls = 60;
    static constexpr std::uint16_t kSupplyMillivolts = 13800;

    // One poll's worth of time.
    void Step() { phase = (phase + 1) % kSweepPolls; }
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
};

} // namespace orna5
