// The data log: written from live-data frames, read back for the chart.

#include "files/MonitorLog.h"
#include "params/MonitorFrame.h"
#include "params/TuneChecksum.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <sstream>

namespace orna5 {
namespace {

namespace m = monitorField;

using DeviceFrame = std::array<std::uint8_t, 102>;

// The clock of a writer whose rows are stamped when appended.
std::string LaterTime() {
    return "2026-12-08T10:00:00.330";
}

DeviceFrame Frame(std::uint16_t rpm, std::uint8_t tps, std::uint8_t advance1,
                  std::uint8_t advance2) {
    DeviceFrame f{};
    f[m::code] = 0xB0;
    PutFrameWord(f.data(), m::rpm, rpm);
    PutFrameWord(f.data(), m::supplyMv, 13800);
    PutFrameWord(f.data(), m::tpsCounts, 1023);
    f[m::tpsPercent] = tps;
    f[m::channelAdvance] = advance1;
    f[m::channelAdvance + 1] = advance2;
    f[m::killSwitch] = 1;
    f[m::protocolVersion] = 54;
    return f;
}

ParameterImage MapImage() {
    ParameterImage image{};
    for (std::size_t i = 0; i < kAxisPoints; ++i)
        image[field::mapRpm + i] = static_cast<std::uint8_t>(15 + 10 * i);
    for (std::size_t i = 0; i < 100; ++i)
        image[field::advanceMap + i] = static_cast<std::uint8_t>(i % 61);
    image[field::mapUsesTps] = 1;
    return image;
}

double Value(const MonitorLog& log, const char* column, std::size_t row) {
    const int index = log.Column(column);
    EXPECT_GE(index, 0) << column;
    return index < 0 ? std::nan("") : log.values[index][row];
}

TEST(MonitorLog, WrittenRowsReadBackWithTheirHeader) {
    std::ostringstream out;
    WriteLogHeader(out, MakeLogHeader(MapImage(), "ORN12 7. 5.2009", "/home/me/r6.ign"));
    out << LogRow(Frame(5500, 40, 128, 0).data(), "2026-12-08T10:00:00.000") << '\n';
    out << LogRow(Frame(6000, 100, 131, 131).data(), "2026-12-08T10:00:00.330") << '\n';

    std::istringstream in(out.str());
    MonitorLog log;
    ASSERT_TRUE(ReadMonitorLog(in, log)) << out.str();
    EXPECT_EQ(log.header.unitVersion, "ORN12 7. 5.2009");
    EXPECT_EQ(log.header.parameterFile, "/home/me/r6.ign");
    ASSERT_TRUE(log.header.hasMap);
    EXPECT_TRUE(log.header.mapUsesTps);
    EXPECT_EQ(log.header.mapRpm[9], 105);
    EXPECT_EQ(log.header.advanceMap[61], 0);
    EXPECT_EQ(log.header.advanceMap[99], 38);
    ASSERT_EQ(log.Rows(), 2u);
    EXPECT_EQ(log.skippedLines, 0u);
    EXPECT_EQ(log.TimeText(1), "2026-12-08T10:00:00.330");
    EXPECT_EQ(log.header.tune, TuneChecksum(MapImage()));
    EXPECT_DOUBLE_EQ(log.seconds[0], 0);
    EXPECT_NEAR(log.seconds[1], 0.33, 1e-9);
    EXPECT_EQ(Value(log, "rpm", 0), 5500);
    EXPECT_EQ(Value(log, "supply_mv", 1), 13800);
    EXPECT_EQ(Value(log, "tps_percent", 1), 100);
    EXPECT_EQ(Value(log, "tps_mv", 0), 5000);
    EXPECT_EQ(Value(log, "advance1", 0), 28);
    EXPECT_TRUE(std::isnan(Value(log, "advance2", 0))); // channel not in use
    EXPECT_EQ(Value(log, "advance2", 1), 31);
    EXPECT_EQ(Value(log, "kill_switch", 0), 1);
    EXPECT_EQ(Value(log, "protocol", 0), 54);
}

TEST(MonitorLog, WriterKeepsEveryRowOnDiskAsItGoes) {
    const std::string path = ::testing::TempDir() + "/orna5-monitor-log.csv";
    MonitorLogWriter writer(LaterTime);
    ASSERT_TRUE(writer.Open(path, MakeLogHeader(MapImage(), "", "")));
    ASSERT_TRUE(writer.Append(Frame(3000, 5, 110, 0).data(), "2026-12-08T10:00:00.000"));
    ASSERT_TRUE(writer.Append(Frame(3100, 5, 110, 0).data()));
    EXPECT_EQ(writer.Rows(), 2);
    {
        // Read while still open: nothing waits in a buffer.
        std::ifstream in(path, std::ios::binary);
        MonitorLog log;
        ASSERT_TRUE(ReadMonitorLog(in, log));
        EXPECT_EQ(log.Rows(), 2u);
        EXPECT_EQ(log.skippedLines, 0u);
    }
    writer.Close();
    EXPECT_FALSE(writer.IsOpen());
    EXPECT_FALSE(writer.Append(Frame(3200, 5, 110, 0).data()));
    EXPECT_FALSE(writer.Open("/nonexistent-folder/log.csv", LogHeader{}));
}

TEST(MonitorLog, AUnitNamedAfterTheStartNamesTheLog) {
    const std::string path = ::testing::TempDir() + "/orna5-monitor-log-unit.csv";
    MonitorLogWriter writer(LaterTime);
    ASSERT_TRUE(writer.Open(path, MakeLogHeader(MapImage(), "", "")));
    ASSERT_TRUE(writer.Append(Frame(3000, 5, 110, 0).data(), "2026-12-08T10:00:00.000"));
    ASSERT_TRUE(writer.AppendUnitVersion("ORN12"));
    ASSERT_TRUE(writer.Append(Frame(3000, 5, 110, 0).data(), "2026-12-08T10:00:00.330"));
    writer.Close();
    std::ifstream in(path, std::ios::binary);
    MonitorLog log;
    ASSERT_TRUE(ReadMonitorLog(in, log));
    EXPECT_EQ(log.header.unitVersion, "ORN12");
    EXPECT_EQ(log.Rows(), 2u);
    EXPECT_EQ(log.skippedLines, 0u);
}

TEST(MonitorLog, HeaderTextsStayOnTheirLine) {
    std::ostringstream out;
    WriteLogHeader(out, MakeLogHeader(MapImage(), "unit\nversion", "a\r\nb.ign"));
    std::istringstream in(out.str());
    MonitorLog log;
    ASSERT_TRUE(ReadMonitorLog(in, log));
    EXPECT_EQ(log.header.unitVersion, "unit version");
    EXPECT_EQ(log.header.parameterFile, "a  b.ign");
    EXPECT_EQ(log.skippedLines, 0u);
}

struct ReadCase {
    const char* name;
    const char* text;
    bool ok;
    std::size_t rows;
    std::size_t skipped;
};

class MonitorLogRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(MonitorLogRead, ReadsWhatItCanAndCountsTheRest) {
    std::istringstream in(GetParam().text);
    MonitorLog log;
    EXPECT_EQ(ReadMonitorLog(in, log), GetParam().ok);
    EXPECT_EQ(log.Rows(), GetParam().rows);
    EXPECT_EQ(log.skippedLines, GetParam().skipped);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MonitorLogRead,
    ::testing::Values(
        ReadCase{"Empty", "", false, 0, 0}, ReadCase{"NotALog", "hello,world\n1,2\n", false, 0, 2},
        ReadCase{"NoRpmColumn", "time,speed\n2026-12-08T10:00:00,1\n", false, 0, 0},
        ReadCase{"OnlyColumns", "time,rpm\n", true, 0, 0},
        ReadCase{"CrLfAndBlankLines", "time,rpm\r\n\r\n2026-12-08T10:00:00.5,900\r\n", true, 1, 0},
        ReadCase{"BadTimeAndShortRow",
                 "time,rpm,supply_mv\n2026-12-08T10:00:00,1,2\nyesterday,1,2\n"
                 "2026-12-08T10:00:01,1\n2026-13-08T10:00:01,1,2\n",
                 true, 1, 3},
        ReadCase{"TimeZones", "time,rpm\n2026-12-08T10:00:00Z,1\n2026-12-08T11:00:01+01:00,2\n",
                 true, 2, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MonitorLog, TimeRunsFromTheFirstRowAndNeverBackwards) {
    std::istringstream in("time,rpm\n"
                          "2026-12-31T23:59:59.500,1\n"
                          "2027-01-01T00:00:00.250,2\n"
                          "2027-01-01T00:00:00.100,3\n" // the clock put back
                          "2027-01-01T01:00:01+01:00,4\n");
    MonitorLog log;
    ASSERT_TRUE(ReadMonitorLog(in, log));
    ASSERT_EQ(log.Rows(), 4u);
    EXPECT_NEAR(log.seconds[1], 0.75, 1e-9);
    EXPECT_NEAR(log.seconds[2], 0.75, 1e-9);
    // An hour ahead of UTC: 00:00:01, 0.9 s after the row set back.
    EXPECT_NEAR(log.seconds[3], 1.65, 1e-9);
    EXPECT_FALSE(log.header.hasMap);
}

// The running clock: each case a column of row times and what the log
// makes of them.
struct ClockCase {
    const char* name;
    std::vector<const char*> times;
    std::vector<double> seconds; // of the rows kept
    std::size_t aheadOfTime;
    std::size_t badTime;
};

class MonitorLogClock : public ::testing::TestWithParam<ClockCase> {};

TEST_P(MonitorLogClock, FollowsTheRideThroughStepsAndStrayStamps) {
    std::string text = "time,rpm\n";
    for (const char* time : GetParam().times)
        text += std::string(time) + ",3000\n";
    MonitorLog log;
    ASSERT_TRUE(ReadMonitorLog(std::string_view(text), log));
    ASSERT_EQ(log.Rows(), GetParam().seconds.size()) << text;
    for (std::size_t i = 0; i < log.Rows(); ++i)
        EXPECT_NEAR(log.seconds[i], GetParam().seconds[i], 1e-6) << i;
    EXPECT_EQ(log.skips.aheadOfTime, GetParam().aheadOfTime);
    EXPECT_EQ(log.skips.badTime, GetParam().badTime);
    EXPECT_EQ(log.skippedLines, GetParam().aheadOfTime + GetParam().badTime);
}

INSTANTIATE_TEST_SUITE_P(
    Rides, MonitorLogClock,
    ::testing::Values(
        // Without offsets the hour after 02:59:59.9 reads 02:00 again: a new
        // stretch, not an hour swallowed.
        ClockCase{"SummerTimeEndsWithoutOffset",
                  {"2026-10-25T02:30:00.000", "2026-10-25T02:59:59.900", "2026-10-25T02:00:00.000",
                   "2026-10-25T02:30:00.000", "2026-10-25T02:59:59.900", "2026-10-25T03:00:00.000"},
                  {0, 1799.9, 1799.9, 3599.9, 5399.8, 5399.9},
                  0,
                  0},
        // With offsets the same hour is simply later.
        ClockCase{"SummerTimeEndsWithOffset",
                  {"2026-10-25T02:59:59.900+02:00", "2026-10-25T02:00:00.000+01:00",
                   "2026-10-25T02:30:00.000+01:00"},
                  {0, 0.1, 1800.1},
                  0,
                  0},
        ClockCase{"SummerTimeStartsWithoutOffset",
                  {"2026-03-29T01:59:59.500", "2026-03-29T03:00:00.000", "2026-03-29T03:00:00.500"},
                  {0, 0, 0.5},
                  0,
                  0},
        ClockCase{"OneRowAYearAhead",
                  {"2026-06-01T10:00:00.000", "2027-06-01T10:00:00.250", "2026-06-01T10:00:00.500",
                   "2026-06-01T10:00:01.000"},
                  {0, 0.5, 1.0},
                  1,
                  0},
        // The first row has no row before it, only the ride after it.
        ClockCase{"FirstRowAYearAhead",
                  {"2027-06-01T10:00:00.000", "2026-06-01T10:00:00.000", "2026-06-01T10:00:00.500"},
                  {0, 0.5},
                  1,
                  0},
        ClockCase{"OnlyRow", {"2027-06-01T10:00:00.000"}, {0}, 0, 0},
        ClockCase{"LastRowAYearAhead",
                  {"2026-06-01T10:00:00.000", "2026-06-01T10:00:00.500", "2027-06-01T10:00:01.000"},
                  {0, 0.5},
                  1,
                  0},
        // Two hours without rows, then the ride goes on: kept, as a new stretch.
        ClockCase{"ResumedAfterTwoHours",
                  {"2026-06-01T10:00:00.000", "2026-06-01T12:00:00.000", "2026-06-01T12:00:00.500"},
                  {0, 0, 0.5},
                  0,
                  0},
        ClockCase{"ImpossibleDatesAndTimes",
                  {"2026-06-01T10:00:00.000", "2026-02-31T10:00:00.000", "2026-06-01T25:00:00.000",
                   "2026-06-01T10:61:00.000", "2026-06-01T10:00:60.000", "2025-02-29T10:00:00.000",
                   "\"2026-06-01T10:00:00.250\"", "2026-06-01T10:00:00.500+24:00",
                   "2026-06-01T10:00:00.500"},
                  {0, 0.5},
                  0,
                  7},
        ClockCase{"LeapDayIsADay",
                  {"2028-02-28T23:59:59.750", "2028-02-29T00:00:00.000"},
                  {0, 0.25},
                  0,
                  0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MonitorLog, TimesReadBackAsWritten) {
    for (const char* text : {"2026-10-25T02:59:59.900+02:00", "2026-10-25T02:00:00.000+01:00",
                             "2026-12-08T10:00:00.330", "1999-12-31T23:59:59.999-09:30",
                             "2026-06-01T00:00:00.000+00:00"}) {
        LogTime time;
        ASSERT_TRUE(ParseLogTime(text, time)) << text;
        EXPECT_EQ(FormatLogTime(time), text);
    }
    LogTime utc;
    ASSERT_TRUE(ParseLogTime("2026-06-01T00:00:00.5Z", utc));
    EXPECT_EQ(FormatLogTime(utc), "2026-06-01T00:00:00.500+00:00");
}

// Lines that are not rows: each is skipped and counted by its kind, and
// none costs memory beyond its own length while it is read.
TEST(MonitorLog, LinesOfCommasAndOtherNonRowsAreCountedNotKept) {
    const std::string row = "2026-06-01T10:00:00.000,3000,13800\n";
    struct Case {
        const char* name;
        std::string line;
        std::size_t LogSkips::*kind;
    };
    const Case cases[] = {
        {"a row of commas", "2026-06-01T10:00:00.100" + std::string(2000, ',') + "\n",
         &LogSkips::fieldCount},
        {"a line of commas longer than a line", std::string(kMaxLogLineBytes + 1, ',') + "\n",
         &LogSkips::tooLong},
        {"empty fields but the time", "2026-06-01T10:00:00.100,,\n", &LogSkips::badNumber},
        {"a word for a number", "2026-06-01T10:00:00.100,3000,lots\n", &LogSkips::badNumber},
        {"a number beyond a float", "2026-06-01T10:00:00.100,3000,1e60\n", &LogSkips::badNumber},
        {"nan for a number", "2026-06-01T10:00:00.100,nan,1\n", &LogSkips::badNumber},
        {"an extra field", "2026-06-01T10:00:00.100,3000,13800,1\n", &LogSkips::fieldCount},
        {"a quoted time", "\"2026-06-01T10:00:00.100\",3000,13800\n", &LogSkips::badTime},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = "time,rpm,supply_mv\n" + row + c.line + row;
        // In one piece and in pieces of 7 bytes, which end inside lines.
        MonitorLog whole;
        ASSERT_TRUE(ReadMonitorLog(std::string_view(text), whole));
        std::istringstream in(text);
        MonitorLog streamed;
        ASSERT_TRUE(ReadMonitorLog(in, streamed));
        for (const MonitorLog* log : {&whole, &streamed}) {
            EXPECT_EQ(log->Rows(), 2u);
            EXPECT_EQ(log->skippedLines, 1u);
            EXPECT_EQ(log->skips.*c.kind, 1u);
        }
        struct Rows : LogRowSink {
            std::size_t rows = 0;
            void Columns(const LogHeader&, const std::vector<std::string>&) override {}
            void MapChanged(const LogMapChange&) override {}
            void Row(const LogTime&, double, const float*) override { ++rows; }
        } sink;
        MonitorLogReader reader(sink);
        for (std::size_t at = 0; at < text.size(); at += 7)
            reader.Feed(std::string_view(text).substr(at, 7));
        reader.Finish();
        EXPECT_EQ(sink.rows, 2u);
        EXPECT_EQ(reader.Skips().*c.kind, 1u);
    }
    // A column line of commas is no column line of ours.
    MonitorLog log;
    EXPECT_FALSE(ReadMonitorLog("time,rpm" + std::string(100000, ',') + "\n" + row, log));
    EXPECT_EQ(log.columns.size(), 0u);
}

TEST(MonitorLog, ARefusedHeaderLineLeavesWhatWasSaid) {
    std::ostringstream out;
    WriteLogHeader(out, MakeLogHeader(MapImage(), "", ""));
    const std::string header = out.str();
    const std::string columns = header.substr(header.rfind("time,"));
    struct Case {
        const char* name;
        const char* line;
    };
    for (const Case& c : {Case{"an rpm too high", "# map rpm: 900 26000 0 0 0 0 0 0 0 0"},
                          Case{"too few rpm points", "# map rpm: 900 1000"},
                          Case{"too many rpm points", "# map rpm: 1 2 3 4 5 6 7 8 9 10 11"},
                          Case{"a word among them", "# map rpm: 900 x 0 0 0 0 0 0 0 0"},
                          Case{"an advance too high", "# advance map: 256"},
                          Case{"a tune of nine digits", "# tune: 123456789"},
                          Case{"a throttle switch of 2", "# map uses tps: 2"}}) {
        SCOPED_TRACE(c.name);
        // After the header's own lines, before the column line.
        const std::string text =
            header.substr(0, header.size() - columns.size()) + c.line + "\n" + columns;
        MonitorLog log;
        ASSERT_TRUE(ReadMonitorLog(std::string_view(text), log));
        EXPECT_TRUE(log.header.hasMap);
        EXPECT_EQ(log.header.mapRpm[0], 15);
        EXPECT_EQ(log.header.mapRpm[1], 25);
        EXPECT_EQ(log.header.advanceMap[0], 0);
        EXPECT_TRUE(log.header.mapUsesTps);
        EXPECT_EQ(log.header.tune, TuneChecksum(MapImage()));
        EXPECT_EQ(log.skips.badHeader, 1u);
    }
}

// A Program while recording: the log carries the new map with its time, and
// the rows after it are read against it.
TEST(MonitorLog, AMapProgrammedWhileRecordingAppliesToTheRowsAfterIt) {
    const std::string path = ::testing::TempDir() + "/orna5-monitor-log-map.csv";
    ParameterImage changed = MapImage();
    changed[field::mapRpm + 9] = 120;
    changed[field::mapUsesTps] = 0;
    MonitorLogWriter writer(LaterTime);
    ASSERT_TRUE(writer.Open(path, MakeLogHeader(MapImage(), "", "")));
    ASSERT_TRUE(writer.Append(Frame(3000, 5, 110, 0).data(), "2026-12-08T10:00:00.000+01:00"));
    ASSERT_TRUE(writer.AppendMap(changed, "2026-12-08T10:00:00.200+01:00"));
    ASSERT_TRUE(writer.Append(Frame(3000, 5, 110, 0).data(), "2026-12-08T10:00:00.330+01:00"));
    ASSERT_TRUE(writer.AppendMap(MapImage()));
    writer.Close();
    std::ifstream in(path, std::ios::binary);
    MonitorLog log;
    ASSERT_TRUE(ReadMonitorLog(in, log));
    EXPECT_EQ(log.skippedLines, 0u);
    ASSERT_EQ(log.Rows(), 2u);
    ASSERT_EQ(log.maps.size(), 2u);
    EXPECT_EQ(log.maps[0].firstRow, 1u);
    EXPECT_EQ(FormatLogTime(log.maps[0].time), "2026-12-08T10:00:00.200+01:00");
    EXPECT_TRUE(log.maps[0].map.hasMap);
    EXPECT_FALSE(log.maps[0].map.mapUsesTps);
    EXPECT_EQ(log.maps[0].map.mapRpm[9], 120);
    EXPECT_EQ(log.maps[0].map.tune, TuneChecksum(changed));
    EXPECT_EQ(log.maps[1].firstRow, 2u); // after the last row: for none of them
    EXPECT_EQ(FormatLogTime(log.maps[1].time), LaterTime());
    // The header's map is still the map the log began with.
    EXPECT_EQ(log.header.mapRpm[9], 105);
}

TEST(MonitorLog, AMapCutShortIsNoMap) {
    std::ostringstream out;
    WriteLogHeader(out, MakeLogHeader(MapImage(), "", ""));
    out << "2026-12-08T10:00:00.000,3000" << std::string(21, ',') << "\n";
    out << "# map at 2026-12-08T10:00:00.100:\n# map uses tps: 0\n# map rpm: 100 200 300 400 "
           "500 600 700 800 900 1000\n";
    out << "2026-12-08T10:00:00.300,3000" << std::string(21, ',') << "\n";
    out << "# map at 31 February:\n";
    MonitorLog log;
    ASSERT_TRUE(ReadMonitorLog(std::string_view(out.str()), log));
    EXPECT_EQ(log.Rows(), 2u);
    EXPECT_TRUE(log.maps.empty());
    EXPECT_EQ(log.skips.badHeader, 2u);
}

// A whole map, then a block cut short before the next row: the whole one
// is the map the row ran on.
TEST(MonitorLog, ABlockCutShortLeavesTheMapBeforeIt) {
    ParameterImage changed = MapImage();
    changed[field::mapRpm + 9] = 120;
    std::ostringstream out;
    WriteLogHeader(out, MakeLogHeader(MapImage(), "", ""));
    WriteLogMap(out, "2026-12-08T10:00:00.100", changed);
    out << "# map at 2026-12-08T10:00:00.200:\n# map uses tps: 0\n";
    out << "2026-12-08T10:00:00.300,3000" << std::string(21, ',') << "\n";
    MonitorLog log;
    ASSERT_TRUE(ReadMonitorLog(std::string_view(out.str()), log));
    ASSERT_EQ(log.maps.size(), 1u);
    EXPECT_TRUE(log.maps[0].map.hasMap);
    EXPECT_EQ(log.maps[0].map.mapRpm[9], 120);
    EXPECT_EQ(log.maps[0].firstRow, 0u);
    EXPECT_EQ(log.skips.badHeader, 1u);
}

} // namespace
} // namespace orna5
