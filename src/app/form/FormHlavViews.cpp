// The views beyond the form: the advance curves, the data log (recorded
// from the live frames and played back as a chart) and the comparison with
// a parameter file. They read the image and the live values; none of them
// changes the image.

#include "app/FileDialog.h"
#include "app/form/FormHlav.h"
#include "app/views/AdvanceCurvesWindow.h"
#include "app/views/CompareWindow.h"
#include "app/views/LogChartWindow.h"
#include "device/DeviceSession.h"
#include "device/SerialLink.h"
#include "disk/WholeFile.h"
#include "files/BoundedFile.h"
#include "lang/Messages.h"
#include "lang/ViewTexts.h"
#include "params/NormaliseImage.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

namespace orna5 {

namespace {

QString Text(ViewText id, int language) {
    return QString::fromStdString(ViewTextIn(id, language));
}

// One kind of file, then all files.
QStringList Filters(ViewText kind, int language) {
    return {Text(kind, language), Text(ViewText::AllFilesFilter, language)};
}

QString Message(Msg id, int language) {
    return QString::fromStdString(MessageText(id, language));
}

// A message about a file, with the file below it.
QString WithPath(const QString& text, const QString& path) {
    return text + "\n\n" + QDir::toNativeSeparators(path);
}

// "1:02:03" or "2:03".
QString Duration(qint64 ms) {
    const qint64 s = ms / 1000;
    return s >= 3600 ? QString("%1:%2:%3")
                           .arg(s / 3600)
                           .arg(s / 60 % 60, 2, 10, QChar('0'))
                           .arg(s % 60, 2, 10, QChar('0'))
                     : QString("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QChar('0'));
}

// A day of logging at three frames a second is about 25 MB; far more is not
// a data log of this program.
constexpr std::size_t kMaxLogBytes = 256u * 1024 * 1024;

const char* const kViewSections[] = {AdvanceCurvesWindow::kSettingsSection,
                                     LogChartWindow::kSettingsSection,
                                     CompareWindow::kSettingsSection};

} // namespace

// Logs go beside the parameter files the user works with.
QString TFormHlav::LogFolder() const {
    return lastFilePath.isEmpty() ? QDir::homePath() : QFileInfo(lastFilePath).absolutePath();
}

void TFormHlav::CreateViews() {
    QAction* curves = MakeAction(MenuView, "MenuAdvanceCurves", "Advance &curves");
    connect(curves, &QAction::triggered, this, [this] { ShowAdvanceCurves(); });
    MenuView->addSeparator();
    QAction* record = MakeAction(MenuView, "MenuRecordLog", "&Record data log");
    record->setCheckable(true);
    connect(record, &QAction::triggered, this, [this, record](bool on) {
        if (!on) {
            StopDataLog();
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
            StartDataLog(path);
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
            OpenDataLog(path);
    });

    // File > Compare with... sits after Open, which it resembles.
    auto* file = menuBar()->findChild<QMenu*>("MenuFile");
    auto* compare = new QAction("Compare &with...", this);
    compare->setObjectName("MenuCompare");
    actions.insert("MenuCompare", compare);
    const QList<QAction*> items = file->actions();
    const int openAt = items.indexOf(actions.value("MenuOpen"));
    file->insertAction(items.value(openAt + 1), compare);
    connect(compare, &QAction::triggered, this, [this, compare] {
        const QString path = ChooseFile(this, {"CompareDialog",
                                               compare->text().remove('&'),
                                               QFileDialog::AcceptOpen,
                                               Filters(ViewText::ParameterFilter, languageIndex),
                                               {},
                                               lastFilePath});
        if (!path.isEmpty())
            CompareWithFile(path);
    });

    auto* logLabel = new QLabel(this);
    logLabel->setObjectName("LabelDataLog");
    logLabel->setContentsMargins(6, 0, 6, 0);
    logLabel->hide();
    controls.insert("LabelDataLog", logLabel);
    statusBar()->addPermanentWidget(logLabel);

    connect(this, &TFormHlav::ImageShown, this, [this] {
        if (curvesWindow)
            curvesWindow->ShowImage();
        if (compareWindow)
            compareWindow->Refresh();
    });
    connect(this, &TFormHlav::TickDone, this, [this](bool monitorFrame) {
        if (curvesWindow && curvesWindow->isVisible())
            curvesWindow->ShowLive();
        DataLogTick(monitorFrame);
    });
}

void TFormHlav::ApplyViewLanguage() {
    if (curvesWindow)
        curvesWindow->ApplyLanguage();
    if (compareWindow)
        compareWindow->Refresh();
    for (LogChartWindow* chart :
         findChildren<LogChartWindow*>(QString(), Qt::FindDirectChildrenOnly))
        chart->ApplyLanguage();
    ShowDataLogState();
}

AdvanceCurvesWindow* TFormHlav::ShowAdvanceCurves() {
    if (!curvesWindow) {
        curvesWindow = new AdvanceCurvesWindow(*this);
        RestoreViewGeometry(curvesWindow, AdvanceCurvesWindow::kSettingsSection);
    }
    curvesWindow->ShowImage();
    curvesWindow->ShowLive();
    curvesWindow->show();
    curvesWindow->raise();
    curvesWindow->activateWindow();
    return curvesWindow;
}

CompareWindow* TFormHlav::CompareWithFile(const QString& path) {
    // The file as File > Open would leave the image: read over the form's
    // parameters (a key the file lacks keeps the form's value), then
    // normalised. Only a copy is read into.
    ParameterImage fileImage = image;
    const LoadOutcome outcome = LoadParameterFile(
        QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString(), fileImage);
    if (outcome.status != LoadStatus::Loaded) {
        ShowMessage(LoadFailureText(outcome, path, languageIndex),
                    outcome.status == LoadStatus::UnmatchedVersion ? "UnmatchedFileVersionBox"
                                                                   : "OpenFileErrorBox");
        return nullptr;
    }
    NormaliseImage(fileImage);
    if (compareWindow)
        compareWindow->close(); // one comparison at a time: its outlines go with it
    compareWindow = new CompareWindow(*this, path, fileImage);
    RestoreViewGeometry(compareWindow, CompareWindow::kSettingsSection);
    compareWindow->show();
    return compareWindow;
}

LogChartWindow* TFormHlav::OpenDataLog(const QString& path) {
    const BoundedRead read = ReadBoundedFile(
        QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString(), kMaxLogBytes);
    if (!read.Ok()) {
        ShowMessage(OpenFileErrorText(path, ReadFaultText(read, languageIndex), languageIndex),
                    "OpenFileErrorBox");
        return nullptr;
    }
    MonitorLog log;
    if (!ReadMonitorLog(std::string_view(read.bytes), log)) {
        ShowMessage(WithPath(Text(ViewText::NotALog, languageIndex), path), "NotALogBox");
        return nullptr;
    }
    if (log.Rows() == 0) {
        ShowMessage(WithPath(Text(ViewText::LogEmpty, languageIndex), path), "LogEmptyBox");
        return nullptr;
    }
    auto* chart = new LogChartWindow(*this, path, std::move(log));
    RestoreViewGeometry(chart, LogChartWindow::kSettingsSection);
    chart->show();
    return chart;
}

bool TFormHlav::StartDataLog(const QString& path) {
    StopDataLog();
    const std::string unit = session->UnitTexts().versionText;
    const QString file = Control<QLabel>("LabelFile2")->text();
    if (!logWriter.Open(path.toStdString(), MakeLogHeader(image, unit, file.toStdString()))) {
        ShowMessage(WithPath(Message(Msg::OpenFileError, languageIndex), path), "OpenFileErrorBox");
        ShowDataLogState();
        return false;
    }
    logClock.start();
    logNamesUnit = !unit.empty();
    ShowDataLogState();
    return true;
}

void TFormHlav::StopDataLog() {
    if (!logWriter.IsOpen())
        return;
    const QString path = QString::fromStdString(logWriter.Path());
    logWriter.Close();
    statusBar()->showMessage(
        Text(ViewText::LogSaved, languageIndex).arg(QDir::toNativeSeparators(path)), 15000);
    ShowDataLogState();
}

// Every accepted frame becomes a row; a silent unit simply adds none until
// it speaks again. A port that has gone ends the log, closed and complete.
void TFormHlav::DataLogTick(bool monitorFrame) {
    if (!logWriter.IsOpen())
        return;
    const auto path = [this] {
        return QDir::toNativeSeparators(QString::fromStdString(logWriter.Path()));
    };
    if (serialLink->Lost()) {
        logWriter.Close();
        statusBar()->showMessage(Text(ViewText::LogStoppedPortLost, languageIndex).arg(path()));
        ShowDataLogState();
        return;
    }
    const std::string& unit = session->UnitTexts().versionText;
    if (!logNamesUnit && !unit.empty())
        logNamesUnit = logWriter.AppendUnitVersion(unit);
    if (monitorFrame && !logWriter.Append(session->LastMonitorFrame().data())) {
        logWriter.Close();
        ShowDataLogState();
        ShowMessage(Text(ViewText::LogWriteError, languageIndex).arg(path()), "LogWriteErrorBox");
        return;
    }
    ShowDataLogState();
}

void TFormHlav::ShowDataLogState() {
    auto* label = Control<QLabel>("LabelDataLog");
    const bool on = logWriter.IsOpen();
    actions.value("MenuRecordLog")->setChecked(on);
    label->setVisible(on);
    if (!on)
        return;
    const QString path = QString::fromStdString(logWriter.Path());
    const QString text = QString::fromUtf8("\u25cf ") + Text(ViewText::Recording, languageIndex)
                                                            .arg(Duration(logClock.elapsed()))
                                                            .arg(logWriter.Rows())
                                                            .arg(QFileInfo(path).fileName());
    if (label->text() != text)
        label->setText(text);
    label->setToolTip(QDir::toNativeSeparators(path));
}

void TFormHlav::RestoreViewGeometry(QWidget* view, const QString& section) {
    QRect rect = viewGeometry.value(section);
    if (!rect.isValid()) {
        const std::string name = section.toStdString();
        const ProfileFile& s = settingsFile;
        rect = QRect(s.ReadInteger(name, "Left", 0), s.ReadInteger(name, "Top", 0),
                     s.ReadInteger(name, "Width", 0), s.ReadInteger(name, "Height", 0));
    }
    if (rect.width() < 200 || rect.height() < 150) {
        view->move(geometry().center() - view->rect().center());
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

void TFormHlav::KeepViewGeometry(QWidget* view, const QString& section) {
    viewGeometry.insert(section, view->geometry());
}

void TFormHlav::SaveViewSettings() {
    if (curvesWindow && curvesWindow->isVisible())
        KeepViewGeometry(curvesWindow, AdvanceCurvesWindow::kSettingsSection);
    if (compareWindow && compareWindow->isVisible())
        KeepViewGeometry(compareWindow, CompareWindow::kSettingsSection);
    for (LogChartWindow* chart :
         findChildren<LogChartWindow*>(QString(), Qt::FindDirectChildrenOnly))
        if (chart->isVisible())
            KeepViewGeometry(chart, LogChartWindow::kSettingsSection);
    for (const char* section : kViewSections) {
        const QRect rect = viewGeometry.value(section);
        if (!rect.isValid())
            continue;
        settingsFile.WriteInteger(section, "Left", rect.x());
        settingsFile.WriteInteger(section, "Top", rect.y());
        settingsFile.WriteInteger(section, "Width", rect.width());
        settingsFile.WriteInteger(section, "Height", rect.height());
    }
}

} // namespace orna5
