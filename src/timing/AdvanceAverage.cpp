#include "timing/AdvanceAverage.h"

namespace orna5 {

bool AdvanceAverage::InWindow(const Frame& frame, double now) const {
    return frame.time <= now && now - frame.time < kWindowSeconds;
}

void AdvanceAverage::Add(double now, const Channels& advances) {
    // Frames stamped after `now` came before a jump back of the clock: where
    // they belong is not known any more.
    while (!frames.empty() && frames.back().time > now)
        frames.pop_back();
    while (!frames.empty() && now - frames.front().time >= kWindowSeconds)
        frames.pop_front();
    if (frames.size() >= kMostFrames)
        frames.pop_front();
    frames.push_back({now, advances});
}

bool AdvanceAverage::Fresh(double now) const {
    for (const Frame& frame : frames)
        if (InWindow(frame, now))
            return true;
    return false;
}

std::array<std::optional<double>, kChannels> AdvanceAverage::At(double now) const {
    std::array<double, kChannels> sums{};
    std::array<int, kChannels> counts{};
    for (const Frame& frame : frames) {
        if (!InWindow(frame, now))
            continue;
        for (std::size_t c = 0; c < kChannels; ++c)
            if (frame.advances[c]) {
                sums[c] += *frame.advances[c];
                ++counts[c];
            }
    }
    std::array<std::optional<double>, kChannels> averages;
    for (std::size_t c = 0; c < kChannels; ++c)
        if (counts[c] > 0)
            averages[c] = sums[c] / counts[c];
    return averages;
}

} // namespace orna5
