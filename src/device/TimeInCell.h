#pragma once

#include "files/MonitorLog.h"
#include "params/LivePosition.h"
#include "params/ParameterImage.h"

#include <array>
#include <cstdint>
#include <vector>

namespace orna5 {

struct LogHeader;
struct MonitorLog;

// How long the engine ran in each cell of the advance map: what a tuner
// should change first. Each accepted live frame holds its cell (the one
// MarkLivePosition lights for it) until the next accepted frame; a frame
// below the map's rpm axis holds none.
class TimeInCell {
public:
    // A longer silence is a link that stalled, not a ride: it counts this much.
    static constexpr double kLongestGap = 1.0;
    // The trail reaches back this far.
    static constexpr double kTrailSeconds = 10.0;

    // One accepted frame at `seconds` on the caller's clock, in the cell of
    // `position`. The frame before it is credited with the time between the
    // two; a clock that goes back credits nothing.
    void AddFrame(double seconds, const LivePosition& position);
    void Reset();

    // Seconds in the cell of throttle row 0..9 and rpm column 0..9.
    double Seconds(int row, int column) const;
    double Total() const;
    // The most any cell holds, for the colour scale.
    double Most() const;

    // A cell of the last kTrailSeconds and how long ago the engine left it
    // (0 for the cell it is in).
    struct TrailCell {
        int row = 0;
        int column = 0;
        double age = 0;
    };
    // The trail at `now`, youngest first.
    std::vector<TrailCell> Trail(double now) const;

private:
    static constexpr int kNoCell = -1;

    std::array<double, kMapRows * kAxisPoints> seconds{};
    // When each cell was last held; only meaningful where held is set.
    std::array<double, kMapRows * kAxisPoints> lastHeld{};
    std::array<bool, kMapRows * kAxisPoints> held{};
    bool havePrevious = false;
    double previousTime = 0;
    int previousCell = kNoCell;
};

// Counts the rows of a log into a TimeInCell as they are read, each against
// the map axis and throttle-row switch in force when it was taken (the
// header's, then each map programmed while recording), which may differ
// from any map at hand. Rows taken while no map is known are not frames.
class LogCellCounter {
public:
    explicit LogCellCounter(TimeInCell& cells);

    // The map the rows from now on ran on; one without a map stops the count.
    void MapInForce(const LogHeader& map);
    // One row at `seconds` on the log's running clock; a NaN rpm or throttle
    // is no frame.
    void Row(double seconds, double rpm, double tpsPercent);

    // Rows counted as frames.
    std::size_t Frames() const { return frames; }
    // Some map was in force at some time.
    bool SawMap() const { return sawMap; }

private:
    TimeInCell& cells;
    ParameterImage axis{};
    bool haveMap = false;
    bool sawMap = false;
    bool usesTps = false;
    std::size_t frames = 0;
};

// Counts a log's rows into the table as the streaming reader hands them on;
// nothing of a row is kept, so a log of any length is counted in the memory
// of a few lines. The rows count against the map in force at their time.
class LogCellSink : public LogRowSink {
public:
    explicit LogCellSink(TimeInCell& cells) : counter(cells) {}

    void Columns(const LogHeader& header, const std::vector<std::string>& names) override;
    void MapChanged(const LogMapChange& change) override;
    void Row(const LogTime& time, double seconds, const float* values) override;

    LogCellCounter counter;
    LogHeader lastMap;
    std::size_t mapChanges = 0;

private:
    int rpm = -1;
    int tps = -1;
};

// The time in cell of a whole log through LogCellCounter. False (and
// nothing counted) when the log names no map at all.
bool CountLogCells(const MonitorLog& log, TimeInCell& cells);

} // namespace orna5
