#pragma once

#include "device/ColourRole.h"
#include "lang/Messages.h"

#include <string>
#include <variant>
#include <vector>

namespace orna5 {

// One piece of a label text: a message in the current language, or a fixed
// part (numbers already formatted, separators) that reads the same in all four.
using TextPiece = std::variant<Msg, std::string>;

// A label as the core leaves it: its text in pieces and its colour. An empty
// text means nothing has written the label yet, so the shell keeps its
// placeholder.
struct LiveLabel {
    std::vector<TextPiece> text;
    ColourRole colour = ColourRole::ButtonFace;

    bool HasText() const { return !text.empty(); }
};

// The label's text in a language (0..3), UTF-8.
std::string RenderLabel(const LiveLabel& label, int languageIndex);

// printf-style formatting into a std::string for the fixed parts.
std::string FormatText(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

} // namespace orna5
