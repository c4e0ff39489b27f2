#include "disk/WholeFile.h"

#include "lang/Messages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace orna5 {
namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(WholeFileTest, ReplacesTheWholeFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ign");
    ASSERT_TRUE(WriteWholeFile(path, "a much longer first text"));
    ASSERT_TRUE(WriteWholeFile(path, "short"));
    EXPECT_EQ(Contents(path), "short");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.ign"});
}

// A folder as the target or a folder that is not there: false with the
// system's reason, and nothing is left behind.
TEST(WholeFileTest, UnwritableTargetsGiveTheReason) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.ign"));
    for (const QString& path : {dir.filePath("folder.ign"), dir.filePath("none/a.ign")}) {
        QString reason;
        EXPECT_FALSE(WriteWholeFile(path, "text", &reason)) << path.toStdString();
        EXPECT_FALSE(reason.isEmpty()) << path.toStdString();
    }
    EXPECT_TRUE(QFileInfo(dir.filePath("folder.ign")).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{});
}

// A disk that fills up half-way: the old file stays byte for byte.
TEST(WholeFileTest, AWriteCutShortKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ign");
    ASSERT_TRUE(WriteWholeFile(path, "old contents"));
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    ParameterImage image{};
    QString reason;
    const bool written = SaveParameterFile(path, image, &reason);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_EQ(Contents(path), "old contents");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.ign"});
}

TEST(WholeFileTest, FailureTextsInTheLanguage) {
    LoadOutcome outcome;
    outcome.status = LoadStatus::OpenError;
    outcome.read.fault = ReadFault::TooLarge;
    EXPECT_EQ(LoadFailureText(outcome, "/x/big.ign", German),
              "Fehler beim öffnen der Datei!\n\n/x/big.ign: größer als 1 MiB");
    outcome.status = LoadStatus::UnmatchedVersion;
    EXPECT_EQ(LoadFailureText(outcome, "/x/a.ign", English), "Unmatched version of *.ign file!");
}

// A file refused for its size is said to be larger than the limit it was
// read with, not than the parameter file's.
TEST(WholeFileTest, TooLargeNamesTheLimitOfTheRead) {
    struct Case {
        std::size_t limit;
        int language;
        const char* text;
    };
    for (const Case& c : {Case{kMaxParameterFileBytes, English, "larger than 1 MiB"},
                          Case{16 * 1024 * 1024, German, "größer als 16 MiB"},
                          Case{256u * 1024 * 1024, French, "plus grand que 256 Mio"},
                          Case{16 * 1024, Czech, "větší než 16 KiB"},
                          Case{1000, English, "larger than 1000 bytes"}}) {
        BoundedRead read;
        read.fault = ReadFault::TooLarge;
        read.limit = c.limit;
        EXPECT_EQ(ReadFaultText(read, c.language), QString::fromUtf8(c.text)) << c.limit;
    }
}

} // namespace
} // namespace orna5
