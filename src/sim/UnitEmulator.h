#pragma once

#include "device/DeviceFrame.h"
#include "params/MonitorFrame.h"
#include "params/ParameterImage.h"
#include "sim/EngineModel.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orna5 {

// What the emulated unit says about itself in its information block.
struct UnitIdentity {
    std::string versionPrefix = "ORN"; // three characters
    std::uint8_t versionNumber = 12;   // shown as two digits
    std::uint8_t buildDay = 14;
    std::uint8_t buildMonth = 3; // 1..12, sent as the unit's month code
    std::uint8_t buildYear = 24; // minus 2000
    std::uint8_t buildHour = 10;
    std::uint8_t buildMinute = 5;
    std::string longVersion; // up to 30 characters; replaces the short one when set
};

// Ways the emulated unit can misbehave; any of them can be combined. The
// counted faults hit the answers to data commands (pages 0..2) only, unless
// faultPolls is set, so that idle polling does not use them up.
struct EmulatorOptions {
    bool silent = false;      // answers nothing at all
    int protocolVersion = 54; // in the information block and every live frame
    int dropAnswers = 0;      // the first K answers are not sent
    int corruptAnswers = 0;   // the first K answers carry a wrong check byte
    int badEchoAnswers = 0;   // the first K echoes of badEchoPage differ in one byte
    int badEchoPage = 1;
    int badStoreOffset = -1; // this memory byte (0..199) never stores what was sent
    int strayBytes = 0;      // junk bytes sent ahead of an answer ...
    int strayAnswers = 1;    // ... for the first K answers
    bool faultPolls = false; // the counted faults hit poll answers too
    UnitIdentity identity;
};

// The ignition unit as bytes in, bytes out: it collects command frames from
// the bytes it is fed and returns the answer bytes, keeping its parameter
// memory, programming counter and a small engine for the live data.
class UnitEmulator {
public:
    static constexpr std::size_t kMemorySize = kTransferSize;
    // Full scale of the save-in-progress count, and how much of it one poll
    // runs down.
    static constexpr int kSavingFull = kSavingFullScale;
    static constexpr int kSavingStep = 69;

    using Memory = std::array<std::uint8_t, kMemorySize>;
    using Payload = std::array<std::uint8_t, kPayloadSize>;

    // Starts with the parameters the program itself starts with.
    explicit UnitEmulator(EmulatorOptions options = {});

    // Takes bytes from the program; returns what the unit sends back.
    std::vector<std::uint8_t> Feed(const std::uint8_t* data, std::size_t n);
    std::vector<std::uint8_t> Feed(const std::vector<std::uint8_t>& data) {
        return Feed(data.data(), data.size());
    }
    // Forgets a partly received frame (the line went quiet mid-frame).
    void DiscardPartialFrame() { input.clear(); }
    std::size_t PartialFrameBytes() const { return input.size(); }

    const Memory& StoredBytes() const { return memory; }
    void SetStoredBytes(const Memory& bytes) { memory = bytes; }
    // Stores bytes 0..199 of an image.
    void StoreImage(const ParameterImage& image);
    // Stores the parameters of a .ign file; false with a reason when the
    // file cannot be read or is not a parameter file.
    bool LoadFile(const std::string& path, std::string& error);

    Payload InfoBlock() const;
    unsigned ProgrammingCount() const { return programmingCount; }
    int SavingCount() const { return savingCount; }
    unsigned PollCount() const { return pollCount; }
    // Good frames other than polls received so far.
    unsigned DataCommandCount() const { return dataCommandCount; }
    unsigned RejectedFrames() const { return rejectedFrames; }
    EngineModel& Engine() { return engine; }
    EmulatorOptions& Options() { return options; }
    // New faults; the counted ones count again from now.
    void SetOptions(const EmulatorOptions& newOptions);

private:
    // The answer frame to one good command frame; empty for no answer.
    std::vector<std::uint8_t> Answer(const std::uint8_t* frame);
    void BuildMonitorFrame(std::uint8_t* out);
    void ProgramPage(int page, const std::uint8_t* payload, std::uint8_t* echo);
    void ApplyFaults(std::vector<std::uint8_t>& answer, int page);

    EmulatorOptions options;
    Memory memory{};
    EngineModel engine;
    std::vector<std::uint8_t> input;
    unsigned programmingCount = 0;
    int savingCount = 0;
    unsigned pollCount = 0;
    unsigned dataCommandCount = 0;
    unsigned rejectedFrames = 0;
    // Faulted answers so far, by kind.
    int dropped = 0;
    int corrupted = 0;
    int badEchoes = 0;
    int strayed = 0;
};

} // namespace orna5
