#include "app/ViewManager.h"

#include "app/Document.h"
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
#include "disk/WholeFile.h"
#include "files/BoundedFile.h"
#include "files/ProfileFile.h"
#include "lang/RideTexts.h"
#include "lang/TimingTexts.h"
#include "lang/ViewTexts.h"
#include "params/NormaliseImage.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace orna5 {

namespace {

// A message about a file, with the file below it.
QString WithPath(const QString& text, const QString& path) {
    return text + "\n\n" + QDir::toNativeSeparators(path);
}

// Where a view sits when it is not full screen: a screen's size is no place
// to come back to.
QRect PlaceOf(const QWidget& view) {
    return view.isFullScreen() ? view.normalGeometry() : view.geometry();
}

} // namespace

ViewManager::ViewManager(Document& doc, ProfileFile& settingsFile, MessageSink sink)
    : QObject(&doc), document(doc), settings(settingsFile), showMessage(std::move(sink)) {}

template <class View> View* ViewManager::Single() const {
    for (const OpenView& open : views)
        if (auto* view = qobject_cast<View*>(open.view.data()))
            return view;
    return nullptr;
}

AdvanceCurvesWindow* ViewManager::ShowAdvanceCurves() {
    AdvanceCurvesWindow* curves = Single<AdvanceCurvesWindow>();
    if (!curves) {
        curves = new AdvanceCurvesWindow(document);
        Open(curves, AdvanceCurvesWindow::kSettingsSection);
    }
    curves->ShowImage();
    curves->ShowLive();
    Present(curves);
    return curves;
}

MapTableWindow* ViewManager::ShowMapTable() {
    MapTableWindow* table = Single<MapTableWindow>();
    if (!table) {
        table = new MapTableWindow(document);
        connect(table, &MapTableWindow::SelectionChanged, this, &ViewManager::ShowSelectionIn3D);
        Open(table, MapTableWindow::kSettingsSection);
        ShowSelectionIn3D();
    }
    Present(table);
    return table;
}

Map3DWindow* ViewManager::ShowMap3D() {
    Map3DWindow* map = Single<Map3DWindow>();
    if (!map) {
        if (!Map3DWindow::OpenGLAvailable()) {
            showMessage(QString::fromStdString(TextIn(ViewText::NeedsOpenGL, document.Language())),
                        "NoOpenGLBox");
            return nullptr;
        }
        map = new Map3DWindow(document);
        Open(map, Map3DWindow::kSettingsSection);
        ShowSelectionIn3D();
    }
    Present(map);
    return map;
}

void ViewManager::ShowSelectionIn3D() {
    Map3DWindow* map = Single<Map3DWindow>();
    if (!map)
        return;
    const MapTableWindow* table = Single<MapTableWindow>();
    map->SetHighlight(table ? std::optional(table->SelectedBlock()) : std::nullopt);
}

CompareWindow* ViewManager::CompareWithFile(const QString& path) {
    // The file as File > Open would leave the image: read over the form's
    // parameters (a key the file lacks keeps the form's value), then
    // normalised. Only a copy is read into.
    ParameterImage fileImage = document.Image();
    const LoadOutcome outcome = LoadParameterFile(
        QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString(), fileImage);
    if (outcome.status != LoadStatus::Loaded) {
        showMessage(LoadFailureText(outcome, path, document.Language()),
                    outcome.status == LoadStatus::UnmatchedVersion ? "UnmatchedFileVersionBox"
                                                                   : "OpenFileErrorBox");
        return nullptr;
    }
    NormaliseImage(fileImage);
    return CompareWith(CompareSubject::Of(CompareSubject::Kind::File, [path](int) { return path; }),
                       fileImage);
}

CompareWindow* ViewManager::CompareWith(CompareSubject subject, const ParameterImage& other) {
    if (CompareWindow* previous = Single<CompareWindow>())
        previous->close(); // one comparison at a time: its outlines go with it
    auto* compare = new CompareWindow(document, std::move(subject), other);
    Open(compare, CompareWindow::kSettingsSection);
    return compare;
}

// A Verify checks the reserved bytes, so they are compared whatever the
// window's came from; a page the unit never sent is not.
CompareWindow* ViewManager::ShowVerifyDifferences() {
    if (document.VerifyDifferences().empty())
        return nullptr;
    CompareSubject subject = CompareSubject::Of(CompareSubject::Kind::Unit);
    const std::array<bool, 2> seen = document.VerifyPagesSeen();
    subject.scope.reservedBytes = true;
    subject.scope.page1 = seen[0];
    subject.scope.page2 = seen[1];
    return CompareWith(std::move(subject), document.VerifyUnitImage());
}

HistoryWindow* ViewManager::ShowHistory() {
    HistoryWindow* history = Single<HistoryWindow>();
    if (!history) {
        history = new HistoryWindow(document, *historyWriter, showMessage);
        connect(history, &HistoryWindow::CompareRequested, this,
                [this](const ParameterImage& image, const RestorePoint& point) {
                    CompareSubject subject = CompareSubject::Of(
                        CompareSubject::Kind::RestorePoint, [point](int language) {
                            return QString::fromStdString(TextIn(ViewText::PointName, language))
                                .arg(HistoryWindow::PointLabel(point, language));
                        });
                    // Reserved bytes the window did not get from a unit would
                    // differ from a point's only by where they came from.
                    subject.scope.reservedBytes = document.WindowHoldsUnitBytes();
                    CompareWith(std::move(subject), image);
                });
        connect(history, &HistoryWindow::VerifyDifferencesRequested, this,
                [this] { ShowVerifyDifferences(); });
        connect(history, &HistoryWindow::TimingCheckRequested, this,
                [this](const QString& path, bool print) {
                    if (TimingCheckWindow* opened = OpenTimingCheck(path); opened && print)
                        opened->Print();
                });
        Open(history, HistoryWindow::kSettingsSection);
    } else {
        history->Refresh();
    }
    Present(history);
    return history;
}

void ViewManager::HistoryChanged() {
    if (HistoryWindow* history = Single<HistoryWindow>())
        history->Refresh();
}

std::optional<MonitorLog> ViewManager::ReadDataLog(const QString& path) {
    const int language = document.Language();
    // Streamed: memory grows with the rows kept, never with the file.
    MonitorLog log;
    BoundedRead read;
    const bool isLog = ReadMonitorLogFile(
        QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString(), log, read);
    if (!read.Ok()) {
        showMessage(OpenFileErrorText(path, ReadFaultText(read, language), language),
                    "OpenFileErrorBox");
        return std::nullopt;
    }
    const auto text = [language](ViewText id) {
        return QString::fromStdString(TextIn(id, language));
    };
    if (!isLog) {
        showMessage(WithPath(text(ViewText::NotALog), path), "NotALogBox");
        return std::nullopt;
    }
    if (log.Rows() == 0) {
        showMessage(WithPath(text(ViewText::LogEmpty), path), "LogEmptyBox");
        return std::nullopt;
    }
    return log;
}

LogChartWindow* ViewManager::OpenDataLog(const QString& path) {
    std::optional<MonitorLog> log = ReadDataLog(path);
    if (!log)
        return nullptr;
    auto* chart = new LogChartWindow(document, path, std::move(*log));
    QPointer<LogChartWindow> viewer(chart);
    connect(chart->Pulls(), &PullsPane::AddLogChosen, this,
            [this, viewer](const QString& added) { AddToPulls(viewer, added); });
    connect(chart->Pulls(), &PullsPane::CompareMapRequested, this,
            [this](const QString& logPath, const ParameterImage& logImage) {
                CompareWith(CompareSubject::Of(CompareSubject::Kind::File,
                                               [logPath](int) { return logPath; }),
                            logImage);
            });
    Open(chart, LogChartWindow::kSettingsSection);
    return chart;
}

bool ViewManager::AddToPulls(LogChartWindow* viewer, const QString& path) {
    if (!viewer)
        return false;
    // A log compared with itself, or one more than the tab compares, would
    // otherwise come to nothing without a word.
    PullsPane* pane = viewer->Pulls();
    const int language = document.Language();
    const bool twice = pane->Compares(path);
    if (twice || pane->Full()) {
        showMessage(twice ? QString::fromStdString(TextIn(RideText::AlreadyCompared, language))
                                .arg(QDir::toNativeSeparators(path))
                          : QString::fromStdString(TextIn(RideText::PullsFull, language))
                                .arg(PullsPane::kMostLogs)
                                .arg(QDir::toNativeSeparators(path)),
                    twice ? "PullLogTwiceBox" : "PullsFullBox");
        viewer->ShowPulls();
        Present(viewer);
        return false;
    }
    std::optional<MonitorLog> log = ReadDataLog(path);
    if (!log)
        return false;
    const bool added = viewer->Pulls()->AddLog(path, *log);
    viewer->ShowPulls();
    Present(viewer);
    return added;
}

RidesWindow* ViewManager::ShowRides() {
    RidesWindow* rides = Single<RidesWindow>();
    if (!rides) {
        rides = new RidesWindow(document, ridesFolder, showMessage);
        connect(rides, &RidesWindow::OpenRequested, this,
                [this](const QString& path) { OpenDataLog(path); });
        // Into the log viewer opened last; with none open, the ride opens in
        // one of its own on its Pulls tab.
        connect(rides, &RidesWindow::AddToPullsRequested, this, [this](const QString& path) {
            for (auto open = views.rbegin(); open != views.rend(); ++open)
                if (auto* viewer = qobject_cast<LogChartWindow*>(open->view.data())) {
                    AddToPulls(viewer, path);
                    return;
                }
            if (LogChartWindow* viewer = OpenDataLog(path))
                viewer->ShowPulls();
        });
        Open(rides, RidesWindow::kSettingsSection);
    } else {
        rides->Refresh();
    }
    Present(rides);
    return rides;
}

void ViewManager::RidesChanged() {
    if (RidesWindow* rides = Single<RidesWindow>())
        rides->Refresh();
}

LogPlaybackWindow* ViewManager::PlayDataLog(const QString& path) {
    std::optional<MonitorLog> log = ReadDataLog(path);
    if (!log)
        return nullptr;
    // One log plays at a time: the one before stops and lets the port go.
    if (LogPlaybackWindow* previous = Single<LogPlaybackWindow>())
        previous->close();
    auto* playback = new LogPlaybackWindow(document, path, std::move(*log));
    connect(playback, &LogPlaybackWindow::CompareRequested, this,
            [this](const QString& logPath, const ParameterImage& logImage) {
                CompareWith(CompareSubject::Of(CompareSubject::Kind::File,
                                               [logPath](int) { return logPath; }),
                            logImage);
            });
    Open(playback, LogPlaybackWindow::kSettingsSection);
    return playback;
}

TimingCheckWindow* ViewManager::ShowTimingCheck() {
    if (!timingCheck) {
        timingCheck = new TimingCheckWindow(document, showMessage);
        connect(timingCheck, &TimingCheckWindow::Kept, this, &ViewManager::HistoryChanged);
        Open(timingCheck, TimingCheckWindow::kSettingsSection);
    }
    Present(timingCheck);
    return timingCheck;
}

TimingCheckWindow* ViewManager::OpenTimingCheck(const QString& path) {
    // A check already open is shown where it is, with what was typed since:
    // a second window on the same file would keep over the first one's
    // readings.
    const QString canonical = QFileInfo(path).canonicalFilePath();
    for (const OpenView& open : views) {
        auto* view = qobject_cast<TimingCheckWindow*>(open.view.data());
        if (view && !view->Path().isEmpty() && !canonical.isEmpty() &&
            QFileInfo(view->Path()).canonicalFilePath() == canonical) {
            Present(view);
            return view;
        }
    }
    TimingCheck check;
    QString reason;
    if (!TimingStore::Load(path, check, document.Language(), &reason)) {
        showMessage(QString::fromStdString(TextIn(TimingText::ReadFailed, document.Language()))
                        .arg(QDir::toNativeSeparators(path), reason),
                    "OpenFileErrorBox");
        return nullptr;
    }
    auto* view = new TimingCheckWindow(document, showMessage);
    view->ShowCheck(check, path);
    connect(view, &TimingCheckWindow::Kept, this, &ViewManager::HistoryChanged);
    Open(view, TimingCheckWindow::kSettingsSection);
    Present(view);
    return view;
}

DashboardWindow* ViewManager::ShowDashboard() {
    DashboardWindow* dashboard = Single<DashboardWindow>();
    if (!dashboard) {
        if (!dashboardChoices)
            dashboardChoices = DashboardChoices::Read(settings);
        dashboard = new DashboardWindow(document, *dashboardChoices);
        connect(dashboard, &DashboardWindow::ChoicesChanged, this,
                [this](const DashboardChoices& chosen) { dashboardChoices = chosen; });
        Open(dashboard, DashboardWindow::kSettingsSection);
    }
    Present(dashboard);
    return dashboard;
}

// Every view lives from here until it is closed; closing keeps its place.
void ViewManager::Open(QWidget* view, const QString& section) {
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->installEventFilter(this);
    views.push_back({view, section});
    Restore(view, section);
    view->show();
}

// A view asked for again comes to the front.
void ViewManager::Present(QWidget* view) {
    view->show();
    view->raise();
    view->activateWindow();
}

bool ViewManager::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close) {
        // Forgotten at once: the view is deleted later, and a view asked for
        // again before that is a new one.
        const auto closing =
            std::find_if(views.begin(), views.end(),
                         [watched](const OpenView& open) { return open.view == watched; });
        if (closing != views.end()) {
            geometry.insert(closing->section, PlaceOf(*closing->view));
            views.erase(closing);
            ShowSelectionIn3D();
        }
    }
    return QObject::eventFilter(watched, event);
}

void ViewManager::Restore(QWidget* view, const QString& section) {
    QRect rect = geometry.value(section);
    if (!rect.isValid()) {
        const std::string name = section.toStdString();
        rect =
            QRect(settings.ReadInteger(name, "Left", 0), settings.ReadInteger(name, "Top", 0),
                  settings.ReadInteger(name, "Width", 0), settings.ReadInteger(name, "Height", 0));
    }
    if (rect.width() < 200 || rect.height() < 150) {
        if (const QWidget* window = document.ViewParent())
            view->move(window->geometry().center() - view->rect().center());
        return;
    }
    // A place on a screen that is gone would hide the view.
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(rect)) {
            view->setGeometry(rect);
            return;
        }
    view->resize(rect.size());
}

void ViewManager::SaveSettings() {
    for (const OpenView& open : views)
        if (open.view && open.view->isVisible())
            geometry.insert(open.section, PlaceOf(*open.view));
    if (dashboardChoices)
        dashboardChoices->Write(settings);
    for (auto kept = geometry.cbegin(); kept != geometry.cend(); ++kept) {
        const std::string section = kept.key().toStdString();
        const QRect& rect = kept.value();
        settings.WriteInteger(section, "Left", rect.x());
        settings.WriteInteger(section, "Top", rect.y());
        settings.WriteInteger(section, "Width", rect.width());
        settings.WriteInteger(section, "Height", rect.height());
    }
}

} // namespace orna5
