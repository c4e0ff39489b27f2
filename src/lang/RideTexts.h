#pragma once

#include "lang/TextTable.h"

namespace orna5 {

// The texts of the log viewer's Pulls tab, the rides that record themselves
// and the Rides view. "%1", "%2" ... are filled in by the shell.
enum class RideText {
    ChartTab,         // the log viewer's first tab: the log over time
    PullsTab,         // its tab of the pulls compared
    GearLabel,        // "Gear:"
    AllGears,         // the gear chooser's first entry
    AddLog,           // the button that adds a log to the comparison
    CompareMap,       // opens the compare list over a log's map
    RateAxis,         // "Rise rate [rpm/s]"
    RpmRow,           // "%1 rpm"
    MeanColumn,       // "Log 1 [rpm/s]"
    WithinLegend,     // what the mark in the difference table means
    PullsHeading,     // the pull list's top item: "Log %1: %2 pulls"
    RidesTitle,       // the Rides view's title
    DateColumn,       // "Date"
    LengthColumn,     // "Length"
    TuneColumn,       // "Tune"
    PullsColumn,      // "Pulls"
    NoteColumn,       // "Note"
    OpenRide,         // opens the chosen ride in the log viewer
    AddRide,          // adds it to the open log viewer's Pulls tab
    DeleteRide,       // deletes it (asks first)
    DeleteQuestion,   // "Delete the ride %1 and its note?"
    DeleteFailed,     // "%1 could not be deleted."
    NoteFailed,       // "The note could not be written to %1: %2"
    RidesFolder,      // "%1 rides in %2"
    RideWriteError,   // "The ride could not be written to %1; its recording has stopped."
    RideSaved,        // "Ride saved: %1"
    RideRecording,    // the status bar's label while a ride records: "Ride: %1 rows"
    PullsFull,        // "The Pulls tab compares %1 logs at most; %2 was not added."
    AlreadyCompared,  // "%1 is in the pull comparison already."
    AllLeftOut,       // the note of a log whose every pull was unticked
    AllInGearLeftOut, // "every pull in gear %1 left out"
    Count
};

const TextTable& TableOf(RideText);

} // namespace orna5
