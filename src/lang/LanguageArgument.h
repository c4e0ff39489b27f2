#pragma once

#include <string_view>

namespace orna5 {

// The start language named by the first command-line argument: "ENGLISH",
// "DEUTSCH", "FRANCE" or "CESKY" (exact case) give 0..3; anything else gives
// -1 and the language from the settings stays.
int LanguageFromArgument(std::string_view argument);

} // namespace orna5
