// Whether a print job counts as printed, from what the queue said before it
// and what Qt and the print system said after it.

#include "app/PrintJob.h"

#include <gtest/gtest.h>

namespace orna5::test {

TEST(PrintJobTest, OnlyAJobTheQueueTookCounts) {
    constexpr int kOk = 0x0000, kOkIgnored = 0x0001, kNotAccepting = 0x0506, kNotFound = 0x0406;
    struct Row {
        const char* what;
        QueueState queue;
        bool painterEnded, printerFailed;
        int createStatus;
        bool accepted;
    };
    const Row rows[] = {
        {"taken", QueueState::Accepting, true, false, kOk, true},
        {"taken, some options ignored", QueueState::Accepting, true, false, kOkIgnored, true},
        {"into a file", QueueState::NotAsked, true, false, -1, true},
        {"queue refuses jobs", QueueState::Rejecting, true, false, kOk, false},
        {"printer gone", QueueState::Missing, true, false, kOk, false},
        {"refused when sent", QueueState::Accepting, true, false, kNotAccepting, false},
        {"gone when sent", QueueState::Accepting, true, false, kNotFound, false},
        {"painter failed", QueueState::Accepting, false, false, kOk, false},
        {"printer in error", QueueState::Accepting, true, true, kOk, false},
    };
    for (const Row& row : rows) {
        PrintJobFacts facts;
        facts.queue = row.queue;
        facts.painterEnded = row.painterEnded;
        facts.printerFailed = row.printerFailed;
        facts.createStatus = row.createStatus;
        EXPECT_EQ(JobAccepted(facts), row.accepted) << row.what;
    }
}

TEST(PrintJobTest, QueueStateFromThePrintSystemsAnswer) {
    EXPECT_EQ(QueueStateOf(false, "true"), QueueState::Missing);
    EXPECT_EQ(QueueStateOf(true, "false"), QueueState::Rejecting);
    EXPECT_EQ(QueueStateOf(true, "true"), QueueState::Accepting);
    // Not said: the job's own answer still tells.
    EXPECT_EQ(QueueStateOf(true, ""), QueueState::Accepting);
    EXPECT_FALSE(WorthSending(QueueState::Rejecting));
    EXPECT_FALSE(WorthSending(QueueState::Missing));
}

} // namespace orna5::test
