#include "cli/DeviceCommands.h"

#include "cli/CliCommon.h"
#include "cli/PortCommands.h"
#include "device/DeviceSession.h"
#include "device/LogClock.h"
#include "device/MonitorPanel.h"
#include "device/PortTable.h"
#include "device/RestoreRule.h"
#include "device/SerialLink.h"
#include "disk/HistoryStore.h"
#include "files/BoundedFile.h"
#include "files/MonitorLog.h"
#include "files/ParameterFile.h"
#include "files/ProfileFile.h"
#include "lang/Messages.h"
#include "params/NormaliseImage.h"
#include "params/ParameterReport.h"

#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>

#include <array>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <sstream>

namespace orna5::cli {

namespace {

constexpr int kTickMs = 55;
// No exchange takes this long: three pages, five sends each, four ticks
// apart, twice over. Beyond it the tool gives up rather than hang a script.
constexpr int kOperationTickLimit = 1000;

// Opens the --port argument; prints the system's message and reason on failure.
bool OpenPort(const std::string& value, SerialLink& link) {
    if (value == "auto") {
        const std::optional<std::string> found = FindUnitPort();
        return found && OpenPort(*found, link);
    }
    const std::optional<std::string> device = ResolvePortArgument(value, LoadPortTable());
    if (!device) {
        std::cerr << TextIn(Msg::ComOpeningError, English) << " (" << value
                  << ": not a device path or COM1..COM21)\n";
        return false;
    }
    const PortOpenResult opened = link.Open(*device);
    if (!opened.ok) {
        std::cerr << TextIn(Msg::ComOpeningError, English) << " (" << *device << ": "
                  << opened.reason << ")\n";
        if (!opened.hint.empty()) {
            std::cerr << opened.hint << '\n';
        }
        return false;
    }
    return true;
}

// A pulled adapter shows as a silent unit; say once why it went quiet.
void TellIfLost(const SerialLink& link, bool& told) {
    if (link.Lost() && !told) {
        told = true;
        std::cerr << "orna5ctl: " << link.Device() << " has disappeared" << std::endl;
    }
}

enum class RunState { Running, Succeeded, Failed };

// Where status lines go, and the last one shown, so a line is not repeated
// when one run of ticks follows another.
struct Progress {
    std::ostream& out;
    std::string lastStatus;
};

// Runs the 55 ms tick on a timer, as the window does, until `judge` decides.
// Every new status line goes to `progress`, errors to stderr. The
// application object exists before the port is opened (main makes it), so
// the port's notifiers work.
template <typename Judge, typename OnTick>
RunState RunTicks(DeviceSession& session, int tickLimit, Judge judge, OnTick onTick,
                  Progress& progress) {
    RunState state = RunState::Running;
    int ticks = 0;
    QEventLoop loop;
    QTimer timer;
    timer.setInterval(kTickMs);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const TickResult result = session.Tick();
        ++ticks;
        onTick(result);
        const bool failedNow = result.ended && result.ended->outcome != Outcome::Success;
        if (session.Display().Status().visible) {
            const std::string status = session.Display().Render(English);
            if (status != progress.lastStatus) {
                progress.lastStatus = status;
                (failedNow ? std::cerr : progress.out) << status << std::endl;
            }
        }
        if (result.ended && result.ended->outcome == Outcome::VersionMismatch) {
            std::cerr << RenderLabel(VersionMismatchLabel(session.UnitVersion()), English)
                      << std::endl;
            state = RunState::Failed;
        } else {
            state = judge(result);
        }
        if (state == RunState::Running && tickLimit > 0 && ticks >= tickLimit) {
            std::cerr << "orna5ctl: the unit did not finish in time\n";
            state = RunState::Failed;
        }
        if (state != RunState::Running) {
            timer.stop();
            loop.quit();
        }
    });
    timer.start();
    loop.exec();
    return state;
}

// Whether the started operation has ended, and how: its outcome, not the
// status line (which "Saving:" may already have taken over).
RunState OperationEnd(const TickResult& result) {
    if (!result.ended) {
        return RunState::Running;
    }
    return result.ended->outcome == Outcome::Success ? RunState::Succeeded : RunState::Failed;
}

// Runs one operation to its end on a session whose link is open; `onTick`
// sees every tick's result.
RunState RunOperationOn(DeviceSession& session, SerialLink& link, Operation operation,
                        Progress& progress,
                        const std::function<void(const TickResult&)>& onTick = {}) {
    switch (operation) {
    case Operation::Program:
        session.StartProgramming();
        break;
    case Operation::Read:
        session.StartRead();
        break;
    default:
        session.StartVerify();
        break;
    }
    bool toldLost = false;
    return RunTicks(
        session, kOperationTickLimit, OperationEnd,
        [&](const TickResult& result) {
            TellIfLost(link, toldLost);
            if (onTick) {
                onTick(result);
            }
        },
        progress);
}

// Keeps a restore point in the history; false, said on stderr, when it could
// not be kept.
bool KeepRestorePoint(const ParameterImage& image, RestoreKind kind, const UnitInfoTexts& unit,
                      const std::string& sourcePath) {
    const QString source = sourcePath.empty()
                               ? QString()
                               : QFileInfo(QString::fromStdString(sourcePath)).absoluteFilePath();
    HistoryStore store;
    const HistoryStore::AddResult added =
        store.Add(image, kind, {unit.versionText, unit.buildDateText, source.toStdString()},
                  QDateTime::currentMSecsSinceEpoch());
    if (!added.ok) {
        std::cerr << "orna5ctl: the " << RestoreKindName(kind)
                  << " restore point could not be kept: " << added.reason.toStdString() << '\n';
    }
    return added.ok;
}

// After "Verify error!": every byte in which the unit (left) differs.
void PrintVerifyDifferences(std::ostream& out, const std::vector<ParameterDifference>& found) {
    for (const ParameterDifference& d : found) {
        out << d.left.page << ": " << d.left.name << ": " << d.left.value << " -> " << d.rightValue
            << '\n';
    }
}

// What one device command does beside the exchange.
struct RunOptions {
    bool backup = true;     // Program: the backup read when the unit is not known
    std::string sourcePath; // the parameter file, for the restore points
    // Program: the parameter file's text, read over what the backup read
    // found, so the unit keeps its own reserved bytes.
    std::optional<std::string> fileOverBackup;
};

// What RunOperation leaves for its caller.
struct RunLeft {
    // Read: its point, kept by the caller once OUT is written.
    std::optional<PointToKeep> readPoint;
    UnitInfoTexts unit;
};

int RunOperation(ParameterImage& image, const std::string& port, Operation operation,
                 const RunOptions& options, RunLeft* left = nullptr) {
    SerialLink link;
    if (!OpenPort(port, link)) {
        return kExitFailed;
    }
    DeviceSession session(image);
    session.SetLink(&link);
    session.SetBackupBeforeProgram(options.backup);
    Progress progress{std::cout, {}};
    std::optional<Outcome> outcome;
    const RunState state =
        RunOperationOn(session, link, operation, progress, [&](const TickResult& result) {
            if (result.ended) {
                outcome = result.ended->outcome;
            }
            for (const PointToKeep& point : PointsToKeep(result, session)) {
                if (point.backup) {
                    if (!KeepRestorePoint(point.bytes, point.kind, session.UnitTexts(), {})) {
                        session.BackupNotKept(); // the unit stays untouched
                        continue;
                    }
                    if (options.fileOverBackup) {
                        ParameterImage over = point.bytes;
                        std::istringstream text(*options.fileOverBackup);
                        ReadParameterFile(text, over); // read and checked once already
                        NormaliseImage(over);
                        image = over;
                    }
                    session.BackupKept();
                } else if (point.kind == RestoreKind::Read && left) {
                    left->readPoint = point;
                } else {
                    KeepRestorePoint(point.bytes, point.kind, session.UnitTexts(),
                                     options.sourcePath);
                }
            }
        });
    link.Close();
    if (left) {
        left->unit = session.UnitTexts();
    }
    if (outcome == Outcome::VerifyError) {
        // After the error line, every byte in which the unit differs.
        PrintVerifyDifferences(std::cerr, session.VerifyDifferences());
    }
    return state == RunState::Succeeded ? kExitOk : kExitFailed;
}

// IN and --port of program and verify; the image as `normalise` makes it.
int TransferFromFile(int argc, char** argv, Operation operation, const char* usage) {
    Arguments args;
    const bool program = operation == Operation::Program;
    if (!ParseArguments(argc, argv, 2, {"--port"}, args,
                        program ? std::vector<std::string>{"--no-backup"}
                                : std::vector<std::string>{})) {
        return kExitUsage;
    }
    const std::string* port = args.Option("--port");
    if (!port || args.positional.size() != 1) {
        return Usage(usage);
    }
    ParameterImage image = StartupImage();
    if (!cli::LoadParameterFile(args.positional[0], image)) {
        return kExitFailed;
    }
    NormaliseImage(image);
    RunOptions options;
    options.backup = !args.Flag("--no-backup");
    options.sourcePath = args.positional[0];
    if (program && options.backup) {
        // With the backup read the file goes over the unit's own bytes, as
        // the window reads a file over what a Read brought in.
        const BoundedRead text = ReadBoundedFile(args.positional[0]);
        if (!text.Ok()) {
            std::cerr << TextIn(Msg::OpenFileError, English) << " (" << args.positional[0] << ")\n";
            return kExitFailed;
        }
        options.fileOverBackup = text.bytes;
    }
    return RunOperation(image, *port, operation, options);
}

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

int CommandProgram(int argc, char** argv) {
    return TransferFromFile(argc, argv, Operation::Program,
                            "usage: orna5ctl program IN --port PORT [--no-backup]");
}

int CommandVerify(int argc, char** argv) {
    return TransferFromFile(argc, argv, Operation::Verify, "usage: orna5ctl verify IN --port PORT");
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
    RunLeft left;
    const int status = RunOperation(image, *port, Operation::Read, {}, &left);
    if (status != kExitOk) {
        return status;
    }
    // The Read normalised the image before its closing Verify passed. Its
    // point names OUT only once OUT holds it.
    const bool saved = SaveParameterFile(*out, image);
    if (left.readPoint) {
        KeepRestorePoint(left.readPoint->bytes, left.readPoint->kind, left.unit,
                         saved ? *out : std::string());
    }
    return saved ? kExitOk : kExitFailed;
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
    Progress progress{std::cerr, {}};
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
