#pragma once

#include "params/ParameterReport.h"
#include "ride/PullFinder.h"

#include <vector>

namespace orna5 {

// The rate of one log at one bin over the pulls compared: their mean and
// the band from the lowest to the highest.
struct RateBand {
    int rpm = 0;
    double mean = 0;
    double low = 0;
    double high = 0;
    int pulls = 0;
};

// A later log against the first at one rpm, a multiple of
// kDifferenceStepRpm where both have a rate.
struct RateDifference {
    int rpm = 0;
    double percent = 0; // (mean of this log / mean of the first - 1) x 100
    // The two bands overlap: the difference is no larger than the pulls of
    // one log differ among themselves, so it may be the ride, not the tune.
    bool insideBands = false;
};

constexpr int kDifferenceStepRpm = 500;

// What the comparison says of one log.
struct LogRates {
    std::vector<RateBand> bands; // rising rpm
    int pulls = 0;               // compared: not excluded, of the gear asked
    // The map its compared pulls ran on, and whether they ran on more than
    // one (the first's is taken).
    LogHeader map;
    bool severalMaps = false;
    // Against the first log (empty for the first itself).
    std::vector<RateDifference> differences;
    // Whether both maps are known, and where this one differs from the
    // first's, as the parameter comparison lists them (page, name, the
    // first log's value -> this one's).
    bool mapsKnown = false;
    std::vector<ParameterDifference> mapDifferences;
};

struct PullComparison {
    std::vector<int> rpms; // every bin any log has a rate at, rising
    std::vector<LogRates> logs;

    // The band of log `log` at `rpm`, or nothing.
    const RateBand* Band(std::size_t log, int rpm) const;
    // The difference of log `log` (from the second on) at `rpm`, or nothing.
    const RateDifference* Difference(std::size_t log, int rpm) const;
};

// Whether a pull takes part: not excluded, and of `gear` unless it is 0.
bool PullCompared(const Pull& pull, int gear);

// Compares the logs' pulls with the first log's, bin by bin; `gear` 0
// takes every gear, so that one gear can be set against the same gear.
PullComparison ComparePulls(const std::vector<PullLog>& logs, int gear = 0);

// The map of a log's header or "# map at" block as an image of the map's
// fields, all else zero, for the parameter comparison.
ParameterImage MapImage(const LogHeader& map);

} // namespace orna5
