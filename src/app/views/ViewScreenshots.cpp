#include "app/views/ViewScreenshots.h"

#include "app/DataLogRecorder.h"
#include "app/Document.h"
#include "app/ViewManager.h"
#include "app/views/AdvanceCurvesWindow.h"
#include "app/views/CompareWindow.h"
#include "app/views/HistoryWindow.h"
#include "app/views/LogChartWindow.h"
#include "app/views/LogPlaybackWindow.h"
#include "app/views/Map3DWindow.h"
#include "app/views/MapTableWindow.h"
#include "disk/HistoryStore.h"
#include "files/ParameterFile.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>

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

} // namespace

void StartViewScreenshots(DataLogRecorder& recorder, const QString& folder) {
    QDir().mkpath(folder);
    recorder.Start(LogPath(folder));
}

void TakeViewScreenshots(QWidget& window, Document& document, ViewManager& views,
                         DataLogRecorder& recorder, const QString& folder) {
    Save(views.ShowAdvanceCurves(), folder, "view-advance-curves");
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
    Save(views.ShowHistory(), folder, "view-history");
}

} // namespace orna5
