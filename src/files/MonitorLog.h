#pragma once

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

// What a data log says about itself in its "#" lines above the columns: the
// unit it was taken from, the parameter file in use and the map the unit
// ran on, so a log can be played back against the map of its own day.
struct LogHeader {
    std::string unitVersion;   // empty: not known when the log started
    std::string parameterFile; // empty: the parameters came from no file
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

// One row of the log from an accepted live-data frame (102 bytes), without
// the line end: rpm, supply, throttle, the four channels' advance (empty for
// a channel the unit does not use), servo, counters and flags.
std::string LogRow(const std::uint8_t* frame, const std::string& timeText);

// The time of a row as the log's time column writes it
// ("2026-12-08T10:29:34.123", local time), for a row appended now.
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

// A log read back: the header, the column names and one number per column
// and row (NaN where a field was empty or not a number).
struct MonitorLog {
    LogHeader header;
    std::vector<std::string> columns;        // every column but "time"
    std::vector<std::string> times;          // the time text of each row
    std::vector<double> seconds;             // since the first row, never decreasing
    std::vector<std::vector<double>> values; // [column][row]
    std::size_t skippedLines = 0;            // rows that could not be read

    std::size_t Rows() const { return times.size(); }
    // Index into `columns` and `values`, or -1.
    int Column(const std::string& name) const;
};

// Reads a log written by MonitorLogWriter (the window's or orna5ctl's).
// Lines that cannot be read are skipped and counted. Returns false when the
// text has no column line with "time" and "rpm".
bool ReadMonitorLog(std::istream& in, MonitorLog& log);
bool ReadMonitorLog(std::string_view text, MonitorLog& log);

} // namespace orna5
