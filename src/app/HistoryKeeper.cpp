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
    : QObject(&doc), document(doc), links(std::move(linked)), store(std::move(folder)) {
    QAction& item = links.backupItem;
    item.setCheckable(true);
    item.setChecked(settings.ReadInteger(kSettingsSection, kBackupKey, 1) != 0);
    links.session.SetBackupBeforeProgram(item.isChecked());
    connect(&item, &QAction::toggled, this,
            [this](bool on) { links.session.SetBackupBeforeProgram(on); });
}

void HistoryKeeper::SaveSettings(ProfileFile& settings) const {
    settings.WriteInteger(kSettingsSection, kBackupKey, links.backupItem.isChecked() ? 1 : 0);
}

void HistoryKeeper::AfterTick(const TickResult& result) {
    DeviceSession& session = links.session;
    for (const PointToKeep& point : PointsToKeep(result, session)) {
        const QString path = point.kind == RestoreKind::Programmed ? links.loadedFile() : QString();
        const bool kept = Keep(point.bytes, point.kind, path, true);
        if (point.backup) {
            if (kept)
                session.BackupKept();
            else
                session.BackupNotKept();
        } else if (kept) {
            session.PointKept();
        }
    }
}

void HistoryKeeper::FileOpened(const QString& path) {
    Keep(document.Image(), RestoreKind::Opened, path, false);
}

void HistoryKeeper::FileSaved(const QString& path) {
    Keep(document.Image(), RestoreKind::Saved, path, false);
}

bool HistoryKeeper::Keep(const ParameterImage& image, RestoreKind kind, const QString& path,
                         bool fromUnit) {
    RestoreDetails details;
    if (fromUnit) {
        const UnitInfoTexts& unit = links.session.UnitTexts();
        details.unitVersion = unit.versionText;
        details.unitBuildDate = unit.buildDateText;
    }
    details.sourcePath = path.toStdString();
    const HistoryStore::AddResult added =
        store.Add(image, kind, details, QDateTime::currentMSecsSinceEpoch());
    if (added.ok) {
        failureTold = false;
        if (added.stored)
            emit Kept();
        return true;
    }
    if (failureTold)
        return false;
    failureTold = true;
    links.statusBar.showMessage(
        QString::fromStdString(TextIn(ViewText::PointNotKept, document.Language()))
            .arg(added.reason),
        kFailureShownMs);
    return false;
}

} // namespace orna5
