#pragma once

#include <array>
#include <cstddef>

namespace orna5 {

class ProfileFile;

// What the user chose for the dashboard: the readouts shown, the look and
// the engine speed's style. Kept in orna5.ini, section DASHBOARD, beside the
// window's place.
struct DashboardChoices {
    static constexpr const char* kSection = "DASHBOARD";
    enum Tile { EngineSpeed, Advance, Throttle, Supply, Servo, Lamps, TileCount };

    std::array<bool, TileCount> shown{true, true, true, true, true, true};
    bool light = false; // dark figures on a light ground
    bool dial = true;   // engine speed as a dial, else as a bar

    bool operator==(const DashboardChoices& other) const {
        return shown == other.shown && light == other.light && dial == other.dial;
    }
    bool operator!=(const DashboardChoices& other) const { return !(*this == other); }

    // A value that is not 0 or 1 keeps the default; a file that hides every
    // readout (edited by hand) shows them all, as a dashboard of nothing
    // cannot be what anyone left.
    static DashboardChoices Read(const ProfileFile& settings);
    void Write(ProfileFile& settings) const;
};

} // namespace orna5
