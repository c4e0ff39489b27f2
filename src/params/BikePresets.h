#pragma once

#include "params/ParameterImage.h"

#include <string>

namespace orna5 {

constexpr int kBikeCount = 32;
constexpr int kSpecialBikeCode = 22;

// Writes the common defaults into the image (map, axes, servo curve, flags),
// leaving the synchronisation set-up and the reserved bytes but byte 1 alone.
void LoadCommonDefaults(ParameterImage& image);

// Loads the common defaults and the preset of image[bikeCode]; clears
// bikeChosenFromList. See the model list for what each preset writes.
void ApplyBikePreset(ParameterImage& image, bool& bikeChosenFromList);

// List position <-> model code; -1 for a value outside 0..31.
int BikeIndexToCode(int position);
int BikeCodeToIndex(int code);

// The designed texts of the model list (position 0..31), the method list
// (0..7) and the lobes-per-revolution list (0..3); empty outside the range.
std::string BikeListText(int position);
std::string MethodText(int method);
std::string LobesPerRevText(int position);

} // namespace orna5
