#include "disk/HistoryStore.h"

#include "disk/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace orna5 {
namespace {

ParameterImage Numbered(int writer, int n) {
    ParameterImage image{};
    image[field::advanceMap] = static_cast<std::uint8_t>(writer);
    image[field::advanceMap + 1] = static_cast<std::uint8_t>(n);
    return image;
}

// Two programs keeping restore points in one folder at the same time: each
// rewrites the index, and without the lock one would drop the other's.
TEST(HistoryStoreTest, TwoWritersAtOnceLoseNothing) {
    QTemporaryDir dir;
    constexpr int kEach = 40;
    // A third program holds the lock as both start: both wait, neither gives up.
    QLockFile held(dir.filePath("index.lock"));
    ASSERT_TRUE(held.tryLock(0));
    auto write = [&](int writer) {
        HistoryStore store(dir.path());
        int failed = 0;
        for (int n = 0; n < kEach; ++n) {
            failed += !store.Add(Numbered(writer, n), RestoreKind::Programmed, {}, n).ok;
        }
        return failed;
    };
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        _exit(write(2) == 0 ? 0 : 1);
    }
    QThread::msleep(700);
    held.unlock();
    EXPECT_EQ(write(1), 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    const HistoryStore store(dir.path());
    const HistoryStore::Listing listing = store.List();
    EXPECT_EQ(listing.skipped, 0);
    ASSERT_EQ(listing.points.size(), 2u * kEach);
    std::set<std::pair<int, int>> seen;
    for (const RestorePoint& point : listing.points) {
        ParameterImage image;
        ASSERT_TRUE(store.Load(point, image));
        seen.insert({image[field::advanceMap], image[field::advanceMap + 1]});
    }
    EXPECT_EQ(seen.size(), 2u * kEach);
    std::set<std::uint64_t> ids;
    for (const RestorePoint& point : listing.points) {
        ids.insert(point.id);
    }
    EXPECT_EQ(ids.size(), 2u * kEach);
}

TEST(HistoryStoreTest, SameImageOnceAndAnUnwritableStoreSaysWhy) {
    QTemporaryDir dir;
    HistoryStore store(dir.filePath("history"));
    const ParameterImage image = Numbered(1, 1);
    EXPECT_TRUE(store.Add(image, RestoreKind::Read, {"ORN12", "", ""}, 1).stored);
    const HistoryStore::AddResult again = store.Add(image, RestoreKind::Read, {}, 2);
    EXPECT_TRUE(again.ok);
    EXPECT_FALSE(again.stored);
    EXPECT_TRUE(store.Add(image, RestoreKind::Programmed, {}, 3).stored); // another kind
    // A `before program` copy is kept anew each time, with its own time, so
    // the 30-day bound never takes the copy of today's Program for an old one.
    EXPECT_TRUE(store.Add(image, RestoreKind::BeforeProgram, {}, 4).stored);
    EXPECT_TRUE(store.Add(image, RestoreKind::BeforeProgram, {}, 5).stored);
    const HistoryStore::Listing listing = store.List();
    ASSERT_EQ(listing.points.size(), 4u);
    EXPECT_EQ(listing.points[0].timeMs, 5); // newest first
    EXPECT_EQ(listing.points[2].kind, RestoreKind::Programmed);
    EXPECT_EQ(listing.points[3].unitVersion, "ORN12");

    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    HistoryStore unwritable(dir.filePath("file/history"));
    const HistoryStore::AddResult failed = unwritable.Add(image, RestoreKind::Read, {}, 4);
    EXPECT_FALSE(failed.ok);
    EXPECT_FALSE(failed.reason.isEmpty());
}

// Bytes a parameter file cannot carry: reserved ones, and flag bytes it
// flattens. A restore point must give each back as the unit held it.
TEST(HistoryStoreTest, ExactBytesRoundTripThroughAddAndLoad) {
    struct Case {
        std::size_t offset;
        std::uint8_t value;
    };
    const Case cases[] = {{1, 7},  {14, 3}, {15, 2}, {18, 9},    {19, 1},    {29, 4},
                          {57, 5}, {60, 1}, {69, 8}, {16, 0xfe}, {199, 0xab}};
    QTemporaryDir dir;
    HistoryStore store(dir.path());
    UnitInfoBytes info{};
    info[0] = 0x42;
    info[99] = 0x99;
    for (const Case& c : cases) {
        ParameterImage image = Numbered(1, 1);
        image[c.offset] = c.value;
        const HistoryStore::AddResult added =
            store.Add(image, RestoreKind::Read, {"ORN12", "", "", info}, 1);
        ASSERT_TRUE(added.ok) << c.offset << ' ' << added.reason.toStdString();
        // Only that byte differs from the point before: still a new point.
        EXPECT_TRUE(added.stored) << c.offset;

        const std::vector<RestorePoint> points = store.List().points;
        ASSERT_FALSE(points.empty());
        ASSERT_EQ(points[0].id, added.id);
        ParameterImage loaded;
        for (std::size_t i = kTransferSize; i < kImageSize; ++i) {
            loaded[i] = 0x5a; // this computer's bytes stay the window's
        }
        HistoryStore::LoadedPoint how;
        QString reason;
        ASSERT_TRUE(store.Load(points[0], loaded, &reason, &how)) << reason.toStdString();
        EXPECT_TRUE(how.exact);
        EXPECT_EQ(how.unitInfo, info);
        for (std::size_t i = 0; i < kTransferSize; ++i) {
            ASSERT_EQ(loaded[i], image[i]) << "byte " << i << " of case " << c.offset;
        }
        for (std::size_t i = kTransferSize; i < kImageSize; ++i) {
            EXPECT_EQ(loaded[i], 0x5a);
        }
    }
    // The same bytes with another information block are another point.
    ParameterImage last = Numbered(1, 1);
    last[199] = 0xab;
    EXPECT_FALSE(store.Add(last, RestoreKind::Read, {"", "", "", info}, 2).stored);
    EXPECT_TRUE(store.Add(last, RestoreKind::Read, {"", "", "", std::nullopt}, 3).stored);
}

QByteArray IndexText(const QTemporaryDir& dir) {
    QFile file(dir.filePath("index"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Lines this version cannot read may be a later version's or repairable;
// rewriting the index for an Add or a Remove must not lose them.
TEST(HistoryStoreTest, UnreadLinesSurviveAddAndRemove) {
    QTemporaryDir dir;
    HistoryStore store(dir.path());
    ASSERT_TRUE(store.Add(Numbered(1, 1), RestoreKind::Read, {}, 1).stored);
    const QByteArray damaged = "orna5-restore-1\t9\t5\tread\t\t\t\t00000000";
    const QByteArray later = "orna5-restore-2\t10\t5\tread\tsomething new\tdeadbeef";
    WriteFile(dir.filePath("index"), IndexText(dir) + damaged + "\n" + later + "\n");

    EXPECT_EQ(store.List().skipped, 2);
    const HistoryStore::AddResult added = store.Add(Numbered(1, 2), RestoreKind::Read, {}, 2);
    ASSERT_TRUE(added.stored);
    EXPECT_TRUE(IndexText(dir).contains("\n" + damaged + "\n")) << IndexText(dir).toStdString();
    EXPECT_TRUE(IndexText(dir).contains("\n" + later + "\n"));
    HistoryStore::Listing listing = store.List();
    ASSERT_EQ(listing.points.size(), 2u);
    EXPECT_EQ(listing.skipped, 2);

    ASSERT_TRUE(store.Remove(listing.points[1]));
    EXPECT_TRUE(IndexText(dir).contains("\n" + damaged + "\n"));
    EXPECT_TRUE(IndexText(dir).contains("\n" + later + "\n"));
    listing = store.List();
    ASSERT_EQ(listing.points.size(), 1u);
    EXPECT_EQ(listing.points[0].id, added.id);
    EXPECT_EQ(listing.skipped, 2);
}

// A crash after a point's files were written and before the index was: the
// point is listed from its own file, and the next Add indexes it.
TEST(HistoryStoreTest, APointTheIndexLacksIsListedAndThenIndexed) {
    QTemporaryDir dir;
    HistoryStore store(dir.path());
    ASSERT_TRUE(store.Add(Numbered(1, 1), RestoreKind::Read, {}, 1).stored);
    const QByteArray before = IndexText(dir);
    ParameterImage lost = Numbered(1, 2);
    lost[60] = 1;
    const HistoryStore::AddResult orphan =
        store.Add(lost, RestoreKind::BeforeProgram, {"ORN12", "", "/a.ign"}, 2);
    ASSERT_TRUE(orphan.stored);
    WriteFile(dir.filePath("index"), before); // as if the index was never written
    WriteFile(dir.filePath("restore-77.point"), "not a point\n"); // a damaged one
    WriteFile(dir.filePath("restore-x.point"), "not ours\n");     // another name

    HistoryStore::Listing listing = store.List();
    ASSERT_EQ(listing.points.size(), 2u);
    EXPECT_EQ(listing.recovered, 1);
    EXPECT_EQ(listing.skipped, 1);
    EXPECT_EQ(listing.points[0].id, orphan.id);
    EXPECT_EQ(listing.points[0].kind, RestoreKind::BeforeProgram);
    EXPECT_EQ(listing.points[0].sourcePath, "/a.ign");
    ParameterImage image;
    HistoryStore::LoadedPoint how;
    ASSERT_TRUE(store.Load(listing.points[0], image, nullptr, &how));
    EXPECT_TRUE(how.exact);
    EXPECT_EQ(image[60], 1);

    const HistoryStore::AddResult next = store.Add(Numbered(1, 3), RestoreKind::Read, {}, 3);
    ASSERT_TRUE(next.stored);
    EXPECT_GT(next.id, orphan.id);
    listing = store.List();
    EXPECT_EQ(listing.recovered, 0);
    ASSERT_EQ(listing.points.size(), 3u);
    EXPECT_EQ(listing.points[1].id, orphan.id);
    EXPECT_NE(IndexText(dir).indexOf("\t" + QByteArray::number(qulonglong(orphan.id)) + "\t"), -1);
}

// A removed point's id named another point later would show the user an
// old listing's entry as a different image.
TEST(HistoryStoreTest, ARemovedNewestPointsIdIsNotGivenAgain) {
    QTemporaryDir dir;
    std::uint64_t removed = 0;
    {
        HistoryStore store(dir.path());
        ASSERT_TRUE(store.Add(Numbered(1, 1), RestoreKind::Read, {}, 1).stored);
        const HistoryStore::AddResult newest = store.Add(Numbered(1, 2), RestoreKind::Read, {}, 2);
        ASSERT_TRUE(newest.stored);
        removed = newest.id;
        ASSERT_TRUE(store.Remove(store.List().points[0]));
        EXPECT_FALSE(QFile::exists(dir.filePath(QString("restore-%1.point").arg(removed))));
        EXPECT_FALSE(QFile::exists(dir.filePath(QString("restore-%1.ign").arg(removed))));
    }
    HistoryStore again(dir.path());
    const HistoryStore::AddResult next = again.Add(Numbered(1, 3), RestoreKind::Read, {}, 3);
    ASSERT_TRUE(next.stored);
    EXPECT_GT(next.id, removed);
}

// An index may carry ids up to the top of their range (a later version, a
// repair, a number given once for each of many years). Every one given must
// read back, and the last must not wrap round to a number never readable.
TEST(HistoryStoreTest, IdsUpToTheTopOfTheirRangeAreListedAndNeverWrap) {
    constexpr std::uint64_t kTop = std::numeric_limits<std::uint64_t>::max();
    struct Case {
        const char* what;
        std::uint64_t next;
        int kept; // of three Adds
    };
    const Case cases[] = {
        {"the last of 19 digits", 9999999999999999999ull, 3},
        {"20 digits", 10000000000000000000ull, 3},
        {"three below the top", kTop - 3, 3},
        {"one below the top", kTop - 1, 1},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        RestoreIndex index;
        index.nextId = c.next;
        WriteFile(dir.filePath("index"), QByteArray::fromStdString(WriteRestoreIndex(index)));
        HistoryStore store(dir.path());
        for (int n = 0; n < 3; ++n) {
            const HistoryStore::AddResult added =
                store.Add(Numbered(1, n), RestoreKind::Read, {}, n);
            EXPECT_EQ(added.ok, n < c.kept) << c.what << " #" << n;
            EXPECT_EQ(added.ok, added.reason.isEmpty()) << c.what << " #" << n;
            if (added.ok) {
                EXPECT_EQ(added.id, c.next + std::uint64_t(n)) << c.what << " #" << n;
            }
        }
        const HistoryStore::Listing listing = store.List();
        EXPECT_EQ(listing.skipped, 0) << c.what;
        EXPECT_EQ(listing.points.size(), std::size_t(c.kept)) << c.what;
        for (const RestorePoint& point : listing.points) {
            ParameterImage image;
            EXPECT_TRUE(store.Load(point, image)) << c.what;
            EXPECT_EQ(image[field::advanceMap + 1], point.id - c.next) << c.what;
        }
    }
}

// A link planted under one of the store's names (a point's, its parameter
// file's, the index's) would have the store write wherever it points: a new
// file outside the folder, or over one there.
TEST(HistoryStoreTest, ALinkUnderAStoreNameIsNeverWrittenThrough) {
    const char* const names[] = {"restore-1.point", "restore-1.ign", "index"};
    for (const char* name : names) {
        QTemporaryDir dir;
        ASSERT_TRUE(QDir().mkpath(dir.filePath("history")));
        WriteFile(dir.filePath("elsewhere"), "someone's file\n");
        const QString absent = dir.filePath("absent");
        const QString target = QString(name) == "index" ? dir.filePath("elsewhere") : absent;
        ASSERT_TRUE(QFile::link(target, dir.filePath("history/") + name));

        HistoryStore store(dir.filePath("history"));
        const HistoryStore::AddResult added = store.Add(Numbered(1, 1), RestoreKind::Read, {}, 1);
        EXPECT_FALSE(added.ok) << name;
        EXPECT_TRUE(added.reason.contains(name)) << name << ": " << added.reason.toStdString();
        EXPECT_FALSE(QFile::exists(absent)) << name;
        QFile elsewhere(dir.filePath("elsewhere"));
        ASSERT_TRUE(elsewhere.open(QIODevice::ReadOnly));
        EXPECT_EQ(elsewhere.readAll(), "someone's file\n") << name;
    }
}

// Points kept by earlier versions have only their parameter file.
TEST(HistoryStoreTest, APointWithOnlyItsParameterFileStillLoads) {
    QTemporaryDir dir;
    ParameterImage image = Numbered(3, 4);
    ASSERT_TRUE(SaveParameterFile(dir.filePath("restore-5.ign"), image));
    RestoreIndex index;
    index.points.push_back(RestorePoint{5, 1000, RestoreKind::Programmed, "ORN12", "", ""});
    index.points.push_back(RestorePoint{6, 1001, RestoreKind::Programmed, "ORN12", "", ""});
    WriteFile(dir.filePath("index"), QByteArray::fromStdString(WriteRestoreIndex(index)));
    WriteFile(dir.filePath("restore-6.ign"), "not a parameter file");

    const HistoryStore store(dir.path());
    const HistoryStore::Listing listing = store.List();
    ASSERT_EQ(listing.points.size(), 1u);
    EXPECT_EQ(listing.skipped, 1);
    ParameterImage loaded;
    loaded[field::advanceMap] = 0x77;
    HistoryStore::LoadedPoint how;
    how.exact = true;
    ASSERT_TRUE(store.Load(listing.points[0], loaded, nullptr, &how));
    EXPECT_FALSE(how.exact);
    EXPECT_EQ(loaded[field::advanceMap], 3);
    EXPECT_EQ(loaded[field::advanceMap + 1], 4);

    QString reason;
    ParameterImage untouched;
    untouched[0] = 9;
    EXPECT_FALSE(store.Load(index.points[1], untouched, &reason));
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_EQ(untouched[0], 9);
}

// A point file that no longer reads is said, never loaded in part, and a
// point file holding another point is not taken for this one.
TEST(HistoryStoreTest, ADamagedPointFileIsRefusedWithTheReason) {
    QTemporaryDir dir;
    HistoryStore store(dir.path());
    const HistoryStore::AddResult a = store.Add(Numbered(1, 1), RestoreKind::Read, {}, 1);
    const HistoryStore::AddResult b = store.Add(Numbered(1, 2), RestoreKind::Saved, {}, 2);
    ASSERT_TRUE(a.stored && b.stored);
    const std::vector<RestorePoint> points = store.List().points;
    ASSERT_EQ(points.size(), 2u);
    const QString pathA = dir.filePath(QString("restore-%1.point").arg(a.id));
    const QString pathB = dir.filePath(QString("restore-%1.point").arg(b.id));
    QFile fileB(pathB);
    ASSERT_TRUE(fileB.open(QIODevice::ReadOnly));
    const QByteArray textB = fileB.readAll();
    fileB.close();

    struct Case {
        const char* what;
        QByteArray content;
    };
    const Case cases[] = {{"cut", textB.left(textB.size() / 2)}, {"another point's", textB}};
    for (const Case& c : cases) {
        WriteFile(pathA, c.content);
        ParameterImage image;
        image[0] = 9;
        QString reason;
        EXPECT_FALSE(store.Load(points[1], image, &reason)) << c.what;
        EXPECT_FALSE(reason.isEmpty()) << c.what;
        EXPECT_EQ(image[0], 9) << c.what;
        const HistoryStore::Listing listing = store.List();
        EXPECT_EQ(listing.points.size(), 1u) << c.what;
        EXPECT_EQ(listing.skipped, 1) << c.what;
    }
}

// Another program holding the lock makes a store wait no longer than it
// was told, and say why.
TEST(HistoryStoreTest, AHeldLockIsWaitedForOnlyAsLongAsTold) {
    QTemporaryDir dir;
    QLockFile held(dir.filePath("index.lock"));
    ASSERT_TRUE(held.tryLock(0));
    HistoryStore store(dir.path(), 50);
    const HistoryStore::AddResult added = store.Add(Numbered(1, 1), RestoreKind::Read, {}, 1);
    EXPECT_FALSE(added.ok);
    EXPECT_TRUE(added.reason.contains("held")) << added.reason.toStdString();
    EXPECT_TRUE(store.List().points.empty());
    held.unlock();
    EXPECT_TRUE(store.Add(Numbered(1, 1), RestoreKind::Read, {}, 1).stored);
}

} // namespace
} // namespace orna5
