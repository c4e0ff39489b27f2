// orna5-sim: an emulated ignition unit on a pseudo-terminal. Prints the
// device to open on its first line and serves until interrupted.

#include "sim/PtyUnit.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <iterator>
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
    "  --set OFF=V       store V (0..255) in memory byte OFF (0..199), after\n"
    "                    --load; may be given more than once\n"
    "  --paced           send answers at the real line speed (57600 baud)\n"
    "  --ride            ride instead of sweeping the rev range: pulls at full\n"
    "                    throttle through four gears with quick-shifts, roll-off,\n"
    "                    stop, again; the engine gains revs the faster the nearer\n"
    "                    the unit's map lies to the engine's best advance (paced)\n"
    "  --version         print the version and quit\n"
    "  --help            show this text\n"
    "\n"
    "While it runs, each line read from standard input replaces the faults by\n"
    "the options on it (an empty line or --clear: no faults); --dump prints\n"
    "the unit's 200 memory bytes as one line of numbers. A line of only --set\n"
    "and --dump keeps the faults.\n";

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
    bool ride = false;
    bool help = false;
    bool clear = false;
    bool dump = false;
    std::string loadPath;
    // Memory bytes to store, offset and value, in the order given.
    std::vector<std::pair<int, int>> stores;
    // Only --set and --dump were given: the faults stay as they are.
    bool memoryOnly = false;
};

// "OFF=V" with OFF 0..199 and V 0..255.
bool ParseStore(const std::string& text, std::pair<int, int>& store) {
    const std::size_t eq = text.find('=');
    return eq != std::string::npos && ParseCount(text.substr(0, eq).c_str(), 0, 199, store.first) &&
           ParseCount(text.substr(eq + 1).c_str(), 0, 255, store.second);
}

// The word of the command line that brought the unknown option `name`.
std::string OptionWord(const QStringList& words, const QString& name) {
    for (const QString& word : words.mid(1)) {
        const QString bare = word.startsWith("--") ? word.mid(2).section('=', 0, 0) : word.mid(1);
        if (word.startsWith('-') &&
            (bare == name || (!word.startsWith("--") && bare.contains(name))))
            return word.toStdString();
    }
    return "--" + name.toStdString();
}

// Reads options into settings; false with the message in error. The same
// options come on the command line and on the control lines.
bool ParseOptions(const std::vector<std::string>& args, Settings& s, std::string& error) {
    struct Number {
        const char* name;
        int min;
        int max;
        const char* need;
    };
    static const Number kNumbers[] = {
        {"protocol", 0, 255, "a number 0..255"},      {"drop", 0, 1000000, "a count"},
        {"corrupt", 0, 1000000, "a count"},           {"bad-echo", 0, 1000000, "a count"},
        {"bad-store", 0, 199, "an offset 0..199"},    {"stray", 0, 10000, "a byte count"},
        {"split", 1, 10000, "a time in ms 1..10000"}, {"hangup-after", 1, 1000000, "a count"},
        {"reopen-after", 0, 600000, "a time in ms"},
    };
    int* const numberFields[] = {
        &s.unit.protocolVersion, &s.unit.dropAnswers,    &s.unit.corruptAnswers,
        &s.unit.badEchoAnswers,  &s.unit.badStoreOffset, &s.unit.strayBytes,
        &s.line.splitMs,         &s.line.hangupAfter,    &s.reopenAfterMs,
    };
    struct Flag {
        const char* name;
        bool* value;
    };
    const Flag flags[] = {
        {"silent", &s.unit.silent},
        {"paced", &s.paced},
        {"fault-polls", &s.unit.faultPolls},
        {"garbage", &s.line.garbage},
        {"clear", &s.clear},
        {"dump", &s.dump},
        {"ride", &s.ride},
    };

    QCommandLineParser parser;
    parser.addOption({{"h", "help"}, {}});
    for (const Flag& flag : flags)
        parser.addOption({flag.name, {}});
    for (const Number& number : kNumbers)
        parser.addOption({number.name, {}, "N"});
    parser.addOption({"load", {}, "FILE"});
    parser.addOption({"set", {}, "OFF=V"});

    QStringList words{"orna5-sim"};
    for (const std::string& arg : args)
        words << QString::fromStdString(arg);
    if (!parser.parse(words)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            error = "unknown option '" + OptionWord(words, unknown.first()) + "'";
        } else if (parser.errorText().startsWith("Missing value")) {
            // An option that takes a value came last.
            const std::string last = args.back().substr(2);
            error = "--" + last + " needs " +
                    (last == "load"  ? "a file"
                     : last == "set" ? "OFF=V"
                                     : "");
            for (const Number& number : kNumbers)
                if (last == number.name)
                    error += number.need;
        } else {
            error = parser.errorText().toStdString(); // a value given to a flag
        }
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = "unknown option '" + parser.positionalArguments().first().toStdString() + "'";
        return false;
    }
    s.help = parser.isSet("help");
    for (const Flag& flag : flags)
        if (parser.isSet(flag.name))
            *flag.value = true;
    for (std::size_t k = 0; k < std::size(kNumbers); ++k) {
        const Number& number = kNumbers[k];
        if (parser.isSet(number.name) &&
            !ParseCount(parser.value(number.name).toStdString().c_str(), number.min, number.max,
                        *numberFields[k])) {
            error = std::string("--") + number.name + " needs " + number.need;
            return false;
        }
    }
    if (parser.isSet("load"))
        s.loadPath = parser.value("load").toStdString();
    for (const QString& value : parser.values("set")) {
        std::pair<int, int> store;
        if (!ParseStore(value.toStdString(), store)) {
            error = "--set needs OFF=V with OFF 0..199 and V 0..255";
            return false;
        }
        s.stores.push_back(store);
    }
    s.memoryOnly = !parser.optionNames().isEmpty();
    for (const QString& name : parser.optionNames())
        s.memoryOnly = s.memoryOnly && (name == "set" || name == "dump");
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

// Stores the --set bytes, as a test sets up a unit that holds odd values.
void StoreBytes(orna5::UnitEmulator& emulator, const std::vector<std::pair<int, int>>& stores) {
    if (stores.empty())
        return;
    orna5::UnitEmulator::Memory memory = emulator.StoredBytes();
    for (const auto& [offset, value] : stores)
        memory[static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(value);
    emulator.SetStoredBytes(memory);
}

// One line of standard input: new faults, new memory bytes, or a dump of the memory.
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
    if (!ParseOptions(args, s, error) || s.paced || s.ride || s.help) {
        std::fprintf(stderr, "orna5-sim: %s\n",
                     error.empty() ? "--paced, --ride and --help only on the command line"
                                   : error.c_str());
        return;
    }
    if (!s.loadPath.empty()) {
        std::string loadError;
        if (!unit.Emulator().LoadFile(s.loadPath, loadError))
            std::fprintf(stderr, "orna5-sim: %s\n", loadError.c_str());
    }
    StoreBytes(unit.Emulator(), s.stores);
    if (s.dump) {
        std::string text = "memory:";
        for (const std::uint8_t byte : unit.Emulator().StoredBytes())
            text += ' ' + std::to_string(byte);
        std::printf("%s\n", text.c_str());
        std::fflush(stdout);
    }
    if (s.memoryOnly)
        return; // setting or dumping the memory keeps the faults
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
    // A ride runs on the clock, so its frames come at the line's own pace.
    orna5::PtyUnit unit(settings.unit, settings.paced || settings.ride, settings.line);
    if (!settings.loadPath.empty()) {
        if (!unit.Emulator().LoadFile(settings.loadPath, error)) {
            std::fprintf(stderr, "orna5-sim: %s\n", error.c_str());
            return 1;
        }
    }
    StoreBytes(unit.Emulator(), settings.stores);
    if (settings.ride) {
        QElapsedTimer rideClock;
        rideClock.start();
        unit.Emulator().Engine().StartRide(
            [rideClock] { return static_cast<double>(rideClock.nsecsElapsed()) / 1e9; });
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
