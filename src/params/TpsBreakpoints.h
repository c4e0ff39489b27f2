#pragma once

#include "params/ParameterImage.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace orna5 {

// Throttle percent of the ten rows of the advance map, top row first.
constexpr std::array<std::uint8_t, kMapRows> TpsBreakpoints = {0,  2,  5,  10, 20,
                                                               30, 40, 60, 80, 100};

// A row's throttle as the map and the report label it ("60%").
std::string TpsRowLabel(std::size_t row);

} // namespace orna5
