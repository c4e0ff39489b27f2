// How a program holding EndSignals ends, run in a child process each time
// since the signals end it.

#include "platform/EndSignals.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace orna5 {
namespace {

struct EndCase {
    const char* what;
    int ignoredBefore; // a signal set to be ignored before the object came; 0 none
    int sent;
    bool loopRuns;     // whether the event loop reads the pipe before the end
    int endedBySignal; // 0: the child went on and exited normally
};

TEST(EndSignals, EndsAsTheSignalWouldOrNotAtAll) {
    const EndCase cases[] = {
        {"taken by the loop", 0, SIGINT, true, SIGINT},
        {"come as the loop ended", 0, SIGTERM, false, SIGTERM},
        {"ignored under nohup", SIGHUP, SIGHUP, true, 0},
        {"ignored, another one comes", SIGHUP, SIGTERM, true, SIGTERM},
    };
    for (const EndCase& c : cases) {
        SCOPED_TRACE(c.what);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (c.ignoredBefore != 0)
                std::signal(c.ignoredBefore, SIG_IGN);
            int argc = 1;
            char name[] = "end_signals";
            char* argv[] = {name, nullptr};
            QCoreApplication app(argc, argv);
            {
                EndSignals ends;
                std::raise(c.sent);
                if (c.loopRuns)
                    QCoreApplication::processEvents();
                ends.EndNowIfAsked();
            }
            // Ignored still once the object is gone.
            if (c.ignoredBefore != 0)
                std::raise(c.ignoredBefore);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        // The signal that ended the child, 0 for a normal exit (-1 otherwise).
        const int endedBy = WIFSIGNALED(status)        ? WTERMSIG(status)
                            : WEXITSTATUS(status) == 0 ? 0
                                                       : -1;
        EXPECT_EQ(endedBy, c.endedBySignal);
    }
}

} // namespace
} // namespace orna5
