#pragma once

// Data logs of made-up rides for the pull tests: the rpm integrated from a
// known rise rate, rows at a chosen spacing with deterministic noise, in
// the format the window and orna5ctl write.

#include "files/LogTime.h"
#include "files/MonitorLog.h"
#include "params/MonitorFrame.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace orna5::test {

// rpm per second at an engine speed.
using RateCurve = std::function<double(double rpm)>;

// A torque-like curve: rising to its peak at 8500 rpm, falling beyond.
inline RateCurve TorqueLike(double peak) {
    return [peak](double rpm) {
        const double x = (rpm - 8500) / 6000;
        return peak * (1 - 0.5 * x * x);
    };
}

class RideLog {
public:
    RideLog(double rowSeconds, double noiseRpm, const ParameterImage& image = {})
        : step(rowSeconds), noise(noiseRpm) {
        std::ostringstream header;
        WriteLogHeader(header, MakeLogHeader(image, "ORN12", "ride.ign"));
        text = header.str();
        ParseLogTime("2026-06-01T10:00:00.000+02:00", time);
    }

    // Rows at a steady rpm for `seconds`.
    RideLog& Hold(double seconds, double at, int tps) {
        rpm = at;
        for (double t = 0; t < seconds - 1e-9; t += step) {
            Row(tps);
        }
        return *this;
    }
    // Full throttle, the rpm rising by `rate` until it reaches `to`.
    RideLog& Pull(double to, const RateCurve& rate, int tps = 100) {
        while (rpm < to) {
            Row(tps);
            // Fourth-order steps of a millisecond between the rows.
            for (double t = 0; t < step - 1e-9; t += 0.001) {
                const double h = 0.001;
                const double k1 = rate(rpm);
                const double k2 = rate(rpm + h / 2 * k1);
                const double k3 = rate(rpm + h / 2 * k2);
                const double k4 = rate(rpm + h * k3);
                rpm += h / 6 * (k1 + 2 * k2 + 2 * k3 + k4);
            }
        }
        return *this;
    }
    // The rpm moving straight to `to` over `seconds` (a shift, a roll-off).
    RideLog& Move(double to, double seconds, int tps) {
        const double from = rpm;
        for (double t = 0; t < seconds - 1e-9; t += step) {
            rpm = from + (to - from) * t / seconds;
            Row(tps);
        }
        rpm = to;
        return *this;
    }
    // No rows for `seconds`.
    RideLog& Gap(double seconds) {
        time.millis += std::llround(seconds * 1000);
        return *this;
    }
    RideLog& Append(const std::string& lines) {
        text += lines;
        return *this;
    }

    const std::string& Text() const { return text; }

private:
    // Deterministic noise within +-1.
    double Noise() {
        std::uint32_t x = ++rows * 2654435761u + 12345u;
        x ^= x >> 13;
        x *= 0x5bd1e995u;
        x ^= x >> 15;
        return static_cast<double>(x % 20001) / 10000 - 1;
    }
    void Row(int tps) {
        std::uint8_t frame[102] = {};
        frame[monitorField::protocolVersion] = 54;
        const double shown = std::round(rpm + noise * Noise());
        PutFrameWord(frame, monitorField::rpm, static_cast<std::uint16_t>(std::max(0.0, shown)));
        frame[monitorField::tpsPercent] = static_cast<std::uint8_t>(tps);
        text += LogRow(frame, FormatLogTime(time)) + '\n';
        time.millis += std::llround(step * 1000);
    }

    double step;
    double noise;
    double rpm = 0;
    std::uint32_t rows = 0;
    LogTime time;
    std::string text;
};

} // namespace orna5::test
