#include "params/MonitorFrame.h"

#include <algorithm>

namespace orna5 {

std::uint16_t CountsToMillivolts(std::uint16_t counts) {
    const long mv = static_cast<long>(counts) * 5000 / 1023;
    return static_cast<std::uint16_t>(std::min<long>(mv, 0xFFFF));
}

} // namespace orna5
