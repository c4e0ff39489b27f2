#include "timing/AdvanceAverage.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace orna5 {
namespace {

struct Frame {
    double time;
    std::optional<int> channel1;
};

struct AverageCase {
    const char* fault;
    std::vector<Frame> frames;
    double now;
    std::optional<double> average; // channel 1
    bool fresh;
};

TEST(AdvanceAverageTest, AveragesTheLastSecondOnly) {
    const std::vector<AverageCase> cases{
        {"the frames of the last second not all counted",
         {{0.1, 10}, {0.4, 12}, {0.7, 14}},
         0.8,
         12.0,
         true},
        {"a frame older than a second still counted",
         {{0.0, 30}, {0.5, 10}, {1.2, 12}},
         1.3,
         11.0,
         true},
        {"a frame exactly a second old counted", {{0.0, 30}, {0.5, 10}}, 1.0, 10.0, true},
        {"an average without frames dividing by zero", {}, 5.0, std::nullopt, false},
        {"a channel the frames do not carry given a figure",
         {{0.1, std::nullopt}},
         0.2,
         std::nullopt,
         true},
        {"frames from before a jump forward of the clock kept",
         {{0.1, 10}, {0.2, 12}},
         3600.0,
         std::nullopt,
         false},
        {"a jump back of the clock keeping frames that now lie in the future",
         {{100.0, 30}, {100.3, 30}, {2.0, 10}},
         2.1,
         10.0,
         true},
        {"frames stamped after the asking time counted", {{0.1, 10}, {0.9, 20}}, 0.5, 10.0, true},
    };
    for (const AverageCase& c : cases) {
        SCOPED_TRACE(c.fault);
        AdvanceAverage average;
        for (const Frame& frame : c.frames)
            average.Add(frame.time, {frame.channel1, std::nullopt, std::nullopt, std::nullopt});
        EXPECT_EQ(average.At(c.now)[0], c.average);
        EXPECT_EQ(average.Fresh(c.now), c.fresh);
    }
}

// A clock that stands still (a suspended machine, a broken timer) must not
// let the frames pile up without end, nor lose the newest.
TEST(AdvanceAverageTest, AStandingClockKeepsABoundedNumberOfFrames) {
    AdvanceAverage average;
    for (int n = 0; n < 100000; ++n)
        average.Add(7.0, {n % 2 ? 10 : 20, std::nullopt, 5, std::nullopt});
    const auto at = average.At(7.0);
    EXPECT_EQ(at[0], 15.0);
    EXPECT_EQ(at[2], 5.0);
    average.Add(7.0, {40, std::nullopt, std::nullopt, std::nullopt});
    EXPECT_GT(*average.At(7.0)[0], 15.0); // the newest counts
    average.Clear();
    EXPECT_FALSE(average.Fresh(7.0));
}

} // namespace
} // namespace orna5
