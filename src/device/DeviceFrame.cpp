#include "device/DeviceFrame.h"

#include "device/Link.h"

namespace orna5 {

std::uint8_t FrameCheckByte(const std::uint8_t* frame) {
    std::uint8_t check = 0xFF;
    for (std::size_t i = 0; i + 1 < kFrameSize; ++i) {
        check ^= frame[i];
    }
    return check;
}

bool FrameCheckOk(const std::uint8_t* frame) {
    return FrameCheckByte(frame) == frame[kFrameSize - 1];
}

DeviceFrame BuildDataFrame(std::uint8_t command, bool carriesImage, const ParameterImage& image) {
    DeviceFrame frame{};
    frame[0] = command;
    const std::size_t page = command & PageMask;
    // Only pages 1 and 2 map onto the transferred part of the image; any
    // other page number carries zeros rather than bytes from beyond it.
    if (carriesImage && (page == 1 || page == 2)) {
        const std::size_t first = (page - 1) * kPageSize;
        for (std::size_t k = 0; k < kPayloadSize; ++k) {
            frame[1 + k] = image[first + k];
        }
    }
    frame[kFrameSize - 1] = FrameCheckByte(frame.data());
    return frame;
}

DeviceFrame BuildPollFrame() {
    DeviceFrame frame{};
    frame[0] = PollCommand;
    frame[kFrameSize - 1] = FrameCheckByte(frame.data());
    return frame;
}

bool SendDataFrame(Link* link, std::uint8_t command, bool carriesImage,
                   const ParameterImage& image) {
    if (link == nullptr) {
        return false;
    }
    const DeviceFrame frame = BuildDataFrame(command, carriesImage, image);
    return link->Write(frame.data(), frame.size());
}

bool SendPollFrame(Link* link, bool drain) {
    if (link == nullptr) {
        return false;
    }
    const DeviceFrame frame = BuildPollFrame();
    return drain ? link->Write(frame.data(), frame.size()) : link->Send(frame.data(), frame.size());
}

} // namespace orna5
