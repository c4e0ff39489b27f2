// Feeds arbitrary text to the snapshot reader, as a damaged or foreign
// _orna5.ini would reach it at start-up. Bytes the reader did not reach keep
// their value, the snapshot the program writes reads back to the same 207
// bytes, and the normalisation that start-up runs next is stable: running it
// again changes nothing (a transfer or an undo step normalises once more and
// must not find a different image).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "files/ParameterSnapshot.h"
#include "params/NormaliseImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    orna5::ParameterImage image;
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(i * 29 + 3);
    }
    const orna5::ParameterImage before = image;

    std::istringstream in(text);
    const std::size_t count = orna5::ReadParameterSnapshot(in, image);
    if (count > image.size()) {
        std::abort();
    }
    for (std::size_t i = count; i < image.size(); ++i) {
        if (image[i] != before[i]) {
            std::abort();
        }
    }

    std::ostringstream out;
    orna5::WriteParameterSnapshot(out, image);
    orna5::ParameterImage reread = before;
    std::istringstream back(out.str());
    if (orna5::ReadParameterSnapshot(back, reread) != image.size() || reread != image) {
        std::abort();
    }

    std::uint8_t language = static_cast<std::uint8_t>(size);
    std::uint8_t port = static_cast<std::uint8_t>(count);
    orna5::NormaliseImage(image, language, port);
    orna5::ParameterImage again = image;
    std::uint8_t languageAgain = language;
    std::uint8_t portAgain = port;
    orna5::NormaliseImage(again, languageAgain, portAgain);
    if (again != image || languageAgain != language || portAgain != port) {
        std::abort();
    }
    return 0;
}
