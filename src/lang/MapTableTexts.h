#pragma once

#include "lang/TextTable.h"

namespace orna5 {

// The texts of the map table window, in the four interface languages.
enum class MapText {
    Title,           // "Map table"
    Set,             // "Set"
    Add,             // "Add"
    Scale,           // "Scale"
    Interpolate,     // "Interpolate:"
    AcrossRows,      // "Across rows"
    AcrossColumns,   // "Across columns"
    FromCorners,     // "From corners"
    Smooth,          // "Smooth"
    Copy,            // "Copy"
    Paste,           // "Paste"
    Clipped,         // a value was kept within 0..60
    PasteNotNumbers, // the clipboard holds no block of numbers
    PasteTooLarge,   // the numbers reach outside the map
    HintSet,
    HintAdd,
    HintScale,
    HintAcrossRows,
    HintAcrossColumns,
    HintFromCorners,
    HintSmooth,
    HintTable,
    RpmNotOn100,    // a new rpm point is not a whole hundred
    RpmOutOfRange,  // a new rpm point lies outside 300..20000 rpm
    RpmNotRising,   // the new rpm points do not rise
    ChangeRpmAxis,  // "Change rpm axis…"
    ChangeServoRpm, // "Change servo rpm points…"
    TenPoints,      // type all ten points
    SpreadPoints,   // a first and a last point, the others spread
    FirstPoint,     // "First:"
    LastPoint,      // "Last:"
    RpmAxisNote,    // what a new map axis does to the curves
    ServoRpmNote,   // the same for the servo curve
    ServoClipped,   // a servo value was kept within its range
    HintChangeRpmAxis,
    HintChangeServoRpm,
    MapTab,        // "Map"
    TimeInCellTab, // "Time in cell"
    ResetTime,     // "Reset"
    CellTime,      // tooltip: "%1 s at %2 rpm, %3\nAdvance %4°"
    TimeTotal,     // "Counted: %1 s"
    HintTimeInCell,
    HintResetTime,
    Count
};

// The map table's texts, for TextIn(MapText, language).
const TextTable& TableOf(MapText);

} // namespace orna5
