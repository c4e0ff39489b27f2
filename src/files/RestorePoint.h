#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orna5 {

// Why a restore point was kept.
enum class RestoreKind : std::uint8_t { Read, BeforeProgram, Programmed, Opened, Saved, Verified };

// "read", "before program", "programmed", "opened", "saved", "verified": the
// words of the index and of orna5ctl's listing.
const char* RestoreKindName(RestoreKind kind);
std::optional<RestoreKind> RestoreKindFromName(std::string_view name);

// The unit's information block as it answered it.
using UnitInfoBytes = std::array<std::uint8_t, 100>;

// One restore point as the index holds it. Its files live in the history
// folder under RestorePointBytesFileName(id) and RestorePointFileName(id);
// the names are never taken from the index, so a damaged or foreign index
// cannot point at any other file.
struct RestorePoint {
    std::uint64_t id = 0;    // unique in the index, rising with each point kept
    std::int64_t timeMs = 0; // milliseconds since 1970-01-01 UTC
    RestoreKind kind = RestoreKind::Read;
    std::string unitVersion;   // empty when unknown
    std::string unitBuildDate; // empty when unknown
    std::string sourcePath;    // the parameter file, empty when none

    bool operator==(const RestorePoint& other) const;
};

// "restore-<id>.ign": the point as a parameter file, for people and for
// points kept before the exact bytes were.
std::string RestorePointFileName(std::uint64_t id);
// "restore-<id>.point": the point's exact bytes with its own entry.
std::string RestorePointBytesFileName(std::uint64_t id);

// Everything a restore point holds, exactly: the 200 bytes the unit carries
// (its reserved bytes too, which a parameter file cannot), the information
// block when the unit gave one, and the point's own entry, so that the file
// is listed again even when the index lost it.
struct RestorePointFile {
    RestorePoint entry;
    std::array<std::uint8_t, 200> bytes{};
    std::optional<UnitInfoBytes> unitInfo;

    bool operator==(const RestorePointFile& other) const;
};

// The largest point file the reader takes: the longest entry, escaped, with
// the bytes and the block as hex stays well below it.
constexpr std::size_t kMaxRestorePointFileBytes = 16 * 1024;

std::string WriteRestorePointFile(const RestorePointFile& file);
// Nothing unless the text is one whole point file of this format, check
// line included and nothing after it.
std::optional<RestorePointFile> ReadRestorePointFile(std::string_view text);

// The index: a line holding the next id to give, then one line per restore
// point, oldest first. Lines that are not whole lines of this format
// (damaged, half-written, another program's or a later version's, a second
// entry with an id already seen) are kept as they are, so that rewriting
// the index never loses what a later version or a repair could still use.
struct RestoreIndex {
    std::vector<RestorePoint> points;
    // Lines the reader could not use, verbatim, each cut at kMaxKeptLineBytes
    // and at most kMaxKeptLines of them.
    std::vector<std::string> keptLines;
    // The lowest id never given: an id once given is never given again,
    // even when its point was removed.
    std::uint64_t nextId = 1;
    int skipped = 0; // lines that could not be used, kept or beyond the cap
};

constexpr std::size_t kMaxKeptLineBytes = 8 * 1024;
constexpr std::size_t kMaxKeptLines = 1000;

// nextId is the larger of the stored one and the highest id + 1.
RestoreIndex ReadRestoreIndex(std::string_view text);
// The next-id line (never below the highest id + 1), the entries, then the
// kept lines.
std::string WriteRestoreIndex(const RestoreIndex& index);

// The most restore points the history keeps.
constexpr std::size_t kMaxRestorePoints = 1000;
// A `before program` point younger than this is never dropped by the bound:
// a unit programmed again and again (a half-written one retried, a tune
// tried many times) must not push out what it held before.
constexpr std::int64_t kBeforeProgramKeptMs = 30LL * 24 * 60 * 60 * 1000;

// Drops the oldest points until at most `limit` are left, except the newest
// `before program` one, which is what the unit held before the last Program
// and so the one the user is most likely to need, and every `before program`
// one younger than kBeforeProgramKeptMs at `nowMs`; with many of those, more
// than `limit` stay. `points` are oldest first; a point counts as no older
// than any before it, whatever the clock stamped. Returns the dropped points.
std::vector<RestorePoint> BoundRestorePoints(std::vector<RestorePoint>& points, std::int64_t nowMs,
                                             std::size_t limit = kMaxRestorePoints);

} // namespace orna5
