#pragma once

#include <string>

namespace orna5 {

// The local time now, as the data log's time column writes it
// ("2026-12-08T10:29:34.123+01:00"); the clock the window and orna5ctl give
// their log writers.
std::string LogTimeNow();

} // namespace orna5
