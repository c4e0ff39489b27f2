#pragma once

#include <cstddef>
#include <cstdint>

namespace orna5 {

// The byte pipe to the unit as the tick sees it: a serial port, a scripted
// fake in tests, or an emulated unit. Nothing here waits except Write.
class Link {
public:
    virtual ~Link() = default;
    // Bytes received and not yet read; never waits.
    virtual std::size_t BytesQueued() = 0;
    // Reads up to max queued bytes; returns how many were read. Never waits
    // for bytes that have not arrived.
    virtual std::size_t Read(std::uint8_t* dst, std::size_t max) = 0;
    // Writes n bytes and returns once they have left (or failed to);
    // false when the link is closed or the write failed.
    virtual bool Write(const std::uint8_t* src, std::size_t n) = 0;
    // Hands n bytes to the system and returns without waiting for them to
    // reach the line; for the Fast rate's polls, which must not hold the one
    // thread for the 18 ms a frame takes at 57600 baud.
    virtual bool Send(const std::uint8_t* src, std::size_t n) { return Write(src, n); }
};

} // namespace orna5
