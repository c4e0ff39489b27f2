#pragma once

#include "files/BoundedFile.h"
#include "files/LogTime.h"
#include "params/ParameterImage.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace orna5 {

// A ten-hour log at the fast pace is some 90 MB; far more is not one of ours.
constexpr std::size_t kMaxDataLogBytes = 256u * 1024 * 1024;
// The longest line read; a row is some 100 bytes and the longest header
// line (a parameter file's path) a few KiB. A longer line is skipped whole.
constexpr std::size_t kMaxLogLineBytes = 16 * 1024;
// A column line with more names than this is not one of ours.
constexpr std::size_t kMaxLogColumns = 64;

// What a data log says about itself in its "#" lines above the columns: the
// unit it was taken from, the parameter file in use, the tune and the map
// the unit ran on, so a log can be played back against the map of its own
// day. A map programmed while recording is one of these too (without unit
// and file).
struct LogHeader {
    std::string unitVersion;   // empty: not known when the log started
    std::string parameterFile; // empty: the parameters came from no file
    std::string tune;          // TuneChecksum of the image; empty: not said
    bool hasMap = false;       // the three map lines were present
    bool mapUsesTps = false;
    std::array<std::uint8_t, kAxisPoints> mapRpm{}; // rpm / 100, as in the image
    std::array<std::uint8_t, kMapRows * kAxisPoints> advanceMap{};
};

// The header for a log of a unit running on `image`.
LogHeader MakeLogHeader(const ParameterImage& image, const std::string& unitVersion,
                        const std::string& parameterFile);

// The "#" lines and the column line, each ended by LF.
void WriteLogHeader(std::ostream& out, const LogHeader& header);

// The "#" lines of a map programmed at `timeText` while recording: a
// "# map at <time>:" line, then the tune and the three map lines as the
// header writes them.
void WriteLogMap(std::ostream& out, const std::string& timeText, const ParameterImage& image);

// One row of the log from an accepted live-data frame (102 bytes), without
// the line end: rpm, supply, throttle, the four channels' advance (empty for
// a channel the unit does not use), servo, counters and flags.
std::string LogRow(const std::uint8_t* frame, const std::string& timeText);

// The time of a row as the log's time column writes it
// ("2026-10-25T02:59:59.900+02:00", local time with its offset), for a row
// appended now.
using LogClock = std::function<std::string()>;

// A log file being written. Every row reaches the file at once, so closing
// the program (or losing it) in the middle of a log keeps every row written.
class MonitorLogWriter {
public:
    explicit MonitorLogWriter(LogClock clock);

    bool Open(const std::string& path, const LogHeader& header);
    // Appends one row stamped `timeText` (the clock's time when empty). Returns
    // false when the file could not take it (disk full, file gone).
    bool Append(const std::uint8_t* frame, const std::string& timeText = {});
    // Names the unit in a "#" line between the rows, for a log begun before
    // the unit had told its version; the reader takes it when the header
    // had none.
    bool AppendUnitVersion(const std::string& unitVersion);
    // Writes the map of `image`, stamped now (or `timeText`), after a
    // Program passed: the rows after it are counted against it.
    bool AppendMap(const ParameterImage& image, const std::string& timeText = {});
    void Close();

    bool IsOpen() const { return out.is_open(); }
    long Rows() const { return rows; }
    const std::string& Path() const { return path; }

private:
    LogClock clock;
    std::ofstream out;
    std::string path;
    long rows = 0;
};

// A map programmed while recording, as a log holds it.
struct LogMapChange {
    std::size_t firstRow = 0; // the first row taken on it
    LogTime time;             // when the Program passed
    LogHeader map;            // tune and map; hasMap is set
};

// Why lines of a log were not taken, by kind.
struct LogSkips {
    std::size_t beforeColumns = 0; // text above the column line that is no "#" line
    std::size_t badTime = 0;       // a time that is no time: quoted, 31 February, 25:00...
    std::size_t fieldCount = 0;    // more or fewer fields than columns
    std::size_t badNumber = 0;     // a field that is no number, or a row without rpm
    std::size_t aheadOfTime = 0;   // more than an hour ahead of the rows around it
    std::size_t tooLong = 0;       // longer than kMaxLogLineBytes
    std::size_t badHeader = 0;     // one of our "#" lines whose value cannot be read

    std::size_t Total() const {
        return beforeColumns + badTime + fieldCount + badNumber + aheadOfTime + tooLong + badHeader;
    }
};

// A log read back: the header, the column names and one number per column
// and row (NaN where a field was empty). The numbers are floats: every
// field a unit writes is a whole number below 65 536, which a float holds
// exactly, at half the memory of a ten-hour log.
struct MonitorLog {
    LogHeader header;
    std::vector<std::string> columns;       // every column but "time"
    std::vector<LogTime> times;             // the time of each row, as written
    std::vector<double> seconds;            // on the log's running clock (below)
    std::vector<std::vector<float>> values; // [column][row]
    std::vector<LogMapChange> maps;         // programmed while recording, in row order
    LogSkips skips;
    std::size_t skippedLines = 0; // skips.Total()

    std::size_t Rows() const { return seconds.size(); }
    // Index into `columns` and `values`, or -1.
    int Column(const std::string& name) const;
    // The time of a row as the log writes it.
    std::string TimeText(std::size_t row) const;
};

// What a log reader hands on as it goes.
class LogRowSink {
public:
    virtual ~LogRowSink() = default;
    // The column line was read; the header above it is complete (but for a
    // unit named later).
    virtual void Columns(const LogHeader& header, const std::vector<std::string>& columns) = 0;
    // A map was programmed: the rows from here on ran on it.
    virtual void MapChanged(const LogMapChange& change) = 0;
    // One row: its time, its place on the running clock, one number per
    // column (NaN for an empty field).
    virtual void Row(const LogTime& time, double seconds, const float* values) = 0;
};

// Reads a log written by MonitorLogWriter (the window's or orna5ctl's) from
// pieces of its text, handing each row on as soon as it is known, so a log
// of any length is read in the memory of a few lines. Lines that cannot be
// read are skipped and counted.
//
// The running clock: seconds since the first row, following the rows'
// times while they go forward by no more than an hour. A step backwards
// (the clock put back when summer time ends, in a log without offsets)
// starts a new stretch that goes on from where the last one ended. A row
// more than an hour ahead of the row before it is held until the next: if
// that one is within an hour of it, a new stretch starts there; otherwise
// it was a stray stamp and is skipped. The first row, with no row before
// it, is held too: when the next is more than an hour behind it, it was the
// stray stamp. So the clock never runs backwards, and neither a summer-time
// change nor one stray stamp loses the rest of a ride.
class MonitorLogReader {
public:
    static constexpr long long kLongestStepMs = 3600 * 1000;

    explicit MonitorLogReader(LogRowSink& sink);

    // The next piece of the text; pieces may end inside a line.
    void Feed(std::string_view piece);
    // The text ended.
    void Finish();

    // A column line with "time" and "rpm" was read.
    bool IsLog() const { return haveColumns; }
    const LogHeader& Header() const { return header; }
    const LogSkips& Skips() const { return skips; }

private:
    void Line(std::string_view line);
    void HeaderLine(std::string_view line, LogHeader& into, int& mapLines);
    void ColumnLine(std::string_view line);
    void RowLine(std::string_view line);
    void Place(const LogTime& time, const float* values);
    void Emit(const LogTime& time, double seconds, const float* values);
    void ResolveHeld(const LogTime* next);
    void EndMapBlock();

    LogRowSink& sink;
    LogHeader header;
    LogSkips skips;
    int headerMapLines = 0;
    bool haveColumns = false;
    bool refused = false; // a column line without rpm: not a log
    int rpmColumn = -1;
    std::vector<std::string> columns;
    std::vector<std::string_view> fields;
    std::vector<float> numbers;

    // The line that did not end in the last piece.
    std::string carry;
    bool carryTooLong = false;

    // The running clock.
    std::size_t emitted = 0;
    bool havePrevious = false;
    LogTime previous;
    double seconds = 0;
    // A row more than an hour ahead, waiting for the next to tell.
    bool holding = false;
    bool holdingFirst = false; // the held row is the first of the log
    bool skippedFirst = false; // it was a stray: the next row begins the ride
    LogTime heldTime;
    std::vector<float> heldValues;

    // A "# map at" block being read, and one read that applies from the
    // next row on.
    bool inMapBlock = false;
    int blockMapLines = 0;
    LogMapChange block;
    LogMapChange waitingMap;
    bool mapWaiting = false;
};

// Reads a whole log into `log`. Returns false when the text has no column
// line with "time" and "rpm".
bool ReadMonitorLog(std::istream& in, MonitorLog& log);
bool ReadMonitorLog(std::string_view text, MonitorLog& log);

// Reads the log file at `path` as a stream, bounded as ReadBoundedFile is.
// The read's fault says why a file could not be read; with none, the
// result says whether it was a log.
bool ReadMonitorLogFile(const std::string& path, MonitorLog& log, BoundedRead& read,
                        std::size_t limit = kMaxDataLogBytes);

// Streams the file at `path` through `reader` (Finish included).
BoundedRead StreamLogFile(const std::string& path, MonitorLogReader& reader,
                          std::size_t limit = kMaxDataLogBytes);

} // namespace orna5
