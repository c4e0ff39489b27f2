#include "device/LiveLabel.h"

#include <cstdarg>
#include <cstdio>

namespace orna5 {

std::string RenderLabel(const LiveLabel& label, int languageIndex) {
    std::string text;
    for (const TextPiece& piece : label.text) {
        if (const Msg* id = std::get_if<Msg>(&piece)) {
            text += TextIn(*id, languageIndex);
        } else {
            text += std::get<std::string>(piece);
        }
    }
    return text;
}

std::string FormatText(const char* format, ...) {
    char buffer[256];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n < 0) {
        return std::string();
    }
    return std::string(buffer, static_cast<std::size_t>(n) < sizeof buffer
                                   ? static_cast<std::size_t>(n)
                                   : sizeof buffer - 1);
}

} // namespace orna5
