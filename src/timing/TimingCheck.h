#pragma once

#include "files/LogTime.h"
#include "params/ParameterImage.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orna5 {

// One engine speed of a timing-light check: what the strobe showed on the
// marks, and what the unit said it gave at that moment.
struct TimingPoint {
    int rpm = 0;
    std::optional<double> strobe; // degrees read off the marks
    // The advance the unit reported on each channel, averaged over the
    // second before the reading was entered; nothing for a channel not in
    // use or not taken.
    std::array<std::optional<double>, kChannels> unit{};
    std::optional<int> map; // the map cell the unit ran on then, degrees

    bool operator==(const TimingPoint& other) const;
};

// Which figure of the unit the strobe is compared with: 0 the single figure
// (the largest channel in use, as the unit's display shows it), 1..4 a
// channel.
constexpr int kUnitFigure = 0;

// A whole check, as it is kept in the data folder.
struct TimingCheck {
    LogTime time;              // when it was kept
    std::string unitVersion;   // empty when the unit did not say
    std::string unitBuildDate; // empty when the unit did not say
    std::string tune;          // TuneChecksum of the image it ran on; may be empty
    int channel = 1;           // kUnitFigure or 1..4
    std::vector<TimingPoint> points;

    bool operator==(const TimingCheck& other) const;
};

// The unit's figure of a point for `channel`: that channel's advance, or
// for kUnitFigure the largest of the channels taken.
std::optional<double> UnitFigure(const TimingPoint& point, int channel);
// Strobe minus unit, where both are there.
std::optional<double> DifferenceOf(const TimingPoint& point, int channel);

// A strobe is read off the marks to about half a degree and the unit reports
// whole degrees, so a difference or a change smaller than one degree cannot
// be told from reading error.
constexpr double kMeaningfulDegrees = 1.0;

enum class DriftKind {
    TooFew,   // fewer than two points with both readings: nothing to say
    Agrees,   // neither a drift nor an offset worth naming
    Constant, // the same difference at every speed
    Drift,    // a difference that changes with engine speed
};

struct Drift {
    DriftKind kind = DriftKind::TooFew;
    int readings = 0;            // points with a strobe reading and a unit figure
    double slopePer1000 = 0;     // degrees per 1000 rpm of the least-squares line
    double offset = 0;           // the line's value at 0 rpm
    double meanDifference = 0;   // strobe - unit over the readings
    double change = 0;           // how much the line moves over the rpm span
    int lowRpm = 0, highRpm = 0; // the span of the readings
};

// The least-squares line of (strobe - unit) over rpm. A drift when the line
// moves by kMeaningfulDegrees or more over the speeds read; else a constant
// offset when the mean difference is that large; else agreement. Readings
// all at one speed give no slope and are judged by their mean.
Drift DriftOf(const std::vector<TimingPoint>& points, int channel);

// The verdict in a language: "the engine gets 0.6° less per 1000 rpm than
// the unit reports: pick-up lag or trigger offset" and its kin.
std::string DriftText(const Drift& drift, int language);

// A number of degrees as the texts show it: one decimal (two when one would
// show 0.0 for something that is not), a decimal comma outside English.
std::string DegreesText(double degrees, int language);

// The points offered for a new check: an idle speed, then every 1000 rpm up
// to the limiter (not at it, where the unit cuts the spark). The idle speed
// is the map's first rpm point when that is an idle speed (600..2000 rpm),
// else 1000 rpm.
std::vector<int> DefaultCheckRpms(const ParameterImage& image);

// The file of a check: a few "# key: value" lines, then a column line and one
// row per point. The same text is the CSV export.
std::string WriteTimingCheck(const TimingCheck& check);

// The most a check's file may hold.
constexpr std::size_t kMaxTimingFileBytes = 64 * 1024;
constexpr std::size_t kMaxTimingPoints = 200;
constexpr int kMaxCheckRpm = 30000;
constexpr double kMaxCheckDegrees = 90;

enum class TimingFault {
    None,
    NotACheck,  // the first line is not ours
    TooLarge,   // more than kMaxTimingFileBytes
    BadHeader,  // a header line that cannot be read
    NoTime,     // no date
    BadColumns, // the column line is missing or not ours
    BadRow,     // a row of the wrong number of fields
    BadNumber,  // a field that is not a number
    OutOfRange, // a number outside its range
    TooMany,    // more than kMaxTimingPoints points
    BadText,    // a control character or a NUL
};

struct TimingRead {
    TimingFault fault = TimingFault::None;
    int line = 0;   // 1-based, where the fault was found
    int column = 0; // 1-based, for BadNumber and OutOfRange
    TimingCheck check;

    bool Ok() const { return fault == TimingFault::None; }
};

// Reads a check's file. Outside input: every fault is a TimingRead with
// where it was found; nothing larger than the bound is read.
TimingRead ReadTimingCheck(std::string_view text);

// The fault in a language ("line 4, column 2: not a number").
std::string TimingFaultText(const TimingRead& read, int language);

} // namespace orna5
