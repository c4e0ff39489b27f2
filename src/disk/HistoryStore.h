#pragma once

#include "files/RestorePoint.h"
#include "params/ParameterImage.h"

#include <QString>

#include <vector>

namespace orna5 {

// What a restore point is kept with, beside its image and kind.
struct RestoreDetails {
    std::string unitVersion;
    std::string unitBuildDate;
    std::string sourcePath;
};

// The history of images: restore points kept as parameter files by our
// writer, each through a temporary file, beside an index. Several programs
// may use one folder at once: every change of the index happens under a lock
// file, reading and rewriting it whole. Nothing here throws or waits long;
// a store that cannot be written says why in its result.
class HistoryStore {
public:
    // $XDG_DATA_HOME/orna5/history (the generic data location).
    static QString DefaultFolder();

    explicit HistoryStore(QString folder = DefaultFolder());

    struct AddResult {
        bool ok = false;     // false: nothing kept, `reason` says why
        bool stored = false; // false when ok: the same image as the newest of its kind
        std::uint64_t id = 0;
        QString reason;
    };
    // Keeps `image` as a restore point of `kind`, unless the newest point of
    // that kind holds the same image. `timeMs` is the clock's now.
    AddResult Add(const ParameterImage& image, RestoreKind kind, const RestoreDetails& details,
                  std::int64_t timeMs);

    struct Listing {
        std::vector<RestorePoint> points; // newest first
        int skipped = 0;                  // entries or files that could not be used
        QString reason;                   // why the index could not be read at all
    };
    // The points whose files are there and readable.
    Listing List() const;

    // The image of a point, read over `image` as File > Open reads a file
    // over the window's; false with the reason when its file is gone or
    // damaged, `image` then unchanged.
    bool Load(const RestorePoint& point, ParameterImage& image, QString* reason = nullptr) const;

    // Takes the point out of the index, then its file. A point another
    // program removed already counts as removed; false with the reason when
    // the index could not be rewritten.
    bool Remove(const RestorePoint& point, QString* reason = nullptr);

    const QString& Folder() const { return folder; }

private:
    QString folder;
};

} // namespace orna5
