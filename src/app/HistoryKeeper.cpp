#include "app/HistoryKeeper.h"

#include "app/Document.h"
#include "device/DeviceSession.h"
#include "device/RestoreRule.h"
#include "files/ProfileFile.h"
#include "lang/ViewTexts.h"

#include <QAction>
#include <QDateTime>
#include <QStatusBar>

namespace orna5 {

namespace {

const char kBackupKey[] = "KeepRestorePointBeforeProgram";
// Long enough to be read after a Program that ran while the user looked
// elsewhere; a hint passing over the status bar replaces it sooner.
constexpr int kFailureShownMs = 30000;

} // namespace

HistoryKeeper::HistoryKeeper(Document& doc, const ProfileFile& settings, Links linked,
                             QString folder)
    : QObject(&doc), document(doc), links(std::move(linked)), writer(std::move(folder)) {
    QAction& item = links.backupItem;
    item.setCheckable(true);
    item.setChecked(settings.ReadInteger(kSettingsSection, kBackupKey, 1) != 0);
    links.session.SetBackupBeforeProgram(item.isChecked());
    connect(&item, &QAction::toggled, this,
            [this](bool on) { links.session.SetBackupBeforeProgram(on); });
    connect(&writer, &HistoryWriter::Added, this, &HistoryKeeper::Answered);
}

void HistoryKeeper::SaveSettings(ProfileFile& settings) const {
    settings.WriteInteger(kSettingsSection, kBackupKey, links.backupItem.isChecked() ? 1 : 0);
}

void HistoryKeeper::AfterTick(const TickResult& result) {
    // The operation that ended now is the last one: an answer for the point
    // of an earlier one must not vouch for the unit.
    if (result.ended)
        pointTicket = 0;
    for (const PointToKeep& point : PointsToKeep(result, links.session)) {
        const QString path = point.kind == RestoreKind::Programmed ? links.loadedFile() : QString();
        const std::uint64_t ticket = Keep(point.bytes, point.kind, path, true);
        if (point.backup)
            backupTicket = ticket;
        else
            pointTicket = ticket;
    }
}

void HistoryKeeper::FileOpened(const QString& path) {
    Keep(document.Image(), RestoreKind::Opened, path, false);
}

void HistoryKeeper::FileSaved(const QString& path) {
    Keep(document.Image(), RestoreKind::Saved, path, false);
}

void HistoryKeeper::Flush() {
    writer.Flush();
}

std::uint64_t HistoryKeeper::Keep(const ParameterImage& image, RestoreKind kind,
                                  const QString& path, bool fromUnit) {
    RestoreDetails details;
    if (fromUnit) {
        const DeviceSession& session = links.session;
        const UnitInfoTexts& unit = session.UnitTexts();
        details.unitVersion = unit.versionText;
        details.unitBuildDate = unit.buildDateText;
        details.unitInfo = session.UnitInfo();
    }
    details.sourcePath = path.toStdString();
    return writer.Add(image, kind, details, QDateTime::currentMSecsSinceEpoch());
}

void HistoryKeeper::Answered(std::uint64_t ticket, const HistoryStore::AddResult& added) {
    DeviceSession& session = links.session;
    // A Program started again meanwhile waits for the answer for its own
    // backup; the session ignores an answer when no Program waits.
    if (ticket == backupTicket) {
        backupTicket = 0;
        if (added.ok) {
            session.BackupKept();
        } else {
            backupFailure = added.reason;
            session.BackupNotKept();
        }
    } else if (ticket == pointTicket) {
        pointTicket = 0;
        if (added.ok)
            session.PointKept();
    }
    if (added.ok) {
        failureTold = false;
        if (added.stored)
            emit Kept();
        return;
    }
    if (failureTold)
        return;
    failureTold = true;
    links.statusBar.showMessage(
        QString::fromStdString(TextIn(ViewText::PointNotKept, document.Language()))
            .arg(added.reason),
        kFailureShownMs);
}

} // namespace orna5
