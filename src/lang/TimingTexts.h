#pragma once

#include "lang/TextTable.h"

namespace orna5 {

// The texts of the timing-light check, its file and its place in the
// History view. "%1", "%2" ... are filled in by the caller.
enum class TimingText {
    Title,            // "Timing light check"
    RpmColumn,        // "rpm"
    StrobeColumn,     // "Strobe [°]"
    UnitColumn,       // "Unit %1 [°]"
    UnitFigureColumn, // "Unit [°]": the single figure
    MapColumn,        // "Map [°]"
    DifferenceColumn, // "Difference [°]": strobe − unit
    ComparedMark,     // "%1 ◂": the unit column the strobe is compared with
    CompareWith,      // "Compare the strobe with:"
    ChannelItem,      // "channel %1"
    FigureItem,       // "the unit's figure (largest channel)"
    AddPoint,         // "&Add point"
    RemovePoint,      // "&Remove point"
    Keep,             // "&Keep"
    Print,            // "&Print"
    Export,           // "&Export CSV…"
    ChartTitle,       // "Difference over engine speed"
    AxisRpm,          // "Engine speed [rpm]"
    AxisDifference,   // "Strobe − unit [°]"
    DriftLess,        // "the engine gets %1° less per 1000 rpm than the unit reports: ..."
    DriftMore,        // "... %1° more per 1000 rpm ..."
    OffsetLess,       // "the engine gets %1° less than the unit reports at every speed: ..."
    OffsetMore,       // "... %1° more ..."
    Agrees,           // "the engine gets what the unit reports (within 1°)"
    TooFew,           // "at least two strobe readings are needed"
    NotAnswering,     // the unit is silent: nothing taken
    NoRecentFrame,    // no live data in the last second: nothing taken
    Kept,             // "Check kept: %1"
    KeepFailed,       // "The check could not be kept in %1: %2 ..."
    ExportFailed,     // "%1 could not be written: %2"
    CsvFilter,        // "CSV files (*.csv)"
    Taken,            // "Taken at %1 rpm: unit %2°, map %3°"
    Unknown,          // "–": a value not taken
    LiveNow,          // "Now: %1 rpm, unit %2 (average of the last second)"
    NoLive,           // "No live data in the last second"
    BadRpm,           // "An engine speed is a whole number from 0 to %1 rpm."
    BadStrobe,        // "A strobe reading is a number of degrees from -90 to 90."
    UnkeptQuestion,   // closing with readings not kept
    Discard,          // "&Discard"
    // What the reader of a check's file found wrong.
    ReadNotACheck,  // "not a timing light check"
    ReadTooLarge,   // "larger than %1 KiB"
    ReadBadHeader,  // "line %1: a header line that cannot be read"
    ReadNoTime,     // "the date of the check is missing"
    ReadBadColumns, // "line %1: not the check's column line"
    ReadBadRow,     // "line %1: not a row of eight fields"
    ReadBadNumber,  // "line %1, column %2: not a number"
    ReadOutOfRange, // "line %1, column %2: outside its range"
    ReadTooMany,    // "more than %1 points"
    ReadBadText,    // "line %1: a character that is not text"
    ReadFailed,     // "%1 cannot be read: %2"
    // The History view.
    HistoryHeading, // "Timing light checks"
    HistoryDate,    // "Date"
    HistoryUnit,    // "Unit"
    HistoryTune,    // "Tune"
    HistoryVerdict, // "Verdict"
    HistoryOpen,    // "Open check"
    HistoryPrint,   // "Print check"
    HistoryExport,  // "Export check…"
    HistoryDelete,  // "Delete check…"
    ConfirmDelete,  // "Delete the timing light check of %1?"
    DeleteFailed,   // "%1 could not be deleted: %2"
    Damaged,        // "cannot be read: %1"
    PointsName,     // screen reader: "Timing light points"
    ChecksName,     // screen reader: "Timing light checks"
    // A data log playing through the window: its frames are not the unit's.
    PlayingRefused, // "A data log is playing: ..."
    PlayingLive,    // "A data log is playing: no live data of the unit"
    Count
};

const TextTable& TableOf(TimingText);

} // namespace orna5
