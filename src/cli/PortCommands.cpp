#include "cli/PortCommands.h"

#include "cli/CliCommon.h"
#include "device/ModemManagerWatch.h"
#include "device/PortDiscovery.h"
#include "device/PortScan.h"
#include "files/ProfileFile.h"

#include <QDir>
#include <QEventLoop>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <iostream>
#include <map>

namespace orna5::cli {

namespace {

constexpr int kTickMs = 55;

// Runs the scan on the 55 ms tick, as the window does.
void RunScan(PortScan& scan) {
    if (scan.Devices().empty())
        return;
    QEventLoop loop;
    QTimer timer;
    timer.setInterval(kTickMs);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (!scan.Tick()) {
            timer.stop();
            loop.quit();
        }
    });
    timer.start();
    loop.exec();
}

std::string PresenceWord(PortPresence presence) {
    switch (presence) {
    case PortPresence::Present:
        return "present";
    case PortPresence::NoPermission:
        return "no permission";
    default:
        return "not present";
    }
}

std::string ProbeWords(const ProbeResult& result) {
    switch (result.answer) {
    case ProbeAnswer::Answered:
        if (!result.versionText.empty())
            return "answers " + result.versionText;
        if (result.protocolVersion >= 0)
            return "answers (protocol " + std::to_string(result.protocolVersion) + ")";
        return "answers";
    case ProbeAnswer::NoAnswer:
        return "no answer";
    case ProbeAnswer::Busy:
        return "in use by another program";
    default:
        return "cannot open: " + result.reason;
    }
}

// The Com item a device is, for the messages: "/dev/ttyUSB0 (Com 5)".
std::string Named(const PortTable& table, const std::string& device) {
    const std::string real = PortDiscovery::RealPath(device);
    for (int n = 1; n <= PortDiscovery::kComItems; ++n)
        if (PortDiscovery::RealPath(table.Device(n)) == real)
            return device + " (Com " + std::to_string(n) + ")";
    return device;
}

} // namespace

PortTable LoadPortTable() {
    const QString dir =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/orna5";
    ProfileFile settings;
    settings.Load(QDir(dir).filePath("orna5.ini").toStdString()); // none: the plain table
    return PortTable::FromKeys(
        [&settings](const std::string& key) { return settings.ReadString("PORTS", key, ""); });
}

std::optional<std::string> FindUnitPort() {
    const PortDiscovery discovery(LoadPortTable());
    PortScan scan(discovery.ScanOrder());
    RunScan(scan);
    if (const ProbeResult* found = scan.Found()) {
        std::cerr << "orna5ctl: using " << Named(discovery.Table(), found->device)
                  << ", the first device that answered" << std::endl;
        return found->device;
    }
    if (scan.Results().empty()) {
        std::cerr << "orna5ctl: no unit answered: no serial device is present\n";
        return std::nullopt;
    }
    std::cerr << "orna5ctl: no unit answered; devices tried:\n";
    for (const ProbeResult& result : scan.Results())
        std::cerr << "  " << result.device << "  " << ProbeWords(result) << '\n';
    return std::nullopt;
}

int CommandPorts(int argc, char** argv) {
    Arguments args;
    if (!ParseArguments(argc, argv, 2, {}, args, {"--probe"}))
        return kExitUsage;
    if (!args.positional.empty())
        return Usage("usage: orna5ctl ports [--probe]");
    const bool probe = args.Flag("--probe");
    const PortDiscovery discovery(LoadPortTable());

    struct Line {
        std::string name, device, presence, description;
    };
    std::vector<Line> lines;
    std::vector<std::string> reals;
    for (const ComPortEntry& entry : discovery.ComEntries()) {
        lines.push_back({"Com " + std::to_string(entry.number), entry.device,
                         PresenceWord(entry.presence), entry.description});
        reals.push_back(PortDiscovery::RealPath(entry.device));
    }
    // Adapters no Com item reaches, by their stable names.
    for (const std::string& link : discovery.ByIdLinks()) {
        const std::string real = PortDiscovery::RealPath(link);
        if (std::find(reals.begin(), reals.end(), real) != reals.end())
            continue;
        lines.push_back({"by-id", link, PresenceWord(PortDiscovery::PresenceOf(link)),
                         discovery.DescriptionOf(link)});
        reals.push_back(real);
    }

    std::map<std::string, ProbeResult> probed; // by real path
    if (probe) {
        PortScan scan(discovery.ScanOrder(), {false, true});
        RunScan(scan);
        for (const ProbeResult& result : scan.Results())
            probed[PortDiscovery::RealPath(result.device)] = result;
    }

    std::size_t deviceWidth = 0;
    std::size_t presenceWidth = 0;
    for (const Line& line : lines) {
        deviceWidth = std::max(deviceWidth, line.device.size());
        presenceWidth = std::max(presenceWidth, line.presence.size());
    }
    bool answered = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        std::string text =
            line.name + std::string(7 - std::min<std::size_t>(line.name.size(), 6), ' ');
        text += line.device + std::string(deviceWidth - line.device.size() + 2, ' ');
        text += line.presence;
        if (probe) {
            const auto it = probed.find(reals[i]);
            if (it != probed.end()) {
                text += std::string(presenceWidth - line.presence.size() + 2, ' ');
                text += ProbeWords(it->second);
                answered = answered || it->second.answer == ProbeAnswer::Answered;
            }
        }
        if (!line.description.empty())
            text += "  " + line.description;
        std::cout << text << '\n';
    }
    std::cout.flush();
    // ModemManager probes a new adapter with modem commands and holds it
    // meanwhile; the package's udev rule excludes the common chips.
    if (ModemManagerRuns()) {
        for (const Line& line : lines)
            if (line.presence == PresenceWord(PortPresence::Present) &&
                !ExcludedFromModemManager(line.device))
                std::cerr << "orna5ctl: ModemManager runs and may probe " << line.device
                          << " (not excluded from it); it can disturb the unit and hold the port. "
                             "The udev rule 70-orna5-serial.rules excludes the common adapters; "
                             "see the manual.\n";
    }
    return !probe || answered ? kExitOk : kExitFailed;
}

} // namespace orna5::cli
