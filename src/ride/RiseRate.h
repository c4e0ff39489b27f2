#pragma once

#include <optional>
#include <vector>

namespace orna5 {

// One row of a pull: its time in seconds (any origin) and the engine speed.
struct PullRow {
    double seconds = 0;
    double rpm = 0;
};

// The rise rate at one engine speed, in rpm per second.
struct BinRate {
    int rpm = 0; // the bin's centre, a multiple of kRateBinRpm
    double rate = 0;
};

// Rates are given per bin of this many rpm, at its centre.
constexpr int kRateBinRpm = 250;

// The rows a rate is fitted through: those within this many rpm or seconds
// of the moment the pull passed the rpm, and never fewer than kFitMinRows.
constexpr double kFitHalfSpanRpm = 400;
constexpr double kFitHalfSpanSeconds = 0.15;
constexpr int kFitMinRows = 5;

// How fast the engine gained revs as it passed `rpm`, from the rows of one
// pull (time rising, rpm rising but for noise).
//
// A single row's rpm carries the noise of the pick-up's count, and the
// difference of two neighbours 40 ms apart magnifies it beyond use; a
// smoothing that spans much of the pull flattens the torque curve a tuner
// looks for. So the rate comes from a local least-squares fit: a second-
// degree polynomial of rpm over time through the rows around the moment the
// pull passes `rpm` (those within kFitHalfSpanRpm or kFitHalfSpanSeconds
// of it: enough rows at the Fast rate whether the engine rises fast or
// slowly; and never fewer than kFitMinRows, which at the Standard rate
// reach further), its slope taken where the fitted curve passes `rpm`, in
// the manner of a Savitzky-Golay filter on rows that need not be evenly
// spaced in time. A quadratic follows a rate that changes along the
// window, so a rising or falling torque curve keeps its shape; the noise
// averages out over the rows of the window. Near the ends of the pull the
// window is one-sided.
//
// Nothing when the pull does not reach `rpm` or has fewer than two rows.
std::optional<double> RiseRateAt(const std::vector<PullRow>& rows, double rpm);

// The rate at every bin centre from the pull's lowest to its highest rpm.
std::vector<BinRate> RiseRates(const std::vector<PullRow>& rows);

} // namespace orna5
