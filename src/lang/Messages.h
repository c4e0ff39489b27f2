#pragma once

#include "lang/TextTable.h"

namespace orna5 {

// The message texts the window and the tools show: status lines, message
// boxes and the words the live labels are built from. The core hands these
// ids around; only the shell turns them into text in the current language.
enum class Msg {
    ManualFileName,       // "manual_zentor_orna_5_en.pdf"
    ProgramError,         // "Program error!"
    VerifyError,          // "Verify error!"
    ReadError,            // "Read error!"
    ProgramDevice,        // "Program device:"
    Verify,               // "Verify:"
    Read,                 // "Read:"
    Saving,               // "Saving:"
    UnmatchedUnitVersion, // "Unmatched version of PC and Ignition programs!"
    Advance,              // "Advance"
    NumberOfProgramming,  // "Number of Programing= "
    MotorOff,             // "Motor off"
    Yes,                  // "YES"
    No,                   // "NO"
    ComOpeningError,      // "Com opening error!"
    OpenFileError,        // "Open file error!"
    ConfirmDefaults,      // "Do you want default setting?"
    UnmatchedFileVersion, // "Unmatched version of *.ign file!"
    PrintHeader,          // "Date and time of printing:  "
    ManualOpenError,      // "Error by opening file manual_zentor_orna_5_en.pdf !"
    PickupSystemError,    // "Pick up system error" padded to 40 characters
    PickupPrefix,         // "Pick-up (CKPS)"
    PickupRunning,        // "is running"
    PickupNoSignal,       // "no signal"
    ServoMeasured,        // "Servo measured="
    ServoDesired,         // "Servo desired="
    ShiftLight,           // "Gear Shift Light"
    ClutchMaster,         // "Clutch master"
    Input,                // "Input"
    KillSwitch,           // "Kill switch"
    Open,                 // "Open" (input not grounded)
    Grounded,             // "Grounded"
    NoConnection,         // "No connection with PC"
    PortDisappeared,      // "Port %1 has disappeared ..." (%1: the device)
    EmulatedUnit,         // "emulated unit"
    PortInUse,            // "Port: %1" (%1: the device, in the status bar)
    NotRegularFile,       // why a file was refused: a folder, FIFO or device
    FileTooLarge,         // why a file was refused: larger than %1, the limit of its kind
    PrintError,           // "Print error!"
    NoPrinterSavePdf,     // "No printer is installed. Save the printout as a PDF file?"
    PortNotPresent,       // "not present" (a Com item whose device is not there)
    PortNoPermission,     // "no permission: join the dialout group"
    FindUnit,             // "&Find unit" (Com menu)
    ScanProgress,         // "Looking for the unit: %1 (%2 of %3) ..." (device, number, count)
    UnitFoundOn,          // "Unit found on %1." (%1: "Com 3 (/dev/ttyUSB0)" or the device)
    NoUnitAnswered,       // "No unit answered. Devices tried: %1"
    NoSerialDevice,       // "No unit answered: no serial device is present."
    ScanStopped,          // "The search for the unit was stopped."
    DeviceBusy,           // "in use by another program"
    AdapterOn,            // "%1 on %2" (adapter description, device)
    AdapterPluggedIn,     // "Plugged in: %1"
    UseAdapter,           // "Use it"
    KeepingRestorePoint,  // status line while a Program waits for its backup to reach the disk
    RestorePointNotKept,  // status line: that backup could not be kept, nothing was written
    PermissionJoinGroup,  // "You may not use %1. Add your user to the group %2 ..."
    PermissionOwnerMode,  // "You may not use %1: owner %2, group %3, mode %4 ..."
    PrintedOnePage,       // "Printed 1 page on %1" (%1: the printer or the file)
    PrintedPages,         // "Printed %1 pages on %2" (%1: 2 to 4, %2: the printer or the file)
    Count
};

// The message table, for TextIn(Msg, language).
const TextTable& TableOf(Msg);

// What to do about a serial device the user may not open. A group made for
// devices (dialout, uucp, tty) is one to join; for any other the device's
// owner, group and mode are said, as joining, say, root is no advice.
std::string PermissionHint(const std::string& device, const std::string& owner,
                           const std::string& group, unsigned mode, int languageIndex);

} // namespace orna5
