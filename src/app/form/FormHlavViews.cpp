// The View menu and File > Compare with...: the commands that open the views
// beyond the form (through the view manager) and record a data log.

#include "app/DataLogRecorder.h"
#include "app/Document.h"
#include "app/FileDialog.h"
#include "app/HistoryKeeper.h"
#include "app/LiveRateControl.h"
#include "app/PortControl.h"
#include "app/RideRecorder.h"
#include "app/ViewManager.h"
#include "app/form/FormHlav.h"
#include "app/views/RpmAxisDialog.h"
#include "device/DeviceSession.h"
#include "device/SerialLink.h"
#include "lang/ViewTexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>

namespace orna5 {

namespace {

QString Text(ViewText id, int language) {
    return QString::fromStdString(TextIn(id, language));
}

// One kind of file, then all files.
QStringList Filters(ViewText kind, int language) {
    return {Text(kind, language), Text(ViewText::AllFilesFilter, language)};
}

} // namespace

// Logs go beside the parameter files the user works with.
QString TFormHlav::LogFolder() const {
    return lastFilePath.isEmpty() ? QDir::homePath() : QFileInfo(lastFilePath).absolutePath();
}

void TFormHlav::CreateViews() {
    connect(MenuMapTable, &QAction::triggered, this, [this] { views->ShowMapTable(); });
    QAction* curves = MakeAction(MenuView, "MenuAdvanceCurves", "Advance &curves");
    connect(curves, &QAction::triggered, this, [this] { views->ShowAdvanceCurves(); });
    QAction* map3d = MakeAction(MenuView, "MenuMap3D", "Map in &3D");
    connect(map3d, &QAction::triggered, this, [this] { views->ShowMap3D(); });
    QAction* dashboard = MakeAction(MenuView, "MenuDashboard", "&Dashboard");
    connect(dashboard, &QAction::triggered, this, [this] { views->ShowDashboard(); });
    connect(BitBtnServoRpm, &QPushButton::clicked, this,
            [this] { OpenRpmAxisDialog(*document, RpmAxisDialog::Axis::Servo, this); });
    MenuView->addSeparator();
    QAction* record = MakeAction(MenuView, "MenuRecordLog", "&Record data log");
    record->setCheckable(true);
    connect(record, &QAction::triggered, this, [this, record](bool on) {
        if (!on) {
            recorder->Stop();
            return;
        }
        record->setChecked(false); // until the file is open
        const QString suggested = LogFolder() + "/orna5-" +
                                  QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss") + ".csv";
        const QString path = ChooseFile(this, {"SaveLogDialog",
                                               record->text().remove('&'),
                                               QFileDialog::AcceptSave,
                                               Filters(ViewText::LogFilter, languageIndex),
                                               {},
                                               suggested});
        if (!path.isEmpty())
            recorder->Start(path);
    });
    QAction* open = MakeAction(MenuView, "MenuOpenLog", "&Open data log...");
    connect(open, &QAction::triggered, this, [this, open] {
        const QString path = ChooseFile(this, {"OpenLogDialog",
                                               open->text().remove('&'),
                                               QFileDialog::AcceptOpen,
                                               Filters(ViewText::LogFilter, languageIndex),
                                               {},
                                               LogFolder()});
        if (!path.isEmpty())
            views->OpenDataLog(path);
    });
    QAction* play = MakeAction(MenuView, "MenuPlayLog", "&Play data log...");
    connect(play, &QAction::triggered, this, [this, play] {
        const QString path = ChooseFile(this, {"PlayLogDialog",
                                               play->text().remove('&'),
                                               QFileDialog::AcceptOpen,
                                               Filters(ViewText::LogFilter, languageIndex),
                                               {},
                                               LogFolder()});
        if (!path.isEmpty())
            views->PlayDataLog(path);
    });

    // File > Compare with... sits after Open, which it resembles.
    auto* compare = Add(new QAction("Compare &with...", this), "MenuCompare");
    const QList<QAction*> items = MenuFile->actions();
    const int openAt = items.indexOf(MenuOpen);
    MenuFile->insertAction(items.value(openAt + 1), compare);
    connect(compare, &QAction::triggered, this, [this, compare] {
        const QString path = ChooseFile(this, {"CompareDialog",
                                               compare->text().remove('&'),
                                               QFileDialog::AcceptOpen,
                                               Filters(ViewText::ParameterFilter, languageIndex),
                                               {},
                                               lastFilePath});
        if (!path.isEmpty())
            views->CompareWithFile(path);
    });

    // Beside the restore points, the other thing the window does by itself.
    MenuRecordRides = MakeAction(MenuTools, "MenuRecordRides", "Record rides by themselves");
    rides = new RideRecorder(
        *document, settingsFile,
        {*session, *MenuRecordRides, *statusBar(), [this] { return LabelFile2->text(); },
         [this](const QString& text, const QString& name) { ShowMessage(text, name); }});
    QAction* timing = MakeAction(MenuTools, "MenuTimingCheck", "Timing light check…");
    connect(timing, &QAction::triggered, this, [this] { views->ShowTimingCheck(); });
    liveRate = new LiveRateControl(this, settingsFile, {*session, *MenuTools, *statusBar()});
    history = new HistoryKeeper(
        *document, settingsFile,
        {*session, *MenuKeepRestorePoint, *statusBar(), [this] { return LabelFile2->text(); }});
    QAction* historyItem = MakeAction(MenuView, "MenuHistory", "&History");
    views->UseHistory(history->Writer());
    connect(historyItem, &QAction::triggered, this, [this] { views->ShowHistory(); });
    connect(history, &HistoryKeeper::Kept, views, &ViewManager::HistoryChanged);
    MenuRides = MakeAction(MenuView, "MenuRides", "R&ides");
    views->UseRides(rides->Folder());
    connect(MenuRides, &QAction::triggered, this, [this] { views->ShowRides(); });
    connect(rides, &RideRecorder::RideSaved, views, &ViewManager::RidesChanged);
    connect(ButtonWhatDiffers, &QAbstractButton::clicked, this,
            [this] { views->ShowVerifyDifferences(); });

    recorder = new DataLogRecorder(
        *document, {*session, *record, *statusBar(), [this] { return port->Link().Lost(); },
                    [this] { return LabelFile2->text(); },
                    [this](const QString& text, const QString& name) { ShowMessage(text, name); }});
}

bool TFormHlav::CanUndoEdit() const {
    return undoHistory.CanUndo();
}

bool TFormHlav::CanRedoEdit() const {
    return undoHistory.CanRedo();
}

void TFormHlav::UndoEdit() {
    SpeedButtonZpetClick();
}

void TFormHlav::RedoEdit() {
    SpeedButtonZnovuClick();
}

QStatusBar* TFormHlav::StatusBar() {
    return statusBar();
}

QWidget* TFormHlav::MapControl(std::size_t offset) {
    const std::size_t cells = kMapRows * kAxisPoints;
    if (offset >= field::advanceMap && offset < field::advanceMap + cells)
        return MapEdits[offset - field::advanceMap];
    if (offset >= field::mapRpm && offset < field::mapRpm + kAxisPoints)
        return MapRpmEdits[offset - field::mapRpm];
    return nullptr;
}

} // namespace orna5
