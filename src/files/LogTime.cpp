#include "files/LogTime.h"

#include <cstddef>
#include <cstdio>

namespace orna5 {

namespace {

constexpr long long kMsPerDay = 86400LL * 1000;

// Days since 1970-01-01 of a date in the proleptic Gregorian calendar.
long DaysFromCivil(long y, long m, long d) {
    y -= m <= 2 ? 1 : 0;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// The date of a day number, the inverse of DaysFromCivil.
void CivilFromDays(long long z, long& y, long& m, long& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    d = static_cast<long>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<long>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<long>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

long DaysInMonth(long year, long month) {
    static const long days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

bool Digits(std::string_view text, std::size_t at, std::size_t count, long& value) {
    if (at + count > text.size()) {
        return false;
    }
    value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

} // namespace

// Parsed by hand: a ten-hour log has close to a million of these.
bool ParseLogTime(std::string_view text, LogTime& time) {
    long year, month, day, hour, minute, second;
    if (text.size() < 19 || text[4] != '-' || text[7] != '-' ||
        (text[10] != 'T' && text[10] != ' ') || text[13] != ':' || text[16] != ':' ||
        !Digits(text, 0, 4, year) || !Digits(text, 5, 2, month) || !Digits(text, 8, 2, day) ||
        !Digits(text, 11, 2, hour) || !Digits(text, 14, 2, minute) ||
        !Digits(text, 17, 2, second) || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month) || hour > 23 || minute > 59 || second > 59) {
        return false;
    }
    std::size_t at = 19;
    long millis = 0;
    if (at < text.size() && text[at] == '.') {
        ++at;
        const std::size_t first = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            if (at - first < 3) {
                millis = millis * 10 + (text[at] - '0');
            }
            ++at;
        }
        if (at == first) {
            return false;
        }
        for (std::size_t digits = at - first; digits < 3; ++digits) {
            millis *= 10;
        }
    }
    time.hasOffset = false;
    time.offsetMinutes = 0;
    if (at < text.size() && text[at] == 'Z') {
        time.hasOffset = true;
        ++at;
    } else if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        long oh, om;
        if (!Digits(text, at + 1, 2, oh) || at + 3 >= text.size() || text[at + 3] != ':' ||
            !Digits(text, at + 4, 2, om) || oh > 23 || om > 59) {
            return false;
        }
        time.hasOffset = true;
        time.offsetMinutes = static_cast<int>((text[at] == '-' ? -1 : 1) * (oh * 60 + om));
        at += 6;
    }
    if (at != text.size()) {
        return false;
    }
    const long long wall = DaysFromCivil(year, month, day) * kMsPerDay +
                           (hour * 3600LL + minute * 60 + second) * 1000 + millis;
    time.millis = wall - time.offsetMinutes * 60000LL;
    return true;
}

std::string FormatLogTime(const LogTime& time) {
    const long long wall = time.millis + (time.hasOffset ? time.offsetMinutes * 60000LL : 0);
    long long days = wall / kMsPerDay;
    long long ms = wall % kMsPerDay;
    if (ms < 0) {
        ms += kMsPerDay;
        --days;
    }
    long y, m, d;
    CivilFromDays(days, y, m, d);
    const long long s = ms / 1000;
    char text[48];
    int n = std::snprintf(text, sizeof text, "%04ld-%02ld-%02ldT%02lld:%02lld:%02lld.%03lld", y, m,
                          d, s / 3600, s / 60 % 60, s % 60, ms % 1000);
    if (time.hasOffset && n > 0 && static_cast<std::size_t>(n) < sizeof text) {
        const int offset = time.offsetMinutes < 0 ? -time.offsetMinutes : time.offsetMinutes;
        std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n), "%c%02d:%02d",
                      time.offsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
    }
    return text;
}

} // namespace orna5
