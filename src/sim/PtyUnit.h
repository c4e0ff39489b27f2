#pragma once

#include "sim/UnitEmulator.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orna5 {

// Faults of the line rather than of the unit; any can be switched at run time.
struct LineFaults {
    // Each answer leaves in two halves, the second this many ms after the
    // first, so it reaches the program over more than one tick.
    int splitMs = 0;
    // The unit streams random bytes without end, faster than any program
    // reads them; answers are still sent, buried in the stream.
    bool garbage = false;
    // The pseudo-terminal closes (the cable is pulled) once this many data
    // commands have arrived after the faults were set; 0 never. Happens once.
    int hangupAfter = 0;
};

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
    explicit PtyUnit(EmulatorOptions options = {}, bool paced = false, LineFaults faults = {});
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
    const LineFaults& Faults() const { return faults; }
    void SetFaults(const LineFaults& faults);
    // Called (from the event loop) right after a hang-up closed the terminal.
    void OnHangup(std::function<void()> handler) { hangupHandler = std::move(handler); }

    // Answer bytes not yet handed to the pseudo-terminal.
    std::size_t PendingOutput() const { return output.size(); }

private:
    void OnReadable();
    void OnWritable();
    void Flush(std::size_t allowance);
    void OnPaceTick();
    void UpdateNotifiers();
    void QueueAnswer(const std::vector<std::uint8_t>& answer);
    void ReleaseHeld();
    void OnGarbageTick();
    std::uint32_t NextRandom();
    std::vector<std::uint8_t> Garbage(std::size_t n);

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

    LineFaults faults;
    // Second halves of split answers and when each may leave.
    struct Held {
        qint64 dueMs;
        std::vector<std::uint8_t> bytes;
    };
    std::deque<Held> held;
    QTimer splitTimer;
    QElapsedTimer splitClock;
    QTimer garbageTimer;
    std::uint32_t garbageState = 0x2545F491u;
    unsigned hangupBase = 0; // data commands already counted when the faults were set
    std::function<void()> hangupHandler;
};

} // namespace orna5
