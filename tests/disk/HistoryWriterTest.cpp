#include "disk/HistoryWriter.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

namespace orna5 {
namespace {

ParameterImage Numbered(int n) {
    ParameterImage image{};
    image[field::advanceMap] = static_cast<std::uint8_t>(n);
    return image;
}

// The signals need the thread's event loop, as the window's would.
class HistoryWriterTest : public ::testing::Test {
protected:
    int argc = 1;
    char name[8] = "tests";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
};

struct Heard {
    std::uint64_t ticket;
    bool added;
    bool ok;
    bool stored;
    std::uint64_t id;
};

void Listen(HistoryWriter& writer, std::vector<Heard>& heard) {
    QObject::connect(&writer, &HistoryWriter::Added,
                     [&heard](std::uint64_t ticket, const HistoryStore::AddResult& r) {
                         heard.push_back({ticket, true, r.ok, r.stored, r.id});
                     });
    QObject::connect(&writer, &HistoryWriter::Removed,
                     [&heard](std::uint64_t ticket, bool ok, const QString&) {
                         heard.push_back({ticket, false, ok, false, 0});
                     });
}

// A receiver matches answers to requests by order and ticket; Flush is what
// shutdown relies on to have everything on disk.
TEST_F(HistoryWriterTest, AnswersComeInOrderAndFlushWaitsForAll) {
    QTemporaryDir dir;
    HistoryWriter writer(dir.path());
    std::vector<Heard> heard;
    Listen(writer, heard);
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(writer.Add(Numbered(n), RestoreKind::Read, {}, n), std::uint64_t(n));
    }
    EXPECT_EQ(writer.Remove(RestorePoint{99, 1, RestoreKind::Read, "", "", ""}), 6u);
    EXPECT_EQ(writer.Add(Numbered(5), RestoreKind::Read, {}, 7), 7u);
    writer.Flush();
    EXPECT_EQ(writer.Pending(), 0);
    ASSERT_EQ(heard.size(), 7u);
    for (std::size_t i = 0; i < heard.size(); ++i) {
        EXPECT_EQ(heard[i].ticket, i + 1);
        EXPECT_TRUE(heard[i].ok) << i;
        EXPECT_EQ(heard[i].added, i != 5) << i;
    }
    for (std::size_t i = 1; i < 5; ++i) {
        EXPECT_TRUE(heard[i].stored);
        EXPECT_GT(heard[i].id, heard[i - 1].id);
    }
    EXPECT_FALSE(heard[6].stored); // the same bytes as the newest read
    EXPECT_EQ(heard[6].id, heard[4].id);
    EXPECT_EQ(HistoryStore(dir.path()).List().points.size(), 5u);
}

// The caller goes on while another program holds the store's lock, and the
// answer comes through the event loop once the lock is free.
TEST_F(HistoryWriterTest, AHeldLockNeverHoldsTheCaller) {
    QTemporaryDir dir;
    QLockFile held(dir.filePath("index.lock"));
    ASSERT_TRUE(held.tryLock(0));
    HistoryWriter writer(dir.path());
    std::vector<Heard> heard;
    Listen(writer, heard);
    QEventLoop loop;
    QObject::connect(&writer, &HistoryWriter::Added, &loop, &QEventLoop::quit);
    writer.Add(Numbered(1), RestoreKind::BeforeProgram, {}, 1);
    EXPECT_EQ(writer.Pending(), 1);

    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_TRUE(heard.empty()); // still waiting for the lock
    EXPECT_EQ(writer.Pending(), 1);

    held.unlock();
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    guard.start(30000);
    loop.exec();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_TRUE(heard[0].stored);
    EXPECT_EQ(writer.Pending(), 0);
}

// Closing the window right after a Program must still keep its points.
TEST_F(HistoryWriterTest, DestroyingTheWriterFinishesWhatIsQueued) {
    QTemporaryDir dir;
    {
        HistoryWriter writer(dir.path());
        for (int n = 1; n <= 3; ++n) {
            writer.Add(Numbered(n), RestoreKind::Programmed, {}, n);
        }
    }
    EXPECT_EQ(HistoryStore(dir.path()).List().points.size(), 3u);
}

} // namespace
} // namespace orna5
