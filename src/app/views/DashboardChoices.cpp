#include "app/views/DashboardChoices.h"

#include "files/ProfileFile.h"

#include <algorithm>

namespace orna5 {

namespace {

const char* const kSection = DashboardChoices::kSection;
const char* const kTileKeys[DashboardChoices::TileCount] = {
    "ShowEngineSpeed", "ShowAdvance", "ShowThrottle", "ShowSupply", "ShowServo", "ShowLamps"};
const char kLightKey[] = "LightLook";
const char kDialKey[] = "RpmDial";

bool ReadFlag(const ProfileFile& settings, const char* key, bool otherwise) {
    const int value = settings.ReadInteger(kSection, key, otherwise ? 1 : 0);
    return value == 0 || value == 1 ? value == 1 : otherwise;
}

} // namespace

DashboardChoices DashboardChoices::Read(const ProfileFile& settings) {
    DashboardChoices choices;
    for (int t = 0; t < TileCount; ++t)
        choices.shown[t] = ReadFlag(settings, kTileKeys[t], true);
    if (std::none_of(choices.shown.begin(), choices.shown.end(), [](bool on) { return on; }))
        choices.shown.fill(true);
    choices.light = ReadFlag(settings, kLightKey, false);
    choices.dial = ReadFlag(settings, kDialKey, true);
    return choices;
}

void DashboardChoices::Write(ProfileFile& settings) const {
    for (int t = 0; t < TileCount; ++t)
        settings.WriteInteger(kSection, kTileKeys[t], shown[t] ? 1 : 0);
    settings.WriteInteger(kSection, kLightKey, light ? 1 : 0);
    settings.WriteInteger(kSection, kDialKey, dial ? 1 : 0);
}

} // namespace orna5
