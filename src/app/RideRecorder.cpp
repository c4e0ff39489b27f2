#include "app/RideRecorder.h"

#include "app/Document.h"
#include "device/DeviceSession.h"
#include "device/MonitorPanel.h"
#include "files/ProfileFile.h"
#include "lang/RideTexts.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QStandardPaths>
#include <QStatusBar>

#include <algorithm>

namespace orna5 {

namespace {

const char kOnKey[] = "RecordByThemselves";
const char kStartRpmKey[] = "StartRpm";

RideRule RuleOf(const ProfileFile& settings) {
    const int rpm = settings.ReadInteger(RideRecorder::kSettingsSection, kStartRpmKey,
                                         static_cast<int>(RideRule::kStartRpm));
    return RideRule(std::clamp(rpm, 500, 20000));
}

} // namespace

QString RideRecorder::DefaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/orna5/rides";
}

RideRecorder::RideRecorder(Document& doc, const ProfileFile& settings, Links recorderLinks,
                           QString rideFolder)
    : QObject(&doc), document(doc), links(std::move(recorderLinks)), folder(std::move(rideFolder)),
      rule(RuleOf(settings)) {
    clock.start();
    links.item.setCheckable(true);
    links.item.setChecked(settings.ReadInteger(kSettingsSection, kOnKey, 0) != 0);
    connect(&links.item, &QAction::toggled, this, [this](bool on) {
        if (!on)
            Stop();
    });
    label = new QLabel(&links.statusBar);
    label->setObjectName("LabelRide");
    label->setContentsMargins(6, 0, 6, 0);
    label->hide();
    links.statusBar.addPermanentWidget(label);
    connect(&document, &Document::FrameAccepted, this, &RideRecorder::Frame);
    connect(&document, &Document::TickDone, this, &RideRecorder::Tick);
    connect(&document, &Document::LanguageChanged, this, &RideRecorder::ShowState);
}

void RideRecorder::SaveSettings(ProfileFile& settings) const {
    settings.WriteInteger(kSettingsSection, kOnKey, links.item.isChecked() ? 1 : 0);
    settings.WriteInteger(kSettingsSection, kStartRpmKey, static_cast<int>(rule.StartRpm()));
}

double RideRecorder::Now() const {
    return static_cast<double>(clock.elapsed()) / 1000.0;
}

// A played log is not the engine running now, and with the item off no
// ride begins.
void RideRecorder::Frame() {
    if (!links.item.isChecked() || document.Playing())
        return;
    switch (rule.Frame(Now(), document.Values().liveRpm)) {
    case RideRule::Step::Start:
        Begin();
        break;
    case RideRule::Step::Stop:
        End();
        return;
    case RideRule::Step::Nothing:
        break;
    }
    if (!writer.IsOpen()) {
        const double now = Now();
        lead.push_back({links.session.LastMonitorFrame(), LogTimeNow(), now});
        while (now - lead.front().seconds > kLeadSeconds)
            lead.pop_front();
        return;
    }
    // A ride begun before the unit told its version names it when it does.
    const std::string& unit = document.UnitVersion();
    if (!namesUnit && !unit.empty())
        namesUnit = writer.AppendUnitVersion(unit);
    if (!writer.Append(links.session.LastMonitorFrame().data()))
        WriteFailed();
}

void RideRecorder::Tick() {
    if (rule.InRide() && rule.Tick(Now(), document.UnitAnswering()) == RideRule::Step::Stop)
        End();
    ShowState();
}

void RideRecorder::Begin() {
    const QString stamp = QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss");
    QDir().mkpath(folder);
    // The name is claimed by creating the file, so that another window
    // beginning a ride in the same second takes the next name instead of
    // writing over this one.
    QString path = folder + "/ride-" + stamp + ".csv";
    for (int n = 2; n < 100; ++n) {
        QFile claim(path);
        if (claim.open(QIODevice::WriteOnly | QIODevice::NewOnly) || !claim.exists())
            break; // claimed, or it cannot be made: the writer says why
        path = folder + QString("/ride-%1-%2.csv").arg(stamp).arg(n);
    }
    mapInLog = document.Image();
    namesUnit = !document.UnitVersion().empty();
    if (!writer.Open(
            QFile::encodeName(path).toStdString(),
            MakeLogHeader(mapInLog, document.UnitVersion(), links.loadedFile().toStdString()))) {
        writer.Close();
        rule.Failed();
        links.showMessage(
            QString::fromStdString(TextIn(RideText::RideWriteError, document.Language()))
                .arg(QDir::toNativeSeparators(path)),
            "RideWriteErrorBox");
    }
    std::deque<LeadFrame> before;
    before.swap(lead);
    const double now = Now();
    for (const LeadFrame& frame : before) {
        // Frames from before the item was switched on again, or from before
        // a silence, are no part of this ride.
        if (now - frame.seconds > kLeadSeconds)
            continue;
        if (writer.IsOpen() && !writer.Append(frame.frame.data(), frame.time)) {
            WriteFailed();
            break;
        }
    }
    ShowState();
}

// The file that cannot take a row is closed (what it holds stays readable)
// and the ride records no more; it is said, never reported as saved.
void RideRecorder::WriteFailed() {
    const QString path = QFile::decodeName(writer.Path().c_str());
    writer.Close();
    rule.Failed();
    ShowState();
    links.showMessage(QString::fromStdString(TextIn(RideText::RideWriteError, document.Language()))
                          .arg(QDir::toNativeSeparators(path)),
                      "RideWriteErrorBox");
}

void RideRecorder::End() {
    if (!writer.IsOpen())
        return;
    const QString path = QFile::decodeName(writer.Path().c_str());
    writer.Close();
    links.statusBar.showMessage(
        QString::fromStdString(TextIn(RideText::RideSaved, document.Language()))
            .arg(QDir::toNativeSeparators(path)),
        15000);
    ShowState();
    emit RideSaved(path);
}

void RideRecorder::Stop() {
    rule = RideRule(rule.StartRpm());
    End();
}

void RideRecorder::UnitRuns(const ParameterImage& image) {
    if (!writer.IsOpen() ||
        std::equal(image.begin(), image.begin() + kTransferSize, mapInLog.begin()))
        return;
    if (!writer.AppendMap(image)) {
        WriteFailed();
        return;
    }
    mapInLog = image;
}

void RideRecorder::ShowState() {
    const bool on = writer.IsOpen();
    label->setVisible(on);
    if (!on)
        return;
    label->setText(QString::fromUtf8("\u25cf ") +
                   QString::fromStdString(TextIn(RideText::RideRecording, document.Language()))
                       .arg(writer.Rows()));
    label->setToolTip(QDir::toNativeSeparators(QFile::decodeName(writer.Path().c_str())));
}

} // namespace orna5
