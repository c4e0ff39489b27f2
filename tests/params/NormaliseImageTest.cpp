#include "params/NormaliseImage.h"

#include <gtest/gtest.h>

#include <vector>

namespace orna5 {
namespace {

std::vector<int> Axis(const ParameterImage& image, std::size_t first) {
    return std::vector<int>(image.begin() + first, image.begin() + first + kAxisPoints);
}

void SetAxis(ParameterImage& image, std::size_t first, const std::vector<int>& values) {
    for (std::size_t i = 0; i < kAxisPoints; ++i) {
        image[first + i] = static_cast<std::uint8_t>(values[i]);
    }
}

// A plausible image: both rpm axes already ordered and inside their bounds.
ParameterImage SaneImage() {
    ParameterImage image{};
    SetAxis(image, field::mapRpm, {15, 20, 30, 40, 50, 60, 70, 80, 90, 100});
    SetAxis(image, field::servoRpm, {12, 20, 30, 40, 60, 80, 100, 120, 140, 160});
    image[field::syncMethod] = 2;
    image[field::lobeCount] = 4;
    return image;
}

struct AxisCase {
    const char* name;
    std::vector<int> input;
    std::vector<int> expected;
};

class AxisNormalisation : public ::testing::TestWithParam<AxisCase> {};

// The map rpm axis and the servo rpm axis follow the same clamp-then-order rule.
TEST_P(AxisNormalisation, MapAndServoAxes) {
    for (std::size_t first : {field::mapRpm, field::servoRpm}) {
        ParameterImage image = SaneImage();
        SetAxis(image, first, GetParam().input);
        NormaliseImage(image);
        EXPECT_EQ(Axis(image, first), GetParam().expected) << "axis at " << first;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AxisNormalisation,
    ::testing::Values(
        AxisCase{"AllZero", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        AxisCase{"AllMax",
                 {255, 255, 255, 255, 255, 255, 255, 255, 255, 255},
                 {191, 192, 193, 194, 195, 196, 197, 198, 199, 200}},
        AxisCase{"LiftCarriesRight",
                 {50, 40, 40, 60, 70, 80, 90, 100, 110, 120},
                 {50, 51, 52, 60, 70, 80, 90, 100, 110, 120}},
        AxisCase{"ClampBeforeOrder",
                 {200, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                 {191, 192, 193, 194, 195, 196, 197, 198, 199, 200}},
        AxisCase{"AlreadyOrdered",
                 {15, 20, 30, 40, 50, 60, 70, 80, 90, 100},
                 {15, 20, 30, 40, 50, 60, 70, 80, 90, 100}}),
    [](const auto& info) { return info.param.name; });

TEST(NormaliseImage, ThrottleCalibrationCappedAt250) {
    struct Case {
        int zero, full, zeroAfter, fullAfter;
    };
    for (const Case& c : {Case{251, 251, 250, 250}, Case{255, 255, 250, 250},
                          Case{250, 226, 250, 226}, Case{70, 129, 70, 129}}) {
        ParameterImage image = SaneImage();
        image[field::tpsZeroMv] = static_cast<std::uint8_t>(c.zero);
        image[field::tpsFullMv] = static_cast<std::uint8_t>(c.full);
        NormaliseImage(image);
        EXPECT_EQ(image[field::tpsZeroMv], c.zeroAfter);
        EXPECT_EQ(image[field::tpsFullMv], c.fullAfter);
    }
}

TEST(NormaliseImage, LanguageAndPortIndexLimits) {
    struct Case {
        int language, port, languageAfter, portAfter;
    };
    for (const Case& c : {Case{3, 20, 3, 20}, Case{4, 21, 0, 0}, Case{255, 255, 0, 0}}) {
        ParameterImage image = SaneImage();
        auto language = static_cast<std::uint8_t>(c.language);
        auto port = static_cast<std::uint8_t>(c.port);
        NormaliseImage(image, language, port);
        EXPECT_EQ(language, c.languageAfter);
        EXPECT_EQ(port, c.portAfter);
    }
}

// The lobe count is forced before the channel lobes are capped, so method 0
// pulls every channel to lobe 1.
TEST(NormaliseImage, MethodZeroForcesOneLobeBeforeCapping) {
    ParameterImage image = SaneImage();
    image[field::syncMethod] = 0;
    image[field::lobeCount] = 12;
    const int lobes[] = {5, 7, 9, 11};
    for (std::size_t i = 0; i < kChannels; ++i) {
        image[field::maxAdvanceLobe + i] = static_cast<std::uint8_t>(lobes[i]);
        image[field::startAdvanceLobe + i] = static_cast<std::uint8_t>(lobes[i]);
    }
    NormaliseImage(image);
    EXPECT_EQ(image[field::lobeCount], 1);
    for (std::size_t i = 0; i < kChannels; ++i) {
        EXPECT_EQ(image[field::maxAdvanceLobe + i], 1);
        EXPECT_EQ(image[field::startAdvanceLobe + i], 1);
    }
}

TEST(NormaliseImage, ChannelLobesCappedAtLobeCountButZeroKept) {
    ParameterImage image = SaneImage();
    image[field::syncMethod] = 3;
    image[field::lobeCount] = 9;
    const int before[] = {10, 9, 0, 58};
    const int after[] = {9, 9, 0, 9};
    for (std::size_t i = 0; i < kChannels; ++i) {
        image[field::maxAdvanceLobe + i] = static_cast<std::uint8_t>(before[i]);
        image[field::startAdvanceLobe + i] = static_cast<std::uint8_t>(before[3 - i]);
    }
    NormaliseImage(image);
    for (std::size_t i = 0; i < kChannels; ++i) {
        EXPECT_EQ(image[field::maxAdvanceLobe + i], after[i]);
        EXPECT_EQ(image[field::startAdvanceLobe + i], after[3 - i]);
    }
}

TEST(NormaliseImage, SecondPickupFlagsOnlyForMethodsZeroAndFour) {
    for (int method = 0; method < 8; ++method) {
        ParameterImage image = SaneImage();
        image[field::syncMethod] = static_cast<std::uint8_t>(method);
        for (std::size_t i = 0; i < kChannels; ++i) {
            image[field::maxAdvancePickup2 + i] = 1;
            image[field::startAdvancePickup2 + i] = 1;
            image[field::maxAdvanceEdge2 + i] = 1;
        }
        NormaliseImage(image);
        const int kept = (method == 0 || method == 4) ? 1 : 0;
        for (std::size_t i = 0; i < kChannels; ++i) {
            EXPECT_EQ(image[field::maxAdvancePickup2 + i], kept) << "method " << method;
            EXPECT_EQ(image[field::startAdvancePickup2 + i], kept) << "method " << method;
            EXPECT_EQ(image[field::maxAdvanceEdge2 + i], 1) << "edge flags are not limited";
        }
    }
}

TEST(NormaliseImage, OutputCountCappedAtFour) {
    struct Case {
        int before, after;
    };
    for (const Case& c : {Case{9, 4}, Case{4, 4}, Case{3, 3}, Case{0, 0}, Case{255, 4}}) {
        ParameterImage image = SaneImage();
        image[field::outputCount] = static_cast<std::uint8_t>(c.before);
        NormaliseImage(image);
        EXPECT_EQ(image[field::outputCount], c.after) << "from " << c.before;
    }
}

// Fields without a rule pass through, so the controls decide how to show them.
TEST(NormaliseImage, LeavesUnruledFieldsAlone) {
    ParameterImage image = SaneImage();
    for (std::size_t i = 0; i < kImageSize; ++i) {
        const bool ruled =
            (i >= field::mapRpm && i < field::mapRpm + kAxisPoints) ||
            (i >= field::servoRpm && i < field::servoRpm + kAxisPoints) ||
            (i >= field::maxAdvanceLobe && i < field::startAdvanceLobe + kChannels) ||
            (i >= field::maxAdvancePickup2 && i < field::startAdvancePickup2 + kChannels) ||
            i == field::syncMethod || i == field::lobeCount || i == field::outputCount ||
            i == field::tpsZeroMv || i == field::tpsFullMv;
        if (!ruled) {
            image[i] = static_cast<std::uint8_t>(200 + i % 50);
        }
    }
    image[MapCell(3, 3)] = 255;
    image[field::servoMv] = 0;
    const ParameterImage before = image;
    NormaliseImage(image);
    EXPECT_EQ(image, before);
}

TEST(NormaliseImage, IsIdempotentAndOverloadsAgreeOnTheImage) {
    ParameterImage image{};
    for (std::size_t i = 0; i < kImageSize; ++i) {
        image[i] = static_cast<std::uint8_t>(i * 37 + 11);
    }
    ParameterImage viaIndices = image;
    std::uint8_t language = 9;
    std::uint8_t port = 99;
    NormaliseImage(viaIndices, language, port);
    NormaliseImage(image);
    EXPECT_EQ(image, viaIndices);
    const ParameterImage once = image;
    NormaliseImage(image);
    EXPECT_EQ(image, once);
}

} // namespace
} // namespace orna5
