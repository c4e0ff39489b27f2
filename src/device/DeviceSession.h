#pragma once

#include "device/DeviceFrame.h"
#include "device/MonitorPanel.h"
#include "device/OperationOutcome.h"
#include "device/StatusDisplay.h"
#include "device/UnitInfoBlock.h"
#include "params/LivePosition.h"
#include "params/ParameterImage.h"
#include "params/ParameterReport.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace orna5 {

class Link;

// What the shell must do after a tick.
struct TickResult {
    // The image was changed or must be shown again (Program page 0, end of a
    // Read, version mismatch): run CopyImageToControls.
    bool imageChanged = false;
    bool monitorFrame = false; // a MonitorFrame was accepted in this tick
    bool answerFrame = false;  // an answer to the running operation was accepted
    // The operation ended in this tick. On VersionMismatch the shell shows
    // the modal message VersionMismatchLabel(UnitVersion()) in the current
    // language. An operation replaced by a new start never ends.
    std::optional<OperationOutcome> ended;
    // What the unit held before this Program, read in full just now and
    // never put into the image: the shell keeps it as a `before program`
    // restore point. The Program goes on by itself.
    std::optional<ParameterImage> backup;
};

// The Read, Program and Verify exchanges with the unit, the idle poll and the
// live panel, advanced by one Tick() per 55 ms; each tick also moves the
// status display. The session works on the window's image; it never waits
// except inside Link::Write.
//
// The shell's part of a start: before StartProgramming (from the Program
// command) and StartVerify it copies the controls into the image, normalises
// and shows it; StartProgramming from "Programming after change", undo and
// redo takes the image as it is; before StartRead it empties the file name
// label.
class DeviceSession {
public:
    explicit DeviceSession(ParameterImage& image);

    // The byte pipe to the unit; null means no port (the unit stays silent).
    void SetLink(Link* link);

    // One 55 ms tick: receive, advance the operation or poll, count down the
    // status display and the connection indicator.
    TickResult Tick();

    // While paused the idle poll is not sent and the link is neither read
    // nor written unless an operation runs: a recorded log plays instead,
    // and the connection indicator stays as it was.
    // Resuming drops a played frame not taken yet.
    void PausePolling(bool paused) {
        pollingPaused = paused;
        if (!paused)
            playedFrame.reset();
    }
    bool PollingPaused() const { return pollingPaused; }
    // A live-data frame the next tick takes as if the unit had sent it (a
    // recorded row played back): it moves the panel and the live position
    // and makes a monitor frame of the tick, but says nothing about the unit.
    void PlayFrame(const DeviceFrame& frame) { playedFrame = frame; }

    // Starting never sends at once, and replaces a running operation.
    // With the backup read on, a Program of a unit whose content the session
    // does not know first reads pages 0, 1 and 2 into a copy (handed out in
    // TickResult::backup); a failed backup read ends the Program before
    // anything is written.
    void StartProgramming();
    void StartVerify();
    void StartRead();

    // Off at creation: Program works as it always has.
    void SetBackupBeforeProgram(bool on) { backupBeforeProgram = on; }
    bool BackupBeforeProgram() const { return backupBeforeProgram; }
    // Whether a Read, Verify or Program has passed since the port was opened
    // and the unit has not gone silent since: then the history already
    // holds what the unit has.
    bool UnitKnown() const { return unitKnown; }
    // The shell opened the port (perhaps to another unit).
    void PortOpened() { unitKnown = false; }

    // After an operation that ended in VerifyError with the unit answering:
    // the parameters where what the unit sent last (left) differs from the
    // image (right); empty otherwise. A page the unit never sent counts as
    // equal, and so does the reserved byte the Verify leaves out.
    const std::vector<ParameterDifference>& VerifyDifferences() const { return verifyDifferences; }
    // What the unit sent last in that Verify, the rest from the image.
    const ParameterImage& VerifyUnitImage() const { return verifySeen; }

    // The status line, gauge and connection indicator; the shell adds the
    // print header and the printing flag.
    StatusDisplay& Display() { return display; }
    const StatusDisplay& Display() const { return display; }
    bool NoConnectionVisible() const { return display.NoConnectionVisible(); } // LabelSpojeni

    // The running phase: a Read or Program shows Verify during its closing Verify.
    Operation CurrentOperation() const { return operation; }
    std::uint8_t CurrentCommand() const { return currentCommand; }
    std::uint8_t SendAttempts() const { return sendAttempts; }

    const UnitInfoTexts& UnitTexts() const { return unitTexts; } // LabelVerze1..3
    int UnitVersion() const { return unitInfo[unitInfo::protocolVersion]; }

    // The live panel; Panel().versionVisible already includes the rule that
    // the version warning hides while "No Connection" shows.
    const MonitorPanel& Panel() const { return panel; }
    const LiveValues& Values() const { return panel.live; }
    // The last accepted live-data frame as it came (all zero before the
    // first), for a data log that keeps the fields the panel does not.
    const DeviceFrame& LastMonitorFrame() const { return lastMonitorFrame; }

    // Where the live engine speed and throttle sit on the image's axes.
    LivePosition Live(bool tpsRowsUsed) const;

private:
    void Start(Operation op, std::uint8_t command);
    void ReceivePending(TickResult& result);
    void HandleAnswerFrame(const std::uint8_t* frame, TickResult& result);
    void Advance(TickResult& result);
    void StartClosingVerify();
    void BeginVerifyRecord();
    void End(Outcome outcome, TickResult& result);
    void VersionMismatch(TickResult& result);
    void SendCurrent();

    ParameterImage& image;
    Link* link = nullptr;

    Operation operation = Operation::Idle;
    Operation started = Operation::Idle; // what operation will report on its end
    bool backupBeforeProgram = false;
    bool backupPhase = false; // a Program's backup read runs
    bool unitKnown = false;
    bool pollingPaused = false;
    std::optional<DeviceFrame> playedFrame;
    std::uint8_t currentCommand = 0;
    std::uint8_t currentPage = 0;
    std::uint8_t ticksSinceSend = 0;
    std::uint8_t sendAttempts = 0;
    std::uint8_t noAnswerTicks = 18;

    // Pages of a Read, held back until the whole Read has arrived so that a
    // failed Read leaves the image alone.
    ParameterImage readBuffer{};
    ParameterImage backupBuffer{};
    // The pages the unit sent in the running or last Verify, over the image.
    ParameterImage verifySeen{};
    bool verifyAnswered = false;
    std::vector<ParameterDifference> verifyDifferences;
    std::vector<std::uint8_t> rxBuffer;

    UnitInfoBlock unitInfo{};
    UnitInfoTexts unitTexts;
    StatusDisplay display;
    MonitorPanel panel;
    DeviceFrame lastMonitorFrame{};
};

} // namespace orna5
