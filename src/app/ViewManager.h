#pragma once

#include "app/views/DashboardChoices.h"
#include "files/MonitorLog.h"
#include "params/ParameterImage.h"

#include <QMap>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace orna5 {

class AdvanceCurvesWindow;
class CompareWindow;
class DashboardWindow;
class Document;
class HistoryWindow;
class HistoryWriter;
struct CompareSubject;
struct ParameterImage;
class LogChartWindow;
class Map3DWindow;
class LogPlaybackWindow;
class MapTableWindow;
class ProfileFile;
class RidesWindow;
class TimingCheckWindow;

// The views beyond the form, opened from its menus. There is one way in:
// a view is a window of the form's, fed by the document only, placed where
// the user last left a view of its kind (orna5.ini, one section per kind),
// and deleted when it is closed. The advance curves, the map table and the
// 3D map open once: asked again, the open one comes to the front. The 3D
// map shows the map table's selection while both are open. A comparison
// and a log played back replace the one before; each data log opened is a
// window of its own.
class ViewManager : public QObject {
    Q_OBJECT
public:
    // Shows a message about a file the user chose, named for the tests.
    using MessageSink = std::function<void(const QString& text, const QString& name)>;

    ViewManager(Document& document, ProfileFile& settings, MessageSink showMessage);

    AdvanceCurvesWindow* ShowAdvanceCurves();
    MapTableWindow* ShowMapTable();
    // The map as a surface; null without OpenGL (the user was told).
    Map3DWindow* ShowMap3D();
    // A parameter file beside the form's image; null when it cannot be read
    // (the user was told).
    CompareWindow* CompareWithFile(const QString& path);
    // Another image beside the form's (a restore point, what the unit sent).
    CompareWindow* CompareWith(CompareSubject subject, const ParameterImage& other);
    // What the unit sent in the last Verify that failed beside the form's
    // image; null when no Verify left differences.
    CompareWindow* ShowVerifyDifferences();
    // The window's history, written through `writer`; before ShowHistory.
    void UseHistory(HistoryWriter& writer) { historyWriter = &writer; }
    // View > History, on the history UseHistory gave; it opens once.
    HistoryWindow* ShowHistory();
    // The history has changed: an open History view reads it again.
    void HistoryChanged();
    // A recorded data log played back; null when it cannot be read.
    LogChartWindow* OpenDataLog(const QString& path);
    // Another log into the Pulls tab of `viewer`, which comes to the front
    // on that tab; false when the log cannot be read, is compared already
    // or the tab compares as many logs as it can (the user is told which).
    bool AddToPulls(LogChartWindow* viewer, const QString& path);
    // View > Rides over the rides in `folder`; it opens once.
    void UseRides(const QString& folder) { ridesFolder = folder; }
    const QString& RidesFolder() const { return ridesFolder; }
    RidesWindow* ShowRides();
    // A ride was saved: an open Rides view reads the folder again.
    void RidesChanged();
    // A recorded data log played through the window; null when it cannot
    // be read. One plays at a time.
    LogPlaybackWindow* PlayDataLog(const QString& path);

    // Tools > Timing light check: the check being made; it opens once.
    TimingCheckWindow* ShowTimingCheck();
    // A kept check in a window of its own, beside the one being made; null
    // when it cannot be read (the user was told).
    TimingCheckWindow* OpenTimingCheck(const QString& path);
    // View > Dashboard; it opens once, with the readouts, look and style
    // chosen last (in this run, else in orna5.ini).
    DashboardWindow* ShowDashboard();

    // Writes the places of the views, open now or closed in this run, into
    // the settings.
    void SaveSettings();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct OpenView {
        QPointer<QWidget> view;
        QString section;
    };

    // The open view of a kind that opens once; null when none is open.
    template <class View> View* Single() const;
    // A data log from disk; nothing (the user was told) when it cannot be
    // read or has no rows.
    std::optional<MonitorLog> ReadDataLog(const QString& path);
    void Open(QWidget* view, const QString& section);
    void Present(QWidget* view);
    void Restore(QWidget* view, const QString& section);
    // The map table's selection on the 3D map, or none without a table.
    void ShowSelectionIn3D();

    Document& document;
    ProfileFile& settings;
    MessageSink showMessage;
    HistoryWriter* historyWriter = nullptr;
    QString ridesFolder;
    QPointer<TimingCheckWindow> timingCheck;
    std::vector<OpenView> views;
    QMap<QString, QRect> geometry;
    // The dashboard's choices once it has been opened in this run.
    std::optional<DashboardChoices> dashboardChoices;
};

} // namespace orna5
