// The window at work with the unit: its buttons against the emulated unit on
// a real pseudo-terminal, the live panel and the live marks, the Com menu.

#include "WindowFixture.h"

#include "app/PortControl.h"
#include "app/views/CompareWindow.h"

#include "device/DeviceSession.h"
#include "disk/HistoryStore.h"
#include "sim/PtyUnit.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>
#include <vector>

namespace orna5::test {

namespace {

const QColor kLime(0, 255, 0);

class WindowDeviceTest : public WindowTest {
protected:
    // A window on an emulated unit with the given faults.
    std::unique_ptr<TFormHlav> StartOnUnit(EmulatorOptions faults = {}) {
        unit = std::make_unique<PtyUnit>(faults);
        std::string error;
        EXPECT_TRUE(unit->Start(error)) << error;
        StartOptions options;
        options.port = QString::fromStdString(unit->DevicePath());
        auto window = std::make_unique<TFormHlav>(options);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return window;
    }

    static QString StatusText(TFormHlav& window) {
        return Find<QLabel>(window, "LabelHlaseni")->text();
    }
    static bool StatusShows(TFormHlav& window, const QString& text) {
        auto* label = Find<QLabel>(window, "LabelHlaseni");
        return label->isVisible() && label->text() == text;
    }
    static void Press(TFormHlav& window, const QString& button) {
        QTest::mouseClick(Find<QPushButton>(window, button), Qt::LeftButton);
    }
    static bool Red(QWidget* widget) {
        return widget->autoFillBackground() &&
               widget->palette().color(QPalette::Window) == QColor(255, 0, 0);
    }
    static std::vector<int> LitMapCells(TFormHlav& window) {
        std::vector<int> lit;
        for (int k = 0; k < 100; ++k)
            if (Edit(window, QString("Edit%1").arg(50 + k))->palette().color(QPalette::Base) ==
                kLime)
                lit.push_back(k);
        return lit;
    }
    bool UnitHolds(const ParameterImage& image) {
        const auto& memory = unit->Emulator().StoredBytes();
        return std::equal(memory.begin(), memory.end(), image.begin());
    }

    std::unique_ptr<PtyUnit> unit;
};

TEST_F(WindowDeviceTest, ProgramStepsTheGaugeAndLeavesTheImageInTheUnit) {
    auto window = StartOnUnit();
    Enter(*window, "Edit149", "40");
    std::vector<int> steps;
    QObject::connect(window.get(), &TFormHlav::TickDone, [&] {
        auto* gauge = Find<QProgressBar>(*window, "CGaugeProgram");
        if (gauge->isVisible() && (steps.empty() || steps.back() != gauge->value()))
            steps.push_back(gauge->value());
    });
    Press(*window, "BitBtnProgram");
    ASSERT_TRUE(QTest::qWaitFor([&] { return StatusShows(*window, "Program device:: OK"); }, 10000))
        << StatusText(*window).toStdString();
    // The backup read of the unit not known yet, the pages, the Verify.
    EXPECT_EQ(steps, (std::vector<int>{0, 1, 2, 0, 1, 2, 0, 1, 2}));
    EXPECT_TRUE(UnitHolds(window->Image()));
    EXPECT_FALSE(Red(Find<QLabel>(*window, "LabelHlaseni")));
}

TEST_F(WindowDeviceTest, ReadFillsTheControlsAndForgetsTheFileName) {
    auto window = StartOnUnit();
    ParameterImage inUnit = window->Image();
    inUnit[MapCell(9, 0)] = 21;
    unit->Emulator().StoreImage(inUnit);
    Find<QLabel>(*window, "LabelFile2")->setText("/tmp/tune.ign");
    QTest::keyClick(window.get(), Qt::Key_F7);
    EXPECT_TRUE(Find<QLabel>(*window, "LabelFile2")->text().isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return StatusShows(*window, "Verify:: OK"); }, 10000))
        << StatusText(*window).toStdString();
    EXPECT_EQ(Edit(*window, "Edit140")->text(), "21");
    EXPECT_EQ(window->Image()[MapCell(9, 0)], 21);
    EXPECT_EQ(Find<QLabel>(*window, "LabelVerze1")->text(), "ORN12");
}

TEST_F(WindowDeviceTest, VerifyAgainstAChangedUnitEndsRed) {
    auto window = StartOnUnit();
    ParameterImage inUnit = window->Image();
    inUnit[MapCell(9, 3)] ^= 1;
    unit->Emulator().StoreImage(inUnit);
    Press(*window, "BitBtnVerify");
    ASSERT_TRUE(QTest::qWaitFor([&] { return StatusShows(*window, "Verify error!"); }, 10000))
        << StatusText(*window).toStdString();
    EXPECT_TRUE(Red(Find<QLabel>(*window, "LabelHlaseni")));
    // Five sends of page 1, so no success line came in between.
    EXPECT_EQ(window->Session().CurrentOperation(), Operation::Idle);
}

TEST_F(WindowDeviceTest, SilentUnitGivesProgramErrorAndNoConnection) {
    EmulatorOptions silent;
    silent.silent = true;
    auto window = StartOnUnit(silent);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return Find<QLabel>(*window, "LabelSpojeni")->isVisible(); }, 5000));
    QTest::keyClick(window.get(), Qt::Key_F9);
    ASSERT_TRUE(QTest::qWaitFor([&] { return StatusShows(*window, "Program error!"); }, 10000))
        << StatusText(*window).toStdString();
    EXPECT_TRUE(Red(Find<QLabel>(*window, "LabelHlaseni")));
    EXPECT_EQ(Find<QLabel>(*window, "LabelRpm")->text(), "RPM = ---");
}

TEST_F(WindowDeviceTest, FramesFillThePanelAndLightOneCell) {
    auto window = StartOnUnit();
    auto* connection = Find<QLabel>(*window, "LabelSpojeni");
    EXPECT_TRUE(QTest::qWaitFor([&] { return connection->isVisible(); }, 2000));
    EXPECT_EQ(Find<QLabel>(*window, "LabelRpm")->text(), "RPM = ---");
    // Half-way up the sweep the engine runs well inside the map.
    unit->Emulator().Engine().SetPhase(EngineModel::kSweepPolls / 4);
    ASSERT_TRUE(QTest::qWaitFor([&] { return connection->isHidden(); }, 5000));
    EXPECT_TRUE(Find<QLabel>(*window, "LabelRpm")->text().startsWith("RPM = "));
    EXPECT_NE(Find<QLabel>(*window, "LabelRpm")->text(), "RPM = ---");
    EXPECT_EQ(Find<QLabel>(*window, "LabelNapeti")->text(), "U = 13.8 [V]");
    EXPECT_TRUE(Find<QLabel>(*window, "LabelMonSnimac1")->text().endsWith("is running"));
    EXPECT_TRUE(Find<QLabel>(*window, "LabelPocetProgramovani")
                    ->text()
                    .startsWith("Number of Programing= "));

    ASSERT_TRUE(QTest::qWaitFor([&] { return LitMapCells(*window).size() == 1; }, 5000));
    const LivePosition live = window->Session().Live(false);
    EXPECT_EQ(LitMapCells(*window), (std::vector<int>{10 * live.tpsRow + live.mapRpmColumn}));
    EXPECT_EQ(live.tpsRow, 9); // throttle rows off: the last row is the one in use
    EXPECT_EQ(Edit(*window, QString("EditRpmAdv%1").arg(live.mapRpmColumn + 1))
                  ->palette()
                  .color(QPalette::Base),
              kLime);

    // The unit goes quiet: the values stay, "No Connection" comes back, and
    // only a language switch then brings the translated placeholders (the
    // labels only the monitor writes keep their last values).
    const QString rpm = Find<QLabel>(*window, "LabelRpm")->text();
    const QString pickup = Find<QLabel>(*window, "LabelMonSnimac1")->text();
    unit->Emulator().Options().silent = true;
    ASSERT_TRUE(QTest::qWaitFor([&] { return connection->isVisible(); }, 5000));
    EXPECT_EQ(Find<QLabel>(*window, "LabelMonSnimac1")->text(), pickup);
    window->findChild<QAction*>("MenuGerman")->trigger();
    EXPECT_EQ(Find<QLabel>(*window, "LabelMonSnimac1")->text(), "Geber(CKPS) 1 = ---");
    EXPECT_EQ(Find<QLabel>(*window, "LabelRpm")->text(), rpm);
}

TEST_F(WindowDeviceTest, ProgrammingAfterChangeProgramsAnEdit) {
    auto window = StartOnUnit();
    auto* box = Find<QCheckBox>(*window, "CheckBoxProgHned");
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    ASSERT_TRUE(box->isChecked());
    EXPECT_TRUE(Red(box));
    // Ticking the box changes no parameter, so nothing is sent yet.
    EXPECT_EQ(window->Session().CurrentOperation(), Operation::Idle);
    Enter(*window, "Edit145", "41");
    EXPECT_EQ(window->Image()[MapCell(9, 5)], 41);
    ASSERT_TRUE(QTest::qWaitFor([&] { return UnitHolds(window->Image()); }, 10000));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return StatusShows(*window, "Program device:: OK"); }, 10000));
}

// New takes down the last operation's line, but not the line of the Program
// that New itself starts with "Programming after change" ticked.
TEST_F(WindowDeviceTest, ProgramStartedByNewShowsFromItsFirstTick) {
    auto window = StartOnUnit();
    auto* box = Find<QCheckBox>(*window, "CheckBoxProgHned");
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    Enter(*window, "Edit145", "41");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return StatusShows(*window, "Program device:: OK"); }, 10000));
    bool firstTickSeen = false;
    QString firstTickText;
    bool firstTickGauge = false;
    QObject::connect(window.get(), &TFormHlav::TickDone, window.get(), [&] {
        if (firstTickSeen)
            return;
        firstTickSeen = true;
        auto* label = Find<QLabel>(*window, "LabelHlaseni");
        firstTickText = label->isVisible() ? label->text() : QString();
        firstTickGauge = Find<QProgressBar>(*window, "CGaugeProgram")->isVisible();
    });
    window->findChild<QAction*>("MenuNew")->trigger();
    QMessageBox* question = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (question = window->findChild<QMessageBox*>("ConfirmDefaultsBox")); }, 2000));
    question->button(QMessageBox::Yes)->click();
    ASSERT_EQ(window->Session().CurrentOperation(), Operation::Program);
    ASSERT_TRUE(QTest::qWaitFor([&] { return firstTickSeen; }, 2000));
    EXPECT_EQ(firstTickText, "Program device:");
    EXPECT_TRUE(firstTickGauge);
}

TEST_F(WindowDeviceTest, PulledPortIsToldAndReopensWhenPluggedBackIn) {
    // The window opens the unit through a link of a stable name, as a
    // /dev/serial/by-id name is for a real adapter.
    QTemporaryDir dir;
    const QString link = dir.filePath("unit");
    unit = std::make_unique<PtyUnit>();
    std::string error;
    ASSERT_TRUE(unit->Start(error)) << error;
    ASSERT_TRUE(QFile::link(QString::fromStdString(unit->DevicePath()), link));
    StartOptions options;
    options.port = link;
    TFormHlav window(options);
    window.show();

    auto* item = window.findChild<QAction*>("MenuComDevice");
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isVisible());
    EXPECT_TRUE(item->isChecked());
    EXPECT_EQ(item->text(), link);
    EXPECT_FALSE(window.findChild<QAction*>("MenuCom1")->isChecked());
    auto* port = Find<QLabel>(window, "LabelPortDevice");
    EXPECT_EQ(port->text(), "Port: " + link);
    auto* connection = Find<QLabel>(window, "LabelSpojeni");
    ASSERT_TRUE(QTest::qWaitFor([&] { return connection->isHidden(); }, 5000));

    unit->Stop(); // the adapter is pulled out
    ASSERT_TRUE(QTest::qWaitFor([&] { return Red(port); }, 5000));
    EXPECT_TRUE(window.statusBar()->currentMessage().startsWith("Port " + link));
    EXPECT_TRUE(QTest::qWaitFor([&] { return connection->isVisible(); }, 5000));

    // Plugged in again: the port opens again by itself.
    ASSERT_TRUE(unit->Start(error)) << error;
    QFile::remove(link);
    ASSERT_TRUE(QFile::link(QString::fromStdString(unit->DevicePath()), link));
    EXPECT_TRUE(QTest::qWaitFor([&] { return connection->isHidden(); }, 5000));
    EXPECT_FALSE(Red(port));
    EXPECT_TRUE(item->isChecked());
    window.close();
}

// Com 1 on a device that never answers, Com 2 on a name that reaches the unit
// only once it is plugged in, the other items on nothing.
TEST_F(WindowDeviceTest, FindUnitNamesWhatItTriedThenTakesTheItemThatAnswers) {
    QTemporaryDir dir;
    EmulatorOptions quiet;
    quiet.silent = true;
    PtyUnit silent(quiet);
    std::string error;
    ASSERT_TRUE(silent.Start(error)) << error;
    const QString unitLink = dir.filePath("unit");
    QByteArray ini = "[PORTS]\nCom1=" + QByteArray::fromStdString(silent.DevicePath()) +
                     "\nCom2=" + unitLink.toUtf8() + "\n";
    for (int n = 3; n <= 20; ++n)
        ini += "Com" + QByteArray::number(n) + "=" + dir.filePath("none").toUtf8() + "\n";
    WriteConfig("orna5.ini", ini);
    TFormHlav window{StartOptions{}};
    window.Port().SetDiscovery([] { return std::vector<AdapterInfo>{}; },
                               dir.filePath("by-id").toStdString());
    window.show();
    // Opening the Com menu describes each item's device as it is now.
    emit window.findChild<QMenu*>("MenuCom")->aboutToShow();
    EXPECT_EQ(window.findChild<QAction*>("MenuCom1")->text(),
              "Com 1  " + QString::fromStdString(silent.DevicePath()));
    EXPECT_EQ(window.findChild<QAction*>("MenuCom3")->text(),
              "Com 3  " + dir.filePath("none") + "  not present");
    auto* find = window.findChild<QAction*>("MenuFindUnit");
    ASSERT_NE(find, nullptr);

    find->trigger();
    EXPECT_TRUE(Find<QLabel>(window, "LabelPortScan")->isVisible());
    QMessageBox* box = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (box = window.findChild<QMessageBox*>("NoUnitFoundBox")) != nullptr; },
        10000));
    EXPECT_TRUE(box->text().startsWith("No unit answered.")) << box->text().toStdString();
    EXPECT_TRUE(box->text().contains(QString::fromStdString(silent.DevicePath())));
    box->close();
    EXPECT_FALSE(find->isChecked());
    EXPECT_EQ(window.Port().Device().toStdString(), silent.DevicePath());

    unit = std::make_unique<PtyUnit>();
    ASSERT_TRUE(unit->Start(error)) << error;
    ASSERT_TRUE(QFile::link(QString::fromStdString(unit->DevicePath()), unitLink));
    // A second click stops the search, and the port stays where it was.
    find->trigger();
    find->trigger();
    EXPECT_EQ(window.statusBar()->currentMessage(), "The search for the unit was stopped.");
    EXPECT_EQ(window.ComPortIndex(), 0);

    find->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.ComPortIndex() == 1; }, 10000));
    EXPECT_EQ(window.statusBar()->currentMessage(), "Unit found on Com 2 (" + unitLink + ").");
    EXPECT_TRUE(window.findChild<QAction*>("MenuCom2")->isChecked());
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return Find<QLabel>(window, "LabelSpojeni")->isHidden(); }, 5000));
    window.close();
}

TEST_F(WindowDeviceTest, AdapterPluggedInWhileNoUnitAnswersIsOfferedAndUsed) {
    EmulatorOptions quiet;
    quiet.silent = true;
    auto window = StartOnUnit(quiet);
    QTemporaryDir dir;
    std::vector<AdapterInfo> plugged;
    window->Port().SetDiscovery([&] { return plugged; }, dir.filePath("by-id").toStdString());
    auto* connection = Find<QLabel>(*window, "LabelSpojeni");
    ASSERT_TRUE(QTest::qWaitFor([&] { return connection->isVisible(); }, 5000));
    QTest::qWait(1200); // the watch has looked once

    PtyUnit adapter;
    std::string error;
    ASSERT_TRUE(adapter.Start(error)) << error;
    plugged.push_back({adapter.DevicePath(), "Test UART", "", ""});
    auto* note = Find<QWidget>(*window, "PortAdapterNote");
    ASSERT_TRUE(QTest::qWaitFor([&] { return note->isVisible(); }, 5000));
    EXPECT_EQ(Find<QLabel>(*window, "LabelPortAdapter")->text(),
              "Plugged in: Test UART on " + QString::fromStdString(adapter.DevicePath()));
    QTest::mouseClick(Find<QPushButton>(*window, "ButtonUseAdapter"), Qt::LeftButton);
    EXPECT_FALSE(note->isVisible());
    EXPECT_EQ(window->Port().Device().toStdString(), adapter.DevicePath());
    EXPECT_TRUE(QTest::qWaitFor([&] { return connection->isHidden(); }, 5000));
}

TEST_F(WindowDeviceTest, ComItemThatCannotOpenSaysWhy) {
    auto window = StartOnUnit();
    QAction* com20 = window->findChild<QAction*>("MenuCom20");
    com20->trigger();
    EXPECT_TRUE(com20->isChecked());
    EXPECT_FALSE(window->findChild<QAction*>("MenuComDevice")->isVisible());
    EXPECT_EQ(window->ComPortIndex(), 19);
    auto* box = window->findChild<QMessageBox*>("ComOpeningErrorBox");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().startsWith("Com opening error!")) << box->text().toStdString();
    EXPECT_TRUE(box->text().contains(window->Port().Device()));
}

} // namespace

} // namespace orna5::test

namespace orna5::test {
namespace {

// The unit holds what the window starts with, lobe number 0 on the unused
// channels included; the spin edits cannot show 0, yet Verify must pass and
// an edit must not turn those bytes into 1.
TEST_F(WindowDeviceTest, VerifyRightAfterStartPassesAndUnusedLobesStay) {
    auto window = StartOnUnit();
    const ParameterImage start = window->Image();
    ASSERT_LT(start[field::outputCount], 4);
    ASSERT_EQ(start[field::maxAdvanceLobe + 3], 0);
    unit->Emulator().StoreImage(start);
    Press(*window, "BitBtnVerify");
    ASSERT_TRUE(QTest::qWaitFor([&] { return StatusShows(*window, "Verify:: OK"); }, 10000))
        << StatusText(*window).toStdString();
    EXPECT_EQ(window->Image(), start);
    ClickUpDown(*window, "UpDownOmez2", true);
    EXPECT_EQ(window->Image()[field::maxAdvanceLobe + 3], 0);
    EXPECT_EQ(window->Image()[field::startAdvanceLobe + 3], 0);
}

// Before the first Program of a unit the window reads what it holds and
// keeps it; unticked in the Tools menu, it programs at once, and the choice
// stays in a section of its own.
TEST_F(WindowDeviceTest, ProgramKeepsWhatTheUnitHeldUnlessUnticked) {
    for (const bool keep : {true, false}) {
        SCOPED_TRACE(keep);
        QDir(HistoryStore::DefaultFolder()).removeRecursively();
        auto window = StartOnUnit();
        ParameterImage before = window->Image();
        before[MapCell(9, 2)] = 7;
        unit->Emulator().StoreImage(before);
        auto* item = window->findChild<QAction*>("MenuKeepRestorePoint");
        ASSERT_TRUE(item->isChecked());
        if (!keep)
            item->trigger();
        Enter(*window, "Edit142", "33");
        Press(*window, "BitBtnProgram");
        EXPECT_EQ(StatusText(*window), "Program device:");
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return StatusShows(*window, "Program device:: OK"); }, 10000))
            << StatusText(*window).toStdString();
        EXPECT_TRUE(UnitHolds(window->Image()));

        const HistoryStore store;
        const std::vector<RestorePoint> points = store.List().points;
        ASSERT_EQ(points.size(), keep ? 2u : 1u);
        EXPECT_EQ(points[0].kind, RestoreKind::Programmed);
        ParameterImage kept;
        ASSERT_TRUE(store.Load(points[0], kept));
        EXPECT_EQ(kept[MapCell(9, 2)], 33);
        if (keep) {
            EXPECT_EQ(points[1].kind, RestoreKind::BeforeProgram);
            EXPECT_EQ(points[1].unitVersion, "ORN12");
            ASSERT_TRUE(store.Load(points[1], kept));
            EXPECT_EQ(kept[MapCell(9, 2)], 7);
        }
        Close(window);
        const QByteArray ini = ReadConfig("orna5.ini");
        EXPECT_TRUE(ini.contains(keep ? "[HISTORY]\nKeepRestorePointBeforeProgram=1"
                                      : "[HISTORY]\nKeepRestorePointBeforeProgram=0"))
            << ini.toStdString();
    }
}

// A history that cannot be written does not stop a Program, and says so
// once, not at every Program after it.
TEST_F(WindowDeviceTest, UnwritableHistoryStopsTheProgramBeforeItWrites) {
    QFile blocker(HistoryStore::DefaultFolder());
    QDir().mkpath(QFileInfo(blocker).absolutePath());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    auto window = StartOnUnit();
    const auto held = unit->Emulator().StoredBytes();
    Enter(*window, "Edit142", "31");
    Press(*window, "BitBtnProgram");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return StatusShows(*window, "Restore point not kept: nothing was written to the unit!");
        },
        10000))
        << StatusText(*window).toStdString();
    EXPECT_TRUE(
        window->statusBar()->currentMessage().startsWith("The restore point could not be kept: "))
        << window->statusBar()->currentMessage().toStdString();
    EXPECT_EQ(unit->Emulator().StoredBytes(), held);
    Close(window);
    QFile::remove(HistoryStore::DefaultFolder());
}

// A Verify against a unit that holds another map cell ends in "Verify
// error!"; the status line then offers what the unit holds against the
// window, in the compare list with the map cell outlined.
TEST_F(WindowDeviceTest, FailedVerifyOffersWhatDiffers) {
    auto window = StartOnUnit();
    Enter(*window, "Edit144", "30");
    ParameterImage inUnit = window->Image();
    inUnit[MapCell(9, 4)] = 34;
    unit->Emulator().StoreImage(inUnit);
    Press(*window, "BitBtnVerify");
    ASSERT_TRUE(QTest::qWaitFor([&] { return StatusShows(*window, "Verify error!"); }, 10000))
        << StatusText(*window).toStdString();
    auto* differs = Find<QPushButton>(*window, "ButtonWhatDiffers");
    ASSERT_TRUE(differs->isVisible());
    Press(*window, "ButtonWhatDiffers");
    auto* compare = window->findChild<CompareWindow*>("CompareWindow");
    ASSERT_NE(compare, nullptr);
    EXPECT_EQ(compare->windowTitle(), "Verify: what differs in the unit");
    QTreeWidget* list = compare->List();
    EXPECT_EQ(list->headerItem()->text(2), "Unit");
    ASSERT_EQ(list->topLevelItemCount(), 1);
    ASSERT_EQ(list->topLevelItem(0)->childCount(), 1);
    const QTreeWidgetItem* row = list->topLevelItem(0)->child(0);
    EXPECT_EQ(row->text(0), "Advance at TPS 100%, rpm point 5");
    EXPECT_EQ(row->text(1), QString::fromUtf8("30°"));
    EXPECT_EQ(row->text(2), QString::fromUtf8("34°"));
    EXPECT_EQ(compare->OutlinedControls(), std::vector<QWidget*>{Edit(*window, "Edit144")});
}

} // namespace
} // namespace orna5::test
