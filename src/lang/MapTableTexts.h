#pragma once

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
    Count
};

// The text in a language (0..3; anything else reads as English). UTF-8.
const char* MapTableText(MapText id, int languageIndex);

} // namespace orna5
