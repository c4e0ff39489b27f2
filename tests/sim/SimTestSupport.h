#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace orna5::test {

// The pseudo-terminal unit and the serial port need an application object.
inline QCoreApplication& App() {
    static int argc = 1;
    static char name[] = "sim_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = QCoreApplication::instance() ? QCoreApplication::instance()
                                                                : new QCoreApplication(argc, argv);
    return *app;
}

// Turns the event loop until done() holds or the wall-clock limit passes
// (the limit is a safety net, not a measurement).
inline bool RunUntil(const std::function<bool()>& done, int limitMs = 5000) {
    App();
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

inline std::vector<std::uint8_t> Frame(std::uint8_t code,
                                       const std::vector<std::uint8_t>& payload = {}) {
    std::vector<std::uint8_t> f(102, 0);
    f[0] = code;
    for (std::size_t i = 0; i < payload.size() && i < 100; ++i)
        f[1 + i] = payload[i];
    std::uint8_t x = 0xFF;
    for (std::size_t i = 0; i < 101; ++i)
        x ^= f[i];
    f[101] = x;
    return f;
}

inline bool CheckOk(const std::vector<std::uint8_t>& f, std::size_t at = 0) {
    if (f.size() < at + 102)
        return false;
    std::uint8_t x = 0xFF;
    for (std::size_t i = 0; i < 102; ++i)
        x ^= f[at + i];
    return x == 0;
}

inline unsigned Get16(const std::vector<std::uint8_t>& f, std::size_t offset) {
    return f[offset] | (f[offset + 1] << 8);
}

} // namespace orna5::test
