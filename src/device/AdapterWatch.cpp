#include "device/AdapterWatch.h"

#include "device/PortDiscovery.h"

#include <algorithm>

namespace orna5 {

AdapterWatch::AdapterWatch(DeviceSource source) : devices(std::move(source)) {}

void AdapterWatch::Forget() {
    looked = false;
    ticks = 0;
}

// The chosen device coming back is opened again when the port was open on it
// before (lost) or never opened; any other device that appears is offered.
// The first look of a silence offers nothing: it only learns what is there.
AdapterWatch::Step AdapterWatch::Tick(bool noConnection, const Port& port) {
    Step step;
    if (!noConnection) {
        // A unit answers: nothing to offer, and the next silence starts from
        // what is there then.
        Forget();
        step.withdrawOffer = !port.offered.empty();
        return step;
    }
    if (++ticks < kLookTicks && looked)
        return step;
    ticks = 0;
    std::vector<std::string> now = devices(port.chosen);
    std::vector<std::string> appeared;
    if (looked)
        for (const std::string& device : now)
            if (std::find(known.begin(), known.end(), device) == known.end())
                appeared.push_back(device);
    known = std::move(now);
    looked = true;
    auto present = [this](const std::string& device) {
        return std::find(known.begin(), known.end(), PortDiscovery::RealPath(device)) !=
               known.end();
    };
    step.withdrawOffer = !port.offered.empty() && !present(port.offered);

    const std::string chosenReal = PortDiscovery::RealPath(port.chosen);
    const bool chosenAppeared =
        std::find(appeared.begin(), appeared.end(), chosenReal) != appeared.end();
    step.reopen = !port.open && present(port.chosen) && (chosenAppeared || port.lost);
    for (const std::string& device : appeared) {
        if (device != chosenReal) {
            step.offer = device;
            break;
        }
    }
    return step;
}

} // namespace orna5
