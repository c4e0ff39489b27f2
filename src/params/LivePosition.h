#pragma once

#include <cstdint>

namespace orna5 {

// Where the engine runs on the map axes, from the last live data. The device
// link computes it every tick; the step commands read it.
struct LivePosition {
    std::uint8_t mapRpmColumn = 0;   // 0..9
    bool belowMapAxis = true;        // live rpm below the first map rpm point: no live cell
    std::uint8_t servoRpmColumn = 0; // 0..9
    std::uint8_t tpsRow = 9;         // 0..9
    std::uint16_t tpsMillivolts = 0; // live throttle sensor voltage
};

} // namespace orna5
