// Files no parameter file can be: far too big, a pipe nobody writes to, a
// device that never ends. Every command that reads a file refuses them at
// once with "Open file error!", without waiting for a writer and without
// reading them into memory.

#include "Programs.h"

#include <gtest/gtest.h>

#include <QFile>

#include <string>
#include <sys/stat.h>

namespace orna5::e2e {
namespace {

struct Odd {
    const char* name;
    QString (*make)(const Workspace& ws);
};

QString Huge(const Workspace& ws) {
    // A real parameter file padded with blanks to beyond 1 MiB.
    RunCtl({"new", "--bike", "20", "-o", ws.Path("huge.ign")});
    QFile file(ws.Path("huge.ign"));
    file.open(QIODevice::Append);
    file.write(std::string(2 * 1024 * 1024, ' ').c_str());
    return ws.Path("huge.ign");
}

QString Fifo(const Workspace& ws) {
    const QString path = ws.Path("pipe.ign");
    ::mkfifo(path.toLocal8Bit().constData(), 0600);
    return path;
}

QString Device(const Workspace&) {
    return "/dev/zero";
}

const Odd kOdd[] = {{"huge_file", Huge}, {"fifo", Fifo}, {"device", Device}};

class CtlBoundedInput : public ::testing::TestWithParam<Odd> {};

TEST_P(CtlBoundedInput, EveryReadingCommandRefusesIt) {
    Workspace ws;
    const QString path = GetParam().make(ws);
    ASSERT_EQ(RunCtl({"new", "--bike", "20", "-o", ws.Path("good.ign")}).exitCode, 0);
    const QStringList commands[] = {
        {"show", path},
        {"normalise", path, "-o", ws.Path("out.ign")},
        {"diff", path, ws.Path("good.ign")},
        {"program", path, "--port", "/dev/null"},
        {"verify", path, "--port", "/dev/null"},
    };
    for (const QStringList& command : commands) {
        const RunResult run = RunCtl(command);
        const std::string name = command.first().toStdString();
        EXPECT_NE(run.exitCode, 0) << name;
        EXPECT_NE(run.exitCode, -1) << name << " did not finish or crashed";
        EXPECT_NE(run.err.find("Open file error!"), std::string::npos) << name << ": " << run.err;
    }
    EXPECT_FALSE(QFile::exists(ws.Path("out.ign")));
}

INSTANTIATE_TEST_SUITE_P(Files, CtlBoundedInput, ::testing::ValuesIn(kOdd),
                         [](const ::testing::TestParamInfo<Odd>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace orna5::e2e
