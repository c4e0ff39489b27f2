#pragma once

#include "lang/TextTable.h"

namespace orna5 {

// The texts of the pulls found in data logs and their comparison. "%1",
// "%2" ... are filled in by the shell.
enum class PullText {
    LogHeading,    // "Log %1: %2" (its place, its file)
    TuneLine,      // "Tune: %1"
    PullColumn,    // "Pull"
    StartColumn,   // "Start"
    RpmColumn,     // "rpm"
    SecondsColumn, // "Time [s]"
    GearColumn,    // "Gear"
    RateTitle,     // the rate table's title: mean of the pulls and their band
    LogColumn,     // "Log %1"
    VersusColumn,  // "Log %1 vs 1"
    WithinBands,   // the difference is no larger than the pulls' spread
    BeyondBands,   // it is larger
    SameMap,       // "Log %1 ran on the same map as log 1."
    OtherMap,      // "Log %1 ran on another map than log 1; ..." (the cells follow)
    MapNotKnown,   // one of the two logs names no map
    SeveralMaps,   // "The pulls of log %1 ran on more than one map; ..."
    NoPull,        // no pull at or above %1 % throttle
    NoPullInGear,  // no pull in gear %1
    Count
};

// The pull texts, for TextIn(PullText, language).
const TextTable& TableOf(PullText);

} // namespace orna5
