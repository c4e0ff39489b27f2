// The views beyond the form: advance curves, the data log and the
// comparison with a file, driven through the window.

#include "WindowFixture.h"

#include "app/DataLogRecorder.h"
#include "app/HistoryKeeper.h"
#include "app/ViewManager.h"
#include "app/views/AdvanceCurvesWindow.h"
#include "app/views/CompareWindow.h"
#include "app/views/HistoryWindow.h"
#include "app/views/LogChartWindow.h"
#include "app/views/TimeInCellView.h"
#include "device/DeviceFrame.h"
#include "device/LogClock.h"
#include "device/MarkLivePosition.h"
#include "disk/HistoryStore.h"
#include "files/ParameterFile.h"
#include "params/MonitorFrame.h"
#include "params/TuneChecksum.h"
#include "sim/PtyUnit.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLockFile>
#include <QMessageBox>
#include <QPushButton>
#include <QScatterSeries>
#include <QSlider>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <fstream>

namespace orna5::test {

namespace {

class WindowViewsTest : public WindowTest {
protected:
    QTemporaryDir dir;

    QString WriteIgn(const ParameterImage& image) {
        const QString path = dir.filePath("other.ign");
        std::ofstream out(path.toStdString(), std::ios::binary);
        WriteParameterFile(out, image);
        return path;
    }
    static MonitorLog ReadLog(const QString& path) {
        std::ifstream in(path.toStdString(), std::ios::binary);
        MonitorLog log;
        ReadMonitorLog(in, log);
        return log;
    }
    static QStringList Names(QTreeWidget* list) {
        QStringList names;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            for (int j = 0; j < list->topLevelItem(i)->childCount(); ++j)
                names << list->topLevelItem(i)->child(j)->text(0);
        return names;
    }
};

TEST_F(WindowViewsTest, CurvesFollowAnEditAndItsUndo) {
    auto window = Start();
    AdvanceCurvesWindow* curves = window->Views().ShowAdvanceCurves();
    ASSERT_NE(curves, nullptr);
    const double before = curves->RowSeries(9)->at(3).y();
    EXPECT_EQ(before, window->Image()[MapCell(9, 3)]);
    // Without the throttle rows only the row the unit uses is drawn.
    EXPECT_TRUE(curves->RowSeries(9)->isVisible());
    EXPECT_FALSE(curves->RowSeries(0)->isVisible());

    Enter(*window, "Edit143", "41");
    EXPECT_EQ(curves->RowSeries(9)->at(3).y(), 41);
    EXPECT_EQ(curves->RowSeries(9)->at(3).x(), window->Image()[field::mapRpm + 3] * 100);
    Enter(*window, "EditRpmAdv4", "4500");
    EXPECT_EQ(curves->RowSeries(9)->at(3).x(), 4500);
    window->findChild<QAction*>("MenuZpet")->trigger();
    window->findChild<QAction*>("MenuZpet")->trigger();
    EXPECT_EQ(curves->RowSeries(9)->at(3).y(), before);
}

TEST_F(WindowViewsTest, CurvesShowTheRunningEngine) {
    auto window = Start(); // on the emulated unit, whose engine sweeps
    AdvanceCurvesWindow* curves = window->Views().ShowAdvanceCurves();
    ASSERT_TRUE(QTest::qWaitFor([&] { return curves->LiveAdvancePoint()->count() == 1; }, 15000));
    const QPointF point = curves->LiveAdvancePoint()->at(0);
    const ParameterImage& image = window->Image();
    EXPECT_GE(point.x(), image[field::mapRpm] * 100);
    EXPECT_LE(point.x(), image[field::mapRpm + 9] * 100);
    EXPECT_EQ(curves->LiveServoPoint()->count(), 1);
}

TEST_F(WindowViewsTest, CurvesWindowKeepsItsPlace) {
    auto window = Start();
    window->Views().ShowAdvanceCurves()->setGeometry(120, 90, 700, 480);
    Close(window);
    const QByteArray ini = ReadConfig("orna5.ini");
    EXPECT_TRUE(ini.contains("[ADVANCE_CURVES]")) << ini.toStdString();
    EXPECT_TRUE(ini.contains("Width=700")) << ini.toStdString();
    window = Start();
    EXPECT_EQ(window->Views().ShowAdvanceCurves()->size(), QSize(700, 480));
}

TEST_F(WindowViewsTest, CompareNamesAChangedCellAndOutlinesItUntilClosed) {
    auto window = Start();
    // The first copy from the controls settles bytes the controls cannot
    // show as stored (lobe 0 of unused channels); start from there.
    Enter(*window, "Edit143", Edit(*window, "Edit143")->text());
    const ParameterImage mine = window->Image();
    ParameterImage other = mine;
    other[MapCell(9, 3)] = static_cast<std::uint8_t>(mine[MapCell(9, 3)] + 2);
    CompareWindow* compare = window->Views().CompareWithFile(WriteIgn(other));
    ASSERT_NE(compare, nullptr);
    EXPECT_EQ(Names(compare->List()), QStringList{"Advance at TPS 100%, rpm point 4"});
    EXPECT_EQ(compare->OutlinedControls(), std::vector<QWidget*>{Edit(*window, "Edit143")});
    EXPECT_EQ(window->Image(), mine); // only read

    // The list follows the form: made equal, the cell drops out.
    Enter(*window, "Edit143", QString::number(other[MapCell(9, 3)]));
    EXPECT_TRUE(Names(compare->List()).isEmpty());
    EXPECT_TRUE(compare->OutlinedControls().empty());
    Enter(*window, "Edit143", QString::number(mine[MapCell(9, 3)]));
    EXPECT_EQ(compare->OutlinedControls().size(), 1u);

    // In the window's language, degrees as the form writes them.
    window->findChild<QAction*>("MenuGerman")->trigger();
    EXPECT_EQ(Names(compare->List()),
              QStringList{"Vorzündung bei Drosselklappe 100%, Drehzahlpunkt 4"});
    EXPECT_EQ(compare->List()->topLevelItem(0)->text(0), "Vorzündung");
    EXPECT_EQ(compare->List()->topLevelItem(0)->child(0)->text(2),
              QString("%1°").arg(other[MapCell(9, 3)]));

    compare->close();
    QApplication::processEvents();
    EXPECT_EQ(window->findChildren<QWidget*>("CompareOutline").size(), 0);
}

// Values chosen in the list come from the file into the form as one change:
// only the chosen ones, and one undo in the compare window takes them all
// back. The columns say which side is which.
TEST_F(WindowViewsTest, CompareTakesTheChosenValuesAsOneUndoStep) {
    auto window = Start();
    Enter(*window, "Edit143", Edit(*window, "Edit143")->text());
    const ParameterImage mine = window->Image();
    ParameterImage other = mine;
    other[field::limiterRpm] = static_cast<std::uint8_t>(mine[field::limiterRpm] + 5);
    other[field::baseAdvance] = static_cast<std::uint8_t>(mine[field::baseAdvance] + 3);
    other[MapCell(9, 3)] = static_cast<std::uint8_t>(mine[MapCell(9, 3)] + 2);
    CompareWindow* compare = window->Views().CompareWithFile(WriteIgn(other));
    ASSERT_NE(compare, nullptr);
    QTreeWidget* list = compare->List();
    EXPECT_EQ(list->headerItem()->text(1), "Window");
    EXPECT_EQ(list->headerItem()->text(2), "File");
    const QStringList all{"Limiter", "Base advance", "Advance at TPS 100%, rpm point 4"};
    ASSERT_EQ(Names(list), all);
    QPushButton* take = compare->TakeButton();
    EXPECT_FALSE(take->isEnabled());

    compare->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(compare));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(list->selectedItems().size(), 3);
    // Space leaves out the row with the focus: the base advance.
    QTreeWidgetItem* base =
        list->findItems("Base advance", Qt::MatchExactly | Qt::MatchRecursive)[0];
    list->setCurrentItem(base, 0, QItemSelectionModel::NoUpdate);
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_FALSE(base->isSelected());
    EXPECT_EQ(list->selectedItems().size(), 2);
    ASSERT_TRUE(take->isEnabled());

    QTest::mouseClick(take, Qt::LeftButton);
    ParameterImage taken = mine;
    taken[field::limiterRpm] = other[field::limiterRpm];
    taken[MapCell(9, 3)] = other[MapCell(9, 3)];
    EXPECT_EQ(window->Image(), taken);
    EXPECT_EQ(Edit(*window, "Edit143")->text(), QString::number(other[MapCell(9, 3)]));
    EXPECT_EQ(Names(list), QStringList{"Base advance"});
    EXPECT_FALSE(take->isEnabled());

    QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->Image(), mine);
    EXPECT_EQ(Names(list), all);
}

// A restore point opened from View > History is one step of the form, as a
// file opened; the damaged entry beside it is said once and left out.
TEST_F(WindowViewsTest, HistoryOpensAPointAsOneUndoStep) {
    auto window = Start();
    Enter(*window, "Edit143", Edit(*window, "Edit143")->text());
    const ParameterImage mine = window->Image();
    ParameterImage kept = mine;
    kept[MapCell(9, 3)] = static_cast<std::uint8_t>(mine[MapCell(9, 3)] + 3);
    HistoryStore store;
    ASSERT_TRUE(store.Add(kept, RestoreKind::Read, {"ORN12", " 7. 5.2009", ""}, 1000).ok);
    QFile index(store.Folder() + "/index");
    ASSERT_TRUE(index.open(QIODevice::Append));
    index.write("not an entry\n");
    index.close();

    window->findChild<QAction*>("MenuHistory")->trigger();
    auto* history = window->findChild<HistoryWindow*>("HistoryWindow");
    ASSERT_NE(history, nullptr);
    ASSERT_EQ(history->List()->topLevelItemCount(), 1);
    EXPECT_EQ(history->List()->topLevelItem(0)->text(1), "read");
    EXPECT_EQ(history->List()->topLevelItem(0)->text(2),
              QString::fromStdString(TuneChecksum(kept)));
    EXPECT_EQ(history->List()->topLevelItem(0)->text(3), "ORN12 (7. 5.2009)");
    EXPECT_TRUE(history->findChild<QLabel*>("HistorySummary")
                    ->text()
                    .contains("Damaged restore points left out: 1."));

    history->findChild<QPushButton*>("HistoryOpenButton")->click();
    EXPECT_EQ(window->Image(), kept);
    EXPECT_EQ(Edit(*window, "Edit143")->text(), QString::number(kept[MapCell(9, 3)]));
    window->findChild<QAction*>("MenuZpet")->trigger();
    EXPECT_EQ(window->Image(), mine);
}

// A restore point and the window differ in a reserved byte only when both
// hold a unit's: the window's from a start, New or a point of a file opened
// are not, and listing them would be noise.
TEST_F(WindowViewsTest, ComparingWithAPointListsReservedBytesOnlyOfAUnitsWindow) {
    enum class Before { Start, UnitPointOpened, ThenNew, FilePointOpened };
    struct Case {
        Before before;
        bool reservedListed;
    };
    const Case cases[] = {{Before::Start, false},
                          {Before::UnitPointOpened, true},
                          {Before::ThenNew, false},
                          {Before::FilePointOpened, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.before));
        QDir(HistoryStore::DefaultFolder()).removeRecursively();
        auto window = Start();
        const ParameterImage mine = window->Image();
        RestoreDetails unitDetails{"ORN12", " 7. 5.2009", "", UnitInfoBytes{}};
        ParameterImage compared = mine;
        compared[60] = 4;
        compared[MapCell(9, 3)] = static_cast<std::uint8_t>(mine[MapCell(9, 3)] + 3);
        ParameterImage unitPoint = mine;
        unitPoint[60] = 7;
        ParameterImage filePoint = mine;
        filePoint[60] = 9;
        HistoryStore store;
        ASSERT_TRUE(store.Add(compared, RestoreKind::Read, unitDetails, 1000).ok);
        ASSERT_TRUE(store.Add(unitPoint, RestoreKind::Verified, unitDetails, 2000).ok);
        ASSERT_TRUE(store.Add(filePoint, RestoreKind::Opened, {"", "", "/tmp/a.ign"}, 3000).ok);

        window->findChild<QAction*>("MenuHistory")->trigger();
        auto* history = window->findChild<HistoryWindow*>("HistoryWindow");
        ASSERT_NE(history, nullptr);
        ASSERT_EQ(history->Points().size(), 3u); // newest first
        if (c.before == Before::UnitPointOpened || c.before == Before::ThenNew) {
            history->Select(1);
            history->findChild<QPushButton*>("HistoryOpenButton")->click();
            ASSERT_EQ(window->Image()[60], 7);
        }
        if (c.before == Before::FilePointOpened) {
            history->Select(0);
            history->findChild<QPushButton*>("HistoryOpenButton")->click();
            ASSERT_EQ(window->Image()[60], 9);
        }
        if (c.before == Before::ThenNew) {
            window->findChild<QAction*>("MenuNew")->trigger();
            auto* box = window->findChild<QMessageBox*>("ConfirmDefaultsBox");
            ASSERT_NE(box, nullptr);
            box->button(QMessageBox::Yes)->click();
        }
        history->Select(2);
        history->findChild<QPushButton*>("HistoryCompareButton")->click();
        auto* compare = window->findChild<CompareWindow*>("CompareWindow");
        ASSERT_NE(compare, nullptr);
        const QStringList names = Names(compare->List());
        EXPECT_TRUE(names.contains("Advance at TPS 100%, rpm point 4"))
            << names.join(", ").toStdString();
        EXPECT_EQ(names.contains("Reserved byte 60"), c.reservedListed)
            << names.join(", ").toStdString();
        window->close();
    }
}

// A delete waits for the store's lock off the window: while another program
// holds it the list stays as it was and nothing is said; once free, the
// point goes and the row below it is chosen.
TEST_F(WindowViewsTest, HistoryDeleteWaitsForTheLockWithoutHoldingTheWindow) {
    auto window = Start();
    HistoryStore store;
    for (std::int64_t time : {1000, 2000, 3000}) {
        ParameterImage image = window->Image();
        image[MapCell(9, 0)] = static_cast<std::uint8_t>(time / 1000 + 10);
        ASSERT_TRUE(store.Add(image, RestoreKind::Read, {}, time).ok);
    }
    window->findChild<QAction*>("MenuHistory")->trigger();
    auto* history = window->findChild<HistoryWindow*>("HistoryWindow");
    ASSERT_NE(history, nullptr);
    const std::uint64_t middle = history->Points()[1].id;
    history->Select(1);
    QLockFile holder(store.Folder() + "/index.lock");
    ASSERT_TRUE(holder.tryLock(0));
    history->findChild<QPushButton*>("HistoryDeleteButton")->click();
    auto* box = history->findChild<QMessageBox*>("ConfirmDeletePointBox");
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::Yes)->click();
    // The click has returned with the delete still waiting for the lock.
    EXPECT_EQ(window->History().Writer().Pending(), 1);
    EXPECT_EQ(history->Points().size(), 3u);
    EXPECT_EQ(window->findChild<QMessageBox*>("PointNotDeletedBox"), nullptr);
    holder.unlock();
    ASSERT_TRUE(QTest::qWaitFor([&] { return history->Points().size() == 2u; }, 15000));
    EXPECT_TRUE(std::none_of(history->Points().begin(), history->Points().end(),
                             [middle](const RestorePoint& p) { return p.id == middle; }));
    EXPECT_EQ(history->List()->currentItem(), history->List()->topLevelItem(1));
    EXPECT_EQ(window->findChild<QMessageBox*>("PointNotDeletedBox"), nullptr);
}

TEST_F(WindowViewsTest, CompareWithAFileOfAnotherVersionSaysSo) {
    auto window = Start();
    const QString path = dir.filePath("bad.ign");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("KAMBRIX_KEY 53\r\n");
    file.close();
    EXPECT_EQ(window->Views().CompareWithFile(path), nullptr);
    EXPECT_NE(window->findChild<QWidget*>("UnmatchedFileVersionBox"), nullptr);
}

TEST_F(WindowViewsTest, DataLogRecordsFramesAndIsCompleteWhenTheWindowCloses) {
    auto window = Start();
    const QString path = dir.filePath("run.csv");
    ASSERT_TRUE(window->DataLog().Start(path));
    EXPECT_TRUE(window->findChild<QAction*>("MenuRecordLog")->isChecked());
    auto* label = Find<QLabel>(*window, "LabelDataLog");
    EXPECT_FALSE(label->isHidden());
    EXPECT_TRUE(label->text().endsWith("run.csv")) << label->text().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ReadLog(path).Rows() >= 2; }, 15000));
    EXPECT_TRUE(ReadLog(path).header.unitVersion.empty()); // nothing has asked the unit yet
    // A Read tells the unit's version; the log then names it.
    window->findChild<QAction*>("MenuRead")->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !ReadLog(path).header.unitVersion.empty(); }, 15000));
    Close(window); // while recording

    const MonitorLog log = ReadLog(path);
    EXPECT_GE(log.Rows(), 2u);
    EXPECT_EQ(log.skippedLines, 0u);
    EXPECT_TRUE(log.header.hasMap);
}

TEST_F(WindowViewsTest, DataLogWaitsForASilentUnitAndEndsWhenThePortGoes) {
    PtyUnit unit;
    std::string error;
    ASSERT_TRUE(unit.Start(error)) << error;
    StartOptions options;
    options.port = QString::fromStdString(unit.DevicePath());
    TFormHlav window(options);
    window.show();
    const QString path = dir.filePath("pulled.csv");
    ASSERT_TRUE(window.DataLog().Start(path));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ReadLog(path).Rows() >= 1; }, 15000));

    unit.Emulator().Options().silent = true;
    auto* connection = Find<QLabel>(window, "LabelSpojeni");
    ASSERT_TRUE(QTest::qWaitFor([&] { return connection->isVisible(); }, 5000));
    EXPECT_TRUE(window.DataLog().Running());
    const std::size_t beforeSilence = ReadLog(path).Rows();
    unit.Emulator().Options().silent = false;
    ASSERT_TRUE(QTest::qWaitFor([&] { return ReadLog(path).Rows() > beforeSilence; }, 5000));

    unit.Stop(); // the adapter is pulled out
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.DataLog().Running(); }, 5000));
    EXPECT_FALSE(window.findChild<QAction*>("MenuRecordLog")->isChecked());
    EXPECT_TRUE(Find<QLabel>(window, "LabelDataLog")->isHidden());
    const MonitorLog log = ReadLog(path);
    EXPECT_GT(log.Rows(), beforeSilence);
    EXPECT_EQ(log.skippedLines, 0u);
    window.close();
}

TEST_F(WindowViewsTest, PlaybackCursorShowsTheValuesAndTheCellInUse) {
    auto window = Start({}, false);
    ParameterImage image = window->Image();
    image[field::mapUsesTps] = 1;
    const QString path = dir.filePath("played.csv");
    {
        MonitorLogWriter writer(LogTimeNow);
        ASSERT_TRUE(writer.Open(path.toStdString(), MakeLogHeader(image, "ORN12", "r6.ign")));
        DeviceFrame f{};
        f[monitorField::code] = 0xB0;
        PutFrameWord(f.data(), monitorField::rpm, 1000); // below the map
        writer.Append(f.data(), "2026-12-08T10:00:00.000");
        PutFrameWord(f.data(), monitorField::rpm, image[field::mapRpm + 4] * 100);
        f[monitorField::tpsPercent] = 30;
        PutFrameWord(f.data(), monitorField::supplyMv, 12500);
        writer.Append(f.data(), "2026-12-08T10:00:00.330");
    }
    LogChartWindow* chart = window->Views().OpenDataLog(path);
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->CursorRow(), 0);
    EXPECT_EQ(chart->CursorMapColumn(), -1);
    auto* slider = Find<QSlider>(*window, "LogCursor");
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(chart->CursorRow(), 1);
    EXPECT_EQ(chart->CursorMapRow(), 5); // the 30 % row
    EXPECT_EQ(chart->CursorMapColumn(), 4);
    auto* values = Find<QTableWidget>(*window, "LogValues");
    EXPECT_EQ(values->item(1, 1)->text(), QString::number(image[field::mapRpm + 4] * 100));
    // The map as the Advance page has it: the closed throttle on top, and
    // every rpm point whole.
    auto* map = Find<QTableWidget>(*window, "LogMap");
    EXPECT_EQ(map->verticalHeaderItem(0)->text(), "0%");
    EXPECT_EQ(map->item(5, 4)->background().color(), QColor(0, 255, 0));
    QHeaderView* rpmAxis = map->horizontalHeader();
    for (int c = 0; c < map->columnCount(); ++c)
        EXPECT_GT(rpmAxis->sectionSize(c),
                  rpmAxis->fontMetrics().horizontalAdvance(map->horizontalHeaderItem(c)->text()));

    // The values under the legend's names and units, in the window's
    // language; the supply in volts, as the chart draws it.
    const auto row = [&](const QString& name) {
        for (int r = 0; r < values->rowCount(); ++r)
            if (values->item(r, 0)->text() == name)
                return r;
        return -1;
    };
    ASSERT_EQ(row("Engine speed [rpm]"), 1);
    window->findChild<QAction*>("MenuGerman")->trigger();
    EXPECT_EQ(row("Drehzahl [U/min]"), 1);
    EXPECT_GE(row("Servo Sollspannung [mV]"), 0);
    EXPECT_EQ(values->horizontalHeaderItem(0)->text(), "Größe");
    const int supply = row("Versorgung [V]");
    ASSERT_GE(supply, 0);
    EXPECT_EQ(values->item(supply, 1)->text(), "12.5");
}

// A map programmed while recording moved the rpm points: the rows after it
// ran on the new map, so the cursor lights the cell of that map and the
// table shows its points and degrees; the time in cell, counted against the
// map of each row, is labelled with the points of the last, as
// "orna5ctl cells" prints it.
TEST_F(WindowViewsTest, ChartFollowsAMapProgrammedWhileRecording) {
    auto window = Start({}, false);
    ParameterImage first = window->Image();
    first[field::mapUsesTps] = 0;
    ParameterImage second = first;
    for (std::size_t c = 0; c < kAxisPoints; ++c)
        second[field::mapRpm + c] = static_cast<std::uint8_t>(20 + 10 * c); // 2000..11000
    second[MapCell(9, 0)] = 7;
    ASSERT_NE(first[field::mapRpm], second[field::mapRpm]);
    const QString path = dir.filePath("programmed.csv");
    {
        MonitorLogWriter writer(LogTimeNow);
        ASSERT_TRUE(writer.Open(path.toStdString(), MakeLogHeader(first, "ORN12", "")));
        DeviceFrame f{};
        f[monitorField::code] = MonitorCode;
        PutFrameWord(f.data(), monitorField::rpm, 2000);
        writer.Append(f.data(), "2026-12-08T10:00:00.000");
        ASSERT_TRUE(writer.AppendMap(second, "2026-12-08T10:00:00.500"));
        writer.Append(f.data(), "2026-12-08T10:00:01.000");
        writer.Append(f.data(), "2026-12-08T10:00:01.500");
    }
    LogChartWindow* chart = window->Views().OpenDataLog(path);
    ASSERT_NE(chart, nullptr);
    auto* map = Find<QTableWidget>(*window, "LogMap");
    const int atFirst = MarkLivePosition(2000, 0, 0, first, false).mapRpmColumn;
    EXPECT_EQ(chart->CursorMapColumn(), atFirst);
    EXPECT_EQ(map->horizontalHeaderItem(0)->text(), QString::number(first[field::mapRpm] * 100));
    chart->SetCursorRow(1);
    EXPECT_EQ(chart->CursorMapColumn(), 0);
    EXPECT_EQ(map->horizontalHeaderItem(0)->text(), "2000");
    EXPECT_EQ(map->item(9, 0)->text(), "7");
    chart->SetCursorRow(0);
    EXPECT_EQ(chart->CursorMapColumn(), atFirst);
    EXPECT_EQ(map->horizontalHeaderItem(0)->text(), QString::number(first[field::mapRpm] * 100));

    auto* cells = chart->findChild<TimeInCellView*>("LogTimeInCell");
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(static_cast<QTableView*>(cells)
                  ->model()
                  ->headerData(0, Qt::Horizontal, Qt::DisplayRole)
                  .toInt(),
              2000);
}

TEST_F(WindowViewsTest, PlaybackBreaksTheLinesWhereTheUnitWasSilent) {
    auto window = Start({}, false);
    const QString path = dir.filePath("gap.csv");
    {
        MonitorLogWriter writer(LogTimeNow);
        ASSERT_TRUE(writer.Open(path.toStdString(), MakeLogHeader(window->Image(), "", "")));
        DeviceFrame f{};
        f[monitorField::code] = 0xB0;
        for (const char* time : {"2026-12-08T10:00:00.000", "2026-12-08T10:00:00.330",
                                 "2026-12-08T10:00:10.000", "2026-12-08T10:00:10.330"})
            writer.Append(f.data(), time);
    }
    LogChartWindow* chart = window->Views().OpenDataLog(path);
    ASSERT_NE(chart, nullptr);
    // Engine speed, throttle and supply, each in two stretches; no channel
    // advance at all (the channels were unused).
    QChart* drawn = chart->ChartView()->chart();
    EXPECT_EQ(drawn->series().size(), 6);
    int named = 0;
    for (QLegendMarker* marker : drawn->legend()->markers())
        named += marker->isVisible() ? 1 : 0;
    EXPECT_EQ(named, 3);
}

} // namespace
} // namespace orna5::test
