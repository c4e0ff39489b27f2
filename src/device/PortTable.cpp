#include "device/PortTable.h"

#include <cctype>

namespace orna5 {

namespace {

struct DeviceFamily {
    int firstNumber;
    int count;
    const char* prefix;
};

// Com 1..4 the on-board UARTs, Com 5..12 USB serial adapters, Com 13..21
// CDC-ACM devices.
constexpr DeviceFamily kFamilies[] = {
    {1, 4, "/dev/ttyS"},
    {5, 8, "/dev/ttyUSB"},
    {13, 9, "/dev/ttyACM"},
};

} // namespace

PortTable::PortTable(std::map<int, std::string> givenOverrides) {
    for (auto& [number, device] : givenOverrides) {
        if (number >= kFirstNumber && number <= kLastNumber && !device.empty())
            overrides[number] = std::move(device);
    }
}

std::string PortTable::DefaultDevice(int number) {
    for (const DeviceFamily& family : kFamilies) {
        if (number >= family.firstNumber && number < family.firstNumber + family.count)
            return family.prefix + std::to_string(number - family.firstNumber);
    }
    return {};
}

PortTable PortTable::FromKeys(const std::function<std::string(const std::string& key)>& valueOf) {
    std::map<int, std::string> found;
    for (int n = kFirstNumber; n <= kLastNumber; ++n)
        found[n] = valueOf("Com" + std::to_string(n));
    return PortTable(std::move(found));
}

std::string PortTable::Device(int number) const {
    auto it = overrides.find(number);
    if (it != overrides.end())
        return it->second;
    return DefaultDevice(number);
}

namespace {

// "COM" in any letter case, as the menu's "Com 3" invites people to type it.
bool IsComPrefix(const std::string& text) {
    if (text.size() < 3)
        return false;
    for (std::size_t i = 0; i < 3; ++i) {
        if (std::toupper(static_cast<unsigned char>(text[i])) != "COM"[i])
            return false;
    }
    return true;
}

} // namespace

std::optional<int> ParseComName(const std::string& text) {
    if (text.size() < 4 || text.size() > 5)
        return std::nullopt;
    if (!IsComPrefix(text))
        return std::nullopt;
    int number = 0;
    for (std::size_t i = 3; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return std::nullopt;
        number = number * 10 + (text[i] - '0');
    }
    if (text[3] == '0' || number < PortTable::kFirstNumber || number > PortTable::kLastNumber)
        return std::nullopt;
    return number;
}

std::optional<std::string> ResolvePortArgument(const std::string& value, const PortTable& table) {
    if (value.empty())
        return std::nullopt;
    if (IsComPrefix(value)) {
        if (auto number = ParseComName(value))
            return table.Device(*number);
        // "COM0", "COM22", "COMx": a COM name that names no port
        if (value.size() == 3 || std::isdigit(static_cast<unsigned char>(value[3])))
            return std::nullopt;
    }
    if (value.find('/') == std::string::npos)
        return "/dev/" + value;
    return value;
}

} // namespace orna5
