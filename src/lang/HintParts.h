#pragma once

#include <string>
#include <string_view>

namespace orna5 {

// A hint may hold "short|long": the short form is the tooltip, the long form
// goes to the status bar. A hint without "|" serves as both.
struct HintParts {
    std::string tooltip;
    std::string statusText;
};

HintParts SplitHint(std::string_view hint);

} // namespace orna5
