#include "device/DeviceSession.h"

#include "device/Link.h"
#include "device/MarkLivePosition.h"
#include "params/MonitorFrame.h"
#include "params/NormaliseImage.h"

#include <algorithm>

namespace orna5 {

namespace {

constexpr std::uint8_t kAnswerTimeoutTicks = 4;
constexpr std::uint8_t kMaxSends = 5;
constexpr std::uint8_t kPollTicks = 6;
constexpr std::uint8_t kNoConnectionTicks = DeviceSession::kNoConnectionTicks;
constexpr std::size_t kReceiveBufferSize = 10000;
constexpr std::size_t kReservedImageByte = field::reserved1;

Outcome ErrorOf(Operation phase) {
    switch (phase) {
    case Operation::Read:
        return Outcome::ReadError;
    case Operation::Verify:
        return Outcome::VerifyError;
    default:
        return Outcome::ProgramError;
    }
}

} // namespace

DeviceSession::DeviceSession(ParameterImage& image) : image(image), rxBuffer(kReceiveBufferSize) {}

void DeviceSession::SetLink(Link* newLink) {
    if (newLink != link) {
        Forget();
    }
    link = newLink;
}

void DeviceSession::Forget() {
    unitKnown = false;
    provenPending = false;
    infoSeen = false;
}

void DeviceSession::PausePolling(bool paused) {
    const bool resumed = pollingPaused && !paused;
    pollingPaused = paused;
    if (paused) {
        Forget();
        return;
    }
    playedFrame.reset();
    if (resumed && operation == Operation::Idle && link != nullptr) {
        // What is queued now, no more: a line that keeps streaming cannot
        // hold the resume up.
        for (std::size_t left = link->BytesQueued(); left > 0;) {
            const std::size_t got = link->Read(rxBuffer.data(), std::min(left, rxBuffer.size()));
            if (got == 0)
                break;
            left -= std::min(got, left);
        }
        // The poll out before the pause was answered, or is lost.
        pollOutstanding = false;
    }
}

void DeviceSession::StartProgramming(BackupRead backup) {
    Start(Operation::Program, ProgramCommand, backup);
}
void DeviceSession::StartVerify() {
    Start(Operation::Verify, VerifyCommand);
}
void DeviceSession::StartRead() {
    Start(Operation::Read, ReadCommand);
}

void DeviceSession::Start(Operation op, std::uint8_t command, BackupRead backup) {
    const bool backupWanted =
        op == Operation::Program &&
        (backup == BackupRead::Always || (backup == BackupRead::AsSet && backupBeforeProgram));
    backupPhase = backupWanted && (!unitKnown || backup == BackupRead::Always);
    // Skipped only because the unit is known: its page-0 answer must show
    // the same unit, else the backup read comes after all.
    checkUnitOnPageZero = backupWanted && !backupPhase;
    waitingForBackup = false;
    backupRefused = false;
    verifyTail = false;
    // Until this operation passes and its point is kept, the unit is not
    // known: a Program may leave it half written.
    unitKnown = false;
    provenPending = false;
    operation = op;
    started = op;
    currentCommand = backupPhase ? ReadCommand : command;
    sendAttempts = 0;
    if (op == Operation::Verify) {
        BeginVerifyRecord();
    }
    display.OperationStarted(op);
}

void DeviceSession::BeginVerifyRecord() {
    verifySeen = image;
    verifyRaw = ParameterImage{};
    verifyPagesSeen = {false, false};
}

void DeviceSession::BackupKept() {
    if (!waitingForBackup) {
        return;
    }
    waitingForBackup = false;
    currentCommand = ProgramCommand;
    // The next tick sends page 0, as a start would.
    sendAttempts = 0;
    ticksSinceSend = kAnswerTimeoutTicks - 1;
    display.OperationStarted(Operation::Program);
}

void DeviceSession::BackupNotKept() {
    if (waitingForBackup) {
        backupRefused = true;
    }
}

void DeviceSession::PointKept() {
    if (provenPending && infoSeen) {
        unitKnown = true;
    }
    provenPending = false;
}

TickResult DeviceSession::Tick() {
    TickResult result;
    bool unitAnswered = false;
    if (playedFrame) {
        if (HandleMonitorFrame(playedFrame->data(), image, panel)) {
            lastMonitorFrame = *playedFrame;
            result.monitorFrame = true;
        }
        playedFrame.reset();
    }
    const bool linkIdle = pollingPaused && operation == Operation::Idle;
    if (!linkIdle) {
        // A played row says nothing about the unit; only what came in does.
        unitAnswered = ReceivePending(result);
    }

    const Operation running = operation;
    if (backupRefused) {
        backupRefused = false;
        waitingForBackup = false;
        End(Outcome::BackupNotKept, result);
        display.BackupNotKept();
    } else if (waitingForBackup) {
        // Nothing is sent for the Program until the shell has kept the copy;
        // the polls below keep the connection indicator true meanwhile.
    } else if (running != Operation::Idle) {
        ++ticksSinceSend;
        if (ticksSinceSend >= kAnswerTimeoutTicks) {
            ticksSinceSend = 0;
            ++sendAttempts;
            if (sendAttempts <= kMaxSends) {
                SendCurrent();
            } else if (running == Operation::Verify && !verifyTail && verifyPagesSeen[0] &&
                       !verifyPagesSeen[1]) {
                // Page 1 differs: read page 2 too, so every difference is listed.
                verifyTail = true;
                currentCommand = ReadCommand + 2;
                sendAttempts = 1;
                SendCurrent();
            } else {
                // A unit heard from in the wait is there but refuses; one
                // silent all along is not connected.
                // A Verify that already found page 1 different failed,
                // whether or not page 2 could be read after it.
                End(noAnswerTicks < kNoConnectionTicks || verifyTail ? ErrorOf(running)
                                                                     : Outcome::NoConnection,
                    result);
                display.GaveUp(running);
            }
        }
    }

    if ((operation == Operation::Idle || waitingForBackup) && !pollingPaused) {
        ++ticksSinceSend;
        // At the Fast rate a poll whose answer is in goes out now (after an
        // operation, or when the answer came with the tick's read); one still
        // unanswered waits for the Standard pace, then counts as lost.
        const bool fastDue = pollRate == PollRate::Fast && !pollOutstanding;
        if (fastDue || ticksSinceSend >= kPollTicks) {
            SendPoll();
        }
    }

    const bool unitHeard = noAnswerTicks < kNoConnectionTicks;
    if (unitAnswered) {
        silentTicks = 0;
    } else if (!linkIdle && silentTicks < kUnknownAfterSilentTicks) {
        ++silentTicks;
    }
    if (silentTicks >= kUnknownAfterSilentTicks) {
        Forget(); // another unit may answer next
    }
    display.Tick(running, operation == Operation::Idle, panel.live.unitSavingCount, unitHeard);
    if (unitHeard && !linkIdle) {
        ++noAnswerTicks;
    }
    if (display.NoConnectionVisible()) {
        panel.versionVisible = false;
    }
    return result;
}

void DeviceSession::SendPoll() {
    ticksSinceSend = 0;
    sending = true;
    pollOutstanding = SendPollFrame(link, pollRate == PollRate::Standard);
    sending = false;
}

TickResult DeviceSession::DataArrived() {
    TickResult result;
    // A write may let the port report bytes before it returns; what came in
    // then waits for the next call, so an answer can never send a second
    // poll while the first is still going out.
    if (pollRate != PollRate::Fast || pollingPaused || operation != Operation::Idle || sending) {
        return result;
    }
    if (ReceivePending(result)) {
        silentTicks = 0;
    }
    if (result.monitorFrame) {
        SendPoll();
    }
    return result;
}

bool DeviceSession::ReceivePending(TickResult& result) {
    if (link == nullptr) {
        return false;
    }
    std::size_t queued = link->BytesQueued();
    if (queued < kFrameSize) {
        return false;
    }
    queued = std::min(queued, rxBuffer.size());
    const std::size_t got = std::min(link->Read(rxBuffer.data(), queued), queued);
    // Everything read in one tick is taken as starting at a frame boundary;
    // only the first frame counts, the rest is dropped.
    if (got < kFrameSize) {
        return false;
    }
    const std::uint8_t* frame = rxBuffer.data();
    if (frame[0] == MonitorCode) {
        if (HandleMonitorFrame(frame, image, panel)) {
            std::copy(frame, frame + kFrameSize, lastMonitorFrame.begin());
            noAnswerTicks = 0;
            pollOutstanding = false;
            result.monitorFrame = true;
            return true;
        }
        return false;
    }
    // Nothing is asked of the unit while a Program waits for its point: an
    // answer then is a late one to the backup read's last page, and taken
    // for the Program's it would skip the writes.
    if (!FrameCheckOk(frame) || operation == Operation::Idle || waitingForBackup) {
        return false;
    }
    currentPage = currentCommand & PageMask;
    if (currentPage > 2 || frame[0] != (currentCommand ^ AnswerFlag)) {
        return false;
    }
    HandleAnswerFrame(frame, result);
    return true;
}

void DeviceSession::HandleAnswerFrame(const std::uint8_t* frame, TickResult& result) {
    noAnswerTicks = 0;
    result.answerFrame = true;
    const std::uint8_t* payload = frame + 1;
    const std::size_t first = currentPage >= 1 ? (currentPage - 1) * kPageSize : 0;

    if (verifyTail) {
        // The other page of a failed Verify, read only to list its differences.
        RecordVerifyPage(payload, first);
        End(Outcome::VerifyError, result);
        display.GaveUp(Operation::Verify);
        return;
    }
    // A Program's backup read takes its pages as a Read does, into its own copy.
    switch (backupPhase ? Operation::Read : operation) {
    case Operation::Read:
        if (currentPage == 0) {
            std::copy(payload, payload + kPayloadSize, unitInfo.begin());
            unitTexts = BuildUnitInfoTexts(unitInfo);
            if (unitInfo[unitInfo::protocolVersion] != ProtocolVersion) {
                VersionMismatch(result);
                return;
            }
            infoSeen = true;
        } else {
            std::copy(payload, payload + kPayloadSize,
                      (backupPhase ? backupBuffer : readBuffer).begin() + first);
        }
        break;
    case Operation::Verify:
        if (currentPage == 0) {
            return;
        }
        RecordVerifyPage(payload, first);
        for (std::size_t k = 0; k < kPayloadSize; ++k) {
            if (first + k != kReservedImageByte && payload[k] != image[first + k]) {
                return; // the timer resends; five failures report "Verify error!"
            }
        }
        break;
    case Operation::Program:
        if (currentPage == 0) {
            std::copy(payload, payload + kPayloadSize, unitInfo.begin());
            unitTexts = BuildUnitInfoTexts(unitInfo);
            NormaliseImage(image);
            result.imageChanged = true;
            if (unitInfo[unitInfo::protocolVersion] != ProtocolVersion) {
                VersionMismatch(result);
                return;
            }
            const bool sameUnit = infoSeen && unitInfo == provenInfo;
            infoSeen = true;
            if (checkUnitOnPageZero && !sameUnit) {
                // Another unit, or one changed behind our back: keep what it
                // holds before page 1 writes anything.
                checkUnitOnPageZero = false;
                backupPhase = true;
                currentCommand = ReadCommand + 1;
                sendAttempts = 1;
                SendCurrent();
                return;
            }
        } else if (!std::equal(payload, payload + kPayloadSize, image.begin() + first)) {
            return; // the unit holds something else: resend
        }
        break;
    case Operation::Idle:
        return;
    }
    Advance(result);
}

void DeviceSession::Advance(TickResult& result) {
    if (currentPage < 2) {
        display.PageDone();
        ++currentCommand;
        sendAttempts = 1;
        SendCurrent();
        return;
    }
    if (backupPhase) {
        // The copy is whole; the Program goes on only once the shell has it
        // on disk (BackupKept).
        backupPhase = false;
        result.backup = backupBuffer;
        waitingForBackup = true;
        ticksSinceSend = 0;
        display.KeepingBackup();
        return;
    }
    switch (operation) {
    case Operation::Read:
        std::copy(readBuffer.begin(), readBuffer.begin() + kTransferSize, image.begin());
        NormaliseImage(image);
        result.imageChanged = true;
        StartClosingVerify();
        break;
    case Operation::Program:
        StartClosingVerify();
        break;
    case Operation::Verify:
        display.VerifyPassed();
        End(Outcome::Success, result);
        break;
    case Operation::Idle:
        break;
    }
}

void DeviceSession::StartClosingVerify() {
    operation = Operation::Verify;
    BeginVerifyRecord();
    currentCommand = VerifyCommand;
    sendAttempts = 1;
    SendCurrent();
    display.ClosingVerifyStarted(started);
}

void DeviceSession::RecordVerifyPage(const std::uint8_t* payload, std::size_t first) {
    std::copy(payload, payload + kPayloadSize, verifySeen.begin() + first);
    std::copy(payload, payload + kPayloadSize, verifyRaw.begin() + first);
    // The Verify leaves this byte out, so the list must not show it either.
    verifySeen[kReservedImageByte] = image[kReservedImageByte];
    verifyPagesSeen[first / kPageSize] = true;
}

void DeviceSession::End(Outcome outcome, TickResult& result) {
    const bool verifyFailed = outcome == Outcome::VerifyError && operation == Operation::Verify;
    verifyDifferences.clear();
    if (verifyFailed && (verifyPagesSeen[0] || verifyPagesSeen[1])) {
        // Bytes 200..206 never travel, and a page the unit never sent says
        // nothing of the unit.
        CompareScope scope;
        scope.localBytes = false;
        scope.page1 = verifyPagesSeen[0];
        scope.page2 = verifyPagesSeen[1];
        verifyDifferences = CompareImages(verifySeen, image, scope);
    }
    if (outcome == Outcome::Success) {
        // Every operation ends in a Verify that passed: what the unit sent
        // in it is the unit's content, to the byte.
        unitBytes = verifyRaw;
        provenPending = true;
        provenInfo = unitInfo;
    } else {
        Forget();
    }
    backupPhase = false;
    waitingForBackup = false;
    verifyTail = false;
    operation = Operation::Idle;
    result.ended = OperationOutcome{started, outcome};
}

void DeviceSession::VersionMismatch(TickResult& result) {
    // A backup read stops where a Program would: on page 0, with the image
    // shown again for the unit's texts.
    if (operation == Operation::Read || backupPhase) {
        NormaliseImage(image);
        result.imageChanged = true;
    }
    End(Outcome::VersionMismatch, result);
    display.VersionMismatch();
}

void DeviceSession::SendCurrent() {
    ticksSinceSend = 0;
    currentPage = currentCommand & PageMask;
    SendDataFrame(link, currentCommand, operation != Operation::Read && !backupPhase && !verifyTail,
                  image);
}

LivePosition DeviceSession::Live(bool tpsRowsUsed) const {
    return MarkLivePosition(panel.live.liveRpm, panel.live.tpsPercent, panel.live.tpsMillivolts,
                            image, tpsRowsUsed);
}

} // namespace orna5
