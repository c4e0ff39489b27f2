#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace orna5 {

// The program's copy of the unit's parameter memory. Bytes 0..199 travel to
// the unit as two 100-byte pages; 200..206 stay on this computer. Every field
// is one byte with a fixed scale, so the image is plain bytes addressed by the
// offsets below; there are no accessors.
constexpr std::size_t kImageSize = 207;
constexpr std::size_t kTransferSize = 200;
constexpr std::size_t kPageSize = 100;

// Zero at creation, however it is declared: a byte that no rule sets must not
// carry whatever the memory held.
struct ParameterImage : std::array<std::uint8_t, kImageSize> {
    ParameterImage() : std::array<std::uint8_t, kImageSize>{} {}
};

namespace field {
constexpr std::size_t bikeCode = 0;
constexpr std::size_t reserved1 = 1;
constexpr std::size_t syncMethod = 2;
constexpr std::size_t lobeCount = 3;
constexpr std::size_t outputCount = 4;
constexpr std::size_t lobesPerRevCode = 5;
constexpr std::size_t invertPickup1 = 6;
constexpr std::size_t shiftLightRpm = 7;
constexpr std::size_t invertPickup2 = 8;
constexpr std::size_t baseAdvance = 9;
constexpr std::size_t revsWithoutIgnition = 10;
constexpr std::size_t tachoPulsesPerRev = 11;
constexpr std::size_t tachoCorrection = 12;
constexpr std::size_t limiterRpm = 13;
constexpr std::size_t excitationLong = 15;
constexpr std::size_t servoEnable = 16;
constexpr std::size_t servoHysteresis = 17;
constexpr std::size_t tpsZeroMv = 20;
constexpr std::size_t tpsFullMv = 21;
constexpr std::size_t mapUsesTps = 22;
constexpr std::size_t compensation = 23; // 4 bytes
constexpr std::size_t clutchTime = 27;
constexpr std::size_t clutchPause = 28;
constexpr std::size_t maxAdvanceLobe = 30;      // 4 bytes, channel 1..4
constexpr std::size_t startAdvanceLobe = 34;    // 4 bytes
constexpr std::size_t maxAdvanceEdge2 = 38;     // 4 bytes
constexpr std::size_t startAdvanceEdge2 = 42;   // 4 bytes
constexpr std::size_t maxAdvancePickup2 = 46;   // 4 bytes
constexpr std::size_t startAdvancePickup2 = 50; // 4 bytes
constexpr std::size_t input1Function = 54;
constexpr std::size_t input2Function = 55;
constexpr std::size_t neutralSideStandInputs = 56;
constexpr std::size_t servoRpm = 70;    // 10 bytes, rpm / 100
constexpr std::size_t servoMv = 80;     // 10 bytes, mV / 20
constexpr std::size_t mapRpm = 90;      // 10 bytes, rpm / 100
constexpr std::size_t advanceMap = 100; // 10 x 10 bytes: 100 + 10 * row + column
} // namespace field

constexpr std::size_t kChannels = 4;
constexpr std::size_t kAxisPoints = 10;
constexpr std::size_t kMapRows = 10;

// Offset of the advance-map cell of throttle row r and rpm column c.
constexpr std::size_t MapCell(std::size_t row, std::size_t column) {
    return field::advanceMap + 10 * row + column;
}

} // namespace orna5
