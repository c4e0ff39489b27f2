#pragma once

#include "params/LivePosition.h"
#include "params/ParameterImage.h"
#include "params/TpsBreakpoints.h"

#include <array>
#include <cstdint>

namespace orna5 {

// The map cell, servo point and throttle row nearest to the live engine
// speed and throttle; tpsRowsUsed is the state of CheckBoxTpsMapa (unticked:
// the last row is the one in use).
LivePosition MarkLivePosition(std::uint16_t liveRpm, std::uint8_t tpsPercent,
                              std::uint16_t tpsMillivolts, const ParameterImage& image,
                              bool tpsRowsUsed);

} // namespace orna5
