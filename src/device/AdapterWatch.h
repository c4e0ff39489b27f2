#pragma once

#include <functional>
#include <string>
#include <vector>

namespace orna5 {

// While no unit answers, looks now and then at which serial devices there
// are and says what the port should do about what changed: open the chosen
// device again when it comes back, offer a device that was just plugged in,
// take back an offer whose device went. It opens nothing itself; the window
// ticks it and does what each step says.
class AdapterWatch {
public:
    // It looks at most once a second: every 19 ticks of 55 ms.
    static constexpr int kLookTicks = 19;

    // Every serial device there is now, each by the path it is reached at
    // after links; `chosen` is among them when it exists, even if nothing
    // else would name it.
    using DeviceSource = std::function<std::vector<std::string>(const std::string& chosen)>;

    // The port as it is at this tick.
    struct Port {
        std::string chosen; // the device the port is set to
        bool open = false;
        bool lost = false;   // it vanished while open
        std::string offered; // the device on offer now; empty: none
    };

    // What to do at this tick; nothing when all are unset.
    struct Step {
        // Take back the offer: its device went, or a unit answers.
        bool withdrawOffer = false;
        // Open the chosen device again: it came back.
        bool reopen = false;
        // A device that appeared since the last look, to offer unless the
        // reopen asked for above succeeds.
        std::string offer;
    };

    explicit AdapterWatch(DeviceSource devices);

    // Once per tick; noConnection while no unit answers.
    Step Tick(bool noConnection, const Port& port);
    // The next look starts afresh from what is there then, as after a
    // silence begins (the devices are now looked for elsewhere).
    void Forget();
    // Whether a look was taken since the silence began: only what appears
    // after it is offered.
    bool Looked() const { return looked; }

private:
    DeviceSource devices;
    // The devices there were at the last look, sorted.
    std::vector<std::string> known;
    bool looked = false;
    int ticks = 0;
};

} // namespace orna5
