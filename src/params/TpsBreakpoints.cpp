#include "params/TpsBreakpoints.h"

namespace orna5 {

std::string TpsRowLabel(std::size_t row) {
    return std::to_string(TpsBreakpoints[row]) + "%";
}

} // namespace orna5
