// Feeds arbitrary bytes to the history index reader. Whatever it takes as
// entries and every line it keeps is written back and read again unchanged,
// the next id stays above every id, nothing is both taken and kept, and the
// bound keeps the newest `before program` and every young one.
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
    if (first.points.size() + static_cast<std::size_t>(first.skipped) > lines ||
        first.keptLines.size() > static_cast<std::size_t>(first.skipped) ||
        first.keptLines.size() > orna5::kMaxKeptLines) {
        std::abort();
    }
    for (const orna5::RestorePoint& p : first.points) {
        if (p.id >= first.nextId) {
            std::abort();
        }
    }
    const orna5::RestoreIndex again = orna5::ReadRestoreIndex(orna5::WriteRestoreIndex(first));
    if (!(again.points == first.points) || again.keptLines != first.keptLines ||
        again.nextId != first.nextId) {
        std::abort();
    }

    std::vector<orna5::RestorePoint> bounded = first.points;
    const std::size_t limit = size % 4;
    const std::int64_t now = bounded.empty() ? 0 : bounded.back().timeMs;
    const auto newestBefore =
        std::find_if(bounded.rbegin(), bounded.rend(), [](const orna5::RestorePoint& p) {
            return p.kind == orna5::RestoreKind::BeforeProgram;
        });
    const bool hadBefore = newestBefore != bounded.rend();
    const std::uint64_t keptId = hadBefore ? newestBefore->id : 0;
    const std::size_t count = bounded.size();
    const std::vector<orna5::RestorePoint> dropped = orna5::BoundRestorePoints(bounded, now, limit);
    if (dropped.size() + bounded.size() != count || (count <= limit && !dropped.empty()) ||
        (count > limit && bounded.size() < limit)) {
        std::abort();
    }
    for (const orna5::RestorePoint& p : dropped) {
        if (p.id == keptId && hadBefore) {
            std::abort();
        }
        if (p.kind == orna5::RestoreKind::BeforeProgram &&
            p.timeMs > now - orna5::kBeforeProgramKeptMs) {
            std::abort();
        }
    }
    // Beyond the limit only what the bound must keep stays.
    if (bounded.size() > limit) {
        for (const orna5::RestorePoint& p : bounded) {
            const bool young = p.timeMs > now - orna5::kBeforeProgramKeptMs;
            if (p.kind != orna5::RestoreKind::BeforeProgram || (p.id != keptId && !young)) {
                std::abort();
            }
        }
    }
    return 0;
}
