#include "files/MonitorLog.h"

#include "files/LogTime.h"
#include "files/TextScanner.h"
#include "params/MonitorFrame.h"

#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>
#include <string_view>
#include <utility>

namespace orna5 {

namespace {

const char* const kColumnLine =
    "time,rpm,supply_mv,tps_percent,tps_mv,advance1,advance2,advance3,advance4,"
    "servo_desired_mv,servo_measured_mv,programmings,kill_switch,clutch_master,"
    "shift_light,pickup1,pickup2,input1_grounded,input2_grounded,engine_off_blocking,"
    "saving_count,stored_data_error,protocol";

const std::string_view kUnitKey = "# unit:";
const std::string_view kFileKey = "# parameter file:";
const std::string_view kTpsKey = "# map uses tps:";
const std::string_view kRpmKey = "# map rpm:";
const std::string_view kMapKey = "# advance map:";

// Header texts come from the unit and from file names; a line break in one
// would end its "#" line early and start a row of nonsense.
std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return text;
}

// Field and header values end at blanks; a carriage return before the line
// end (a log edited elsewhere) goes with them.
std::string_view Trim(std::string_view text) {
    return TrimBlanks(text, "\r");
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Whole numbers separated by blanks; false unless exactly `count` of them,
// each within 0..limit.
template <std::size_t N>
bool ReadNumbers(std::string_view text, long divisor, long limit,
                 std::array<std::uint8_t, N>& out) {
    std::size_t n = 0;
    const char* p = text.data();
    const char* end = p + text.size();
    while (true) {
        while (p < end && (*p == ' ' || *p == '\t' || *p == '\r')) {
            ++p;
        }
        if (p == end) {
            break;
        }
        long value = 0;
        const auto [next, error] = std::from_chars(p, end, value);
        if (error != std::errc() || n == N || value < 0 || value / divisor > limit) {
            return false;
        }
        out[n++] = static_cast<std::uint8_t>(value / divisor);
        p = next;
    }
    return n == N;
}

void ReadHeaderLine(std::string_view line, LogHeader& header, int& mapLines) {
    if (StartsWith(line, kUnitKey)) {
        header.unitVersion = std::string(Trim(line.substr(kUnitKey.size())));
    } else if (StartsWith(line, kFileKey)) {
        header.parameterFile = std::string(Trim(line.substr(kFileKey.size())));
    } else if (StartsWith(line, kTpsKey)) {
        const std::string_view value = Trim(line.substr(kTpsKey.size()));
        if (value == "0" || value == "1") {
            header.mapUsesTps = value == "1";
            mapLines |= 1;
        }
    } else if (StartsWith(line, kRpmKey)) {
        if (ReadNumbers(line.substr(kRpmKey.size()), 100, 255, header.mapRpm)) {
            mapLines |= 2;
        }
    } else if (StartsWith(line, kMapKey)) {
        if (ReadNumbers(line.substr(kMapKey.size()), 1, 255, header.advanceMap)) {
            mapLines |= 4;
        }
    }
}

double ParseField(std::string_view field) {
    field = Trim(field);
    double value = std::numeric_limits<double>::quiet_NaN();
    if (!field.empty()) {
        const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
        if (error != std::errc() || end != field.data() + field.size()) {
            value = std::numeric_limits<double>::quiet_NaN();
        }
    }
    return value;
}

} // namespace

LogHeader MakeLogHeader(const ParameterImage& image, const std::string& unitVersion,
                        const std::string& parameterFile) {
    LogHeader header;
    header.unitVersion = unitVersion;
    header.parameterFile = parameterFile;
    header.hasMap = true;
    header.mapUsesTps = image[field::mapUsesTps] != 0;
    for (std::size_t i = 0; i < kAxisPoints; ++i) {
        header.mapRpm[i] = image[field::mapRpm + i];
    }
    for (std::size_t i = 0; i < header.advanceMap.size(); ++i) {
        header.advanceMap[i] = image[field::advanceMap + i];
    }
    return header;
}

void WriteLogHeader(std::ostream& out, const LogHeader& header) {
    out << "# orna5 data log\n";
    out << kUnitKey << ' ' << OneLine(header.unitVersion) << '\n';
    out << kFileKey << ' ' << OneLine(header.parameterFile) << '\n';
    if (header.hasMap) {
        out << kTpsKey << ' ' << (header.mapUsesTps ? 1 : 0) << '\n';
        out << kRpmKey;
        for (std::uint8_t rpm : header.mapRpm) {
            out << ' ' << rpm * 100;
        }
        out << '\n' << kMapKey;
        for (std::uint8_t advance : header.advanceMap) {
            out << ' ' << static_cast<int>(advance);
        }
        out << '\n';
    }
    out << kColumnLine << '\n';
}

std::string LogRow(const std::uint8_t* f, const std::string& timeText) {
    namespace m = monitorField;
    std::string row = timeText;
    const auto add = [&row](long value) {
        row += ',';
        row += std::to_string(value);
    };
    add(FrameWord(f, m::rpm));
    add(FrameWord(f, m::supplyMv));
    add(f[m::tpsPercent]);
    add(CountsToMillivolts(FrameWord(f, m::tpsCounts)));
    for (std::size_t c = 0; c < 4; ++c) {
        const int byte = f[m::channelAdvance + c];
        if (byte) {
            add(byte - 100);
        } else {
            row += ',';
        }
    }
    add(CountsToMillivolts(FrameWord(f, m::servoDesired)));
    add(CountsToMillivolts(FrameWord(f, m::servoMeasured)));
    add(FrameWord(f, m::programmings));
    for (std::size_t flag :
         {m::killSwitch, m::clutchMaster, m::shiftLight, m::pickup1Signal, m::pickup2Signal,
          m::input1Grounded, m::input2Grounded, m::engineOffBlocking}) {
        add(f[flag] ? 1 : 0);
    }
    add(FrameWord(f, m::savingCount));
    add(f[m::storedDataError] ? 1 : 0);
    add(f[m::protocolVersion]);
    return row;
}

MonitorLogWriter::MonitorLogWriter(LogClock clockNow) : clock(std::move(clockNow)) {}

bool MonitorLogWriter::Open(const std::string& filePath, const LogHeader& header) {
    Close();
    out.open(filePath, std::ios::binary | std::ios::trunc);
    if (!out) {
        out.close();
        return false;
    }
    path = filePath;
    rows = 0;
    WriteLogHeader(out, header);
    out.flush();
    if (!out) {
        Close();
        return false;
    }
    return true;
}

bool MonitorLogWriter::Append(const std::uint8_t* frame, const std::string& timeText) {
    if (!out.is_open()) {
        return false;
    }
    out << LogRow(frame, timeText.empty() ? clock() : timeText) << '\n';
    out.flush();
    if (!out) {
        return false;
    }
    ++rows;
    return true;
}

bool MonitorLogWriter::AppendUnitVersion(const std::string& unitVersion) {
    if (!out.is_open()) {
        return false;
    }
    out << kUnitKey << ' ' << OneLine(unitVersion) << '\n';
    out.flush();
    return static_cast<bool>(out);
}

void MonitorLogWriter::Close() {
    if (out.is_open()) {
        out.close();
    }
    out.clear();
}

int MonitorLog::Column(const std::string& name) const {
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i] == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool ReadMonitorLog(std::istream& in, MonitorLog& log) {
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return ReadMonitorLog(std::string_view(text), log);
}

bool ReadMonitorLog(std::string_view text, MonitorLog& log) {
    log = MonitorLog();
    std::string_view rest(text);
    bool haveColumns = false;
    int mapLines = 0;
    long long firstWhole = 0;
    double firstFraction = 0;
    std::vector<std::string_view> fields;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (Trim(line).empty()) {
            continue;
        }
        if (line.front() == '#') {
            if (!haveColumns) {
                ReadHeaderLine(line, log.header, mapLines);
            } else if (log.header.unitVersion.empty() && StartsWith(line, kUnitKey)) {
                // A unit that told its version only after the log began.
                log.header.unitVersion = std::string(Trim(line.substr(kUnitKey.size())));
            }
            continue;
        }
        fields.clear();
        std::size_t start = 0;
        while (true) {
            const std::size_t comma = line.find(',', start);
            fields.push_back(Trim(line.substr(start, comma - start)));
            if (comma == std::string_view::npos) {
                break;
            }
            start = comma + 1;
        }
        if (!haveColumns) {
            if (fields.empty() || fields[0] != "time") {
                ++log.skippedLines;
                continue;
            }
            for (std::size_t i = 1; i < fields.size(); ++i) {
                log.columns.emplace_back(fields[i]);
            }
            if (log.Column("rpm") < 0) {
                return false;
            }
            log.values.resize(log.columns.size());
            haveColumns = true;
            continue;
        }
        long long whole = 0;
        double fraction = 0;
        if (fields.size() != log.columns.size() + 1 || !ParseLogTime(fields[0], whole, fraction)) {
            ++log.skippedLines;
            continue;
        }
        if (log.times.empty()) {
            firstWhole = whole;
            firstFraction = fraction;
        }
        double seconds = static_cast<double>(whole - firstWhole) + (fraction - firstFraction);
        // A clock put back (summer time ending) must not fold the chart back
        // onto itself.
        if (!log.seconds.empty() && seconds < log.seconds.back()) {
            seconds = log.seconds.back();
        }
        log.times.emplace_back(fields[0]);
        log.seconds.push_back(seconds);
        for (std::size_t i = 1; i < fields.size(); ++i) {
            log.values[i - 1].push_back(ParseField(fields[i]));
        }
    }
    log.header.hasMap = mapLines == 7;
    return haveColumns;
}

} // namespace orna5
