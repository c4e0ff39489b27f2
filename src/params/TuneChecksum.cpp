#include "params/TuneChecksum.h"

#include <cstdint>
#include <cstdio>

namespace orna5 {

std::string TuneChecksum(const ParameterImage& image) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < kTransferSize; ++i) {
        crc ^= image[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(~crc));
    return text;
}

} // namespace orna5
