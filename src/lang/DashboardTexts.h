#pragma once

#include "lang/TextTable.h"

namespace orna5 {

// The texts of the dashboard (View > Dashboard). "%1", "%2" ... are filled
// in by the shell.
enum class DashText {
    Title,           // the window's title
    FullScreen,      // the tool bar's full-screen switch
    DarkLook,        // light figures on a dark ground
    LightLook,       // dark figures on a light ground
    Dial,            // engine speed as a round dial
    Bar,             // engine speed as a bar
    Readouts,        // the tool bar's menu of the readouts shown
    EngineSpeed,     // "Engine speed"
    Advance,         // "Advance"
    Throttle,        // "Throttle"
    Supply,          // "Supply voltage"
    Servo,           // "Exhaust servo"
    Lamps,           // "Lamps"
    RpmUnit,         // "rpm"
    ThousandRpm,     // the dial's scale: "×1000 rpm"
    Channel,         // "%1:" before a channel's advance
    Desired,         // the servo's desired voltage
    Measured,        // its measured voltage
    SensorError,     // the throttle sensor reads above 100 %
    PickupError,     // the advance cannot be trusted
    NotUsed,         // a channel the unit does not use
    ShiftLight,      // the lamps ...
    KillSwitch,      //
    ClutchMaster,    //
    Pickup1,         //
    Pickup2,         //
    EngineOff,       //
    StoredDataError, //
    VersionMismatch, //
    On,              // a lamp lit, for screen readers
    Off,             // a lamp dark
    NoLiveData,      // frames stopped: "No live data for a second"
    WaitingForData,  // no frame yet since the dashboard opened
    LiveData,        // the figures are live
    ShiftMark,       // the rpm scale's marks, for screen readers: "shift light %1 rpm"
    LimiterMark,     // "limiter %1 rpm"
    Count
};

const TextTable& TableOf(DashText);

} // namespace orna5
