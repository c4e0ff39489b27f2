#pragma once

#include "timing/TimingCheck.h"

#include <QString>

#include <optional>
#include <vector>

namespace orna5 {

// The timing-light checks kept on this computer: one file per check in the
// data folder, each written whole through a temporary file. A new check
// takes a name no other program can take at the same moment; a check kept
// again replaces its own file. Nothing here throws: what cannot be done says
// why in the language asked for.
class TimingStore {
public:
    // $XDG_DATA_HOME/orna5/timing (the generic data location).
    static QString DefaultFolder();
    // The most files List reads, newest first.
    static constexpr int kMostListed = 1000;

    explicit TimingStore(QString folder = DefaultFolder());

    struct Entry {
        QString path;
        std::optional<TimingCheck> check; // nothing when the file cannot be read
        QString fault;                    // why, when it cannot
    };
    // The checks in the folder, newest first (by their file names, which
    // carry the time they were kept); an unreadable one is listed with its
    // fault rather than left out, so it can still be deleted.
    std::vector<Entry> List(int language) const;

    // Writes the check. `path` empty: a new file, whose name is put there;
    // else that file is replaced. False with the reason (the folder or the
    // file could not be written, the disk is full) and nothing changed.
    bool Keep(const TimingCheck& check, QString& path, QString* reason = nullptr) const;

    // Reads one check; false with the reason in `language`.
    static bool Load(const QString& path, TimingCheck& check, int language,
                     QString* reason = nullptr);
    static bool Remove(const QString& path, QString* reason = nullptr);

    const QString& Folder() const { return folder; }

private:
    QString folder;
};

} // namespace orna5
