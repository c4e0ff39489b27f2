#pragma once

#include "sim/UnitEmulator.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <deque>
#include <memory>
#include <string>

namespace orna5 {

// An emulated unit behind a pseudo-terminal: the program opens the returned
// device path like a serial port. The unit is served from the Qt event loop
// of the thread that created it, so a serial link in the same thread works
// as long as that loop turns between its writes and reads. Needs a
// QCoreApplication.
class PtyUnit {
public:
    // Bytes per second on a 57600-baud line with 10 bits per byte.
    static constexpr int kLineBytesPerSecond = 5760;
    // A partial frame older than this is dropped, as the line went quiet.
    static constexpr int kFrameGapMs = 50;

    // paced: answers leave at the line's byte rate instead of all at once.
    explicit PtyUnit(EmulatorOptions options = {}, bool paced = false);
    ~PtyUnit();
    PtyUnit(const PtyUnit&) = delete;
    PtyUnit& operator=(const PtyUnit&) = delete;

    // Creates the pseudo-terminal; false with the system's reason in error.
    bool Start(std::string& error);
    // Closes the pseudo-terminal: a link still open on it sees the device
    // vanish. Start may be called again (usually giving a new path).
    void Stop();
    bool IsRunning() const { return master >= 0; }

    // The device to open, e.g. "/dev/pts/4"; empty before Start.
    const std::string& DevicePath() const { return slavePath; }

    UnitEmulator& Emulator() { return emulator; }
    // Answer bytes not yet handed to the pseudo-terminal.
    std::size_t PendingOutput() const { return output.size(); }

private:
    void OnReadable();
    void OnWritable();
    void Flush(std::size_t allowance);
    void OnPaceTick();
    void UpdateNotifiers();

    UnitEmulator emulator;
    bool paced;
    int master = -1;
    int heldSlave = -1;
    std::string slavePath;
    std::unique_ptr<QSocketNotifier> readNotifier;
    std::unique_ptr<QSocketNotifier> writeNotifier;
    QTimer paceTimer;
    QElapsedTimer paceClock;
    double paceCredit = 0;
    QElapsedTimer lastInput;
    std::deque<std::uint8_t> output;
};

} // namespace orna5
