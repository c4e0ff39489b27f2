#include "files/LogTime.h"

#include <cstddef>

namespace orna5 {

namespace {

// Days since 1970-01-01 of a date in the proleptic Gregorian calendar.
long DaysFromCivil(long y, long m, long d) {
    y -= m <= 2 ? 1 : 0;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
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

// Parsed by hand: an hour's log has tens of thousands of these.
bool ParseLogTime(std::string_view text, long long& whole, double& fraction) {
    long year, month, day, hour, minute, second;
    if (text.size() < 19 || text[4] != '-' || text[7] != '-' ||
        (text[10] != 'T' && text[10] != ' ') || text[13] != ':' || text[16] != ':' ||
        !Digits(text, 0, 4, year) || !Digits(text, 5, 2, month) || !Digits(text, 8, 2, day) ||
        !Digits(text, 11, 2, hour) || !Digits(text, 14, 2, minute) ||
        !Digits(text, 17, 2, second) || month < 1 || month > 12 || day < 1 || day > 31 ||
        hour > 23 || minute > 59 || second > 60) {
        return false;
    }
    std::size_t at = 19;
    fraction = 0;
    if (at < text.size() && text[at] == '.') {
        double scale = 0.1;
        ++at;
        const std::size_t first = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            fraction += (text[at] - '0') * scale;
            scale /= 10;
            ++at;
        }
        if (at == first) {
            return false;
        }
    }
    long offset = 0;
    if (at < text.size() && text[at] == 'Z') {
        ++at;
    } else if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        long oh, om;
        if (!Digits(text, at + 1, 2, oh) || at + 3 >= text.size() || text[at + 3] != ':' ||
            !Digits(text, at + 4, 2, om)) {
            return false;
        }
        offset = (text[at] == '-' ? -1 : 1) * (oh * 3600 + om * 60);
        at += 6;
    }
    if (at != text.size()) {
        return false;
    }
    whole = DaysFromCivil(year, month, day) * 86400LL + hour * 3600 + minute * 60 + second - offset;
    return true;
}

} // namespace orna5
