// Feeds arbitrary bytes to the restore point file reader. What it takes is
// written back and read again as the same point, and nothing larger than
// the bound is ever taken.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "files/RestorePoint.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<orna5::RestorePointFile> file = orna5::ReadRestorePointFile(text);
    if (!file) {
        return 0;
    }
    if (size > orna5::kMaxRestorePointFileBytes || file->entry.id == 0) {
        std::abort();
    }
    const std::string written = orna5::WriteRestorePointFile(*file);
    const std::optional<orna5::RestorePointFile> again = orna5::ReadRestorePointFile(written);
    if (!again || !(*again == *file) || orna5::WriteRestorePointFile(*again) != written) {
        std::abort();
    }
    return 0;
}
