#pragma once

#include "params/ParameterImage.h"

namespace orna5 {

// Brings the image into the range the unit and the controls expect; every
// edit, load and transfer passes through it. languageIndex and comPortIndex
// belong to the window; the rules limit them here so that one routine keeps
// all the limits in one order.
void NormaliseImage(ParameterImage& image, std::uint8_t& languageIndex, std::uint8_t& comPortIndex);

// For callers that own no language or port index (the device link, the tools).
void NormaliseImage(ParameterImage& image);

} // namespace orna5
