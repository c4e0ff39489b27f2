#include "app/DataLogRecorder.h"

#include "app/Document.h"
#include "device/DeviceSession.h"
#include "lang/Messages.h"
#include "lang/ViewTexts.h"

#include <QAction>

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>
#include <algorithm>

namespace orna5 {

QString ClockDuration(qint64 ms) {
    const qint64 s = ms / 1000;
    return s >= 3600 ? QString("%1:%2:%3")
                           .arg(s / 3600)
                           .arg(s / 60 % 60, 2, 10, QChar('0'))
                           .arg(s % 60, 2, 10, QChar('0'))
                     : QString("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QChar('0'));
}

DataLogRecorder::DataLogRecorder(Document& doc, Links recorderLinks)
    : QObject(&doc), document(doc), links(std::move(recorderLinks)) {
    label = new QLabel(&links.statusBar);
    label->setObjectName("LabelDataLog");
    label->setContentsMargins(6, 0, 6, 0);
    label->hide();
    links.statusBar.addPermanentWidget(label);
    connect(&document, &Document::TickDone, this, &DataLogRecorder::Tick);
    connect(&document, &Document::FrameAccepted, this, &DataLogRecorder::Frame);
    connect(&document, &Document::LanguageChanged, this, &DataLogRecorder::ShowState);
}

bool DataLogRecorder::Start(const QString& path) {
    Stop();
    const std::string& unit = document.UnitVersion();
    const QString file = links.loadedFile();
    if (!writer.Open(path.toStdString(),
                     MakeLogHeader(document.Image(), unit, file.toStdString()))) {
        links.showMessage(QString::fromStdString(TextIn(Msg::OpenFileError, document.Language())) +
                              "\n\n" + QDir::toNativeSeparators(path),
                          "OpenFileErrorBox");
        ShowState();
        return false;
    }
    clock.start();
    namesUnit = !unit.empty();
    mapInLog = document.Image();
    ShowState();
    return true;
}

// Also while a log plays back: the played rows are not the unit, but a
// Program that passed then did change what the unit runs on, and the rows
// recorded once the playback ends ran on it.
void DataLogRecorder::UnitRuns(const ParameterImage& image) {
    if (!writer.IsOpen())
        return;
    if (std::equal(image.begin(), image.begin() + kTransferSize, mapInLog.begin()))
        return;
    if (!writer.AppendMap(image)) {
        WriteFailed();
        return;
    }
    mapInLog = image;
}

// A log that cannot take a line is closed (what it holds stays readable) and
// the user is told.
void DataLogRecorder::WriteFailed() {
    const QString note =
        QString::fromStdString(TextIn(ViewText::LogWriteError, document.Language()))
            .arg(QDir::toNativeSeparators(QString::fromStdString(writer.Path())));
    writer.Close();
    ShowState();
    links.showMessage(note, "LogWriteErrorBox");
}

void DataLogRecorder::Stop() {
    if (!writer.IsOpen())
        return;
    const QString path = QString::fromStdString(writer.Path());
    writer.Close();
    links.statusBar.showMessage(
        QString::fromStdString(TextIn(ViewText::LogSaved, document.Language()))
            .arg(QDir::toNativeSeparators(path)),
        15000);
    ShowState();
}

// Every accepted frame becomes a row; a silent unit simply adds none until
// it speaks again. A port that has gone ends the log, closed and complete.
void DataLogRecorder::Tick(bool) {
    if (!writer.IsOpen())
        return;
    const auto text = [this](ViewText id) {
        return QString::fromStdString(TextIn(id, document.Language()))
            .arg(QDir::toNativeSeparators(QString::fromStdString(writer.Path())));
    };
    if (links.portLost()) {
        const QString note = text(ViewText::LogStoppedPortLost);
        writer.Close();
        links.statusBar.showMessage(note);
        ShowState();
        return;
    }
    NameUnit();
    ShowState();
}

void DataLogRecorder::NameUnit() {
    const std::string& unit = document.UnitVersion();
    if (!namesUnit && !unit.empty())
        namesUnit = writer.AppendUnitVersion(unit);
}

// Every frame is a row, also those that come between ticks at the Fast rate.
void DataLogRecorder::Frame() {
    // A log played back is not the engine running now.
    if (!writer.IsOpen() || document.Playing() || links.portLost())
        return;
    NameUnit();
    if (!writer.Append(links.session.LastMonitorFrame().data()))
        WriteFailed();
}

void DataLogRecorder::ShowState() {
    const bool on = writer.IsOpen();
    links.recordItem.setChecked(on);
    label->setVisible(on);
    if (!on)
        return;
    const QString path = QString::fromStdString(writer.Path());
    const QString text = QString::fromUtf8("\u25cf ") +
                         QString::fromStdString(TextIn(ViewText::Recording, document.Language()))
                             .arg(ClockDuration(clock.elapsed()))
                             .arg(writer.Rows())
                             .arg(QFileInfo(path).fileName());
    if (label->text() != text)
        label->setText(text);
    label->setToolTip(QDir::toNativeSeparators(path));
}

} // namespace orna5
