#include "disk/HistoryStore.h"

#include "disk/WholeFile.h"
#include "files/BoundedFile.h"
#include "files/ParameterFile.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sstream>

namespace orna5 {

namespace {

// An index of 1000 entries with the longest texts stays far below this; a
// larger file is not ours and is read as holding nothing usable.
constexpr std::size_t kMaxIndexBytes = 8 * 1024 * 1024;
// Another program holds the lock only while it rewrites the index; waiting
// longer than this means something is wrong, and a Read or Program must not
// hang on it.
constexpr int kLockWaitMs = 10000;

const char kIndexName[] = "index";
const char kLockName[] = "index.lock";

std::string ParameterFileText(const ParameterImage& image) {
    std::ostringstream text(std::ios::binary);
    WriteParameterFile(text, image);
    return text.str();
}

struct IndexRead {
    RestoreIndex index;
    QString reason; // set: the index is there but could not be read
};

IndexRead ReadIndex(const QString& path) {
    IndexRead result;
    const BoundedRead read = ReadBoundedFile(path.toStdString(), kMaxIndexBytes);
    if (read.Ok()) {
        result.index = ReadRestoreIndex(read.bytes);
    } else if (read.fault == ReadFault::TooLarge) {
        result.index.skipped = 1;
    } else if (!(read.fault == ReadFault::System && read.error == ENOENT)) {
        result.reason = ReadFaultText(read, 0);
    }
    return result;
}

// Every change of the index happens under this lock.
bool TakeLock(QLockFile& lock, QString& reason) {
    if (lock.tryLock(kLockWaitMs)) {
        return true;
    }
    reason = lock.error() == QLockFile::LockFailedError
                 ? QString("%1 is held by another program").arg(lock.fileName())
                 : QString("cannot make %1").arg(lock.fileName());
    return false;
}

} // namespace

QString HistoryStore::DefaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/orna5/history";
}

HistoryStore::HistoryStore(QString folder) : folder(std::move(folder)) {}

HistoryStore::AddResult HistoryStore::Add(const ParameterImage& image, RestoreKind kind,
                                          const RestoreDetails& details, std::int64_t timeMs) {
    AddResult result;
    const QDir dir(folder);
    if (!dir.mkpath(".")) {
        result.reason = QString("cannot make the folder %1").arg(folder);
        return result;
    }
    QLockFile lock(dir.filePath(kLockName));
    if (!TakeLock(lock, result.reason)) {
        return result;
    }
    IndexRead read = ReadIndex(dir.filePath(kIndexName));
    if (!read.reason.isEmpty()) {
        // Rewriting an index that could not be read would lose it.
        result.reason = read.reason;
        return result;
    }
    std::vector<RestorePoint>& points = read.index.points;

    const std::string text = ParameterFileText(image);
    const auto newestOfKind = std::find_if(
        points.rbegin(), points.rend(), [kind](const RestorePoint& p) { return p.kind == kind; });
    if (newestOfKind != points.rend()) {
        const BoundedRead last = ReadBoundedFile(
            dir.filePath(QString::fromStdString(RestorePointFileName(newestOfKind->id)))
                .toStdString());
        if (last.Ok() && last.bytes == text) {
            result.ok = true;
            result.id = newestOfKind->id;
            return result;
        }
    }

    std::uint64_t id = 1;
    for (const RestorePoint& p : points) {
        id = std::max(id, p.id + 1);
    }
    // A file left by an entry that was skipped is not taken over.
    while (dir.exists(QString::fromStdString(RestorePointFileName(id)))) {
        ++id;
    }
    const QString file = dir.filePath(QString::fromStdString(RestorePointFileName(id)));
    if (!WriteWholeFile(file, QByteArray::fromStdString(text), &result.reason)) {
        return result;
    }
    points.push_back(RestorePoint{id, timeMs, kind, details.unitVersion, details.unitBuildDate,
                                  details.sourcePath});
    const std::vector<RestorePoint> dropped = BoundRestorePoints(points);
    if (!WriteWholeFile(dir.filePath(kIndexName),
                        QByteArray::fromStdString(WriteRestoreIndex(points)), &result.reason)) {
        QFile::remove(file);
        return result;
    }
    // Only once the index no longer names them.
    for (const RestorePoint& p : dropped) {
        QFile::remove(dir.filePath(QString::fromStdString(RestorePointFileName(p.id))));
    }
    result.ok = true;
    result.stored = true;
    result.id = id;
    return result;
}

HistoryStore::Listing HistoryStore::List() const {
    Listing listing;
    IndexRead read = ReadIndex(QDir(folder).filePath(kIndexName));
    listing.reason = read.reason;
    listing.skipped = read.index.skipped;
    for (auto p = read.index.points.rbegin(); p != read.index.points.rend(); ++p) {
        ParameterImage image;
        if (Load(*p, image)) {
            listing.points.push_back(std::move(*p));
        } else {
            ++listing.skipped;
        }
    }
    return listing;
}

bool HistoryStore::Load(const RestorePoint& point, ParameterImage& image, QString* reason) const {
    const std::string path =
        QDir(folder).filePath(QString::fromStdString(RestorePointFileName(point.id))).toStdString();
    ParameterImage loaded = image;
    const LoadOutcome outcome = LoadParameterFile(path, loaded);
    if (outcome.status != LoadStatus::Loaded) {
        if (reason) {
            *reason = LoadFailureText(outcome, QString::fromStdString(path), 0);
        }
        return false;
    }
    image = loaded;
    return true;
}

bool HistoryStore::Remove(const RestorePoint& point, QString* reason) {
    const QDir dir(folder);
    QString why;
    QLockFile lock(dir.filePath(kLockName));
    IndexRead read;
    if (TakeLock(lock, why)) {
        read = ReadIndex(dir.filePath(kIndexName));
        why = read.reason; // an index that could not be read is not rewritten: that would lose it
    }
    std::vector<RestorePoint>& points = read.index.points;
    // The whole entry must match: once removed by another program, its id
    // may already name a newer point.
    const auto gone = std::find(points.begin(), points.end(), point);
    if (why.isEmpty() && gone != points.end()) {
        points.erase(gone);
        if (WriteWholeFile(dir.filePath(kIndexName),
                           QByteArray::fromStdString(WriteRestoreIndex(points)), &why)) {
            // Only once the index no longer names it.
            QFile::remove(dir.filePath(QString::fromStdString(RestorePointFileName(point.id))));
        }
    }
    if (reason) {
        *reason = why;
    }
    return why.isEmpty();
}

} // namespace orna5
