// The field table against the conversions the form, the report, the step
// commands and the emulator wrote out by hand before it.

#include "params/FieldTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iterator>

namespace orna5 {
namespace {

struct Conversion {
    const char* name;
    const FieldScale& scale;
    std::function<long(std::uint8_t)> shown;
    std::function<std::uint8_t(long)> stored;
    long minimum, maximum; // the spin's range
    const char* unit;
};

std::uint8_t Low(long value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

namespace s = fieldScale;

const Conversion kConversions[] = {
    {"limiter", s::limiter, [](std::uint8_t b) { return b * 100L; },
     [](long v) { return Low(v / 100); }, 999, 25000, "rpm"},
    {"shift light", s::shiftLight, [](std::uint8_t b) { return b * 100L; },
     [](long v) { return Low(v / 100); }, 1000, 25000, "rpm"},
    {"clutch time", s::clutchTime, [](std::uint8_t b) { return b * 10L; },
     [](long v) { return Low(v / 10); }, 0, 2500, "ms"},
    {"clutch pause", s::clutchPause, [](std::uint8_t b) { return b * 10L; },
     [](long v) { return Low(v / 10); }, 0, 2500, "ms"},
    {"tps 0", s::tpsZero, [](std::uint8_t b) { return b * 10L; },
     [](long v) { return Low(v / 10); }, 250, 2500, "mV"},
    {"tps 100", s::tpsFull, [](std::uint8_t b) { return (b + 250L) * 10L; },
     [](long v) { return Low(v / 10 + 6); }, 2500, 4750, "mV"},
    {"tacho correction", s::tachoCorrection, [](std::uint8_t b) { return b - 100L; },
     [](long v) { return Low(v + 100); }, -60, 60, "%"},
    {"map rpm", s::mapRpm, [](std::uint8_t b) { return b * 100L; },
     [](long v) { return Low(v / 100); }, 300, 20100, "rpm"},
    {"base advance", s::baseAdvance, [](std::uint8_t b) { return long{b}; },
     [](long v) { return Low(v); }, 0, 40, "deg"},
    {"map advance", s::mapAdvance, [](std::uint8_t b) { return long{b}; },
     [](long v) { return Low(v); }, 0, 60, "deg"},
    {"servo rpm", s::servoRpm, [](std::uint8_t b) { return b * 100L; },
     [](long v) { return Low(v / 100); }, 300, 20100, "rpm"},
    {"servo mV", s::servoMv, [](std::uint8_t b) { return b * 20L; },
     [](long v) { return Low(v / 20); }, 20, 5000, "mV"},
    {"servo hysteresis", s::servoHysteresis, [](std::uint8_t b) { return b * 5L; },
     [](long v) { return Low(v / 5); }, 0, 1275, "mV"},
};

TEST(FieldTable, GivesTheConversionsItReplaces) {
    std::size_t rows = 0;
    const FieldScale* const* table = FieldTable(rows);
    EXPECT_EQ(rows, std::size(kConversions));
    for (const Conversion& c : kConversions) {
        SCOPED_TRACE(c.name);
        for (int b = 0; b < 256; ++b) {
            const auto byte = static_cast<std::uint8_t>(b);
            ASSERT_EQ(Shown(c.scale, byte), c.shown(byte)) << b;
        }
        for (long v = c.minimum; v <= c.maximum; ++v) {
            ASSERT_EQ(Low(Stored(c.scale, v)), c.stored(v)) << v;
        }
        EXPECT_EQ(c.scale.minimum, c.minimum);
        EXPECT_EQ(c.scale.maximum, c.maximum);
        EXPECT_STREQ(c.scale.unit, c.unit);
        for (std::size_t i = 0; i < c.scale.count; ++i) {
            EXPECT_EQ(FieldAt(c.scale.offset + i), &c.scale) << i;
        }
        EXPECT_NE(std::find(table, table + rows, &c.scale), table + rows);
    }
    EXPECT_EQ(FieldAt(field::bikeCode), nullptr);
}

} // namespace
} // namespace orna5
