#pragma once

#include "params/LivePosition.h"
#include "params/ParameterImage.h"

#include <cstdint>

namespace orna5 {

// The one-click step commands of the window, on the image alone.
//
// What the caller owes around them:
// - Advance, column and servo commands: run CopyControlsToImage before, so
//   that a pending edit in a control is not lost, and ApplyParameterChange
//   after, even when nothing moved (the controls are refreshed either way).
// - The two TPS calibration commands: no CopyControlsToImage before; run
//   ApplyParameterChange only when they return true.
//
// The advance commands normalise the image themselves with the image-only
// NormaliseImage; the language and port limits are left to the
// ApplyParameterChange that follows.
//
// Map cells stay within 0..60 and servo voltages within 1..249 (20..4980 mV):
// a value at its limit stays where it is and the others still move.

constexpr std::uint8_t kMaxAdvance = 60;
constexpr std::uint8_t kMinServoStep = 1;
constexpr std::uint8_t kMaxServoStep = 249;

// Advance -1 / +1 degree: on every cell of the map when allCells is set,
// otherwise on the live cell, which does not exist while the engine runs
// below the map's rpm axis.
void AdvanceMinus(ParameterImage& image, const LivePosition& live, bool allCells);
void AdvancePlus(ParameterImage& image, const LivePosition& live, bool allCells);

// Shift one rpm column (0..9) of the map, all ten throttle rows, by one
// degree. A column outside 0..9 changes nothing.
void ColumnDown(ParameterImage& image, int column);
void ColumnUp(ParameterImage& image, int column);

// Servo voltage -/+ one unit of 20 mV: on all ten points when allPoints is
// set, otherwise on the live servo point.
void ServoMinus(ParameterImage& image, const LivePosition& live, bool allPoints);
void ServoPlus(ParameterImage& image, const LivePosition& live, bool allPoints);

// Take the live throttle-sensor voltage as the 0 % point (accepted within
// 100..2500 mV) or the 100 % point (2500..4900 mV). Outside its range a
// command does nothing at all and returns false.
bool SetTpsZero(ParameterImage& image, std::uint16_t millivolts);
bool SetTpsFull(ParameterImage& image, std::uint16_t millivolts);

} // namespace orna5
