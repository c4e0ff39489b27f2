#include "disk/HistoryStore.h"

#include "disk/WholeFile.h"
#include "files/BoundedFile.h"
#include "files/ParameterFile.h"
#include "params/TuneChecksum.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <set>
#include <unistd.h>

namespace orna5 {

namespace {

// An index of 1000 entries with the longest texts and the kept lines stays
// far below this; a larger file is not ours and is read as holding nothing
// usable.
constexpr std::size_t kMaxIndexBytes = 16 * 1024 * 1024;

const char kIndexName[] = "index";
const char kLockName[] = "index.lock";

QString PointPath(const QDir& dir, std::uint64_t id) {
    return dir.filePath(QString::fromStdString(RestorePointBytesFileName(id)));
}

QString IgnPath(const QDir& dir, std::uint64_t id) {
    return dir.filePath(QString::fromStdString(RestorePointFileName(id)));
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
        result.reason = ReadFaultText(read, 0);
    } else if (!(read.fault == ReadFault::System && read.error == ENOENT)) {
        result.reason = ReadFaultText(read, 0);
    }
    return result;
}

// A point file as read: the file, or why not; `missing` when there is none.
struct PointRead {
    std::optional<RestorePointFile> file;
    bool missing = false;
    QString reason;
};

PointRead ReadPoint(const QString& path) {
    PointRead result;
    const BoundedRead read = ReadBoundedFile(path.toStdString(), kMaxRestorePointFileBytes);
    if (!read.Ok()) {
        result.missing = read.fault == ReadFault::System && read.error == ENOENT;
        result.reason = path + ": " + ReadFaultText(read, 0);
        return result;
    }
    result.file = ReadRestorePointFile(read.bytes);
    if (!result.file) {
        result.reason = path + ": damaged restore point";
    }
    return result;
}

// The id a point file's name gives, only for names we write ourselves.
std::optional<std::uint64_t> PointFileId(const QString& name) {
    const QString digits = name.mid(8, name.size() - 8 - 6);
    bool ok = false;
    const qulonglong id = digits.toULongLong(&ok);
    if (!ok || id == 0 || QString::fromStdString(RestorePointBytesFileName(id)) != name) {
        return std::nullopt;
    }
    return id;
}

// Point files the index lacks: a crash after the files were written and
// before the index was, or an index that was lost.
struct Orphans {
    std::vector<RestorePointFile> files;
    int unreadable = 0;
};

Orphans FindOrphans(const QDir& dir, const std::vector<RestorePoint>& indexed) {
    std::set<std::uint64_t> known;
    for (const RestorePoint& p : indexed) {
        known.insert(p.id);
    }
    Orphans orphans;
    const QStringList names =
        dir.entryList({QStringLiteral("restore-*.point")}, QDir::Files | QDir::System);
    for (const QString& name : names) {
        const std::optional<std::uint64_t> id = PointFileId(name);
        if (!id || known.count(*id)) {
            continue;
        }
        PointRead read = ReadPoint(dir.filePath(name));
        if (read.file && read.file->entry.id == *id) {
            orphans.files.push_back(std::move(*read.file));
        } else if (!read.missing) { // one removed meanwhile was never there
            ++orphans.unreadable;
        }
    }
    return orphans;
}

// Every change of the index happens under this lock.
bool TakeLock(QLockFile& lock, int waitMs, QString& reason) {
    if (lock.tryLock(waitMs)) {
        return true;
    }
    reason = lock.error() == QLockFile::LockFailedError
                 ? QString("%1 is held by another program").arg(lock.fileName())
                 : QString("cannot make %1").arg(lock.fileName());
    return false;
}

// A rename is on the disk only once its folder is: without this a crash
// could leave an index naming files whose names were never written.
bool SyncFolder(const QString& folder, QString& reason) {
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        reason = folder + ": " + QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    const bool ok = ::fsync(fd) == 0;
    if (!ok) {
        reason = folder + ": " + QString::fromLocal8Bit(std::strerror(errno));
    }
    ::close(fd);
    return ok;
}

// A name of the store that is a link was not made by the store: writing
// through it would put the file wherever the link points, outside the folder
// or over another file.
bool NotALink(const QString& path, QString& reason) {
    if (!QFileInfo(path).isSymLink()) {
        return true;
    }
    reason = path + ": a link, not a file of the history";
    return false;
}

bool WriteIndex(const QDir& dir, const RestoreIndex& index, QString& reason) {
    return NotALink(dir.filePath(kIndexName), reason) &&
           WriteWholeFile(dir.filePath(kIndexName),
                          QByteArray::fromStdString(WriteRestoreIndex(index)), &reason) &&
           SyncFolder(dir.path(), reason);
}

void RemoveFiles(const QDir& dir, std::uint64_t id) {
    QFile::remove(PointPath(dir, id));
    QFile::remove(IgnPath(dir, id));
}

std::array<std::uint8_t, kTransferSize> UnitBytes(const ParameterImage& image) {
    std::array<std::uint8_t, kTransferSize> bytes{};
    std::copy_n(image.begin(), kTransferSize, bytes.begin());
    return bytes;
}

} // namespace

QString HistoryStore::DefaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/orna5/history";
}

HistoryStore::HistoryStore(QString folder, int lockWaitMs)
    : folder(std::move(folder)), lockWaitMs(lockWaitMs) {}

HistoryStore::AddResult HistoryStore::Add(const ParameterImage& image, RestoreKind kind,
                                          const RestoreDetails& details, std::int64_t timeMs) {
    AddResult result;
    const QDir dir(folder);
    if (!dir.mkpath(".")) {
        result.reason = QString("cannot make the folder %1").arg(folder);
        return result;
    }
    QLockFile lock(dir.filePath(kLockName));
    if (!TakeLock(lock, lockWaitMs, result.reason)) {
        return result;
    }
    IndexRead read = ReadIndex(dir.filePath(kIndexName));
    if (!read.reason.isEmpty()) {
        // Rewriting an index that could not be read would lose it.
        result.reason = read.reason;
        return result;
    }
    RestoreIndex& index = read.index;
    std::vector<RestorePoint>& points = index.points;
    Orphans orphans = FindOrphans(dir, points);
    for (RestorePointFile& orphan : orphans.files) {
        points.push_back(std::move(orphan.entry));
    }
    // Ids rise with each point kept, so their order is the order of time.
    std::sort(points.begin(), points.end(),
              [](const RestorePoint& a, const RestorePoint& b) { return a.id < b.id; });

    RestorePointFile file;
    file.bytes = UnitBytes(image);
    file.unitInfo = details.unitInfo;
    const auto newestOfKind = std::find_if(
        points.rbegin(), points.rend(), [kind](const RestorePoint& p) { return p.kind == kind; });
    // A `before program` point is always a new one: taking over an older
    // point of the same bytes would keep that point's time, and the bound
    // could then drop the copy of a Program made today as a month old.
    if (newestOfKind != points.rend() && kind != RestoreKind::BeforeProgram) {
        // A point kept only as a parameter file cannot tell its reserved
        // bytes, so it never counts as the same.
        const PointRead last = ReadPoint(PointPath(dir, newestOfKind->id));
        if (last.file && last.file->bytes == file.bytes && last.file->unitInfo == file.unitInfo) {
            result.id = newestOfKind->id;
            result.ok = orphans.files.empty() || WriteIndex(dir, index, result.reason);
            return result;
        }
    }

    // The top id is never given: the one after it would wrap round to 0,
    // which no index reads.
    constexpr std::uint64_t kNoId = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t id = index.nextId;
    // A file left by a line that was kept unread is not taken over.
    while (id != kNoId && (QFile::exists(PointPath(dir, id)) || QFile::exists(IgnPath(dir, id)))) {
        ++id;
    }
    if (id == kNoId) {
        result.reason = QString("%1: every restore point number has been given").arg(folder);
        return result;
    }
    file.entry = RestorePoint{
        id, timeMs, kind, details.unitVersion, details.unitBuildDate, details.sourcePath};
    // The point file first: with it alone the point is whole and is listed
    // again; the parameter file is only its rendering.
    if (!NotALink(PointPath(dir, id), result.reason) ||
        !NotALink(IgnPath(dir, id), result.reason) ||
        !WriteWholeFile(PointPath(dir, id), QByteArray::fromStdString(WriteRestorePointFile(file)),
                        &result.reason) ||
        !SaveParameterFile(IgnPath(dir, id), image, &result.reason) ||
        !SyncFolder(folder, result.reason)) {
        RemoveFiles(dir, id);
        return result;
    }
    points.push_back(file.entry);
    index.nextId = id + 1;
    const std::vector<RestorePoint> dropped = BoundRestorePoints(points, timeMs);
    if (!NotALink(dir.filePath(kIndexName), result.reason) ||
        !WriteWholeFile(dir.filePath(kIndexName),
                        QByteArray::fromStdString(WriteRestoreIndex(index)), &result.reason)) {
        RemoveFiles(dir, id);
        return result;
    }
    // The index names the point now, so its files stay whatever comes. They
    // are on disk already (synced above), and a point file the index lacks
    // is listed again, so a folder that cannot be synced now loses nothing.
    QString unsynced;
    SyncFolder(folder, unsynced);
    // Only once the index no longer names them.
    for (const RestorePoint& p : dropped) {
        RemoveFiles(dir, p.id);
    }
    result.ok = true;
    result.stored = true;
    result.id = id;
    return result;
}

namespace {

std::string TuneOf(const std::array<std::uint8_t, kTransferSize>& bytes) {
    ParameterImage image;
    std::copy(bytes.begin(), bytes.end(), image.begin());
    return TuneChecksum(image);
}

} // namespace

HistoryStore::Listing HistoryStore::List() const {
    Listing listing;
    const QDir dir(folder);
    IndexRead read = ReadIndex(dir.filePath(kIndexName));
    listing.reason = read.reason;
    listing.skipped = read.index.skipped;
    for (RestorePoint& p : read.index.points) {
        const PointRead point = ReadPoint(PointPath(dir, p.id));
        bool usable = point.file && point.file->entry == p;
        if (usable) {
            listing.tunes[p.id] = TuneOf(point.file->bytes);
        }
        if (point.missing) {
            ParameterImage image;
            usable = Load(p, image);
        }
        if (usable) {
            listing.points.push_back(std::move(p));
        } else {
            ++listing.skipped;
        }
    }
    Orphans orphans = FindOrphans(dir, read.index.points);
    listing.skipped += orphans.unreadable;
    listing.recovered = static_cast<int>(orphans.files.size());
    for (RestorePointFile& orphan : orphans.files) {
        listing.tunes[orphan.entry.id] = TuneOf(orphan.bytes);
        listing.points.push_back(std::move(orphan.entry));
    }
    std::sort(listing.points.begin(), listing.points.end(),
              [](const RestorePoint& a, const RestorePoint& b) { return a.id > b.id; });
    return listing;
}

bool HistoryStore::Load(const RestorePoint& point, ParameterImage& image, QString* reason,
                        LoadedPoint* loaded) const {
    const QDir dir(folder);
    const PointRead read = ReadPoint(PointPath(dir, point.id));
    if (read.file && !(read.file->entry == point)) {
        if (reason) {
            *reason = PointPath(dir, point.id) + ": holds another restore point";
        }
        return false;
    }
    if (read.file) {
        std::copy(read.file->bytes.begin(), read.file->bytes.end(), image.begin());
        if (loaded) {
            *loaded = LoadedPoint{true, read.file->unitInfo};
        }
        return true;
    }
    if (!read.missing) {
        if (reason) {
            *reason = read.reason;
        }
        return false;
    }
    // A point kept before the exact bytes were: its parameter file only.
    const std::string path = IgnPath(dir, point.id).toStdString();
    ParameterImage fromFile = image;
    const LoadOutcome outcome = LoadParameterFile(path, fromFile);
    if (outcome.status != LoadStatus::Loaded) {
        if (reason) {
            *reason = LoadFailureText(outcome, QString::fromStdString(path), 0);
        }
        return false;
    }
    image = fromFile;
    if (loaded) {
        *loaded = LoadedPoint{};
    }
    return true;
}

bool HistoryStore::Remove(const RestorePoint& point, QString* reason) {
    const QDir dir(folder);
    QString why;
    QLockFile lock(dir.filePath(kLockName));
    IndexRead read;
    if (TakeLock(lock, lockWaitMs, why)) {
        read = ReadIndex(dir.filePath(kIndexName));
        why = read.reason; // an index that could not be read is not rewritten: that would lose it
    }
    std::vector<RestorePoint>& points = read.index.points;
    // The whole entry must match: an older index may have given its id again.
    const auto gone = std::find(points.begin(), points.end(), point);
    // A point listed from its own file alone has no line to take out, only
    // its files; the next id still moves past it.
    const PointRead own = gone == points.end() ? ReadPoint(PointPath(dir, point.id)) : PointRead{};
    const bool orphan = own.file && own.file->entry == point;
    if (why.isEmpty() && (gone != points.end() || orphan)) {
        if (gone != points.end()) {
            points.erase(gone);
        }
        read.index.nextId = std::max(read.index.nextId, point.id + 1);
        if (WriteIndex(dir, read.index, why)) {
            // Only once the index no longer names them.
            RemoveFiles(dir, point.id);
        }
    }
    if (reason) {
        *reason = why;
    }
    return why.isEmpty();
}

} // namespace orna5
