#include "params/NormaliseImage.h"

namespace orna5 {

namespace {

// Lifts every point into lo(i)..hi(i) and then makes the axis strictly
// increasing. With the bounds i + 3 and i + 191 the lift never passes 200, so
// the byte cannot wrap.
void ClampAxis(ParameterImage& image, std::size_t first) {
    for (std::size_t i = 0; i < kAxisPoints; ++i) {
        auto& point = image[first + i];
        const auto low = static_cast<std::uint8_t>(i + 3);
        const auto high = static_cast<std::uint8_t>(i + 191);
        if (point < low) {
            point = low;
        }
        if (point > high) {
            point = high;
        }
    }
}

void OrderAxis(ParameterImage& image, std::size_t first) {
    for (std::size_t i = 1; i < kAxisPoints; ++i) {
        const std::uint8_t left = image[first + i - 1];
        if (image[first + i] <= left) {
            image[first + i] = static_cast<std::uint8_t>(left + 1);
        }
    }
}

} // namespace

void NormaliseImage(ParameterImage& image, std::uint8_t& languageIndex,
                    std::uint8_t& comPortIndex) {
    ClampAxis(image, field::mapRpm);
    OrderAxis(image, field::mapRpm);

    if (image[field::tpsZeroMv] > 250) {
        image[field::tpsZeroMv] = 250;
    }
    if (image[field::tpsFullMv] > 250) {
        image[field::tpsFullMv] = 250;
    }

    ClampAxis(image, field::servoRpm);
    OrderAxis(image, field::servoRpm);

    if (languageIndex > 3) {
        languageIndex = 0;
    }
    if (comPortIndex > 20) {
        comPortIndex = 0;
    }

    const std::uint8_t method = image[field::syncMethod];
    if (method == 0) {
        image[field::lobeCount] = 1;
    }
    const std::uint8_t lobes = image[field::lobeCount];
    // Only the single-lobe and the two-pick-up methods read a second pick-up.
    const bool secondPickup = method == 0 || method == 4;
    for (std::size_t channel = 0; channel < kChannels; ++channel) {
        if (image[field::maxAdvanceLobe + channel] > lobes) {
            image[field::maxAdvanceLobe + channel] = lobes;
        }
        if (image[field::startAdvanceLobe + channel] > lobes) {
            image[field::startAdvanceLobe + channel] = lobes;
        }
        if (!secondPickup) {
            image[field::maxAdvancePickup2 + channel] = 0;
            image[field::startAdvancePickup2 + channel] = 0;
        }
    }

    if (image[field::outputCount] >= 4) {
        image[field::outputCount] = 4;
    }
}

void NormaliseImage(ParameterImage& image) {
    std::uint8_t languageIndex = 0;
    std::uint8_t comPortIndex = 0;
    NormaliseImage(image, languageIndex, comPortIndex);
}

} // namespace orna5
