// Feeds arbitrary text to the data-log reader and counts its time in cell,
// as the log viewer does (the whole log read first) and as orna5ctl cells
// does (counted while read, nothing kept). Whatever the rows hold, no cell
// gets a negative or endless time, no frame credits more than a second, the
// trail names only cells of the map, and both ways count the same.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "device/TimeInCell.h"
#include "files/MonitorLog.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    orna5::MonitorLog log;
    if (!orna5::ReadMonitorLog(text, log)) {
        return 0;
    }
    orna5::TimeInCell cells;
    const bool counted = orna5::CountLogCells(log, cells);
    orna5::TimeInCell streamedCells;
    orna5::LogCellSink streamed(streamedCells);
    orna5::MonitorLogReader reader(streamed);
    reader.Feed(text);
    reader.Finish();
    if (counted != streamed.counter.SawMap()) {
        std::abort();
    }
    if (!counted) {
        return 0;
    }
    for (int row = 0; row < 10; ++row) {
        for (int column = 0; column < 10; ++column) {
            if (cells.Seconds(row, column) != streamedCells.Seconds(row, column)) {
                std::abort();
            }
        }
    }
    double total = 0;
    for (int row = 0; row < 10; ++row) {
        for (int column = 0; column < 10; ++column) {
            const double seconds = cells.Seconds(row, column);
            if (!std::isfinite(seconds) || seconds < 0) {
                std::abort();
            }
            total += seconds;
        }
    }
    const double frames = static_cast<double>(log.Rows());
    if (total > frames * orna5::TimeInCell::kLongestGap + 1e-9) {
        std::abort();
    }
    const double end = log.seconds.empty() ? 0 : log.seconds.back();
    for (const auto& cell : cells.Trail(end)) {
        if (cell.row < 0 || cell.row > 9 || cell.column < 0 || cell.column > 9 || cell.age < 0 ||
            cell.age > orna5::TimeInCell::kTrailSeconds) {
            std::abort();
        }
    }
    return 0;
}
