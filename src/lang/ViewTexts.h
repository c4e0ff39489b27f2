#pragma once

#include "lang/TextTable.h"

#include <string>

namespace orna5 {

// The texts of the views beyond the form (advance curves, data log, the
// comparison with a file). "%1", "%2" ... are filled in by the shell.
enum class ViewText {
    CurvesTitle,        // "Advance curves"
    AdvanceTab,         // "Advance"
    ServoTab,           // "Servo"
    AxisRpm,            // "Engine speed [rpm]"
    AxisAdvance,        // "Advance [°]"
    AxisServo,          // "Servo [mV]"
    LivePoint,          // "Engine"
    LivePointLabel,     // "%1 rpm, %2"
    LogTitle,           // "Data log: %1"
    AxisTime,           // "Time [s]"
    SeriesThrottle,     // "Throttle [%]"
    SeriesSupply,       // "Supply [V]"
    SeriesAdvance,      // "Advance %1 [°]"
    AxisPercentDegree,  // "Throttle [%], advance [°]"
    LogUnit,            // "Unit: %1"
    LogParameterFile,   // "Parameter file: %1"
    NotKnown,           // "not known"
    NoFile,             // "none"
    LogSkipped,         // "%1 lines could not be read."
    NotALog,            // "This file is not a data log."
    LogEmpty,           // "The data log has no rows."
    LogFilter,          // "Data logs (*.csv)"
    AllFilesFilter,     // "All files (*)"
    ParameterFilter,    // "Parameter files (*.ign)"
    Recording,          // "Data log %1, %2 rows: %3"
    LogStoppedPortLost, // "The port has gone; the data log is closed: %1"
    LogSaved,           // "Data log saved: %1"
    LogWriteError,      // "The data log could not be written: %1"
    MapCellInUse,       // "Map cell in use"
    ValueColumn,        // "Value"
    CompareTitle,       // "Compare with %1"
    ParameterColumn,    // "Parameter"
    WindowColumn,       // "Window"
    FileColumn,         // "File"
    DifferenceCount,    // "%1 parameters differ from the file."
    NoDifference,       // "No parameter differs from the file."
    ReservedPage,       // "Reserved"
    LogWithoutMap,      // "The data log does not say which map the unit ran on."
    QuantityColumn,     // "Quantity"
    LogTime,            // "Time"
    LogThrottleSensor,  // "Throttle sensor [mV]"
    LogServoDesired,    // "Servo desired [mV]"
    LogServoMeasured,   // "Servo measured [mV]"
    LogProgrammings,    // "Number of programmings"
    LogKillSwitch,      // "Kill switch"
    LogClutchMaster,    // "Clutch master"
    LogShiftLight,      // "Gear Shift Light"
    LogPickup,          // "Pick-up (CKPS) %1"
    LogInputGrounded,   // "Input %1 grounded"
    LogEngineOff,       // "Motor off"
    LogSavingCount,     // "Saving count"
    LogStoredDataError, // "Programmed data error"
    LogProtocol,        // "Protocol"
    Map3DTitle,         // "Map in 3D"
    ResetView,          // "Reset view"
    NeedsOpenGL,        // the 3D view cannot open without OpenGL
    // The history of restore points and the comparisons it offers.
    HistoryTitle,         // "History"
    KindColumn,           // "Kind"
    UnitColumn,           // "Unit"
    KindRead,             // "read"
    KindBeforeProgram,    // "before program"
    KindProgrammed,       // "programmed"
    KindOpened,           // "opened"
    KindSaved,            // "saved"
    KindVerified,         // "verified"
    LiveRate,             // "Live data %1/s" (live-data frames in the last second)
    TuneColumn,           // "Tune" (the checksum of the 200 bytes)
    HistoryCompare,       // "&Compare with the window"
    HistoryOpen,          // "&Open into the window"
    HistorySave,          // "&Save as..."
    HistoryDelete,        // "&Delete"
    HistoryVerify,        // "What the last &Verify found"
    HistoryCount,         // "Restore points: %1"
    HistoryNone,          // "No restore point has been kept yet."
    HistoryDamaged,       // "Damaged restore points left out: %1."
    HistoryUnreadable,    // "The history cannot be read: %1"
    ConfirmDeletePoint,   // "Delete the restore point of %1?"
    PointNotDeleted,      // "The restore point could not be deleted: %1"
    PointNotKept,         // "The restore point could not be kept: %1"
    PointName,            // "the restore point of %1" (its time and kind)
    PointColumn,          // "Restore point"
    PointDifferenceCount, // "%1 parameters differ from the restore point."
    PointNoDifference,    // "No parameter differs from the restore point."
    UnitCompareTitle,     // "Verify: what differs in the unit"
    UnitDifferenceCount,  // "%1 parameters in the unit differ from this window."
    UnitNoDifference,     // "No parameter in the unit differs from this window."
    PlaybackTitle,        // "Play data log: %1"
    Play,                 // "Play"
    Pause,                // "Pause"
    Speed,                // "Speed:"
    PlayingStatus,        // "Playing data log %1: %2 of %3"
    LogMapDiffers,        // the log's map is not the window's
    CompareMaps,          // "Compare"
    LogPosition,          // "%1 of %2"
    TakeIntoWindow,       // "&Take into window": the chosen compared values into the form
    // A restore point programmed back into the unit, and a Program whose
    // restore point could not be kept.
    HistoryRestore,        // "&Restore to unit"
    ConfirmRestore,        // "Restore point %1 will be programmed into the unit. ..."
    Restored,              // "Restore point %1 is in the unit again."
    NotRestored,           // "Restore point %1 was not restored: %2." (%2: one of the steps below)
    StepBackupNotKept,     // "the restore point of the unit could not be kept"
    StepProgramFailed,     // "programming failed"
    StepVerifyDiffers,     // "the verify found differences"
    StepNoAnswer,          // "the unit did not answer"
    StepOtherVersion,      // "another unit version"
    StepReplaced,          // "another operation was started instead"
    ProgramAnywayQuestion, // "The restore point of what the unit holds could not be kept: %1 ..."
    ProgramAnyway,         // "&Program anyway"
    PageNotRead,           // "The unit did not send its page %1 (bytes %2): it is not compared."
    Count
};

// The view texts, for TextIn(ViewText, language).
const TextTable& TableOf(ViewText);

// A parameter's name template ("Channel %1 start advance lobe", as the
// parameter list gives it in English) in a language; a template without a
// translation, and every template in English, comes back as it is. The same
// for the values "yes" and "no".
std::string ParameterNameIn(const std::string& englishTemplate, int languageIndex);

} // namespace orna5
