#pragma once

#include "device/ColourRole.h"
#include "params/ParameterImage.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace orna5 {

// The lamps of the dashboard, in the order it shows them.
enum class DashboardLamp {
    ShiftLight,
    KillSwitch,
    ClutchMaster,
    Pickup1,
    Pickup2,
    EngineOffBlocking,
    StoredDataError,
    VersionMismatch,
    Count
};
constexpr std::size_t kDashboardLamps = static_cast<std::size_t>(DashboardLamp::Count);

struct LampReading {
    bool on = false;
    ColourRole colour = ColourRole::ButtonFace; // the colour when on
};

// One live-data frame as the dashboard shows it: numbers, and for each the
// colour the live panel gives the same value, so the two never disagree.
struct DashboardReadings {
    // False for a frame with a wrong check byte (and the all-zero frame of
    // before the first one): nothing below means anything then.
    bool valid = false;

    int rpm = 0;
    ColourRole rpmColour = ColourRole::ButtonFace;
    // Marks of the image on the rpm scale; 0 for a mark the image has not set.
    int shiftLightRpm = 0;
    int limiterRpm = 0;

    // The four channels apart when the model shows advance per channel, else
    // the one figure of the whole engine in channel[0].
    bool perChannel = false;
    bool pickupError = false; // the advance cannot be trusted: no figures then
    std::array<std::optional<int>, 4> advance;
    std::array<ColourRole, 4> advanceColour{};

    bool throttleError = false; // the sensor reports more than 100 %
    int throttlePercent = 0;
    int throttleMillivolts = 0;
    ColourRole throttleColour = ColourRole::ButtonFace;

    int supplyMillivolts = 0;
    std::string supplyVolts; // "12.5", rounded as the live panel rounds it
    ColourRole supplyColour = ColourRole::ButtonFace;

    int servoDesiredMillivolts = 0;
    int servoMeasuredMillivolts = 0;
    ColourRole servoColour = ColourRole::ButtonFace;

    std::array<LampReading, kDashboardLamps> lamps{};
    const LampReading& Lamp(DashboardLamp lamp) const {
        return lamps[static_cast<std::size_t>(lamp)];
    }
};

// Reads a received frame of 102 bytes whose code is 0xB0 with the image that
// gives its meaning (the model, the limiter, the sensor checks).
DashboardReadings ReadDashboard(const std::uint8_t* frame, const ParameterImage& image);

// The top of the rpm scale: a little above the limiter and the shift light,
// on a whole thousand, so both marks and the red zone beyond the limiter
// stay in view; without a limiter at least the 10000 rpm at which the live
// panel's bar is full.
int RpmScaleTop(const DashboardReadings& readings);

// Whether the dashboard's figures are live. They are not before the first
// frame, once no frame has come for kStaleAfterMs, or while the source of
// frames (the unit, or a log playing) is silent. The clock is given, in
// milliseconds that only run forward; one that went back reads as stale,
// never as fresh.
class LiveFreshness {
public:
    enum class State { Live, Waiting, NoFrames, NoConnection };
    static constexpr std::int64_t kStaleAfterMs = 1000;

    void FrameSeen(std::int64_t nowMs) {
        lastFrameMs = nowMs;
        seen = true;
    }
    void Forget() { seen = false; }
    State At(std::int64_t nowMs, bool sourceAnswering) const;

private:
    bool seen = false;
    std::int64_t lastFrameMs = 0;
};

// The version warning is hidden while the unit does not answer, as the
// live panel hides it: an old frame's warning is not the unit's now.
void HideWhatSilenceHides(DashboardReadings& readings, LiveFreshness::State state);

} // namespace orna5
