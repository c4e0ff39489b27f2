// orna5-sim: an emulated ignition unit on a pseudo-terminal. Prints the
// device to open on its first line and serves until interrupted.

#include "sim/PtyUnit.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

const char kUsage[] = "Usage: orna5-sim [OPTIONS]\n"
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
                      "  --load FILE.ign   start with the parameters of a parameter file\n"
                      "  --paced           send answers at the real line speed (57600 baud)\n"
                      "  --version         print the version and quit\n"
                      "  --help            show this text\n";

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

int Fail(const std::string& message) {
    std::fprintf(stderr, "orna5-sim: %s\nTry 'orna5-sim --help'.\n", message.c_str());
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    orna5::EmulatorOptions options;
    bool paced = false;
    std::string loadPath;

    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
        auto number = [&](int min, int max, int& value) {
            if (!ParseCount(next, min, max, value))
                return false;
            ++i;
            return true;
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--version") {
            std::puts("orna5-sim " ORNA5_VERSION);
            return 0;
        } else if (arg == "--silent") {
            options.silent = true;
        } else if (arg == "--paced") {
            paced = true;
        } else if (arg == "--fault-polls") {
            options.faultPolls = true;
        } else if (arg == "--protocol") {
            if (!number(0, 255, options.protocolVersion))
                return Fail("--protocol needs a number 0..255");
        } else if (arg == "--drop") {
            if (!number(0, 1000000, options.dropAnswers))
                return Fail("--drop needs a count");
        } else if (arg == "--corrupt") {
            if (!number(0, 1000000, options.corruptAnswers))
                return Fail("--corrupt needs a count");
        } else if (arg == "--bad-echo") {
            if (!number(0, 1000000, options.badEchoAnswers))
                return Fail("--bad-echo needs a count");
        } else if (arg == "--bad-store") {
            if (!number(0, 199, options.badStoreOffset))
                return Fail("--bad-store needs an offset 0..199");
        } else if (arg == "--stray") {
            if (!number(0, 10000, options.strayBytes))
                return Fail("--stray needs a byte count");
        } else if (arg == "--load") {
            if (!next)
                return Fail("--load needs a file");
            loadPath = next;
            ++i;
        } else {
            return Fail("unknown option '" + arg + "'");
        }
    }

    QCoreApplication app(argc, argv);
    orna5::PtyUnit unit(options, paced);
    if (!loadPath.empty()) {
        std::string error;
        if (!unit.Emulator().LoadFile(loadPath, error)) {
            std::fprintf(stderr, "orna5-sim: %s\n", error.c_str());
            return 1;
        }
    }
    std::string error;
    if (!unit.Start(error)) {
        std::fprintf(stderr, "orna5-sim: cannot create a pseudo-terminal: %s\n", error.c_str());
        return 1;
    }

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

    std::printf("%s\n", unit.DevicePath().c_str());
    std::fflush(stdout);

    const int rc = app.exec();
    unit.Stop();
    return rc;
}
