#pragma once

#include "device/DeviceFrame.h"
#include "device/Link.h"
#include "device/UnitInfoBlock.h"
#include "params/MonitorFrame.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

namespace orna5::test {

// A link whose incoming bytes the test queues and whose writes it inspects.
// An optional responder sees every written frame and may queue an answer,
// which the session then reads in its next tick.
class FakeLink : public Link {
public:
    std::size_t BytesQueued() override { return incoming.size(); }

    std::size_t Read(std::uint8_t* dst, std::size_t max) override {
        const std::size_t n = std::min(max, incoming.size());
        std::copy(incoming.begin(), incoming.begin() + n, dst);
        incoming.erase(incoming.begin(), incoming.begin() + n);
        readCalls.push_back(n);
        return n;
    }

    bool Write(const std::uint8_t* src, std::size_t n) override {
        DeviceFrame frame{};
        std::copy(src, src + std::min(n, frame.size()), frame.begin());
        written.push_back(frame);
        if (responder) {
            responder(frame);
        }
        return true;
    }

    void Queue(const std::uint8_t* bytes, std::size_t n) {
        incoming.insert(incoming.end(), bytes, bytes + n);
    }
    void Queue(const DeviceFrame& frame) { Queue(frame.data(), frame.size()); }

    std::size_t CountWritten(std::uint8_t code) const {
        return static_cast<std::size_t>(std::count_if(
            written.begin(), written.end(), [code](const DeviceFrame& f) { return f[0] == code; }));
    }

    std::deque<std::uint8_t> incoming;
    std::vector<DeviceFrame> written;
    std::vector<std::size_t> readCalls;
    std::function<void(const DeviceFrame&)> responder;
};

// Puts a correct check byte on a frame.
inline DeviceFrame Sealed(DeviceFrame frame) {
    frame[kFrameSize - 1] = FrameCheckByte(frame.data());
    return frame;
}

inline DeviceFrame AnswerFrame(std::uint8_t code, const std::uint8_t* payload) {
    DeviceFrame frame{};
    frame[0] = code;
    std::copy(payload, payload + kPayloadSize, frame.begin() + 1);
    return Sealed(frame);
}

// A quiet MonitorFrame of a unit at protocol 54.
inline DeviceFrame MonitorFrameBytes() {
    DeviceFrame frame{};
    frame[0] = MonitorCode;
    frame[monitorField::protocolVersion] = ProtocolVersion;
    frame[monitorField::servoOk] = 1;
    for (std::size_t c = 0; c < 4; ++c) {
        frame[monitorField::channelAdvance + c] = 100;
    }
    return Sealed(frame);
}

// A well-behaved unit: answers every frame as the protocol says, storing
// programmed pages in its memory.
struct FakeUnit {
    std::uint8_t memory[200] = {};
    UnitInfoBlock info{};
    unsigned answersToDrop = 0; // the next n data commands go unanswered

    FakeUnit() {
        info[0] = 'O';
        info[1] = 'R';
        info[2] = 'N';
        info[3] = 12;
        info[unitInfo::buildDay] = 7;
        info[unitInfo::buildMonthCode] = MonthCode(5);
        info[unitInfo::buildYear] = 9;
        info[unitInfo::buildHour] = 14;
        info[unitInfo::buildMinute] = 5;
        info[unitInfo::protocolVersion] = ProtocolVersion;
    }

    void Attach(FakeLink& link) {
        link.responder = [this, &link](const DeviceFrame& f) { Answer(link, f); };
    }

    void Answer(FakeLink& link, const DeviceFrame& f) {
        if (f[0] == PollCommand) {
            link.Queue(MonitorFrameBytes());
            return;
        }
        if (answersToDrop > 0) {
            --answersToDrop;
            return;
        }
        const std::size_t page = f[0] & PageMask;
        const bool read = (f[0] & ReadFlag) != 0;
        std::uint8_t payload[kPayloadSize] = {};
        if (page == 0) {
            std::copy(info.begin(), info.end(), payload);
        } else if (page <= 2) {
            std::uint8_t* stored = memory + (page - 1) * kPayloadSize;
            if (!read) {
                std::copy(f.begin() + 1, f.begin() + 1 + kPayloadSize, stored);
            }
            std::copy(stored, stored + kPayloadSize, payload);
        }
        link.Queue(AnswerFrame(static_cast<std::uint8_t>(f[0] ^ AnswerFlag), payload));
    }
};

} // namespace orna5::test
