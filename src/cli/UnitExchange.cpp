#include "cli/UnitExchange.h"

#include "platform/EndSignals.h"

#include "cli/PortCommands.h"
#include "device/PortTable.h"
#include "disk/HistoryStore.h"
#include "files/ParameterFile.h"
#include "lang/Messages.h"
#include "params/NormaliseImage.h"
#include "params/ParameterReport.h"

#include <QDateTime>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include <iostream>
#include <sstream>

namespace orna5::cli {

namespace {

constexpr int kTickMs = 55;
// No exchange takes this long: three pages, five sends each, four ticks
// apart, twice over. Beyond it the tool gives up rather than hang a script.
constexpr int kOperationTickLimit = 1000;

// Whether the started operation has ended, and how: its outcome, not the
// status line (which "Saving:" may already have taken over).
RunState OperationEnd(const TickResult& result) {
    if (!result.ended) {
        return RunState::Running;
    }
    return result.ended->outcome == Outcome::Success ? RunState::Succeeded : RunState::Failed;
}

} // namespace

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
        if (opened.permissionDenied)
            std::cerr << PermissionHint(opened.device, opened.owner, opened.group, opened.mode,
                                        English)
                      << '\n';
        return false;
    }
    return true;
}

void TellIfLost(const SerialLink& link, bool& told) {
    if (link.Lost() && !told) {
        told = true;
        std::cerr << "orna5ctl: " << link.Device() << " has disappeared" << std::endl;
    }
}

RunState RunTicks(DeviceSession& session, int tickLimit,
                  const std::function<RunState(const TickResult&)>& judge,
                  const std::function<void(const TickResult&)>& onTick, Progress& progress) {
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
                *(failedNow ? progress.err : progress.out) << status << std::endl;
            }
        }
        if (result.ended && result.ended->outcome == Outcome::VersionMismatch) {
            *progress.err << RenderLabel(VersionMismatchLabel(session.UnitVersion()), English)
                          << std::endl;
            state = RunState::Failed;
        } else {
            state = judge(result);
        }
        if (state == RunState::Running && tickLimit > 0 && ticks >= tickLimit) {
            *progress.err << "orna5ctl: the unit did not finish in time\n";
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

RunState RunOperationOn(DeviceSession& session, SerialLink& link, Operation operation,
                        Progress& progress, const std::function<void(const TickResult&)>& onTick,
                        DeviceSession::BackupRead backup) {
    switch (operation) {
    case Operation::Program:
        session.StartProgramming(backup);
        break;
    case Operation::Read:
        session.StartRead();
        break;
    default:
        session.StartVerify();
        break;
    }
    // Ctrl+C, a closed terminal or kill: the operation runs to its end
    // first, so that no unit is left half written; a second one ends at once.
    EndSignals ends;
    bool toldEnding = false;
    bool toldLost = false;
    const RunState state = RunTicks(
        session, kOperationTickLimit, OperationEnd,
        [&](const TickResult& result) {
            TellIfLost(link, toldLost);
            if (ends.Received() != 0 && !toldEnding) {
                toldEnding = true;
                *progress.err << "orna5ctl: ending when the unit's operation has finished "
                                 "(a second signal ends at once)"
                              << std::endl;
            }
            if (onTick) {
                onTick(result);
            }
        },
        progress);
    ends.EndNowIfAsked();
    return state;
}

UnitExchange::UnitExchange(ParameterImage& image)
    : session(image), progress{&std::cout, &std::cerr, {}} {}

UnitExchange::~UnitExchange() {
    link.Close();
}

bool UnitExchange::Open(const std::string& port) {
    if (!OpenPort(port, link)) {
        return false;
    }
    session.SetLink(&link);
    return true;
}

bool UnitExchange::Run(Operation operation, DeviceSession::BackupRead backup) {
    lastOutcome.reset();
    const RunState state = RunOperationOn(
        session, link, operation, progress, [this](const TickResult& r) { OnTick(r); }, backup);
    return state == RunState::Succeeded;
}

bool UnitExchange::Keep(const PointToKeep& point, const std::string& source, std::string* reason) {
    const QString path =
        source.empty() ? QString() : QFileInfo(QString::fromStdString(source)).absoluteFilePath();
    RestoreDetails details{session.UnitTexts().versionText, session.UnitTexts().buildDateText,
                           path.toStdString()};
    details.unitInfo = session.UnitInfo();
    HistoryStore store;
    const HistoryStore::AddResult added =
        store.Add(point.bytes, point.kind, details, QDateTime::currentMSecsSinceEpoch());
    if (!added.ok) {
        std::cerr << "orna5ctl: the " << RestoreKindName(point.kind)
                  << " restore point could not be kept: " << added.reason.toStdString() << '\n';
        if (reason) {
            *reason = added.reason.toStdString();
        }
    }
    return added.ok;
}

void UnitExchange::OnTick(const TickResult& result) {
    if (result.ended) {
        lastOutcome = result.ended->outcome;
    }
    for (const PointToKeep& point : PointsToKeep(result, session)) {
        if (point.backup) {
            std::string reason;
            if (!Keep(point, {}, &reason)) {
                backupFailure = reason.empty() ? "unknown reason" : reason;
                session.BackupNotKept(); // the unit stays untouched
                continue;
            }
            backupKept = true;
            if (onBackupKept) {
                onBackupKept(point.bytes);
            }
            session.BackupKept();
        } else if (point.kind == RestoreKind::Read && holdReadPoint) {
            heldReadPoint = point;
        } else if (std::string reason; Keep(point, sourcePath, &reason)) {
            session.PointKept();
        } else {
            pointFailures.push_back(std::string("the ") + RestoreKindName(point.kind) +
                                    " restore point could not be kept: " + reason);
        }
    }
}

void PrintVerifyDifferences(std::ostream& out, const std::vector<ParameterDifference>& found) {
    for (const ParameterDifference& d : found) {
        out << DifferenceLine(d) << '\n';
    }
}

bool FileOverUnit(const std::string& text, const ParameterImage& unitBytes, ParameterImage& out) {
    ParameterImage over = unitBytes;
    std::istringstream in(text);
    if (!ReadParameterFile(in, over)) {
        return false;
    }
    // The reader keeps the unit's own "on" where the file says 1.
    NormaliseImage(over);
    out = over;
    return true;
}

} // namespace orna5::cli
