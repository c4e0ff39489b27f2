#pragma once

#include "files/BoundedFile.h"
#include "files/LogTime.h"
#include "files/MonitorLog.h"
#include "ride/RiseRate.h"

#include <cstddef>
#include <limits>
#include <string>
#include <vector>

namespace orna5 {

// What makes a stretch of a log a pull. In one gear the rise rate of the
// rpm is in proportion to the wheel torque, so a pull at full throttle is
// what an ignition-only tune is judged by.
//
// A pull is a stretch of rows with the throttle at or above minTps in which
// the rpm rises by at least minRise over at least minSeconds, from its
// lowest row to its highest. It ends at a closed throttle, at a gap of more
// than longestGap between rows, at a drop of more than dropEnds below its
// highest (a gear change, a quick-shifter's cut), and when the rpm has not
// gone higher for more than levelSeconds (the limiter, a steady speed). The
// rows after its highest are not part of it; the rows from a drop on may
// begin the next. A row further above the one before than fastestRise
// allows (no engine in gear gains revs that fast: a glitched reading) is
// left out, as is one above kHighestRpm, and so is a single row more than
// dropEnds below the one before when the row after it is back up within
// dropEnds of that one (a glitched reading too: no shift or cut recovers
// in one row).
struct PullRules {
    double minTps = 90;
    double minRise = 1500;
    double minSeconds = 1.0;
    double dropEnds = 300;
    double longestGap = 1.0;
    double levelSeconds = 1.0;
    double fastestRise = 20000; // rpm per second

    // The gear estimate (see Pull::gear).
    double shiftSeconds = 1.0;
    double stopRpm = 2000;
    double sameGearShare = 0.15;
};

// The highest rpm a row may carry: the top of the unit's rpm axes. More is
// no reading of an engine.
constexpr double kHighestRpm = 25500;

// One pull of a log.
struct Pull {
    LogTime start;           // its first row's time, as the log wrote it
    double startSeconds = 0; // on the log's running clock
    double seconds = 0;      // from its first row to its highest
    double lowRpm = 0;       // its first row's rpm, the lowest
    double highRpm = 0;      // its highest row's rpm
    std::size_t rows = 0;
    std::size_t map = 0; // the map it ran on: an index into PullLog::maps
    // The gear, an estimate; 0 when not known. A pull that begins within
    // shiftSeconds of the end of the one before, lower than that one ended,
    // is one gear above it (a shift). Else a pull after the engine was
    // below stopRpm since the pull before, or since the log began, is in
    // first gear. Else it is in the gear of the pull of the same log whose
    // rates at the same rpm are nearest, when they are within sameGearShare
    // of each other (neighbouring gears differ by far more).
    int gear = 0;
    bool excluded = false; // left out of the comparison by the user
    std::vector<BinRate> rates;

    // How it began, for the gear estimate: within shiftSeconds of the end
    // of the pull before and lower than that ended; after the engine was
    // below stopRpm.
    bool afterShift = false;
    bool afterStop = false;
};

// The pulls of one log and what the log says about its maps.
struct PullLog {
    std::string path;
    LogHeader header;
    // The maps the rows ran on: the header's first (hasMap false when it
    // named none), then each one programmed while recording.
    std::vector<LogHeader> maps;
    std::vector<Pull> pulls;
    std::size_t rows = 0;
    LogSkips skips;
    bool isLog = false;
};

// Finds the pulls of a log as its rows come, keeping only the rows of the
// pull under way, so a log of any length is searched in little memory.
// Fed by MonitorLogReader (as a LogRowSink) or row by row.
class PullFinder : public LogRowSink {
public:
    explicit PullFinder(PullLog& into, PullRules rules = {});

    void Columns(const LogHeader& header, const std::vector<std::string>& names) override;
    void MapChanged(const LogMapChange& change) override;
    void Row(const LogTime& time, double seconds, const float* values) override;

    // One row: rpm and throttle percent (NaN: not known).
    void Take(const LogTime& time, double seconds, double rpm, double tps);
    // The log ended: the pull under way counts, and the gears are estimated.
    void Finish();

private:
    void Accept(const LogTime& time, double seconds, double rpm, double tps);
    void Begin(const LogTime& time, double seconds, double rpm);
    void EndPull();

    PullLog& log;
    PullRules rules;
    int rpmColumn = -1;
    int tpsColumn = -1;

    // The pull under way, from its lowest row.
    std::vector<PullRow> rows;
    LogTime firstTime;
    std::size_t firstMap = 0;
    std::size_t highest = 0;   // index of its highest row
    double highestSeconds = 0; // when that was reached

    bool havePrevious = false;
    double previousSeconds = 0;
    double previousRpm = 0;
    // A row far below the one before, until the next tells what it was.
    struct HeldRow {
        LogTime time;
        double seconds = 0;
        double rpm = 0;
        double tps = 0;
    };
    bool holding = false;
    HeldRow held;
    // Since the last pull ended: the lowest rpm, and where it ended.
    double lowestSince = std::numeric_limits<double>::infinity();
    bool haveLastEnd = false;
    double lastEnd = 0;
    double lastEndRpm = 0;
};

// Estimates the gear of every pull of a log (see Pull::gear).
void EstimateGears(PullLog& log, const PullRules& rules = {});

// Streams the log file at `path` through a PullFinder, bounded as
// StreamLogFile is. The read's fault says why a file could not be read;
// with none, log.isLog says whether it was a log.
BoundedRead FindPulls(const std::string& path, PullLog& log, const PullRules& rules = {});

// The pulls of a log already in memory, as the window holds it.
void FindPulls(const MonitorLog& monitorLog, PullLog& log, const PullRules& rules = {});

} // namespace orna5
