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
constexpr std::uint8_t kNoConnectionTicks = 18;
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
        unitKnown = false;
    }
    link = newLink;
}

void DeviceSession::StartProgramming() {
    Start(Operation::Program, ProgramCommand);
}
void DeviceSession::StartVerify() {
    Start(Operation::Verify, VerifyCommand);
}
void DeviceSession::StartRead() {
    Start(Operation::Read, ReadCommand);
}

void DeviceSession::Start(Operation op, std::uint8_t command) {
    backupPhase = op == Operation::Program && backupBeforeProgram && !unitKnown;
    if (op == Operation::Program) {
        unitKnown = false; // until its Verify passes, the unit may hold part of it
    }
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
    verifyAnswered = false;
}

TickResult DeviceSession::Tick() {
    TickResult result;
    if (playedFrame) {
        if (HandleMonitorFrame(playedFrame->data(), image, panel)) {
            lastMonitorFrame = *playedFrame;
            result.monitorFrame = true;
        }
        playedFrame.reset();
    }
    const bool linkIdle = pollingPaused && operation == Operation::Idle;
    if (!linkIdle)
        ReceivePending(result);

    const Operation running = operation;
    if (running != Operation::Idle) {
        ++ticksSinceSend;
        if (ticksSinceSend >= kAnswerTimeoutTicks) {
            ticksSinceSend = 0;
            ++sendAttempts;
            if (sendAttempts <= kMaxSends) {
                SendCurrent();
            } else {
                // A unit heard from in the wait is there but refuses; one
                // silent all along is not connected.
                End(noAnswerTicks < kNoConnectionTicks ? ErrorOf(running) : Outcome::NoConnection,
                    result);
                display.GaveUp(running);
            }
        }
    }

    if (operation == Operation::Idle && !pollingPaused) {
        ++ticksSinceSend;
        if (ticksSinceSend >= kPollTicks) {
            ticksSinceSend = 0;
            SendPollFrame(link);
        }
    }

    const bool unitHeard = noAnswerTicks < kNoConnectionTicks;
    if (!unitHeard) {
        unitKnown = false;
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

void DeviceSession::ReceivePending(TickResult& result) {
    if (link == nullptr) {
        return;
    }
    std::size_t queued = link->BytesQueued();
    if (queued < kFrameSize) {
        return;
    }
    queued = std::min(queued, rxBuffer.size());
    const std::size_t got = std::min(link->Read(rxBuffer.data(), queued), queued);
    // Everything read in one tick is taken as starting at a frame boundary;
    // only the first frame counts, the rest is dropped.
    if (got < kFrameSize) {
        return;
    }
    const std::uint8_t* frame = rxBuffer.data();
    if (frame[0] == MonitorCode) {
        if (HandleMonitorFrame(frame, image, panel)) {
            std::copy(frame, frame + kFrameSize, lastMonitorFrame.begin());
            noAnswerTicks = 0;
            result.monitorFrame = true;
        }
        return;
    }
    if (!FrameCheckOk(frame) || operation == Operation::Idle) {
        return;
    }
    currentPage = currentCommand & PageMask;
    if (currentPage > 2 || frame[0] != (currentCommand ^ AnswerFlag)) {
        return;
    }
    HandleAnswerFrame(frame, result);
}

void DeviceSession::HandleAnswerFrame(const std::uint8_t* frame, TickResult& result) {
    noAnswerTicks = 0;
    result.answerFrame = true;
    const std::uint8_t* payload = frame + 1;
    const std::size_t first = currentPage >= 1 ? (currentPage - 1) * kPageSize : 0;

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
        } else {
            std::copy(payload, payload + kPayloadSize,
                      (backupPhase ? backupBuffer : readBuffer).begin() + first);
        }
        break;
    case Operation::Verify:
        if (currentPage == 0) {
            return;
        }
        std::copy(payload, payload + kPayloadSize, verifySeen.begin() + first);
        verifySeen[kReservedImageByte] = image[kReservedImageByte];
        verifyAnswered = true;
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
        // The copy is whole: now program exactly as without it.
        backupPhase = false;
        result.backup = backupBuffer;
        currentCommand = ProgramCommand;
        sendAttempts = 1;
        SendCurrent();
        display.OperationStarted(Operation::Program);
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

void DeviceSession::End(Outcome outcome, TickResult& result) {
    const bool verifyFailed = outcome == Outcome::VerifyError && operation == Operation::Verify;
    // Bytes 200..206 never travel, so the unit has none to differ in.
    CompareScope scope;
    scope.localBytes = false;
    verifyDifferences = verifyFailed && verifyAnswered ? CompareImages(verifySeen, image, scope)
                                                       : std::vector<ParameterDifference>{};
    unitKnown = outcome == Outcome::Success;
    backupPhase = false;
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
    SendDataFrame(link, currentCommand, operation != Operation::Read && !backupPhase, image);
}

LivePosition DeviceSession::Live(bool tpsRowsUsed) const {
    return MarkLivePosition(panel.live.liveRpm, panel.live.tpsPercent, panel.live.tpsMillivolts,
                            image, tpsRowsUsed);
}

} // namespace orna5
