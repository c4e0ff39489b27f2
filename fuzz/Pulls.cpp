// Feeds arbitrary text to the data-log reader and finds its pulls, as
// orna5ctl pulls does (while the log is read, nothing of it kept) and as a
// view of a log already read would. Whatever the rows hold, both ways find
// the same pulls, every pull is one by the rule, its rates are finite and
// lie at bin centres within its range, and a log compared with itself
// differs nowhere.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "files/MonitorLog.h"
#include "ride/PullComparison.h"
#include "ride/PullFinder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const orna5::PullRules rules;
    orna5::PullLog streamed;
    orna5::PullFinder finder(streamed, rules);
    orna5::MonitorLogReader reader(finder);
    reader.Feed(text);
    reader.Finish();
    finder.Finish();

    orna5::MonitorLog log;
    const bool isLog = orna5::ReadMonitorLog(text, log);
    if (isLog != reader.IsLog()) {
        std::abort();
    }
    if (!isLog) {
        return 0;
    }
    orna5::PullLog whole;
    orna5::FindPulls(log, whole, rules);
    if (whole.pulls.size() != streamed.pulls.size() || whole.maps.size() != streamed.maps.size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < whole.pulls.size(); ++i) {
        const orna5::Pull& a = whole.pulls[i];
        const orna5::Pull& b = streamed.pulls[i];
        if (a.rows != b.rows || a.lowRpm != b.lowRpm || a.highRpm != b.highRpm ||
            a.gear != b.gear || a.map != b.map || a.rates.size() != b.rates.size()) {
            std::abort();
        }
        if (a.highRpm - a.lowRpm < rules.minRise || !(a.seconds >= rules.minSeconds) ||
            a.lowRpm < 0 || a.highRpm > orna5::kHighestRpm || a.map >= whole.maps.size() ||
            a.gear < 0) {
            std::abort();
        }
        for (std::size_t r = 0; r < a.rates.size(); ++r) {
            const orna5::BinRate& rate = a.rates[r];
            if (!std::isfinite(rate.rate) || rate.rate != b.rates[r].rate ||
                rate.rpm % orna5::kRateBinRpm != 0 || rate.rpm < a.lowRpm || rate.rpm > a.highRpm) {
                std::abort();
            }
        }
    }
    const orna5::PullComparison comparison = orna5::ComparePulls({whole, streamed});
    for (const orna5::RateDifference& difference : comparison.logs[1].differences) {
        if (difference.percent != 0 || !difference.insideBands) {
            std::abort();
        }
    }
    return 0;
}
