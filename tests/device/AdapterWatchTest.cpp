// The adapter watch driven tick by tick over a made-up list of devices, with
// the port doing what each step asks as the window does.

#include "device/AdapterWatch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace orna5 {
namespace {

// Paths that do not exist, so each is its own real path.
const std::string kFolder = "/nonexistent/orna5-watch/";

std::vector<std::string> Devices(const char* names) {
    std::vector<std::string> devices;
    std::istringstream in(names);
    for (std::string name; in >> name;)
        devices.push_back(kFolder + name);
    return devices;
}

std::string Describe(const AdapterWatch::Step& step) {
    std::string text;
    if (step.withdrawOffer)
        text += " withdraw";
    if (step.reopen)
        text += " reopen";
    if (!step.offer.empty())
        text += " offer:" + step.offer.substr(kFolder.size());
    return text;
}

bool Contains(const std::vector<std::string>& devices, const std::string& device) {
    return std::find(devices.begin(), devices.end(), device) != devices.end();
}

// The port is set to C throughout.
TEST(AdapterWatch, SaysWhatToDoAsAdaptersComeAndGo) {
    struct Look {
        bool noConnection;   // false: a unit answers meanwhile
        const char* devices; // what is plugged in
        const char* asked;   // what the watch asks over one look's ticks
    };
    struct Case {
        const char* name;
        bool openAtStart;
        std::vector<Look> looks;
    };
    const Case cases[] = {
        {"another adapter is offered, withdrawn when it goes and offered again",
         true,
         {{true, "C", ""},
          {true, "B C", " offer:B"},
          {true, "B C", ""},
          {true, "C", " withdraw"},
          {true, "B C", " offer:B"}}},
        {"the chosen adapter pulled out opens again when it is back",
         true,
         {{true, "C", ""},
          {true, "", ""},
          {true, "", ""},
          {true, "C", " reopen"},
          {true, "C", ""}}},
        {"back together with another: the other is offered should the reopen fail",
         true,
         {{true, "C", ""}, {true, "", ""}, {true, "A C", " reopen offer:A"}, {true, "A C", ""}}},
        {"a unit answering withdraws the offer; the next silence offers only what appears after",
         true,
         {{true, "C", ""},
          {true, "B C", " offer:B"},
          {false, "B C", " withdraw"},
          {true, "B C", ""},
          {true, "A B C", " offer:A"}}},
        {"pulled while the unit answered and back by the first look of the silence",
         true,
         {{false, "", ""}, {true, "C", " reopen"}}},
        {"a port that never opened opens when its device appears",
         false,
         {{true, "", ""}, {true, "C", " reopen"}}},
        {"a port that did not open stays shut while its device stays",
         false,
         {{true, "C", ""}, {true, "C", ""}, {true, "B C", " offer:B"}}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> plugged;
        int looks = 0;
        AdapterWatch watch([&](const std::string& chosen) {
            ++looks;
            EXPECT_EQ(chosen, kFolder + "C");
            return plugged;
        });
        AdapterWatch::Port port{kFolder + "C", c.openAtStart, false, ""};
        for (std::size_t i = 0; i < c.looks.size(); ++i) {
            const Look& look = c.looks[i];
            plugged = Devices(look.devices);
            // The link notices its device going.
            if (port.open && !Contains(plugged, port.chosen)) {
                port.open = false;
                port.lost = true;
            }
            looks = 0;
            std::string asked;
            for (int tick = 0; tick < AdapterWatch::kLookTicks; ++tick) {
                const AdapterWatch::Step step = watch.Tick(look.noConnection, port);
                asked += Describe(step);
                if (step.withdrawOffer)
                    port.offered.clear();
                if (step.reopen && Contains(plugged, port.chosen)) {
                    port.open = true;
                    port.lost = false;
                } else if (!step.offer.empty()) {
                    port.offered = step.offer;
                }
            }
            EXPECT_EQ(asked, look.asked) << c.name << ", look " << i;
            // One look a second while no unit answers, none while one does.
            EXPECT_EQ(looks, look.noConnection ? 1 : 0) << c.name << ", look " << i;
        }
    }
}

} // namespace
} // namespace orna5
