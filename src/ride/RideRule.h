#pragma once

namespace orna5 {

// When a ride records itself: it begins when the engine passes startRpm and
// ends once the engine has stayed at or below it for quietSeconds (parked,
// idling at a light for long) or when the unit falls silent (ignition off).
// Fed tick by tick with a steady clock, so it is the same on the road and
// in a test.
class RideRule {
public:
    static constexpr double kStartRpm = 2000;
    static constexpr double kQuietSeconds = 10;

    enum class Step { Nothing, Start, Stop };

    explicit RideRule(double startRpm = kStartRpm, double quietSeconds = kQuietSeconds);

    // A live frame at `seconds` with the engine at `rpm`.
    Step Frame(double seconds, double rpm);
    // A tick at `seconds`: whether the unit answers. Ends a ride whose
    // engine has been quiet long enough even when no frame comes.
    Step Tick(double seconds, bool answering);
    // The ride's file could not be written: it records no more, but the ride
    // itself goes on until it ends, so a full disk does not begin (and fail)
    // a new file with every frame.
    void Failed();

    // A ride is under way and its file takes the frames.
    bool Recording() const { return state == State::Recording; }
    // A ride is under way, recorded or not.
    bool InRide() const { return state != State::Idle; }
    double StartRpm() const { return startRpm; }

private:
    enum class State { Idle, Recording, Unrecorded };
    Step End();

    double startRpm;
    double quietSeconds;
    State state = State::Idle;
    double lastAbove = 0; // when the engine was last above startRpm
};

} // namespace orna5
