#pragma once

#include "disk/HistoryStore.h"
#include "disk/HistoryWriter.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

class QAction;
class QStatusBar;

namespace orna5 {

class DeviceSession;
class Document;
class ProfileFile;
struct TickResult;

// Keeps the window's restore points in the history: what the unit held
// before a Program (the session's backup read), the unit's bytes after a
// Read, Program or Verify that passed, and each parameter file opened or
// saved. It owns Tools > "Keep a restore point before programming", kept in
// the settings' HISTORY section.
//
// Every point goes to the store through a writer of its own thread, so a
// store locked by another program or a slow disk never stalls the tick: a
// Program waits for its `before program` point (the status line says so)
// while the window goes on answering. The answers come back by ticket, and
// only the answer for the backup the session waits for now, or for the
// point of the operation that ended last, reaches the session. A history
// that cannot be written is said once in the status bar, and again only
// after a point was kept in between.
class HistoryKeeper : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kSettingsSection = "HISTORY";

    struct Links {
        DeviceSession& session;
        // The Tools menu's check item; the keeper connects it.
        QAction& backupItem;
        QStatusBar& statusBar;
        // The parameter file the form shows, kept with a Program's point.
        std::function<QString()> loadedFile;
    };

    HistoryKeeper(Document& document, const ProfileFile& settings, Links links,
                  QString folder = HistoryStore::DefaultFolder());

    // Once per tick, with what the session returned.
    void AfterTick(const TickResult& result);
    // The form's image after File > Open or Save of path.
    void FileOpened(const QString& path);
    void FileSaved(const QString& path);

    // Waits until every point handed over is on disk (or refused) and its
    // answer taken: at shutdown, before the settings are saved.
    void Flush();
    // Why the last `before program` point could not be kept.
    const QString& BackupFailure() const { return backupFailure; }

    // The writer the history view deletes through, so that a delete waits
    // for the store's lock off the tick too.
    HistoryWriter& Writer() { return writer; }

    void SaveSettings(ProfileFile& settings) const;
    const QString& Folder() const { return writer.Folder(); }

signals:
    // A restore point was added.
    void Kept();

private:
    std::uint64_t Keep(const ParameterImage& image, RestoreKind kind, const QString& path,
                       bool fromUnit);
    void Answered(std::uint64_t ticket, const HistoryStore::AddResult& added);

    Document& document;
    Links links;
    HistoryWriter writer;
    // The ticket of the backup handed out last, and of the point of the
    // operation that ended last; 0 for none.
    std::uint64_t backupTicket = 0;
    std::uint64_t pointTicket = 0;
    QString backupFailure;
    bool failureTold = false;
};

} // namespace orna5
