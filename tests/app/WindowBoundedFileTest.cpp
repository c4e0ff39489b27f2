// Files no parameter file can be, named on the window's command line: far
// too big, a pipe nobody writes to, a device that never ends. The window
// starts all the same, says "Open file error!" and keeps its parameters.

#include "WindowFixture.h"

#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>

#include <string>
#include <sys/stat.h>

namespace orna5::test {

namespace {

struct Odd {
    const char* name;
    QString (*make)(const QTemporaryDir& dir);
};

QString Huge(const QTemporaryDir& dir) {
    const QString path = dir.filePath("huge.ign");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("KAMBRIX_KEY   54 \r\nLIMITER       120 ");
    file.write(QByteArray(2 * 1024 * 1024, ' '));
    return path;
}

QString Fifo(const QTemporaryDir& dir) {
    const QString path = dir.filePath("pipe.ign");
    ::mkfifo(QFile::encodeName(path).constData(), 0600);
    return path;
}

QString Device(const QTemporaryDir&) {
    return "/dev/zero";
}

const Odd kOdd[] = {{"huge_file", Huge}, {"fifo", Fifo}, {"device", Device}};

void PrintTo(const Odd& odd, std::ostream* out) {
    *out << odd.name;
}

class WindowBoundedFile : public WindowTest, public ::testing::WithParamInterface<Odd> {};

TEST_P(WindowBoundedFile, CommandLineFileIsRefused) {
    QTemporaryDir dir;
    StartOptions options;
    options.simulate = true;
    options.file = GetParam().make(dir);
    TFormHlav window(options);
    window.show();
    const ParameterImage before = window.Image();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window.findChild<QMessageBox*>("OpenFileErrorBox") != nullptr; }, 5000));
    auto* box = window.findChild<QMessageBox*>("OpenFileErrorBox");
    EXPECT_TRUE(box->text().startsWith("Open file error!")) << box->text().toStdString();
    box->close();
    QTest::qWait(100);
    EXPECT_EQ(window.Image(), before);
    EXPECT_NE(Find<QLabel>(window, "LabelFile2")->text(), options.file);
    window.close();
}

INSTANTIATE_TEST_SUITE_P(Files, WindowBoundedFile, ::testing::ValuesIn(kOdd),
                         [](const ::testing::TestParamInfo<Odd>& info) {
                             return std::string(info.param.name);
                         });

} // namespace

} // namespace orna5::test

namespace orna5::test {
namespace {

// The settings, the snapshot and the test marker replaced by pipes nobody
// writes to: start-up neither hangs nor fails, and the defaults stay.
TEST_F(WindowTest, SettingsFilesThatArePipesAreSkipped) {
    for (const char* name : {"orna5.ini", "_orna5.ini", "test_brodek.txt"})
        ASSERT_EQ(::mkfifo(QFile::encodeName(ConfigFile(name)).constData(), 0600), 0) << name;
    auto window = Start();
    EXPECT_EQ(window->Image(), DefaultImage());
    EXPECT_FALSE(window->TestMode());
    EXPECT_EQ(window->LanguageIndex(), 0);
}

} // namespace
} // namespace orna5::test
