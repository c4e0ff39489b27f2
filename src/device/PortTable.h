#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

namespace orna5 {

// The serial ports the Com menu offers, "Com 1" to "Com 21", and the device
// each one opens. Linux has no COM numbers, so the numbers are mapped onto the
// usual device families: built-in ports first, then USB adapters, then USB
// modems and boards that show up as ACM devices. Any number can be pointed at
// another device (the settings file keeps such overrides).
class PortTable {
public:
    static constexpr int kFirstNumber = 1;
    static constexpr int kLastNumber = 21;

    PortTable() = default;
    // Overrides by port number; numbers outside 1..21 and empty paths are ignored.
    explicit PortTable(std::map<int, std::string> overrides);

    // The overrides as the settings file keeps them: valueOf("Com5") gives the
    // device set for Com 5, or an empty text for none.
    static PortTable FromKeys(const std::function<std::string(const std::string& key)>& valueOf);

    // The device of "Com n"; empty when n is outside 1..21.
    std::string Device(int number) const;
    // The device of the 0-based port index (index 0 is "Com 1").
    std::string DeviceForIndex(int index) const { return Device(index + 1); }

    // The device a number has without overrides; empty outside 1..21.
    static std::string DefaultDevice(int number);

    const std::map<int, std::string>& Overrides() const { return overrides; }

private:
    std::map<int, std::string> overrides;
};

// The port number named by "COMn" in any letter case (n 1..21); nothing for any other text.
std::optional<int> ParseComName(const std::string& text);

// The device a --port value names: "COMn"/"comn" through the table, a bare
// device name such as "ttyUSB0" under /dev, anything else as a path. Nothing
// for an empty value or a COM number outside 1..21.
std::optional<std::string> ResolvePortArgument(const std::string& value, const PortTable& table);

} // namespace orna5
