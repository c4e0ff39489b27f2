#include "app/PrintJob.h"

namespace orna5 {

namespace {

// IPP status codes from 0x0100 on are client and server errors.
constexpr int kFirstIppError = 0x0100;

} // namespace

QueueState QueueStateOf(bool found, std::string_view acceptingJobs) {
    if (!found)
        return QueueState::Missing;
    return acceptingJobs == "false" ? QueueState::Rejecting : QueueState::Accepting;
}

bool WorthSending(QueueState queue) {
    return queue == QueueState::NotAsked || queue == QueueState::Accepting;
}

bool JobAccepted(const PrintJobFacts& facts) {
    if (!WorthSending(facts.queue) || !facts.painterEnded || facts.printerFailed)
        return false;
    return facts.createStatus < kFirstIppError;
}

} // namespace orna5
