#include "ride/PullFinder.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace orna5 {

PullFinder::PullFinder(PullLog& into, PullRules given) : log(into), rules(given) {}

void PullFinder::Columns(const LogHeader& header, const std::vector<std::string>& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == "rpm" && rpmColumn < 0) {
            rpmColumn = static_cast<int>(i);
        } else if (names[i] == "tps_percent" && tpsColumn < 0) {
            tpsColumn = static_cast<int>(i);
        }
    }
    log.header = header;
    log.maps.assign(1, header);
}

void PullFinder::MapChanged(const LogMapChange& change) {
    if (log.maps.empty()) {
        log.maps.emplace_back(); // rows fed without a header ran on a map not known
    }
    log.maps.push_back(change.map);
}

void PullFinder::Row(const LogTime& time, double seconds, const float* values) {
    const double none = std::nan("");
    Take(time, seconds, rpmColumn >= 0 ? values[rpmColumn] : none,
         tpsColumn >= 0 ? values[tpsColumn] : none);
}

void PullFinder::Take(const LogTime& time, double seconds, double rpm, double tps) {
    if (!(rpm >= 0 && rpm <= kHighestRpm) || !std::isfinite(seconds)) {
        return;
    }
    // A row far below the one before waits for the next: when that one is
    // back up where the rows were, the low row was a glitched reading (a
    // pick-up that missed its count), which would otherwise end the pull
    // and begin one from nothing; else it was a real drop, a shift.
    const bool near = havePrevious && seconds - previousSeconds <= rules.longestGap;
    if (holding) {
        holding = false;
        if (!(near && rpm >= previousRpm - rules.dropEnds)) {
            Accept(held.time, held.seconds, held.rpm, held.tps);
        }
    }
    if (near && rpm < previousRpm - rules.dropEnds) {
        held = {time, seconds, rpm, tps};
        holding = true;
        return;
    }
    Accept(time, seconds, rpm, tps);
}

void PullFinder::Accept(const LogTime& time, double seconds, double rpm, double tps) {
    const double apart = seconds - previousSeconds;
    const bool gap = havePrevious && apart > rules.longestGap;
    // A glitched reading far above the row before, beyond what the noise of
    // rows stamped close together gives, would make a pull of nothing.
    if (havePrevious && !gap && rpm - previousRpm > rules.dropEnds + apart * rules.fastestRise) {
        return;
    }
    ++log.rows;
    if (gap) {
        EndPull();
    }
    havePrevious = true;
    previousSeconds = seconds;
    previousRpm = rpm;
    if (!(tps >= rules.minTps)) {
        EndPull();
    } else if (rows.empty()) {
        Begin(time, seconds, rpm);
    } else if (rpm < rows[highest].rpm - rules.dropEnds) {
        EndPull();
        Begin(time, seconds, rpm);
    } else if (rpm > rows[highest].rpm) {
        rows.push_back({seconds, rpm});
        highest = rows.size() - 1;
        highestSeconds = seconds;
    } else if (seconds - highestSeconds > rules.levelSeconds || rpm <= rows.front().rpm) {
        // Level too long, or as low as where it began: the rise, if any,
        // begins here.
        EndPull();
        Begin(time, seconds, rpm);
    } else {
        rows.push_back({seconds, rpm});
    }
    // After the pull it ended, if any: this row comes before the next.
    lowestSince = std::min(lowestSince, rpm);
}

void PullFinder::Begin(const LogTime& time, double seconds, double rpm) {
    rows.assign(1, {seconds, rpm});
    firstTime = time;
    firstMap = log.maps.empty() ? 0 : log.maps.size() - 1;
    highest = 0;
    highestSeconds = seconds;
}

void PullFinder::EndPull() {
    if (rows.empty()) {
        return;
    }
    const PullRow first = rows.front();
    const PullRow top = rows[highest];
    if (top.rpm - first.rpm >= rules.minRise && top.seconds - first.seconds >= rules.minSeconds) {
        rows.resize(highest + 1);
        Pull pull;
        pull.start = firstTime;
        pull.startSeconds = first.seconds;
        pull.seconds = top.seconds - first.seconds;
        pull.lowRpm = first.rpm;
        pull.highRpm = top.rpm;
        pull.rows = rows.size();
        pull.map = firstMap;
        pull.rates = RiseRates(rows);
        pull.afterShift =
            haveLastEnd && first.seconds - lastEnd <= rules.shiftSeconds && first.rpm < lastEndRpm;
        pull.afterStop = lowestSince < rules.stopRpm;
        log.pulls.push_back(std::move(pull));
        haveLastEnd = true;
        lastEnd = top.seconds;
        lastEndRpm = top.rpm;
        lowestSince = std::numeric_limits<double>::infinity();
    }
    rows.clear();
}

void PullFinder::Finish() {
    if (holding) {
        holding = false;
        Accept(held.time, held.seconds, held.rpm, held.tps);
    }
    EndPull();
    EstimateGears(log, rules);
}

namespace {

// How far apart two pulls' rates lie at the rpm both cover: the mean of
// their ratios, as a share away from 1; infinite when they share no bin.
double RateDistance(const Pull& a, const Pull& b) {
    double sum = 0;
    int count = 0;
    std::size_t j = 0;
    for (const BinRate& rate : a.rates) {
        while (j < b.rates.size() && b.rates[j].rpm < rate.rpm) {
            ++j;
        }
        if (j < b.rates.size() && b.rates[j].rpm == rate.rpm && b.rates[j].rate > 0) {
            sum += rate.rate / b.rates[j].rate;
            ++count;
        }
    }
    return count ? std::fabs(sum / count - 1) : std::numeric_limits<double>::infinity();
}

} // namespace

void EstimateGears(PullLog& log, const PullRules& rules) {
    std::vector<Pull>& pulls = log.pulls;
    for (std::size_t i = 0; i < pulls.size(); ++i) {
        Pull& pull = pulls[i];
        pull.gear = 0;
        if (pull.afterShift && i > 0 && pulls[i - 1].gear > 0) {
            pull.gear = pulls[i - 1].gear + 1;
        } else if (pull.afterStop) {
            pull.gear = 1;
        }
    }
    // The rest by their likeness to a pull whose gear is known.
    for (std::size_t i = 0; i < pulls.size(); ++i) {
        Pull& pull = pulls[i];
        if (pull.gear > 0) {
            continue;
        }
        if (pull.afterShift && i > 0 && pulls[i - 1].gear > 0) {
            pull.gear = pulls[i - 1].gear + 1;
            continue;
        }
        double nearest = rules.sameGearShare;
        for (const Pull& other : pulls) {
            if (other.gear > 0) {
                const double distance = RateDistance(pull, other);
                if (distance <= nearest) {
                    nearest = distance;
                    pull.gear = other.gear;
                }
            }
        }
    }
}

BoundedRead FindPulls(const std::string& path, PullLog& log, const PullRules& rules) {
    log = PullLog();
    log.path = path;
    PullFinder finder(log, rules);
    MonitorLogReader reader(finder);
    const BoundedRead read = StreamLogFile(path, reader);
    if (!read.Ok()) {
        log = PullLog();
        log.path = path;
        return read;
    }
    finder.Finish();
    log.isLog = reader.IsLog();
    log.header = reader.Header();
    log.skips = reader.Skips();
    return read;
}

void FindPulls(const MonitorLog& monitorLog, PullLog& log, const PullRules& rules) {
    const std::string path = log.path;
    log = PullLog();
    log.path = path;
    log.isLog = true;
    log.header = monitorLog.header;
    log.skips = monitorLog.skips;
    log.maps.assign(1, monitorLog.header);
    PullFinder finder(log, rules);
    const int rpm = monitorLog.Column("rpm");
    const int tps = monitorLog.Column("tps_percent");
    const double none = std::nan("");
    std::size_t nextMap = 0;
    for (std::size_t row = 0; row < monitorLog.Rows(); ++row) {
        while (nextMap < monitorLog.maps.size() && monitorLog.maps[nextMap].firstRow <= row) {
            finder.MapChanged(monitorLog.maps[nextMap++]);
        }
        finder.Take(monitorLog.times[row], monitorLog.seconds[row],
                    rpm >= 0 ? monitorLog.values[static_cast<std::size_t>(rpm)][row] : none,
                    tps >= 0 ? monitorLog.values[static_cast<std::size_t>(tps)][row] : none);
    }
    while (nextMap < monitorLog.maps.size()) {
        finder.MapChanged(monitorLog.maps[nextMap++]);
    }
    finder.Finish();
}

} // namespace orna5
