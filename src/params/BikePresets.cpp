#include "params/BikePresets.h"

#include <array>

namespace orna5 {

namespace {

// Flags a preset sets beyond the channel events; the common defaults have
// cleared them just before.
constexpr std::uint8_t kInvertPickup1 = 1;
constexpr std::uint8_t kNeutralSideStand = 2;
constexpr std::uint8_t kServoEnable = 4;

// The synchronisation set-up of one model. The channel masks have bit 0 for
// channel 1. Lobes/rev, long excitation and input 1 are always written; where
// a model has no value of its own they hold the common default.
struct Preset {
    std::uint8_t method;
    std::uint8_t lobes;
    std::uint8_t outputs;
    std::uint8_t lobesPerRev;
    std::uint8_t tachoPulses;
    std::uint8_t excitationLong;
    std::uint8_t input1;
    std::uint8_t channels; // channels written; the others keep their lobes
    std::array<std::uint8_t, kChannels> maxLobes;
    std::array<std::uint8_t, kChannels> startLobes;
    std::uint8_t maxEdge2;
    std::uint8_t startEdge2;
    std::uint8_t maxPickup2;
    std::uint8_t startPickup2;
    std::uint8_t extra;
};

struct BikeEntry {
    std::uint8_t code;
    const char* text;
    bool hasPreset;
    Preset preset;
};

// "Yamaha XT600E" shares this wheel.
constexpr Preset kSuzukiGsx{2, 4, 2, 1, 1, 1, 1, 2, {4, 2}, {1, 3}, 0, 0, 0, 0, 0};

// One row per list position, in list order. The texts are the list's designed
// item texts, blanks included.
// clang-format off
// code, text, has a preset,
//   {method, lobes, outputs, lobes/rev, tacho pulses, long excitation, input 1, channels,
//    max-advance lobes, start-advance lobes, max 2nd edge, start 2nd edge,
//    max pick-up 2, start pick-up 2, other flags}
constexpr std::array<BikeEntry, kBikeCount> kBikes{{
    {23, "3 Cylinder, 1 pickup", true, {1, 4, 3, 1, 1, 0, 1, 3, {1, 2, 3}, {1, 2, 3}, 0, 0b0111, 0, 0, 0}},
    {0, "Kawasaki ZX ", true, {1, 3, 2, 1, 2, 1, 2, 2, {1, 2}, {1, 2}, 0, 0b0011, 0, 0, 0}},
    {27, "Kawasaki ZX9R 00", true, {2, 4, 4, 1, 2, 0, 2, 4, {4, 2, 2, 4}, {1, 3, 3, 1}, 0, 0, 0, 0, 0}},
    {31, "Harley", true, {7, 2, 2, 0, 2, 1, 1, 2, {1, 2}, {1, 2}, 0, 0b0011, 0, 0, kInvertPickup1}},
    {1, "Honda CBR 7P", true, {4, 7, 2, 1, 2, 1, 1, 2, {2, 6}, {3, 7}, 0, 0b0011, 0, 0, 0}},
    {2, "Honda CBR 9P", true, {3, 9, 2, 1, 2, 1, 2, 2, {1, 7}, {3, 9}, 0, 0b0011, 0, 0, kNeutralSideStand}},
    {3, "Honda Shadow", true, {3, 9, 2, 1, 2, 1, 2, 2, {6, 8}, {7, 9}, 0, 0, 0, 0, 0}},
    {4, "Honda VFR 400", true, {4, 7, 2, 1, 4, 1, 1, 2, {4, 6}, {5, 7}, 0, 0b0011, 0, 0, 0}},
    {24, "Honda VFR 750", true, {4, 11, 4, 1, 2, 1, 2, 4, {4, 7, 10, 1}, {5, 8, 11, 2}, 0, 0, 0, 0, 0}},
    {5, "Honda VT 600 Shadow", true, {4, 7, 2, 1, 2, 1, 1, 2, {1, 5}, {2, 6}, 0b0011, 0b0011, 0b0010, 0b0010, 0}},
    {6, "Honda VT 1100", true, {4, 7, 2, 1, 2, 1, 1, 2, {3, 4}, {4, 5}, 0, 0b0011, 0, 0, 0}},
    {7, "Standard (1 lobe  per revolution, 1 or 2 pick-up) ", true, {0, 1, 2, 1, 1, 1, 1, 2, {1, 1}, {1, 1}, 0, 0b0011, 0b0010, 0b0010, 0}},
    {28, "Standard  (2 lobe  per revol., 1 or 2 pick-up) ", true, {0, 1, 2, 2, 1, 1, 1, 2, {1, 1}, {1, 1}, 0, 0b0011, 0b0010, 0b0010, 0}},
    {29, "Standard  (3 lobe  per revol., 1 pick-up) ", true, {0, 1, 1, 3, 1, 1, 1, 2, {1, 1}, {1, 1}, 0, 0b0011, 0b0010, 0b0010, 0}},
    {30, "Standard  (1 lobe 2  rev. (CMPS), 1 or 2 pick-up) ", true, {0, 1, 2, 0, 1, 1, 1, 2, {1, 1}, {1, 1}, 0, 0b0011, 0b0010, 0b0010, 0}},
    {8, "Suzuki 800", true, {3, 4, 2, 1, 1, 1, 1, 2, {1, 3}, {2, 4}, 0, 0, 0, 0, 0}},
    {9, "Suzuki GSF 400 A", true, {2, 6, 2, 1, 1, 1, 1, 2, {1, 4}, {2, 5}, 0, 0, 0, 0, 0}},
    {10, "Suzuki GSF 400 B", true, {2, 6, 2, 1, 1, 1, 1, 2, {2, 5}, {3, 6}, 0, 0, 0, 0, 0}},
    {11, "Suzuki GSX", true, kSuzukiGsx},
    {12, "Suzuki SV 650", true, {2, 4, 2, 1, 1, 1, 1, 2, {4, 1}, {1, 2}, 0, 0, 0, 0, 0}},
    {13, "Suzuki Tci 125", true, {3, 4, 2, 1, 1, 1, 1, 2, {2, 3}, {3, 4}, 0, 0, 0, 0, 0}},
    {14, "Suzuki VS 800,", true, {2, 4, 2, 1, 1, 1, 1, 2, {1, 4}, {2, 1}, 0, 0, 0, 0, 0}},
    {15, "TDM 850", true, {2, 4, 2, 1, 2, 1, 2, 2, {3, 4}, {4, 1}, 0, 0, 0, 0, 0}},
    {26, "Triumph Tigra", true, {5, 7, 3, 1, 1, 0, 1, 3, {2, 4, 6}, {3, 5, 1}, 0, 0, 0, 0, 0}},
    {16, "Virago XV", true, {3, 2, 2, 1, 2, 1, 2, 2, {1, 2}, {1, 2}, 0, 0b0011, 0, 0, 0}},
    {17, "Yamaha 125 SR", true, {4, 2, 2, 1, 2, 1, 1, 2, {2, 1}, {1, 2}, 0b0010, 0b0011, 0b0010, 0b0011, 0}},
    {18, "Yamaha Fz 750", true, {2, 8, 2, 1, 2, 1, 2, 2, {3, 7}, {4, 8}, 0, 0, 0, 0, 0}},
    {19, "Yamaha R1", true, {2, 4, 2, 1, 2, 1, 2, 2, {3, 1}, {4, 2}, 0, 0, 0, 0, kServoEnable}},
    {20, "Yamaha R6", true, {1, 5, 2, 1, 2, 0, 2, 2, {1, 3}, {2, 4}, 0b0011, 0b0011, 0, 0, 0}},
    {21, "Yamaha XT600E", true, kSuzukiGsx},
    {25, "Yamaha XVZ 1300", true, {1, 7, 4, 1, 2, 1, 2, 4, {1, 2, 4, 5}, {2, 3, 5, 6}, 0b1111, 0b1111, 0, 0, 0}},
    {22, "Special - (manual seting)", false, {}},
}};
// clang-format on

constexpr std::array<const char*, 8> kMethodTexts{
    "1 lobe, 1 or 2 pick-up",
    "Short gap between lobes (inserted lobe)",
    "Wide lobe",
    "Long gap between lobes (missing lobe)",
    "2 pick-ups, missing lobe",
    "2 Short gaps between lobes (inserted lobe)",
    "Cam (CMPS)",
    "Harley",
};

constexpr std::array<const char*, 4> kLobesPerRevTexts{
    "1 lobe per revolution",
    "2 lobe per revolution",
    "3 lobe per revolution",
    "1 lobe per 2  revolution (CMPS)",
};

constexpr std::array<std::uint8_t, kAxisPoints> kDefaultMapRpm{15, 20, 30, 40, 50,
                                                               60, 70, 80, 90, 100};

constexpr std::array<std::uint8_t, kAxisPoints * kMapRows> kDefaultMap{
    10, 13, 16, 25, 28, 32, 33, 33, 33, 33, //
    10, 16, 22, 31, 33, 35, 35, 35, 35, 35, //
    10, 24, 35, 44, 45, 45, 43, 41, 41, 41, //
    10, 19, 32, 39, 45, 47, 46, 43, 43, 43, //
    10, 12, 15, 25, 31, 33, 32, 32, 32, 31, //
    10, 12, 16, 25, 28, 30, 33, 32, 32, 32, //
    10, 12, 16, 25, 28, 30, 33, 31, 33, 31, //
    10, 12, 15, 25, 28, 30, 32, 32, 32, 32, //
    10, 12, 15, 25, 28, 30, 32, 32, 32, 32, //
    10, 12, 15, 25, 28, 30, 32, 32, 32, 32, //
};

constexpr std::uint8_t kYamahaR1Code = 19;

constexpr std::array<std::uint8_t, kAxisPoints> kServoRpm{12, 20,  30,  40,  60,
                                                          80, 100, 120, 140, 160};
constexpr std::array<std::uint8_t, kAxisPoints> kServoMv{100, 105, 110, 115, 120,
                                                         125, 130, 135, 140, 145};
constexpr std::array<std::uint8_t, kAxisPoints> kR1ServoRpm{3, 4, 41, 46, 65, 70, 75, 83, 90, 105};
constexpr std::array<std::uint8_t, kAxisPoints> kR1ServoMv{30, 45, 45, 61, 61, 64, 68, 80, 93, 93};

template <std::size_t N>
void CopyInto(ParameterImage& image, std::size_t offset,
              const std::array<std::uint8_t, N>& values) {
    for (std::size_t i = 0; i < N; ++i) {
        image[offset + i] = values[i];
    }
}

std::uint8_t Bit(std::uint8_t mask, std::size_t channel) {
    return static_cast<std::uint8_t>((mask >> channel) & 1u);
}

void WritePreset(ParameterImage& image, const Preset& preset) {
    image[field::syncMethod] = preset.method;
    image[field::lobeCount] = preset.lobes;
    image[field::outputCount] = preset.outputs;
    image[field::lobesPerRevCode] = preset.lobesPerRev;
    image[field::tachoPulsesPerRev] = preset.tachoPulses;
    image[field::excitationLong] = preset.excitationLong;
    image[field::input1Function] = preset.input1;
    for (std::size_t channel = 0; channel < preset.channels; ++channel) {
        image[field::maxAdvanceLobe + channel] = preset.maxLobes[channel];
        image[field::startAdvanceLobe + channel] = preset.startLobes[channel];
    }
    // The common defaults have just cleared every flag, so a preset only sets
    // the ones it names.
    for (std::size_t channel = 0; channel < kChannels; ++channel) {
        if (Bit(preset.maxEdge2, channel)) {
            image[field::maxAdvanceEdge2 + channel] = 1;
        }
        if (Bit(preset.startEdge2, channel)) {
            image[field::startAdvanceEdge2 + channel] = 1;
        }
        if (Bit(preset.maxPickup2, channel)) {
            image[field::maxAdvancePickup2 + channel] = 1;
        }
        if (Bit(preset.startPickup2, channel)) {
            image[field::startAdvancePickup2 + channel] = 1;
        }
    }
    if (preset.extra & kInvertPickup1) {
        image[field::invertPickup1] = 1;
    }
    if (preset.extra & kNeutralSideStand) {
        image[field::neutralSideStandInputs] = 1;
    }
    if (preset.extra & kServoEnable) {
        image[field::servoEnable] = 1;
    }
}

} // namespace

void LoadCommonDefaults(ParameterImage& image) {
    image[field::reserved1] = 0;
    for (std::size_t channel = 0; channel < kChannels; ++channel) {
        image[field::maxAdvanceEdge2 + channel] = 0;
        image[field::maxAdvancePickup2 + channel] = 0;
        image[field::startAdvanceEdge2 + channel] = 0;
        image[field::startAdvancePickup2 + channel] = 0;
    }
    image[field::baseAdvance] = 10;
    image[field::invertPickup1] = 0;
    image[field::invertPickup2] = 0;
    image[field::limiterRpm] = 110;
    image[field::shiftLightRpm] = 90;
    image[field::tpsZeroMv] = 70;
    image[field::tpsFullMv] = 129;
    image[field::mapUsesTps] = 0;
    image[field::servoEnable] = 0;
    image[field::servoHysteresis] = 20;
    image[field::excitationLong] = 1;
    image[field::input1Function] = 0;
    image[field::input2Function] = 0;
    image[field::neutralSideStandInputs] = 0;
    image[field::lobesPerRevCode] = 1;
    image[field::tachoCorrection] = 100;
    CopyInto(image, field::mapRpm, kDefaultMapRpm);
    CopyInto(image, field::advanceMap, kDefaultMap);
    if (image[field::bikeCode] == kYamahaR1Code) {
        CopyInto(image, field::servoRpm, kR1ServoRpm);
        CopyInto(image, field::servoMv, kR1ServoMv);
    } else {
        CopyInto(image, field::servoRpm, kServoRpm);
        CopyInto(image, field::servoMv, kServoMv);
    }
    image[field::revsWithoutIgnition] = 1;
    for (std::size_t i = 0; i < 4; ++i) {
        image[field::compensation + i] = 11;
    }
    image[field::clutchTime] = 10;
    image[field::clutchPause] = 50;
}

void ApplyBikePreset(ParameterImage& image, bool& bikeChosenFromList) {
    const std::uint8_t code = image[field::bikeCode];
    // The manual entry chosen from the list keeps the user's values and only
    // takes the method the caller has already stored.
    if (code != kSpecialBikeCode || !bikeChosenFromList) {
        LoadCommonDefaults(image);
    }
    const int position = BikeCodeToIndex(code);
    if (position >= 0) {
        const BikeEntry& entry = kBikes[static_cast<std::size_t>(position)];
        if (entry.hasPreset) {
            WritePreset(image, entry.preset);
        }
    }
    bikeChosenFromList = false;
}

int BikeIndexToCode(int position) {
    if (position < 0 || position >= kBikeCount) {
        return -1;
    }
    return kBikes[static_cast<std::size_t>(position)].code;
}

int BikeCodeToIndex(int code) {
    for (int position = 0; position < kBikeCount; ++position) {
        if (kBikes[static_cast<std::size_t>(position)].code == code) {
            return position;
        }
    }
    return -1;
}

std::string BikeListText(int position) {
    if (position < 0 || position >= kBikeCount) {
        return {};
    }
    return kBikes[static_cast<std::size_t>(position)].text;
}

std::string MethodText(int method) {
    if (method < 0 || method >= static_cast<int>(kMethodTexts.size())) {
        return {};
    }
    return kMethodTexts[static_cast<std::size_t>(method)];
}

std::string LobesPerRevText(int position) {
    if (position < 0 || position >= static_cast<int>(kLobesPerRevTexts.size())) {
        return {};
    }
    return kLobesPerRevTexts[static_cast<std::size_t>(position)];
}

} // namespace orna5
