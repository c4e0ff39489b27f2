#include "device/LogClock.h"

#include "files/LogTime.h"

#include <QDateTime>

namespace orna5 {

std::string LogTimeNow() {
    // With its offset from UTC, so the hour the clocks go back in autumn
    // reads as the hour it was, not as the hour before again.
    const QDateTime now = QDateTime::currentDateTime();
    LogTime time;
    time.millis = now.toMSecsSinceEpoch();
    time.hasOffset = true;
    time.offsetMinutes = now.offsetFromUtc() / 60;
    return FormatLogTime(time);
}

} // namespace orna5
