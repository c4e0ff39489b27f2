#include "disk/TimingStore.h"

#include "disk/WholeFile.h"
#include "files/BoundedFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

namespace orna5 {

namespace {

QString SystemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

QString TimingStore::DefaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/orna5/timing";
}

TimingStore::TimingStore(QString folderPath) : folder(std::move(folderPath)) {}

std::vector<TimingStore::Entry> TimingStore::List(int language) const {
    std::vector<Entry> entries;
    const QStringList names =
        QDir(folder).entryList({"check-*.csv"}, QDir::Files, QDir::Name | QDir::Reversed);
    for (const QString& name : names) {
        if (static_cast<int>(entries.size()) >= kMostListed)
            break;
        Entry entry;
        entry.path = QDir(folder).filePath(name);
        TimingCheck check;
        if (Load(entry.path, check, language, &entry.fault))
            entry.check = std::move(check);
        entries.push_back(std::move(entry));
    }
    return entries;
}

bool TimingStore::Keep(const TimingCheck& check, QString& path, QString* reason) const {
    const QByteArray bytes = QByteArray::fromStdString(WriteTimingCheck(check));
    if (!path.isEmpty())
        return WriteWholeFile(path, bytes, reason);
    if (!QDir().mkpath(folder)) {
        if (reason)
            *reason = SystemReason(errno);
        return false;
    }
    // The name is taken by creating the file, so two programs keeping a
    // check in the same second get two files.
    const QString stem = QDir(folder).filePath(
        "check-" +
        QDateTime::fromMSecsSinceEpoch(check.time.millis).toUTC().toString("yyyyMMdd-HHmmss"));
    for (int n = 1; n <= 100; ++n) {
        const QString candidate = n == 1 ? stem + ".csv" : QString("%1-%2.csv").arg(stem).arg(n);
        QFile taken(candidate);
        if (!taken.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (taken.exists())
                continue;
            if (reason)
                *reason = taken.errorString();
            return false;
        }
        taken.close();
        if (!WriteWholeFile(candidate, bytes, reason)) {
            QFile::remove(candidate);
            return false;
        }
        path = candidate;
        return true;
    }
    if (reason)
        *reason = SystemReason(EEXIST);
    return false;
}

bool TimingStore::Load(const QString& path, TimingCheck& check, int language, QString* reason) {
    const BoundedRead read =
        ReadBoundedFile(QFile::encodeName(path).toStdString(), kMaxTimingFileBytes);
    if (!read.Ok()) {
        if (reason)
            *reason = ReadFaultText(read, language);
        return false;
    }
    const TimingRead parsed = ReadTimingCheck(read.bytes);
    if (!parsed.Ok()) {
        if (reason)
            *reason = QString::fromStdString(TimingFaultText(parsed, language));
        return false;
    }
    check = parsed.check;
    return true;
}

bool TimingStore::Remove(const QString& path, QString* reason) {
    QFile file(path);
    if (!file.exists() || file.remove())
        return true;
    if (reason)
        *reason = file.errorString();
    return false;
}

} // namespace orna5
