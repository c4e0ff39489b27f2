#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace orna5 {

// The unit's answer to a page-0 command: who it is and when its program was
// built. Offsets are payload offsets (frame byte = offset + 1).
using UnitInfoBlock = std::array<std::uint8_t, 100>;

namespace unitInfo {
constexpr std::size_t versionPrefix = 0; // 3 characters
constexpr std::size_t versionNumber = 3;
constexpr std::size_t buildDay = 4;
constexpr std::size_t buildMonthCode = 5;
constexpr std::size_t buildYear = 6; // year - 2000
constexpr std::size_t buildHour = 7;
constexpr std::size_t buildMinute = 8;
constexpr std::size_t protocolVersion = 10;
constexpr std::size_t longVersion = 16; // up to 30 characters, zero-ended
constexpr std::size_t longVersionSize = 30;
} // namespace unitInfo

// The texts of the unit labels on the Bike page.
struct UnitInfoTexts {
    std::string versionText;   // e.g. "ORN12" or the long version text
    std::string buildDateText; // e.g. " 7. 5.2009"
    std::string buildTimeText; // e.g. "14:05"
};

// Month 1..12 for a month code (low byte of the sum of the three letters of
// the English abbreviation), 0 for any other code.
int MonthFromCode(std::uint8_t code);

// Builds the three texts from any 100 bytes. Characters above 0x7F are taken
// as Latin-1 so that the texts are always valid UTF-8.
UnitInfoTexts BuildUnitInfoTexts(const UnitInfoBlock& block);

// Month code for a month 1..12 (for emulators and tests); 0 otherwise.
std::uint8_t MonthCode(int month);

} // namespace orna5
