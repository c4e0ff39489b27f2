// Feeds arbitrary bytes to the timing-light check's reader. What it takes is
// within the bounds, is written back and read again as the same check, and
// its verdict can be drawn; what it refuses says where.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "timing/TimingCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const orna5::TimingRead read = orna5::ReadTimingCheck(text);
    if (!read.Ok()) {
        if (!read.check.points.empty() || orna5::TimingFaultText(read, 0).empty()) {
            std::abort();
        }
        return 0;
    }
    const orna5::TimingCheck& check = read.check;
    if (size > orna5::kMaxTimingFileBytes || check.points.size() > orna5::kMaxTimingPoints ||
        check.channel < 0 || check.channel > 4) {
        std::abort();
    }
    const orna5::Drift drift = orna5::DriftOf(check.points, check.channel);
    if (std::isnan(drift.slopePer1000) || std::isnan(drift.offset) ||
        orna5::DriftText(drift, 3).empty()) {
        std::abort();
    }
    const std::string written = orna5::WriteTimingCheck(check);
    const orna5::TimingRead again = orna5::ReadTimingCheck(written);
    if (!again.Ok() || !(again.check == check) || orna5::WriteTimingCheck(again.check) != written) {
        std::abort();
    }
    return 0;
}
