#include "disk/TimingStore.h"

#include "lang/TextTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace orna5 {
namespace {

TimingCheck Check(const char* time, double strobe) {
    TimingCheck check;
    EXPECT_TRUE(ParseLogTime(time, check.time));
    check.unitVersion = "ORN12";
    check.tune = "0a1b2c3d";
    for (int rpm : {1200, 2000, 3000}) {
        TimingPoint point;
        point.rpm = rpm;
        point.strobe = strobe;
        point.unit[0] = 14;
        point.map = 14;
        check.points.push_back(point);
    }
    return check;
}

QStringList Files(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

TEST(TimingStoreTest, KeptChecksAreListedNewestFirstAndRead) {
    QTemporaryDir dir;
    const TimingStore store(dir.filePath("timing")); // made when first needed
    QString first, second;
    ASSERT_TRUE(store.Keep(Check("2026-12-01T10:00:00.000+00:00", 12), first));
    ASSERT_TRUE(store.Keep(Check("2026-12-05T10:00:00.000+00:00", 13), second));
    const auto listed = store.List(English);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].path, second);
    ASSERT_TRUE(listed[1].check.has_value());
    EXPECT_EQ(*listed[1].check, Check("2026-12-01T10:00:00.000+00:00", 12));

    // Kept again after an edit: the same file, no second one.
    TimingCheck edited = Check("2026-12-05T10:00:00.000+00:00", 15);
    QString again = second;
    ASSERT_TRUE(store.Keep(edited, again));
    EXPECT_EQ(again, second);
    TimingCheck loaded;
    ASSERT_TRUE(TimingStore::Load(second, loaded, English));
    EXPECT_EQ(loaded, edited);
    EXPECT_EQ(Files(store.Folder()).size(), 2);

    ASSERT_TRUE(TimingStore::Remove(first));
    EXPECT_EQ(store.List(English).size(), 1u);
    EXPECT_TRUE(TimingStore::Remove(first)); // gone already counts as removed
}

// Two programs keeping a check in the same second must not write over
// each other's.
TEST(TimingStoreTest, ChecksOfTheSameSecondGetFilesOfTheirOwn) {
    QTemporaryDir dir;
    const TimingStore store(dir.path());
    QString a, b;
    ASSERT_TRUE(store.Keep(Check("2026-12-01T10:00:00.000+00:00", 12), a));
    ASSERT_TRUE(store.Keep(Check("2026-12-01T10:00:00.400+00:00", 13), b));
    EXPECT_NE(a, b);
    EXPECT_EQ(store.List(English).size(), 2u);
}

// A damaged file is listed with why, so it can be seen and deleted, and the
// others still read.
TEST(TimingStoreTest, ADamagedFileIsListedWithItsFault) {
    QTemporaryDir dir;
    const TimingStore store(dir.path());
    QString good;
    ASSERT_TRUE(store.Keep(Check("2026-12-01T10:00:00.000+00:00", 12), good));
    QFile bad(dir.filePath("check-20261202-100000.csv"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("# orna5 timing light check\n# time: 2026-12-02T10:00:00\nrpm\n");
    bad.close();
    const auto listed = store.List(German);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_FALSE(listed[0].check.has_value());
    EXPECT_EQ(listed[0].fault.toStdString(), "Zeile 3: nicht die Spaltenzeile der Prüfung");
    EXPECT_TRUE(listed[1].check.has_value());
}

struct RefusalCase {
    const char* fault;
    bool readOnly; // the folder cannot be written
    bool fullDisk; // the file system takes 64 bytes at most
};

// A folder that cannot be written or a disk that fills up: false with the
// reason, no half file left behind, and an old check kept again stays as it
// was.
TEST(TimingStoreTest, AnUnwritableStoreSaysWhyAndLeavesNothingHalf) {
    const std::vector<RefusalCase> cases{
        {"a read-only folder reported as kept", true, false},
        {"a full disk leaving half a check", false, true},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.fault);
        if (c.readOnly && geteuid() == 0)
            continue; // root writes into read-only folders
        QTemporaryDir dir;
        const TimingStore store(dir.path());
        QString old;
        ASSERT_TRUE(store.Keep(Check("2026-12-01T10:00:00.000+00:00", 12), old));
        const QByteArray before = [&] {
            QFile file(old);
            file.open(QIODevice::ReadOnly);
            return file.readAll();
        }();
        if (c.readOnly)
            QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        if (c.fullDisk) {
            rlimit small = saved;
            small.rlim_cur = 64;
            setrlimit(RLIMIT_FSIZE, &small);
        }
        QString fresh, again = old, reason, reasonAgain;
        const bool keptNew = store.Keep(Check("2026-12-02T10:00:00.000+00:00", 13), fresh, &reason);
        const bool keptOld =
            store.Keep(Check("2026-12-01T10:00:00.000+00:00", 20), again, &reasonAgain);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner);
        EXPECT_FALSE(keptNew);
        EXPECT_FALSE(keptOld);
        EXPECT_TRUE(fresh.isEmpty());
        EXPECT_FALSE(reason.isEmpty());
        EXPECT_FALSE(reasonAgain.isEmpty());
        EXPECT_EQ(Files(dir.path()), QStringList{QFileInfo(old).fileName()});
        QFile file(old);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), before);
    }
}

} // namespace
} // namespace orna5
