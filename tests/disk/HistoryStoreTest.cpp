#include "disk/HistoryStore.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
    const HistoryStore::Listing listing = store.List();
    ASSERT_EQ(listing.points.size(), 2u);
    EXPECT_EQ(listing.points[0].kind, RestoreKind::Programmed); // newest first
    EXPECT_EQ(listing.points[1].unitVersion, "ORN12");

    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    HistoryStore unwritable(dir.filePath("file/history"));
    const HistoryStore::AddResult failed = unwritable.Add(image, RestoreKind::Read, {}, 4);
    EXPECT_FALSE(failed.ok);
    EXPECT_FALSE(failed.reason.isEmpty());
}

} // namespace
} // namespace orna5
