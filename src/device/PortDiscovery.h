#pragma once

#include "device/PortTable.h"

#include <functional>
#include <string>
#include <vector>

namespace orna5 {

// What the system says of one serial adapter it knows (USB adapters and
// built-in ports; pseudo-terminals are not among them).
struct AdapterInfo {
    std::string device; // e.g. "/dev/ttyUSB0"
    std::string description;
    std::string manufacturer;
    std::string serialNumber;
};

enum class PortPresence { Present, NotPresent, NoPermission };

// One item of the Com menu as the system sees it now.
struct ComPortEntry {
    int number = 0; // 1..20
    std::string device;
    PortPresence presence = PortPresence::NotPresent;
    // Description, manufacturer and serial number, as far as known.
    std::string description;
};

// The serial devices there are, found without opening any of them: the Com
// items' devices, the stable /dev/serial/by-id names of adapters, and what
// the system names of each. Cheap enough to run each time a menu opens.
class PortDiscovery {
public:
    static constexpr int kComItems = 20;
    using AdapterSource = std::function<std::vector<AdapterInfo>()>;

    // adapters: the system's list (QSerialPortInfo when empty); byIdFolder:
    // where the stable adapter names are.
    explicit PortDiscovery(PortTable table, AdapterSource adapters = {},
                           std::string byIdFolder = "/dev/serial/by-id");

    const PortTable& Table() const { return table; }

    // Com 1 to Com 20, each with its device and what is known of it.
    std::vector<ComPortEntry> ComEntries() const;
    // The stable adapter names, sorted; a link to nowhere is left out.
    std::vector<std::string> ByIdLinks() const;

    // The devices a scan tries, in its order: `first` (the port in use),
    // the Com items' devices, the by-id links, then `last` (the device given
    // for this run). Only devices that exist; one device reached by two names
    // is tried once, under the first name.
    std::vector<std::string> ScanOrder(const std::string& first = {},
                                       const std::string& last = {}) const;

    // Every serial device there is now, by its real path: what the watch
    // for a newly plugged adapter compares.
    std::vector<std::string> PresentDevices(const std::string& extra = {}) const;

    // "FT232R USB UART, FTDI, A12345" for a device the system knows; empty
    // otherwise.
    std::string DescriptionOf(const std::string& device) const;

    static PortPresence PresenceOf(const std::string& device);
    // The path the device is reached at after links; the path itself when it
    // does not resolve.
    static std::string RealPath(const std::string& device);

private:
    std::vector<AdapterInfo> Adapters() const;
    static std::string Describe(const AdapterInfo& info);

    PortTable table;
    AdapterSource adapters;
    std::string byIdFolder;
};

} // namespace orna5
