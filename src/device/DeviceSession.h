#pragma once

#include "device/ColourRole.h"
#include "device/DeviceFrame.h"
#include "device/MonitorPanel.h"
#include "device/UnitInfoBlock.h"
#include "lang/Messages.h"
#include "params/LivePosition.h"
#include "params/ParameterImage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orna5 {

class Link;

enum class Operation : std::uint8_t { Idle = 0, Program = 1, Verify = 2, Read = 3 };

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

// What the shell must do after a tick.
struct TickResult {
    // The image was changed or must be shown again (Program page 0, end of a
    // Read, version mismatch): run CopyImageToControls.
    bool imageChanged = false;
    // The unit speaks another protocol version: show the modal message
    // VersionMismatchLabel(unitVersion) rendered in the current language.
    bool versionMismatch = false;
    int unitVersion = 0;
    bool monitorFrame = false; // a MonitorFrame was accepted in this tick
    bool answerFrame = false;  // an answer to the running operation was accepted
};

// The Read, Program and Verify exchanges with the unit, the idle poll, the
// status line, the "No Connection" indicator and the live panel, advanced by
// one Tick() per 55 ms. The session works on the window's image; it never
// waits except inside Link::Write.
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
    Link* GetLink() const { return link; }

    // One 55 ms tick: receive, advance the operation or poll, count down the
    // status line and the connection indicator.
    TickResult Tick();

    // Starting never sends at once, and replaces a running operation.
    void StartProgramming();
    void StartVerify();
    void StartRead();

    // The status line shows the print header with the date and time for the
    // usual 200 ticks; the progress gauge goes.
    void ShowPrintHeader(const std::string& dateAndTime);
    void SetPrintingInProgress(bool printing);

    // Takes the status line and the gauge down at once (File > New and Open),
    // until an operation shows them again.
    void HideStatus();
    bool PrintingInProgress() const { return printingInProgress; }

    Operation CurrentOperation() const { return operation; }
    std::uint8_t CurrentCommand() const { return currentCommand; }
    std::uint8_t CurrentPage() const { return currentPage; }
    std::uint8_t TicksSinceSend() const { return ticksSinceSend; }
    std::uint8_t SendAttempts() const { return sendAttempts; }
    std::uint8_t StatusTicks() const { return statusTicks; }
    std::uint8_t NoAnswerTicks() const { return noAnswerTicks; }
    bool ProgrammedOk() const { return programmedOk; }

    const StatusLine& Status() const { return status; }
    const ProgressGauge& Gauge() const { return gauge; }
    bool NoConnectionVisible() const { return noConnectionVisible; } // LabelSpojeni

    const UnitInfoBlock& UnitInfo() const { return unitInfo; }
    const UnitInfoTexts& UnitTexts() const { return unitTexts; } // LabelVerze1..3

    // The live panel; Panel().versionVisible already includes the rule that
    // the version warning hides while "No Connection" shows.
    const MonitorPanel& Panel() const { return panel; }
    const LiveValues& Values() const { return panel.live; }
    std::uint16_t UnitSavingCount() const { return panel.live.unitSavingCount; }
    // The last accepted live-data frame as it came (all zero before the
    // first), for a data log that keeps the fields the panel does not.
    const DeviceFrame& LastMonitorFrame() const { return lastMonitorFrame; }

    // Where the live engine speed and throttle sit on the image's axes.
    LivePosition Live(bool tpsRowsUsed) const;

    // The status line in a language, with its suffix.
    std::string RenderStatus(int languageIndex) const;

private:
    void Start(Operation op, std::uint8_t command);
    void ReceivePending(TickResult& result);
    void HandleAnswerFrame(const std::uint8_t* frame, TickResult& result);
    void Advance(TickResult& result);
    void StartClosingVerify();
    void VersionMismatch(TickResult& result);
    void SendCurrent();
    void SetStatus(Msg text, StatusSuffix suffix, ColourRole colour);
    void SetGaugeMaximum(int maximum);
    void SetGaugePosition(int position);

    ParameterImage& image;
    Link* link = nullptr;

    Operation operation = Operation::Idle;
    std::uint8_t currentCommand = 0;
    std::uint8_t currentPage = 0;
    std::uint8_t ticksSinceSend = 0;
    std::uint8_t sendAttempts = 0;
    std::uint8_t statusTicks = 0;
    std::uint8_t noAnswerTicks = 18;
    bool programmedOk = false;
    bool printingInProgress = false;

    // Pages of a Read, held back until the whole Read has arrived so that a
    // failed Read leaves the image alone.
    ParameterImage readBuffer{};
    std::vector<std::uint8_t> rxBuffer;

    UnitInfoBlock unitInfo{};
    UnitInfoTexts unitTexts;
    StatusLine status;
    ProgressGauge gauge;
    bool noConnectionVisible = false;
    MonitorPanel panel;
    DeviceFrame lastMonitorFrame{};
};

} // namespace orna5
