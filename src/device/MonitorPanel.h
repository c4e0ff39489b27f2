#pragma once

#include "device/LiveLabel.h"
#include "params/ParameterImage.h"

#include <array>
#include <cstdint>
#include <optional>

namespace orna5 {

// The live values the rest of the program reads from the last accepted
// MonitorFrame.
struct LiveValues {
    std::uint16_t liveRpm = 0;
    std::uint8_t tpsPercent = 0; // above 100: throttle sensor error
    std::uint16_t tpsMillivolts = 0;
    std::uint16_t unitSavingCount = 0;
};

// The live panel as the last accepted MonitorFrame left it. Labels that no
// frame has written yet have no text (the shell shows its placeholders).
// Which of LabelAdvance2..4, the servo labels and the test labels are shown at
// all is the form state's business, not the monitor's.
struct MonitorPanel {
    LiveLabel rpm;                    // LabelRpm
    int rpmGauge = 0;                 // CGaugeRpm, 0..100
    LiveLabel voltage;                // LabelNapeti
    LiveLabel blocking;               // LabelBlocking1
    std::array<LiveLabel, 4> advance; // LabelAdvance1..4; single display writes only [0]
    LiveLabel shiftLight;             // LabelMonPilotLight
    std::array<LiveLabel, 2> pickup;  // LabelMonSnimac1, 2
    LiveLabel tps;                    // LabelTpsMon
    int tpsGauge = 0;                 // CGaugeTps, 0..100
    LiveLabel servoDesired;           // LabelPriveraPoz
    LiveLabel servoMeasured;          // LabelPriveraMer
    LiveLabel version;                // LabelVersion
    bool versionVisible = false;
    bool storedDataErrorVisible = false; // LabelEeDataErr
    LiveLabel programmingCount;          // LabelPocetProgramovani
    std::array<LiveLabel, 8> tests;      // LabelTest1..8
    std::array<LiveLabel, 2> inputs;     // LabelMonInput1In, 2In
    LiveLabel clutch;                    // LabelClutchMon
    LiveLabel killSwitch;                // LabelKillSwitch

    LiveValues live;
};

// Takes one received frame of 102 bytes whose code is 0xB0 into the panel.
// Returns false, changing nothing, when the check byte is wrong.
bool HandleMonitorFrame(const std::uint8_t* frame, const ParameterImage& image,
                        MonitorPanel& panel);

// The one advance figure of the single display from the four channel bytes
// (degrees + 100, 0 for a channel the unit does not use).
int SingleAdvanceFigure(const std::uint8_t* channelBytes);

// The advance the unit reports on each of its four channels, in degrees;
// nothing for a channel it does not use (byte 0).
std::array<std::optional<int>, 4> ChannelAdvances(const std::uint8_t* frame);

// "Unmatched version of PC and Ignition programs!" + "  PC-54, IGN-<unit>",
// as a label (also the text of the modal message on a Read or Program).
LiveLabel VersionMismatchLabel(int unitVersion);

} // namespace orna5
