// The log viewer's Pulls tab and the Rides view, driven through the window
// over generated rides whose pulls are known.
#include "../ride/RideLog.h"
#include "WindowFixture.h"
#include "app/RideRecorder.h"
#include "app/ViewManager.h"
#include "app/views/LogChartWindow.h"
#include "app/views/PullsPane.h"
#include "app/views/RidesWindow.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <fstream>

namespace orna5::test {
namespace {

class WindowPullsTest : public WindowTest {
protected:
    QTemporaryDir dir;

    // Three first-gear pulls from a stop, each as fast as the peak given.
    QString WriteRide(const QString& name, const ParameterImage& image,
                      const std::vector<double>& peaks) {
        RideLog ride(0.04, 5, image);
        for (double peak : peaks)
            ride.Hold(3, 1500, 0).Pull(9500, TorqueLike(peak)).Move(1500, 3, 0);
        ride.Hold(3, 1500, 0);
        const QString path = dir.filePath(name);
        std::ofstream(path.toStdString(), std::ios::binary) << ride.Text();
        return path;
    }

    static PullsPane* ShowPulls(LogChartWindow* viewer) {
        viewer->Tabs()->setCurrentIndex(1); // as a click on the tab
        return viewer->Pulls();
    }

    // The text of the difference table at `rpm` in `column`.
    static QString Cell(PullsPane* pane, int rpm, int column) {
        QTableWidget* table = pane->DifferenceTable();
        for (int r = 0; r < table->rowCount(); ++r)
            if (table->verticalHeaderItem(r)->text().startsWith(QString::number(rpm) + " "))
                return table->item(r, column)->text();
        return "missing";
    }
};

TEST_F(WindowPullsTest, ShowsThePullsOfTwoLogsTheirDifferenceAndTheCellsThatDiffer) {
    auto window = Start();
    const ParameterImage first = DefaultImage();
    ParameterImage second = first;
    second[MapCell(kMapRows - 1, 6)] =
        static_cast<std::uint8_t>(second[MapCell(kMapRows - 1, 6)] + 3);
    const QString a = WriteRide("a.csv", first, {2900, 3000, 3100});
    const QString b = WriteRide("b.csv", second, {3290, 3300, 3310});

    LogChartWindow* viewer = window->Views().OpenDataLog(a);
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->Pulls()->Logs().empty()) << "found before the tab was shown";
    PullsPane* pane = ShowPulls(viewer);
    ASSERT_EQ(pane->PullList()->topLevelItemCount(), 1);
    EXPECT_EQ(pane->PullList()->topLevelItem(0)->childCount(), 3);
    EXPECT_EQ(pane->PullList()->topLevelItem(0)->child(0)->text(4), "1"); // from a stop

    ASSERT_TRUE(window->Views().AddToPulls(viewer, b));
    EXPECT_EQ(viewer->Tabs()->currentWidget(), pane);
    ASSERT_EQ(pane->PullList()->topLevelItemCount(), 2);
    // 10 % faster everywhere, far beyond the spread of one log's pulls.
    const QString at6000 = Cell(pane, 6000, 1);
    EXPECT_TRUE(at6000.startsWith("+")) << at6000.toStdString();
    EXPECT_NEAR(at6000.left(at6000.indexOf(' ')).toDouble(), 10.0, 1.5) << at6000.toStdString();
    EXPECT_FALSE(at6000.contains(QString::fromUtf8("≈")));

    // The second log's tune differs in one cell, listed with both values.
    QTreeWidgetItem* log2 = pane->MapList()->topLevelItem(1);
    ASSERT_NE(log2, nullptr);
    QStringList cells;
    for (int i = 0; i < log2->childCount(); ++i)
        if (!log2->child(i)->text(2).isEmpty())
            cells << log2->child(i)->text(1) + " -> " + log2->child(i)->text(2);
    ASSERT_EQ(cells.size(), 1) << cells.join("; ").toStdString();
    const int before = first[MapCell(kMapRows - 1, 6)];
    EXPECT_TRUE(cells[0].startsWith(QString::number(before))) << cells[0].toStdString();
    EXPECT_TRUE(cells[0].contains(QString::number(before + 3))) << cells[0].toStdString();
}

TEST_F(WindowPullsTest, LeavingAPullOutChangesTheMean) {
    auto window = Start();
    const QString a = WriteRide("a.csv", DefaultImage(), {2600, 3000, 3400});
    PullsPane* pane = ShowPulls(window->Views().OpenDataLog(a));
    const QString allThree = Cell(pane, 6000, 0);

    QTreeWidgetItem* fastest = pane->PullList()->topLevelItem(0)->child(2);
    fastest->setCheckState(0, Qt::Unchecked); // as a click on its box
    QCoreApplication::processEvents();
    EXPECT_EQ(pane->Comparison().logs[0].pulls, 2);
    EXPECT_LT(Cell(pane, 6000, 0).toDouble(), allThree.toDouble() - 50);
    EXPECT_EQ(pane->PullList()->topLevelItem(0)->child(2)->checkState(0), Qt::Unchecked);

    // Every pull left out: said so, not blamed on the log.
    for (int p = 0; p < 2; ++p) {
        pane->PullList()->topLevelItem(0)->child(p)->setCheckState(0, Qt::Unchecked);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(pane->findChild<QLabel*>("PullNote")->text().toStdString(),
              "Log 1: every pull left out");
}

// A ride's file begins a little before the engine passed the start rpm, so
// a pull from a stop is whole and the stop tells its gear.
TEST_F(WindowPullsTest, ARideBeginsWithTheFramesBeforeItsStart) {
    WriteConfig("orna5.ini", "[RIDES]\nRecordByThemselves=1\nStartRpm=5000\n");
    const QString folder = RideRecorder::DefaultFolder();
    QDir(folder).removeRecursively();
    auto window = Start(); // the emulated engine sweeps up from idle
    const auto firstRpms = [&folder] {
        std::vector<float> rpms;
        const QStringList files = QDir(folder).entryList({"*.csv"}, QDir::Files);
        if (!files.isEmpty()) {
            std::ifstream in((folder + "/" + files[0]).toStdString(), std::ios::binary);
            MonitorLog log;
            if (ReadMonitorLog(in, log) && log.Column("rpm") >= 0)
                rpms = log.values[static_cast<std::size_t>(log.Column("rpm"))];
        }
        return rpms;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return firstRpms().size() >= 2; }, 30000));
    const std::vector<float> rpms = firstRpms();
    EXPECT_LE(rpms.front(), 5000) << "the file begins at the start rpm";
    Close(window);
    QDir(folder).removeRecursively();
}

// A log the tab compares already, or a fifth, is refused with a word, from
// the viewer as from the Rides view.
TEST_F(WindowPullsTest, ALogComparedAlreadyOrAFifthIsRefusedAndSaid) {
    auto window = Start();
    const QString folder = dir.filePath("rides");
    QDir().mkpath(folder);
    std::vector<QString> logs;
    for (const char* name : {"a.csv", "b.csv", "c.csv", "d.csv"})
        logs.push_back(WriteRide(name, DefaultImage(), {3000}));
    WriteRide("rides/ride-20260601-100000.csv", DefaultImage(), {3000});
    LogChartWindow* viewer = window->Views().OpenDataLog(logs[0]);
    PullsPane* pane = ShowPulls(viewer);
    EXPECT_FALSE(window->Views().AddToPulls(viewer, dir.filePath("./a.csv")));
    EXPECT_NE(window->findChild<QMessageBox*>("PullLogTwiceBox"), nullptr);
    for (std::size_t l = 1; l < logs.size(); ++l)
        ASSERT_TRUE(window->Views().AddToPulls(viewer, logs[l]));
    EXPECT_EQ(pane->Logs().size(), 4u);

    window->Views().UseRides(folder);
    RidesWindow* rides = window->Views().ShowRides();
    rides->Select(0);
    rides->findChild<QPushButton*>("RidesAddButton")->click();
    auto* box = window->findChild<QMessageBox*>("PullsFullBox");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().contains("ride-20260601-100000.csv")) << box->text().toStdString();
    EXPECT_EQ(pane->Logs().size(), 4u);
}

TEST_F(WindowPullsTest, TheGearChooserComparesOneGear) {
    auto window = Start();
    // First gear from a stop, a quick shift, second gear at half the rate.
    RideLog ride(0.04, 5, DefaultImage());
    ride.Hold(3, 1500, 0)
        .Pull(9500, TorqueLike(3000))
        .Move(6600, 0.08, 100)
        .Pull(9500, TorqueLike(1500))
        .Move(1500, 3, 0)
        .Hold(3, 1500, 0);
    const QString path = dir.filePath("shift.csv");
    std::ofstream(path.toStdString(), std::ios::binary) << ride.Text();
    PullsPane* pane = ShowPulls(window->Views().OpenDataLog(path));
    EXPECT_EQ(pane->Comparison().logs[0].pulls, 2);
    QComboBox* gear = pane->GearChooser();
    ASSERT_EQ(gear->count(), 3); // all, 1, 2
    gear->setCurrentIndex(2);
    EXPECT_EQ(pane->Comparison().logs[0].pulls, 1);
    EXPECT_GT(pane->Comparison().logs[0].bands.front().rpm, 6000);
}

TEST_F(WindowPullsTest, RidesListsARideKeepsItsNoteAndAddsItToTheViewer) {
    auto window = Start();
    const QString folder = dir.filePath("rides");
    QDir().mkpath(folder);
    WriteRide("rides/ride-20260601-100000.csv", DefaultImage(), {3000, 3000});
    window->Views().UseRides(folder);
    RidesWindow* rides = window->Views().ShowRides();
    ASSERT_EQ(rides->List()->topLevelItemCount(), 1);
    QTreeWidgetItem* ride = rides->List()->topLevelItem(0);
    EXPECT_EQ(ride->text(3), "2");
    ride->setText(4, "new plug, 26 deg at the top"); // as the editor leaves it
    QFile note(RidesWindow::NotePath(rides->Paths()[0]));
    ASSERT_TRUE(note.open(QIODevice::ReadOnly));
    EXPECT_EQ(note.readAll().trimmed(), "new plug, 26 deg at the top");
    rides->Refresh();
    EXPECT_EQ(rides->List()->topLevelItem(0)->text(4), "new plug, 26 deg at the top");

    // With no viewer open the ride opens in one, on its Pulls tab.
    rides->Select(0);
    rides->AddSelected();
    auto* viewer = window->findChild<LogChartWindow*>();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->Tabs()->currentWidget(), viewer->Pulls());
    EXPECT_EQ(viewer->Pulls()->Comparison().logs.size(), 1u);
}

} // namespace
} // namespace orna5::test
