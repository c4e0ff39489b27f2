// Drives the Read, Program and Verify exchanges tick by tick against an
// emulated unit behind a line that the input damages: answers split, held
// back, cut short, bit-flipped, duplicated, lost; garbage and live frames
// thrown in; writes that fail; a unit that changes its protocol version or
// keeps a memory cell wrong. What must hold whatever the line does:
//  - the image changes only in the tick that accepts the last page of a Read;
//  - an operation reports its outcome in the tick it ends, and never success
//    while the unit's memory differs from the image (byte 1 is reserved to
//    the unit and left out of every comparison), unless the input itself
//    forged whole answers out of garbage;
//  - the receive step never asks for more than its buffer holds;
//  - status, gauge and live panel stay within their ranges.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <vector>

#include "device/DeviceSession.h"
#include "device/Link.h"
#include "device/LiveLabel.h"
#include "params/BikePresets.h"
#include "params/NormaliseImage.h"
#include "sim/UnitEmulator.h"

namespace {

using namespace orna5;

constexpr std::size_t kReceiveBuffer = 10000;
constexpr int kMaxTicks = 4000;

// ORNA5_FUZZ_TRACE=1 prints every status line change, to follow a find.
const bool kTrace = std::getenv("ORNA5_FUZZ_TRACE") != nullptr;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// What the next frame the program writes suffers on its way to the unit.
enum class Outgoing { Clean, Lost, Flipped, Cut, Failed };

// The line between the session and the emulated unit. Answers wait on the
// line until the input delivers them to the session's receive queue.
class FuzzLine : public Link {
public:
    explicit FuzzLine(UnitEmulator& unit) : unit(unit) {}

    std::size_t BytesQueued() override { return incoming.size(); }

    std::size_t Read(std::uint8_t* dst, std::size_t max) override {
        Check(max <= kReceiveBuffer);
        const std::size_t n = std::min(max, incoming.size());
        std::copy(incoming.begin(), incoming.begin() + static_cast<std::ptrdiff_t>(n), dst);
        incoming.erase(incoming.begin(), incoming.begin() + static_cast<std::ptrdiff_t>(n));
        return n;
    }

    bool Write(const std::uint8_t* src, std::size_t n) override {
        std::vector<std::uint8_t> frame(src, src + n);
        const Outgoing fault = next;
        next = Outgoing::Clean;
        switch (fault) {
        case Outgoing::Failed:
            return false;
        case Outgoing::Lost:
            return true;
        case Outgoing::Flipped:
            frame[flipAt % frame.size()] ^= static_cast<std::uint8_t>(1u << (flipAt % 8));
            break;
        case Outgoing::Cut:
            frame.resize(flipAt % frame.size());
            break;
        case Outgoing::Clean:
            break;
        }
        const std::vector<std::uint8_t> answer = unit.Feed(frame);
        line.insert(line.end(), answer.begin(), answer.end());
        return true;
    }

    void Deliver(std::size_t n) {
        n = std::min(n, line.size());
        incoming.insert(incoming.end(), line.begin(),
                        line.begin() + static_cast<std::ptrdiff_t>(n));
        line.erase(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(n));
    }

    UnitEmulator& unit;
    std::deque<std::uint8_t> line;     // sent by the unit, not yet arrived
    std::deque<std::uint8_t> incoming; // arrived, not yet read
    Outgoing next = Outgoing::Clean;
    std::size_t flipAt = 0;
};

bool MemoryMatches(const UnitEmulator& unit, const ParameterImage& image) {
    const UnitEmulator::Memory& memory = unit.StoredBytes();
    for (std::size_t i = 0; i < memory.size(); ++i) {
        if (i != field::reserved1 && memory[i] != image[i]) {
            return false;
        }
    }
    return true;
}

void CheckPanel(const DeviceSession& session) {
    const MonitorPanel& panel = session.Panel();
    Check(panel.rpmGauge >= 0 && panel.rpmGauge <= 100);
    Check(panel.tpsGauge >= 0 && panel.tpsGauge <= 100);
    const LiveLabel* labels[] = {
        &panel.rpm,          &panel.voltage,       &panel.blocking,  &panel.advance[0],
        &panel.advance[3],   &panel.shiftLight,    &panel.pickup[1], &panel.tps,
        &panel.servoDesired, &panel.servoMeasured, &panel.version,   &panel.programmingCount,
        &panel.tests[7],     &panel.inputs[1],     &panel.clutch,    &panel.killSwitch};
    for (int language = 0; language < 4; ++language) {
        for (const LiveLabel* label : labels) {
            Check(RenderLabel(*label, language).size() < 1000);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);

    ParameterImage image;
    image[field::bikeCode] = in.ConsumeIntegralInRange<std::uint8_t>(0, 31);
    bool chosen = false;
    ApplyBikePreset(image, chosen);
    for (int n = in.ConsumeIntegralInRange<int>(0, 4); n > 0; --n) {
        image[in.ConsumeIntegralInRange<std::size_t>(0, kImageSize - 1)] =
            in.ConsumeIntegral<std::uint8_t>();
    }
    NormaliseImage(image);

    UnitEmulator unit;
    FuzzLine link(unit);
    DeviceSession session(image);
    session.SetLink(&link);

    bool forgeable = false; // the input built whole frames of its own
    int flips = 0;
    int ticks = 0;
    while (in.remaining_bytes() > 0 && ticks < kMaxTicks) {
        switch (in.ConsumeIntegralInRange<int>(0, 19)) {
        case 0:
            session.StartProgramming();
            break;
        case 1:
            session.StartVerify();
            break;
        case 2:
            session.StartRead();
            break;
        case 3:
            link.Deliver(in.ConsumeIntegralInRange<std::size_t>(0, 300));
            break;
        case 4:
            link.Deliver(link.line.size());
            break;
        case 5: {
            const std::size_t n = std::min(link.line.size(), in.ConsumeIntegral<std::size_t>());
            link.line.erase(link.line.begin(), link.line.begin() + static_cast<std::ptrdiff_t>(n));
            break;
        }
        case 6:
            if (!link.line.empty()) {
                const std::size_t at = in.ConsumeIntegral<std::size_t>();
                link.line[at % link.line.size()] ^= static_cast<std::uint8_t>(1u << (at % 8));
                forgeable = forgeable || ++flips > 1;
            }
            break;
        case 7: {
            // A copy of what is on the line arrives twice.
            if (link.line.size() > kReceiveBuffer) {
                break;
            }
            const std::vector<std::uint8_t> copy(link.line.begin(), link.line.end());
            link.line.insert(link.line.end(), copy.begin(), copy.end());
            break;
        }
        case 8: {
            const std::vector<std::uint8_t> garbage =
                in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange<std::size_t>(1, 400));
            link.incoming.insert(link.incoming.end(), garbage.begin(), garbage.end());
            forgeable = true;
            break;
        }
        case 9: {
            // A burst far beyond what one tick reads.
            if (link.incoming.size() > 10 * kReceiveBuffer) {
                break;
            }
            const std::size_t n =
                in.ConsumeIntegralInRange<std::size_t>(kReceiveBuffer - 200, 3 * kReceiveBuffer);
            link.incoming.insert(link.incoming.end(), n, in.ConsumeIntegral<std::uint8_t>());
            forgeable = true;
            break;
        }
        case 10: {
            // A live frame with any content and a good check byte.
            DeviceFrame frame{};
            frame[0] = MonitorCode;
            const std::vector<std::uint8_t> body = in.ConsumeBytes<std::uint8_t>(kPayloadSize);
            std::copy(body.begin(), body.end(), frame.begin() + 1);
            frame[kFrameSize - 1] = FrameCheckByte(frame.data());
            forgeable = forgeable || !link.incoming.empty();
            link.incoming.insert(link.incoming.end(), frame.begin(), frame.end());
            break;
        }
        case 11:
            unit.Options().protocolVersion =
                in.ConsumeBool() ? ProtocolVersion : in.ConsumeIntegral<std::uint8_t>();
            break;
        case 12:
            unit.Options().badStoreOffset = in.ConsumeIntegralInRange<int>(-1, 199);
            break;
        case 13:
            unit.Options().silent = in.ConsumeBool();
            break;
        case 14:
            // The unit's memory changes only while nothing is under way, or
            // an answer already sent would describe a memory that is gone.
            if (session.CurrentOperation() == Operation::Idle && link.line.empty() &&
                link.incoming.empty()) {
                UnitEmulator::Memory memory = unit.StoredBytes();
                memory[in.ConsumeIntegralInRange<std::size_t>(0, memory.size() - 1)] =
                    in.ConsumeIntegral<std::uint8_t>();
                unit.SetStoredBytes(memory);
            }
            break;
        case 15:
            link.next = static_cast<Outgoing>(in.ConsumeIntegralInRange<int>(0, 4));
            link.flipAt = in.ConsumeIntegral<std::size_t>();
            break;
        case 16:
            session.Display().SetPrintingInProgress(in.ConsumeBool());
            break;
        default: {
            const Operation before = session.CurrentOperation();
            const ParameterImage imageBefore = image;
            // The line goes quiet between ticks, so the unit forgets a frame
            // it got only part of.
            unit.DiscardPartialFrame();
            const TickResult result = session.Tick();
            ++ticks;
            const Operation after = session.CurrentOperation();
            if (image != imageBefore) {
                Check(before == Operation::Read && after == Operation::Verify &&
                      result.imageChanged);
                Check(std::equal(image.begin() + kTransferSize, image.end(),
                                 imageBefore.begin() + kTransferSize));
            }
            const StatusLine& status = session.Display().Status();
            // An operation reports its end in the tick it ends, and only a
            // passed Verify reports success.
            Check(result.ended.has_value() ==
                  (before != Operation::Idle && after == Operation::Idle));
            if (result.ended && result.ended->outcome == Outcome::Success) {
                Check(forgeable || MemoryMatches(unit, image));
                Check(status.colour != ColourRole::Red);
            }
            Check(session.Display().Gauge().position >= 0 &&
                  session.Display().Gauge().position <= session.Display().Gauge().maximum);
            Check(session.Display().StatusTicks() <= 200);
            if (result.monitorFrame) {
                CheckPanel(session);
            }
            if (kTrace) {
                std::fprintf(stderr, "tick %d op %d cmd %02x: %s%s\n", ticks,
                             static_cast<int>(after), session.CurrentCommand(),
                             session.Display().Render(0).c_str(),
                             status.colour == ColourRole::Red ? " (red)" : "");
            }
            break;
        }
        }
    }
    return 0;
}
