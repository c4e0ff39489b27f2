#include "params/BikePresets.h"
#include "params/NormaliseImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace orna5 {
namespace {

std::vector<int> Bytes(const ParameterImage& image, std::size_t first, std::size_t count) {
    return std::vector<int>(image.begin() + first, image.begin() + first + count);
}

ParameterImage Filled(std::uint8_t value) {
    ParameterImage image;
    image.fill(value);
    return image;
}

ParameterImage ChooseFromList(int position, ParameterImage image) {
    image[field::bikeCode] = static_cast<std::uint8_t>(BikeIndexToCode(position));
    bool chosen = true;
    ApplyBikePreset(image, chosen);
    EXPECT_FALSE(chosen);
    return image;
}

const std::vector<int> kDefaultMapRpm{15, 20, 30, 40, 50, 60, 70, 80, 90, 100};
const std::vector<int> kDefaultServoRpm{12, 20, 30, 40, 60, 80, 100, 120, 140, 160};
const std::vector<int> kDefaultServoMv{100, 105, 110, 115, 120, 125, 130, 135, 140, 145};
const std::vector<int> kDefaultRow0{10, 13, 16, 25, 28, 32, 33, 33, 33, 33};
const std::vector<int> kDefaultRow2{10, 24, 35, 44, 45, 45, 43, 41, 41, 41};
const std::vector<int> kDefaultRow6{10, 12, 16, 25, 28, 30, 33, 31, 33, 31};
const std::vector<int> kDefaultRow9{10, 12, 15, 25, 28, 30, 32, 32, 32, 32};

TEST(BikePresets, PositionsAndCodesAreInversePermutations) {
    std::set<int> codes;
    for (int position = 0; position < kBikeCount; ++position) {
        const int code = BikeIndexToCode(position);
        ASSERT_GE(code, 0);
        ASSERT_LT(code, kBikeCount);
        codes.insert(code);
        EXPECT_EQ(BikeCodeToIndex(code), position);
    }
    EXPECT_EQ(codes.size(), static_cast<std::size_t>(kBikeCount));
    for (int bad : {-1, 32, 255}) {
        EXPECT_EQ(BikeIndexToCode(bad), -1);
        EXPECT_EQ(BikeCodeToIndex(bad), -1);
    }
    const std::pair<int, int> fixedPairs[] = {{0, 23},  {1, 0},   {3, 31},  {8, 24},
                                              {12, 28}, {27, 19}, {28, 20}, {31, 22}};
    for (const auto& [position, code] : fixedPairs) {
        EXPECT_EQ(BikeIndexToCode(position), code) << "position " << position;
    }
}

TEST(BikePresets, ListTextsAreTheDesignedTexts) {
    const char* expected[kBikeCount] = {
        "3 Cylinder, 1 pickup",
        "Kawasaki ZX ",
        "Kawasaki ZX9R 00",
        "Harley",
        "Honda CBR 7P",
        "Honda CBR 9P",
        "Honda Shadow",
        "Honda VFR 400",
        "Honda VFR 750",
        "Honda VT 600 Shadow",
        "Honda VT 1100",
        "Standard (1 lobe  per revolution, 1 or 2 pick-up) ",
        "Standard  (2 lobe  per revol., 1 or 2 pick-up) ",
        "Standard  (3 lobe  per revol., 1 pick-up) ",
        "Standard  (1 lobe 2  rev. (CMPS), 1 or 2 pick-up) ",
        "Suzuki 800",
        "Suzuki GSF 400 A",
        "Suzuki GSF 400 B",
        "Suzuki GSX",
        "Suzuki SV 650",
        "Suzuki Tci 125",
        "Suzuki VS 800,",
        "TDM 850",
        "Triumph Tigra",
        "Virago XV",
        "Yamaha 125 SR",
        "Yamaha Fz 750",
        "Yamaha R1",
        "Yamaha R6",
        "Yamaha XT600E",
        "Yamaha XVZ 1300",
        "Special - (manual seting)",
    };
    for (int position = 0; position < kBikeCount; ++position) {
        EXPECT_EQ(BikeListText(position), expected[position]) << "position " << position;
    }
    EXPECT_EQ(BikeListText(-1), "");
    EXPECT_EQ(BikeListText(32), "");

    const char* methods[] = {"1 lobe, 1 or 2 pick-up",
                             "Short gap between lobes (inserted lobe)",
                             "Wide lobe",
                             "Long gap between lobes (missing lobe)",
                             "2 pick-ups, missing lobe",
                             "2 Short gaps between lobes (inserted lobe)",
                             "Cam (CMPS)",
                             "Harley"};
    for (int method = 0; method < 8; ++method) {
        EXPECT_EQ(MethodText(method), methods[method]);
    }
    EXPECT_EQ(MethodText(8), "");
    EXPECT_EQ(MethodText(-1), "");

    EXPECT_EQ(LobesPerRevText(0), "1 lobe per revolution");
    EXPECT_EQ(LobesPerRevText(1), "2 lobe per revolution");
    EXPECT_EQ(LobesPerRevText(2), "3 lobe per revolution");
    EXPECT_EQ(LobesPerRevText(3), "1 lobe per 2  revolution (CMPS)");
    EXPECT_EQ(LobesPerRevText(4), "");
}

// The columns of the model list for a selection of rows that together give
// every column a value other than its default.
struct PresetRow {
    int position;
    int code, method, lobes, outputs, lobesPerRev, tacho, excitationLong, input1;
    std::vector<int> maxLobes, startLobes;
    std::vector<int> maxEdge2, startEdge2, maxPickup2, startPickup2; // all four channels
    int invertPickup1, neutralSideStand, servoEnable;
};

class PresetRows : public ::testing::TestWithParam<PresetRow> {};

TEST_P(PresetRows, WriteTheirColumns) {
    const PresetRow& row = GetParam();
    const ParameterImage image = ChooseFromList(row.position, Filled(0xAA));
    EXPECT_EQ(image[field::bikeCode], row.code);
    EXPECT_EQ(image[field::syncMethod], row.method);
    EXPECT_EQ(image[field::lobeCount], row.lobes);
    EXPECT_EQ(image[field::outputCount], row.outputs);
    EXPECT_EQ(image[field::lobesPerRevCode], row.lobesPerRev);
    EXPECT_EQ(image[field::tachoPulsesPerRev], row.tacho);
    EXPECT_EQ(image[field::excitationLong], row.excitationLong);
    EXPECT_EQ(image[field::input1Function], row.input1);
    const std::size_t listed = row.maxLobes.size();
    EXPECT_EQ(Bytes(image, field::maxAdvanceLobe, listed), row.maxLobes);
    EXPECT_EQ(Bytes(image, field::startAdvanceLobe, listed), row.startLobes);
    for (std::size_t channel = listed; channel < kChannels; ++channel) {
        EXPECT_EQ(image[field::maxAdvanceLobe + channel], 0xAA) << "unlisted channel kept";
        EXPECT_EQ(image[field::startAdvanceLobe + channel], 0xAA) << "unlisted channel kept";
    }
    EXPECT_EQ(Bytes(image, field::maxAdvanceEdge2, 4), row.maxEdge2);
    EXPECT_EQ(Bytes(image, field::startAdvanceEdge2, 4), row.startEdge2);
    EXPECT_EQ(Bytes(image, field::maxAdvancePickup2, 4), row.maxPickup2);
    EXPECT_EQ(Bytes(image, field::startAdvancePickup2, 4), row.startPickup2);
    EXPECT_EQ(image[field::invertPickup1], row.invertPickup1);
    EXPECT_EQ(image[field::neutralSideStandInputs], row.neutralSideStand);
    EXPECT_EQ(image[field::servoEnable], row.servoEnable);
}

const std::vector<int> kNone{0, 0, 0, 0};
const std::vector<int> k12{1, 1, 0, 0};
const std::vector<int> k2{0, 1, 0, 0};

INSTANTIATE_TEST_SUITE_P(
    Table, PresetRows,
    ::testing::Values(
        PresetRow{0,
                  23,
                  1,
                  4,
                  3,
                  1,
                  1,
                  0,
                  1,
                  {1, 2, 3},
                  {1, 2, 3},
                  kNone,
                  {1, 1, 1, 0},
                  kNone,
                  kNone,
                  0,
                  0,
                  0},
        PresetRow{3, 31, 7, 2, 2, 0, 2, 1, 1, {1, 2}, {1, 2}, kNone, k12, kNone, kNone, 1, 0, 0},
        PresetRow{5, 2, 3, 9, 2, 1, 2, 1, 2, {1, 7}, {3, 9}, kNone, k12, kNone, kNone, 0, 1, 0},
        PresetRow{7, 4, 4, 7, 2, 1, 4, 1, 1, {4, 6}, {5, 7}, kNone, k12, kNone, kNone, 0, 0, 0},
        PresetRow{8,
                  24,
                  4,
                  11,
                  4,
                  1,
                  2,
                  1,
                  2,
                  {4, 7, 10, 1},
                  {5, 8, 11, 2},
                  kNone,
                  kNone,
                  kNone,
                  kNone,
                  0,
                  0,
                  0},
        PresetRow{9, 5, 4, 7, 2, 1, 2, 1, 1, {1, 5}, {2, 6}, k12, k12, k2, k2, 0, 0, 0},
        PresetRow{13, 29, 0, 1, 1, 3, 1, 1, 1, {1, 1}, {1, 1}, kNone, k12, k2, k2, 0, 0, 0},
        PresetRow{
            23, 26, 5, 7, 3, 1, 1, 0, 1, {2, 4, 6}, {3, 5, 1}, kNone, kNone, kNone, kNone, 0, 0, 0},
        PresetRow{25, 17, 4, 2, 2, 1, 2, 1, 1, {2, 1}, {1, 2}, k2, k12, k2, k12, 0, 0, 0},
        PresetRow{27, 19, 2, 4, 2, 1, 2, 1, 2, {3, 1}, {4, 2}, kNone, kNone, kNone, kNone, 0, 0, 1},
        PresetRow{28, 20, 1, 5, 2, 1, 2, 0, 2, {1, 3}, {2, 4}, k12, k12, kNone, kNone, 0, 0, 0},
        PresetRow{30,
                  25,
                  1,
                  7,
                  4,
                  1,
                  2,
                  1,
                  2,
                  {1, 2, 4, 5},
                  {2, 3, 5, 6},
                  {1, 1, 1, 1},
                  {1, 1, 1, 1},
                  kNone,
                  kNone,
                  0,
                  0,
                  0}),
    [](const auto& info) { return "Position" + std::to_string(info.param.position); });

// Every model entry but the manual one loads the whole common default set and
// leaves the reserved bytes (except byte 1) as they were.
TEST(BikePresets, EveryPresetStartsFromTheCommonDefaults) {
    for (int position = 0; position < kBikeCount - 1; ++position) {
        SCOPED_TRACE("position " + std::to_string(position));
        const ParameterImage image = ChooseFromList(position, Filled(0xAA));
        EXPECT_EQ(image[field::reserved1], 0);
        for (std::size_t reserved : {14, 18, 19, 29, 57, 63, 69, 200, 206}) {
            EXPECT_EQ(image[reserved], 0xAA) << "reserved byte " << reserved;
        }
        EXPECT_EQ(image[field::baseAdvance], 10);
        EXPECT_EQ(image[field::invertPickup2], 0);
        EXPECT_EQ(image[field::limiterRpm], 110);
        EXPECT_EQ(image[field::shiftLightRpm], 90);
        EXPECT_EQ(image[field::tpsZeroMv], 70);
        EXPECT_EQ(image[field::tpsFullMv], 129);
        EXPECT_EQ(image[field::mapUsesTps], 0);
        EXPECT_EQ(image[field::servoHysteresis], 20);
        EXPECT_EQ(image[field::input2Function], 0);
        EXPECT_EQ(image[field::tachoCorrection], 100);
        EXPECT_EQ(image[field::revsWithoutIgnition], 1);
        EXPECT_EQ(Bytes(image, field::compensation, 4), std::vector<int>(4, 11));
        EXPECT_EQ(image[field::clutchTime], 10);
        EXPECT_EQ(image[field::clutchPause], 50);
        EXPECT_EQ(Bytes(image, field::mapRpm, 10), kDefaultMapRpm);
        EXPECT_EQ(Bytes(image, MapCell(0, 0), 10), kDefaultRow0);
        EXPECT_EQ(Bytes(image, MapCell(2, 0), 10), kDefaultRow2);
        EXPECT_EQ(Bytes(image, MapCell(6, 0), 10), kDefaultRow6);
        EXPECT_EQ(Bytes(image, MapCell(9, 0), 10), kDefaultRow9);
        if (image[field::bikeCode] != 19) {
            EXPECT_EQ(Bytes(image, field::servoRpm, 10), kDefaultServoRpm);
            EXPECT_EQ(Bytes(image, field::servoMv, 10), kDefaultServoMv);
        }
    }
}

TEST(BikePresets, YamahaR1GetsItsOwnServoCurve) {
    const ParameterImage image = ChooseFromList(BikeCodeToIndex(19), Filled(0));
    EXPECT_EQ(image[field::servoEnable], 1);
    EXPECT_EQ(Bytes(image, field::servoRpm, 10),
              (std::vector<int>{3, 4, 41, 46, 65, 70, 75, 83, 90, 105}));
    EXPECT_EQ(Bytes(image, field::servoMv, 10),
              (std::vector<int>{30, 45, 45, 61, 61, 64, 68, 80, 93, 93}));
}

TEST(BikePresets, XT600ELoadsTheSuzukiGsxPreset) {
    ParameterImage gsx = ChooseFromList(18, Filled(0x55));
    ParameterImage xt = ChooseFromList(29, Filled(0x55));
    EXPECT_EQ(gsx[field::bikeCode], 11);
    EXPECT_EQ(xt[field::bikeCode], 21);
    xt[field::bikeCode] = gsx[field::bikeCode];
    EXPECT_EQ(xt, gsx);
}

TEST(BikePresets, LoadCommonDefaultsLeavesTheSetUpAlone) {
    ParameterImage image = Filled(0xAA);
    image[field::bikeCode] = 7;
    LoadCommonDefaults(image);
    for (std::size_t kept : {field::bikeCode, field::syncMethod, field::lobeCount,
                             field::outputCount, field::tachoPulsesPerRev}) {
        EXPECT_EQ(image[kept], kept == field::bikeCode ? 7 : 0xAA) << "byte " << kept;
    }
    EXPECT_EQ(Bytes(image, field::maxAdvanceLobe, 8), std::vector<int>(8, 0xAA));
    EXPECT_EQ(Bytes(image, field::maxAdvanceEdge2, 16), std::vector<int>(16, 0));
    EXPECT_EQ(image[field::excitationLong], 1);
    EXPECT_EQ(image[field::lobesPerRevCode], 1);
    EXPECT_EQ(image[field::input1Function], 0);
    EXPECT_EQ(image[field::neutralSideStandInputs], 0);
    EXPECT_EQ(image[field::invertPickup1], 0);
    EXPECT_EQ(image[field::servoEnable], 0);
}

ParameterImage UserImage() {
    ParameterImage image{};
    for (std::size_t i = 0; i < kImageSize; ++i) {
        image[i] = static_cast<std::uint8_t>(i % 61);
    }
    image[field::bikeCode] = kSpecialBikeCode;
    image[field::syncMethod] = 2;
    return image;
}

TEST(BikePresets, SpecialChosenFromListKeepsEveryValue) {
    ParameterImage image = UserImage();
    const ParameterImage before = image;
    bool chosen = true;
    ApplyBikePreset(image, chosen);
    EXPECT_FALSE(chosen);
    EXPECT_EQ(image, before);
}

TEST(BikePresets, SpecialWithNewLoadsDefaultsButKeepsTheSetUp) {
    ParameterImage image = UserImage();
    const ParameterImage before = image;
    bool chosen = false;
    ApplyBikePreset(image, chosen);
    EXPECT_EQ(image[field::bikeCode], kSpecialBikeCode);
    for (std::size_t kept :
         {field::syncMethod, field::lobeCount, field::outputCount, field::tachoPulsesPerRev}) {
        EXPECT_EQ(image[kept], before[kept]) << "byte " << kept;
    }
    EXPECT_EQ(Bytes(image, field::maxAdvanceLobe, 8), Bytes(before, field::maxAdvanceLobe, 8));
    EXPECT_EQ(Bytes(image, MapCell(0, 0), 10), kDefaultRow0);
    EXPECT_EQ(Bytes(image, field::mapRpm, 10), kDefaultMapRpm);
}

TEST(BikePresets, StandardThreeLobeAfterXvzKeepsChannelsThreeAndFour) {
    ParameterImage image = ChooseFromList(BikeCodeToIndex(25), Filled(0));
    image = ChooseFromList(13, image);
    EXPECT_EQ(Bytes(image, field::maxAdvanceLobe, 4), (std::vector<int>{1, 1, 4, 5}));
    EXPECT_EQ(Bytes(image, field::startAdvanceLobe, 4), (std::vector<int>{1, 1, 5, 6}));
    // The XVZ second-edge flags are gone: the defaults cleared them first.
    EXPECT_EQ(Bytes(image, field::maxAdvanceEdge2, 4), kNone);
    NormaliseImage(image);
    EXPECT_EQ(Bytes(image, field::maxAdvanceLobe, 4), (std::vector<int>{1, 1, 1, 1}));
    EXPECT_EQ(Bytes(image, field::startAdvanceLobe, 4), (std::vector<int>{1, 1, 1, 1}));
}

TEST(BikePresets, CodeAboveTheListLoadsOnlyTheDefaults) {
    ParameterImage image = UserImage();
    image[field::bikeCode] = 40;
    const ParameterImage before = image;
    for (bool chosen : {false, true}) {
        ParameterImage copy = before;
        ApplyBikePreset(copy, chosen);
        EXPECT_FALSE(chosen);
        EXPECT_EQ(copy[field::bikeCode], 40);
        EXPECT_EQ(copy[field::syncMethod], before[field::syncMethod]);
        EXPECT_EQ(copy[field::lobeCount], before[field::lobeCount]);
        EXPECT_EQ(Bytes(copy, MapCell(9, 0), 10), kDefaultRow9);
    }
}

} // namespace
} // namespace orna5
