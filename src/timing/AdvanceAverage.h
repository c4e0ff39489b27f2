#pragma once

#include "params/ParameterImage.h"

#include <array>
#include <cstddef>
#include <deque>
#include <optional>

namespace orna5 {

// The advance the unit reported on each channel, averaged over the frames of
// the last second. The time is the caller's, in seconds on a clock that
// should only go forward; one that jumps is survived: a jump forward leaves
// every frame older than the window, a jump back drops the frames that now
// lie in the future, and a clock that stands still cannot make the frames
// pile up past kMostFrames.
class AdvanceAverage {
public:
    static constexpr double kWindowSeconds = 1.0;
    // Far more than a second of frames at the Fast rate.
    static constexpr std::size_t kMostFrames = 256;

    using Channels = std::array<std::optional<int>, kChannels>;

    void Add(double now, const Channels& advances);
    void Clear() { frames.clear(); }

    // A frame came in the last second.
    bool Fresh(double now) const;
    // Each channel's average over the frames of the last second that carry
    // it; nothing for a channel none of them carries.
    std::array<std::optional<double>, kChannels> At(double now) const;

private:
    struct Frame {
        double time = 0;
        Channels advances;
    };
    bool InWindow(const Frame& frame, double now) const;

    std::deque<Frame> frames;
};

} // namespace orna5
