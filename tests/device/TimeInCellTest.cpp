// Time in cell: what each accepted frame adds, and to which cell.

#include "device/TimeInCell.h"
#include "device/MarkLivePosition.h"
#include "files/MonitorLog.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace orna5 {
namespace {

ParameterImage AxisImage() {
    ParameterImage image{};
    const std::uint8_t axis[] = {15, 20, 30, 40, 50, 60, 70, 80, 90, 100};
    for (std::size_t i = 0; i < kAxisPoints; ++i)
        image[field::mapRpm + i] = axis[i];
    return image;
}

TEST(TimeInCell, EachFrameHoldsItsCellUntilTheNext) {
    struct Frame {
        double seconds;
        std::uint16_t rpm;
        std::uint8_t tps;
    };
    struct Held {
        int row;
        int column;
        double seconds;
    };
    struct Case {
        const char* name;
        bool tpsRows;
        std::vector<Frame> frames;
        std::vector<Held> held; // every other cell holds nothing
    };
    const Case cases[] = {
        // The last frame has no next one yet and adds nothing.
        {"a gap over a second counts one second",
         false,
         {{0, 3000, 0}, {0.25, 3000, 0}, {2.0, 5000, 0}, {2.5, 5000, 0}},
         {{9, 2, 1.25}, {9, 4, 0.5}}},
        {"a frame below the axis counts for no cell",
         false,
         {{0, 1400, 0}, {0.5, 3000, 0}, {1.0, 1000, 0}, {1.5, 3000, 0}, {1.75, 3000, 0}},
         {{9, 2, 0.75}}},
        {"throttle rows off: the 100 % row",
         false,
         {{0, 3000, 0}, {0.5, 3000, 50}, {1.0, 3000, 100}},
         {{9, 2, 1.0}}},
        // 50 % lies half way between 40 and 60: the lower row, as the live mark.
        {"throttle rows on: the nearest row",
         true,
         {{0, 3000, 0}, {0.5, 3000, 50}, {1.0, 3000, 100}},
         {{0, 2, 0.5}, {6, 2, 0.5}}},
        {"a clock set back credits nothing twice",
         false,
         {{0, 3000, 0}, {0.5, 3000, 0}, {0.25, 3000, 0}, {0.75, 3000, 0}},
         {{9, 2, 0.75}}},
    };
    const ParameterImage image = AxisImage();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TimeInCell cells;
        for (const Frame& f : c.frames)
            cells.AddFrame(f.seconds, MarkLivePosition(f.rpm, f.tps, 0, image, c.tpsRows));
        double expectedTotal = 0;
        for (const Held& h : c.held) {
            EXPECT_DOUBLE_EQ(cells.Seconds(h.row, h.column), h.seconds) << h.row << ' ' << h.column;
            expectedTotal += h.seconds;
        }
        EXPECT_DOUBLE_EQ(cells.Total(), expectedTotal);
    }
}

// The trail fades by the time since the engine left a cell, and a reset
// forgets it with the seconds.
TEST(TimeInCell, TrailAgesAndReset) {
    const ParameterImage image = AxisImage();
    TimeInCell cells;
    cells.AddFrame(0, MarkLivePosition(3000, 0, 0, image, false));
    cells.AddFrame(1, MarkLivePosition(5000, 0, 0, image, false));
    cells.AddFrame(3, MarkLivePosition(7000, 0, 0, image, false));
    const auto trail = cells.Trail(12);
    ASSERT_EQ(trail.size(), 2u); // 3000 rpm was left at 1 s, 11 s ago
    EXPECT_EQ(trail[0].column, 6);
    EXPECT_DOUBLE_EQ(trail[0].age, 9);
    EXPECT_EQ(trail[1].column, 4);
    EXPECT_DOUBLE_EQ(trail[1].age, 10);
    cells.Reset();
    EXPECT_TRUE(cells.Trail(12).empty());
    EXPECT_EQ(cells.Total(), 0);
    cells.AddFrame(20, MarkLivePosition(3000, 0, 0, image, false));
    EXPECT_EQ(cells.Total(), 0); // no credit for the time before the reset
}

// An rpm beyond what the axis bytes can hold (a glitched reading) is past
// the last column, never a column it wraps around to.
TEST(TimeInCell, AnRpmBeyondTheAxisBytesMarksTheLastColumn) {
    struct Case {
        std::uint16_t rpm;
        bool below;
        int column;
    };
    const ParameterImage image = AxisImage();
    for (const Case& c : {Case{1499, true, 0}, Case{10000, false, 9}, Case{25599, false, 9},
                          Case{25600, false, 9}, Case{30000, false, 9}, Case{65535, false, 9}}) {
        SCOPED_TRACE(c.rpm);
        const LivePosition position = MarkLivePosition(c.rpm, 0, 0, image, false);
        EXPECT_EQ(position.belowMapAxis, c.below);
        EXPECT_EQ(position.mapRpmColumn, c.column);
        TimeInCell cells;
        cells.AddFrame(0, position);
        cells.AddFrame(0.5, position);
        EXPECT_DOUBLE_EQ(cells.Seconds(9, c.column), c.below ? 0 : 0.5);
    }
}

// A log's rows counted into cells: each against the map in force when it
// was taken, on the log's running clock.
TEST(TimeInCell, LogRowsCountAgainstTheMapOfTheirTime) {
    // Axis A puts 3000 rpm in column 2, axis B in column 5.
    ParameterImage a = AxisImage();
    ParameterImage b = AxisImage();
    const std::uint8_t axisB[] = {5, 10, 15, 20, 25, 30, 35, 40, 45, 50};
    for (std::size_t i = 0; i < kAxisPoints; ++i)
        b[field::mapRpm + i] = axisB[i];
    std::ostringstream map;
    WriteLogMap(map, "2026-10-25T02:00:00.750", b);
    const std::string header = [&a] {
        std::ostringstream out;
        WriteLogHeader(out, MakeLogHeader(a, "", ""));
        return out.str();
    }();
    const auto row = [](const char* time) {
        return std::string(time) + ",3000,,0" + std::string(19, ',') + "\n";
    };
    struct Held {
        int column;
        double seconds;
    };
    struct Case {
        const char* name;
        std::string rows;
        std::vector<Held> held;
    };
    const Case cases[] = {
        {"one map", row("2026-10-25T02:00:00.000") + row("2026-10-25T02:00:00.500"), {{2, 0.5}}},
        {"the map changes between the rows",
         row("2026-10-25T02:00:00.000") + row("2026-10-25T02:00:00.500") + map.str() +
             row("2026-10-25T02:00:01.000") + row("2026-10-25T02:00:01.500"),
         {{2, 1.0}, {5, 0.5}}},
        // Summer time ends without offsets: the hour after counts in full.
        {"the clock goes back an hour",
         row("2026-10-25T02:59:59.000") + row("2026-10-25T02:59:59.500") +
             row("2026-10-25T02:00:00.000") + row("2026-10-25T02:00:00.500") +
             row("2026-10-25T02:00:01.000"),
         {{2, 1.5}}},
        {"a row a year ahead",
         row("2026-10-25T02:00:00.000") + row("2027-10-25T02:00:00.250") +
             row("2026-10-25T02:00:00.500") + row("2026-10-25T02:00:01.000"),
         {{2, 1.0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MonitorLog log;
        ASSERT_TRUE(ReadMonitorLog(std::string_view(header + c.rows), log));
        TimeInCell cells;
        ASSERT_TRUE(CountLogCells(log, cells));
        double total = 0;
        for (const Held& h : c.held) {
            EXPECT_DOUBLE_EQ(cells.Seconds(9, h.column), h.seconds) << h.column;
            total += h.seconds;
        }
        EXPECT_DOUBLE_EQ(cells.Total(), total);
    }
}

} // namespace
} // namespace orna5
