#pragma once

#include "device/DeviceSession.h"
#include "device/RestoreRule.h"
#include "device/SerialLink.h"
#include "params/ParameterImage.h"

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace orna5::cli {

// Opens the --port argument (a device, COM1..COM21 or auto); prints the
// system's message and reason on failure.
bool OpenPort(const std::string& value, SerialLink& link);

// A pulled adapter shows as a silent unit; say once why it went quiet.
void TellIfLost(const SerialLink& link, bool& told);

enum class RunState { Running, Succeeded, Failed };

// Where status lines go (failures to `err`), and the last one shown, so a
// line is not repeated when one run of ticks follows another.
struct Progress {
    std::ostream* out;
    std::ostream* err;
    std::string lastStatus;
};

// Runs the 55 ms tick on a timer, as the window does, until `judge` decides
// (tickLimit 0: no limit). Every new status line goes to `progress`, errors
// to stderr. The application object exists before the port is opened (main
// makes it), so the port's notifiers work.
RunState RunTicks(DeviceSession& session, int tickLimit,
                  const std::function<RunState(const TickResult&)>& judge,
                  const std::function<void(const TickResult&)>& onTick, Progress& progress);

// Runs one operation to its end on a session whose link is open.
RunState RunOperationOn(DeviceSession& session, SerialLink& link, Operation operation,
                        Progress& progress,
                        const std::function<void(const TickResult&)>& onTick = {},
                        DeviceSession::BackupRead backup = DeviceSession::BackupRead::AsSet);

// One command's exchanges with the unit: one port, one session, operations
// one after another, each keeping the restore points PointsToKeep asks for,
// as the window does.
class UnitExchange {
public:
    explicit UnitExchange(ParameterImage& image);
    ~UnitExchange();
    UnitExchange(const UnitExchange&) = delete;
    UnitExchange& operator=(const UnitExchange&) = delete;

    bool Open(const std::string& port);

    // Runs one operation to its end; true when it passed.
    bool Run(Operation operation,
             DeviceSession::BackupRead backup = DeviceSession::BackupRead::AsSet);
    // How the last operation ended; nothing when the tool gave up waiting.
    std::optional<Outcome> LastOutcome() const { return lastOutcome; }

    // The parameter file the points of this command name.
    std::string sourcePath;
    // Called once the `before program` point is on disk, before the Program
    // writes anything: the command may build the image to program over what
    // the unit held.
    std::function<void(const ParameterImage& unitHeld)> onBackupKept;
    // A Read's point is handed out here instead of kept, for a caller that
    // must first know whether its output was written.
    bool holdReadPoint = false;
    std::optional<PointToKeep> heldReadPoint;

    // Why the `before program` point could not be kept (the Program then
    // wrote nothing); empty when it was, or none was asked for.
    const std::string& BackupFailure() const { return backupFailure; }
    // The `before program` point is on disk, so the Program may have written.
    bool BackupKept() const { return backupKept; }
    // The points of passed operations that could not be kept, one line each.
    const std::vector<std::string>& PointFailures() const { return pointFailures; }

    // Keeps a point of the unit with its information block; false, said on
    // stderr, when it could not be kept.
    bool Keep(const PointToKeep& point, const std::string& source, std::string* reason = nullptr);

    // Where the status lines of the next operations go.
    void SetOutput(std::ostream& out, std::ostream& err) {
        progress.out = &out;
        progress.err = &err;
        progress.lastStatus.clear();
    }

    DeviceSession& Session() { return session; }
    void Close() { link.Close(); }

private:
    void OnTick(const TickResult& result);

    SerialLink link;
    DeviceSession session;
    Progress progress;
    std::optional<Outcome> lastOutcome;
    std::string backupFailure;
    bool backupKept = false;
    std::vector<std::string> pointFailures;
};

// After "Verify error!": every byte in which the unit differs, one line each
// as the window's list names it (DifferenceLine).
void PrintVerifyDifferences(std::ostream& out, const std::vector<ParameterDifference>& found);

// A parameter file's text read over the unit's own 200 bytes and normalised:
// what programming the file means for this unit. The unit keeps what the
// file cannot carry: its reserved bytes and, where the file says a flag is
// on, its own "on" value (a file writes any non-zero flag as 1). False when
// the text is not a parameter file.
bool FileOverUnit(const std::string& text, const ParameterImage& unitBytes, ParameterImage& out);

} // namespace orna5::cli
