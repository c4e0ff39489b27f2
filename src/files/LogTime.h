#pragma once

#include <string>
#include <string_view>

namespace orna5 {

// A data-log time as the time column holds it.
struct LogTime {
    // Milliseconds since 1970-01-01T00:00 UTC; for a time written without its
    // offset, since that moment on the wall clock the log was written by.
    long long millis = 0;
    bool hasOffset = false;
    int offsetMinutes = 0; // east of UTC; meaningful with hasOffset
};

// Reads "YYYY-MM-DDTHH:MM:SS[.fff][Z|+HH:MM|-HH:MM]" (a blank for the T is
// taken too). A date or time of day that cannot exist (31 February, hour 25,
// minute 61) is no time: false, and `time` is then of no meaning. Fractions
// finer than a millisecond are dropped.
bool ParseLogTime(std::string_view text, LogTime& time);

// The time as the log writes it: milliseconds always, the offset when known
// ("+00:00" for UTC, never "Z", so one pattern fits every row).
std::string FormatLogTime(const LogTime& time);

} // namespace orna5
