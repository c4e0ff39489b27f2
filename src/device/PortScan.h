#pragma once

#include "device/SerialLink.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orna5 {

enum class ProbeAnswer {
    Answered,   // a valid frame came back
    NoAnswer,   // opened, polled, nothing valid within the time
    Busy,       // another program holds the device
    CannotOpen, // missing, no permission or any other failure (see reason)
};

struct ProbeResult {
    std::string device;
    ProbeAnswer answer = ProbeAnswer::NoAnswer;
    std::string reason;       // the system's reason when the device could not be opened
    int protocolVersion = -1; // from the answer, when it carried one
    std::string versionText;  // the unit's version text, when asked for and given
};

// Looks for the unit on a list of serial devices, one at a time, driven by
// the caller's 55 ms tick: each device is opened exclusively, polled, and
// given as long as a silent unit takes to show "No Connection" to send a
// valid frame back. A device another program holds is skipped. Nothing
// waits except the writes of the poll.
class PortScan {
public:
    // Ticks a device has to answer: the "No Connection" time.
    static constexpr int kAnswerTicks = 18;

    struct Options {
        bool stopAtFirst = true;  // end with the first device that answers
        bool readVersion = false; // also ask a unit that answered for its version text
    };

    PortScan(std::vector<std::string> devices, Options options);
    explicit PortScan(std::vector<std::string> devices) : PortScan(std::move(devices), Options{}) {}
    ~PortScan();
    PortScan(const PortScan&) = delete;
    PortScan& operator=(const PortScan&) = delete;

    // One tick; false once the scan has ended (all tried, found, or stopped).
    bool Tick();
    // Ends the scan at once and lets go of the device being tried.
    void Stop();
    bool Running() const { return !finished; }

    const std::vector<std::string>& Devices() const { return devices; }
    // The device being tried (0-based), for progress; Devices().size() at the end.
    std::size_t CurrentIndex() const { return index; }
    // What became of each device tried so far, in order.
    const std::vector<ProbeResult>& Results() const { return results; }
    // The first device that answered; null when none did (yet).
    const ProbeResult* Found() const;

private:
    enum class Phase { Start, Poll, AskVersion };

    // Opens devices until one opens or the list ends; false at the end.
    bool OpenNext();
    void Finish(ProbeAnswer answer);
    // The first frame queued, when a whole valid one is there.
    bool TakeFrame(std::uint8_t* frame);

    std::vector<std::string> devices;
    Options options;
    SerialLink link;
    std::vector<ProbeResult> results;
    ProbeResult current;
    std::size_t index = 0;
    Phase phase = Phase::Start;
    int ticks = 0;
    bool finished = false;
};

} // namespace orna5
