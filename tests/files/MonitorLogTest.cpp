// The data log: written from live-data frames, read back for the chart.

#include "files/MonitorLog.h"
#include "params/MonitorFrame.h"

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
    EXPECT_EQ(log.times[1], "2026-12-08T10:00:00.330");
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
    EXPECT_NEAR(log.seconds[3], 1.5, 1e-9); // an hour ahead of UTC: 00:00:01
    EXPECT_FALSE(log.header.hasMap);
}

} // namespace
} // namespace orna5
