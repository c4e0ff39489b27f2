// The timing-light check at work on the emulated unit: readings typed into
// the table take the unit's advance and the map cell, the check is kept,
// listed in the History view, opened again and exported; a silent unit or a
// store that cannot be written is said, and nothing typed is lost.

#include "app/views/TimingCheckWindow.h"
#include "WindowFixture.h"
#include "app/Document.h"
#include "app/StartArguments.h"
#include "app/ViewManager.h"
#include "app/views/HistoryWindow.h"
#include "disk/TimingStore.h"
#include "lang/TextTable.h"
#include "lang/TimingTexts.h"
#include "params/TuneChecksum.h"
#include "sim/PtyUnit.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QValueAxis>

namespace orna5::test {

namespace {

constexpr int kFlatAdvance = 20;

class TimingCheckWindowTest : public WindowTest {
protected:
    std::unique_ptr<PtyUnit> unit;

    void SetUp() override {
        WindowTest::SetUp();
        QDir(TimingStore::DefaultFolder()).removeRecursively();
        QFile::remove(TimingStore::DefaultFolder());
    }

    std::unique_ptr<TFormHlav> StartOnUnit(EmulatorOptions faults = {}) {
        unit = std::make_unique<PtyUnit>(faults);
        std::string error;
        EXPECT_TRUE(unit->Start(error)) << error;
        StartOptions options;
        options.port = QString::fromStdString(unit->DevicePath());
        auto window = std::make_unique<TFormHlav>(options);
        window->show();
        return window;
    }

    // The unit programmed with a map of one advance everywhere, so that what
    // it reports does not depend on where the sweeping engine is.
    static void ProgramFlatMap(TFormHlav& window) {
        window.Doc().ChangeImage([](ParameterImage& image) {
            for (std::size_t cell = 0; cell < kMapRows * kAxisPoints; ++cell)
                image[field::advanceMap + cell] = kFlatAdvance;
        });
        window.findChild<QAction*>("MenuProgram")->trigger();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return window.findChild<QLabel*>("LabelHlaseni")->text().contains(": OK"); },
            15000));
    }

    static TimingCheckWindow* OpenCheckWindow(TFormHlav& window) {
        window.findChild<QAction*>("MenuTimingCheck")->trigger();
        auto* view = window.findChild<TimingCheckWindow*>("TimingCheckWindow");
        EXPECT_NE(view, nullptr);
        return view;
    }

    // Types into a cell through the table's own editor and presses Enter.
    static void Type(TimingCheckWindow* view, int row, int column, const QString& text) {
        QTableWidget* table = view->Table();
        table->setCurrentCell(row, column);
        // The editor before closes on a queued call.
        QApplication::processEvents();
        table->editItem(table->item(row, column));
        const auto editors = table->viewport()->findChildren<QLineEdit*>();
        auto* editor = editors.isEmpty() ? nullptr : editors.back();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
    }

    static QString Cell(TimingCheckWindow* view, int row, int column) {
        return view->Table()->item(row, column)->text();
    }

    static QMessageBox* Box(TFormHlav& window, const char* name) {
        QMessageBox* box = nullptr;
        (void)QTest::qWaitFor(
            [&] { return (box = window.findChild<QMessageBox*>(name)) != nullptr; }, 2000);
        return box;
    }
};

TEST_F(TimingCheckWindowTest, ReadingsTakeTheUnitAndTheMapAndTheCheckIsKeptListedAndExported) {
    auto window = StartOnUnit();
    ProgramFlatMap(*window);
    if (HasFatalFailure())
        return;
    unit->Emulator().Engine().SetPhase(EngineModel::kSweepPolls / 4);
    TimingCheckWindow* view = OpenCheckWindow(*window);
    ASSERT_NE(view, nullptr);
    // Idle first, then every 1000 rpm below the limiter.
    const std::vector<int> rpms = DefaultCheckRpms(window->Image());
    ASSERT_EQ(view->Table()->rowCount(), static_cast<int>(rpms.size()));
    EXPECT_EQ(Cell(view, 0, TimingCheckWindow::RpmCol), QString::number(rpms[0]));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return view->findChild<QLabel*>("TimingLive")->text().startsWith("Now:"); }, 5000));

    Type(view, 0, TimingCheckWindow::StrobeCol, "18,5"); // a comma taken as the point
    Type(view, 2, TimingCheckWindow::StrobeCol, "19.5");
    const TimingCheck& check = view->Check();
    ASSERT_EQ(check.points[0].strobe, 18.5);
    EXPECT_EQ(check.points[0].unit[0], double(kFlatAdvance));
    EXPECT_EQ(check.points[0].map, kFlatAdvance);
    EXPECT_EQ(Cell(view, 0, TimingCheckWindow::Unit1Col), QString::number(kFlatAdvance));
    EXPECT_EQ(Cell(view, 0, TimingCheckWindow::MapCol), QString::number(kFlatAdvance));
    EXPECT_EQ(Cell(view, 0, TimingCheckWindow::DifferenceCol), "-1.5");
    EXPECT_FALSE(check.points[1].strobe.has_value()); // not read: nothing taken
    EXPECT_TRUE(Cell(view, 1, TimingCheckWindow::Unit1Col).isEmpty());
    EXPECT_EQ(view->Verdict().toStdString(),
              DriftText(DriftOf(check.points, check.channel), English));

    // A speed typed in moves its point; one that is not a speed is refused
    // and the point keeps its speed.
    Type(view, 1, TimingCheckWindow::RpmCol, "2500");
    EXPECT_EQ(view->Check().points[1].rpm, 2500);
    Type(view, 1, TimingCheckWindow::RpmCol, "fast");
    EXPECT_EQ(view->Check().points[1].rpm, 2500);
    EXPECT_EQ(Cell(view, 1, TimingCheckWindow::RpmCol), "2500");
    EXPECT_FALSE(view->findChild<QLabel*>("TimingNote")->text().isEmpty());

    // Kept, then found in the History view and opened there as it was.
    view->findChild<QPushButton*>("TimingKeep")->click();
    ASSERT_FALSE(view->Path().isEmpty());
    EXPECT_TRUE(view->Path().startsWith(TimingStore::DefaultFolder()));
    EXPECT_EQ(view->Check().tune, TuneChecksum(window->Image()));
    window->findChild<QAction*>("MenuHistory")->trigger();
    auto* history = window->findChild<HistoryWindow*>("HistoryWindow");
    ASSERT_NE(history, nullptr);
    QTreeWidget* checks = history->TimingList();
    ASSERT_EQ(checks->topLevelItemCount(), 1);
    EXPECT_EQ(checks->topLevelItem(0)->text(3), view->Verdict());
    history->SelectCheck(0);
    history->findChild<QPushButton*>("TimingOpenCheck")->click();
    // The check is open already: that window is shown, not a second one.
    ASSERT_EQ(window->findChildren<TimingCheckWindow*>().size(), 1);
    TimingCheckWindow* opened = window->findChild<TimingCheckWindow*>();
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->Check(), view->Check());
    EXPECT_EQ(opened->Path(), view->Path());

    // Exported from the History view: the same table as the kept file.
    QTemporaryDir dir;
    const QString csv = dir.filePath("check.csv");
    WhenModal<QFileDialog>("TimingExportDialog", [csv](QFileDialog* dialog) {
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(csv);
        static_cast<QDialog*>(dialog)->accept();
    });
    history->findChild<QPushButton*>("TimingExportCheck")->click();
    QFile exported(csv), kept(view->Path());
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(exported.readAll(), kept.readAll());

    // Deleted after asking.
    history->findChild<QPushButton*>("TimingDeleteCheck")->click();
    QMessageBox* ask = Box(*window, "ConfirmDeleteCheckBox");
    ASSERT_NE(ask, nullptr);
    EXPECT_EQ(ask->defaultButton(), ask->button(QMessageBox::No));
    ask->button(QMessageBox::Yes)->click();
    EXPECT_EQ(checks->topLevelItemCount(), 0);
    EXPECT_FALSE(QFile::exists(view->Path()));
}

// A silent unit: the reading stays typed, nothing of the unit is made up,
// and the user is told why.
TEST_F(TimingCheckWindowTest, ASilentUnitIsSaidAndTheReadingStays) {
    EmulatorOptions silent;
    silent.silent = true;
    auto window = StartOnUnit(silent);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->Doc().UnitAnswering(); }, 5000));
    TimingCheckWindow* view = OpenCheckWindow(*window);
    ASSERT_NE(view, nullptr);
    Type(view, 0, TimingCheckWindow::StrobeCol, "12");
    EXPECT_NE(Box(*window, "TimingNotAnsweringBox"), nullptr);
    EXPECT_EQ(view->Check().points[0].strobe, 12.0);
    EXPECT_EQ(Cell(view, 0, TimingCheckWindow::StrobeCol), "12");
    EXPECT_FALSE(view->Check().points[0].unit[0].has_value());
    EXPECT_FALSE(view->Check().points[0].map.has_value());
    EXPECT_TRUE(Cell(view, 0, TimingCheckWindow::DifferenceCol).isEmpty());
}

// Readings not kept are never lost: closing the window asks (Cancel keeps
// it open, Discard lets it go), and a window that goes with the main window
// keeps them by itself.
TEST_F(TimingCheckWindowTest, ReadingsNotKeptAreNotLostByClosing) {
    auto window = Start();
    TimingCheckWindow* view = OpenCheckWindow(*window);
    ASSERT_NE(view, nullptr);
    view->close(); // nothing typed: nothing to ask
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->findChild<TimingCheckWindow*>(); }, 2000));

    view = OpenCheckWindow(*window);
    view->EnterCell(1, TimingCheckWindow::StrobeCol, "21.5");
    ASSERT_TRUE(view->Unkept());
    view->close();
    auto* ask = view->findChild<QMessageBox*>("TimingUnkeptBox");
    ASSERT_NE(ask, nullptr);
    EXPECT_TRUE(view->isVisible());
    ask->button(QMessageBox::Cancel)->click();
    QApplication::processEvents();
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->Check().points[1].strobe, 21.5);

    view->close();
    ask = view->findChild<QMessageBox*>("TimingUnkeptBox");
    ASSERT_NE(ask, nullptr);
    ask->findChild<QPushButton*>("TimingUnkeptDiscard")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->findChild<TimingCheckWindow*>(); }, 2000));
    EXPECT_TRUE(TimingStore().List(English).empty());

    view = OpenCheckWindow(*window);
    view->EnterCell(2, TimingCheckWindow::StrobeCol, "-3");
    Close(window);
    window.reset();
    const auto kept = TimingStore().List(English);
    ASSERT_EQ(kept.size(), 1u);
    ASSERT_TRUE(kept[0].check.has_value());
    EXPECT_EQ(kept[0].check->points[2].strobe, -3.0);
}

// A printout into a file is reported as printed only when the file was
// written; one into a folder that is not there is a failure.
TEST_F(TimingCheckWindowTest, APrintoutIsReportedAsItWent) {
    auto window = Start();
    TimingCheckWindow* view = OpenCheckWindow(*window);
    ASSERT_NE(view, nullptr);
    view->EnterCell(0, TimingCheckWindow::StrobeCol, "10");
    QTemporaryDir dir;
    const struct {
        const char* fault;
        QString file;
        bool printed;
    } cases[] = {
        {"a written printout reported as failed", dir.filePath("check.pdf"), true},
        {"a printout nowhere reported as printed", dir.filePath("none/check.pdf"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(c.file);
        EXPECT_EQ(view->PrintOn(printer), c.printed);
        EXPECT_EQ(QFileInfo(c.file).size() > 1000, c.printed);
    }
}

// The data folder cannot be written (here a file stands where the folder
// should be): the user is told where and why, and the check stays in the
// window to be kept once the folder is put right.
TEST_F(TimingCheckWindowTest, AStoreThatCannotBeWrittenIsSaidAndNothingIsLost) {
    auto window = Start();
    QDir().mkpath(QFileInfo(TimingStore::DefaultFolder()).path());
    {
        QFile blocker(TimingStore::DefaultFolder());
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    TimingCheckWindow* view = OpenCheckWindow(*window);
    ASSERT_NE(view, nullptr);
    view->EnterCell(0, TimingCheckWindow::RpmCol, "1100");
    EXPECT_FALSE(view->Keep());
    QMessageBox* box = Box(*window, "TimingKeepFailedBox");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().startsWith("The check could not be kept in "))
        << box->text().toStdString();
    EXPECT_TRUE(view->Path().isEmpty());
    EXPECT_EQ(view->Check().points[0].rpm, 1100);
    box->close();
    QFile::remove(TimingStore::DefaultFolder());
    EXPECT_TRUE(view->Keep());
    TimingCheck kept;
    ASSERT_TRUE(TimingStore::Load(view->Path(), kept, English));
    EXPECT_EQ(kept.points[0].rpm, 1100);

    // At the program's end no window is left to tell it in: a check that
    // cannot be kept then is said on standard error, not dropped in silence.
    view = OpenCheckWindow(*window);
    view->EnterCell(0, TimingCheckWindow::StrobeCol, "12");
    QDir(TimingStore::DefaultFolder()).removeRecursively();
    {
        QFile blocker(TimingStore::DefaultFolder());
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { warnings << text; });
    Close(window);
    window.reset();
    qInstallMessageHandler(previous);
    QFile::remove(TimingStore::DefaultFolder());
    EXPECT_TRUE(warnings.filter("The check could not be kept in ").size() == 1)
        << warnings.join("\n").toStdString();
}

// Rows of a data log played through the window are not the engine under
// the strobe: a reading typed then takes nothing from them and says why,
// and they do not linger in the average once the playback ends.
TEST_F(TimingCheckWindowTest, APlayedLogIsNotTakenForTheUnit) {
    auto window = Start();
    TimingCheckWindow* view = OpenCheckWindow(*window);
    ASSERT_NE(view, nullptr);
    auto* live = view->findChild<QLabel*>("TimingLive");
    ASSERT_TRUE(QTest::qWaitFor([&] { return live->text().startsWith("Now:"); }, 5000));
    Document& doc = window->Doc();
    const DeviceFrame played = doc.LastFrame();
    doc.StartPlayback();
    int frames = 0;
    QObject::connect(&doc, &Document::FrameAccepted, view, [&frames] { ++frames; });
    for (int n = 0; n < 20 && frames < 5; ++n) {
        doc.PlayFrame(played, 0.05);
        QTest::qWait(50);
    }
    ASSERT_GE(frames, 3);
    EXPECT_TRUE(QTest::qWaitFor([&] { return live->text().startsWith("A data log"); }, 2000))
        << live->text().toStdString();
    Type(view, 0, TimingCheckWindow::StrobeCol, "15");
    EXPECT_NE(Box(*window, "TimingPlayingBox"), nullptr);
    const TimingPoint& point = view->Check().points[0];
    EXPECT_EQ(point.strobe, 15.0);
    for (const std::optional<double>& unit : point.unit)
        EXPECT_FALSE(unit.has_value());
    EXPECT_FALSE(point.map.has_value());
    doc.StopPlayback();
}

// The table goes by keyboard alone: Enter goes on to the next point's same
// cell, Delete takes a reading back and then the point, Escape in a cell
// being typed leaves the typing and not the window.
TEST_F(TimingCheckWindowTest, TheTableGoesByKeyboard) {
    auto window = Start();
    TimingCheckWindow* view = OpenCheckWindow(*window);
    ASSERT_NE(view, nullptr);
    QTableWidget* table = view->Table();
    const int rows = table->rowCount();
    ASSERT_GE(rows, 3);

    Type(view, 0, TimingCheckWindow::StrobeCol, "10");
    QApplication::processEvents();
    EXPECT_EQ(table->currentRow(), 1) << "Enter stayed on the point just read";
    EXPECT_EQ(table->currentColumn(), int(TimingCheckWindow::StrobeCol));
    Type(view, rows - 1, TimingCheckWindow::StrobeCol, "12");
    EXPECT_EQ(table->currentRow(), rows - 1) << "Enter on the last point went nowhere";

    const struct {
        const char* fault;
        int row;
        bool readingAfter;
        int rowsAfter;
    } presses[] = {
        {"Delete did not take the reading back", 0, false, rows},
        {"Delete did not take a point without a reading away", 0, false, rows - 1},
    };
    for (const auto& press : presses) {
        SCOPED_TRACE(press.fault);
        table->setFocus();
        table->setCurrentCell(press.row, TimingCheckWindow::StrobeCol);
        QTest::keyClick(table, Qt::Key_Delete);
        QApplication::processEvents();
        EXPECT_EQ(table->rowCount(), press.rowsAfter);
        EXPECT_EQ(view->Check().points[0].strobe.has_value(), press.readingAfter);
    }

    table->setCurrentCell(0, TimingCheckWindow::RpmCol);
    table->editItem(table->item(0, TimingCheckWindow::RpmCol));
    auto* editor = table->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    const QString before = view->Table()->item(0, TimingCheckWindow::RpmCol)->text();
    editor->selectAll();
    QTest::keyClicks(editor, "9999");
    QTest::keyClick(editor, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_TRUE(view->isVisible()) << "Escape in a cell closed the window";
    EXPECT_EQ(Cell(view, 0, TimingCheckWindow::RpmCol), before);
}

// A speed is a whole number typed in digits: what a reader could take for
// another speed is refused and the point keeps the one it had.
TEST_F(TimingCheckWindowTest, ASpeedIsTakenOnlyAsDigits) {
    auto window = Start();
    TimingCheckWindow* view = OpenCheckWindow(*window);
    ASSERT_NE(view, nullptr);
    const struct {
        const char* fault;
        QString typed;
        int rpm; // what the point has after it; 3000 when refused
    } cases[] = {
        {"a German thousand taken as 1 rpm", "1.000", 3000},
        {"a French thousand taken as 1 rpm", "1,000", 3000},
        {"an exponent taken for a speed", "4e3", 3000},
        {"a sign taken for a speed", "+4000", 3000},
        {"a speed past the bound taken", "30001", 3000},
        {"plain digits with blanks refused", " 4500 ", 4500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        view->EnterCell(0, TimingCheckWindow::RpmCol, "3000");
        view->EnterCell(0, TimingCheckWindow::RpmCol, c.typed);
        EXPECT_EQ(view->Check().points[0].rpm, c.rpm);
    }
}

// The chart shows every point's speed, a point at 0 rpm without a reading
// included.
TEST_F(TimingCheckWindowTest, TheChartCoversEveryPoint) {
    auto window = Start();
    TimingCheckWindow* view = OpenCheckWindow(*window);
    ASSERT_NE(view, nullptr);
    TimingCheck check;
    ParseLogTime("2026-12-09T18:30:05+01:00", check.time);
    check.channel = 1;
    const struct {
        const char* fault;
        std::vector<int> rpms;
    } cases[] = {
        {"a point at 0 rpm left off the axis", {0, 5000, 6000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        check.points.clear();
        for (int rpm : c.rpms) {
            TimingPoint point;
            point.rpm = rpm;
            check.points.push_back(point);
        }
        // Two readings on the last points only.
        for (std::size_t at = 1; at < check.points.size(); ++at) {
            check.points[at].strobe = 10;
            check.points[at].unit[0] = 10;
        }
        view->ShowCheck(check, QString());
        auto* chartView = view->findChild<QChartView*>("TimingChart");
        ASSERT_NE(chartView, nullptr);
        const auto axes = chartView->chart()->axes(Qt::Horizontal);
        ASSERT_FALSE(axes.isEmpty());
        auto* axis = static_cast<QValueAxis*>(axes.front());
        EXPECT_LT(axis->min(), *std::min_element(c.rpms.begin(), c.rpms.end()));
        EXPECT_GT(axis->max(), *std::max_element(c.rpms.begin(), c.rpms.end()));
    }
}

// The language changed with the window open: the verdict, the table's and
// the chart's decimal sign and the note under the table all follow it.
TEST_F(TimingCheckWindowTest, EverythingShownFollowsTheLanguage) {
    auto window = Start();
    TimingCheckWindow* view = OpenCheckWindow(*window);
    ASSERT_NE(view, nullptr);
    TimingCheck check;
    ParseLogTime("2026-12-09T18:30:05+01:00", check.time);
    check.channel = 1;
    for (int n = 0; n < 5; ++n) {
        TimingPoint point;
        point.rpm = 1000 * (n + 1);
        point.unit[0] = 20;
        point.strobe = 20 - 0.6 * n - 0.25;
        check.points.push_back(point);
    }
    view->ShowCheck(check, QString());
    view->EnterCell(0, TimingCheckWindow::StrobeCol, "a lot");
    auto* note = view->findChild<QLabel*>("TimingNote");
    ASSERT_EQ(note->text().toStdString(), TextIn(TimingText::BadStrobe, English));
    const struct {
        const char* menu;
        int language;
        const char* verdictPart;
        const char* difference;
    } cases[] = {
        {"MenuGerman", German, "0,6° weniger", "-0,25"},
        {"MenuFrench", French, "0,6° de moins", "-0,25"},
        {"MenuCzech", Czech, "o 0,6° méně", "-0,25"},
        {"MenuEnglish", English, "0.6° less", "-0.25"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.menu);
        Find<QAction>(*window, c.menu)->trigger();
        QApplication::processEvents();
        EXPECT_EQ(view->Verdict().toStdString(),
                  DriftText(DriftOf(view->Check().points, 1), c.language));
        EXPECT_TRUE(view->Verdict().contains(QString::fromUtf8(c.verdictPart)))
            << view->Verdict().toStdString();
        EXPECT_EQ(Cell(view, 0, TimingCheckWindow::DifferenceCol), c.difference);
        EXPECT_EQ(note->text().toStdString(), TextIn(TimingText::BadStrobe, c.language))
            << "the note stayed in the language before";
        // The chart's axes with the same decimal sign as the table.
        QChart* chart = view->findChild<QChartView*>("TimingChart")->chart();
        EXPECT_TRUE(chart->localizeNumbers());
        EXPECT_EQ(chart->locale().toString(-2.5, 'f', 1), c.language == English ? "-2.5" : "-2,5")
            << "the chart's numbers in another decimal sign than the table's";
        EXPECT_EQ(chart->locale().toString(10000), "10000");
        // A localized axis prints nothing for an integer format: no speeds.
        for (QAbstractAxis* axis : chart->axes())
            EXPECT_FALSE(static_cast<QValueAxis*>(axis)->labelFormat().contains('d'));
    }
}

} // namespace

} // namespace orna5::test
