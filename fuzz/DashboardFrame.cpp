// Reads a live-data frame the unit sent as the dashboard does, over an image
// the input also chooses: whatever the bytes, the reading stays within its
// ranges and agrees with itself.
//  - a frame with a wrong check byte gives no readings;
//  - the engine speed and the marks fit the rpm scale's arithmetic, and the
//    scale's top lies above the limiter on a whole thousand;
//  - a lamp that is on has a colour; a pick-up error leaves no figures;
//  - the throttle's percentage is 0..100, its error exactly above 100.
#include "device/Dashboard.h"
#include "device/DeviceFrame.h"
#include "params/MonitorFrame.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

using namespace orna5;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first byte says whether the frame is sealed; then the frame, then
    // the image; whatever is missing stays zero.
    if (size < 1)
        return 0;
    const bool seal = (data[0] & 1) != 0;
    ++data;
    --size;
    DeviceFrame frame{};
    const std::size_t frameBytes = std::min(size, frame.size());
    std::copy(data, data + frameBytes, frame.begin());
    ParameterImage image;
    const std::size_t imageBytes = std::min(size - frameBytes, image.size());
    std::copy(data + frameBytes, data + frameBytes + imageBytes, image.begin());
    if (seal)
        frame[kFrameSize - 1] = FrameCheckByte(frame.data());

    const DashboardReadings r = ReadDashboard(frame.data(), image);
    Check(r.valid == FrameCheckOk(frame.data()));
    if (!r.valid)
        return 0;
    Check(r.rpm >= 0 && r.rpm <= 65535);
    Check(r.limiterRpm >= 0 && r.limiterRpm <= 25500);
    Check(r.shiftLightRpm >= 0 && r.shiftLightRpm <= 25500);
    const int top = RpmScaleTop(r);
    Check(top > 0 && top % 1000 == 0 && top > r.limiterRpm);
    for (const LampReading& lamp : r.lamps)
        Check(!lamp.on || lamp.colour != ColourRole::ButtonFace);
    if (r.pickupError)
        for (const auto& advance : r.advance)
            Check(!advance);
    if (!r.perChannel)
        Check(!r.advance[1] && !r.advance[2] && !r.advance[3]);
    for (const auto& advance : r.advance)
        Check(!advance || (*advance >= -100 && *advance <= 155));
    Check(r.throttlePercent >= 0 && r.throttlePercent <= 100);
    Check(r.throttleError == (frame[monitorField::tpsPercent] > 100));
    Check(!r.supplyVolts.empty() && r.supplyVolts.size() <= 5);
    return 0;
}
