#include "edit/MapBlockCommands.h"

#include "edit/StepCommands.h"

#include <algorithm>
#include <cstdlib>

namespace orna5 {

namespace {

// numerator / denominator to the nearest whole number, halves away from zero;
// the denominator is positive.
long long RoundDiv(long long numerator, long long denominator) {
    const long long magnitude = (std::llabs(numerator) * 2 + denominator) / (2 * denominator);
    return numerator < 0 ? -magnitude : magnitude;
}

// Writes a computed value into a cell, kept within 0..60; true when it had
// to be kept.
bool Store(std::uint8_t& cell, long long value) {
    const long long kept = std::clamp<long long>(value, 0, kMaxAdvance);
    cell = static_cast<std::uint8_t>(kept);
    return kept != value;
}

std::uint8_t& Cell(ParameterImage& image, int row, int column) {
    return image[MapCell(static_cast<std::size_t>(row), static_cast<std::size_t>(column))];
}

// Runs change(old value) on every cell of a valid block.
template <class Change>
bool ForEachCell(ParameterImage& image, const MapBlock& block, Change change) {
    if (!BlockWithin(block))
        return false;
    bool clipped = false;
    for (int row = block.top; row <= block.bottom; ++row)
        for (int column = block.left; column <= block.right; ++column) {
            std::uint8_t& cell = Cell(image, row, column);
            clipped = Store(cell, change(static_cast<long long>(cell))) || clipped;
        }
    return clipped;
}

// The positions of first..last on an axis, or their indices when the axis
// does not rise over that stretch (it always does once normalised).
std::array<long long, 10> Positions(const std::array<int, 10>& axis, int first, int last) {
    std::array<long long, 10> positions{};
    bool rising = true;
    for (int i = first + 1; i <= last; ++i)
        rising = rising && axis[i] > axis[i - 1];
    for (int i = 0; i < 10; ++i)
        positions[i] = rising ? axis[i] : i;
    return positions;
}

bool Numeric(std::string_view text, int& value, bool decimalComma) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long whole = 0;
    int digits = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits)
        whole = std::min<long long>(whole * 10 + (text[i] - '0'), 1000000);
    bool roundUp = false;
    if (i < text.size() && (text[i] == '.' || (decimalComma && text[i] == ','))) {
        ++i;
        if (i < text.size() && text[i] >= '0' && text[i] <= '9')
            roundUp = text[i] >= '5';
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
        }
    }
    if (digits == 0 || i != text.size())
        return false;
    whole += roundUp ? 1 : 0;
    value = static_cast<int>(negative ? -whole : whole);
    return true;
}

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

// The curve values[0..9] over the old axis points (rpm / 100), read at the
// new points: straight lines between old points, the end values beyond the
// ends, rounded and kept within low..high. Returns how many were kept.
std::size_t Resample(std::uint8_t* values, const std::uint8_t* oldAxis, const RpmPoints& points,
                     long long low, long long high) {
    std::array<long long, kAxisPoints> old{};
    for (std::size_t i = 0; i < kAxisPoints; ++i)
        old[i] = values[i];
    std::size_t clipped = 0;
    for (std::size_t j = 0; j < kAxisPoints; ++j) {
        // In rpm: a new point need not sit on an old one's hundred.
        const long long p = points[j];
        long long value = p <= oldAxis[0] * 100LL ? old[0] : old[kAxisPoints - 1];
        for (std::size_t i = 0; i + 1 < kAxisPoints; ++i) {
            const long long left = oldAxis[i] * 100LL;
            const long long right = oldAxis[i + 1] * 100LL;
            if (p > left && p < right) {
                value = RoundDiv(old[i] * (right - p) + old[i + 1] * (p - left), right - left);
                break;
            }
            if (p == right) {
                value = old[i + 1];
                break;
            }
        }
        const long long kept = std::clamp(value, low, high);
        clipped += kept != value ? 1 : 0;
        values[j] = static_cast<std::uint8_t>(kept);
    }
    return clipped;
}

// The kept range of a servo voltage, in its 20 mV unit.
constexpr long long kLowestServoUnit = 1;
constexpr long long kHighestServoUnit = 250;

RebinOutcome Rebin(ParameterImage& image, std::size_t axis, const RpmPoints& points,
                   std::size_t values, std::size_t curves, long long low, long long high) {
    RebinOutcome outcome;
    outcome.fault = CheckRpmPoints(points);
    if (outcome.fault != RpmListFault::None)
        return outcome;
    std::array<std::uint8_t, kAxisPoints> oldAxis{};
    for (std::size_t i = 0; i < kAxisPoints; ++i)
        oldAxis[i] = image[axis + i];
    for (std::size_t curve = 0; curve < curves; ++curve)
        outcome.clippedValues +=
            Resample(&image[values + curve * kAxisPoints], oldAxis.data(), points, low, high);
    outcome.clipped = outcome.clippedValues > 0;
    for (std::size_t i = 0; i < kAxisPoints; ++i)
        image[axis + i] = static_cast<std::uint8_t>(points[i] / 100);
    return outcome;
}

} // namespace

MapBlock MapArea(bool tpsRowsUsed) {
    return tpsRowsUsed ? kWholeMap : MapBlock{9, 0, 9, 9};
}

bool BlockWithin(const MapBlock& block, const MapBlock& area) {
    return block.top <= block.bottom && block.left <= block.right && block.top >= area.top &&
           block.bottom <= area.bottom && block.left >= area.left && block.right <= area.right &&
           area.top >= 0 && area.left >= 0 && area.bottom < static_cast<int>(kMapRows) &&
           area.right < static_cast<int>(kAxisPoints);
}

MapAxes AxesOf(const ParameterImage& image, const std::array<int, 10>& throttleRows) {
    MapAxes axes;
    axes.rows = throttleRows;
    for (std::size_t i = 0; i < kAxisPoints; ++i)
        axes.columns[i] = image[field::mapRpm + i];
    return axes;
}

bool SetBlock(ParameterImage& image, const MapBlock& block, int value) {
    return ForEachCell(image, block, [value](long long) { return value; });
}

bool AddToBlock(ParameterImage& image, const MapBlock& block, int delta) {
    return ForEachCell(image, block, [delta](long long cell) { return cell + delta; });
}

bool ScaleBlock(ParameterImage& image, const MapBlock& block, int percent) {
    return ForEachCell(image, block,
                       [percent](long long cell) { return RoundDiv(cell * percent, 100); });
}

bool InterpolateBlock(ParameterImage& image, const MapBlock& block, Interpolation direction,
                      const MapAxes& axes) {
    if (!BlockWithin(block))
        return false;
    const bool acrossRows = direction != Interpolation::Columns && block.Rows() > 1;
    const bool acrossColumns = direction != Interpolation::Rows && block.Columns() > 1;
    if (!acrossRows && !acrossColumns)
        return false;
    const auto y = Positions(axes.rows, block.top, block.bottom);
    const auto x = Positions(axes.columns, block.left, block.right);
    const ParameterImage old = image;
    const auto at = [&old](int row, int column) {
        return static_cast<long long>(
            old[MapCell(static_cast<std::size_t>(row), static_cast<std::size_t>(column))]);
    };
    bool clipped = false;
    for (int row = block.top; row <= block.bottom; ++row)
        for (int column = block.left; column <= block.right; ++column) {
            // Each cell weighs the ends of its lines by distance; a direction
            // not interpolated has both ends in the cell's own row or column,
            // with weights 1 and 0.
            const int top = acrossRows ? block.top : row;
            const int bottom = acrossRows ? block.bottom : row;
            const int left = acrossColumns ? block.left : column;
            const int right = acrossColumns ? block.right : column;
            const long long down = acrossRows ? y[row] - y[top] : 0;
            const long long up = acrossRows ? y[bottom] - y[row] : 1;
            const long long rightward = acrossColumns ? x[column] - x[left] : 0;
            const long long leftward = acrossColumns ? x[right] - x[column] : 1;
            const long long sum = at(top, left) * up * leftward + at(top, right) * up * rightward +
                                  at(bottom, left) * down * leftward +
                                  at(bottom, right) * down * rightward;
            const long long weight = (up + down) * (leftward + rightward);
            clipped = Store(Cell(image, row, column), RoundDiv(sum, weight)) || clipped;
        }
    return clipped;
}

bool SmoothBlock(ParameterImage& image, const MapBlock& block, const MapBlock& area) {
    if (!BlockWithin(block, area))
        return false;
    const ParameterImage old = image;
    bool clipped = false;
    for (int row = block.top; row <= block.bottom; ++row)
        for (int column = block.left; column <= block.right; ++column) {
            const long long own =
                old[MapCell(static_cast<std::size_t>(row), static_cast<std::size_t>(column))];
            long long sum = 0;
            long long count = 0;
            for (const auto& [dr, dc] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
                if (!area.Contains(row + dr, column + dc))
                    continue;
                sum += old[MapCell(static_cast<std::size_t>(row + dr),
                                   static_cast<std::size_t>(column + dc))];
                ++count;
            }
            if (count == 0)
                continue;
            // Half way to the mean: (own + sum / count) / 2.
            clipped =
                Store(Cell(image, row, column), RoundDiv(own * count + sum, 2 * count)) || clipped;
        }
    return clipped;
}

std::string BlockText(const ParameterImage& image, const MapBlock& block,
                      const std::array<std::string, 10>& rowLabels) {
    if (!BlockWithin(block))
        return {};
    std::string text;
    for (int column = block.left; column <= block.right; ++column)
        text +=
            '\t' + std::to_string(image[field::mapRpm + static_cast<std::size_t>(column)] * 100);
    text += '\n';
    for (int row = block.top; row <= block.bottom; ++row) {
        text += rowLabels[static_cast<std::size_t>(row)];
        for (int column = block.left; column <= block.right; ++column)
            text += '\t' + std::to_string(image[MapCell(static_cast<std::size_t>(row),
                                                        static_cast<std::size_t>(column))]);
        text += '\n';
    }
    return text;
}

std::optional<NumberRows> ParsePastedNumbers(std::string_view text) {
    std::vector<std::string_view> lines = Split(text, '\n');
    while (!lines.empty() && Trimmed(lines.back()).empty())
        lines.pop_back();
    if (lines.empty())
        return std::nullopt;
    const bool tabs = text.find('\t') != std::string_view::npos;
    const char separator = tabs ? '\t' : ',';
    std::vector<std::vector<std::string_view>> cells;
    for (std::string_view line : lines) {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        cells.push_back(Split(line, separator));
    }
    // Copied with its axes: the corner cell is empty.
    if (cells.size() > 1 && Trimmed(cells.front().front()).empty()) {
        cells.erase(cells.begin());
        for (auto& row : cells)
            row.erase(row.begin());
    }
    NumberRows numbers;
    for (const auto& row : cells) {
        if (row.empty() || row.size() != cells.front().size())
            return std::nullopt;
        std::vector<int>& out = numbers.emplace_back();
        for (std::string_view cell : row) {
            int value = 0;
            if (!Numeric(Trimmed(cell), value, tabs))
                return std::nullopt;
            out.push_back(value);
        }
    }
    return numbers;
}

PasteOutcome PasteBlock(ParameterImage& image, const MapBlock& block, const NumberRows& numbers,
                        const MapBlock& area) {
    PasteOutcome outcome;
    if (numbers.empty() || numbers.front().empty() || !BlockWithin(block, area))
        return outcome;
    if (numbers.size() == 1 && numbers.front().size() == 1) {
        outcome.fits = true;
        outcome.clipped = SetBlock(image, block, numbers.front().front());
        return outcome;
    }
    const MapBlock target{block.top, block.left, block.top + static_cast<int>(numbers.size()) - 1,
                          block.left + static_cast<int>(numbers.front().size()) - 1};
    if (!BlockWithin(target, area))
        return outcome;
    outcome.fits = true;
    for (int row = target.top; row <= target.bottom; ++row)
        for (int column = target.left; column <= target.right; ++column)
            outcome.clipped = Store(Cell(image, row, column),
                                    numbers[static_cast<std::size_t>(row - target.top)]
                                           [static_cast<std::size_t>(column - target.left)]) ||
                              outcome.clipped;
    return outcome;
}

RpmListFault CheckRpmPoints(const RpmPoints& points) {
    for (int point : points)
        if (point % 100 != 0)
            return RpmListFault::NotOn100;
    for (int point : points)
        if (point < kLowestRpmPoint || point > kHighestRpmPoint)
            return RpmListFault::OutOfRange;
    for (std::size_t i = 1; i < points.size(); ++i)
        if (points[i] <= points[i - 1])
            return RpmListFault::NotRising;
    return RpmListFault::None;
}

RpmPoints SpreadRpmPoints(int first, int last) {
    RpmPoints points{};
    const long long span = static_cast<long long>(last) - first;
    for (std::size_t i = 0; i < kAxisPoints; ++i) {
        const long long exact9 = 9LL * first + span * static_cast<long long>(i); // nine times it
        points[i] = static_cast<int>(RoundDiv(exact9, 900) * 100);
    }
    points.front() = first;
    points.back() = last;
    return points;
}

RebinOutcome RebinRpmAxis(ParameterImage& image, const RpmPoints& points) {
    return Rebin(image, field::mapRpm, points, field::advanceMap, kMapRows, 0, kMaxAdvance);
}

RebinOutcome RebinServoRpm(ParameterImage& image, const RpmPoints& points) {
    return Rebin(image, field::servoRpm, points, field::servoMv, 1, kLowestServoUnit,
                 kHighestServoUnit);
}

} // namespace orna5
