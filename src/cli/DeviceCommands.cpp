#include "cli/DeviceCommands.h"

#include "cli/CliCommon.h"
#include "cli/UnitExchange.h"
#include "device/DeviceSession.h"
#include "device/LogClock.h"
#include "device/MonitorPanel.h"
#include "device/SerialLink.h"
#include "files/BoundedFile.h"
#include "files/MonitorLog.h"
#include "lang/Messages.h"
#include "params/NormaliseImage.h"

#include <array>
#include <iostream>
#include <sstream>

namespace orna5::cli {

namespace {

// Says why a Program (of a file or of a restore point) did not pass, by the
// step that failed; `what` names what was not programmed.
void SayProgramFailure(const std::string& what, UnitExchange& exchange) {
    const std::string head = "orna5ctl: " + what + ": ";
    const std::optional<Outcome> outcome = exchange.LastOutcome();
    if (!outcome) {
        std::cerr << head << "the unit did not finish in time\n";
        return;
    }
    switch (*outcome) {
    case Outcome::BackupNotKept:
        std::cerr << head << "the restore point of the unit could not be kept ("
                  << exchange.BackupFailure()
                  << "); the unit is untouched (--no-backup programs without it)\n";
        break;
    case Outcome::ProgramError:
        std::cerr << head
                  << (exchange.BackupKept() ? "programming failed"
                                            : "the unit could not be read before programming; "
                                              "the unit is untouched")
                  << '\n';
        break;
    case Outcome::ReadError:
        std::cerr << head << "the unit could not be read\n";
        break;
    case Outcome::VerifyError:
        if (exchange.Session().VerifyDifferences().empty()) {
            std::cerr << head << "the verify did not pass\n";
        } else {
            std::cerr << head << "the verify found differences:\n";
            PrintVerifyDifferences(std::cerr, exchange.Session().VerifyDifferences());
        }
        break;
    case Outcome::NoConnection:
        std::cerr << head << "the unit did not answer\n";
        break;
    case Outcome::VersionMismatch:
        std::cerr << head << "version mismatch; nothing was written\n";
        break;
    case Outcome::Success:
        break;
    }
}

// The restore points of passed operations that could not be kept fail the
// command, unless the user said the history does not matter (--no-backup).
int PointsVerdict(const UnitExchange& exchange, bool historyRequired, const std::string& done) {
    if (exchange.PointFailures().empty() || !historyRequired) {
        return kExitOk;
    }
    std::cerr << "orna5ctl: " << done << ", but not all of its history could be kept\n";
    return kExitFailed;
}

} // namespace

int ProgramUnit(const ParameterImage& image, const std::optional<std::string>& fileText,
                const ProgramRequest& request) {
    ParameterImage working = image;
    UnitExchange exchange(working);
    if (!exchange.Open(request.port)) {
        return kExitFailed;
    }
    exchange.sourcePath = request.sourcePath;
    if (fileText) {
        // The file goes over the unit's own bytes, as the window reads a
        // file over what a Read brought in: the unit keeps what the file
        // cannot carry.
        exchange.onBackupKept = [&](const ParameterImage& held) {
            FileOverUnit(*fileText, held, working); // read and checked once already
        };
    }
    const bool passed =
        exchange.Run(Operation::Program, request.backup ? DeviceSession::BackupRead::Always
                                                        : DeviceSession::BackupRead::Never);
    exchange.Close();
    if (!passed) {
        SayProgramFailure(request.failure, exchange);
        return kExitFailed;
    }
    return PointsVerdict(exchange, request.backup, "the unit is programmed");
}

int VerifyUnit(const ParameterImage& expected, const std::optional<std::string>& fileText,
               const std::string& port, const std::string& sourcePath) {
    ParameterImage working = expected;
    UnitExchange exchange(working);
    if (!exchange.Open(port)) {
        return kExitFailed;
    }
    exchange.sourcePath = sourcePath;
    bool passed = false;
    if (!fileText) {
        passed = exchange.Run(Operation::Verify);
    } else {
        // A parameter file carries no reserved bytes and no flag's own "on"
        // value, so it is compared as it would be programmed: over what the
        // unit holds. That is known only from a Verify that failed after
        // seeing both pages (VerifyUnitImage): then the file read over those
        // bytes is verified once more, and what still differs is what the
        // file itself says otherwise. The first Verify speaks only when it is
        // the last: a unit that matches passes at once, and one that does not
        // answer fails as any Verify does.
        std::ostringstream quietOut;
        std::ostringstream quietErr;
        exchange.SetOutput(quietOut, quietErr);
        passed = exchange.Run(Operation::Verify);
        exchange.SetOutput(std::cout, std::cerr);
        const std::array<bool, 2> seen = exchange.Session().VerifyPagesSeen();
        if (passed || exchange.LastOutcome() != Outcome::VerifyError || !seen[0] || !seen[1]) {
            std::cout << quietOut.str() << std::flush;
            std::cerr << quietErr.str();
        } else {
            FileOverUnit(*fileText, exchange.Session().VerifyUnitImage(), working);
            passed = exchange.Run(Operation::Verify);
        }
    }
    exchange.Close();
    if (!passed) {
        if (exchange.LastOutcome() == Outcome::VerifyError) {
            // After the error line, every byte in which the unit differs.
            PrintVerifyDifferences(std::cerr, exchange.Session().VerifyDifferences());
        }
        return kExitFailed;
    }
    return PointsVerdict(exchange, true, "the unit holds the same");
}

namespace {

// The live panel as one line of the system's own label texts.
std::string PanelLine(const MonitorPanel& panel) {
    std::string line;
    auto add = [&line](const LiveLabel& label) {
        if (label.HasText()) {
            std::string text = RenderLabel(label, English);
            while (!text.empty() && text.back() == ' ') {
                text.pop_back();
            }
            line += (line.empty() ? "" : " | ") + text;
        }
    };
    add(panel.rpm);
    add(panel.voltage);
    add(panel.tps);
    for (const LiveLabel& label : panel.advance) {
        add(label);
    }
    add(panel.servoDesired);
    add(panel.servoMeasured);
    add(panel.pickup[0]);
    add(panel.pickup[1]);
    add(panel.inputs[0]);
    add(panel.inputs[1]);
    add(panel.clutch);
    add(panel.killSwitch);
    add(panel.blocking);
    add(panel.shiftLight);
    add(panel.programmingCount);
    if (panel.versionVisible) {
        add(panel.version);
    }
    if (panel.storedDataErrorVisible) {
        line += " | Programmed data error";
    }
    return line;
}

} // namespace

namespace {

// IN and --port of program and verify.
int TransferFromFile(int argc, char** argv, bool program, const char* usage) {
    Arguments args;
    if (!ParseArguments(argc, argv, 2, {"--port"}, args,
                        program ? std::vector<std::string>{"--no-backup"}
                                : std::vector<std::string>{})) {
        return kExitUsage;
    }
    const std::string* port = args.Option("--port");
    if (!port || args.positional.size() != 1) {
        return Usage(usage);
    }
    const std::string& path = args.positional[0];
    ParameterImage image = StartupImage();
    if (!cli::LoadParameterFile(path, image)) {
        return kExitFailed;
    }
    NormaliseImage(image);
    // The text again, to be read over the unit's own bytes.
    const BoundedRead text = ReadBoundedFile(path);
    if (!text.Ok()) {
        std::cerr << TextIn(Msg::OpenFileError, English) << " (" << path << ")\n";
        return kExitFailed;
    }
    if (!program) {
        return VerifyUnit(image, text.bytes, *port, path);
    }
    ProgramRequest request;
    request.port = *port;
    request.backup = !args.Flag("--no-backup");
    request.sourcePath = path;
    request.failure = path + " was not programmed";
    // Without the backup read nothing of the unit is known: the file goes
    // over the start-up parameters.
    return ProgramUnit(
        image, request.backup ? std::optional<std::string>(text.bytes) : std::nullopt, request);
}

} // namespace

int CommandProgram(int argc, char** argv) {
    return TransferFromFile(argc, argv, true,
                            "usage: orna5ctl program IN --port PORT [--no-backup]");
}

int CommandVerify(int argc, char** argv) {
    return TransferFromFile(argc, argv, false, "usage: orna5ctl verify IN --port PORT");
}

int CommandRead(int argc, char** argv) {
    Arguments args;
    if (!ParseArguments(argc, argv, 2, {"--port", "-o"}, args)) {
        return kExitUsage;
    }
    const std::string* port = args.Option("--port");
    const std::string* out = args.Option("-o");
    if (!port || !out || !args.positional.empty()) {
        return Usage("usage: orna5ctl read --port PORT -o OUT");
    }
    ParameterImage image = StartupImage();
    UnitExchange exchange(image);
    if (!exchange.Open(*port)) {
        return kExitFailed;
    }
    exchange.holdReadPoint = true;
    const bool passed = exchange.Run(Operation::Read);
    exchange.Close();
    if (!passed) {
        return kExitFailed;
    }
    // The Read normalised the image before its closing Verify passed. Its
    // point names OUT only once OUT holds it.
    const bool saved = SaveParameterFile(*out, image);
    const bool kept = !exchange.heldReadPoint ||
                      exchange.Keep(*exchange.heldReadPoint, saved ? *out : std::string());
    return saved && kept ? kExitOk : kExitFailed;
}

int CommandMonitor(int argc, char** argv) {
    Arguments args;
    if (!ParseArguments(argc, argv, 2, {"--port", "--count", "--csv", "--params", "--rate"},
                        args)) {
        return kExitUsage;
    }
    const std::string* port = args.Option("--port");
    if (!port || !args.positional.empty()) {
        return Usage("usage: orna5ctl monitor --port PORT [--count N] [--csv FILE] [--params FILE] "
                     "[--rate standard|fast]");
    }
    DeviceSession::PollRate rate = DeviceSession::PollRate::Standard;
    if (const std::string* text = args.Option("--rate")) {
        if (*text == "fast") {
            rate = DeviceSession::PollRate::Fast;
        } else if (*text != "standard") {
            return Usage("--rate takes standard or fast");
        }
    }
    int count = 0; // 0: until interrupted
    if (const std::string* text = args.Option("--count")) {
        if (!ParseNumber(*text, 1, 999999999, count)) {
            return Usage("--count takes a whole number above 0");
        }
    }
    // The frames are decoded against the unit's own parameters (outputs,
    // lobes, model), so a unit set up unlike the start-up parameters still
    // shows every channel and the right pick-up test.
    ParameterImage image = StartupImage();
    const std::string* params = args.Option("--params");
    if (params) {
        if (!cli::LoadParameterFile(*params, image)) {
            return kExitFailed;
        }
        NormaliseImage(image);
    }
    const std::string* csvPath = args.Option("--csv");
    SerialLink serial;
    if (!OpenPort(*port, serial)) {
        return kExitFailed;
    }
    DeviceSession session(image);
    session.SetLink(&serial);
    Progress progress{&std::cerr, &std::cerr, {}};
    if (!params &&
        RunOperationOn(session, serial, Operation::Read, progress) != RunState::Succeeded) {
        std::cerr << "orna5ctl: the unit's parameters could not be read; "
                     "give them with --params FILE\n";
        serial.Close();
        return kExitFailed;
    }
    // The log names the unit and the parameters it was taken with, so it can
    // be played back against them later.
    MonitorLogWriter csv(LogTimeNow);
    if (csvPath && !csv.Open(*csvPath, MakeLogHeader(image, session.UnitTexts().versionText,
                                                     params ? *params : std::string()))) {
        std::cerr << TextIn(Msg::OpenFileError, English) << " (" << *csvPath << ")\n";
        serial.Close();
        return kExitFailed;
    }
    bool csvFailed = false;
    bool namesUnit = !session.UnitTexts().versionText.empty(); // in the header already
    long frames = 0;
    bool toldSilent = false;
    bool toldLost = false;
    // Each frame, in a tick or (at the Fast rate) between ticks: one line,
    // one row. A row that cannot be written ends the run at once.
    const auto frame = [&] {
        if (csvFailed || (count > 0 && frames >= count)) {
            return;
        }
        ++frames;
        toldSilent = false;
        std::cout << PanelLine(session.Panel()) << std::endl;
        if (!csv.IsOpen()) {
            return;
        }
        const std::string& unit = session.UnitTexts().versionText;
        if (!namesUnit && !unit.empty()) {
            namesUnit = csv.AppendUnitVersion(unit);
        }
        if (!csv.Append(session.LastMonitorFrame().data())) {
            csvFailed = true;
            std::cerr << "orna5ctl: cannot write " << csv.Path() << ": " << std::strerror(errno)
                      << '\n';
        }
    };
    session.SetPollRate(rate);
    serial.OnDataArrived([&] {
        if (session.DataArrived().monitorFrame) {
            frame();
        }
    });
    const RunState state = RunTicks(
        session, 0,
        [&](const TickResult&) {
            if (serial.Lost() || csvFailed) {
                return RunState::Failed; // nothing more will come; let the script know
            }
            return count > 0 && frames >= count ? RunState::Succeeded : RunState::Running;
        },
        [&](const TickResult& result) {
            TellIfLost(serial, toldLost);
            if (result.monitorFrame) {
                frame();
            } else if (session.NoConnectionVisible() && !toldSilent &&
                       session.SilentTicks() >= DeviceSession::kNoConnectionTicks) {
                // Said once per silence, and not before the unit had its
                // time to answer the first poll.
                toldSilent = true;
                std::cerr << TextIn(Msg::NoConnection, English) << std::endl;
            }
        },
        progress);
    serial.OnDataArrived({});
    serial.Close();
    csv.Close();
    return state == RunState::Failed || csvFailed ? kExitFailed : kExitOk;
}

} // namespace orna5::cli
