#include "files/MonitorLog.h"

#include "files/LogTime.h"
#include "files/TextScanner.h"
#include "params/MonitorFrame.h"
#include "params/TuneChecksum.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
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
const std::string_view kTuneKey = "# tune:";
const std::string_view kTpsKey = "# map uses tps:";
const std::string_view kRpmKey = "# map rpm:";
const std::string_view kMapKey = "# advance map:";
const std::string_view kMapAtKey = "# map at ";

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

// Whole numbers separated by blanks; false unless exactly N of them, each
// within 0..limit once divided. `out` changes only when all are taken, so a
// refused line leaves what an earlier one said.
template <std::size_t N>
bool ReadNumbers(std::string_view text, long divisor, long limit,
                 std::array<std::uint8_t, N>& out) {
    std::array<std::uint8_t, N> read{};
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
        read[n++] = static_cast<std::uint8_t>(value / divisor);
        p = next;
    }
    if (n != N) {
        return false;
    }
    out = read;
    return true;
}

bool IsTune(std::string_view text) {
    if (text.size() != 8) {
        return false;
    }
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    return true;
}

// A field as a number: NaN when empty, false when it is no finite number a
// float can hold.
bool ParseField(std::string_view field, float& value) {
    field = Trim(field);
    if (field.empty()) {
        value = std::numeric_limits<float>::quiet_NaN();
        return true;
    }
    double read = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), read);
    if (error != std::errc() || end != field.data() + field.size() || !std::isfinite(read) ||
        std::fabs(read) > FLT_MAX) {
        return false;
    }
    value = static_cast<float>(read);
    return true;
}

// The map lines, as the header and a map programmed while recording write them.
void WriteMapLines(std::ostream& out, const LogHeader& map) {
    if (!map.tune.empty()) {
        out << kTuneKey << ' ' << OneLine(map.tune) << '\n';
    }
    if (map.hasMap) {
        out << kTpsKey << ' ' << (map.mapUsesTps ? 1 : 0) << '\n';
        out << kRpmKey;
        for (std::uint8_t rpm : map.mapRpm) {
            out << ' ' << rpm * 100;
        }
        out << '\n' << kMapKey;
        for (std::uint8_t advance : map.advanceMap) {
            out << ' ' << static_cast<int>(advance);
        }
        out << '\n';
    }
}

// Builds a MonitorLog from the rows a reader hands on.
class LogBuilder : public LogRowSink {
public:
    explicit LogBuilder(MonitorLog& log) : log(log) {}

    void Columns(const LogHeader&, const std::vector<std::string>& names) override {
        log.columns = names;
        log.values.resize(names.size());
    }
    void MapChanged(const LogMapChange& change) override { log.maps.push_back(change); }
    void Row(const LogTime& time, double seconds, const float* values) override {
        log.times.push_back(time);
        log.seconds.push_back(seconds);
        for (std::size_t c = 0; c < log.values.size(); ++c) {
            log.values[c].push_back(values[c]);
        }
    }
    bool Finish(const MonitorLogReader& reader) {
        log.header = reader.Header();
        log.skips = reader.Skips();
        log.skippedLines = log.skips.Total();
        return reader.IsLog();
    }

private:
    MonitorLog& log;
};

} // namespace

LogHeader MakeLogHeader(const ParameterImage& image, const std::string& unitVersion,
                        const std::string& parameterFile) {
    LogHeader header;
    header.unitVersion = unitVersion;
    header.parameterFile = parameterFile;
    header.tune = TuneChecksum(image);
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
    WriteMapLines(out, header);
    out << kColumnLine << '\n';
}

void WriteLogMap(std::ostream& out, const std::string& timeText, const ParameterImage& image) {
    out << kMapAtKey << OneLine(timeText) << ":\n";
    WriteMapLines(out, MakeLogHeader(image, {}, {}));
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

bool MonitorLogWriter::AppendMap(const ParameterImage& image, const std::string& timeText) {
    if (!out.is_open()) {
        return false;
    }
    // One flush for the whole block: a reader never sees half a map.
    WriteLogMap(out, timeText.empty() ? clock() : timeText, image);
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

std::string MonitorLog::TimeText(std::size_t row) const {
    return row < times.size() ? FormatLogTime(times[row]) : std::string();
}

MonitorLogReader::MonitorLogReader(LogRowSink& rowSink) : sink(rowSink) {}

void MonitorLogReader::Feed(std::string_view piece) {
    while (!piece.empty()) {
        const std::size_t end = piece.find('\n');
        const std::string_view part = piece.substr(0, end);
        const bool lineEnds = end != std::string_view::npos;
        piece = lineEnds ? piece.substr(end + 1) : std::string_view();
        if (carry.empty() && !carryTooLong && lineEnds) {
            // The whole line lies in this piece: read it where it is.
            if (part.size() > kMaxLogLineBytes) {
                ++skips.tooLong;
            } else {
                Line(part);
            }
            continue;
        }
        if (!carryTooLong) {
            if (carry.size() + part.size() > kMaxLogLineBytes) {
                carryTooLong = true;
                carry.clear();
            } else {
                carry.append(part);
            }
        }
        if (lineEnds) {
            if (carryTooLong) {
                ++skips.tooLong;
            } else {
                Line(carry);
            }
            carry.clear();
            carryTooLong = false;
        }
    }
}

void MonitorLogReader::Finish() {
    if (carryTooLong) {
        ++skips.tooLong;
    } else if (!carry.empty()) {
        Line(carry);
    }
    carry.clear();
    carryTooLong = false;
    if (holding) {
        ResolveHeld(nullptr);
    }
    EndMapBlock();
    if (mapWaiting) {
        waitingMap.firstRow = emitted;
        sink.MapChanged(waitingMap);
        mapWaiting = false;
    }
}

void MonitorLogReader::Line(std::string_view line) {
    if (refused) {
        return;
    }
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    if (Trim(line).empty()) {
        return;
    }
    if (line.front() != '#') {
        if (!haveColumns) {
            ColumnLine(line);
        } else {
            EndMapBlock();
            RowLine(line);
        }
        return;
    }
    if (!haveColumns) {
        HeaderLine(line, header, headerMapLines);
    } else if (StartsWith(line, kMapAtKey)) {
        EndMapBlock();
        std::string_view at = Trim(line.substr(kMapAtKey.size()));
        if (at.empty() || at.back() != ':' ||
            !ParseLogTime(Trim(at.substr(0, at.size() - 1)), block.time)) {
            ++skips.badHeader;
            return;
        }
        block.map = LogHeader();
        blockMapLines = 0;
        inMapBlock = true;
    } else if (StartsWith(line, kUnitKey)) {
        // A unit that told its version only after the log began.
        if (header.unitVersion.empty()) {
            header.unitVersion = std::string(Trim(line.substr(kUnitKey.size())));
        }
    } else if (inMapBlock) {
        HeaderLine(line, block.map, blockMapLines);
        if (blockMapLines == 7) {
            block.map.hasMap = true;
            inMapBlock = false;
            // Rows still held belong to the map before: it applies from the
            // next row read on. A later block read before that row is the
            // map in force instead; one cut short leaves this one.
            waitingMap = block;
            mapWaiting = true;
        }
    }
}

void MonitorLogReader::HeaderLine(std::string_view line, LogHeader& into, int& mapLines) {
    bool taken = true;
    if (StartsWith(line, kUnitKey)) {
        into.unitVersion = std::string(Trim(line.substr(kUnitKey.size())));
    } else if (StartsWith(line, kFileKey)) {
        into.parameterFile = std::string(Trim(line.substr(kFileKey.size())));
    } else if (StartsWith(line, kTuneKey)) {
        const std::string_view value = Trim(line.substr(kTuneKey.size()));
        taken = IsTune(value);
        if (taken) {
            into.tune = std::string(value);
        }
    } else if (StartsWith(line, kTpsKey)) {
        const std::string_view value = Trim(line.substr(kTpsKey.size()));
        taken = value == "0" || value == "1";
        if (taken) {
            into.mapUsesTps = value == "1";
            mapLines |= 1;
        }
    } else if (StartsWith(line, kRpmKey)) {
        taken = ReadNumbers(line.substr(kRpmKey.size()), 100, 255, into.mapRpm);
        if (taken) {
            mapLines |= 2;
        }
    } else if (StartsWith(line, kMapKey)) {
        taken = ReadNumbers(line.substr(kMapKey.size()), 1, 255, into.advanceMap);
        if (taken) {
            mapLines |= 4;
        }
    }
    if (!taken) {
        ++skips.badHeader;
    }
}

void MonitorLogReader::ColumnLine(std::string_view line) {
    fields.clear();
    std::size_t start = 0;
    while (fields.size() <= kMaxLogColumns + 1) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(Trim(line.substr(start, comma - start)));
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    if (fields[0] != "time" || fields.size() > kMaxLogColumns + 1) {
        ++skips.beforeColumns;
        return;
    }
    columns.clear();
    for (std::size_t i = 1; i < fields.size(); ++i) {
        columns.emplace_back(fields[i]);
        if (columns.back() == "rpm" && rpmColumn < 0) {
            rpmColumn = static_cast<int>(i - 1);
        }
    }
    if (rpmColumn < 0) {
        refused = true;
        return;
    }
    header.hasMap = headerMapLines == 7;
    numbers.resize(columns.size());
    heldValues.resize(columns.size());
    haveColumns = true;
    sink.Columns(header, columns);
}

void MonitorLogReader::RowLine(std::string_view line) {
    // Split no further than one field too many: a line of commas costs
    // nothing more than a short row.
    fields.clear();
    std::size_t start = 0;
    while (fields.size() <= columns.size() + 1) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma - start));
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    if (fields.size() != columns.size() + 1) {
        ++skips.fieldCount;
        return;
    }
    LogTime time;
    if (!ParseLogTime(Trim(fields[0]), time)) {
        ++skips.badTime;
        return;
    }
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (!ParseField(fields[c + 1], numbers[c])) {
            ++skips.badNumber;
            return;
        }
    }
    // A row without rpm is no frame of a running engine.
    if (std::isnan(numbers[static_cast<std::size_t>(rpmColumn)])) {
        ++skips.badNumber;
        return;
    }
    Place(time, numbers.data());
}

void MonitorLogReader::Place(const LogTime& time, const float* values) {
    if (holding) {
        ResolveHeld(&time);
    }
    if (mapWaiting) {
        waitingMap.firstRow = emitted;
        sink.MapChanged(waitingMap);
        mapWaiting = false;
    }
    if (!havePrevious && !skippedFirst) {
        holding = true;
        holdingFirst = true;
        heldTime = time;
        std::copy(values, values + columns.size(), heldValues.begin());
        return;
    }
    if (!havePrevious) {
        Emit(time, 0, values);
        return;
    }
    const long long step = time.millis - previous.millis;
    if (step < 0) {
        Emit(time, seconds, values); // a new stretch, going on from here
    } else if (step <= kLongestStepMs) {
        Emit(time, seconds + static_cast<double>(step) / 1000, values);
    } else {
        holding = true;
        heldTime = time;
        std::copy(values, values + columns.size(), heldValues.begin());
    }
}

void MonitorLogReader::ResolveHeld(const LogTime* next) {
    holding = false;
    if (holdingFirst) {
        // Alone, or followed by a row at most an hour back: the ride begins here.
        holdingFirst = false;
        if (!next || next->millis - heldTime.millis >= -kLongestStepMs) {
            Emit(heldTime, 0, heldValues.data());
        } else {
            skippedFirst = true;
            ++skips.aheadOfTime;
        }
        return;
    }
    const long long apart = next ? next->millis - heldTime.millis : 0;
    if (next && apart >= -kLongestStepMs && apart <= kLongestStepMs) {
        Emit(heldTime, seconds, heldValues.data());
    } else {
        ++skips.aheadOfTime;
    }
}

void MonitorLogReader::Emit(const LogTime& time, double at, const float* values) {
    seconds = at;
    previous = time;
    havePrevious = true;
    ++emitted;
    sink.Row(time, at, values);
}

void MonitorLogReader::EndMapBlock() {
    // A block cut short (a row, another block or the end before its last
    // line) is not a map: the one before stays in force.
    if (inMapBlock) {
        inMapBlock = false;
        ++skips.badHeader;
    }
}

bool ReadMonitorLog(std::istream& in, MonitorLog& log) {
    log = MonitorLog();
    LogBuilder builder(log);
    MonitorLogReader reader(builder);
    std::vector<char> piece(64 * 1024);
    while (in) {
        in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
        const std::streamsize n = in.gcount();
        if (n <= 0) {
            break;
        }
        reader.Feed(std::string_view(piece.data(), static_cast<std::size_t>(n)));
    }
    reader.Finish();
    return builder.Finish(reader);
}

bool ReadMonitorLog(std::string_view text, MonitorLog& log) {
    log = MonitorLog();
    LogBuilder builder(log);
    MonitorLogReader reader(builder);
    reader.Feed(text);
    reader.Finish();
    return builder.Finish(reader);
}

BoundedRead StreamLogFile(const std::string& path, MonitorLogReader& reader, std::size_t limit) {
    BoundedRead read =
        StreamBoundedFile(path, limit, [&reader](const char* data, std::size_t size) {
            reader.Feed(std::string_view(data, size));
        });
    reader.Finish();
    return read;
}

bool ReadMonitorLogFile(const std::string& path, MonitorLog& log, BoundedRead& read,
                        std::size_t limit) {
    log = MonitorLog();
    LogBuilder builder(log);
    MonitorLogReader reader(builder);
    read = StreamLogFile(path, reader, limit);
    if (!read.Ok()) {
        log = MonitorLog();
        return false;
    }
    return builder.Finish(reader);
}

} // namespace orna5
