#pragma once

#include "params/LivePosition.h"
#include "params/ParameterImage.h"

#include <array>
#include <cstdint>

namespace orna5 {

// Throttle percent of the ten rows of the advance map.
constexpr std::array<std::uint8_t, 10> TpsBreakpoints = {0, 2, 5, 10, 20, 30, 40, 60, 80, 100};

// The map cell, servo point and throttle row nearest to the live engine
// speed and throttle; tpsRowsUsed is the state of CheckBoxTpsMapa (unticked:
// the last row is the one in use).
LivePosition MarkLivePosition(std::uint16_t liveRpm, std::uint8_t tpsPercent,
                              std::uint16_t tpsMillivolts, const ParameterImage& image,
                              bool tpsRowsUsed);

} // namespace orna5
