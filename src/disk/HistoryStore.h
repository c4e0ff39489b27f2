#pragma once

#include "files/RestorePoint.h"
#include "params/ParameterImage.h"

#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace orna5 {

// What a restore point is kept with, beside its image and kind.
struct RestoreDetails {
    std::string unitVersion;
    std::string unitBuildDate;
    std::string sourcePath;
    std::optional<UnitInfoBytes> unitInfo =
        std::nullopt; // the unit's information block, when it gave one
};

// The history of images. Each restore point is two files written through a
// temporary file: its exact bytes with its own entry (`.point`), and its
// parameter file for people (`.ign`); beside them an index. Several
// programs may use one folder at once: every change of the index happens
// under a lock file, reading and rewriting it whole. Nothing here throws; a
// store that cannot be written says why in its result. A call may wait for
// another program's lock (up to the lock wait) and for the disk, so the
// window goes through HistoryWriter.
class HistoryStore {
public:
    // Another program holds the lock only while it rewrites the index;
    // waiting longer than this means something is wrong.
    static constexpr int kDefaultLockWaitMs = 10000;

    // $XDG_DATA_HOME/orna5/history (the generic data location).
    static QString DefaultFolder();

    explicit HistoryStore(QString folder = DefaultFolder(), int lockWaitMs = kDefaultLockWaitMs);

    struct AddResult {
        bool ok = false;     // false: nothing kept, `reason` says why
        bool stored = false; // false when ok: the same image as the newest of its kind
        std::uint64_t id = 0;
        QString reason;
    };
    // Keeps bytes 0..199 of `image` exactly, the information block and the
    // parameter file as a restore point of `kind`, unless the newest point of
    // that kind holds the same bytes and block. `timeMs` is the clock's now.
    // Point files the index lacks (a crash between the files and the index)
    // go into the index with it.
    AddResult Add(const ParameterImage& image, RestoreKind kind, const RestoreDetails& details,
                  std::int64_t timeMs);

    struct Listing {
        std::vector<RestorePoint> points; // newest first
        int skipped = 0;   // index lines that could not be read, and points whose files cannot
        int recovered = 0; // points listed from their own file, which the index lacks
        QString reason;    // why the index could not be read at all
        // The tune of each point kept with its exact bytes (TuneChecksum),
        // by id; a point kept as a parameter file only has none.
        std::map<std::uint64_t, std::string> tunes;
    };
    // The index's points whose files are there and readable, and the point
    // files the index lacks.
    Listing List() const;

    struct LoadedPoint {
        bool exact = false; // the unit's bytes exactly; false: read from a parameter file
        std::optional<UnitInfoBytes> unitInfo;
    };
    // The image of a point. With its exact bytes, bytes 0..199 of `image`
    // are replaced and 200..206 left; a point kept before exact bytes were is
    // read over `image` as File > Open reads a file over the window's. False
    // with the reason when its file is gone or damaged, `image` then
    // unchanged.
    bool Load(const RestorePoint& point, ParameterImage& image, QString* reason = nullptr,
              LoadedPoint* loaded = nullptr) const;

    // Takes the point out of the index, then its files. A point another
    // program removed already counts as removed; false with the reason when
    // the index could not be rewritten.
    bool Remove(const RestorePoint& point, QString* reason = nullptr);

    const QString& Folder() const { return folder; }

private:
    QString folder;
    int lockWaitMs;
};

} // namespace orna5
