#pragma once

#include <string_view>

namespace orna5 {

// Reads a data-log time, "YYYY-MM-DDTHH:MM:SS[.fff][Z|+HH:MM|-HH:MM]", as
// whole seconds since 1970 and the fraction apart (a double of both would
// keep barely a microsecond). A time with no offset is taken as the wall
// clock stands. False for anything else; `whole` and `fraction` are then
// of no meaning.
bool ParseLogTime(std::string_view text, long long& whole, double& fraction);

} // namespace orna5
