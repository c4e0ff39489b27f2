#pragma once

#include "lang/TextTable.h"

namespace orna5 {

// What a screen reader says of a control whose caption alone would not name
// it: arrows, cells of a table, icon buttons, lists. "%1", "%2" ... are
// filled in by the shell.
enum class AccessText {
    Increase,           // "Increase %1" (the upper arrow of a spin)
    Decrease,           // "Decrease %1" (the lower arrow)
    InGroup,            // "%1, %2" (a control in a group: "Channel 1, Start advance")
    MapCell,            // "Advance at %1 rpm, %2 % throttle"
    MapCellValue,       // "%1: %2°" (a map cell and its value)
    MapColumn,          // "Advance at %1 rpm" (a whole column of the map)
    MapRpmPoint,        // "Map rpm point %1"
    ServoRpmPoint,      // "Servo rpm point %1"
    ServoMvPoint,       // "Servo voltage at rpm point %1 [mV]"
    Compensation,       // "Compensation %1"
    LobesPerRevolution, // "Lobes per revolution"
    ServoDown,          // "Lower the servo curve"
    ServoUp,            // "Raise the servo curve"
    Pages,              // "Pages" (the tab bar of the parameter pages)
    Tabs,               // "Tabs of %1" (a view's tab bar)
    MapTable,           // "Advance map"
    SetValue,           // "Value to set [°]"
    AddValue,           // "Degrees to add"
    ScaleValue,         // "Scale by [%]"
    TimeInCellTable,    // "Time in cell"
    Chart,              // "Chart: %1"
    LogCursor,          // "Position in the log"
    LogValues,          // "Values at the position"
    LogMap,             // "Map of the log"
    PlaybackPosition,   // "Playback position"
    Differences,        // "Differences"
    RestorePoints,      // "Restore points"
    RidesList,          // "Rides"
    PullList,           // "Pulls"
    PullDifferences,    // "Rise rate by rpm"
    PullMaps,           // "Map cells that differ"
    FirstPoint,         // "First rpm point"
    LastPoint,          // "Last rpm point"
    CloseNote,          // "Close the note" (the "×" of a note in the status bar)
    Count
};

// The screen-reader texts, for TextIn(AccessText, language).
const TextTable& TableOf(AccessText);

} // namespace orna5
