#pragma once

#include "device/DeviceFrame.h"
#include "device/MonitorPanel.h"
#include "device/OperationOutcome.h"
#include "device/StatusDisplay.h"
#include "device/UnitInfoBlock.h"
#include "params/LivePosition.h"
#include "params/ParameterImage.h"
#include "params/ParameterReport.h"

#include <array>
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
    // What the unit held before this Program, its 200 bytes exactly as sent,
    // read in full just now and never put into the image: the shell keeps it
    // as a `before program` restore point. Nothing is written to the unit
    // until the shell answers with BackupKept() (or BackupNotKept()).
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

    // How often the idle unit is polled. Standard: every 6 ticks, as the unit
    // has always been polled. Fast: the next poll goes out as soon as the
    // answer to the last one is in (DataArrived), never with two polls
    // unanswered; a poll that stays unanswered for 6 ticks is given up and
    // sent again, so a silent unit is polled no faster than at Standard.
    enum class PollRate { Standard, Fast };
    void SetPollRate(PollRate rate) { pollRate = rate; }
    PollRate Rate() const { return pollRate; }
    // Bytes have come in between ticks. At the Fast rate an idle session
    // takes a whole live-data frame now and sends the next poll; the result
    // says of the frame what a tick would. Otherwise it does nothing and the
    // next tick reads.
    TickResult DataArrived();
    // A poll is out and unanswered.
    bool PollOutstanding() const { return pollOutstanding; }

    // While paused the idle poll is not sent and the link is neither read
    // nor written unless an operation runs: a recorded log plays instead,
    // and the connection indicator stays as it was.
    // Resuming drops a played frame not taken yet, and, with no operation
    // running, whatever the unit sent during the pause: an answer that
    // waited there tells how the engine ran then, not now.
    // A pause is a break in the unit's answers: whatever is plugged in when
    // polling resumes must prove itself again before a Program skips its
    // backup read.
    void PausePolling(bool paused);
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
    // Whether this Program reads the unit first: as SetBackupBeforeProgram
    // says (and only when the unit is not known); never, once the user chose
    // to program although the restore point could not be kept; or always, for
    // a restore, which must keep what the unit holds now whatever is known.
    enum class BackupRead { AsSet, Never, Always };
    void StartProgramming(BackupRead backup = BackupRead::AsSet);
    void StartVerify();
    void StartRead();

    // The shell's answer to TickResult::backup: the `before program` point
    // is on disk, so the Program may write the unit; or it could not be
    // kept, and the Program ends in BackupNotKept at the next tick with the
    // unit untouched. Ignored unless a Program waits for it.
    void BackupKept();
    void BackupNotKept();
    // A Program waits for the shell to keep its backup.
    bool WaitingForBackup() const { return waitingForBackup; }

    // Off at creation: Program works as it always has.
    void SetBackupBeforeProgram(bool on) { backupBeforeProgram = on; }
    bool BackupBeforeProgram() const { return backupBeforeProgram; }
    // The unit's content is known, so a Program may skip its backup read,
    // only when all hold: the last Read, Verify or Program passed and the
    // shell confirmed (PointKept) that its restore point is on disk; the unit
    // has answered without a break since (a pause, a new link or port, a
    // failed operation or kUnknownAfterSilentTicks without an answer); and
    // the information block the unit sends when the Program begins is the one
    // seen when it was proven. Another block turns the Program into a backup
    // read first.
    bool UnitKnown() const { return unitKnown; }
    // The shell's word that the restore point of the operation that just
    // passed is on disk. Without it the unit stays unknown.
    void PointKept();
    // The shell opened the port (perhaps to another unit), or found it anew.
    void PortOpened() { Forget(); }

    // After an operation that ended in VerifyError with the unit answering:
    // every byte where what the unit sent (left) differs from the image
    // (right). After the first page that differs the other page is read as
    // well, so both are listed; a page the unit never sent (see
    // VerifyPagesSeen) is not compared. Reserved bytes are listed; the byte
    // the Verify leaves out and the bytes that never travel are not.
    const std::vector<ParameterDifference>& VerifyDifferences() const { return verifyDifferences; }
    // What the unit sent in that Verify, a page it never sent taken from the
    // image (see VerifyPagesSeen).
    const ParameterImage& VerifyUnitImage() const { return verifySeen; }
    // Which of pages 1 and 2 the unit sent in that Verify.
    std::array<bool, 2> VerifyPagesSeen() const { return verifyPagesSeen; }
    // The 200 bytes exactly as the unit sent them in the last Read (before
    // normalising) or the last Verify that passed (the closing Verify of a
    // Program included); bytes 200..206 are zero. This is what a restore
    // point of the unit keeps.
    const ParameterImage& UnitBytes() const { return unitBytes; }
    // The unit's information block as its last page-0 answer carried it.
    const UnitInfoBlock& UnitInfo() const { return unitInfo; }

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

    // Ticks since the unit last sent a frame (counting stops at
    // kUnknownAfterSilentTicks): a shell that says "No connection" once per
    // silence waits for kNoConnectionTicks of them, so it says nothing
    // before the first poll had its time.
    std::uint8_t SilentTicks() const { return silentTicks; }
    static constexpr std::uint8_t kNoConnectionTicks = 18;
    // Without an answer for this long the unit may have been swapped.
    static constexpr std::uint8_t kUnknownAfterSilentTicks = 37; // about 2 s

private:
    void Forget();
    void SendPoll();
    void Start(Operation op, std::uint8_t command, BackupRead backup = BackupRead::AsSet);
    // True when a frame of the unit was accepted.
    bool ReceivePending(TickResult& result);
    void RecordVerifyPage(const std::uint8_t* payload, std::size_t first);
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
    bool backupPhase = false;      // a Program's backup read runs
    bool waitingForBackup = false; // its copy is out; nothing written until kept
    bool backupRefused = false;    // the shell could not keep it: end at the next tick
    bool verifyTail = false;       // a failed Verify reads the page it did not reach
    bool checkUnitOnPageZero = false;
    bool unitKnown = false;
    // A passed operation waits for PointKept(); `provenInfo` is the block the
    // unit sent when it was proven, `infoSeen` whether one came since a break.
    bool provenPending = false;
    bool infoSeen = false;
    UnitInfoBlock provenInfo{};
    std::uint8_t silentTicks = 0;
    bool pollingPaused = false;
    PollRate pollRate = PollRate::Standard;
    bool pollOutstanding = false;
    bool sending = false; // a poll is being written
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
    ParameterImage verifyRaw{};
    std::array<bool, 2> verifyPagesSeen{};
    ParameterImage unitBytes{};
    std::vector<ParameterDifference> verifyDifferences;
    std::vector<std::uint8_t> rxBuffer;

    UnitInfoBlock unitInfo{};
    UnitInfoTexts unitTexts;
    StatusDisplay display;
    MonitorPanel panel;
    DeviceFrame lastMonitorFrame{};
};

} // namespace orna5
