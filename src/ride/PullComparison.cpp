#include "ride/PullComparison.h"

#include <algorithm>
#include <map>

namespace orna5 {

namespace {

template <class Item> const Item* AtRpm(const std::vector<Item>& items, int rpm) {
    const auto found =
        std::lower_bound(items.begin(), items.end(), rpm,
                         [](const Item& item, int value) { return item.rpm < value; });
    return found != items.end() && found->rpm == rpm ? &*found : nullptr;
}

} // namespace

const RateBand* PullComparison::Band(std::size_t log, int rpm) const {
    return log < logs.size() ? AtRpm(logs[log].bands, rpm) : nullptr;
}

const RateDifference* PullComparison::Difference(std::size_t log, int rpm) const {
    return log < logs.size() ? AtRpm(logs[log].differences, rpm) : nullptr;
}

bool PullCompared(const Pull& pull, int gear) {
    return !pull.excluded && (gear == 0 || pull.gear == gear);
}

ParameterImage MapImage(const LogHeader& map) {
    ParameterImage image;
    image[field::mapUsesTps] = map.mapUsesTps ? 1 : 0;
    std::copy(map.mapRpm.begin(), map.mapRpm.end(), image.begin() + field::mapRpm);
    std::copy(map.advanceMap.begin(), map.advanceMap.end(), image.begin() + field::advanceMap);
    return image;
}

PullComparison ComparePulls(const std::vector<PullLog>& logs, int gear) {
    PullComparison comparison;
    std::vector<int> rpms;
    for (const PullLog& log : logs) {
        LogRates rates;
        std::map<int, RateBand> bands;
        const Pull* first = nullptr;
        for (const Pull& pull : log.pulls) {
            if (!PullCompared(pull, gear)) {
                continue;
            }
            ++rates.pulls;
            if (!first) {
                first = &pull;
            } else if (pull.map != first->map) {
                rates.severalMaps = true;
            }
            for (const BinRate& bin : pull.rates) {
                RateBand& band = bands[bin.rpm];
                if (band.pulls == 0) {
                    band.rpm = bin.rpm;
                    band.low = band.high = bin.rate;
                }
                band.low = std::min(band.low, bin.rate);
                band.high = std::max(band.high, bin.rate);
                band.mean += bin.rate;
                ++band.pulls;
            }
        }
        for (auto& [rpm, band] : bands) {
            band.mean /= band.pulls;
            rates.bands.push_back(band);
            rpms.push_back(rpm);
        }
        if (first && first->map < log.maps.size()) {
            rates.map = log.maps[first->map];
        } else if (!log.maps.empty()) {
            rates.map = log.maps.front();
        }
        comparison.logs.push_back(std::move(rates));
    }
    std::sort(rpms.begin(), rpms.end());
    rpms.erase(std::unique(rpms.begin(), rpms.end()), rpms.end());
    comparison.rpms = std::move(rpms);

    if (comparison.logs.empty()) {
        return comparison;
    }
    const LogRates& base = comparison.logs.front();
    for (std::size_t k = 1; k < comparison.logs.size(); ++k) {
        LogRates& other = comparison.logs[k];
        for (const RateBand& band : other.bands) {
            const RateBand* against = AtRpm(base.bands, band.rpm);
            if (band.rpm % kDifferenceStepRpm != 0 || !against || against->mean <= 0) {
                continue;
            }
            RateDifference difference;
            difference.rpm = band.rpm;
            difference.percent = (band.mean / against->mean - 1) * 100;
            difference.insideBands = band.low <= against->high && against->low <= band.high;
            other.differences.push_back(difference);
        }
        other.mapsKnown = base.map.hasMap && other.map.hasMap;
        if (other.mapsKnown) {
            other.mapDifferences = CompareImages(MapImage(base.map), MapImage(other.map));
        }
    }
    return comparison;
}

} // namespace orna5
