// Feeds arbitrary bytes as a udev record to the ModemManager check: it never
// reads past the record, and it agrees with a plain line-by-line reading.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "device/ModemManagerWatch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::istringstream lines(text);
    bool expected = false;
    for (std::string line; std::getline(lines, line);)
        expected = expected || line == "E:ID_MM_DEVICE_IGNORE=1";
    if (orna5::UdevRecordIgnoresModemManager(text) != expected)
        std::abort();
    return 0;
}
