#pragma once

#include "device/ColourRole.h"
#include "device/OperationOutcome.h"
#include "lang/Messages.h"

#include <cstdint>
#include <string>

namespace orna5 {

// What follows the status text: nothing, ":" (verifying after a Read or
// Program) or ": OK".
enum class StatusSuffix { None, Colon, ColonOk };

// LabelHlaseni.
struct StatusLine {
    bool visible = false;
    Msg text = Msg::ProgramDevice;
    StatusSuffix suffix = StatusSuffix::None;
    ColourRole colour = ColourRole::ButtonFace;
    // Written after the text as it is (the date and time of a printout).
    std::string detail;
};

// CGaugeProgram; position is always within 0..maximum.
struct ProgressGauge {
    int maximum = 2;
    int position = 0;
    bool visible = false;
};

// The status text in a language (0..3) with its suffix.
std::string RenderStatusLine(const StatusLine& line, int languageIndex);

// The status line, the progress gauge, their 200-tick countdown, the print
// header and the "No Connection" indicator, as plain values for a shell to
// render. The exchange tells it what happened; the shell adds the print
// header and the printing flag.
class StatusDisplay {
public:
    // From the exchange.
    void OperationStarted(Operation op);
    void PageDone();
    // The pages of a Read or Program are through; its Verify begins.
    void ClosingVerifyStarted(Operation startedBy);
    void VerifyPassed();
    // The resends of `phase` (Read, Program or Verify pages) ran out.
    void GaveUp(Operation phase);
    void VersionMismatch();
    // A Program's backup read is through; its restore point is being kept.
    void KeepingBackup();
    // That point could not be kept: the Program ends with nothing written.
    void BackupNotKept();
    // The end of every tick. `running` is the operation after receiving,
    // `idle` whether none runs now; `unitHeard` whether the unit answered
    // within the connection indicator's wait.
    void Tick(Operation running, bool idle, int unitSavingCount, bool unitHeard);

    // From the shell.
    // The print header with the date and time for the usual 200 ticks; the
    // progress gauge goes.
    void ShowPrintHeader(const std::string& dateAndTime);
    void SetPrintingInProgress(bool printing);
    // Takes the status line and the gauge down at once (File > New and
    // Open), until an operation shows them again.
    void Hide();

    bool PrintingInProgress() const { return printingInProgress; }
    std::uint8_t StatusTicks() const { return statusTicks; }
    // The Program success line comes back after "Saving:" while this holds.
    bool ProgrammedOk() const { return programmedOk; }
    const StatusLine& Status() const { return status; }
    const ProgressGauge& Gauge() const { return gauge; }
    bool NoConnectionVisible() const { return noConnectionVisible; } // LabelSpojeni
    std::string Render(int languageIndex) const { return RenderStatusLine(status, languageIndex); }

private:
    void Set(Msg text, StatusSuffix suffix, ColourRole colour);
    void SetGaugeMaximum(int maximum);
    void SetGaugePosition(int position);

    StatusLine status;
    ProgressGauge gauge;
    std::uint8_t statusTicks = 0;
    bool programmedOk = false;
    bool printingInProgress = false;
    bool noConnectionVisible = false;
};

} // namespace orna5
