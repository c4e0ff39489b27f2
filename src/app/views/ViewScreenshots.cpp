#include "app/views/ViewScreenshots.h"

#include "app/DataLogRecorder.h"
#include "app/Document.h"
#include "app/ViewManager.h"
#include "app/views/AdvanceCurvesWindow.h"
#include "app/views/CompareWindow.h"
#include "app/views/DashboardWindow.h"
#include "app/views/HistoryWindow.h"
#include "app/views/LogChartWindow.h"
#include "app/views/LogPlaybackWindow.h"
#include "app/views/Map3DWindow.h"
#include "app/views/MapTableWindow.h"
#include "app/views/PullsPane.h"
#include "app/views/RidesWindow.h"
#include "app/views/TimingCheckWindow.h"
#include "device/DeviceFrame.h"
#include "device/LogClock.h"
#include "device/MarkLivePosition.h"
#include "disk/HistoryStore.h"
#include "disk/TimingStore.h"
#include "disk/WholeFile.h"
#include "files/LogTime.h"
#include "files/ParameterFile.h"
#include "params/BikePresets.h"
#include "params/MonitorFrame.h"
#include "params/TuneChecksum.h"
#include "sim/RideModel.h"
#include "timing/TimingCheck.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <fstream>

namespace orna5 {

namespace {

QString LogPath(const QString& folder) {
    return folder + "/view-data-log.csv";
}

void Save(QWidget* view, const QString& folder, const QString& name) {
    if (!view)
        return;
    view->show();
    QApplication::processEvents();
    view->grab().save(folder + "/" + name + ".png");
}

// A minute of the emulated ride on `image`, written as the window records a
// ride, its clock starting at `startMs`.
void WriteRide(const QString& path, const ParameterImage& image, long long startMs) {
    MonitorLogWriter writer(LogTimeNow);
    if (!writer.Open(QFile::encodeName(path).toStdString(), MakeLogHeader(image, "ORN12", "")))
        return;
    RideModel ride;
    constexpr double kStep = 0.04; // the Fast rate
    for (int row = 0; row < 1500; ++row) {
        ride.Advance(kStep, image.data());
        DeviceFrame frame{};
        frame[monitorField::code] = 0xB0;
        PutFrameWord(frame.data(), monitorField::rpm,
                     static_cast<std::uint16_t>(std::lround(ride.Rpm())));
        frame[monitorField::tpsPercent] = static_cast<std::uint8_t>(ride.ThrottlePercent());
        LogTime time;
        time.millis = startMs + std::llround(row * kStep * 1000);
        writer.Append(frame.data(), FormatLogTime(time));
    }
}

// A check as a tuner makes it on the emulated unit, which reports the map
// cell it runs on: the strobe shows a little less as the speed rises, read
// to half a degree. Kept when the data folder has none, so the History view
// lists it; a user's checks are left alone.
void ShootTimingCheck(const Document& document, ViewManager& views, const QString& folder) {
    const ParameterImage& image = document.Image();
    TimingCheck check;
    const QDateTime now = QDateTime::currentDateTime().addSecs(-1800);
    check.time = {now.toMSecsSinceEpoch(), true, now.offsetFromUtc() / 60};
    check.unitVersion = "ORN12";
    check.unitBuildDate = " 7. 5.2009"; // as the emulated unit says
    check.tune = TuneChecksum(image);
    check.channel = image[field::bikeCode] == kSpecialBikeCode ? 1 : kUnitFigure;
    const int channels = std::clamp(int(image[field::outputCount]), 1, int(kChannels));
    const std::vector<int> rpms = DefaultCheckRpms(image);
    const double noise[] = {0.2, -0.3, 0.1, 0.3, -0.2, 0.0, 0.2, -0.1};
    for (std::size_t n = 0; n < rpms.size(); ++n) {
        TimingPoint point;
        point.rpm = rpms[n];
        // The cell the unit runs on at that speed, a little throttle open,
        // as the window takes it from the live position.
        const LivePosition at = MarkLivePosition(static_cast<std::uint16_t>(point.rpm), 5, 0, image,
                                                 image[field::mapUsesTps] != 0);
        point.map = image[MapCell(at.tpsRow, at.mapRpmColumn)];
        for (int c = 0; c < channels; ++c)
            point.unit[std::size_t(c)] = *point.map;
        const double lag = 0.6 * (point.rpm - rpms.front()) / 1000.0;
        point.strobe = std::round((*point.map - lag + noise[n % 8]) * 2) / 2;
        check.points.push_back(point);
    }
    const TimingStore store;
    QString kept;
    if (store.List(document.Language()).empty())
        store.Keep(check, kept);
    if (TimingCheckWindow* view = kept.isEmpty() ? nullptr : views.OpenTimingCheck(kept)) {
        Save(view, folder, "view-timing-check");
        view->close();
    } else if (TimingCheckWindow* view = views.ShowTimingCheck()) {
        view->ShowCheck(check, QString());
        Save(view, folder, "view-timing-check");
    }
}

// Lets the window run until `done` holds, or for `ms` at most.
template <class Condition> void RunUntil(Condition done, int ms) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < ms) {
        QEventLoop wait;
        QTimer::singleShot(50, &wait, &QEventLoop::quit);
        wait.exec();
    }
}

} // namespace

void StartViewScreenshots(DataLogRecorder& recorder, const QString& folder) {
    QDir().mkpath(folder);
    recorder.Start(LogPath(folder));
}

void TakeViewScreenshots(QWidget& window, Document& document, ViewManager& views,
                         DataLogRecorder& recorder, const QString& folder) {
    Save(views.ShowAdvanceCurves(), folder, "view-advance-curves");
    // The dashboard greys its figures until a frame has come since it opened.
    if (DashboardWindow* dashboard = views.ShowDashboard()) {
        dashboard->resize(1000, 625);
        RunUntil([dashboard] { return !dashboard->Greyed(); }, 3000);
        Save(dashboard, folder, "view-dashboard");
        dashboard->close();
    }
    recorder.Stop();
    if (LogChartWindow* log = views.OpenDataLog(LogPath(folder))) {
        log->SetCursorRow(static_cast<int>(log->Log().Rows()) * 2 / 3);
        Save(log, folder, "view-data-log");
    }
    // The map in 3D with a block selected in the table, where there is
    // OpenGL to draw it.
    if (Map3DWindow::OpenGLAvailable()) {
        MapTableWindow* table = views.ShowMapTable();
        const int rows = document.Image()[field::mapUsesTps] != 0 ? 10 : 1;
        table->SelectCells(rows > 1 ? 6 : 0, 3, rows - 1, 5);
        if (Map3DWindow* map = views.ShowMap3D()) {
            map->show();
            // Long enough for the live marker to be placed.
            QEventLoop wait;
            QTimer::singleShot(600, &wait, &QEventLoop::quit);
            wait.exec();
            map->Picture().save(folder + "/view-map-3d.png");
        }
        table->close();
    }
    if (LogPlaybackWindow* playback = views.PlayDataLog(LogPath(folder))) {
        auto* position = playback->findChild<QSlider*>("SliderPosition");
        position->setValue(position->maximum() / 2);
        Save(playback, folder, "view-playback");
        playback->close();
    }
    // A copy of the parameters with a few map cells and the limiter changed.
    ParameterImage changed = document.Image();
    changed[field::limiterRpm] = static_cast<std::uint8_t>(changed[field::limiterRpm] + 5);
    for (std::size_t c = 3; c < 6; ++c)
        changed[MapCell(kMapRows - 1, c)] =
            static_cast<std::uint8_t>(changed[MapCell(kMapRows - 1, c)] + 2);
    const QString ign = folder + "/view-compare.ign";
    {
        std::ofstream out(ign.toStdString(), std::ios::binary);
        WriteParameterFile(out, changed);
    }
    if (CompareWindow* compare = views.CompareWithFile(ign)) {
        Save(compare, folder, "view-compare");
        auto* pages = window.findChild<QTabWidget*>("PageControl1");
        pages->setCurrentWidget(window.findChild<QWidget*>("TabSheetAdvance"));
        QApplication::processEvents();
        window.grab().save(folder + "/view-compare-outlines.png");
        compare->close();
    }
    // An empty history (the screenshot script's own) gets a day's work, so
    // that the picture shows what a user sees; a user's history is left alone.
    HistoryStore store;
    if (store.List().points.empty()) {
        const std::int64_t now = QDateTime::currentMSecsSinceEpoch();
        const RestoreDetails unit{"ORN12", " 7. 5.2009", {}}; // as the emulated unit says
        store.Add(changed, RestoreKind::BeforeProgram, unit, now - 3'600'000);
        store.Add(document.Image(), RestoreKind::Programmed, unit, now - 3'590'000);
        store.Add(changed, RestoreKind::Saved, {{}, {}, ign.toStdString()}, now - 60'000);
    }
    ShootTimingCheck(document, views, folder);
    Save(views.ShowHistory(), folder, "view-history");

    // Two rides of the emulated engine, the second on a map nearer its best
    // advance, compared on the Pulls tab and listed in the Rides view; a
    // user's rides are left alone.
    const QString rides = views.RidesFolder();
    if (!rides.isEmpty() && QDir(rides).entryList({"*.csv"}, QDir::Files).isEmpty()) {
        QDir().mkpath(rides);
        ParameterImage better = document.Image();
        for (std::size_t c = 0; c < kAxisPoints; ++c)
            for (std::size_t r = 0; r < kMapRows; ++r)
                better[MapCell(r, c)] = static_cast<std::uint8_t>(
                    std::lround(RideModel::BestAdvance(better[field::mapRpm + c] * 100.0)));
        const long long now = QDateTime::currentMSecsSinceEpoch();
        const QString first =
            rides + "/ride-" +
            QDateTime::fromMSecsSinceEpoch(now - 7'200'000).toString("yyyyMMdd-HHmmss") + ".csv";
        const QString second =
            rides + "/ride-" +
            QDateTime::fromMSecsSinceEpoch(now - 3'600'000).toString("yyyyMMdd-HHmmss") + ".csv";
        WriteRide(first, document.Image(), now - 7'200'000);
        WriteRide(second, better, now - 3'600'000);
        WriteWholeFile(RidesWindow::NotePath(second), "map nearer the best advance\n");
    }
    const QStringList found = QDir(rides).entryList({"*.csv"}, QDir::Files, QDir::Name);
    if (found.size() >= 2) {
        if (LogChartWindow* log = views.OpenDataLog(rides + "/" + found[0])) {
            views.AddToPulls(log, rides + "/" + found[1]);
            // First gear against first gear, as a tuner would compare.
            QComboBox* gear = log->Pulls()->GearChooser();
            gear->setCurrentIndex(std::max(0, gear->findData(1)));
            Save(log, folder, "view-pulls");
            log->close();
        }
    }
    Save(views.ShowRides(), folder, "view-rides");
}

} // namespace orna5
