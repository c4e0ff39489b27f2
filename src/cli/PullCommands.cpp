#include "cli/PullCommands.h"

#include "cli/CliCommon.h"
#include "disk/WholeFile.h"
#include "files/BoundedFile.h"
#include "lang/PullTexts.h"
#include "lang/ViewTexts.h"
#include "ride/PullComparison.h"
#include "ride/PullFinder.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <string>
#include <vector>

namespace orna5::cli {

namespace {

std::string Text(PullText id) {
    return TextIn(id, English);
}

std::string Fill(PullText id, const std::string& first, const std::string& second = {}) {
    QString text = QString::fromStdString(Text(id)).arg(QString::fromStdString(first));
    if (!second.empty()) {
        text = text.arg(QString::fromStdString(second));
    }
    return text.toStdString();
}

// One decimal, whatever the locale's decimal sign.
std::string OneDecimal(double value) {
    const long long tenths = std::llround(value * 10);
    const long long whole = (tenths < 0 ? -tenths : tenths);
    return std::string(tenths < 0 ? "-" : "") + std::to_string(whole / 10) + '.' +
           std::to_string(whole % 10);
}

std::string Whole(double value) {
    return std::to_string(std::llround(value));
}

// Characters as shown: a UTF-8 letter counts once.
std::size_t Shown(const std::string& text) {
    std::size_t shown = 0;
    for (unsigned char c : text) {
        shown += (c & 0xC0) != 0x80;
    }
    return shown;
}

// Rows of cells in columns two blanks apart, each column as wide as its
// widest cell; the columns in `left` flush left, the others right.
void PrintTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows,
                const std::vector<bool>& left) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t c = 0; c < row.size(); ++c) {
            widths[c] = std::max(widths[c], Shown(row[c]));
        }
    }
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            const std::string pad(widths[c] - Shown(row[c]), ' ');
            const bool flushLeft = c < left.size() && left[c];
            line += (c ? "  " : "") + (flushLeft ? row[c] + pad : pad + row[c]);
        }
        while (!line.empty() && line.back() == ' ') {
            line.pop_back();
        }
        out << line << '\n';
    }
}

void PrintPullList(std::ostream& out, std::size_t place, const PullLog& log, const LogRates& rates,
                   int gear) {
    out << Fill(PullText::LogHeading, std::to_string(place + 1), log.path) << '\n';
    out << Fill(PullText::TuneLine,
                rates.map.tune.empty() ? TextIn(ViewText::NotKnown, English) : rates.map.tune)
        << '\n';
    std::vector<std::vector<std::string>> rows = {
        {Text(PullText::PullColumn), Text(PullText::StartColumn), Text(PullText::RpmColumn),
         Text(PullText::SecondsColumn), Text(PullText::GearColumn)}};
    for (std::size_t i = 0; i < log.pulls.size(); ++i) {
        const Pull& pull = log.pulls[i];
        if (PullCompared(pull, gear)) {
            rows.push_back({std::to_string(i + 1), FormatLogTime(pull.start),
                            Whole(pull.lowRpm) + "-" + Whole(pull.highRpm),
                            OneDecimal(pull.seconds),
                            pull.gear > 0 ? std::to_string(pull.gear) : "-"});
        }
    }
    PrintTable(out, rows, {false, true});
}

// What the map of a later log is against the first's.
void PrintMapNote(std::ostream& out, std::size_t place, const LogRates& rates) {
    const std::string number = std::to_string(place + 1);
    if (!rates.mapsKnown) {
        out << Fill(PullText::MapNotKnown, number) << '\n';
    } else if (rates.mapDifferences.empty()) {
        out << Fill(PullText::SameMap, number) << '\n';
    } else {
        out << Fill(PullText::OtherMap, number) << '\n';
        for (const ParameterDifference& difference : rates.mapDifferences) {
            out << "  " << DifferenceLine(difference) << '\n';
        }
    }
}

// The rpm down, the mean and band of each log across, then each later
// log's difference from the first and whether it lies within the bands.
void PrintRateTable(std::ostream& out, const PullComparison& comparison) {
    const std::size_t logs = comparison.logs.size();
    out << Text(PullText::RateTitle) << '\n';
    std::vector<std::vector<std::string>> rows(1);
    std::vector<bool> left = {false};
    rows[0].push_back(Text(PullText::RpmColumn));
    for (std::size_t k = 0; k < logs; ++k) {
        rows[0].push_back(Fill(PullText::LogColumn, std::to_string(k + 1)));
        left.push_back(false);
    }
    for (std::size_t k = 1; k < logs; ++k) {
        rows[0].push_back(Fill(PullText::VersusColumn, std::to_string(k + 1)));
        rows[0].emplace_back();
        left.push_back(false);
        left.push_back(true);
    }
    for (int rpm : comparison.rpms) {
        std::vector<std::string>& row = rows.emplace_back();
        row.push_back(std::to_string(rpm));
        for (std::size_t k = 0; k < logs; ++k) {
            const RateBand* band = comparison.Band(k, rpm);
            row.push_back(band ? Whole(band->mean) + " (" + Whole(band->low) + "-" +
                                     Whole(band->high) + ")"
                               : "-");
        }
        for (std::size_t k = 1; k < logs; ++k) {
            const RateDifference* difference = comparison.Difference(k, rpm);
            row.push_back(difference ? (difference->percent >= 0 ? "+" : "") +
                                           OneDecimal(difference->percent) + " %"
                                     : "");
            row.push_back(difference ? Text(difference->insideBands ? PullText::WithinBands
                                                                    : PullText::BeyondBands)
                                     : "");
        }
    }
    PrintTable(out, rows, left);
}

void PrintCsv(std::ostream& out, const std::vector<PullLog>& logs, int gear) {
    out << "log,pull,rpm,rate\n";
    for (std::size_t k = 0; k < logs.size(); ++k) {
        for (std::size_t i = 0; i < logs[k].pulls.size(); ++i) {
            const Pull& pull = logs[k].pulls[i];
            if (!PullCompared(pull, gear)) {
                continue;
            }
            for (const BinRate& bin : pull.rates) {
                out << k + 1 << ',' << i + 1 << ',' << bin.rpm << ',' << OneDecimal(bin.rate)
                    << '\n';
            }
        }
    }
}

} // namespace

int CommandPulls(int argc, char** argv) {
    Arguments args;
    if (!ParseArguments(argc, argv, 2, {"--min-tps", "--gear"}, args, {"--csv"})) {
        return kExitUsage;
    }
    if (args.positional.empty()) {
        return Usage("usage: orna5ctl pulls LOG... [--min-tps N] [--gear N] [--csv]");
    }
    PullRules rules;
    if (const std::string* text = args.Option("--min-tps")) {
        int percent = 0;
        if (!ParseNumber(*text, 1, 100, percent)) {
            return Usage("--min-tps takes a whole number from 1 to 100");
        }
        rules.minTps = percent;
    }
    int gear = 0;
    if (const std::string* text = args.Option("--gear")) {
        if (!ParseNumber(*text, 1, 9, gear)) {
            return Usage("--gear takes a whole number from 1 to 9");
        }
    }
    // Every log is read before any is judged, so each one's trouble is said.
    std::vector<PullLog> logs(args.positional.size());
    bool failed = false;
    for (std::size_t k = 0; k < logs.size(); ++k) {
        const std::string& path = args.positional[k];
        const BoundedRead read = FindPulls(path, logs[k], rules);
        if (!read.Ok()) {
            std::cerr << OpenFileErrorText(QString::fromStdString(path),
                                           ReadFaultText(read, English), English)
                             .toStdString()
                      << '\n';
            failed = true;
            continue;
        }
        if (!logs[k].isLog) {
            std::cerr << "orna5ctl: " << path << ": " << TextIn(ViewText::NotALog, English) << '\n';
            failed = true;
            continue;
        }
        const std::string skipped = SkippedText(logs[k].skips);
        if (!skipped.empty()) {
            std::cerr << "orna5ctl: " << path << ": " << skipped << '\n';
        }
        bool any = false;
        for (const Pull& pull : logs[k].pulls) {
            any = any || PullCompared(pull, gear);
        }
        if (!any) {
            std::cerr << "orna5ctl: " << path << ": "
                      << (gear > 0 && !logs[k].pulls.empty()
                              ? Fill(PullText::NoPullInGear, std::to_string(gear))
                              : Fill(PullText::NoPull, std::to_string(std::lround(rules.minTps))))
                      << '\n';
            failed = true;
        }
    }
    if (failed) {
        return kExitFailed;
    }
    const PullComparison comparison = ComparePulls(logs, gear);
    if (args.Flag("--csv")) {
        PrintCsv(std::cout, logs, gear);
        return kExitOk;
    }
    for (std::size_t k = 0; k < logs.size(); ++k) {
        PrintPullList(std::cout, k, logs[k], comparison.logs[k], gear);
        if (comparison.logs[k].severalMaps) {
            std::cout << Fill(PullText::SeveralMaps, std::to_string(k + 1)) << '\n';
        }
        if (k > 0) {
            PrintMapNote(std::cout, k, comparison.logs[k]);
        }
        std::cout << '\n';
    }
    PrintRateTable(std::cout, comparison);
    return kExitOk;
}

} // namespace orna5::cli
