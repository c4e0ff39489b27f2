#include "device/PortDiscovery.h"

#include <QSerialPortInfo>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orna5 {

namespace {

std::vector<AdapterInfo> SystemAdapters() {
    std::vector<AdapterInfo> found;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        found.push_back({info.systemLocation().toStdString(), info.description().toStdString(),
                         info.manufacturer().toStdString(), info.serialNumber().toStdString()});
    return found;
}

const AdapterInfo* FindAdapter(const std::vector<AdapterInfo>& adapters, const std::string& real) {
    for (const AdapterInfo& info : adapters)
        if (PortDiscovery::RealPath(info.device) == real)
            return &info;
    return nullptr;
}
// What it returns points into the list, so the list must outlive it.
const AdapterInfo* FindAdapter(std::vector<AdapterInfo>&&, const std::string&) = delete;

} // namespace

PortDiscovery::PortDiscovery(PortTable portTable, AdapterSource adapterSource, std::string byIdPath)
    : table(std::move(portTable)), adapters(std::move(adapterSource)),
      byIdFolder(std::move(byIdPath)) {}

std::vector<AdapterInfo> PortDiscovery::Adapters() const {
    return adapters ? adapters() : SystemAdapters();
}

PortPresence PortDiscovery::PresenceOf(const std::string& device) {
    struct stat st {};
    if (device.empty() || ::stat(device.c_str(), &st) != 0)
        return PortPresence::NotPresent;
    if (::access(device.c_str(), R_OK | W_OK) != 0 && (errno == EACCES || errno == EPERM))
        return PortPresence::NoPermission;
    return PortPresence::Present;
}

std::string PortDiscovery::RealPath(const std::string& device) {
    char buffer[PATH_MAX];
    if (!device.empty() && ::realpath(device.c_str(), buffer))
        return buffer;
    return device;
}

std::string PortDiscovery::Describe(const AdapterInfo& info) {
    std::string text;
    for (const std::string* part : {&info.description, &info.manufacturer, &info.serialNumber}) {
        if (part->empty() || text.find(*part) != std::string::npos)
            continue;
        text += (text.empty() ? "" : ", ") + *part;
    }
    return text;
}

std::string PortDiscovery::DescriptionOf(const std::string& device) const {
    // The list is kept here: what FindAdapter returns points into it.
    const std::vector<AdapterInfo> known = Adapters();
    const AdapterInfo* info = FindAdapter(known, RealPath(device));
    return info ? Describe(*info) : std::string();
}

std::vector<ComPortEntry> PortDiscovery::ComEntries() const {
    const std::vector<AdapterInfo> known = Adapters();
    std::vector<ComPortEntry> entries;
    for (int n = 1; n <= kComItems; ++n) {
        ComPortEntry entry;
        entry.number = n;
        entry.device = table.Device(n);
        entry.presence = PresenceOf(entry.device);
        if (entry.presence != PortPresence::NotPresent)
            if (const AdapterInfo* info = FindAdapter(known, RealPath(entry.device)))
                entry.description = Describe(*info);
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<std::string> PortDiscovery::ByIdLinks() const {
    std::vector<std::string> links;
    DIR* dir = ::opendir(byIdFolder.c_str());
    if (!dir)
        return links;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string path = byIdFolder + "/" + name;
        if (PresenceOf(path) != PortPresence::NotPresent)
            links.push_back(path);
    }
    ::closedir(dir);
    std::sort(links.begin(), links.end());
    return links;
}

std::vector<std::string> PortDiscovery::ScanOrder(const std::string& first,
                                                  const std::string& last) const {
    std::vector<std::string> order;
    std::vector<std::string> seen; // real paths
    auto add = [&](const std::string& device) {
        if (device.empty() || PresenceOf(device) == PortPresence::NotPresent)
            return;
        const std::string real = RealPath(device);
        if (std::find(seen.begin(), seen.end(), real) != seen.end())
            return;
        seen.push_back(real);
        order.push_back(device);
    };
    add(first);
    for (int n = 1; n <= kComItems; ++n)
        add(table.Device(n));
    for (const std::string& link : ByIdLinks())
        add(link);
    add(last);
    return order;
}

std::vector<std::string> PortDiscovery::PresentDevices(const std::string& extra) const {
    std::vector<std::string> present;
    for (const std::string& device : ScanOrder(extra))
        present.push_back(RealPath(device));
    for (const AdapterInfo& info : Adapters()) {
        const std::string real = RealPath(info.device);
        if (PresenceOf(real) != PortPresence::NotPresent &&
            std::find(present.begin(), present.end(), real) == present.end())
            present.push_back(real);
    }
    std::sort(present.begin(), present.end());
    return present;
}

} // namespace orna5
