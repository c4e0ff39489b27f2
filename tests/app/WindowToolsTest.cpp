// The step commands of the window on live values fed as the unit's
// live-data frames, and undo and redo through a full ring.

#include "WindowFixture.h"

#include "../device/FakeLink.h"
#include "app/widgets/SpinButton.h"
#include "device/DeviceSession.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

namespace orna5::test {

namespace {

class WindowToolsTest : public WindowTest {
protected:
    // The window with the test's link in place of the port, so the test
    // decides what the unit reports.
    std::unique_ptr<TFormHlav> StartOnLink() {
        auto window = Start();
        window->Session().SetLink(&link);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }

    // One live-data frame with this engine speed and throttle-sensor count,
    // taken in by the window's next ticks.
    void Feed(TFormHlav& window, int rpm, int tpsCounts) {
        DeviceFrame frame = MonitorFrameBytes();
        PutFrameWord(frame.data(), monitorField::rpm, static_cast<std::uint16_t>(rpm));
        PutFrameWord(frame.data(), monitorField::tpsCounts, static_cast<std::uint16_t>(tpsCounts));
        link.Queue(Sealed(frame));
        bool taken = false;
        auto connection = QObject::connect(&window, &TFormHlav::TickDone,
                                           [&taken](bool monitorFrame) { taken |= monitorFrame; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return taken; }, 5000));
        QObject::disconnect(connection);
    }

    // The start-up image can hold values the controls cannot show (lobe 0 of
    // an unused channel); the first edit takes the controls' values, and
    // the tests compare from there.
    static void Settle(TFormHlav& window) { Enter(window, "EditBaseAdv", "0"); }

    // Brings the button's page to the front, as the user must, and clicks it.
    static void Press(TFormHlav& window, const QString& name) {
        auto* button = Find<QPushButton>(window, name);
        auto* pages = Find<QTabWidget>(window, "PageControl1");
        for (int i = 0; i < pages->count(); ++i)
            if (pages->widget(i)->isAncestorOf(button))
                pages->setCurrentIndex(i);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    static void Tick(TFormHlav& window, const QString& name, bool on) {
        auto* box = Find<QCheckBox>(window, name);
        if (box->isChecked() != on)
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }
    static int Cell(TFormHlav& window, int row, int column) {
        return window.Image()[MapCell(row, column)];
    }

    FakeLink link;
};

TEST_F(WindowToolsTest, AdvancePlusOnTheLiveCellChangesThatCellOnly) {
    auto window = StartOnLink();
    Enter(*window, "Edit143", "30"); // row 9, column 3
    const ParameterImage before = window->Image();
    // The engine exactly on the fourth rpm point; no throttle rows: row 9.
    Feed(*window, before[field::mapRpm + 3] * 100, 0);
    ASSERT_FALSE(window->Session().Live(false).belowMapAxis);
    Press(*window, "BitBtnAdvPlus");
    ParameterImage expected = before;
    expected[MapCell(9, 3)] = 31;
    EXPECT_EQ(window->Image(), expected);
    EXPECT_EQ(Edit(*window, "Edit143")->text(), "31");
    // F4 is Advance minus.
    window->findChild<QAction*>("AdvanceMinus")->trigger();
    EXPECT_EQ(Cell(*window, 9, 3), 30);
}

TEST_F(WindowToolsTest, AdvanceWithoutLiveCellChangesNothing) {
    auto window = StartOnLink();
    Settle(*window);
    const ParameterImage before = window->Image();
    const auto undoBefore = window->Undo().Current();
    Press(*window, "BitBtnAdvPlus"); // no frame yet: below the rpm axis
    EXPECT_EQ(window->Image(), before);
    EXPECT_EQ(window->Undo().Current(), undoBefore);
}

TEST_F(WindowToolsTest, AdvancePlusForAllStopsAtSixty) {
    auto window = StartOnLink();
    Enter(*window, "Edit140", "60");
    Enter(*window, "Edit141", "59");
    Enter(*window, "Edit142", "12");
    const ParameterImage before = window->Image();
    Tick(*window, "CheckBoxIgnAll", true);
    Press(*window, "BitBtnAdvPlus");
    for (int k = 0; k < 100; ++k) {
        const int was = before[field::advanceMap + k];
        EXPECT_EQ(window->Image()[field::advanceMap + k], was < 60 ? was + 1 : 60) << k;
    }
    EXPECT_EQ(Cell(*window, 9, 2), 13);
}

TEST_F(WindowToolsTest, ColumnSpinMovesTheCellsBelowTheLimit) {
    auto window = StartOnLink();
    Tick(*window, "CheckBoxTpsMapa", true);
    Enter(*window, "Edit52", "60"); // row 0, column 2
    Enter(*window, "Edit62", "20"); // row 1, column 2
    const ParameterImage before = window->Image();
    Find<QTabWidget>(*window, "PageControl1")->setCurrentIndex(2);
    auto* spin = Find<SpinButton>(*window, "CSpinButton3");
    MouseClick(spin->UpButton());
    EXPECT_EQ(Cell(*window, 0, 2), 60);
    EXPECT_EQ(Cell(*window, 1, 2), 21);
    for (int row = 2; row < 10; ++row)
        EXPECT_EQ(Cell(*window, row, 2), std::min(60, before[MapCell(row, 2)] + 1)) << row;
    EXPECT_EQ(Cell(*window, 1, 3), before[MapCell(1, 3)]);
    MouseClick(spin->DownButton());
    EXPECT_EQ(Cell(*window, 0, 2), 59);
    EXPECT_EQ(Cell(*window, 1, 2), 20);
}

TEST_F(WindowToolsTest, ServoStepsTheLivePointOrAll) {
    auto window = StartOnLink();
    Tick(*window, "CheckBoxPrivEnable", true);
    Settle(*window);
    const ParameterImage before = window->Image();
    ASSERT_TRUE(Find<QCheckBox>(*window, "CheckBoxPrivEnable")->isChecked());
    Feed(*window, before[field::servoRpm + 4] * 100, 0);
    Press(*window, "BitBtnServoPlus");
    ParameterImage expected = before;
    ++expected[field::servoMv + 4];
    EXPECT_EQ(window->Image(), expected);
    Tick(*window, "CheckBoxServoAll", true);
    ASSERT_TRUE(Find<QCheckBox>(*window, "CheckBoxServoAll")->isChecked());
    Press(*window, "BitBtnServoMinus");
    for (int j = 0; j < 10; ++j)
        EXPECT_EQ(window->Image()[field::servoMv + j],
                  std::max(1, expected[field::servoMv + j] - 1))
            << j;
}

// Counts of the sensor's converter: 0..1023 for 0..5000 mV.
TEST_F(WindowToolsTest, ThrottleCalibrationTakesTheLiveVoltageInItsRangeOnly) {
    struct Case {
        const char* button;
        int counts;       // live sensor voltage
        std::size_t byte; // the byte the button sets
        int stored;       // -1: nothing changes
    };
    for (const Case& c : {Case{"BitBtnTps0", 10, field::tpsZeroMv, -1},     // 48 mV
                          Case{"BitBtnTps0", 532, field::tpsZeroMv, -1},    // 2600 mV
                          Case{"BitBtnTps0", 400, field::tpsZeroMv, 195},   // 1955 mV
                          Case{"BitBtnTps100", 400, field::tpsFullMv, -1},  // 1955 mV
                          Case{"BitBtnTps100", 900, field::tpsFullMv, 189}, // 4398 mV
                          Case{"BitBtnTps100", 1023, field::tpsFullMv, -1}}) {
        SetUp();
        auto window = StartOnLink();
        Feed(*window, 0, c.counts);
        const ParameterImage before = window->Image();
        const auto undoBefore = window->Undo().Current();
        Press(*window, c.button);
        ParameterImage expected = before;
        if (c.stored >= 0)
            expected[c.byte] = static_cast<std::uint8_t>(c.stored);
        EXPECT_EQ(window->Image(), expected) << c.button << " " << c.counts;
        EXPECT_EQ(window->Undo().Current() != undoBefore, c.stored >= 0)
            << c.button << " " << c.counts;
        Close(window);
    }
}

// 200 differing changes: the first state is lost, 199 undos reach the
// oldest kept one, each bringing back the page it was recorded on.
TEST_F(WindowToolsTest, UndoThroughAFullRingAndRedoDroppedByAChange) {
    auto window = StartOnLink();
    auto* pages = Find<QTabWidget>(*window, "PageControl1");
    auto* undo = Find<QToolButton>(*window, "SpeedButtonZpet");
    auto* redo = Find<QToolButton>(*window, "SpeedButtonZnovu");
    auto* undoItem = window->findChild<QAction*>("MenuZpet");
    pages->setCurrentIndex(0);
    Enter(*window, "EditOmez2", "10000");
    pages->setCurrentIndex(2);
    for (int i = 0; i < 199; ++i)
        Enter(*window, "EditBaseAdv", QString::number(20 + i % 2));
    EXPECT_EQ(window->Image()[field::baseAdvance], 20);

    pages->setCurrentIndex(3);
    for (int i = 0; i < 198; ++i)
        MouseClick(undo);
    EXPECT_EQ(pages->currentIndex(), 2);
    EXPECT_EQ(window->Image()[field::limiterRpm], 100);
    EXPECT_EQ(window->Image()[field::baseAdvance], 20);
    EXPECT_TRUE(undo->isEnabled());
    MouseClick(undo);
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(Edit(*window, "EditOmez2")->text(), QString("10\u00a0000"));
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(undoItem->isEnabled());
    undoItem->trigger(); // the 200th undo does nothing
    EXPECT_EQ(window->Image()[field::limiterRpm], 100);
    EXPECT_TRUE(redo->isEnabled());

    MouseClick(redo);
    EXPECT_EQ(pages->currentIndex(), 2);
    EXPECT_EQ(window->Image()[field::baseAdvance], 20);
    EXPECT_TRUE(redo->isEnabled());
    Enter(*window, "EditBaseAdv", "25");
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_FALSE(window->findChild<QAction*>("MenuZnovu")->isEnabled());
    EXPECT_TRUE(undo->isEnabled());
}

} // namespace

} // namespace orna5::test
