#pragma once

#include <cstddef>
#include <cstdint>

namespace orna5 {

// Byte offsets of the unit's live-data frame (code 0xB0). 16-bit values are
// least significant byte first.
namespace monitorField {
constexpr std::size_t code = 0;
constexpr std::size_t rpm = 1;           // 16-bit
constexpr std::size_t tpsCounts = 3;     // 16-bit, 0..1023 for 0..5000 mV
constexpr std::size_t supplyMv = 5;      // 16-bit
constexpr std::size_t servoMeasured = 7; // 16-bit counts
constexpr std::size_t servoDesired = 9;  // 16-bit counts
constexpr std::size_t programmings = 11; // 16-bit
constexpr std::size_t testValues = 13;   // 8 x 16-bit
constexpr std::size_t killSwitch = 37;
constexpr std::size_t clutchMaster = 40;
constexpr std::size_t tpsPercent = 41; // > 100: sensor error
constexpr std::size_t shiftLight = 42;
constexpr std::size_t pickupCount1 = 44;
constexpr std::size_t pickupCount2 = 45;
constexpr std::size_t pickupValue1 = 46;
constexpr std::size_t pickupValue2 = 47;
constexpr std::size_t pickup1Signal = 48;
constexpr std::size_t pickup2Signal = 49;
constexpr std::size_t channelAdvance = 50; // 4 bytes, degrees + 100; 0 = channel unused
constexpr std::size_t channelLimit = 54;   // 4 x 16-bit degrees; 0 = no limit
constexpr std::size_t rpmAlarmRed = 62;
constexpr std::size_t engineOffBlocking = 63;
constexpr std::size_t rpmAlarmYellow = 64;
constexpr std::size_t servoOk = 65;
constexpr std::size_t input1Grounded = 66;
constexpr std::size_t input2Grounded = 67;
constexpr std::size_t savingCount = 95; // 16-bit, full scale 414
constexpr std::size_t storedDataError = 99;
constexpr std::size_t protocolVersion = 100;
} // namespace monitorField

// Full scale of the unit's save-in-progress count.
constexpr int kSavingFullScale = 414;

// A 16-bit field of a frame.
inline std::uint16_t FrameWord(const std::uint8_t* frame, std::size_t offset) {
    return static_cast<std::uint16_t>(frame[offset] | (frame[offset + 1] << 8));
}

// Stores a 16-bit field, least significant byte first.
inline void PutFrameWord(std::uint8_t* frame, std::size_t offset, std::uint16_t value) {
    frame[offset] = static_cast<std::uint8_t>(value & 0xFF);
    frame[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

// Converter counts to millivolts, truncated; limited to 16 bits.
std::uint16_t CountsToMillivolts(std::uint16_t counts);

} // namespace orna5
