#include "device/PortScan.h"

#include "device/DeviceFrame.h"
#include "device/UnitInfoBlock.h"

#include <algorithm>
#include <vector>

namespace orna5 {

namespace {
// As the idle tick does: a poll every 6 ticks, so a frame lost on the line
// does not cost the device its chance.
constexpr int kPollTicks = 6;
// As an operation does: a command resent after 4 ticks.
constexpr int kResendTicks = 4;
// What one tick reads at most, as the receive step does.
constexpr std::size_t kReadBytes = 10000;
} // namespace

PortScan::PortScan(std::vector<std::string> list, Options scanOptions)
    : devices(std::move(list)), options(scanOptions) {}

PortScan::~PortScan() {
    link.Close();
}

const ProbeResult* PortScan::Found() const {
    for (const ProbeResult& result : results)
        if (result.answer == ProbeAnswer::Answered)
            return &result;
    return nullptr;
}

void PortScan::Stop() {
    link.Close();
    finished = true;
}

bool PortScan::OpenNext() {
    while (index < devices.size()) {
        current = ProbeResult{};
        current.device = devices[index];
        const PortOpenResult opened = link.Open(current.device);
        if (opened.ok)
            return true;
        current.answer = opened.busy ? ProbeAnswer::Busy : ProbeAnswer::CannotOpen;
        current.reason = opened.reason;
        results.push_back(current);
        ++index;
    }
    return false;
}

void PortScan::Finish(ProbeAnswer answer) {
    link.Close();
    current.answer = answer;
    results.push_back(current);
    ++index;
    phase = Phase::Start;
    if ((answer == ProbeAnswer::Answered && options.stopAtFirst) || index >= devices.size())
        finished = true;
}

bool PortScan::TakeFrame(std::uint8_t* frame) {
    if (link.BytesQueued() < kFrameSize)
        return false;
    // Only the first frame of what has come counts; the rest is dropped, as
    // the receive step drops it.
    std::vector<std::uint8_t> buffer(kReadBytes);
    const std::size_t n = link.Read(buffer.data(), buffer.size());
    if (n < kFrameSize || !FrameCheckOk(buffer.data()))
        return false;
    std::copy(buffer.begin(), buffer.begin() + kFrameSize, frame);
    return true;
}

bool PortScan::Tick() {
    if (finished)
        return false;
    if (phase == Phase::Start) {
        if (!OpenNext()) {
            finished = true;
            return false;
        }
        phase = Phase::Poll;
        ticks = 0;
        SendPollFrame(&link);
        return true;
    }
    ++ticks;
    DeviceFrame frame{};
    const bool got = TakeFrame(frame.data());
    if (phase == Phase::Poll) {
        if (got) {
            if (frame[0] == MonitorCode)
                current.protocolVersion = frame[kFrameSize - 2];
            if (!options.readVersion) {
                Finish(ProbeAnswer::Answered);
                return !finished;
            }
            // The unit is there; its version text comes with page 0 of a
            // Read, which leaves its memory alone.
            phase = Phase::AskVersion;
            ticks = 0;
            SendDataFrame(&link, ReadCommand, false, ParameterImage{});
            return true;
        }
        if (ticks >= kAnswerTicks)
            Finish(ProbeAnswer::NoAnswer);
        else if (ticks % kPollTicks == 0)
            SendPollFrame(&link);
        return !finished;
    }
    // AskVersion: a unit that answered a poll but not this still answered.
    if (got && frame[0] == (ReadCommand ^ AnswerFlag)) {
        UnitInfoBlock block{};
        std::copy(frame.begin() + 1, frame.begin() + 1 + block.size(), block.begin());
        current.versionText = BuildUnitInfoTexts(block).versionText;
        current.protocolVersion = block[unitInfo::protocolVersion];
        Finish(ProbeAnswer::Answered);
    } else if (ticks >= kAnswerTicks) {
        Finish(ProbeAnswer::Answered);
    } else if (ticks % kResendTicks == 0) {
        SendDataFrame(&link, ReadCommand, false, ParameterImage{});
    }
    return !finished;
}

} // namespace orna5
