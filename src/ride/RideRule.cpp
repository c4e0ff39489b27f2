#include "ride/RideRule.h"

namespace orna5 {

RideRule::RideRule(double start, double quiet) : startRpm(start), quietSeconds(quiet) {}

RideRule::Step RideRule::End() {
    const bool recorded = state == State::Recording;
    state = State::Idle;
    return recorded ? Step::Stop : Step::Nothing;
}

RideRule::Step RideRule::Frame(double seconds, double rpm) {
    if (rpm > startRpm) {
        lastAbove = seconds;
        if (state == State::Idle) {
            state = State::Recording;
            return Step::Start;
        }
        return Step::Nothing;
    }
    return Tick(seconds, true);
}

RideRule::Step RideRule::Tick(double seconds, bool answering) {
    if (state == State::Idle)
        return Step::Nothing;
    if (!answering || seconds - lastAbove >= quietSeconds)
        return End();
    return Step::Nothing;
}

void RideRule::Failed() {
    if (state == State::Recording)
        state = State::Unrecorded;
}

} // namespace orna5
