#include "files/RestorePoint.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <limits>
#include <set>

namespace orna5 {

namespace {

// Every entry line starts with this tag, so a line of another format (or of
// a later version of this one) is told apart before anything is read from it.
constexpr std::string_view kTag = "orna5-restore-1";
// The index line holding the next id to give.
constexpr std::string_view kNextTag = "orna5-next-1";
// The first line of a point file; its other lines are tagged with their use.
constexpr std::string_view kPointTag = "orna5-point-1";
constexpr std::size_t kFieldCount = 8; // tag, id, time, kind, version, date, source, check

// Longest texts an entry may carry; longer ones are cut when written and
// refused when read, so a damaged index cannot make one entry huge.
constexpr std::size_t kMaxVersionBytes = 64;
constexpr std::size_t kMaxDateBytes = 32;
constexpr std::size_t kMaxPathBytes = 4096;

constexpr const char* kKindNames[] = {"read",   "before program", "programmed",
                                      "opened", "saved",          "verified"};

// FNV-1a: cheap, and enough to tell a damaged or cut line from a whole one.
std::uint32_t LineCheck(std::string_view text) {
    std::uint32_t hash = 2166136261u;
    for (const char c : text) {
        hash = (hash ^ static_cast<std::uint8_t>(c)) * 16777619u;
    }
    return hash;
}

std::string Hex8(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

std::string Escape(std::string_view text, std::size_t limit) {
    text = text.substr(0, limit);
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::optional<std::string> Unescape(std::string_view text, std::size_t limit) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) {
            return std::nullopt;
        }
        switch (text[i]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        default:
            return std::nullopt;
        }
    }
    if (out.size() > limit) {
        return std::nullopt;
    }
    return out;
}

// Decimal digits only, no sign, no overflow. An id takes up to 20 digits:
// every id the store gives must read back.
template <typename T> std::optional<T> Number(std::string_view text) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    if (text.empty() || text.size() > 20) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (kMax - digit) / 10) {
            return std::nullopt;
        }
        value = value * 10 + digit;
    }
    if (value > static_cast<std::uint64_t>(std::numeric_limits<T>::max())) {
        return std::nullopt;
    }
    return static_cast<T>(value);
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos || fields.size() > kFieldCount) {
            return fields;
        }
        start = tab + 1;
    }
}

// The entry's fields, f[0] the id: shared by the index and the point file.
std::optional<RestorePoint> ParseFields(const std::vector<std::string_view>& f) {
    const auto id = Number<std::uint64_t>(f[0]);
    const auto time = Number<std::int64_t>(f[1]);
    const auto kind = RestoreKindFromName(f[2]);
    auto version = Unescape(f[3], kMaxVersionBytes);
    auto date = Unescape(f[4], kMaxDateBytes);
    auto source = Unescape(f[5], kMaxPathBytes);
    if (!id || *id == 0 || !time || !kind || !version || !date || !source) {
        return std::nullopt;
    }
    return RestorePoint{
        *id, *time, *kind, std::move(*version), std::move(*date), std::move(*source)};
}

std::string FormatFields(const RestorePoint& p) {
    std::string line =
        std::to_string(p.id) + '\t' + std::to_string(std::max<std::int64_t>(p.timeMs, 0));
    line += '\t' + std::string(RestoreKindName(p.kind));
    line += '\t' + Escape(p.unitVersion, kMaxVersionBytes);
    line += '\t' + Escape(p.unitBuildDate, kMaxDateBytes);
    line += '\t' + Escape(p.sourcePath, kMaxPathBytes);
    return line;
}

// A line "tag, fields..., check" whose check matches: its fields between
// the tag and the check, or nothing.
std::optional<std::vector<std::string_view>>
CheckedFields(std::string_view line, std::string_view tag, std::size_t count) {
    std::vector<std::string_view> f = SplitTabs(line);
    if (f.size() != count || f[0] != tag) {
        return std::nullopt;
    }
    const std::size_t checked = line.size() - f.back().size() - 1;
    if (f.back() != Hex8(LineCheck(line.substr(0, checked)))) {
        return std::nullopt;
    }
    return std::vector<std::string_view>(f.begin() + 1, f.end() - 1);
}

std::optional<RestorePoint> ParseEntry(std::string_view line) {
    const auto f = CheckedFields(line, kTag, kFieldCount);
    if (!f) {
        return std::nullopt;
    }
    return ParseFields(*f);
}

std::string FormatEntry(const RestorePoint& p) {
    std::string line = std::string(kTag) + '\t' + FormatFields(p);
    return line + '\t' + Hex8(LineCheck(line)) + '\n';
}

std::optional<std::uint64_t> ParseNext(std::string_view line) {
    const auto f = CheckedFields(line, kNextTag, 3);
    if (!f) {
        return std::nullopt;
    }
    const auto next = Number<std::uint64_t>((*f)[0]);
    if (!next || *next == 0) {
        return std::nullopt;
    }
    return next;
}

std::string FormatNext(std::uint64_t next) {
    std::string line = std::string(kNextTag) + '\t' + std::to_string(next);
    return line + '\t' + Hex8(LineCheck(line)) + '\n';
}

// Lower case only, so that a point file has one spelling and its check
// covers exactly what is read.
std::string Hex(const std::uint8_t* bytes, std::size_t count) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 0x0f];
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

bool FromHex(std::string_view text, std::uint8_t* bytes, std::size_t count) {
    if (text.size() != count * 2) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const int high = HexDigit(text[2 * i]);
        const int low = HexDigit(text[2 * i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        bytes[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return true;
}

// The text after "tag\t" when the line starts so, or nothing.
std::optional<std::string_view> After(std::string_view line, std::string_view tag) {
    if (line.size() <= tag.size() || line.substr(0, tag.size()) != tag ||
        line[tag.size()] != '\t') {
        return std::nullopt;
    }
    return line.substr(tag.size() + 1);
}

} // namespace

const char* RestoreKindName(RestoreKind kind) {
    const auto at = static_cast<std::size_t>(kind);
    return at < std::size(kKindNames) ? kKindNames[at] : kKindNames[0];
}

std::optional<RestoreKind> RestoreKindFromName(std::string_view name) {
    for (std::size_t i = 0; i < std::size(kKindNames); ++i) {
        if (name == kKindNames[i]) {
            return static_cast<RestoreKind>(i);
        }
    }
    return std::nullopt;
}

bool RestorePoint::operator==(const RestorePoint& o) const {
    return id == o.id && timeMs == o.timeMs && kind == o.kind && unitVersion == o.unitVersion &&
           unitBuildDate == o.unitBuildDate && sourcePath == o.sourcePath;
}

bool RestorePointFile::operator==(const RestorePointFile& o) const {
    return entry == o.entry && bytes == o.bytes && unitInfo == o.unitInfo;
}

std::string RestorePointFileName(std::uint64_t id) {
    return "restore-" + std::to_string(id) + ".ign";
}

std::string RestorePointBytesFileName(std::uint64_t id) {
    return "restore-" + std::to_string(id) + ".point";
}

std::string WriteRestorePointFile(const RestorePointFile& file) {
    std::string text(kPointTag);
    text += "\nentry\t" + FormatFields(file.entry);
    text += "\nbytes\t" + Hex(file.bytes.data(), file.bytes.size());
    text += "\ninfo\t" + (file.unitInfo ? Hex(file.unitInfo->data(), file.unitInfo->size()) : "-");
    text += '\n';
    return text + "check\t" + Hex8(LineCheck(text)) + '\n';
}

std::optional<RestorePointFile> ReadRestorePointFile(std::string_view text) {
    if (text.size() > kMaxRestorePointFileBytes || text.empty() || text.back() != '\n') {
        return std::nullopt;
    }
    std::string_view lines[5];
    std::size_t start = 0;
    for (std::string_view& line : lines) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        line = text.substr(start, end - start);
        start = end + 1;
    }
    if (start != text.size() || lines[0] != kPointTag) {
        return std::nullopt;
    }
    const auto check = After(lines[4], "check");
    const std::size_t checked = static_cast<std::size_t>(lines[4].data() - text.data());
    if (!check || *check != Hex8(LineCheck(text.substr(0, checked)))) {
        return std::nullopt;
    }
    const auto entry = After(lines[1], "entry");
    const auto bytes = After(lines[2], "bytes");
    const auto info = After(lines[3], "info");
    if (!entry || !bytes || !info) {
        return std::nullopt;
    }
    const std::vector<std::string_view> fields = SplitTabs(*entry);
    if (fields.size() != kFieldCount - 2) {
        return std::nullopt;
    }
    std::optional<RestorePoint> point = ParseFields(fields);
    RestorePointFile file;
    if (!point || !FromHex(*bytes, file.bytes.data(), file.bytes.size())) {
        return std::nullopt;
    }
    file.entry = std::move(*point);
    if (*info != "-") {
        file.unitInfo.emplace();
        if (!FromHex(*info, file.unitInfo->data(), file.unitInfo->size())) {
            return std::nullopt;
        }
    }
    return file;
}

RestoreIndex ReadRestoreIndex(std::string_view text) {
    RestoreIndex index;
    std::set<std::uint64_t> ids;
    std::uint64_t stored = 1;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.empty()) {
            continue;
        }
        std::optional<RestorePoint> point = ParseEntry(line);
        if (point && ids.insert(point->id).second) {
            index.points.push_back(std::move(*point));
            continue;
        }
        if (!point) {
            if (const auto next = ParseNext(line)) {
                stored = std::max(stored, *next);
                continue;
            }
        }
        ++index.skipped;
        if (index.keptLines.size() < kMaxKeptLines) {
            index.keptLines.emplace_back(line.substr(0, kMaxKeptLineBytes));
        }
    }
    // An id past the top can only come from a damaged line that still read;
    // giving none after it is better than giving one twice.
    const std::uint64_t top = ids.empty() ? 0 : *ids.rbegin();
    index.nextId =
        std::max(stored, top == std::numeric_limits<std::uint64_t>::max() ? top : top + 1);
    return index;
}

std::string WriteRestoreIndex(const RestoreIndex& index) {
    std::uint64_t next = std::max<std::uint64_t>(index.nextId, 1);
    for (const RestorePoint& point : index.points) {
        if (point.id != std::numeric_limits<std::uint64_t>::max()) {
            next = std::max(next, point.id + 1);
        }
    }
    std::string text = FormatNext(next);
    for (const RestorePoint& point : index.points) {
        text += FormatEntry(point);
    }
    for (const std::string& line : index.keptLines) {
        // A kept line never splits into two, whatever a caller put in it.
        std::string_view kept(line);
        kept = kept.substr(0, std::min({kept.find('\n'), kMaxKeptLineBytes}));
        if (!kept.empty()) {
            text.append(kept);
            text += '\n';
        }
    }
    return text;
}

std::vector<RestorePoint> BoundRestorePoints(std::vector<RestorePoint>& points, std::int64_t nowMs,
                                             std::size_t limit) {
    std::vector<RestorePoint> dropped;
    if (points.size() <= limit) {
        return dropped;
    }
    const auto newestBefore =
        std::find_if(points.rbegin(), points.rend(),
                     [](const RestorePoint& p) { return p.kind == RestoreKind::BeforeProgram; });
    const RestorePoint* newest = newestBefore == points.rend() ? nullptr : &*newestBefore;
    const std::int64_t young =
        nowMs < std::numeric_limits<std::int64_t>::min() + kBeforeProgramKeptMs
            ? std::numeric_limits<std::int64_t>::min()
            : nowMs - kBeforeProgramKeptMs;
    std::size_t excess = points.size() - limit;
    std::vector<RestorePoint> left;
    // A point is no older than one kept before it: a clock set back stamps
    // points older than they are, and their order is the order of time.
    std::int64_t stamp = std::numeric_limits<std::int64_t>::min();
    for (RestorePoint& point : points) {
        stamp = std::max(stamp, point.timeMs);
        const bool kept =
            &point == newest || (point.kind == RestoreKind::BeforeProgram && stamp > young);
        if (excess > 0 && !kept) {
            dropped.push_back(std::move(point));
            --excess;
        } else {
            left.push_back(std::move(point));
        }
    }
    points = std::move(left);
    return dropped;
}

} // namespace orna5
