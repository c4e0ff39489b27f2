// The window ended from outside, as logging out or kill ends it: it closes
// as File > Exit does and keeps its settings and parameters.

#include "Programs.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include <csignal>

namespace orna5::e2e {
namespace {

#ifdef ORNA5_PATH
TEST(WindowEnd, TermHangUpAndInterruptCloseAsExitDoes) {
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        Workspace ws;
        QProcess window;
        window.start(ORNA5_PATH, {"--simulate"});
        ASSERT_TRUE(window.waitForStarted(10000));
        // Up and ticking: the emulated unit's line reads in the status bar.
        window.waitForFinished(1500);
        ASSERT_EQ(window.state(), QProcess::Running) << window.readAllStandardError().toStdString();
        ::kill(static_cast<pid_t>(window.processId()), signal);
        ASSERT_TRUE(window.waitForFinished(10000));
        EXPECT_EQ(window.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(window.exitCode(), 0);
        const QDir config(ws.Path("config/orna5"));
        EXPECT_TRUE(QFile::exists(config.filePath("orna5.ini")));
        EXPECT_TRUE(QFile::exists(config.filePath("_orna5.ini")));
    }
}
#endif

} // namespace
} // namespace orna5::e2e
