// Tools > Live data: the Fast rate takes every answer when it comes, between
// ticks, and the data log records each of those frames.

#include "WindowFixture.h"

#include "app/DataLogRecorder.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace orna5::test {

namespace {

class WindowLiveRateTest : public WindowTest {};

int Rows(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    int rows = 0;
    bool columns = false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (line.startsWith('#'))
            continue;
        if (!columns) {
            columns = true; // the column line
            continue;
        }
        ++rows;
    }
    return rows;
}

// A Fast log holds more rows than ticks went by: the frames that came
// between ticks were recorded too, not only one per tick. The choice
// survives a restart.
TEST_F(WindowLiveRateTest, FastRecordsFramesBetweenTicksAndIsKept) {
    QTemporaryDir dir;
    auto window = Start();
    auto* fast = window->findChild<QAction*>("MenuLiveFast");
    ASSERT_NE(fast, nullptr);
    fast->trigger();
    ASSERT_TRUE(fast->isChecked());
    const QString path = dir.filePath("fast.csv");
    ASSERT_TRUE(window->DataLog().Start(path));
    int ticks = 0;
    QObject::connect(window.get(), &TFormHlav::TickDone, [&ticks] { ++ticks; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 20; }, 20000));
    window->DataLog().Stop();
    EXPECT_GT(Rows(path), ticks);
    auto* rate = Find<QLabel>(*window, "LabelLiveRate");
    EXPECT_TRUE(rate->isVisibleTo(window.get()));
    EXPECT_TRUE(QRegularExpression("^Live data \\d+/s$").match(rate->text()).hasMatch())
        << rate->text().toStdString();
    Close(window);
    EXPECT_TRUE(ReadConfig("orna5.ini").contains("[LIVE_DATA]\nRate=1"));

    window = Start();
    EXPECT_TRUE(window->findChild<QAction*>("MenuLiveFast")->isChecked());
    window->findChild<QAction*>("MenuLiveStandard")->trigger();
    Close(window);
    EXPECT_TRUE(ReadConfig("orna5.ini").contains("[LIVE_DATA]\nRate=0"));
}

} // namespace

} // namespace orna5::test
