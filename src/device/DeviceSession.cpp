#include "device/DeviceSession.h"

#include "device/Link.h"
#include "device/MarkLivePosition.h"
#include "device/MonitorFrame.h"
#include "params/NormaliseImage.h"

#include <algorithm>

namespace orna5 {

namespace {

constexpr std::uint8_t kAnswerTimeoutTicks = 4;
constexpr std::uint8_t kMaxSends = 5;
constexpr std::uint8_t kPollTicks = 6;
constexpr std::uint8_t kNoConnectionTicks = 18;
constexpr std::uint8_t kStatusTicks = 200;
constexpr std::size_t kReceiveBufferSize = 10000;
constexpr std::size_t kReservedImageByte = field::reserved1;

Msg TitleOf(Operation op) {
    switch (op) {
    case Operation::Read:
        return Msg::Read;
    case Operation::Verify:
        return Msg::Verify;
    default:
        return Msg::ProgramDevice;
    }
}

Msg ErrorOf(Operation op) {
    switch (op) {
    case Operation::Read:
        return Msg::ReadError;
    case Operation::Verify:
        return Msg::VerifyError;
    default:
        return Msg::ProgramError;
    }
}

} // namespace

DeviceSession::DeviceSession(ParameterImage& image) : image(image), rxBuffer(kReceiveBufferSize) {}

void DeviceSession::SetLink(Link* newLink) {
    link = newLink;
}

void DeviceSession::ShowPrintHeader(const std::string& dateAndTime) {
    SetStatus(Msg::PrintHeader, StatusSuffix::None, ColourRole::ButtonFace);
    status.detail = dateAndTime;
    status.visible = true;
    statusTicks = kStatusTicks;
    gauge.visible = false;
}

void DeviceSession::SetPrintingInProgress(bool printing) {
    printingInProgress = printing;
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
    operation = op;
    currentCommand = command;
    sendAttempts = 0;
    if (op == Operation::Program) {
        programmedOk = false;
    }
    SetStatus(TitleOf(op), StatusSuffix::None, ColourRole::ButtonFace);
    statusTicks = kStatusTicks;
    status.visible = !printingInProgress;
    SetGaugePosition(0);
    gauge.visible = true;
}

void DeviceSession::HideStatus() {
    statusTicks = 0;
    status.visible = false;
    gauge.visible = false;
}

TickResult DeviceSession::Tick() {
    TickResult result;
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
                SetStatus(ErrorOf(running), StatusSuffix::None, ColourRole::Red);
                statusTicks = kStatusTicks;
                if (running == Operation::Verify) {
                    programmedOk = false;
                }
                operation = Operation::Idle;
            }
        }
        // A Read replaces the image the last Program wrote, so its success
        // line must not come back.
        if (running == Operation::Read) {
            programmedOk = false;
        }
    }

    if (operation == Operation::Idle) {
        ++ticksSinceSend;
        if (ticksSinceSend >= kPollTicks) {
            ticksSinceSend = 0;
            SendPollFrame(link);
        }
        const int saving = panel.live.unitSavingCount;
        // A save in progress normally takes over the status line, but not
        // from an error still on show (the error would flash by unseen), and
        // not on the count of a unit no longer heard from, which would keep
        // "Saving:" up for good.
        const bool errorShown = statusTicks > 0 && status.colour == ColourRole::Red;
        const bool unitHeard = noAnswerTicks < kNoConnectionTicks;
        if (saving > 0 && !errorShown && unitHeard) {
            SetStatus(Msg::Saving, StatusSuffix::None, ColourRole::ButtonFace);
            statusTicks = kStatusTicks;
            SetGaugeMaximum(100);
            SetGaugePosition(gauge.maximum * (kSavingFullScale - saving) / kSavingFullScale);
            // The gauge is the point of the saving display, also when the
            // unit saves after the operation's gauge has timed out.
            gauge.visible = true;
        } else {
            SetGaugeMaximum(2);
            if (programmedOk) {
                status.text = Msg::ProgramDevice;
                status.suffix = StatusSuffix::ColonOk;
                status.detail.clear();
                SetGaugePosition(gauge.maximum);
            }
        }
    }

    if (statusTicks > 0) {
        --statusTicks;
        status.visible = !printingInProgress;
    } else {
        status.visible = false;
        gauge.visible = false;
        programmedOk = false;
    }

    if (noAnswerTicks < kNoConnectionTicks) {
        ++noAnswerTicks;
        noConnectionVisible = false;
    } else {
        noConnectionVisible = !printingInProgress;
    }
    if (noConnectionVisible) {
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

    switch (operation) {
    case Operation::Read:
        if (currentPage == 0) {
            std::copy(payload, payload + kPayloadSize, unitInfo.begin());
            unitTexts = BuildUnitInfoTexts(unitInfo);
            if (unitInfo[unitInfo::protocolVersion] != ProtocolVersion) {
                VersionMismatch(result);
                return;
            }
        } else {
            std::copy(payload, payload + kPayloadSize, readBuffer.begin() + first);
        }
        break;
    case Operation::Verify:
        if (currentPage == 0) {
            return;
        }
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
        SetGaugePosition(gauge.position + 1);
        ++currentCommand;
        sendAttempts = 1;
        SendCurrent();
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
        programmedOk = true;
        StartClosingVerify();
        break;
    case Operation::Verify:
        SetGaugePosition(gauge.maximum);
        SetStatus(Msg::Verify, StatusSuffix::ColonOk, ColourRole::ButtonFace);
        statusTicks = kStatusTicks;
        operation = Operation::Idle;
        break;
    case Operation::Idle:
        break;
    }
}

void DeviceSession::StartClosingVerify() {
    operation = Operation::Verify;
    currentCommand = VerifyCommand;
    sendAttempts = 1;
    SendCurrent();
    SetStatus(Msg::Verify, StatusSuffix::Colon, ColourRole::ButtonFace);
    statusTicks = kStatusTicks;
    status.visible = !printingInProgress;
    SetGaugePosition(0);
}

void DeviceSession::VersionMismatch(TickResult& result) {
    const Operation was = operation;
    operation = Operation::Idle;
    if (was == Operation::Read) {
        NormaliseImage(image);
        result.imageChanged = true;
    }
    result.versionMismatch = true;
    result.unitVersion = unitInfo[unitInfo::protocolVersion];
    // The status line and gauge vanish at the end of this tick.
    statusTicks = 0;
}

void DeviceSession::SendCurrent() {
    ticksSinceSend = 0;
    currentPage = currentCommand & PageMask;
    SendDataFrame(link, currentCommand, operation != Operation::Read, image);
}

void DeviceSession::SetStatus(Msg text, StatusSuffix suffix, ColourRole colour) {
    status.text = text;
    status.suffix = suffix;
    status.colour = colour;
    status.detail.clear();
}

void DeviceSession::SetGaugeMaximum(int maximum) {
    gauge.maximum = maximum;
    gauge.position = std::clamp(gauge.position, 0, maximum);
}

void DeviceSession::SetGaugePosition(int position) {
    gauge.position = std::clamp(position, 0, gauge.maximum);
}

LivePosition DeviceSession::Live(bool tpsRowsUsed) const {
    return MarkLivePosition(panel.live.liveRpm, panel.live.tpsPercent, panel.live.tpsMillivolts,
                            image, tpsRowsUsed);
}

std::string RenderStatusLine(const StatusLine& line, int languageIndex) {
    std::string text = MessageText(line.text, languageIndex);
    switch (line.suffix) {
    case StatusSuffix::Colon:
        text += ":";
        break;
    case StatusSuffix::ColonOk:
        text += ": OK";
        break;
    case StatusSuffix::None:
        break;
    }
    return text + line.detail;
}

std::string DeviceSession::RenderStatus(int languageIndex) const {
    return RenderStatusLine(status, languageIndex);
}

} // namespace orna5
