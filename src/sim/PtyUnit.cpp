#include "sim/PtyUnit.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace orna5 {

namespace {

// Answers the program does not read pile up here; beyond this the oldest go,
// as they would in a full driver queue.
constexpr std::size_t kOutputLimit = 64 * 1024;
constexpr int kPaceIntervalMs = 5;
// The garbage stream: this much every few ms, more than a program reading
// 10000 bytes a tick can take in, so its buffers are put to the test.
constexpr int kGarbageIntervalMs = 5;
constexpr std::size_t kGarbageChunk = 4096;

std::string SystemError(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

} // namespace

PtyUnit::PtyUnit(EmulatorOptions options, bool pacedAnswers, LineFaults lineFaults)
    : emulator(std::move(options)), paced(pacedAnswers) {
    paceTimer.setInterval(kPaceIntervalMs);
    paceTimer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&paceTimer, &QTimer::timeout, &paceTimer, [this] { OnPaceTick(); });
    splitTimer.setSingleShot(true);
    QObject::connect(&splitTimer, &QTimer::timeout, &splitTimer, [this] { ReleaseHeld(); });
    splitClock.start();
    garbageTimer.setInterval(kGarbageIntervalMs);
    QObject::connect(&garbageTimer, &QTimer::timeout, &garbageTimer, [this] { OnGarbageTick(); });
    SetFaults(lineFaults);
}

void PtyUnit::SetFaults(const LineFaults& lineFaults) {
    faults = lineFaults;
    hangupBase = emulator.DataCommandCount();
    if (faults.garbage && master >= 0)
        garbageTimer.start();
    else
        garbageTimer.stop();
    if (faults.splitMs <= 0)
        ReleaseHeld();
}

PtyUnit::~PtyUnit() {
    Stop();
}

bool PtyUnit::Start(std::string& error) {
    Stop();
    const int fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = SystemError("posix_openpt");
        return false;
    }
    if (::grantpt(fd) != 0 || ::unlockpt(fd) != 0) {
        error = SystemError("unlockpt");
        ::close(fd);
        return false;
    }
    char name[128] = {};
    if (::ptsname_r(fd, name, sizeof name) != 0) {
        error = SystemError("ptsname");
        ::close(fd);
        return false;
    }
    // Holding the slave open keeps the terminal alive between the program's
    // opens (otherwise the master would read a hang-up), and lets the line be
    // set raw before anyone else sees it.
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
        error = SystemError(name);
        ::close(fd);
        return false;
    }
    termios tio{};
    if (::tcgetattr(slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B57600);
        ::cfsetospeed(&tio, B57600);
        ::tcsetattr(slave, TCSANOW, &tio);
    }
    master = fd;
    heldSlave = slave;
    slavePath = name;
    readNotifier = std::make_unique<QSocketNotifier>(master, QSocketNotifier::Read);
    QObject::connect(readNotifier.get(), &QSocketNotifier::activated, readNotifier.get(),
                     [this] { OnReadable(); });
    writeNotifier = std::make_unique<QSocketNotifier>(master, QSocketNotifier::Write);
    writeNotifier->setEnabled(false);
    QObject::connect(writeNotifier.get(), &QSocketNotifier::activated, writeNotifier.get(),
                     [this] { OnWritable(); });
    lastInput.invalidate();
    if (faults.garbage)
        garbageTimer.start();
    return true;
}

void PtyUnit::Stop() {
    paceTimer.stop();
    splitTimer.stop();
    garbageTimer.stop();
    held.clear();
    readNotifier.reset();
    writeNotifier.reset();
    output.clear();
    emulator.DiscardPartialFrame();
    if (heldSlave >= 0)
        ::close(heldSlave);
    if (master >= 0)
        ::close(master);
    heldSlave = -1;
    master = -1;
    slavePath.clear();
}

void PtyUnit::OnReadable() {
    std::uint8_t buffer[4096];
    for (;;) {
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n > 0) {
            // A frame that stalled mid-way is abandoned, so one lost byte
            // does not shift every later frame.
            if (lastInput.isValid() && lastInput.elapsed() > kFrameGapMs)
                emulator.DiscardPartialFrame();
            lastInput.start();
            QueueAnswer(emulator.Feed(buffer, std::size_t(n)));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // EAGAIN: all read. EIO cannot happen while the slave is held.
    }
    if (faults.hangupAfter > 0 &&
        emulator.DataCommandCount() - hangupBase >= static_cast<unsigned>(faults.hangupAfter)) {
        // Closed from the event loop: the notifier that called us goes with it.
        faults.hangupAfter = 0;
        QTimer::singleShot(0, &paceTimer, [this] {
            Stop();
            if (hangupHandler)
                hangupHandler();
        });
        return;
    }
    while (output.size() > kOutputLimit)
        output.pop_front();
    if (paced) {
        if (!output.empty() && !paceTimer.isActive()) {
            paceClock.start();
            // A pseudo-terminal hands the command over at once; on the line
            // it took a frame's time to arrive, and the answer cannot start
            // before it is in.
            paceCredit = -static_cast<double>(kFrameSize);
            paceTimer.start();
        }
    } else {
        Flush(output.size());
    }
}

void PtyUnit::QueueAnswer(const std::vector<std::uint8_t>& answer) {
    if (faults.garbage && !answer.empty()) {
        // Buried: never the first byte a reader sees after draining the line.
        const std::vector<std::uint8_t> lead = Garbage(1 + NextRandom() % 64);
        output.insert(output.end(), lead.begin(), lead.end());
    }
    if (faults.splitMs <= 0 || answer.size() < 2) {
        output.insert(output.end(), answer.begin(), answer.end());
        return;
    }
    const auto half = answer.begin() + static_cast<std::ptrdiff_t>(answer.size() / 2);
    // Behind an earlier held half, the first half waits too, so bytes never
    // overtake each other.
    if (held.empty())
        output.insert(output.end(), answer.begin(), half);
    else
        held.push_back({splitClock.elapsed(), std::vector<std::uint8_t>(answer.begin(), half)});
    held.push_back(
        {splitClock.elapsed() + faults.splitMs, std::vector<std::uint8_t>(half, answer.end())});
    if (!splitTimer.isActive())
        splitTimer.start(faults.splitMs);
}

void PtyUnit::ReleaseHeld() {
    const qint64 now = splitClock.elapsed();
    bool released = false;
    while (!held.empty() && (faults.splitMs <= 0 || held.front().dueMs <= now)) {
        output.insert(output.end(), held.front().bytes.begin(), held.front().bytes.end());
        held.pop_front();
        released = true;
    }
    if (!held.empty())
        splitTimer.start(static_cast<int>(std::max<qint64>(1, held.front().dueMs - now)));
    if (!released)
        return;
    if (paced) {
        if (!paceTimer.isActive()) {
            paceClock.start();
            paceCredit = 0;
            paceTimer.start();
        }
    } else {
        Flush(output.size());
    }
}

std::uint32_t PtyUnit::NextRandom() {
    // xorshift: cheap, and never long runs of one value.
    garbageState ^= garbageState << 13;
    garbageState ^= garbageState >> 17;
    garbageState ^= garbageState << 5;
    return garbageState;
}

std::vector<std::uint8_t> PtyUnit::Garbage(std::size_t n) {
    std::vector<std::uint8_t> bytes(n);
    for (std::uint8_t& byte : bytes)
        byte = static_cast<std::uint8_t>(NextRandom());
    return bytes;
}

void PtyUnit::OnGarbageTick() {
    if (master < 0)
        return;
    // Answers in the queue go first, so the stream buries them but does not
    // cut them apart.
    if (!paced)
        Flush(output.size());
    const std::vector<std::uint8_t> chunk = Garbage(kGarbageChunk);
    [[maybe_unused]] const ssize_t n = ::write(master, chunk.data(), chunk.size());
}

void PtyUnit::OnPaceTick() {
    // In nanoseconds: whole milliseconds would drop up to a fifth of each
    // 5 ms step and send slower than the line.
    paceCredit += static_cast<double>(paceClock.nsecsElapsed()) * kLineBytesPerSecond / 1e9;
    paceClock.restart();
    const auto allowance = static_cast<std::size_t>(std::max(paceCredit, 0.0));
    paceCredit -= static_cast<double>(allowance);
    Flush(allowance);
    if (output.empty())
        paceTimer.stop();
}

void PtyUnit::OnWritable() {
    Flush(paced ? 0 : output.size());
}

void PtyUnit::Flush(std::size_t allowance) {
    if (master < 0)
        return;
    std::uint8_t chunk[4096];
    while (allowance > 0 && !output.empty()) {
        const std::size_t n = std::min({allowance, output.size(), sizeof chunk});
        std::copy(output.begin(), output.begin() + static_cast<std::ptrdiff_t>(n), chunk);
        const ssize_t written = ::write(master, chunk, n);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            break; // the program is not reading; wait until it does
        output.erase(output.begin(), output.begin() + written);
        allowance -= static_cast<std::size_t>(written);
    }
    UpdateNotifiers();
}

void PtyUnit::UpdateNotifiers() {
    // In paced mode the timer does the writing; a full terminal only delays it.
    if (writeNotifier)
        writeNotifier->setEnabled(!paced && !output.empty());
}

} // namespace orna5
