#pragma once

#include <string_view>

namespace orna5 {

// What the print system said of a queue just before a job went to it.
enum class QueueState {
    NotAsked,  // output into a file: there is no queue
    Accepting, // the queue is there and takes jobs (it may hold them)
    Rejecting, // the queue is there but refuses new jobs
    Missing,   // no printer of that name (any more)
};

// The state from the print system's answer: whether a printer of that name
// was found, and its "printer-is-accepting-jobs" value ("true" or "false";
// empty when the answer did not say, which is taken as accepting, since the
// job's own answer will still tell).
QueueState QueueStateOf(bool found, std::string_view acceptingJobs);

// A job is sent only to a queue that is there and takes jobs.
bool WorthSending(QueueState queue);

// What happened to one print job (one page of the window on a printer).
struct PrintJobFacts {
    QueueState queue = QueueState::NotAsked;
    // The job was sent: the painter began on the printer and ended.
    bool painterEnded = false;
    // QPrinter::printerState() after the job: Error or Aborted.
    bool printerFailed = false;
    // The print system's status of the job's creation (an IPP status code:
    // below 0x0100 is success); -1 where there was no print system to ask.
    int createStatus = -1;
};

// Whether the job reached the printer's queue (or the file): never a job
// the queue was known to refuse, one that did not end, one the printer
// marked as failed or one whose creation the print system refused.
bool JobAccepted(const PrintJobFacts& facts);

} // namespace orna5
