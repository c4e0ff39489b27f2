#pragma once

#include "disk/HistoryStore.h"

#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QStatusBar;

namespace orna5 {

class DeviceSession;
class Document;
class ProfileFile;
struct TickResult;

// Keeps the window's restore points in the history: what the unit held
// before a Program (the session's backup read), the image after a Read or a
// Program whose Verify passed, and each parameter file opened or saved. It
// owns Tools > "Keep a restore point before programming", kept in the
// settings' HISTORY section. A history that cannot be written never stops a
// Read or a Program: it is said once in the status bar, and again only after
// a point was kept in between.
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

    void SaveSettings(ProfileFile& settings) const;
    const QString& Folder() const { return store.Folder(); }

signals:
    // A restore point was added.
    void Kept();

private:
    bool Keep(const ParameterImage& image, RestoreKind kind, const QString& path, bool fromUnit);

    Document& document;
    Links links;
    HistoryStore store;
    bool failureTold = false;
};

} // namespace orna5
