#pragma once

#include "params/ParameterImage.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orna5 {

// The table editor's commands on a rectangle of advance-map cells.
//
// Every result is rounded to a whole degree (halves away from zero) and kept
// within 0..60; the commands return whether a value had to be kept there, so
// the window can say so. A block that does not lie within the map changes
// nothing. Like the step commands they work on the image alone: the caller
// copies the controls into the image before and runs ApplyParameterChange
// after.

// Rows are throttle rows 0..9, columns rpm columns 0..9, both ends included.
struct MapBlock {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;

    int Rows() const { return bottom - top + 1; }
    int Columns() const { return right - left + 1; }
    bool Contains(int row, int column) const {
        return row >= top && row <= bottom && column >= left && column <= right;
    }
};

// The whole map, and the part of it the unit reads: all ten throttle rows,
// or only the last one when the map does not use the throttle.
constexpr MapBlock kWholeMap{0, 0, 9, 9};
MapBlock MapArea(bool tpsRowsUsed);

// Whether the block is a rectangle within the given area.
bool BlockWithin(const MapBlock& block, const MapBlock& area = kWholeMap);

// Where the rows and columns sit on their axes (throttle percent, rpm),
// for the interpolation; both must rise from index to index.
struct MapAxes {
    std::array<int, 10> rows{};
    std::array<int, 10> columns{};
};

// The rpm axis of the image (rpm / 100) with the given throttle rows.
MapAxes AxesOf(const ParameterImage& image, const std::array<int, 10>& throttleRows);

bool SetBlock(ParameterImage& image, const MapBlock& block, int value);
bool AddToBlock(ParameterImage& image, const MapBlock& block, int delta);
bool ScaleBlock(ParameterImage& image, const MapBlock& block, int percent);

// Straight lines between the block's edges, by axis distance: Rows fills
// each column from its top cell to its bottom cell, Columns each row from
// its left cell to its right cell, Corners the whole block from its four
// corner cells. Cells the lines start from stay as they are; a direction in
// which the block is one cell wide changes nothing.
enum class Interpolation { Rows, Columns, Corners };
bool InterpolateBlock(ParameterImage& image, const MapBlock& block, Interpolation direction,
                      const MapAxes& axes);

// Moves each cell of the block half way towards the mean of its up to four
// neighbours within area (also those outside the block). All cells take
// their new values from the old ones.
bool SmoothBlock(ParameterImage& image, const MapBlock& block, const MapBlock& area = kWholeMap);

// The block as tab-separated text for a spreadsheet: a first line with the
// rpm of each column, then one line per row led by its label.
std::string BlockText(const ParameterImage& image, const MapBlock& block,
                      const std::array<std::string, 10>& rowLabels);

// Rows of whole numbers read from a spreadsheet's text: cells separated by
// tabs or else by commas, one row per line. In tab-separated text a decimal
// comma is read as a point; fractions are rounded. Text copied with its axes
// (an empty first cell, as BlockText writes it) loses the first line and
// the first column. Anything else that is not a rectangle of numbers gives
// nothing.
using NumberRows = std::vector<std::vector<int>>;
std::optional<NumberRows> ParsePastedNumbers(std::string_view text);

// Puts pasted numbers into the map with their first cell at the block's top
// left corner; a single number fills the whole block. Numbers that would
// reach outside area change nothing.
struct PasteOutcome {
    bool fits = false;
    bool clipped = false;
};
PasteOutcome PasteBlock(ParameterImage& image, const MapBlock& block, const NumberRows& numbers,
                        const MapBlock& area = kWholeMap);

// A new rpm axis for the same curves. The rpm points are given in rpm; a
// list is taken only when all ten lie on whole hundreds within
// kLowestRpmPoint..kHighestRpmPoint and rise from point to point, which is
// exactly what normalisation leaves unchanged on either axis.
using RpmPoints = std::array<int, 10>;
constexpr int kLowestRpmPoint = 300;
constexpr int kHighestRpmPoint = 20000;

// Why a list of rpm points is refused; the first fault found, in this order.
enum class RpmListFault { None, NotOn100, OutOfRange, NotRising };
RpmListFault CheckRpmPoints(const RpmPoints& points);

// Ten points from first to last, spread evenly; the eight between are
// rounded to 100 rpm (halves away from zero), first and last kept as given,
// so a list that does not fit is still refused by CheckRpmPoints.
RpmPoints SpreadRpmPoints(int first, int last);

// Moves the advance map's rpm axis to the points and re-interpolates every
// throttle row over engine speed, so each keeps its advance at each rpm: a
// new point between two old ones takes the straight line between their
// values, one at or beyond an end takes the end's value. Values are rounded
// to whole degrees and kept within 0..60. A refused list changes nothing.
// The image's axis must be normalised; the caller normalises after.
struct RebinOutcome {
    RpmListFault fault = RpmListFault::None;
    bool clipped = false;          // a value had to be kept within its range
    std::size_t clippedValues = 0; // how many
};
RebinOutcome RebinRpmAxis(ParameterImage& image, const RpmPoints& points);

// The same for the servo curve's rpm points; the servo voltages are rounded
// to their 20 mV step and kept within 20..5000 mV.
RebinOutcome RebinServoRpm(ParameterImage& image, const RpmPoints& points);

} // namespace orna5
