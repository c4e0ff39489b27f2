#pragma once

#include "params/ParameterImage.h"

#include <string>

namespace orna5 {

// A short name for what the unit runs on: the CRC-32 (the zip polynomial) of
// the 200 bytes a Program sends, as eight lower-case hex digits. Two images
// that program the unit alike have the same one; the bytes kept on this
// computer only (200..206) do not count. A log names the tune it was taken
// on with it, and `orna5ctl show` prints it, so the two can be matched.
std::string TuneChecksum(const ParameterImage& image);

} // namespace orna5
