#include "device/LogPlayback.h"

#include "files/MonitorLog.h"
#include "params/MonitorFrame.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace orna5 {

namespace {

// Millivolts back to converter counts: the smallest count the log's
// truncated millivolts came from, so the panel shows the logged value.
std::uint16_t MillivoltsToCounts(double mv) {
    const long counts = static_cast<long>(std::ceil(std::clamp(mv, 0.0, 5000.0) * 1023 / 5000));
    return static_cast<std::uint16_t>(std::min(counts, 1023L));
}

} // namespace

DeviceFrame LogRowFrame(const MonitorLog& log, std::size_t row) {
    namespace m = monitorField;
    DeviceFrame frame{};
    frame[m::code] = MonitorCode;
    const auto value = [&log, row](const std::string& column, double& out) {
        const int at = log.Column(column);
        if (at < 0 || row >= log.Rows())
            return false;
        out = log.values[static_cast<std::size_t>(at)][row];
        return !std::isnan(out);
    };
    const auto word = [&frame, &value](const std::string& column, std::size_t offset) {
        double v = 0;
        if (value(column, v))
            PutFrameWord(frame.data(), offset,
                         static_cast<std::uint16_t>(std::clamp(v, 0.0, 65535.0)));
    };
    const auto byte = [&frame, &value](const std::string& column, std::size_t offset) {
        double v = 0;
        if (value(column, v))
            frame[offset] = static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
    };
    const auto counts = [&frame, &value](const std::string& column, std::size_t offset) {
        double v = 0;
        if (value(column, v))
            PutFrameWord(frame.data(), offset, MillivoltsToCounts(v));
    };
    word("rpm", m::rpm);
    word("supply_mv", m::supplyMv);
    byte("tps_percent", m::tpsPercent);
    counts("tps_mv", m::tpsCounts);
    for (std::size_t c = 0; c < 4; ++c) {
        double advance = 0;
        // An empty field is a channel the unit does not use.
        if (value("advance" + std::to_string(c + 1), advance))
            frame[m::channelAdvance + c] =
                static_cast<std::uint8_t>(std::clamp(advance + 100, 1.0, 255.0));
    }
    counts("servo_desired_mv", m::servoDesired);
    counts("servo_measured_mv", m::servoMeasured);
    word("programmings", m::programmings);
    byte("kill_switch", m::killSwitch);
    byte("clutch_master", m::clutchMaster);
    byte("shift_light", m::shiftLight);
    byte("pickup1", m::pickup1Signal);
    byte("pickup2", m::pickup2Signal);
    byte("input1_grounded", m::input1Grounded);
    byte("input2_grounded", m::input2Grounded);
    byte("engine_off_blocking", m::engineOffBlocking);
    word("saving_count", m::savingCount);
    byte("stored_data_error", m::storedDataError);
    byte("protocol", m::protocolVersion);
    frame[kFrameSize - 1] = FrameCheckByte(frame.data());
    return frame;
}

LogPlayback::LogPlayback(const MonitorLog& recorded) : log(recorded) {}

void LogPlayback::Play() {
    if (log.Rows() == 0)
        return;
    // Played to the end: play again from the start.
    if (AtEnd() && !pending)
        Seek(0);
    playing = true;
}

void LogPlayback::Pause() {
    playing = false;
}

void LogPlayback::SetSpeed(double wanted) {
    speed = std::clamp(wanted, kSlowest, kFastest);
}

void LogPlayback::Seek(std::size_t wanted) {
    if (log.Rows() == 0)
        return;
    row = std::min(wanted, log.Rows() - 1);
    clock = log.seconds[row];
    pending = true;
    seeked = true;
}

std::size_t LogPlayback::Rows() const {
    return log.Rows();
}

double LogPlayback::Position() const {
    return log.Rows() ? log.seconds[row] : 0.0;
}

double LogPlayback::Length() const {
    return log.Rows() ? log.seconds.back() : 0.0;
}

bool LogPlayback::AtEnd() const {
    return log.Rows() == 0 || row + 1 >= log.Rows();
}

std::optional<LogPlayback::Step> LogPlayback::Tick() {
    if (log.Rows() == 0)
        return std::nullopt;
    const std::size_t shownBefore = row;
    // A row sought (or the first) shows at once, paused or not.
    bool due = pending;
    if (!pending) {
        if (!playing)
            return std::nullopt;
        clock += kTickSeconds * speed;
        // A silence in the log (the unit was off) is not sat through: a
        // second of it, then the next row.
        if (row + 1 < log.Rows() && log.seconds[row + 1] - log.seconds[row] > kLongestWait &&
            clock > log.seconds[row] + kLongestWait)
            clock = log.seconds[row + 1];
        while (row + 1 < log.Rows() && log.seconds[row + 1] <= clock) {
            ++row;
            due = true;
        }
    }
    if (!due)
        return std::nullopt;
    Step step{row, seeked ? 0.0 : log.seconds[row] - log.seconds[shownBefore]};
    pending = false;
    seeked = false;
    if (AtEnd())
        playing = false;
    return step;
}

} // namespace orna5
