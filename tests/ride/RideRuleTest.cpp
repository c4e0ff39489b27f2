#include "ride/RideRule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orna5 {
namespace {

using Step = RideRule::Step;

// One moment of a ride: a frame (rpm >= 0) or a tick without one, and what
// the rule must answer.
struct Moment {
    double seconds;
    double rpm; // < 0: a tick; -2: a tick of a silent unit
    Step expected;
    bool fail = false; // the file refuses this frame after the answer
};

struct Case {
    std::string name;
    std::vector<Moment> moments;
};

TEST(RideRuleTest, StartsAndStopsTickByTick) {
    const std::vector<Case> cases = {
        {"idling never starts",
         {{0, 1500, Step::Nothing}, {5, 2000, Step::Nothing}, {20, -1, Step::Nothing}}},
        {"above the threshold starts, 10 s below stops",
         {{0, 1500, Step::Nothing},
          {1, 2100, Step::Start},
          {2, 6000, Step::Nothing},
          {3, 1200, Step::Nothing},
          {11.9, 1200, Step::Nothing},
          {12, 1200, Step::Stop},
          {13, 1200, Step::Nothing}}},
        {"a short stop at a light keeps the ride",
         {{0, 3000, Step::Start},
          {9, 1200, Step::Nothing},
          {9.5, 3000, Step::Nothing},
          {19, -1, Step::Nothing},
          {19.5, -1, Step::Stop}}},
        {"a silent unit stops at once, the next pass starts anew",
         {{0, 3000, Step::Start},
          {1, -2, Step::Stop},
          {2, -2, Step::Nothing},
          {3, 2500, Step::Start}}},
        {"a failed write ends the recording but not the ride",
         {{0, 3000, Step::Start, true},
          {1, 4000, Step::Nothing},
          {5, 1000, Step::Nothing},
          {15, 1000, Step::Nothing},
          {16, 3000, Step::Start}}},
    };
    for (const Case& c : cases) {
        RideRule rule;
        for (const Moment& m : c.moments) {
            const Step step =
                m.rpm >= 0 ? rule.Frame(m.seconds, m.rpm) : rule.Tick(m.seconds, m.rpm > -2);
            EXPECT_EQ(step, m.expected) << c.name << " at " << m.seconds << " s";
            if (m.fail) {
                rule.Failed();
                EXPECT_FALSE(rule.Recording()) << c.name;
                EXPECT_TRUE(rule.InRide()) << c.name;
            }
        }
    }
}

} // namespace
} // namespace orna5
