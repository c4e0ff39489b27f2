// The window at work with the unit: its buttons against the emulated unit on
// a real pseudo-terminal, the live panel and the live marks, the Com menu.

#include "WindowFixture.h"

#include "app/DataLogRecorder.h"
#include "app/Document.h"
#include "app/HistoryKeeper.h"
#include "app/PortControl.h"
#include "app/views/CompareWindow.h"
#include "app/views/HistoryWindow.h"

#include "device/DeviceSession.h"
#include "disk/HistoryStore.h"
#include "files/MonitorLog.h"
#include "lang/Messages.h"
#include "lang/ViewTexts.h"
#include "params/TuneChecksum.h"
#include "sim/PtyUnit.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLockFile>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>
#include <array>
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

// Asked to end (a signal, the session's end) during a Program, the window
// finishes it first: the unit holds the whole image, and the settings and
// the snapshot are written as File > Exit writes them.
TEST_F(WindowDeviceTest, AskedToEndDuringAProgramFinishesItFirst) {
    auto window = StartOnUnit();
    Enter(*window, "Edit149", "41");
    QFile::remove(ConfigFile("_orna5.ini"));
    Press(*window, "BitBtnProgram");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return StatusText(*window).startsWith("Program device:"); }, 5000));
    window->EndWhenIdle();
    EXPECT_TRUE(window->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 10000));
    EXPECT_TRUE(UnitHolds(window->Image()));
    EXPECT_TRUE(QFile::exists(ConfigFile("_orna5.ini")));
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
    // Only what appears after the watch has looked is offered.
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Port().Watch().Looked(); }, 5000));

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

// A Program that passes while a log plays back still changes what the unit
// runs on: a log being recorded meanwhile names the new map, so the rows
// taken once the playback ends are counted against it.
TEST_F(WindowDeviceTest, ProgramDuringPlaybackNamesTheNewMapInTheLogBeingRecorded) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("ride.csv").toStdString();
    auto window = StartOnUnit();
    ASSERT_TRUE(window->DataLog().Start(QString::fromStdString(path)));
    window->Doc().StartPlayback();
    Enter(*window, "Edit149", "40");
    Press(*window, "BitBtnProgram");
    ASSERT_TRUE(QTest::qWaitFor([&] { return StatusShows(*window, "Program device:: OK"); }, 10000))
        << StatusText(*window).toStdString();
    window->Doc().StopPlayback();
    int frames = 0;
    QObject::connect(&window->Doc(), &Document::FrameAccepted, [&frames] { ++frames; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return frames >= 3; }, 10000));
    window->DataLog().Stop();

    MonitorLog log;
    BoundedRead read;
    ASSERT_TRUE(ReadMonitorLogFile(path, log, read));
    ASSERT_FALSE(log.maps.empty());
    EXPECT_EQ(log.maps.back().map.tune, TuneChecksum(window->Image()));
    EXPECT_LT(log.maps.back().firstRow, log.Rows());
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

        // The Program's own point goes to the disk off the tick.
        window->History().Flush();
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

// The restore points kept off the tick, the question when none could be kept,
// and a restore point programmed back into the unit.

namespace orna5::test {
namespace {

class WindowRestoreTest : public WindowDeviceTest {
protected:
    template <class T> static T* WaitForChild(QObject& parent, const QString& name) {
        T* found = nullptr;
        EXPECT_TRUE(QTest::qWaitFor([&] { return (found = parent.findChild<T*>(name)); }, 10000))
            << name.toStdString();
        return found;
    }
    // Lets the window run this many ticks.
    static void Ticks(TFormHlav& window, int count) {
        int seen = 0;
        const QMetaObject::Connection counting =
            QObject::connect(&window, &TFormHlav::TickDone, [&] { ++seen; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return seen >= count; }, 10000));
        QObject::disconnect(counting);
    }
    // A Read that passed and whose restore point is on disk.
    static void ReadUnit(TFormHlav& window) {
        QTest::keyClick(&window, Qt::Key_F7);
        ASSERT_TRUE(QTest::qWaitFor([&] { return StatusShows(window, "Verify:: OK"); }, 10000))
            << StatusText(window).toStdString();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.Session().UnitKnown(); }, 10000));
    }
    static std::vector<RestorePoint> PointsOf(RestoreKind kind) {
        std::vector<RestorePoint> found;
        for (const RestorePoint& point : HistoryStore().List().points)
            if (point.kind == kind)
                found.push_back(point);
        return found;
    }
    static ParameterImage Bytes(const RestorePoint& point) {
        ParameterImage image{};
        EXPECT_TRUE(HistoryStore().Load(point, image));
        return image;
    }
    static bool SameUnitBytes(const ParameterImage& a, const ParameterImage& b) {
        return std::equal(a.begin(), a.begin() + kTransferSize, b.begin());
    }
    // View > History, the point of `id` chosen, Restore to unit, and the
    // question answered with its restore button.
    static void Restore(TFormHlav& window, std::uint64_t id) {
        window.findChild<QAction*>("MenuHistory")->trigger();
        auto* history = window.findChild<HistoryWindow*>("HistoryWindow");
        ASSERT_NE(history, nullptr);
        const std::vector<RestorePoint>& points = history->Points();
        const auto at = std::find_if(points.begin(), points.end(),
                                     [id](const RestorePoint& p) { return p.id == id; });
        ASSERT_NE(at, points.end());
        history->Select(static_cast<int>(at - points.begin()));
        QTest::mouseClick(history->findChild<QPushButton*>("HistoryRestoreButton"), Qt::LeftButton);
        auto* box = WaitForChild<QMessageBox>(*history, "ConfirmRestoreBox");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(),
                  "Restore point " + HistoryWindow::PointLabel(*at, 0) +
                      " will be programmed into the unit. What the unit holds now is kept as a "
                      "restore point first.");
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Cancel));
        EXPECT_EQ(box->escapeButton(), box->button(QMessageBox::Cancel));
        box->findChild<QPushButton*>("ConfirmRestoreButton")->click();
    }
};

// No write without a kept copy: the question names the store's reason and
// only "Program anyway" writes the unit; Cancel, Esc and the default leave
// it as it was.
TEST_F(WindowRestoreTest, UnkeptRestorePointAsksBeforeProgrammingAnyway) {
    enum class Answer { Cancel, Escape, Enter, Anyway };
    for (const Answer answer : {Answer::Cancel, Answer::Escape, Answer::Enter, Answer::Anyway}) {
        SCOPED_TRACE(static_cast<int>(answer));
        QFile blocker(HistoryStore::DefaultFolder());
        QDir().mkpath(QFileInfo(blocker).absolutePath());
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
        blocker.close();
        auto window = StartOnUnit();
        const auto held = unit->Emulator().StoredBytes();
        Enter(*window, "Edit142", "31");
        Press(*window, "BitBtnProgram");
        auto* box = WaitForChild<QMessageBox>(*window, "ProgramAnywayBox");
        ASSERT_NE(box, nullptr);
        const QString reason = window->History().BackupFailure();
        EXPECT_FALSE(reason.isEmpty());
        EXPECT_EQ(box->text(),
                  "The restore point of what the unit holds could not be kept: " + reason +
                      "\n\nNothing has been written to the unit. Program it "
                      "anyway, without a restore point?");
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Cancel));
        EXPECT_EQ(unit->Emulator().StoredBytes(), held);
        EXPECT_TRUE(
            StatusShows(*window, "Restore point not kept: nothing was written to the unit!"))
            << StatusText(*window).toStdString();
        EXPECT_TRUE(window->statusBar()->currentMessage().startsWith(
            "The restore point could not be kept: "))
            << window->statusBar()->currentMessage().toStdString();
        switch (answer) {
        case Answer::Cancel:
            box->button(QMessageBox::Cancel)->click();
            break;
        case Answer::Escape:
            QTest::keyClick(box, Qt::Key_Escape);
            break;
        case Answer::Enter:
            QTest::keyClick(box, Qt::Key_Return);
            break;
        case Answer::Anyway:
            box->findChild<QPushButton*>("ProgramAnywayButton")->click();
            break;
        }
        if (answer == Answer::Anyway) {
            ASSERT_TRUE(
                QTest::qWaitFor([&] { return StatusShows(*window, "Program device:: OK"); }, 10000))
                << StatusText(*window).toStdString();
            EXPECT_TRUE(UnitHolds(window->Image()));
        } else {
            Ticks(*window, 20); // a Program would have sent its first page by now
            EXPECT_EQ(window->Session().CurrentOperation(), Operation::Idle);
            EXPECT_EQ(unit->Emulator().StoredBytes(), held);
        }
        Close(window);
        QFile::remove(HistoryStore::DefaultFolder());
    }
}

// Another program holds the store's lock: the Program waits for its point
// without writing, the window goes on ticking and polling meanwhile with the
// wait said in every language, and the Program goes on once the lock is
// free.
TEST_F(WindowRestoreTest, ProgramWaitsForALockedHistoryWhileTheWindowGoesOn) {
    QDir().mkpath(HistoryStore::DefaultFolder());
    QLockFile holder(HistoryStore::DefaultFolder() + "/index.lock");
    ASSERT_TRUE(holder.tryLock(0));
    auto window = StartOnUnit();
    const auto held = unit->Emulator().StoredBytes();
    Enter(*window, "Edit142", "33");
    Press(*window, "BitBtnProgram");
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Session().WaitingForBackup(); }, 10000))
        << StatusText(*window).toStdString();
    const char* const languages[] = {"MenuGerman", "MenuFrench", "MenuCzech", "MenuEnglish"};
    const int indexes[] = {1, 2, 3, 0};
    for (int i = 0; i < 4; ++i) {
        window->findChild<QAction*>(languages[i])->trigger();
        Ticks(*window, 10);
        EXPECT_TRUE(StatusShows(
            *window, QString::fromStdString(TextIn(Msg::KeepingRestorePoint, indexes[i]))))
            << StatusText(*window).toStdString();
    }
    // Over two seconds of ticks: the unit still counts as answering.
    EXPECT_TRUE(window->Session().WaitingForBackup());
    EXPECT_TRUE(Find<QLabel>(*window, "LabelSpojeni")->isHidden());
    EXPECT_EQ(unit->Emulator().StoredBytes(), held);
    holder.unlock();
    ASSERT_TRUE(QTest::qWaitFor([&] { return StatusShows(*window, "Program device:: OK"); }, 15000))
        << StatusText(*window).toStdString();
    EXPECT_TRUE(UnitHolds(window->Image()));
    window->History().Flush();
    const std::vector<RestorePoint> before = PointsOf(RestoreKind::BeforeProgram);
    ASSERT_EQ(before.size(), 1u);
    EXPECT_TRUE(std::equal(held.begin(), held.end(), Bytes(before[0]).begin()));
}

// The unit's reserved bytes and a field byte no control can show come back
// exactly, and programming after change starts no Program of its own: the
// restore's reads the unit first and keeps it.
TEST_F(WindowRestoreTest, RestoreToUnitBringsBackTheReservedBytes) {
    for (const bool afterChange : {false, true}) {
        SCOPED_TRACE(afterChange);
        QDir(HistoryStore::DefaultFolder()).removeRecursively();
        auto window = StartOnUnit();
        ParameterImage inUnit = window->Image();
        inUnit[60] = 1;
        inUnit[field::excitationLong] = 2;
        unit->Emulator().StoreImage(inUnit);
        ReadUnit(*window);
        window->History().Flush();
        const std::vector<RestorePoint> read = PointsOf(RestoreKind::Read);
        ASSERT_EQ(read.size(), 1u);

        ParameterImage changed = inUnit;
        changed[60] = 0;
        changed[field::excitationLong] = 1;
        changed[MapCell(9, 1)] = 20;
        unit->Emulator().StoreImage(changed);
        if (afterChange) {
            auto* box = Find<QCheckBox>(*window, "CheckBoxProgHned");
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
            ASSERT_TRUE(box->isChecked());
        }
        Find<QLabel>(*window, "LabelFile2")->setText("/tmp/tune.ign");
        Restore(*window, read[0].id);
        EXPECT_TRUE(Find<QLabel>(*window, "LabelFile2")->text().isEmpty());
        EXPECT_TRUE(window->Undo().CanUndo());
        auto* done = WaitForChild<QMessageBox>(*window, "RestoredBox");
        ASSERT_NE(done, nullptr);
        EXPECT_EQ(done->text(), "Restore point " + HistoryWindow::PointLabel(read[0], 0) +
                                    " is in the unit again.");
        EXPECT_EQ(window->findChild<QMessageBox*>("NotRestoredBox"), nullptr);
        const auto& memory = unit->Emulator().StoredBytes();
        EXPECT_EQ(memory[60], 1);
        EXPECT_EQ(memory[field::excitationLong], 2);
        EXPECT_TRUE(std::equal(memory.begin(), memory.end(), inUnit.begin()));
        EXPECT_TRUE(window->Doc().WindowHoldsUnitBytes());

        window->History().Flush();
        const std::vector<RestorePoint> before = PointsOf(RestoreKind::BeforeProgram);
        ASSERT_EQ(before.size(), 1u);
        EXPECT_TRUE(SameUnitBytes(Bytes(before[0]), changed));
        Close(window);
    }
}

// A restore that fails names its step and never says it succeeded.
TEST_F(WindowRestoreTest, FailedRestoreSaysWhichStepFailed) {
    struct Case {
        const char* what;
        EmulatorOptions faults;
        bool storeUnwritable;
        const char* step;
    };
    EmulatorOptions silent;
    silent.silent = true;
    EmulatorOptions badByte;
    badByte.badStoreOffset = MapCell(9, 4);
    EmulatorOptions otherVersion;
    otherVersion.protocolVersion = 53;
    const Case cases[] = {
        {"silent", silent, false, "the unit did not answer"},
        {"bad byte", badByte, false, "the verify found differences"},
        {"other version", otherVersion, false, "another unit version"},
        {"store unwritable", {}, true, "the restore point of the unit could not be kept"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(HistoryStore::DefaultFolder()).removeRecursively();
        ParameterImage point = DefaultImage();
        point[60] = 3;
        point[MapCell(9, 4)] = 40;
        RestoreDetails details;
        details.unitVersion = "ORN12";
        details.unitInfo = UnitInfoBytes{};
        const HistoryStore::AddResult added =
            HistoryStore().Add(point, RestoreKind::Read, details, 1'700'000'000'000);
        ASSERT_TRUE(added.ok) << added.reason.toStdString();
        if (c.storeUnwritable) {
            // The point stays listed from its own file, but no index can be
            // read to add another one to.
            const QString index = HistoryStore::DefaultFolder() + "/index";
            ASSERT_TRUE(QFile::remove(index));
            ASSERT_TRUE(QDir().mkpath(index));
        }
        auto window = StartOnUnit(c.faults);
        const std::vector<RestorePoint> points = HistoryStore().List().points;
        ASSERT_EQ(points.size(), 1u);
        Restore(*window, points[0].id);
        if (c.storeUnwritable) {
            auto* question = WaitForChild<QMessageBox>(*window, "ProgramAnywayBox");
            ASSERT_NE(question, nullptr);
            question->button(QMessageBox::Cancel)->click();
        }
        auto* failed = WaitForChild<QMessageBox>(*window, "NotRestoredBox");
        ASSERT_NE(failed, nullptr);
        const QString text = "Restore point " + HistoryWindow::PointLabel(points[0], 0) +
                             " was not restored: " + c.step + ".";
        EXPECT_EQ(failed->text(), text);
        EXPECT_EQ(window->statusBar()->currentMessage(), text);
        EXPECT_EQ(window->findChild<QMessageBox*>("RestoredBox"), nullptr);
        // What was to go into the unit stays in the window as it was sent.
        EXPECT_EQ(window->Image()[60], 3);
        Close(window);
    }
}

// A Verify checks the reserved bytes, so what differs lists them even when
// the window's are not a unit's; a page the unit never sent is said, not
// compared.
TEST_F(WindowRestoreTest, FailedVerifyListsReservedBytesOfThePagesTheUnitSent) {
    auto window = StartOnUnit();
    ASSERT_FALSE(window->Doc().WindowHoldsUnitBytes());
    ParameterImage inUnit = window->Image();
    inUnit[60] = 1;
    inUnit[MapCell(9, 4)] = static_cast<std::uint8_t>(inUnit[MapCell(9, 4)] + 2);
    unit->Emulator().StoreImage(inUnit);
    // The unit falls silent once its first page has come: page 2 never does.
    QObject::connect(window.get(), &TFormHlav::TickDone, [&] {
        if (window->Session().CurrentOperation() == Operation::Verify &&
            window->Session().VerifyPagesSeen()[0])
            unit->Emulator().Options().silent = true;
    });
    Press(*window, "BitBtnVerify");
    ASSERT_TRUE(QTest::qWaitFor([&] { return StatusShows(*window, "Verify error!"); }, 15000))
        << StatusText(*window).toStdString();
    ASSERT_EQ(window->Session().VerifyPagesSeen(), (std::array<bool, 2>{true, false}));
    Press(*window, "ButtonWhatDiffers");
    auto* compare = window->findChild<CompareWindow*>("CompareWindow");
    ASSERT_NE(compare, nullptr);
    QStringList names;
    for (int i = 0; i < compare->List()->topLevelItemCount(); ++i)
        for (int j = 0; j < compare->List()->topLevelItem(i)->childCount(); ++j)
            names << compare->List()->topLevelItem(i)->child(j)->text(0);
    EXPECT_EQ(names, QStringList{"Reserved byte 60"});
    EXPECT_TRUE(compare->findChild<QLabel*>("CompareSummary")
                    ->text()
                    .contains("The unit did not send its page 2 (bytes 100..199): it is not "
                              "compared."))
        << compare->findChild<QLabel*>("CompareSummary")->text().toStdString();
}

// A pause in the polling (a log played) is a break in the unit's answers:
// the unit read before may have been swapped, so the Program keeps what the
// unit plugged in now holds before writing it.
TEST_F(WindowRestoreTest, SwappedUnitDuringAPausedPollGetsItsBackup) {
    auto window = StartOnUnit();
    ReadUnit(*window);
    window->Doc().StartPlayback();
    Ticks(*window, 3);
    window->Doc().StopPlayback();
    ParameterImage swapped = window->Image();
    swapped[MapCell(9, 2)] = 9;
    swapped[61] = 5;
    unit->Emulator().StoreImage(swapped);
    Enter(*window, "Edit142", "35");
    Press(*window, "BitBtnProgram");
    ASSERT_TRUE(QTest::qWaitFor([&] { return StatusShows(*window, "Program device:: OK"); }, 10000))
        << StatusText(*window).toStdString();
    window->History().Flush();
    const std::vector<RestorePoint> before = PointsOf(RestoreKind::BeforeProgram);
    ASSERT_EQ(before.size(), 1u);
    EXPECT_TRUE(SameUnitBytes(Bytes(before[0]), swapped));
}

} // namespace
} // namespace orna5::test
