#include "cli/HistoryCommands.h"

#include "cli/CliCommon.h"
#include "disk/HistoryStore.h"
#include "params/ParameterReport.h"

#include <QDateTime>

#include <iostream>

namespace orna5::cli {

namespace {

constexpr const char* kUsage =
    "usage: orna5ctl history [--limit N] | history show N | history export N -o OUT";

std::string OrDash(const std::string& text) {
    return text.empty() ? "-" : text;
}

// The points newest first; a damaged entry or file is said once.
bool ListPoints(std::vector<RestorePoint>& points) {
    const HistoryStore::Listing listing = HistoryStore().List();
    if (!listing.reason.isEmpty()) {
        std::cerr << "orna5ctl: the history cannot be read: " << listing.reason.toStdString()
                  << '\n';
        return false;
    }
    if (listing.skipped > 0) {
        std::cerr << "orna5ctl: " << listing.skipped
                  << " damaged restore point(s) in the history are left out\n";
    }
    points = listing.points;
    return true;
}

int List(const Arguments& args) {
    int limit = 0; // all
    if (const std::string* text = args.Option("--limit")) {
        if (!ParseNumber(*text, 1, 999999999, limit)) {
            return Usage("--limit takes a whole number above 0");
        }
    }
    std::vector<RestorePoint> points;
    if (!ListPoints(points)) {
        return kExitFailed;
    }
    for (std::size_t i = 0; i < points.size() && (limit == 0 || int(i) < limit); ++i) {
        const RestorePoint& p = points[i];
        const QString time =
            QDateTime::fromMSecsSinceEpoch(p.timeMs).toLocalTime().toString("yyyy-MM-dd HH:mm:ss");
        std::cout << i + 1 << '\t' << time.toStdString() << '\t' << RestoreKindName(p.kind) << '\t'
                  << OrDash(p.unitVersion) << '\t' << OrDash(p.sourcePath) << '\n';
    }
    return kExitOk;
}

// Restore point N of the listing (1 is the newest) into image.
bool LoadNumbered(const std::string& number, ParameterImage& image) {
    std::vector<RestorePoint> points;
    if (!ListPoints(points)) {
        return false;
    }
    int n = 0;
    if (!ParseNumber(number, 1, 999999999, n) || std::size_t(n) > points.size()) {
        std::cerr << "orna5ctl: no restore point " << number << " (the history holds "
                  << points.size() << ")\n";
        return false;
    }
    QString reason;
    if (!HistoryStore().Load(points[n - 1], image, &reason)) {
        std::cerr << reason.toStdString() << '\n';
        return false;
    }
    return true;
}

} // namespace

int CommandHistory(int argc, char** argv) {
    Arguments args;
    if (!ParseArguments(argc, argv, 2, {"--limit", "-o"}, args)) {
        return kExitUsage;
    }
    const std::vector<std::string>& words = args.positional;
    const std::string* out = args.Option("-o");
    if (words.empty() && !out) {
        return List(args);
    }
    const bool show = words.size() == 2 && words[0] == "show" && !out;
    const bool exportTo = words.size() == 2 && words[0] == "export" && out;
    if ((!show && !exportTo) || args.Option("--limit")) {
        return Usage(kUsage);
    }
    ParameterImage image = StartupImage();
    if (!LoadNumbered(words[1], image)) {
        return kExitFailed;
    }
    if (show) {
        PrintImage(std::cout, image);
        return kExitOk;
    }
    return SaveParameterFile(*out, image) ? kExitOk : kExitFailed;
}

} // namespace orna5::cli
