#include "device/MonitorPanel.h"

#include "device/DeviceFrame.h"
#include "params/BikePresets.h"
#include "params/MonitorFrame.h"

#include <algorithm>

namespace orna5 {

namespace mf = monitorField;

namespace {

constexpr const char* kDegree = "[\u00B0]";

LiveLabel YesNoLabel(Msg name, bool yes, ColourRole yesColour) {
    LiveLabel label;
    label.text = {name, std::string(" - "), yes ? Msg::Yes : Msg::No};
    label.colour = yes ? yesColour : ColourRole::ButtonFace;
    return label;
}

LiveLabel LiteralLabel(std::string text, ColourRole colour = ColourRole::ButtonFace) {
    LiveLabel label;
    label.text = {std::move(text)};
    label.colour = colour;
    return label;
}

int ClampGauge(long position) {
    return static_cast<int>(std::clamp<long>(position, 0, 100));
}

bool PickupError(const std::uint8_t* f, const ParameterImage& image) {
    const long s = image[field::revsWithoutIgnition];
    const long sl = s * image[field::lobeCount];
    return (f[mf::pickupCount1] < s && sl < f[mf::pickupValue1]) ||
           (f[mf::pickupCount2] < s && sl < f[mf::pickupValue2]);
}

LiveLabel AdvanceLabel(std::string numbers, int advance, int limit) {
    LiveLabel label;
    label.text = {Msg::Advance, std::move(numbers)};
    label.colour = (limit > 0 && advance >= limit) ? ColourRole::Yellow : ColourRole::ButtonFace;
    return label;
}

void DecodeAdvance(const std::uint8_t* f, const ParameterImage& image, MonitorPanel& panel) {
    const bool error = PickupError(f, image);
    LiveLabel errorLabel;
    errorLabel.text = {Msg::PickupSystemError};
    errorLabel.colour = ColourRole::Red;

    if (image[field::bikeCode] == kSpecialBikeCode) {
        for (int c = 0; c < 4; ++c) {
            if (error) {
                panel.advance[c] = errorLabel;
                continue;
            }
            const int a = f[mf::channelAdvance + c] - 100;
            const int m = FrameWord(f, mf::channelLimit + 2 * c);
            const std::string numbers =
                m != 0 ? FormatText(" %d = %d %s /max %d %s", c + 1, a, kDegree, m, kDegree)
                       : FormatText(" %d = %d %s", c + 1, a, kDegree);
            panel.advance[c] = AdvanceLabel(numbers, a, m);
        }
        return;
    }

    if (error) {
        panel.advance[0] = errorLabel;
        return;
    }
    int m = 0;
    for (int c = 0; c < 4; ++c) {
        const int limit = FrameWord(f, mf::channelLimit + 2 * c);
        if (limit != 0 && (m == 0 || limit < m)) {
            m = limit;
        }
    }
    const int a = SingleAdvanceFigure(f + mf::channelAdvance);
    const std::string numbers = m != 0 ? FormatText(" = %d %s /max %d %s", a, kDegree, m, kDegree)
                                       : FormatText(" = %d %s", a, kDegree);
    panel.advance[0] = AdvanceLabel(numbers, a, m);
}

} // namespace

// With the unit's usual values the channels in use carry the same advance and
// unused channels carry 0, and then any choice shows that advance. When the
// channels in use differ the display shows the largest of them: the yellow
// "at the limit" colour then warns as soon as any channel reaches the limit.
// With no channel in use the figure stays at 0.
int SingleAdvanceFigure(const std::uint8_t* channelBytes) {
    int figure = 0;
    bool any = false;
    for (int c = 0; c < 4; ++c) {
        if (channelBytes[c] == 0) {
            continue;
        }
        const int a = channelBytes[c] - 100;
        if (!any || a > figure) {
            figure = a;
        }
        any = true;
    }
    return figure;
}

std::array<std::optional<int>, 4> ChannelAdvances(const std::uint8_t* frame) {
    std::array<std::optional<int>, 4> advances;
    for (int c = 0; c < 4; ++c) {
        const std::uint8_t byte = frame[monitorField::channelAdvance + c];
        if (byte != 0) {
            advances[c] = byte - 100;
        }
    }
    return advances;
}

LiveLabel VersionMismatchLabel(int unitVersion) {
    LiveLabel label;
    label.text = {Msg::UnmatchedUnitVersion,
                  FormatText("  PC-%d, IGN-%d", static_cast<int>(ProtocolVersion), unitVersion)};
    return label;
}

bool HandleMonitorFrame(const std::uint8_t* f, const ParameterImage& image, MonitorPanel& panel) {
    if (!FrameCheckOk(f)) {
        return false;
    }
    LiveValues& live = panel.live;
    live.tpsPercent = f[mf::tpsPercent];
    live.liveRpm = FrameWord(f, mf::rpm);

    const ColourRole rpmColour = f[mf::rpmAlarmRed] != 0      ? ColourRole::Red
                                 : f[mf::rpmAlarmYellow] != 0 ? ColourRole::Yellow
                                                              : ColourRole::ButtonFace;
    panel.rpm = LiteralLabel(FormatText("RPM = %d ", live.liveRpm), rpmColour);
    const int limiter = image[field::limiterRpm] != 0 ? image[field::limiterRpm] : 100;
    panel.rpmGauge = ClampGauge(live.liveRpm / limiter);

    const int supply = FrameWord(f, mf::supplyMv);
    // The product is held as a float before formatting, which decides the
    // rounding of values such as 14950 mV.
    const float volts = static_cast<float>(supply * 0.001);
    const ColourRole supplyColour = (supply <= 7000 || supply >= 17999)    ? ColourRole::Red
                                    : (supply <= 11000 || supply >= 14999) ? ColourRole::Yellow
                                                                           : ColourRole::ButtonFace;
    panel.voltage =
        LiteralLabel(FormatText("U = %4.1f [V]", static_cast<double>(volts)), supplyColour);

    panel.blocking = YesNoLabel(Msg::MotorOff, f[mf::engineOffBlocking] != 0, ColourRole::Red);

    DecodeAdvance(f, image, panel);

    panel.shiftLight = YesNoLabel(Msg::ShiftLight, f[mf::shiftLight] != 0, ColourRole::Yellow);

    for (int p = 0; p < 2; ++p) {
        const bool running = f[mf::pickup1Signal + p] != 0;
        panel.pickup[p].text = {Msg::PickupPrefix, FormatText(" %d - ", p + 1),
                                running ? Msg::PickupRunning : Msg::PickupNoSignal};
        panel.pickup[p].colour = running ? ColourRole::Lime : ColourRole::ButtonFace;
    }

    live.tpsMillivolts = CountsToMillivolts(FrameWord(f, mf::tpsCounts));
    if (live.tpsPercent <= 100) {
        panel.tps =
            LiteralLabel(FormatText("TP= %d [%%]= %d [mV]", live.tpsPercent, live.tpsMillivolts));
        panel.tpsGauge = live.tpsPercent;
    } else {
        panel.tps =
            LiteralLabel(FormatText("TP=error = %d [mV]", live.tpsMillivolts),
                         image[field::mapUsesTps] != 0 ? ColourRole::Red : ColourRole::ButtonFace);
        panel.tpsGauge = 0;
    }

    const ColourRole servoColour = f[mf::servoOk] != 0 ? ColourRole::ButtonFace : ColourRole::Red;
    panel.servoDesired.text = {
        Msg::ServoDesired,
        FormatText(" %d [mV]", CountsToMillivolts(FrameWord(f, mf::servoDesired)))};
    panel.servoDesired.colour = servoColour;
    panel.servoMeasured.text = {
        Msg::ServoMeasured,
        FormatText(" %d [mV]", CountsToMillivolts(FrameWord(f, mf::servoMeasured)))};
    panel.servoMeasured.colour = servoColour;

    if (f[mf::protocolVersion] == ProtocolVersion) {
        panel.versionVisible = false;
    } else {
        panel.version = VersionMismatchLabel(f[mf::protocolVersion]);
        panel.versionVisible = true;
    }

    live.unitSavingCount = FrameWord(f, mf::savingCount);
    panel.storedDataErrorVisible = f[mf::storedDataError] != 0;

    panel.programmingCount.text = {Msg::NumberOfProgramming,
                                   FormatText("%d", FrameWord(f, mf::programmings))};
    panel.programmingCount.colour = ColourRole::ButtonFace;

    for (int t = 0; t < 8; ++t) {
        panel.tests[t] =
            LiteralLabel(FormatText("Test%d = %d ", t + 1, FrameWord(f, mf::testValues + 2 * t)));
    }

    const bool in1 = f[mf::input1Grounded] != 0;
    panel.inputs[0].text = {Msg::Input, std::string(" 1: "), in1 ? Msg::Grounded : Msg::Open};
    panel.inputs[0].colour = in1 ? ColourRole::Fuchsia : ColourRole::ButtonFace;
    const bool in2 = f[mf::input2Grounded] != 0;
    panel.inputs[1].text = {Msg::Input, std::string(" 2: "), in2 ? Msg::Grounded : Msg::Open};
    panel.inputs[1].colour = in2 ? ColourRole::Aqua : ColourRole::ButtonFace;

    panel.clutch = YesNoLabel(Msg::ClutchMaster, f[mf::clutchMaster] != 0, ColourRole::Lime);
    panel.killSwitch = YesNoLabel(Msg::KillSwitch, f[mf::killSwitch] != 0, ColourRole::Red);
    return true;
}

} // namespace orna5
