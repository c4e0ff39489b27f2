#include "device/StatusDisplay.h"

#include "params/MonitorFrame.h"

#include <algorithm>

namespace orna5 {

namespace {

constexpr std::uint8_t kStatusTicks = 200;

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

void StatusDisplay::OperationStarted(Operation op) {
    if (op == Operation::Program) {
        programmedOk = false;
    }
    Set(TitleOf(op), StatusSuffix::None, ColourRole::ButtonFace);
    statusTicks = kStatusTicks;
    status.visible = !printingInProgress;
    SetGaugePosition(0);
    gauge.visible = true;
}

void StatusDisplay::PageDone() {
    SetGaugePosition(gauge.position + 1);
}

void StatusDisplay::ClosingVerifyStarted(Operation startedBy) {
    if (startedBy == Operation::Program) {
        programmedOk = true;
    }
    Set(Msg::Verify, StatusSuffix::Colon, ColourRole::ButtonFace);
    statusTicks = kStatusTicks;
    status.visible = !printingInProgress;
    SetGaugePosition(0);
}

void StatusDisplay::VerifyPassed() {
    SetGaugePosition(gauge.maximum);
    Set(Msg::Verify, StatusSuffix::ColonOk, ColourRole::ButtonFace);
    statusTicks = kStatusTicks;
}

void StatusDisplay::GaveUp(Operation phase) {
    Set(ErrorOf(phase), StatusSuffix::None, ColourRole::Red);
    statusTicks = kStatusTicks;
    if (phase == Operation::Verify) {
        programmedOk = false;
    }
}

void StatusDisplay::VersionMismatch() {
    // The status line and gauge vanish at the end of this tick.
    statusTicks = 0;
}

void StatusDisplay::KeepingBackup() {
    Set(Msg::KeepingRestorePoint, StatusSuffix::None, ColourRole::ButtonFace);
    statusTicks = kStatusTicks;
    status.visible = !printingInProgress;
}

void StatusDisplay::BackupNotKept() {
    Set(Msg::RestorePointNotKept, StatusSuffix::None, ColourRole::Red);
    statusTicks = kStatusTicks;
    programmedOk = false;
}

void StatusDisplay::Tick(Operation running, bool idle, int unitSavingCount, bool unitHeard) {
    // A Read replaces the image the last Program wrote, so its success line
    // must not come back.
    if (running == Operation::Read) {
        programmedOk = false;
    }
    if (idle) {
        // A save in progress normally takes over the status line, but not
        // from an error still on show (the error would flash by unseen), and
        // not on the count of a unit no longer heard from, which would keep
        // "Saving:" up for good.
        const bool errorShown = statusTicks > 0 && status.colour == ColourRole::Red;
        if (unitSavingCount > 0 && !errorShown && unitHeard) {
            Set(Msg::Saving, StatusSuffix::None, ColourRole::ButtonFace);
            statusTicks = kStatusTicks;
            SetGaugeMaximum(100);
            SetGaugePosition(gauge.maximum * (kSavingFullScale - unitSavingCount) /
                             kSavingFullScale);
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
    noConnectionVisible = !unitHeard && !printingInProgress;
}

void StatusDisplay::ShowPrintHeader(const std::string& dateAndTime) {
    Set(Msg::PrintHeader, StatusSuffix::None, ColourRole::ButtonFace);
    status.detail = dateAndTime;
    status.visible = true;
    statusTicks = kStatusTicks;
    gauge.visible = false;
}

void StatusDisplay::SetPrintingInProgress(bool printing) {
    printingInProgress = printing;
}

void StatusDisplay::Hide() {
    statusTicks = 0;
    status.visible = false;
    gauge.visible = false;
}

void StatusDisplay::Set(Msg text, StatusSuffix suffix, ColourRole colour) {
    status.text = text;
    status.suffix = suffix;
    status.colour = colour;
    status.detail.clear();
}

void StatusDisplay::SetGaugeMaximum(int maximum) {
    gauge.maximum = maximum;
    gauge.position = std::clamp(gauge.position, 0, maximum);
}

void StatusDisplay::SetGaugePosition(int position) {
    gauge.position = std::clamp(position, 0, gauge.maximum);
}

std::string RenderStatusLine(const StatusLine& line, int languageIndex) {
    std::string text = TextIn(line.text, languageIndex);
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

} // namespace orna5
