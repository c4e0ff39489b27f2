#include "files/ParameterSnapshot.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "files/TextScanner.h"

namespace orna5 {

void WriteParameterSnapshot(std::ostream& out, const ParameterImage& image) {
    std::string text;
    for (std::size_t i = 0; i < image.size(); ++i) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%5u ", static_cast<unsigned>(image[i]));
        text += buffer;
        if ((i + 1) % 10 == 0) {
            text += '\n';
        }
        if ((i + 1) % 100 == 0) {
            text += '\n';
        }
    }
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::size_t ReadParameterSnapshot(std::istream& in, ParameterImage& image) {
    TextScanner scanner(in);
    std::size_t count = 0;
    std::uint32_t value = 0;
    while (count < image.size() && scanner.ScanNumber(value)) {
        image[count++] = static_cast<std::uint8_t>(value & 0xFFu);
    }
    return count;
}

} // namespace orna5
