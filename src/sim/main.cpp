// orna5-sim: an emulated ignition unit on a pseudo-terminal. Prints the
// device to open on its first line and serves until interrupted.

#include "sim/PtyUnit.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

int signalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

const char kUsage[] =
    "Usage: orna5-sim [OPTIONS]\n"
    "Serves an emulated ORNA-5 ignition unit on a pseudo-terminal. The first\n"
    "line printed is the device to open (for example: orna5 --port /dev/pts/4).\n"
    "Runs until interrupted (Ctrl+C) or terminated.\n"
    "\n"
    "Options:\n"
    "  --silent          answer nothing (a unit that is not connected)\n"
    "  --protocol N      report protocol version N instead of 54\n"
    "  --drop K          send no answer to the first K commands\n"
    "  --corrupt K       give the first K answers a wrong check byte\n"
    "  --bad-echo K      echo the first programmed page wrongly K times\n"
    "  --bad-store OFF   memory byte OFF (0..199) never stores what was sent,\n"
    "                    so programming seems to work but verifying fails\n"
    "  --stray N         send N junk bytes ahead of the first answer\n"
    "  --fault-polls     let the counted faults above hit poll answers too\n"
    "  --split MS        send each answer in two halves, the second MS ms later\n"
    "  --garbage         stream random bytes without end, answers buried in them\n"
    "  --hangup-after K  close the pseudo-terminal (a pulled cable) once K data\n"
    "                    commands have arrived; a new one is made after\n"
    "                    --reopen-after MS (default 500) and its device printed\n"
    "                    on a line of its own\n"
    "  --reopen-after MS see --hangup-after\n"
    "  --load FILE.ign   start with the parameters of a parameter file\n"
    "  --paced           send answers at the real line speed (57600 baud)\n"
    "  --version         print the version and quit\n"
    "  --help            show this text\n"
    "\n"
    "While it runs, each line read from standard input replaces the faults by\n"
    "the options on it (an empty line or --clear: no faults); --dump prints\n"
    "the unit's 200 memory bytes as one line of numbers.\n";

bool ParseCount(const char* text, int min, int max, int& value) {
    if (!text || !*text)
        return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || v < min || v > max)
        return false;
    value = static_cast<int>(v);
    return true;
}

// Everything the options set.
struct Settings {
    orna5::EmulatorOptions unit;
    orna5::LineFaults line;
    int reopenAfterMs = 500;
    bool paced = false;
    bool help = false;
    bool clear = false;
    bool dump = false;
    std::string loadPath;
};

// Reads options into settings; false with the message in error.
bool ParseOptions(const std::vector<std::string>& args, Settings& s, std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const char* next = i + 1 < args.size() ? args[i + 1].c_str() : nullptr;
        auto number = [&](int min, int max, int& value, const char* need) {
            if (!ParseCount(next, min, max, value)) {
                error = arg + " needs " + need;
                return false;
            }
            ++i;
            return true;
        };
        bool ok = true;
        if (arg == "--help" || arg == "-h") {
            s.help = true;
        } else if (arg == "--silent") {
            s.unit.silent = true;
        } else if (arg == "--paced") {
            s.paced = true;
        } else if (arg == "--fault-polls") {
            s.unit.faultPolls = true;
        } else if (arg == "--garbage") {
            s.line.garbage = true;
        } else if (arg == "--clear") {
            s.clear = true;
        } else if (arg == "--dump") {
            s.dump = true;
        } else if (arg == "--protocol") {
            ok = number(0, 255, s.unit.protocolVersion, "a number 0..255");
        } else if (arg == "--drop") {
            ok = number(0, 1000000, s.unit.dropAnswers, "a count");
        } else if (arg == "--corrupt") {
            ok = number(0, 1000000, s.unit.corruptAnswers, "a count");
        } else if (arg == "--bad-echo") {
            ok = number(0, 1000000, s.unit.badEchoAnswers, "a count");
        } else if (arg == "--bad-store") {
            ok = number(0, 199, s.unit.badStoreOffset, "an offset 0..199");
        } else if (arg == "--stray") {
            ok = number(0, 10000, s.unit.strayBytes, "a byte count");
        } else if (arg == "--split") {
            ok = number(1, 10000, s.line.splitMs, "a time in ms 1..10000");
        } else if (arg == "--hangup-after") {
            ok = number(1, 1000000, s.line.hangupAfter, "a count");
        } else if (arg == "--reopen-after") {
            ok = number(0, 600000, s.reopenAfterMs, "a time in ms");
        } else if (arg == "--load") {
            if (!next) {
                error = "--load needs a file";
                return false;
            }
            s.loadPath = next;
            ++i;
        } else {
            error = "unknown option '" + arg + "'";
            return false;
        }
        if (!ok)
            return false;
    }
    return true;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "orna5-sim: %s\nTry 'orna5-sim --help'.\n", message.c_str());
    return 2;
}

void PrintDevice(const orna5::PtyUnit& unit) {
    std::printf("%s\n", unit.DevicePath().c_str());
    std::fflush(stdout);
}

// One line of standard input: new faults, or a dump of the memory.
void Control(orna5::PtyUnit& unit, const std::string& line, Settings& current) {
    std::vector<std::string> args;
    std::size_t at = 0;
    while ((at = line.find_first_not_of(" \t\r", at)) != std::string::npos) {
        const std::size_t end = line.find_first_of(" \t\r", at);
        args.push_back(line.substr(at, end == std::string::npos ? end : end - at));
        at = end;
    }
    Settings s;
    s.reopenAfterMs = current.reopenAfterMs;
    std::string error;
    if (!ParseOptions(args, s, error) || s.paced || s.help) {
        std::fprintf(stderr, "orna5-sim: %s\n",
                     error.empty() ? "--paced and --help only on the command line" : error.c_str());
        return;
    }
    if (s.dump) {
        std::string text = "memory:";
        for (const std::uint8_t byte : unit.Emulator().StoredBytes())
            text += ' ' + std::to_string(byte);
        std::printf("%s\n", text.c_str());
        std::fflush(stdout);
        if (args.size() == 1)
            return; // a dump alone keeps the faults
    }
    if (!s.loadPath.empty()) {
        std::string loadError;
        if (!unit.Emulator().LoadFile(s.loadPath, loadError))
            std::fprintf(stderr, "orna5-sim: %s\n", loadError.c_str());
    }
    s.unit.identity = current.unit.identity;
    unit.Emulator().SetOptions(s.unit);
    unit.SetFaults(s.line);
    current = s;
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--version") {
            std::puts("orna5-sim " ORNA5_VERSION);
            return 0;
        }
    Settings settings;
    std::string error;
    if (!ParseOptions(std::vector<std::string>(argv + 1, argv + argc), settings, error))
        return Fail(error);
    if (settings.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }

    QCoreApplication app(argc, argv);
    orna5::PtyUnit unit(settings.unit, settings.paced, settings.line);
    if (!settings.loadPath.empty()) {
        if (!unit.Emulator().LoadFile(settings.loadPath, error)) {
            std::fprintf(stderr, "orna5-sim: %s\n", error.c_str());
            return 1;
        }
    }
    if (!unit.Start(error)) {
        std::fprintf(stderr, "orna5-sim: cannot create a pseudo-terminal: %s\n", error.c_str());
        return 1;
    }
    unit.OnHangup([&app, &unit, &settings] {
        QTimer::singleShot(settings.reopenAfterMs, &app, [&unit] {
            std::string startError;
            if (unit.Start(startError))
                PrintDevice(unit);
            else
                std::fprintf(stderr, "orna5-sim: cannot create a pseudo-terminal: %s\n",
                             startError.c_str());
        });
    });

    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("orna5-sim: pipe");
        return 1;
    }
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    QSocketNotifier quitNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&quitNotifier, &QSocketNotifier::activated, &app, [&app] { app.quit(); });

    // Control lines on standard input; at its end (or without one) the unit
    // just goes on serving.
    std::string pendingLine;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[1024];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            input.setEnabled(false);
            return;
        }
        pendingLine.append(buffer, static_cast<std::size_t>(n));
        std::size_t end;
        while ((end = pendingLine.find('\n')) != std::string::npos) {
            Control(unit, pendingLine.substr(0, end), settings);
            pendingLine.erase(0, end + 1);
        }
        if (pendingLine.size() > 4096)
            pendingLine.clear(); // no options line is that long
    });

    PrintDevice(unit);
    const int rc = app.exec();
    unit.Stop();
    return rc;
}
