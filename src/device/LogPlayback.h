#pragma once

#include "device/DeviceFrame.h"

#include <cstddef>
#include <optional>

namespace orna5 {

struct MonitorLog;

// The live-data frame the unit sent for a row of a data log, as near as the
// log keeps it: the fields a row leaves out (alarms, test values, limits) are
// zero, an empty field too. The frame passes the frame check.
DeviceFrame LogRowFrame(const MonitorLog& log, std::size_t row);

// A recorded log played at its recorded pace, scaled by a speed, one window
// tick at a time: each tick says which row is due, if any. It holds the log
// by reference; the log must outlive it.
class LogPlayback {
public:
    // The window's tick, the clock the playback runs by.
    static constexpr double kTickSeconds = 0.055;
    static constexpr double kSlowest = 0.25;
    static constexpr double kFastest = 4.0;
    // Recorded silence longer than this is cut short to it.
    static constexpr double kLongestWait = 1.0;

    explicit LogPlayback(const MonitorLog& log);

    void Play();
    void Pause();
    bool Playing() const { return playing; }
    // Within kSlowest..kFastest.
    void SetSpeed(double speed);
    double Speed() const { return speed; }

    // The next row played is `row` (clamped to the log), at once.
    void Seek(std::size_t row);
    // The row shown last; 0 before the first.
    std::size_t Row() const { return row; }
    std::size_t Rows() const;
    // Recorded seconds of the position and of the whole log.
    double Position() const;
    double Length() const;
    bool AtEnd() const;

    struct Step {
        std::size_t row = 0;
        // Recorded time since the row shown before; 0 after a seek.
        double seconds = 0;
    };
    // One window tick: the recorded clock moves on by kTickSeconds times
    // the speed, and the last row that became due in it is shown (rows
    // passed over in one tick credit their time to it). A row sought shows
    // at the next tick even while paused; otherwise nothing while paused or
    // when no row is due. At the last row the playback pauses.
    std::optional<Step> Tick();

private:
    const MonitorLog& log;
    bool playing = false;
    double speed = 1.0;
    std::size_t row = 0;
    // The recorded time the playback has reached.
    double clock = 0;
    // The row at `row` is due and not shown yet (start, after a seek).
    bool pending = true;
    bool seeked = true;
};

} // namespace orna5
