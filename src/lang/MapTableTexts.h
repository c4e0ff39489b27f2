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
    RpmNotOn100,   // a new rpm point is not a whole hundred
    RpmOutOfRange, // a new rpm point lies outside 300..20000 rpm
    RpmNotRising,  // the new rpm points do not rise
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
