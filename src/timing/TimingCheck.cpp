#include "timing/TimingCheck.h"

#include "lang/TimingTexts.h"
#include "params/FieldTable.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace orna5 {

namespace {

constexpr std::string_view kFirstLine = "# orna5 timing light check";
constexpr std::string_view kColumnLine =
    "rpm,strobe [deg],unit 1 [deg],unit 2 [deg],unit 3 [deg],unit 4 [deg],map [deg],"
    "strobe - unit [deg]";
constexpr int kFields = 8;
// Readings this close count as equal: the file keeps thousandths.
constexpr double kEpsilon = 1e-9;

// A number without the locale: the C library's printf would write a decimal
// comma under a German locale, and the file must read the same everywhere.
std::string Fixed(double value, int decimals) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string text(buffer, result.ptr);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    if (text == "-0")
        text = "0";
    return text;
}

std::string Replace(std::string text, std::string_view mark, const std::string& with) {
    const std::size_t at = text.find(mark);
    if (at != std::string::npos)
        text.replace(at, mark.size(), with);
    return text;
}

std::string Text(TimingText id, int language) {
    return TextIn(id, language);
}

bool IsTextChar(char c) {
    return (static_cast<unsigned char>(c) >= 0x20 || c == '\t') && c != 0x7f;
}

// A header value as one line of text the reader takes: a control character
// from a unit's answer must not break the file into lines.
std::string OneLine(const std::string& value) {
    std::string line = value;
    for (char& c : line)
        if (!IsTextChar(c))
            c = ' ';
    return line;
}

// A header line as a spreadsheet takes it: one cell. A unit's text with a
// comma would spill into the next cells (one starting with "=" taken for a
// formula), so such a line goes whole between double quotes, a quote in it
// doubled.
std::string HeaderLine(std::string_view key, const std::string& value) {
    const std::string line = "# " + std::string(key) + ": " + OneLine(value);
    if (line.find_first_of(",\"") == std::string::npos)
        return line;
    std::string quoted = "\"";
    for (char c : line) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

// The line inside the quotes of a quoted header line; false when the quotes
// do not close at its end or a quote inside is not doubled.
bool Unquote(std::string_view line, std::string& unquoted) {
    if (line.size() < 2 || line.front() != '"' || line.back() != '"')
        return false;
    unquoted.clear();
    const std::string_view inside = line.substr(1, line.size() - 2);
    for (std::size_t at = 0; at < inside.size(); ++at) {
        unquoted += inside[at];
        if (inside[at] == '"') {
            if (at + 1 >= inside.size() || inside[at + 1] != '"')
                return false;
            ++at;
        }
    }
    return true;
}

std::string Optional(const std::optional<double>& value) {
    return value ? Fixed(*value, 3) : std::string();
}

// "-12.375": an optional minus, up to five digits, up to three decimals.
// Nothing else: no exponent, no blank, no plus, no locale.
bool ParseNumber(std::string_view text, double& value, bool integerOnly) {
    std::size_t at = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        ++at;
    long long whole = 0;
    int digits = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        if (++digits > 5)
            return false;
        whole = whole * 10 + (text[at] - '0');
        ++at;
    }
    if (digits == 0)
        return false;
    long long thousandths = 0;
    if (at < text.size() && text[at] == '.') {
        if (integerOnly)
            return false;
        ++at;
        int decimals = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            if (++decimals > 3)
                return false;
            thousandths = thousandths * 10 + (text[at] - '0');
            ++at;
        }
        if (decimals == 0)
            return false;
        for (; decimals < 3; ++decimals)
            thousandths *= 10;
    }
    if (at != text.size())
        return false;
    const long long scaled = whole * 1000 + thousandths;
    value = static_cast<double>(negative ? -scaled : scaled) / 1000.0;
    return true;
}

std::vector<std::string_view> Split(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, comma - start));
        start = comma + 1;
        if (fields.size() > kFields)
            return fields;
    }
}

bool IsText(std::string_view line) {
    return std::all_of(line.begin(), line.end(), IsTextChar);
}

bool IsTune(std::string_view text) {
    return text.empty() || (text.size() == 8 && std::all_of(text.begin(), text.end(), [](char c) {
                                return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
                            }));
}

} // namespace

bool TimingPoint::operator==(const TimingPoint& other) const {
    return rpm == other.rpm && strobe == other.strobe && unit == other.unit && map == other.map;
}

bool TimingCheck::operator==(const TimingCheck& other) const {
    return time.millis == other.time.millis && time.hasOffset == other.time.hasOffset &&
           (!time.hasOffset || time.offsetMinutes == other.time.offsetMinutes) &&
           unitVersion == other.unitVersion && unitBuildDate == other.unitBuildDate &&
           tune == other.tune && channel == other.channel && points == other.points;
}

std::optional<double> UnitFigure(const TimingPoint& point, int channel) {
    if (channel >= 1 && channel <= static_cast<int>(kChannels))
        return point.unit[static_cast<std::size_t>(channel - 1)];
    std::optional<double> largest;
    for (const std::optional<double>& value : point.unit)
        if (value && (!largest || *value > *largest))
            largest = value;
    return largest;
}

std::optional<double> DifferenceOf(const TimingPoint& point, int channel) {
    const std::optional<double> unit = UnitFigure(point, channel);
    if (!point.strobe || !unit)
        return std::nullopt;
    return *point.strobe - *unit;
}

Drift DriftOf(const std::vector<TimingPoint>& points, int channel) {
    Drift drift;
    // Thousands of rpm keep the sums small whatever the speeds.
    std::vector<std::pair<double, double>> readings;
    for (const TimingPoint& point : points)
        if (const std::optional<double> difference = DifferenceOf(point, channel))
            readings.emplace_back(point.rpm / 1000.0, *difference);
    drift.readings = static_cast<int>(readings.size());
    if (readings.size() < 2)
        return drift;
    double meanX = 0, meanY = 0;
    drift.lowRpm = drift.highRpm = static_cast<int>(std::lround(readings[0].first * 1000));
    for (const auto& [x, y] : readings) {
        meanX += x;
        meanY += y;
        const int rpm = static_cast<int>(std::lround(x * 1000));
        drift.lowRpm = std::min(drift.lowRpm, rpm);
        drift.highRpm = std::max(drift.highRpm, rpm);
    }
    meanX /= static_cast<double>(readings.size());
    meanY /= static_cast<double>(readings.size());
    double sxx = 0, sxy = 0;
    for (const auto& [x, y] : readings) {
        sxx += (x - meanX) * (x - meanX);
        sxy += (x - meanX) * (y - meanY);
    }
    drift.meanDifference = meanY;
    // Readings all at one speed have no slope: they tell an offset at most.
    if (drift.highRpm > drift.lowRpm && sxx > kEpsilon) {
        drift.slopePer1000 = sxy / sxx;
        drift.change = std::abs(drift.slopePer1000) * (drift.highRpm - drift.lowRpm) / 1000.0;
    }
    drift.offset = meanY - drift.slopePer1000 * meanX;
    if (drift.change >= kMeaningfulDegrees - kEpsilon)
        drift.kind = DriftKind::Drift;
    else if (std::abs(drift.meanDifference) >= kMeaningfulDegrees - kEpsilon)
        drift.kind = DriftKind::Constant;
    else
        drift.kind = DriftKind::Agrees;
    return drift;
}

std::string DegreesText(double degrees, int language) {
    std::string text = Fixed(std::round(degrees * 10) / 10, 1);
    if (text == "0" && std::abs(degrees) >= 0.005)
        text = Fixed(std::round(degrees * 100) / 100, 2);
    if (text.find('.') == std::string::npos && text.find(',') == std::string::npos)
        text += ".0";
    if (language != 0)
        std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

std::string DriftText(const Drift& drift, int language) {
    switch (drift.kind) {
    case DriftKind::TooFew:
        return Text(TimingText::TooFew, language);
    case DriftKind::Agrees:
        return Text(TimingText::Agrees, language);
    case DriftKind::Constant:
        return Replace(
            Text(drift.meanDifference < 0 ? TimingText::OffsetLess : TimingText::OffsetMore,
                 language),
            "%1", DegreesText(std::abs(drift.meanDifference), language));
    case DriftKind::Drift:
        break;
    }
    return Replace(
        Text(drift.slopePer1000 < 0 ? TimingText::DriftLess : TimingText::DriftMore, language),
        "%1", DegreesText(std::abs(drift.slopePer1000), language));
}

std::vector<int> DefaultCheckRpms(const ParameterImage& image) {
    const int first = image[field::mapRpm] * 100;
    const int idle = first >= 600 && first <= 2000 ? first : 1000;
    int limiter = image[field::limiterRpm] * fieldScale::limiter.scale;
    if (limiter <= idle)
        limiter = 10000;
    std::vector<int> rpms{idle};
    for (int rpm = (idle / 1000 + 1) * 1000; rpm < limiter; rpm += 1000)
        rpms.push_back(rpm);
    return rpms;
}

std::string WriteTimingCheck(const TimingCheck& check) {
    std::string text;
    text += kFirstLine;
    text += "\n# time: " + FormatLogTime(check.time);
    text += "\n" + HeaderLine("unit", check.unitVersion);
    text += "\n" + HeaderLine("unit build date", check.unitBuildDate);
    text += "\n" + HeaderLine("tune", check.tune);
    text += "\n# channel: " + std::to_string(std::clamp(check.channel, 0, int(kChannels)));
    text += "\n";
    text += kColumnLine;
    text += "\n";
    for (const TimingPoint& point : check.points) {
        text += std::to_string(point.rpm) + "," + Optional(point.strobe);
        for (const std::optional<double>& unit : point.unit)
            text += "," + Optional(unit);
        text += "," + (point.map ? std::to_string(*point.map) : std::string());
        text += "," + Optional(DifferenceOf(point, check.channel)) + "\n";
    }
    return text;
}

TimingRead ReadTimingCheck(std::string_view text) {
    TimingRead read;
    const auto fail = [&read](TimingFault fault, int line, int column = 0) {
        read.fault = fault;
        read.line = line;
        read.column = column;
        read.check = {};
        return read;
    };
    if (text.size() > kMaxTimingFileBytes)
        return fail(TimingFault::TooLarge, 0);
    bool timeSeen = false;
    bool columnsSeen = false;
    int number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!IsText(line))
            return fail(number == 1 ? TimingFault::NotACheck : TimingFault::BadText, number);
        if (number == 1) {
            if (line != kFirstLine)
                return fail(TimingFault::NotACheck, number);
            continue;
        }
        if (!columnsSeen) {
            if (line == kColumnLine) {
                columnsSeen = true;
                continue;
            }
            std::string unquoted;
            if (!line.empty() && line[0] == '"') {
                if (!Unquote(line, unquoted))
                    return fail(TimingFault::BadHeader, number);
                line = unquoted;
            }
            if (line.substr(0, 2) != "# ")
                return fail(TimingFault::BadColumns, number);
            // "# key: value"; an editor that trims the blank after an
            // empty value's colon leaves a line that still reads.
            const std::size_t colon = line.find(':');
            if (colon == std::string_view::npos)
                return fail(TimingFault::BadHeader, number);
            const std::string_view key = line.substr(2, colon - 2);
            std::string_view value = line.substr(colon + 1);
            if (!value.empty()) {
                if (value[0] != ' ')
                    return fail(TimingFault::BadHeader, number);
                value.remove_prefix(1);
            }
            if (key == "time") {
                if (!ParseLogTime(value, read.check.time))
                    return fail(TimingFault::BadHeader, number);
                timeSeen = true;
            } else if (key == "unit") {
                read.check.unitVersion = value;
            } else if (key == "unit build date") {
                read.check.unitBuildDate = value;
            } else if (key == "tune") {
                if (!IsTune(value))
                    return fail(TimingFault::BadHeader, number);
                read.check.tune = value;
            } else if (key == "channel") {
                if (value.size() != 1 || value[0] < '0' || value[0] > '4')
                    return fail(TimingFault::BadHeader, number);
                read.check.channel = value[0] - '0';
            }
            // Another key is a later version's: it is passed over.
            continue;
        }
        if (line.empty())
            continue;
        const std::vector<std::string_view> fields = Split(line);
        if (fields.size() != kFields)
            return fail(TimingFault::BadRow, number);
        if (read.check.points.size() >= kMaxTimingPoints)
            return fail(TimingFault::TooMany, number);
        TimingPoint point;
        double value = 0;
        if (!ParseNumber(fields[0], value, true))
            return fail(TimingFault::BadNumber, number, 1);
        if (value < 0 || value > kMaxCheckRpm)
            return fail(TimingFault::OutOfRange, number, 1);
        point.rpm = static_cast<int>(value);
        // Strobe, the four channels, the map and the difference: each may
        // be empty.
        for (int column = 1; column < kFields; ++column) {
            const std::string_view field = fields[static_cast<std::size_t>(column)];
            if (field.empty())
                continue;
            if (!ParseNumber(field, value, column == 6))
                return fail(TimingFault::BadNumber, number, column + 1);
            // A difference spans twice the range of what it is taken from.
            const double limit = column == 7 ? 2 * kMaxCheckDegrees : kMaxCheckDegrees;
            if (std::abs(value) > limit)
                return fail(TimingFault::OutOfRange, number, column + 1);
            if (column == 1)
                point.strobe = value;
            else if (column <= 5)
                point.unit[static_cast<std::size_t>(column - 2)] = value;
            else if (column == 6)
                point.map = static_cast<int>(value);
            // The difference is made again from the readings.
        }
        read.check.points.push_back(point);
    }
    if (number == 0)
        return fail(TimingFault::NotACheck, 1);
    if (!timeSeen)
        return fail(TimingFault::NoTime, number);
    if (!columnsSeen)
        return fail(TimingFault::BadColumns, number);
    return read;
}

std::string TimingFaultText(const TimingRead& read, int language) {
    const std::string line = std::to_string(read.line);
    const std::string column = std::to_string(read.column);
    switch (read.fault) {
    case TimingFault::None:
        return {};
    case TimingFault::NotACheck:
        return Text(TimingText::ReadNotACheck, language);
    case TimingFault::TooLarge:
        return Replace(Text(TimingText::ReadTooLarge, language), "%1",
                       std::to_string(kMaxTimingFileBytes / 1024));
    case TimingFault::BadHeader:
        return Replace(Text(TimingText::ReadBadHeader, language), "%1", line);
    case TimingFault::NoTime:
        return Text(TimingText::ReadNoTime, language);
    case TimingFault::BadColumns:
        return Replace(Text(TimingText::ReadBadColumns, language), "%1", line);
    case TimingFault::BadRow:
        return Replace(Text(TimingText::ReadBadRow, language), "%1", line);
    case TimingFault::BadNumber:
        return Replace(Replace(Text(TimingText::ReadBadNumber, language), "%1", line), "%2",
                       column);
    case TimingFault::OutOfRange:
        return Replace(Replace(Text(TimingText::ReadOutOfRange, language), "%1", line), "%2",
                       column);
    case TimingFault::TooMany:
        return Replace(Text(TimingText::ReadTooMany, language), "%1",
                       std::to_string(kMaxTimingPoints));
    case TimingFault::BadText:
        break;
    }
    return Replace(Text(TimingText::ReadBadText, language), "%1", line);
}

} // namespace orna5
