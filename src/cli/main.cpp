// orna5ctl: the command-line tool on the same core as the window, for
// backups and workshop scripts.

#include "cli/CliCommon.h"
#include "cli/DeviceCommands.h"
#include "cli/FileCommands.h"
#include "cli/HistoryCommands.h"
#include "cli/MapCommands.h"
#include "cli/PortCommands.h"
#include "cli/PullCommands.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstring>
#include <iostream>

namespace {

const char kHelp[] = R"(Usage: orna5ctl COMMAND [ARGUMENTS]

Parameter files (.ign):
  new --bike CODE -o OUT      write the defaults and preset of model CODE (0..31)
  normalise IN -o OUT         read IN over the start-up parameters, normalise, write OUT
  show FILE                   print the parameters in user units, page by page
  diff A B                    print every parameter that differs;
                              exit 0 when equal, 1 when not, 2 on trouble
  rebin IN [--rpm R1,...,R10] [--servo-rpm R1,...,R10] -o OUT
                              read IN as normalise does, move the map's or the
                              servo curve's rpm points (ten, rising, on 100 rpm,
                              300..20000), keep the curves, normalise, write OUT

Data logs (.csv, as monitor --csv writes them):
  cells LOG [--csv]           print the seconds spent in each map cell, against
                              the log's own map; --csv as comma-separated values
  pulls LOG... [--min-tps N] [--gear N] [--csv]
                              find the pulls (full throttle, rpm rising) of
                              each log and compare how fast the engine gained
                              revs with the first log's, per 250 rpm; --min-tps:
                              full throttle from N % (90); --gear: that gear's
                              pulls only; --csv: log,pull,rpm,rate lines

Serial ports:
  ports [--probe]             list Com 1..Com 20 with their devices: present, not
                              present or no permission, and what the system
                              knows of each; --probe also polls every present
                              device and says whether a unit answers;
                              exit 0 when one answered, 1 when none did

The unit (PORT is a device path such as /dev/ttyUSB0, COM1..COM21, or auto:
the first device that answers, in the order of ports --probe):
  program IN --port PORT [--no-backup]
                              keep what the unit holds as a restore point, then
                              program IN over it (the unit keeps the bytes a
                              parameter file does not carry) and verify; nothing
                              is written unless that point is on disk
                              (--no-backup: read nothing first, keep no such
                              point, and let the history fail nothing)
  verify IN --port PORT       compare the unit with IN read over the unit's own
                              bytes; every differing byte on stderr
  read --port PORT -o OUT     read the unit's parameters, verify, write OUT
  monitor --port PORT [--count N] [--csv FILE] [--params FILE] [--rate standard|fast]
                              read the unit's parameters (or take them from
                              FILE), then print its live data, one line per frame;
                              fast: the next poll as soon as the answer is in

The history of restore points (kept by program, read, verify and restore;
a point keeps the unit's 200 bytes exactly):
  history [--limit N]         list them, newest (1) first: number, time, kind
                              (read, before program, programmed, verified,
                              opened, saved), unit version, file
  history show N              print restore point N as show does
  history export N -o OUT     write restore point N as a parameter file
  history restore N --port PORT [--no-backup]
                              program restore point N into the unit, every byte,
                              after keeping what the unit holds now (as program)
  history verify N --port PORT
                              compare the unit with restore point N, reserved
                              bytes too; every differing byte on stderr

A restore point that cannot be kept fails the command (exit 1); program and
history restore then leave the unit untouched, unless --no-backup.

Exit status: 0 success, 1 the operation failed, 2 usage error.
orna5ctl --version prints the version.
)";

} // namespace

int main(int argc, char** argv) {
    using namespace orna5::cli;
    if (argc < 2) {
        std::cerr << kHelp;
        return kExitUsage;
    }
    // Only the first word decides: a command, or --help / --version.
    QCommandLineParser parser;
    parser.addOption({{"h", "help"}, {}});
    parser.addOption({"version", {}});
    const bool parsed =
        parser.parse({QString::fromLocal8Bit(argv[0]), QString::fromLocal8Bit(argv[1])});
    const char* command = argv[1];
    if (parsed && (parser.isSet("help") || !std::strcmp(command, "help"))) {
        std::cout << kHelp;
        return kExitOk;
    }
    if (parsed && parser.isSet("version")) {
        std::cout << "orna5ctl " ORNA5_VERSION "\n";
        return kExitOk;
    }
    // The application object comes first: a serial port opened without one
    // gets notifiers that never fire.
    QCoreApplication app(argc, argv);
    struct Entry {
        const char* name;
        int (*run)(int, char**);
    };
    const Entry commands[] = {
        {"new", CommandNew},     {"normalise", CommandNormalise}, {"show", CommandShow},
        {"diff", CommandDiff},   {"program", CommandProgram},     {"verify", CommandVerify},
        {"read", CommandRead},   {"monitor", CommandMonitor},     {"rebin", CommandRebin},
        {"cells", CommandCells}, {"history", CommandHistory},     {"ports", CommandPorts},
        {"pulls", CommandPulls},
    };
    for (const Entry& entry : commands) {
        if (!std::strcmp(command, entry.name)) {
            return entry.run(argc, argv);
        }
    }
    return Usage(std::string("unknown command '") + command + "'");
}
