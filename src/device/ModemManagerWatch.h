#pragma once

#include <string>
#include <string_view>

namespace orna5 {

// ModemManager sends modem commands to serial devices it finds, the unit's
// adapter among them, and holds the port while it does, unless the device's
// udev properties tell it to leave the device alone.

// Whether a process named ModemManager runs; `procRoot` is where the
// process table is (/proc).
bool ModemManagerRuns(const std::string& procRoot = "/proc");

// Whether udev's record of a device (a file of /run/udev/data) tells
// ModemManager to leave it alone.
bool UdevRecordIgnoresModemManager(std::string_view record);

// The same for a character device by its path, from udev's records under
// `udevData`; false where there is no record.
bool ExcludedFromModemManager(const std::string& device,
                              const std::string& udevData = "/run/udev/data");

} // namespace orna5
