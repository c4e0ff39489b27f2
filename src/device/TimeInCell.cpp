#include "device/TimeInCell.h"

#include "device/MarkLivePosition.h"
#include "files/MonitorLog.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace orna5 {

void TimeInCell::AddFrame(double now, const LivePosition& position) {
    if (havePrevious && previousCell != kNoCell) {
        const double gap = std::clamp(now - previousTime, 0.0, kLongestGap);
        const auto cell = static_cast<std::size_t>(previousCell);
        seconds[cell] += gap;
        lastHeld[cell] = previousTime + gap;
        held[cell] = true;
    }
    const bool inMap =
        !position.belowMapAxis && position.tpsRow < kMapRows && position.mapRpmColumn < kAxisPoints;
    previousCell =
        inMap ? static_cast<int>(position.tpsRow * kAxisPoints + position.mapRpmColumn) : kNoCell;
    if (previousCell != kNoCell) {
        lastHeld[static_cast<std::size_t>(previousCell)] = now;
        held[static_cast<std::size_t>(previousCell)] = true;
    }
    // The clock of the count only moves forward, so one stamp set back
    // cannot credit the next frame with the time twice.
    previousTime = havePrevious ? std::max(previousTime, now) : now;
    havePrevious = true;
}

void TimeInCell::Reset() {
    *this = TimeInCell();
}

double TimeInCell::Seconds(int row, int column) const {
    if (row < 0 || column < 0 || row >= static_cast<int>(kMapRows) ||
        column >= static_cast<int>(kAxisPoints)) {
        return 0;
    }
    return seconds[static_cast<std::size_t>(row) * kAxisPoints + static_cast<std::size_t>(column)];
}

double TimeInCell::Total() const {
    return std::accumulate(seconds.begin(), seconds.end(), 0.0);
}

double TimeInCell::Most() const {
    return *std::max_element(seconds.begin(), seconds.end());
}

std::vector<TimeInCell::TrailCell> TimeInCell::Trail(double now) const {
    std::vector<TrailCell> trail;
    for (std::size_t cell = 0; cell < held.size(); ++cell) {
        const double age = std::max(0.0, now - lastHeld[cell]);
        if (held[cell] && age <= kTrailSeconds) {
            trail.push_back(
                {static_cast<int>(cell / kAxisPoints), static_cast<int>(cell % kAxisPoints), age});
        }
    }
    std::stable_sort(trail.begin(), trail.end(),
                     [](const TrailCell& a, const TrailCell& b) { return a.age < b.age; });
    return trail;
}

namespace {

// A log's number as the frame field it came from; NaN is no value.
template <class Field> bool FrameValue(double value, Field& out) {
    if (std::isnan(value)) {
        return false;
    }
    const double limit = std::numeric_limits<Field>::max();
    out = static_cast<Field>(std::clamp(value, 0.0, limit));
    return true;
}

} // namespace

LogCellCounter::LogCellCounter(TimeInCell& counted) : cells(counted) {}

void LogCellCounter::MapInForce(const LogHeader& map) {
    haveMap = map.hasMap;
    sawMap = sawMap || haveMap;
    usesTps = map.mapUsesTps;
    std::copy(map.mapRpm.begin(), map.mapRpm.end(), axis.begin() + field::mapRpm);
}

void LogCellCounter::Row(double seconds, double rpm, double tpsPercent) {
    std::uint16_t liveRpm = 0;
    std::uint8_t tps = 0;
    if (!haveMap || !FrameValue(rpm, liveRpm) || !FrameValue(tpsPercent, tps)) {
        return;
    }
    cells.AddFrame(seconds, MarkLivePosition(liveRpm, tps, 0, axis, usesTps));
    ++frames;
}

bool CountLogCells(const MonitorLog& log, TimeInCell& cells) {
    bool anyMap = log.header.hasMap;
    for (const LogMapChange& change : log.maps) {
        anyMap = anyMap || change.map.hasMap;
    }
    if (!anyMap) {
        return false;
    }
    const int rpmColumn = log.Column("rpm");
    const int tpsColumn = log.Column("tps_percent");
    if (rpmColumn < 0 || tpsColumn < 0) {
        return true; // no row is a frame
    }
    const auto& rpm = log.values[static_cast<std::size_t>(rpmColumn)];
    const auto& tps = log.values[static_cast<std::size_t>(tpsColumn)];
    LogCellCounter counter(cells);
    counter.MapInForce(log.header);
    std::size_t nextMap = 0;
    for (std::size_t row = 0; row < log.Rows(); ++row) {
        while (nextMap < log.maps.size() && log.maps[nextMap].firstRow <= row) {
            counter.MapInForce(log.maps[nextMap++].map);
        }
        counter.Row(log.seconds[row], rpm[row], tps[row]);
    }
    return true;
}

void LogCellSink::Columns(const LogHeader& header, const std::vector<std::string>& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == "rpm" && rpm < 0) {
            rpm = static_cast<int>(i);
        } else if (names[i] == "tps_percent" && tps < 0) {
            tps = static_cast<int>(i);
        }
    }
    counter.MapInForce(header);
    if (header.hasMap) {
        lastMap = header;
    }
}
void LogCellSink::MapChanged(const LogMapChange& change) {
    counter.MapInForce(change.map);
    lastMap = change.map;
    ++mapChanges;
}
void LogCellSink::Row(const LogTime&, double seconds, const float* values) {
    const double noValue = std::nan("");
    counter.Row(seconds, rpm >= 0 ? values[rpm] : noValue, tps >= 0 ? values[tps] : noValue);
}

} // namespace orna5
