#include "FakeLink.h"

#include "device/MarkLivePosition.h"
#include "device/MonitorPanel.h"

#include <gtest/gtest.h>

namespace orna5 {
namespace {

namespace mf = monitorField;
using test::Sealed;

class MonitorPanelTest : public ::testing::Test {
protected:
    MonitorPanelTest() {
        image[field::limiterRpm] = 110;
        image[field::revsWithoutIgnition] = 3;
        image[field::lobeCount] = 2;
        frame = test::MonitorFrameBytes();
    }

    // Seals and takes the frame into the panel.
    void Take() { ASSERT_TRUE(HandleMonitorFrame(Sealed(frame).data(), image, panel)); }

    std::string Text(const LiveLabel& label) { return RenderLabel(label, English); }

    ParameterImage image{};
    DeviceFrame frame{};
    MonitorPanel panel;
};

TEST_F(MonitorPanelTest, SupplyVoltageColourThresholds) {
    struct Case {
        unsigned mv;
        const char* text;
        ColourRole colour;
    };
    const Case cases[] = {
        {12500, "U = 12.5 [V]", ColourRole::ButtonFace},
        {14999, "U = 15.0 [V]", ColourRole::Yellow},
        {7000, "U =  7.0 [V]", ColourRole::Red},
        {17999, "U = 18.0 [V]", ColourRole::Red},
        {11000, "U = 11.0 [V]", ColourRole::Yellow},
        {11001, "U = 11.0 [V]", ColourRole::ButtonFace},
        {7001, "U =  7.0 [V]", ColourRole::Yellow},
        {14998, "U = 15.0 [V]", ColourRole::ButtonFace},
    };
    for (const Case& c : cases) {
        PutFrameWord(frame.data(), mf::supplyMv, c.mv);
        Take();
        EXPECT_EQ(Text(panel.voltage), c.text) << c.mv;
        EXPECT_EQ(panel.voltage.colour, c.colour) << c.mv;
    }
    // The product is rounded as a float: 14.95 is 14.9499998 there.
    PutFrameWord(frame.data(), mf::supplyMv, 14950);
    Take();
    EXPECT_EQ(Text(panel.voltage), "U = 14.9 [V]");
}

TEST_F(MonitorPanelTest, EngineSpeedAndGauge) {
    PutFrameWord(frame.data(), mf::rpm, 5500);
    Take();
    EXPECT_EQ(Text(panel.rpm), "RPM = 5500 ");
    EXPECT_EQ(panel.rpmGauge, 50);
    EXPECT_EQ(panel.live.liveRpm, 5500);

    PutFrameWord(frame.data(), mf::rpm, 20000); // above the limiter: full bar
    frame[mf::rpmAlarmYellow] = 1;
    Take();
    EXPECT_EQ(panel.rpmGauge, 100);
    EXPECT_EQ(panel.rpm.colour, ColourRole::Yellow);
    frame[mf::rpmAlarmRed] = 1;
    Take();
    EXPECT_EQ(panel.rpm.colour, ColourRole::Red);

    image[field::limiterRpm] = 0; // no limiter: divide by 100
    PutFrameWord(frame.data(), mf::rpm, 4200);
    Take();
    EXPECT_EQ(panel.rpmGauge, 42);
}

TEST_F(MonitorPanelTest, ThrottleAndSensorError) {
    frame[mf::tpsPercent] = 40;
    PutFrameWord(frame.data(), mf::tpsCounts, 1023);
    Take();
    EXPECT_EQ(Text(panel.tps), "TP= 40 [%]= 5000 [mV]");
    EXPECT_EQ(panel.tpsGauge, 40);
    EXPECT_EQ(panel.live.tpsMillivolts, 5000);

    frame[mf::tpsPercent] = 101;
    PutFrameWord(frame.data(), mf::tpsCounts, 100); // 100 * 5000 / 1023 = 488
    Take();
    EXPECT_EQ(Text(panel.tps), "TP=error = 488 [mV]");
    EXPECT_EQ(panel.tpsGauge, 0);
    EXPECT_EQ(panel.tps.colour, ColourRole::ButtonFace);
    image[field::mapUsesTps] = 1;
    Take();
    EXPECT_EQ(panel.tps.colour, ColourRole::Red);

    PutFrameWord(frame.data(), mf::tpsCounts, 0xFFFF); // nonsense counts do not wrap round
    Take();
    EXPECT_EQ(panel.live.tpsMillivolts, 0xFFFF);
}

TEST_F(MonitorPanelTest, PerChannelAdvance) {
    image[field::bikeCode] = 22;
    const std::uint8_t advance[4] = {130, 125, 100, 90};
    const unsigned limits[4] = {30, 40, 0, 10};
    for (int c = 0; c < 4; ++c) {
        frame[mf::channelAdvance + c] = advance[c];
        PutFrameWord(frame.data(), mf::channelLimit + 2 * c, limits[c]);
    }
    Take();
    EXPECT_EQ(Text(panel.advance[0]), "Advance 1 = 30 [°] /max 30 [°]");
    EXPECT_EQ(panel.advance[0].colour, ColourRole::Yellow);
    EXPECT_EQ(Text(panel.advance[1]), "Advance 2 = 25 [°] /max 40 [°]");
    EXPECT_EQ(panel.advance[1].colour, ColourRole::ButtonFace);
    EXPECT_EQ(Text(panel.advance[2]), "Advance 3 = 0 [°]");
    EXPECT_EQ(Text(panel.advance[3]), "Advance 4 = -10 [°] /max 10 [°]");
    EXPECT_EQ(RenderLabel(panel.advance[0], German), "Vorzündung 1 = 30 [°] /max 30 [°]");
}

TEST_F(MonitorPanelTest, SingleAdvanceUsesSmallestLimit) {
    image[field::bikeCode] = 5;
    for (int c = 0; c < 2; ++c) {
        frame[mf::channelAdvance + c] = 125;
    }
    frame[mf::channelAdvance + 2] = 0;
    frame[mf::channelAdvance + 3] = 0;
    PutFrameWord(frame.data(), mf::channelLimit, 0);
    PutFrameWord(frame.data(), mf::channelLimit + 2, 40);
    PutFrameWord(frame.data(), mf::channelLimit + 4, 25);
    Take();
    EXPECT_EQ(Text(panel.advance[0]), "Advance = 25 [°] /max 25 [°]");
    EXPECT_EQ(panel.advance[0].colour, ColourRole::Yellow);
    EXPECT_FALSE(panel.advance[1].HasText()); // only the first label is written

    for (int c = 0; c < 4; ++c) {
        PutFrameWord(frame.data(), mf::channelLimit + 2 * c, 0);
    }
    Take();
    EXPECT_EQ(Text(panel.advance[0]), "Advance = 25 [°]");
}

TEST(SingleAdvanceFigure, EqualChannelsAndChannelsInUse) {
    const std::uint8_t equal[4] = {112, 112, 112, 112};
    EXPECT_EQ(SingleAdvanceFigure(equal), 12);
    const std::uint8_t usual[4] = {135, 135, 0, 0};
    EXPECT_EQ(SingleAdvanceFigure(usual), 35);
    const std::uint8_t differ[4] = {90, 120, 110, 0};
    EXPECT_EQ(SingleAdvanceFigure(differ), 20);
    const std::uint8_t retarded[4] = {95, 0, 0, 0};
    EXPECT_EQ(SingleAdvanceFigure(retarded), -5);
    const std::uint8_t none[4] = {0, 0, 0, 0};
    EXPECT_EQ(SingleAdvanceFigure(none), 0);
}

TEST_F(MonitorPanelTest, PickupErrorReplacesAdvance) {
    // S = 3, L = 2: count below 3 and value above 6 on either pick-up.
    frame[mf::pickupCount2] = 2;
    frame[mf::pickupValue2] = 7;
    frame[mf::pickupCount1] = 3;
    Take();
    EXPECT_EQ(panel.advance[0].colour, ColourRole::Red);
    ASSERT_EQ(panel.advance[0].text.size(), 1u);
    EXPECT_EQ(std::get<Msg>(panel.advance[0].text[0]), Msg::PickupSystemError);

    frame[mf::pickupValue2] = 6; // S x L is not below the value: no error
    Take();
    EXPECT_EQ(panel.advance[0].colour, ColourRole::ButtonFace);

    image[field::bikeCode] = 22;
    frame[mf::pickupValue2] = 7;
    Take();
    for (const LiveLabel& l : panel.advance) {
        EXPECT_EQ(l.colour, ColourRole::Red);
    }
}

TEST_F(MonitorPanelTest, WarningsCountersAndSwitches) {
    frame[mf::protocolVersion] = 53;
    frame[mf::storedDataError] = 1;
    PutFrameWord(frame.data(), mf::programmings, 1234);
    PutFrameWord(frame.data(), mf::testValues + 14, 65535);
    PutFrameWord(frame.data(), mf::savingCount, 207);
    frame[mf::input1Grounded] = 1;
    frame[mf::clutchMaster] = 1;
    frame[mf::killSwitch] = 1;
    frame[mf::engineOffBlocking] = 1;
    frame[mf::pickup1Signal] = 1;
    frame[mf::servoOk] = 0;
    PutFrameWord(frame.data(), mf::servoDesired, 512);
    Take();
    EXPECT_TRUE(panel.versionVisible);
    EXPECT_EQ(Text(panel.version), "Unmatched version of PC and Ignition programs!  PC-54, IGN-53");
    EXPECT_TRUE(panel.storedDataErrorVisible);
    EXPECT_EQ(Text(panel.programmingCount), "Number of Programing= 1234");
    EXPECT_EQ(Text(panel.tests[7]), "Test8 = 65535 ");
    EXPECT_EQ(panel.live.unitSavingCount, 207);
    EXPECT_EQ(Text(panel.inputs[0]), "Input 1: Grounded");
    EXPECT_EQ(panel.inputs[0].colour, ColourRole::Fuchsia);
    EXPECT_EQ(Text(panel.inputs[1]), "Input 2: Open");
    EXPECT_EQ(Text(panel.clutch), "Clutch master - YES");
    EXPECT_EQ(panel.clutch.colour, ColourRole::Lime);
    EXPECT_EQ(Text(panel.killSwitch), "Kill switch - YES");
    EXPECT_EQ(panel.killSwitch.colour, ColourRole::Red);
    EXPECT_EQ(Text(panel.blocking), "Motor off - YES");
    EXPECT_EQ(Text(panel.pickup[0]), "Pick-up (CKPS) 1 - is running");
    EXPECT_EQ(Text(panel.pickup[1]), "Pick-up (CKPS) 2 - no signal");
    EXPECT_EQ(Text(panel.servoDesired), "Servo desired= 2502 [mV]");
    EXPECT_EQ(panel.servoMeasured.colour, ColourRole::Red);

    frame[mf::protocolVersion] = 54;
    Take();
    EXPECT_FALSE(panel.versionVisible);
}

TEST_F(MonitorPanelTest, BadCheckChangesNothing) {
    PutFrameWord(frame.data(), mf::rpm, 3000);
    Take();
    DeviceFrame bad = Sealed(frame);
    PutFrameWord(bad.data(), mf::rpm, 9000);
    EXPECT_FALSE(HandleMonitorFrame(bad.data(), image, panel));
    EXPECT_EQ(panel.live.liveRpm, 3000);
    EXPECT_EQ(Text(panel.rpm), "RPM = 3000 ");
}

class LivePositionTest : public ::testing::Test {
protected:
    LivePositionTest() {
        const std::uint8_t axis[10] = {15, 20, 30, 40, 50, 60, 70, 80, 90, 100};
        const std::uint8_t servo[10] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
        for (int i = 0; i < 10; ++i) {
            image[field::mapRpm + i] = axis[i];
            image[field::servoRpm + i] = servo[i];
        }
    }
    LivePosition At(unsigned rpm, unsigned tps = 0, bool rows = true) {
        return MarkLivePosition(static_cast<std::uint16_t>(rpm), static_cast<std::uint8_t>(tps), 0,
                                image, rows);
    }
    ParameterImage image{};
};

TEST_F(LivePositionTest, MapColumnTiesToTheLowerPoint) {
    EXPECT_FALSE(At(1700).belowMapAxis);
    EXPECT_EQ(At(1700).mapRpmColumn, 0);
    EXPECT_EQ(At(1800).mapRpmColumn, 1);
    EXPECT_EQ(At(2500).mapRpmColumn, 1); // 20 + 30 = 50 >= 50
    EXPECT_EQ(At(2600).mapRpmColumn, 2);
    EXPECT_EQ(At(15000).mapRpmColumn, 9);

    const LivePosition low = At(1400);
    EXPECT_TRUE(low.belowMapAxis);
    EXPECT_EQ(low.servoRpmColumn, 0); // a servo point stays lit (10 < 14 < 20)
    EXPECT_EQ(At(900).servoRpmColumn, 0);
    EXPECT_EQ(At(1600).servoRpmColumn, 1);
    // rpm / 100 above 255 does not fit an axis byte: it lies past the last
    // point, never wrapped round to the start of the axis.
    EXPECT_EQ(At(25600).mapRpmColumn, 9);
    EXPECT_FALSE(At(25600).belowMapAxis);
    EXPECT_EQ(At(25600).servoRpmColumn, 9);
}

TEST_F(LivePositionTest, ThrottleRow) {
    EXPECT_EQ(At(3000, 0).tpsRow, 0);
    EXPECT_EQ(At(3000, 1).tpsRow, 0);  // 0 + 2 >= 2
    EXPECT_EQ(At(3000, 4).tpsRow, 2);  // 2 + 5 < 8
    EXPECT_EQ(At(3000, 50).tpsRow, 6); // 40 + 60 >= 100
    EXPECT_EQ(At(3000, 100).tpsRow, 9);
    EXPECT_EQ(At(3000, 150).tpsRow, 9);
    EXPECT_EQ(At(3000, 0, false).tpsRow, 9);
}

} // namespace
} // namespace orna5
