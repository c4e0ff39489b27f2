#include "device/LogPlayback.h"
#include "files/MonitorLog.h"
#include "params/MonitorFrame.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orna5 {
namespace {

MonitorLog ReadText(const std::string& text) {
    MonitorLog log;
    std::istringstream in(text);
    EXPECT_TRUE(ReadMonitorLog(in, log));
    return log;
}

// A row played back is the frame it was written from, as far as the row
// keeps it: written again, it is the same row.
TEST(LogPlaybackTest, APlayedRowWritesTheSameRowAgain) {
    DeviceFrame f{};
    f[monitorField::code] = MonitorCode;
    PutFrameWord(f.data(), monitorField::rpm, 7300);
    PutFrameWord(f.data(), monitorField::supplyMv, 13850);
    f[monitorField::tpsPercent] = 42;
    PutFrameWord(f.data(), monitorField::tpsCounts, 517);
    f[monitorField::channelAdvance] = 128;
    f[monitorField::channelAdvance + 2] = 95;
    PutFrameWord(f.data(), monitorField::servoDesired, 300);
    PutFrameWord(f.data(), monitorField::servoMeasured, 1023);
    PutFrameWord(f.data(), monitorField::programmings, 77);
    f[monitorField::clutchMaster] = 1;
    f[monitorField::input2Grounded] = 1;
    PutFrameWord(f.data(), monitorField::savingCount, 200);
    f[monitorField::protocolVersion] = 54;
    std::ostringstream out;
    WriteLogHeader(out, LogHeader{});
    const std::string row = LogRow(f.data(), "2026-12-08T10:00:00.000");
    out << row << '\n';
    const MonitorLog log = ReadText(out.str());
    const DeviceFrame played = LogRowFrame(log, 0);
    EXPECT_TRUE(FrameCheckOk(played.data()));
    EXPECT_EQ(LogRow(played.data(), "2026-12-08T10:00:00.000"), row);
}

// At 2x a tick covers 0.11 recorded seconds; a silence of a minute is cut
// to a second; the last row pauses the playback.
TEST(LogPlaybackTest, RowsComeAtTheRecordedPaceAndASilenceIsCutShort) {
    std::ostringstream out;
    WriteLogHeader(out, LogHeader{});
    DeviceFrame f{};
    for (const char* time :
         {"2026-12-08T10:00:00.000", "2026-12-08T10:00:00.500", "2026-12-08T10:01:00.500"})
        out << LogRow(f.data(), time) << '\n';
    const MonitorLog log = ReadText(out.str());
    LogPlayback playback(log);
    playback.SetSpeed(9);
    EXPECT_EQ(playback.Speed(), LogPlayback::kFastest);
    playback.SetSpeed(2);
    ASSERT_TRUE(playback.Tick().has_value()); // the first row, shown though paused
    playback.Play();
    int ticks = 0;
    std::optional<LogPlayback::Step> step;
    while (!(step = playback.Tick()))
        ++ticks;
    EXPECT_EQ(ticks, 4); // 5 x 0.11 s reach 0.5 s
    EXPECT_EQ(step->row, 1u);
    EXPECT_DOUBLE_EQ(step->seconds, 0.5);
    ticks = 0;
    while (!(step = playback.Tick()) && ticks < 1000)
        ++ticks;
    EXPECT_LT(ticks, 12);
    EXPECT_EQ(step->row, 2u);
    EXPECT_DOUBLE_EQ(step->seconds, 60.0);
    EXPECT_FALSE(playback.Playing());
    playback.Seek(1);
    step = playback.Tick();
    ASSERT_TRUE(step.has_value());
    EXPECT_EQ(step->row, 1u);
    EXPECT_EQ(step->seconds, 0.0);
}

// The hour the clocks go back, in a log without offsets and in one with
// them: the playback goes through every row at the recorded pace instead of
// leaping over the hour or standing still in it.
TEST(LogPlaybackTest, TheHourTheClocksGoBackIsPlayedThrough) {
    for (const char* zone : {"", "with offsets"}) {
        SCOPED_TRACE(zone);
        // Four rows half a second apart, then the hour after the change.
        std::string text = "time,rpm\n";
        text += std::string("2026-10-25T02:59:59.000") + (*zone ? "+02:00" : "") + ",1000\n";
        text += std::string("2026-10-25T02:59:59.500") + (*zone ? "+02:00" : "") + ",1000\n";
        text += std::string("2026-10-25T02:00:00.000") + (*zone ? "+01:00" : "") + ",1000\n";
        text += std::string("2026-10-25T02:00:00.500") + (*zone ? "+01:00" : "") + ",1000\n";
        const MonitorLog log = ReadText(text);
        LogPlayback playback(log);
        ASSERT_EQ(playback.Rows(), 4u);
        // With offsets the step between rows 1 and 2 is 0.5 s; without, it
        // is not known and counts nothing.
        EXPECT_NEAR(playback.Length(), *zone ? 1.5 : 1.0, 1e-9);
        playback.Play();
        std::size_t shown = 0;
        for (int tick = 0; tick < 100 && playback.Playing(); ++tick)
            if (playback.Tick())
                ++shown;
        EXPECT_EQ(playback.Row(), 3u);
        // Rows at the same point of the clock show as one step.
        EXPECT_GE(shown, 3u);
    }
}

} // namespace
} // namespace orna5
