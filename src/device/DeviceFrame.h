#pragma once

#include "params/ParameterImage.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace orna5 {

class Link;

// Every frame, both ways, is a code byte, a 100-byte payload and a check byte
// chosen so that the XOR of all 102 bytes is 0xFF.
constexpr std::size_t kFrameSize = 102;
constexpr std::size_t kPayloadSize = 100;
using DeviceFrame = std::array<std::uint8_t, kFrameSize>;

constexpr std::uint8_t PageMask = 0x3F;
constexpr std::uint8_t ReadFlag = 0x40;
constexpr std::uint8_t AnswerFlag = 0x80;
constexpr std::uint8_t PollCommand = 0x30;
constexpr std::uint8_t MonitorCode = 0xB0; // the answer to a poll
constexpr std::uint8_t ProtocolVersion = 54;

// Command codes of the three operations (page 0 first).
constexpr std::uint8_t ProgramCommand = 0x00;
constexpr std::uint8_t ReadCommand = ReadFlag;          // 0x40
constexpr std::uint8_t VerifyCommand = ReadFlag | 0x01; // 0x41: verify starts at page 1

// The check byte for bytes 0..100 of a frame.
std::uint8_t FrameCheckByte(const std::uint8_t* frame);

// True when the XOR of 0xFF and all 102 bytes is 0. Reads exactly 102 bytes.
bool FrameCheckOk(const std::uint8_t* frame);

// The frame for a data command. Pages 1 and 2 carry image bytes
// (page - 1) * 100 .. + 99 when carriesImage is set (Program, Verify);
// page 0, other pages and a Read carry zeros.
DeviceFrame BuildDataFrame(std::uint8_t command, bool carriesImage, const ParameterImage& image);

// 0x30, one hundred zeros, 0xCF.
DeviceFrame BuildPollFrame();

// Write a frame through the link; false when there is no link or the write
// failed (the resend rule of the operation makes good a lost frame).
bool SendDataFrame(Link* link, std::uint8_t command, bool carriesImage,
                   const ParameterImage& image);
// `drain`: return only once the frame has left the computer, as every
// frame always has; without it the poll is handed to the system only.
bool SendPollFrame(Link* link, bool drain = true);

} // namespace orna5
