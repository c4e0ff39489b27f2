#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orna5 {

// Why a restore point was kept.
enum class RestoreKind : std::uint8_t { Read, BeforeProgram, Programmed, Opened, Saved, Verified };

// "read", "before program", "programmed", "opened", "saved", "verified": the words of the
// index and of orna5ctl's listing.
const char* RestoreKindName(RestoreKind kind);
std::optional<RestoreKind> RestoreKindFromName(std::string_view name);

// One restore point as the index holds it. Its image lives in the history
// folder under RestorePointFileName(id); the name is never taken from the
// index, so a damaged or foreign index cannot point at any other file.
struct RestorePoint {
    std::uint64_t id = 0;    // unique in the index, rising with each point kept
    std::int64_t timeMs = 0; // milliseconds since 1970-01-01 UTC
    RestoreKind kind = RestoreKind::Read;
    std::string unitVersion;   // empty when unknown
    std::string unitBuildDate; // empty when unknown
    std::string sourcePath;    // the parameter file, empty when none

    bool operator==(const RestorePoint& other) const;
};

std::string RestorePointFileName(std::uint64_t id);

// The index: one line per restore point, oldest first. Lines that are not
// whole entries of this format (damaged, half-written, another program's or
// a later version's, a second entry with an id already seen) are skipped
// and counted; the others stay usable.
struct RestoreIndex {
    std::vector<RestorePoint> points;
    int skipped = 0;
};

RestoreIndex ReadRestoreIndex(std::string_view text);
std::string WriteRestoreIndex(const std::vector<RestorePoint>& points);

// The most restore points the history keeps.
constexpr std::size_t kMaxRestorePoints = 1000;

// Drops the oldest points until at most `limit` are left, except the newest
// `before program` one, which is what the unit held before the last Program
// and so the one the user is most likely to need. Returns the dropped points.
std::vector<RestorePoint> BoundRestorePoints(std::vector<RestorePoint>& points,
                                             std::size_t limit = kMaxRestorePoints);

} // namespace orna5
