// A recorded log played through the window: the live cell and the time in
// cell follow the rows while the port rests.

#include "WindowFixture.h"

#include "app/Document.h"
#include "app/ViewManager.h"
#include "app/views/LogPlaybackWindow.h"
#include "app/views/MapTableWindow.h"
#include "app/views/TimeInCellView.h"
#include "device/DeviceFrame.h"
#include "device/DeviceSession.h"
#include "device/LogClock.h"
#include "files/MonitorLog.h"
#include "params/MonitorFrame.h"

#include <QComboBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>

namespace orna5::test {

TEST_F(WindowTest, APlayedLogMovesTheLiveCellAndCountsItsTimeWhilePollingRests) {
    auto window = Start(); // on the emulated unit, which answers polls
    const ParameterImage image = window->Image();
    const std::uint16_t slow = image[field::mapRpm + 3] * 100;
    const std::uint16_t fast = image[field::mapRpm + 7] * 100;
    QTemporaryDir dir;
    const QString path = dir.filePath("ride.csv");
    {
        MonitorLogWriter writer(LogTimeNow);
        ASSERT_TRUE(writer.Open(path.toStdString(), MakeLogHeader(image, "ORN12", "")));
        DeviceFrame f{};
        f[monitorField::code] = MonitorCode;
        for (int row = 0; row < 6; ++row) {
            PutFrameWord(f.data(), monitorField::rpm, row < 3 ? slow : fast);
            writer.Append(f.data(), QString("2026-12-08T10:00:0%1.%2")
                                        .arg(row / 2)
                                        .arg(row % 2 ? "500" : "000")
                                        .toStdString());
        }
    }
    Document& document = window->Doc();
    MapTableWindow* table = window->Views().ShowMapTable();
    LogPlaybackWindow* playback = window->Views().PlayDataLog(path);
    ASSERT_NE(playback, nullptr);
    EXPECT_TRUE(window->Session().PollingPaused());
    EXPECT_FALSE(Find<QLabel>(*window, "LabelLogMapDiffers")->isVisibleTo(playback));
    // The first row shows before Play; the count starts from it.
    ASSERT_TRUE(QTest::qWaitFor([&] { return document.Values().liveRpm == slow; }, 5000));
    const int row = document.Live().tpsRow;
    EXPECT_EQ(document.Live().mapRpmColumn, 3);
    table->findChild<QPushButton*>("ButtonResetTime")->click();

    playback->findChild<QComboBox*>("ComboSpeed")->setCurrentIndex(4); // 4x
    playback->findChild<QPushButton*>("ButtonPlay")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return document.Values().liveRpm == fast; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return playback->Playback().Row() == 5; }, 5000));
    QTest::qWait(600); // the emulated unit is not asked meanwhile
    EXPECT_EQ(document.Values().liveRpm, fast);
    EXPECT_EQ(document.Live().mapRpmColumn, 7);
    EXPECT_EQ(window->Image(), image);
    // Recorded seconds, whatever the speed: rows 1..3 and 3..5.
    auto* cells = table->findChild<TimeInCellView*>("TableTimeInCell");
    const QString second = QLocale().toString(1.0, 'f', 1);
    EXPECT_EQ(cells->CellText(row, 3), second);
    EXPECT_EQ(cells->CellText(row, 7), second);
    EXPECT_TRUE(Find<QLabel>(*window, "LabelPlayback")->text().contains("ride.csv"));

    playback->close();
    EXPECT_FALSE(window->Session().PollingPaused());
    EXPECT_EQ(window->findChild<QLabel*>("LabelPlayback"), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return document.Values().liveRpm != fast; }, 5000));
}

} // namespace orna5::test
