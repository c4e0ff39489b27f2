#include "cli/MapCommands.h"

#include "cli/CliCommon.h"
#include "device/MarkLivePosition.h"
#include "device/TimeInCell.h"
#include "disk/WholeFile.h"
#include "edit/MapBlockCommands.h"
#include "files/BoundedFile.h"
#include "files/MonitorLog.h"
#include "lang/MapTableTexts.h"
#include "lang/Messages.h"
#include "lang/ViewTexts.h"
#include "params/NormaliseImage.h"

#include <cmath>
#include <cstdio>
#include <iostream>

namespace orna5::cli {

namespace {

// "R1,...,R10": exactly ten whole numbers.
bool ParseRpmList(const std::string& text, RpmPoints& points) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const std::size_t comma = text.find(',', start);
        const bool last = i + 1 == points.size();
        if (last != (comma == std::string::npos) ||
            !ParseNumber(text.substr(start, comma - start), 0, 999999, points[i])) {
            return false;
        }
        start = comma + 1;
    }
    return true;
}

// The image changes only when the list is taken; otherwise the reason on
// stderr and the usage status.
bool ApplyRebin(const std::string* list, const char* option, ParameterImage& image,
                RebinOutcome (*rebin)(ParameterImage&, const RpmPoints&)) {
    if (!list) {
        return true;
    }
    RpmPoints points{};
    if (!ParseRpmList(*list, points)) {
        std::cerr << "orna5ctl: " << option << " takes ten rpm points separated by commas\n";
        return false;
    }
    const RebinOutcome outcome = rebin(image, points);
    if (outcome.fault == RpmListFault::None) {
        // Taken, but not quite as the curves were: the user must know.
        if (outcome.clippedValues > 0) {
            std::cerr << "orna5ctl: " << option << ": " << outcome.clippedValues
                      << (outcome.clippedValues == 1 ? " value was" : " values were")
                      << " cut to the range the unit takes\n";
        }
        return true;
    }
    const MapText reason = outcome.fault == RpmListFault::NotOn100     ? MapText::RpmNotOn100
                           : outcome.fault == RpmListFault::OutOfRange ? MapText::RpmOutOfRange
                                                                       : MapText::RpmNotRising;
    std::cerr << "orna5ctl: " << option << ": " << TextIn(reason, English) << '\n';
    return false;
}

// Seconds with one decimal, whatever the locale's decimal sign.
std::string Tenths(double seconds) {
    const long long tenths = std::llround(seconds * 10);
    return std::to_string(tenths / 10) + '.' + std::to_string(tenths % 10);
}

void PrintCells(std::ostream& out, const LogHeader& header, const TimeInCell& cells, bool csv) {
    const auto cell = [&out, csv](const std::string& text, bool first) {
        if (csv) {
            out << (first ? "" : ",") << text;
        } else {
            char padded[32];
            std::snprintf(padded, sizeof padded, first ? "%5s" : "%9s", text.c_str());
            out << padded;
        }
    };
    cell("rpm", true);
    for (std::uint8_t point : header.mapRpm) {
        cell(std::to_string(point * 100), false);
    }
    out << '\n';
    for (std::size_t row = 0; row < kMapRows; ++row) {
        cell(std::to_string(TpsBreakpoints[row]) + (csv ? "" : "%"), true);
        for (std::size_t column = 0; column < kAxisPoints; ++column) {
            cell(Tenths(cells.Seconds(static_cast<int>(row), static_cast<int>(column))), false);
        }
        out << '\n';
    }
}

} // namespace

int CommandRebin(int argc, char** argv) {
    Arguments args;
    if (!ParseArguments(argc, argv, 2, {"--rpm", "--servo-rpm", "-o"}, args)) {
        return kExitUsage;
    }
    const std::string* out = args.Option("-o");
    if (!out || args.positional.size() != 1) {
        return Usage("usage: orna5ctl rebin IN [--rpm R1,...,R10] [--servo-rpm R1,...,R10] -o OUT");
    }
    ParameterImage image = StartupImage();
    if (!cli::LoadParameterFile(args.positional[0], image)) {
        return kExitFailed;
    }
    // The old axes must rise for their curves to be read between points.
    NormaliseImage(image);
    if (!ApplyRebin(args.Option("--rpm"), "--rpm", image, RebinRpmAxis) ||
        !ApplyRebin(args.Option("--servo-rpm"), "--servo-rpm", image, RebinServoRpm)) {
        return kExitUsage;
    }
    NormaliseImage(image);
    return cli::SaveParameterFile(*out, image) ? kExitOk : kExitFailed;
}

int CommandCells(int argc, char** argv) {
    Arguments args;
    if (!ParseArguments(argc, argv, 2, {}, args, {"--csv"})) {
        return kExitUsage;
    }
    if (args.positional.size() != 1) {
        return Usage("usage: orna5ctl cells LOG [--csv]");
    }
    const std::string& path = args.positional[0];
    TimeInCell cells;
    LogCellSink counted(cells);
    MonitorLogReader reader(counted);
    const BoundedRead read = StreamLogFile(path, reader, kMaxDataLogBytes);
    if (!read.Ok()) {
        std::cerr << OpenFileErrorText(QString::fromStdString(path), ReadFaultText(read, English),
                                       English)
                         .toStdString()
                  << '\n';
        return kExitFailed;
    }
    if (!reader.IsLog()) {
        std::cerr << "orna5ctl: " << path << ": " << TextIn(ViewText::NotALog, English) << '\n';
        return kExitFailed;
    }
    const std::string skipped = SkippedText(reader.Skips());
    if (!counted.counter.SawMap()) {
        std::cerr << "orna5ctl: " << path << ": " << TextIn(ViewText::LogWithoutMap, English)
                  << '\n';
        return kExitFailed;
    }
    if (counted.counter.Frames() == 0) {
        std::cerr << "orna5ctl: " << path << ": no row of the log could be counted"
                  << (skipped.empty() ? std::string(" (it has none)") : "; " + skipped) << '\n';
        return kExitFailed;
    }
    if (!skipped.empty()) {
        std::cerr << "orna5ctl: " << path << ": " << skipped << '\n';
    }
    if (counted.mapChanges > 0) {
        std::cerr << "orna5ctl: " << path << ": the map was programmed " << counted.mapChanges
                  << (counted.mapChanges == 1 ? " time" : " times")
                  << " while recording; each row counts against the map it ran on, the "
                     "columns are those of the last\n";
    }
    PrintCells(std::cout, counted.lastMap, cells, args.Flag("--csv"));
    return kExitOk;
}

} // namespace orna5::cli
