#include "device/Dashboard.h"

#include "device/MonitorPanel.h"
#include "params/BikePresets.h"
#include "params/FieldTable.h"
#include "params/MonitorFrame.h"

#include <algorithm>
#include <variant>

namespace orna5 {

namespace mf = monitorField;

namespace {

// A yes/no label of the panel is coloured exactly when it says yes.
LampReading FromYesNo(const LiveLabel& label) {
    return {label.colour != ColourRole::ButtonFace, label.colour};
}

bool SaysPickupError(const LiveLabel& label) {
    return !label.text.empty() && std::holds_alternative<Msg>(label.text.front()) &&
           std::get<Msg>(label.text.front()) == Msg::PickupSystemError;
}

} // namespace

DashboardReadings ReadDashboard(const std::uint8_t* f, const ParameterImage& image) {
    DashboardReadings r;
    // The panel's own decoding gives every colour: one rule for both.
    MonitorPanel panel;
    if (!HandleMonitorFrame(f, image, panel))
        return r;
    r.valid = true;

    r.rpm = panel.live.liveRpm;
    r.rpmColour = panel.rpm.colour;
    r.shiftLightRpm = static_cast<int>(Shown(fieldScale::shiftLight, image[field::shiftLightRpm]));
    r.limiterRpm = static_cast<int>(Shown(fieldScale::limiter, image[field::limiterRpm]));

    r.perChannel = image[field::bikeCode] == kSpecialBikeCode;
    r.pickupError = SaysPickupError(panel.advance[0]);
    if (r.pickupError) {
        r.advanceColour.fill(ColourRole::Red);
    } else if (r.perChannel) {
        r.advance = ChannelAdvances(f);
        for (std::size_t c = 0; c < 4; ++c)
            r.advanceColour[c] = panel.advance[c].colour;
    } else {
        r.advance[0] = SingleAdvanceFigure(f + mf::channelAdvance);
        r.advanceColour[0] = panel.advance[0].colour;
    }

    r.throttleError = panel.live.tpsPercent > 100;
    r.throttlePercent = r.throttleError ? 0 : panel.live.tpsPercent;
    r.throttleMillivolts = panel.live.tpsMillivolts;
    r.throttleColour = panel.tps.colour;

    r.supplyMillivolts = FrameWord(f, mf::supplyMv);
    // As the panel formats it: the product held as a float first.
    const float volts = static_cast<float>(r.supplyMillivolts * 0.001);
    r.supplyVolts = FormatText("%.1f", static_cast<double>(volts));
    r.supplyColour = panel.voltage.colour;

    r.servoDesiredMillivolts = CountsToMillivolts(FrameWord(f, mf::servoDesired));
    r.servoMeasuredMillivolts = CountsToMillivolts(FrameWord(f, mf::servoMeasured));
    r.servoColour = panel.servoDesired.colour;

    const auto lamp = [&r](DashboardLamp which) -> LampReading& {
        return r.lamps[static_cast<std::size_t>(which)];
    };
    lamp(DashboardLamp::ShiftLight) = FromYesNo(panel.shiftLight);
    lamp(DashboardLamp::KillSwitch) = FromYesNo(panel.killSwitch);
    lamp(DashboardLamp::ClutchMaster) = FromYesNo(panel.clutch);
    lamp(DashboardLamp::Pickup1) = FromYesNo(panel.pickup[0]);
    lamp(DashboardLamp::Pickup2) = FromYesNo(panel.pickup[1]);
    lamp(DashboardLamp::EngineOffBlocking) = FromYesNo(panel.blocking);
    lamp(DashboardLamp::StoredDataError) = {panel.storedDataErrorVisible, ColourRole::Red};
    lamp(DashboardLamp::VersionMismatch) = {panel.versionVisible, ColourRole::Red};
    return r;
}

int RpmScaleTop(const DashboardReadings& readings) {
    // Without a limiter the scale is at least the panel's full bar, and
    // still reaches past a shift light set above it.
    const int floor = readings.limiterRpm > 0 ? 0 : 10000;
    const int top = std::max(readings.limiterRpm, readings.shiftLightRpm) + 500;
    return std::max(floor, (top + 999) / 1000 * 1000);
}

void HideWhatSilenceHides(DashboardReadings& readings, LiveFreshness::State state) {
    if (state == LiveFreshness::State::NoConnection)
        readings.lamps[static_cast<std::size_t>(DashboardLamp::VersionMismatch)].on = false;
}

LiveFreshness::State LiveFreshness::At(std::int64_t nowMs, bool sourceAnswering) const {
    if (!sourceAnswering)
        return State::NoConnection;
    if (!seen)
        return State::Waiting;
    const std::int64_t age = nowMs - lastFrameMs;
    return age >= 0 && age < kStaleAfterMs ? State::Live : State::NoFrames;
}

} // namespace orna5
