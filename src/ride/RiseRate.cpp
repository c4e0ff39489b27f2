#include "ride/RiseRate.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace orna5 {

namespace {

// Solves the n x n system a x = b (n up to 3) by elimination with partial
// pivoting; false when it has no single solution.
template <std::size_t N>
bool Solve(std::array<std::array<double, N>, N> a, std::array<double, N> b, std::size_t n,
           std::array<double, N>& x) {
    for (std::size_t col = 0; col < n; ++col) {
        std::size_t pivot = col;
        for (std::size_t row = col + 1; row < n; ++row) {
            if (std::fabs(a[row][col]) > std::fabs(a[pivot][col])) {
                pivot = row;
            }
        }
        if (std::fabs(a[pivot][col]) < 1e-12) {
            return false;
        }
        std::swap(a[col], a[pivot]);
        std::swap(b[col], b[pivot]);
        for (std::size_t row = col + 1; row < n; ++row) {
            const double factor = a[row][col] / a[col][col];
            for (std::size_t k = col; k < n; ++k) {
                a[row][k] -= factor * a[col][k];
            }
            b[row] -= factor * b[col];
        }
    }
    for (std::size_t col = n; col-- > 0;) {
        double sum = b[col];
        for (std::size_t k = col + 1; k < n; ++k) {
            sum -= a[col][k] * x[k];
        }
        x[col] = sum / a[col][col];
    }
    return true;
}

} // namespace

std::optional<double> RiseRateAt(const std::vector<PullRow>& rows, double rpm) {
    const std::size_t n = rows.size();
    if (n < 2) {
        return std::nullopt;
    }
    const auto reached = std::find_if(rows.begin(), rows.end(),
                                      [rpm](const PullRow& row) { return row.rpm >= rpm; });
    if (reached == rows.end() || (reached == rows.begin() && reached->rpm > rpm)) {
        return std::nullopt;
    }
    const std::size_t k = static_cast<std::size_t>(reached - rows.begin());

    // When the pull passed `rpm`, on the straight line between the rows
    // either side: the centre of the fit.
    double centre = rows[k].seconds;
    if (k > 0 && rows[k].rpm > rows[k - 1].rpm) {
        const PullRow& a = rows[k - 1];
        const PullRow& b = rows[k];
        centre = a.seconds + (rpm - a.rpm) / (b.rpm - a.rpm) * (b.seconds - a.seconds);
    }

    // The rows within the span around it, then more, nearest in time first,
    // until there are enough to average the noise.
    std::size_t low = k > 0 ? k - 1 : k;
    std::size_t high = k;
    while (low > 0 && (rows[low - 1].rpm >= rpm - kFitHalfSpanRpm ||
                       centre - rows[low - 1].seconds <= kFitHalfSpanSeconds)) {
        --low;
    }
    while (high + 1 < n && (rows[high + 1].rpm <= rpm + kFitHalfSpanRpm ||
                            rows[high + 1].seconds - centre <= kFitHalfSpanSeconds)) {
        ++high;
    }
    while (high - low + 1 < static_cast<std::size_t>(kFitMinRows) && (low > 0 || high + 1 < n)) {
        const bool takeLow = low > 0 && (high + 1 == n || centre - rows[low - 1].seconds <=
                                                              rows[high + 1].seconds - centre);
        if (takeLow) {
            --low;
        } else {
            ++high;
        }
    }

    // Times scaled to about -1..1 keep the sums well conditioned.
    double scale = 0;
    for (std::size_t i = low; i <= high; ++i) {
        scale = std::max(scale, std::fabs(rows[i].seconds - centre));
    }
    if (scale <= 0) {
        return std::nullopt;
    }
    // Three rows would be met exactly by a parabola, noise and all: a line.
    const std::size_t terms = high - low + 1 >= 4 ? 3 : 2;
    std::array<std::array<double, 3>, 3> sums{};
    std::array<double, 3> right{};
    double first = 1;
    double last = -1;
    for (std::size_t i = low; i <= high; ++i) {
        const double x = (rows[i].seconds - centre) / scale;
        const double y = rows[i].rpm - rpm;
        first = std::min(first, x);
        last = std::max(last, x);
        const std::array<double, 3> powers{1, x, x * x};
        for (std::size_t r = 0; r < terms; ++r) {
            for (std::size_t c = 0; c < terms; ++c) {
                sums[r][c] += powers[r] * powers[c];
            }
            right[r] += powers[r] * y;
        }
    }
    std::array<double, 3> p{};
    if (!Solve(sums, right, terms, p)) {
        return std::nullopt;
    }
    // Where the fitted curve passes `rpm`: a few Newton steps from the
    // centre, kept within the window.
    double x = 0;
    for (int step = 0; step < 4; ++step) {
        const double slope = p[1] + 2 * p[2] * x;
        if (slope <= 0) {
            break;
        }
        const double value = p[0] + p[1] * x + p[2] * x * x;
        x = std::clamp(x - value / slope, first, last);
    }
    return (p[1] + 2 * p[2] * x) / scale;
}

std::vector<BinRate> RiseRates(const std::vector<PullRow>& rows) {
    std::vector<BinRate> rates;
    if (rows.size() < 2) {
        return rates;
    }
    double lowest = rows.front().rpm;
    double highest = rows.front().rpm;
    for (const PullRow& row : rows) {
        lowest = std::min(lowest, row.rpm);
        highest = std::max(highest, row.rpm);
    }
    for (int bin = static_cast<int>(std::ceil(lowest / kRateBinRpm)) * kRateBinRpm; bin <= highest;
         bin += kRateBinRpm) {
        if (const std::optional<double> rate = RiseRateAt(rows, bin)) {
            rates.push_back({bin, *rate});
        }
    }
    return rates;
}

} // namespace orna5
