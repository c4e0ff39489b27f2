// The dashboard's reading of a frame: every lamp from its own byte in the
// live panel's colour, the colour bands at their edges, the advance per
// channel or as one figure, and when the figures stop being live.

#include "FakeLink.h"

#include "device/Dashboard.h"
#include "params/BikePresets.h"

#include <gtest/gtest.h>

namespace orna5 {
namespace {

namespace mf = monitorField;
using test::Sealed;

class DashboardTest : public ::testing::Test {
protected:
    DashboardTest() {
        image[field::limiterRpm] = 110;
        image[field::shiftLightRpm] = 95;
        image[field::revsWithoutIgnition] = 3;
        image[field::lobeCount] = 2;
        frame = test::MonitorFrameBytes();
    }

    DashboardReadings Read() { return ReadDashboard(Sealed(frame).data(), image); }

    ParameterImage image{};
    DeviceFrame frame{};
};

// Fault: a lamp read from a neighbouring byte, lit in the wrong colour, or
// lit by another lamp's byte.
TEST_F(DashboardTest, EachLampLightsFromItsOwnByteInThePanelsColour) {
    struct Case {
        std::size_t offset;
        std::uint8_t value;
        DashboardLamp lamp;
        ColourRole colour;
    };
    const Case cases[] = {
        {mf::shiftLight, 1, DashboardLamp::ShiftLight, ColourRole::Yellow},
        {mf::killSwitch, 1, DashboardLamp::KillSwitch, ColourRole::Red},
        {mf::clutchMaster, 1, DashboardLamp::ClutchMaster, ColourRole::Lime},
        {mf::pickup1Signal, 1, DashboardLamp::Pickup1, ColourRole::Lime},
        {mf::pickup2Signal, 1, DashboardLamp::Pickup2, ColourRole::Lime},
        {mf::engineOffBlocking, 1, DashboardLamp::EngineOffBlocking, ColourRole::Red},
        {mf::storedDataError, 1, DashboardLamp::StoredDataError, ColourRole::Red},
        {mf::protocolVersion, 53, DashboardLamp::VersionMismatch, ColourRole::Red},
    };
    const DashboardReadings quiet = Read();
    ASSERT_TRUE(quiet.valid);
    for (const LampReading& lamp : quiet.lamps)
        EXPECT_FALSE(lamp.on);
    for (const Case& c : cases) {
        frame = test::MonitorFrameBytes();
        frame[c.offset] = c.value;
        const DashboardReadings r = Read();
        for (std::size_t i = 0; i < kDashboardLamps; ++i) {
            const bool expected = i == static_cast<std::size_t>(c.lamp);
            EXPECT_EQ(r.lamps[i].on, expected) << "byte " << c.offset << ", lamp " << i;
        }
        EXPECT_EQ(r.Lamp(c.lamp).colour, c.colour) << "byte " << c.offset;
    }
}

// Fault: a band edge off by one, a rounding other than the panel's, or the
// yellow band winning over the red.
TEST_F(DashboardTest, SupplyVoltageBandsAtTheirEdges) {
    struct Case {
        std::uint16_t mv;
        const char* volts;
        ColourRole colour;
    };
    const Case cases[] = {
        {0, "0.0", ColourRole::Red},
        {7000, "7.0", ColourRole::Red},
        {7001, "7.0", ColourRole::Yellow},
        {11000, "11.0", ColourRole::Yellow},
        {11001, "11.0", ColourRole::ButtonFace},
        {12500, "12.5", ColourRole::ButtonFace},
        {14950, "14.9", ColourRole::ButtonFace},
        {14998, "15.0", ColourRole::ButtonFace},
        {14999, "15.0", ColourRole::Yellow},
        {17998, "18.0", ColourRole::Yellow},
        {17999, "18.0", ColourRole::Red},
        {65535, "65.5", ColourRole::Red},
    };
    for (const Case& c : cases) {
        PutFrameWord(frame.data(), mf::supplyMv, c.mv);
        const DashboardReadings r = Read();
        EXPECT_EQ(r.supplyMillivolts, c.mv);
        EXPECT_EQ(r.supplyVolts, c.volts) << c.mv;
        EXPECT_EQ(r.supplyColour, c.colour) << c.mv;
    }
}

// Fault: the yellow alarm shown over the red, or either taken from the
// wrong byte.
TEST_F(DashboardTest, EngineSpeedRedOverYellowAndTheImagesMarks) {
    struct Case {
        std::uint8_t red, yellow;
        ColourRole colour;
    };
    const Case cases[] = {{0, 0, ColourRole::ButtonFace},
                          {0, 1, ColourRole::Yellow},
                          {1, 0, ColourRole::Red},
                          {1, 1, ColourRole::Red}};
    PutFrameWord(frame.data(), mf::rpm, 10600);
    for (const Case& c : cases) {
        frame[mf::rpmAlarmRed] = c.red;
        frame[mf::rpmAlarmYellow] = c.yellow;
        const DashboardReadings r = Read();
        EXPECT_EQ(r.rpm, 10600);
        EXPECT_EQ(r.rpmColour, c.colour) << int(c.red) << int(c.yellow);
        EXPECT_EQ(r.shiftLightRpm, 9500);
        EXPECT_EQ(r.limiterRpm, 11000);
    }
}

// Fault: the scale ending at the limiter (its mark and red zone out of
// sight), or a scale of zero without a limiter.
TEST_F(DashboardTest, RpmScaleEndsAboveTheLimiterOnAWholeThousand) {
    struct Case {
        int limiter, shift, top;
    };
    const Case cases[] = {{0, 0, 10000},         {0, 9000, 10000},  {11000, 9500, 12000},
                          {11500, 9500, 12000},  {11600, 0, 13000}, {8000, 12000, 13000},
                          {25000, 25000, 26000}, {0, 12000, 13000}, {0, 25000, 26000},
                          {0, 9600, 11000}};
    for (const Case& c : cases) {
        DashboardReadings r;
        r.limiterRpm = c.limiter;
        r.shiftLightRpm = c.shift;
        EXPECT_EQ(RpmScaleTop(r), c.top) << c.limiter << " " << c.shift;
    }
}

// Fault: per-channel figures on a model that shows one, an unused channel
// shown as -100 degrees, figures shown through a pick-up error, or the
// yellow at-the-limit colour lost.
TEST_F(DashboardTest, AdvancePerChannelOrAsOneFigure) {
    struct Case {
        const char* what;
        std::uint8_t bikeCode;
        std::array<std::uint8_t, 4> channels;
        std::uint16_t limit1;
        bool pickupError;
        bool perChannel;
        std::array<std::optional<int>, 4> advance;
        ColourRole colour1;
    };
    const Case cases[] = {
        {"one figure",
         20,
         {125, 125, 0, 0},
         0,
         false,
         false,
         {25, {}, {}, {}},
         ColourRole::ButtonFace},
        {"one figure at its limit",
         20,
         {130, 130, 0, 0},
         30,
         false,
         false,
         {30, {}, {}, {}},
         ColourRole::Yellow},
        {"per channel",
         kSpecialBikeCode,
         {125, 120, 0, 110},
         0,
         false,
         true,
         {25, 20, std::nullopt, 10},
         ColourRole::ButtonFace},
        {"per channel at its limit",
         kSpecialBikeCode,
         {135, 120, 120, 120},
         35,
         false,
         true,
         {35, 20, 20, 20},
         ColourRole::Yellow},
        {"pick-up error, one figure", 20, {125, 125, 0, 0}, 0, true, false, {}, ColourRole::Red},
        {"pick-up error, per channel",
         kSpecialBikeCode,
         {125, 125, 0, 0},
         0,
         true,
         true,
         {},
         ColourRole::Red},
    };
    for (const Case& c : cases) {
        image[field::bikeCode] = c.bikeCode;
        frame = test::MonitorFrameBytes();
        for (std::size_t ch = 0; ch < 4; ++ch)
            frame[mf::channelAdvance + ch] = c.channels[ch];
        PutFrameWord(frame.data(), mf::channelLimit, c.limit1);
        if (c.pickupError) {
            frame[mf::pickupCount1] = 0;  // fewer revolutions than 3 ...
            frame[mf::pickupValue1] = 50; // ... with more than 3 x 2 teeth
        }
        const DashboardReadings r = Read();
        EXPECT_EQ(r.perChannel, c.perChannel) << c.what;
        EXPECT_EQ(r.pickupError, c.pickupError) << c.what;
        EXPECT_EQ(r.advance, c.advance) << c.what;
        EXPECT_EQ(r.advanceColour[0], c.colour1) << c.what;
        if (c.pickupError) {
            for (ColourRole colour : r.advanceColour)
                EXPECT_EQ(colour, ColourRole::Red) << c.what;
        }
    }
}

// Fault: a sensor error shown as a percentage, red on a map that does not
// use the throttle, or the servo's red lost.
TEST_F(DashboardTest, ThrottleErrorAndServoColours) {
    struct Case {
        std::uint8_t percent;
        std::uint8_t mapUsesTps;
        bool error;
        int shown;
        ColourRole colour;
    };
    const Case cases[] = {
        {0, 1, false, 0, ColourRole::ButtonFace},  {100, 1, false, 100, ColourRole::ButtonFace},
        {101, 0, true, 0, ColourRole::ButtonFace}, {101, 1, true, 0, ColourRole::Red},
        {255, 1, true, 0, ColourRole::Red},
    };
    PutFrameWord(frame.data(), mf::tpsCounts, 1023);
    for (const Case& c : cases) {
        frame[mf::tpsPercent] = c.percent;
        image[field::mapUsesTps] = c.mapUsesTps;
        const DashboardReadings r = Read();
        EXPECT_EQ(r.throttleError, c.error) << int(c.percent);
        EXPECT_EQ(r.throttlePercent, c.shown) << int(c.percent);
        EXPECT_EQ(r.throttleMillivolts, 5000);
        EXPECT_EQ(r.throttleColour, c.colour) << int(c.percent) << int(c.mapUsesTps);
    }

    PutFrameWord(frame.data(), mf::servoDesired, 1023);
    PutFrameWord(frame.data(), mf::servoMeasured, 512);
    for (const std::uint8_t ok : {1, 0}) {
        frame[mf::servoOk] = ok;
        const DashboardReadings r = Read();
        EXPECT_EQ(r.servoDesiredMillivolts, 5000);
        EXPECT_EQ(r.servoMeasuredMillivolts, 2502);
        EXPECT_EQ(r.servoColour, ok ? ColourRole::ButtonFace : ColourRole::Red);
    }
}

// Fault: a damaged frame (or the empty one of before the first frame) shown
// as engine data.
TEST_F(DashboardTest, AFrameWithAWrongCheckByteGivesNoReadings) {
    PutFrameWord(frame.data(), mf::rpm, 4000);
    DeviceFrame damaged = Sealed(frame);
    damaged[kFrameSize - 1] ^= 0x01;
    EXPECT_FALSE(ReadDashboard(damaged.data(), image).valid);
    const DeviceFrame none{};
    EXPECT_FALSE(ReadDashboard(none.data(), image).valid);
    EXPECT_TRUE(Read().valid);
}

// Fault: the version warning of an old frame kept lit while the unit does
// not answer (the live panel hides it then), or other lamps put out with it.
TEST_F(DashboardTest, TheVersionWarningGoesWithTheUnitsAnswer) {
    using State = LiveFreshness::State;
    frame[mf::protocolVersion] = ProtocolVersion - 1;
    frame[mf::storedDataError] = 1;
    frame[mf::killSwitch] = 1;
    const struct {
        State state;
        bool version;
    } cases[] = {{State::Live, true},
                 {State::NoFrames, true},
                 {State::Waiting, true},
                 {State::NoConnection, false}};
    for (const auto& c : cases) {
        DashboardReadings r = Read();
        HideWhatSilenceHides(r, c.state);
        EXPECT_EQ(r.Lamp(DashboardLamp::VersionMismatch).on, c.version) << int(c.state);
        EXPECT_TRUE(r.Lamp(DashboardLamp::StoredDataError).on) << int(c.state);
        EXPECT_TRUE(r.Lamp(DashboardLamp::KillSwitch).on) << int(c.state);
    }
}

// Fault: figures shown as live a second after the last frame, while the
// unit is silent, before any frame, or when the clock went back.
TEST(LiveFreshnessTest, LiveOnlyWithinASecondOfAFrameFromATalkingSource) {
    using State = LiveFreshness::State;
    struct Case {
        const char* what;
        std::optional<std::int64_t> frameAt;
        std::int64_t now;
        bool answering;
        State state;
    };
    const Case cases[] = {
        {"before any frame", std::nullopt, 5000, true, State::Waiting},
        {"silent before any frame", std::nullopt, 5000, false, State::NoConnection},
        {"just now", 5000, 5000, true, State::Live},
        {"999 ms ago", 5000, 5999, true, State::Live},
        {"a second ago", 5000, 6000, true, State::NoFrames},
        {"long ago", 5000, 60000, true, State::NoFrames},
        {"fresh but the unit is silent", 5000, 5100, false, State::NoConnection},
        {"clock went back", 5000, 4000, true, State::NoFrames},
    };
    for (const Case& c : cases) {
        LiveFreshness freshness;
        if (c.frameAt)
            freshness.FrameSeen(*c.frameAt);
        EXPECT_EQ(freshness.At(c.now, c.answering), c.state) << c.what;
    }
    LiveFreshness forgotten;
    forgotten.FrameSeen(100);
    forgotten.Forget();
    EXPECT_EQ(forgotten.At(100, true), State::Waiting);
}

} // namespace
} // namespace orna5
