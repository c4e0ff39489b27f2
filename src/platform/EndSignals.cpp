#include "platform/EndSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace orna5 {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handler may only write to a pipe; the event loop reads it.
int pipeEnds[2] = {-1, -1};
volatile std::sig_atomic_t signalsSeen = 0;
struct sigaction before[3];
// Which of kSignals this object took over; one ignored when it came (nohup,
// a job started in the background by a script) stays ignored.
bool taken[3] = {false, false, false};

void OnSignal(int number) {
    if (signalsSeen++ == 0) {
        // The code interrupted may be about to read errno.
        const int savedErrno = errno;
        const unsigned char byte = static_cast<unsigned char>(number);
        [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
        errno = savedErrno;
        return;
    }
    // A second one: the signal's own way, at once. It is blocked while its
    // handler runs, so it lands as soon as this returns.
    std::signal(number, SIG_DFL);
    std::raise(number);
}

} // namespace

EndSignals::EndSignals(QObject* parent) : QObject(parent) {
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    signalsSeen = 0;
    notifier = std::make_unique<QSocketNotifier>(pipeEnds[0], QSocketNotifier::Read);
    connect(notifier.get(), &QSocketNotifier::activated, this, &EndSignals::Take);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    // The others wait while one is handled, so that two different ones
    // coming together are counted one after the other.
    sigemptyset(&action.sa_mask);
    for (const int number : kSignals)
        sigaddset(&action.sa_mask, number);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        taken[i] = ::sigaction(kSignals[i], nullptr, &before[i]) == 0 &&
                   before[i].sa_handler != SIG_IGN &&
                   ::sigaction(kSignals[i], &action, nullptr) == 0;
    }
}

EndSignals::~EndSignals() {
    if (!notifier)
        return;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        if (taken[i])
            ::sigaction(kSignals[i], &before[i], nullptr);
    notifier.reset();
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void EndSignals::Take() {
    unsigned char byte = 0;
    while (::read(pipeEnds[0], &byte, 1) == 1)
        if (received == 0) {
            received = byte;
            emit EndAsked(received);
        }
}

void EndSignals::EndNowIfAsked() {
    // A signal that came while the loop was ending is still in the pipe.
    Take();
    if (received == 0)
        return;
    std::fflush(nullptr);
    std::signal(received, SIG_DFL);
    std::raise(received);
}

} // namespace orna5
