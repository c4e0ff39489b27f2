#include "device/MarkLivePosition.h"

namespace orna5 {

namespace {

// First index 0..9 with axis[i] > r, or 10.
std::size_t FirstAbove(const ParameterImage& image, std::size_t axis, unsigned r) {
    std::size_t i = 0;
    while (i < kAxisPoints && image[axis + i] <= r) {
        ++i;
    }
    return i;
}

// The axis point nearest to r above the first point; ties go to the lower one.
std::uint8_t Nearest(const ParameterImage& image, std::size_t axis, std::size_t i, unsigned r) {
    if (i >= kAxisPoints) {
        return 9;
    }
    const unsigned lower = image[axis + i - 1];
    const unsigned upper = image[axis + i];
    return static_cast<std::uint8_t>(lower + upper >= 2 * r ? i - 1 : i);
}

} // namespace

LivePosition MarkLivePosition(std::uint16_t liveRpm, std::uint8_t tpsPercent,
                              std::uint16_t tpsMillivolts, const ParameterImage& image,
                              bool tpsRowsUsed) {
    LivePosition pos;
    pos.tpsMillivolts = tpsMillivolts;
    // The axes hold rpm / 100 in one byte; the live figure is cut to the same
    // steps but kept whole, so 25 600 rpm and more (a glitched reading) lies
    // above every point and marks the last column, not a wrapped one.
    const unsigned r = liveRpm / 100u;

    const std::size_t mapI = FirstAbove(image, field::mapRpm, r);
    if (mapI == 0) {
        pos.belowMapAxis = true;
        pos.mapRpmColumn = 0;
    } else {
        pos.belowMapAxis = false;
        pos.mapRpmColumn = Nearest(image, field::mapRpm, mapI, r);
    }

    const std::size_t servoI = FirstAbove(image, field::servoRpm, r);
    pos.servoRpmColumn = servoI == 0 ? 0 : Nearest(image, field::servoRpm, servoI, r);

    if (tpsRowsUsed) {
        std::size_t b = 1;
        while (b < TpsBreakpoints.size() && TpsBreakpoints[b] <= tpsPercent) {
            ++b;
        }
        if (b >= TpsBreakpoints.size()) {
            pos.tpsRow = 9;
        } else {
            const unsigned sum = TpsBreakpoints[b - 1] + TpsBreakpoints[b];
            pos.tpsRow = static_cast<std::uint8_t>(sum >= 2u * tpsPercent ? b - 1 : b);
        }
    } else {
        pos.tpsRow = 9;
    }
    return pos;
}

} // namespace orna5
