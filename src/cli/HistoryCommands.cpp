#include "cli/HistoryCommands.h"

#include "cli/CliCommon.h"
#include "cli/DeviceCommands.h"
#include "disk/HistoryStore.h"
#include "files/ParameterFile.h"
#include "params/NormaliseImage.h"
#include "params/ParameterReport.h"

#include <QDateTime>

#include <cstring>
#include <iostream>
#include <optional>
#include <sstream>

namespace orna5::cli {

namespace {

constexpr const char* kUsage =
    "usage: orna5ctl history [--limit N] | history show N | history export N -o OUT\n"
    "       | history restore N --port PORT [--no-backup] | history verify N --port PORT";

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
                  << " damaged line(s) or point file(s) of the history are left out of this "
                     "list; they are kept as they are, not dropped\n";
    }
    if (listing.recovered > 0) {
        std::cerr << "orna5ctl: " << listing.recovered
                  << " restore point file(s) the index lacked are listed again\n";
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

// Restore point N of the listing (1 is the newest) into image: bytes 0..199
// exactly, or a point kept only as a parameter file read over the image.
bool LoadNumbered(const std::string& number, ParameterImage& image,
                  HistoryStore::LoadedPoint* loaded = nullptr) {
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
    if (!HistoryStore().Load(points[n - 1], image, &reason, loaded)) {
        std::cerr << reason.toStdString() << '\n';
        return false;
    }
    return true;
}

// restore N and verify N: the point against the unit behind --port.
int WithUnit(int argc, char** argv, bool restore) {
    Arguments args;
    if (!ParseArguments(argc, argv, 2, {"--port"}, args,
                        restore ? std::vector<std::string>{"--no-backup"}
                                : std::vector<std::string>{})) {
        return kExitUsage;
    }
    const std::string* port = args.Option("--port");
    if (!port || args.positional.size() != 2) {
        return Usage(kUsage);
    }
    const std::string& number = args.positional[1];
    // Bytes 200..206 never travel; the start-up image gives them.
    ParameterImage image = StartupImage();
    HistoryStore::LoadedPoint loaded;
    if (!LoadNumbered(number, image, &loaded)) {
        return kExitFailed;
    }
    const std::string name = "restore point " + number;
    const bool backup = !args.Flag("--no-backup");
    std::optional<std::string> fileText;
    if (!loaded.exact) {
        // As program FILE does: over what the unit holds, so it keeps its
        // own reserved bytes; without the backup read nothing is known of
        // them but the start-up parameters.
        std::cerr << "orna5ctl: " << name
                  << " was kept as a parameter file only: its reserved bytes are not known, so "
                  << (!restore ? "they are not compared"
                      : backup ? "it is restored from that file over what the unit holds"
                               : "it is restored from that file over the start-up parameters")
                  << '\n';
        NormaliseImage(image);
        // Compared as a parameter file is: over the unit's own bytes.
        std::ostringstream text;
        WriteParameterFile(text, image);
        fileText = text.str();
    }
    if (!restore) {
        // Of an exact point every byte counts: a reserved byte that differs is listed.
        const int status = VerifyUnit(image, fileText, *port, {});
        if (status == kExitOk) {
            std::cout << "The unit holds " << name << '\n';
        }
        return status;
    }
    ProgramRequest request;
    request.port = *port;
    request.backup = backup;
    request.failure = name + " was not restored";
    const int status = ProgramUnit(image, fileText, request);
    if (status == kExitOk) {
        std::cout << "Restore point " << number << " is in the unit again\n";
    }
    return status;
}

} // namespace

int CommandHistory(int argc, char** argv) {
    if (argc > 2 && (!std::strcmp(argv[2], "restore") || !std::strcmp(argv[2], "verify"))) {
        return WithUnit(argc, argv, !std::strcmp(argv[2], "restore"));
    }
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
