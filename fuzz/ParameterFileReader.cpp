// Feeds arbitrary bytes to the parameter file reader. Whatever the reader
// accepts must also survive the writer: writing the result and reading it
// back gives the same image, flags apart: a switch is written as 0 or 1, and
// a 1 read over a switch that is on already leaves that "on" as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "files/ParameterFile.h"
#include "files/ParameterSnapshot.h"

namespace {

bool IsFlag(std::size_t offset) {
    using namespace orna5::field;
    return offset == excitationLong || offset == mapUsesTps || offset == servoEnable;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    orna5::ParameterImage image;
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(i * 37 + 11);
    }
    const orna5::ParameterImage before = image;

    std::istringstream in(text);
    const bool versionMatched = orna5::ReadParameterFile(in, image);
    if (!versionMatched && image != before) {
        std::abort();
    }

    std::ostringstream out;
    orna5::WriteParameterFile(out, image);
    orna5::ParameterImage reread = before;
    std::istringstream back(out.str());
    if (!orna5::ReadParameterFile(back, reread)) {
        std::abort();
    }
    for (std::size_t i = 0; i < image.size(); ++i) {
        const std::uint8_t on = before[i] != 0 ? before[i] : 1;
        const std::uint8_t expected = IsFlag(i) ? (image[i] != 0 ? on : 0) : image[i];
        if (reread[i] != expected) {
            std::abort();
        }
    }

    // The snapshot reader shares the number scanner; it must stay in bounds too.
    orna5::ParameterImage snapshot = before;
    std::istringstream snapshotIn(text);
    if (orna5::ReadParameterSnapshot(snapshotIn, snapshot) > snapshot.size()) {
        std::abort();
    }
    return 0;
}
