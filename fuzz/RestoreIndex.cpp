// Feeds arbitrary bytes to the history index reader. Whatever it takes as
// entries is written back and read again unchanged, nothing is both taken
// and counted as skipped, and the bound keeps the newest `before program`.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "files/RestorePoint.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const orna5::RestoreIndex first = orna5::ReadRestoreIndex(text);
    const std::size_t lines =
        static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    if (first.points.size() + static_cast<std::size_t>(first.skipped) > lines) {
        std::abort();
    }
    const orna5::RestoreIndex again =
        orna5::ReadRestoreIndex(orna5::WriteRestoreIndex(first.points));
    if (again.skipped != 0 || !(again.points == first.points)) {
        std::abort();
    }

    std::vector<orna5::RestorePoint> bounded = first.points;
    const std::size_t limit = size % 4;
    const auto newestBefore =
        std::find_if(bounded.rbegin(), bounded.rend(), [](const orna5::RestorePoint& p) {
            return p.kind == orna5::RestoreKind::BeforeProgram;
        });
    const bool hadBefore = newestBefore != bounded.rend();
    const std::uint64_t keptId = hadBefore ? newestBefore->id : 0;
    const std::size_t count = bounded.size();
    const std::size_t dropped = orna5::BoundRestorePoints(bounded, limit).size();
    if (dropped + bounded.size() != count || bounded.size() > std::max<std::size_t>(limit, 1) ||
        (count > limit && bounded.size() != std::max<std::size_t>(limit, hadBefore ? 1 : 0))) {
        std::abort();
    }
    if (hadBefore &&
        std::none_of(bounded.begin(), bounded.end(),
                     [keptId](const orna5::RestorePoint& p) { return p.id == keptId; })) {
        std::abort();
    }
    return 0;
}
