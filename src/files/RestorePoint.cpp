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

// Decimal digits only, no sign, no overflow.
template <typename T> std::optional<T> Number(std::string_view text) {
    if (text.empty() || text.size() > 19) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
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

std::optional<RestorePoint> ParseEntry(std::string_view line) {
    const std::vector<std::string_view> f = SplitTabs(line);
    if (f.size() != kFieldCount || f[0] != kTag) {
        return std::nullopt;
    }
    const std::size_t checked = line.size() - f.back().size() - 1;
    if (f.back() != Hex8(LineCheck(line.substr(0, checked)))) {
        return std::nullopt;
    }
    const auto id = Number<std::uint64_t>(f[1]);
    const auto time = Number<std::int64_t>(f[2]);
    const auto kind = RestoreKindFromName(f[3]);
    auto version = Unescape(f[4], kMaxVersionBytes);
    auto date = Unescape(f[5], kMaxDateBytes);
    auto source = Unescape(f[6], kMaxPathBytes);
    if (!id || *id == 0 || !time || !kind || !version || !date || !source) {
        return std::nullopt;
    }
    return RestorePoint{
        *id, *time, *kind, std::move(*version), std::move(*date), std::move(*source)};
}

std::string FormatEntry(const RestorePoint& p) {
    std::string line(kTag);
    line +=
        '\t' + std::to_string(p.id) + '\t' + std::to_string(std::max<std::int64_t>(p.timeMs, 0));
    line += '\t' + std::string(RestoreKindName(p.kind));
    line += '\t' + Escape(p.unitVersion, kMaxVersionBytes);
    line += '\t' + Escape(p.unitBuildDate, kMaxDateBytes);
    line += '\t' + Escape(p.sourcePath, kMaxPathBytes);
    return line + '\t' + Hex8(LineCheck(line)) + '\n';
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

std::string RestorePointFileName(std::uint64_t id) {
    return "restore-" + std::to_string(id) + ".ign";
}

RestoreIndex ReadRestoreIndex(std::string_view text) {
    RestoreIndex index;
    std::set<std::uint64_t> ids;
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
        } else {
            ++index.skipped;
        }
    }
    return index;
}

std::string WriteRestoreIndex(const std::vector<RestorePoint>& points) {
    std::string text;
    for (const RestorePoint& point : points) {
        text += FormatEntry(point);
    }
    return text;
}

std::vector<RestorePoint> BoundRestorePoints(std::vector<RestorePoint>& points, std::size_t limit) {
    std::vector<RestorePoint> dropped;
    if (points.size() <= limit) {
        return dropped;
    }
    const auto newestBefore =
        std::find_if(points.rbegin(), points.rend(),
                     [](const RestorePoint& p) { return p.kind == RestoreKind::BeforeProgram; });
    const RestorePoint* kept = newestBefore == points.rend() ? nullptr : &*newestBefore;
    std::size_t excess = points.size() - limit;
    std::vector<RestorePoint> left;
    for (RestorePoint& point : points) {
        if (excess > 0 && &point != kept) {
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
