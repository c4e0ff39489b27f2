#pragma once

#include "params/ParameterImage.h"

#include <cstddef>
#include <cstdint>

namespace orna5 {

// How a field of the image is shown to the user: the figure is
// (byte + bias) * scale in `unit`, edited within minimum..maximum in steps
// of `scale`. A field of several like bytes (the map's rpm axis, the servo
// curve) is one row with its first offset and its count.
struct FieldScale {
    std::size_t offset;
    std::size_t count;
    long scale;
    long bias;
    long minimum;
    long maximum;
    const char* unit; // as the report writes it; "" for a plain number
};

namespace fieldScale {
// Miscellaneous page.
inline constexpr FieldScale limiter{field::limiterRpm, 1, 100, 0, 999, 25000, "rpm"};
inline constexpr FieldScale shiftLight{field::shiftLightRpm, 1, 100, 0, 1000, 25000, "rpm"};
inline constexpr FieldScale clutchTime{field::clutchTime, 1, 10, 0, 0, 2500, "ms"};
inline constexpr FieldScale clutchPause{field::clutchPause, 1, 10, 0, 0, 2500, "ms"};
// The throttle sensor's closed and open voltages; the open one is stored in
// steps of 10 mV above 2500 mV.
inline constexpr FieldScale tpsZero{field::tpsZeroMv, 1, 10, 0, 250, 2500, "mV"};
inline constexpr FieldScale tpsFull{field::tpsFullMv, 1, 10, 250, 2500, 4750, "mV"};
// Bike page.
inline constexpr FieldScale tachoCorrection{field::tachoCorrection, 1, 1, -100, -60, 60, "%"};
// Advance page: the map's rpm axis (its first point may go lower, see the
// layout) and the advance in degrees.
inline constexpr FieldScale mapRpm{field::mapRpm, kAxisPoints, 100, 0, 300, 20100, "rpm"};
inline constexpr FieldScale baseAdvance{field::baseAdvance, 1, 1, 0, 0, 40, "deg"};
inline constexpr FieldScale mapAdvance{
    field::advanceMap, kMapRows* kAxisPoints, 1, 0, 0, 60, "deg"};
// Servo page.
inline constexpr FieldScale servoRpm{field::servoRpm, kAxisPoints, 100, 0, 300, 20100, "rpm"};
inline constexpr FieldScale servoMv{field::servoMv, kAxisPoints, 20, 0, 20, 5000, "mV"};
inline constexpr FieldScale servoHysteresis{field::servoHysteresis, 1, 5, 0, 0, 1275, "mV"};
} // namespace fieldScale

// Every row above, for lookups by offset.
const FieldScale* const* FieldTable(std::size_t& rows);

// The row that holds `offset`, or null for a byte shown as it is stored
// (lobe numbers, flags, list choices).
const FieldScale* FieldAt(std::size_t offset);

// The figure a byte shows.
constexpr long Shown(const FieldScale& f, std::uint8_t byte) {
    return (byte + f.bias) * f.scale;
}

// The byte a figure stores, before it is cut to 8 bits; figures between two
// steps go down to the step below.
constexpr long Stored(const FieldScale& f, long figure) {
    return figure / f.scale - f.bias;
}

} // namespace orna5
