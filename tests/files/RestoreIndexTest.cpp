#include "files/RestorePoint.h"

#include <gtest/gtest.h>

namespace orna5 {
namespace {

RestorePoint Point(std::uint64_t id, RestoreKind kind, std::int64_t timeMs = 1765234992000) {
    return RestorePoint{id,           timeMs + std::int64_t(id), kind, "ORN12",
                        " 7. 5.2009", "/home/a\\b\tc\nd.ign"};
}

std::string Text(const std::vector<RestorePoint>& points) {
    RestoreIndex index;
    index.points = points;
    return WriteRestoreIndex(index);
}

// The entry line of a point alone, without the index's next-id line.
std::string EntryLine(const RestorePoint& point) {
    const std::string text = Text({point});
    return text.substr(text.find('\n') + 1);
}

// Every way an entry can be broken is skipped on its own and kept verbatim;
// its neighbours stay.
TEST(RestoreIndex, DamagedEntriesAreKeptAsTheyAreAndTheOthersRead) {
    const std::vector<RestorePoint> points{Point(1, RestoreKind::Read),
                                           Point(2, RestoreKind::BeforeProgram),
                                           Point(3, RestoreKind::Verified)};
    const std::string text = Text(points);
    EXPECT_EQ(ReadRestoreIndex(text).points, points);
    EXPECT_EQ(ReadRestoreIndex(text).skipped, 0);
    EXPECT_TRUE(ReadRestoreIndex(text).keptLines.empty());

    const std::size_t first = text.find('\n') + 1; // after the next-id line
    const std::size_t second = text.find('\n', first) + 1;
    const std::size_t third = text.find('\n', second) + 1;
    const std::string middle = text.substr(second, third - second - 1);
    auto withMiddle = [&](const std::string& replaced) {
        return text.substr(0, second) + replaced + "\n" + text.substr(third);
    };
    std::string flipped = middle;
    flipped[flipped.find("before") + 1] ^= 0x20;
    std::string foreign = middle;
    foreign.replace(0, foreign.find('\t'), "orna5-restore-9");
    std::string next = text.substr(0, first - 1);
    next[next.size() - 1] ^= 0x01;
    const std::string cases[] = {
        flipped,                                 // a byte changed
        middle.substr(0, middle.size() / 2),     // cut short
        "garbage\tline",                         // another format
        foreign,                                 // a later version of ours
        EntryLine(Point(1, RestoreKind::Saved)), // an id already used
        next,                                    // a damaged next-id line
        "line ending in a carriage return\r",
    };
    for (std::string broken : cases) {
        if (broken.back() == '\n') {
            broken.pop_back();
        }
        const RestoreIndex index = ReadRestoreIndex(withMiddle(broken));
        EXPECT_EQ(index.skipped, 1) << broken;
        EXPECT_EQ(index.keptLines, std::vector<std::string>{broken});
        EXPECT_EQ(index.points, (std::vector<RestorePoint>{points[0], points[2]})) << broken;
        // Written back, the line is there again, exactly.
        const RestoreIndex again = ReadRestoreIndex(WriteRestoreIndex(index));
        EXPECT_EQ(again.keptLines, index.keptLines) << broken;
        EXPECT_EQ(again.points, index.points) << broken;
        EXPECT_EQ(again.nextId, 4u) << broken;
    }
}

// A huge damaged index keeps bounded lines: each cut, and only so many.
TEST(RestoreIndex, KeptLinesAreBounded) {
    std::string text(3 * kMaxKeptLineBytes, 'x');
    text += '\n';
    for (std::size_t i = 0; i < kMaxKeptLines + 10; ++i) {
        text += "junk\n";
    }
    const RestoreIndex index = ReadRestoreIndex(text);
    EXPECT_EQ(index.skipped, static_cast<int>(kMaxKeptLines + 11));
    ASSERT_EQ(index.keptLines.size(), kMaxKeptLines);
    EXPECT_EQ(index.keptLines[0], std::string(kMaxKeptLineBytes, 'x'));
    // What a caller puts in a kept line cannot add a line of its own.
    RestoreIndex crafted;
    crafted.keptLines = {"one\n" + EntryLine(Point(7, RestoreKind::Read))};
    EXPECT_TRUE(ReadRestoreIndex(WriteRestoreIndex(crafted)).points.empty());
}

// The next id is a high-water mark: never below what was once given.
TEST(RestoreIndex, NextIdIsNeverBelowAnIdGiven) {
    struct Case {
        const char* what;
        std::uint64_t stored;
        std::vector<std::uint64_t> ids;
        std::uint64_t next;
    };
    const Case cases[] = {
        {"empty", 1, {}, 1},
        {"the newest removed", 9, {1, 2}, 9},
        {"an older index without the line", 1, {4, 2}, 5},
        {"a stored one below the ids", 2, {1, 5}, 6},
    };
    for (const Case& c : cases) {
        RestoreIndex index;
        index.nextId = c.stored;
        for (const std::uint64_t id : c.ids) {
            index.points.push_back(Point(id, RestoreKind::Read));
        }
        EXPECT_EQ(ReadRestoreIndex(WriteRestoreIndex(index)).nextId, c.next) << c.what;
    }
    EXPECT_EQ(ReadRestoreIndex(EntryLine(Point(4, RestoreKind::Read))).nextId, 5u);
}

TEST(RestoreIndex, BoundDropsTheOldestButKeepsTheNewestBeforeProgram) {
    std::vector<RestorePoint> points;
    points.push_back(Point(1, RestoreKind::BeforeProgram)); // an older one may go
    points.push_back(Point(2, RestoreKind::BeforeProgram)); // the newest of its kind stays
    for (std::uint64_t id = 3; id <= 1002; ++id) {
        points.push_back(Point(id, RestoreKind::Programmed));
    }
    const std::int64_t muchLater = points.back().timeMs + 2 * kBeforeProgramKeptMs;
    const std::vector<RestorePoint> dropped = BoundRestorePoints(points, muchLater);
    ASSERT_EQ(points.size(), kMaxRestorePoints);
    EXPECT_EQ(points[0].id, 2u);
    EXPECT_EQ(points[1].id, 4u);
    EXPECT_EQ(points.back().id, 1002u);
    ASSERT_EQ(dropped.size(), 2u);
    EXPECT_EQ(dropped[0].id, 1u);
    EXPECT_EQ(dropped[1].id, 3u);
}

// Which points the bound leaves. A unit programmed again and again (each
// Program keeping its backup) must not push out what it held before the
// first try while that is young; old ones go as any other. A clock set back
// (a flat battery, a wrong date typed in) stamps the points kept meanwhile
// as older than they are; once it is right again such a `before program`
// point, kept after a young one, is young too.
TEST(RestoreIndex, BoundKeepsYoungBeforeProgramPoints) {
    const std::int64_t now = 1765234992000;
    const std::int64_t day = 24LL * 60 * 60 * 1000;
    const std::int64_t setBack = now - 365 * day;
    constexpr RestoreKind before = RestoreKind::BeforeProgram;
    constexpr RestoreKind read = RestoreKind::Read;
    const auto retried = [&](std::int64_t originalAge) {
        std::vector<std::pair<RestoreKind, std::int64_t>> points{{before, now - originalAge}};
        for (int i = 0; i < 5; ++i)
            points.push_back({before, now - 60000});
        return points;
    };
    struct Case {
        const char* what;
        std::vector<std::pair<RestoreKind, std::int64_t>> points; // id 1, 2, ...
        std::size_t limit;
        std::vector<std::uint64_t> left;
    };
    const Case cases[] = {
        // All of the young ones stay, beyond the limit.
        {"original a day old", retried(day), 3, {1, 2, 3, 4, 5, 6}},
        {"original 29 days old", retried(29 * day), 3, {1, 2, 3, 4, 5, 6}},
        {"original 31 days old", retried(31 * day), 3, {2, 3, 4, 5, 6}},
        {"old ones go as any other",
         {{before, now - 40 * day}, {before, now - 40 * day}, {read, now}},
         2,
         {2, 3}},
        {"clock set back",
         {{read, now - 2 * day},
          {before, now - day},
          {before, setBack},
          {before, setBack},
          {read, setBack},
          {read, setBack}},
         2,
         {2, 3, 4}},
    };
    for (const Case& c : cases) {
        std::vector<RestorePoint> points;
        for (const auto& [kind, time] : c.points)
            points.push_back(Point(points.size() + 1, kind, time));
        const std::vector<RestorePoint> dropped = BoundRestorePoints(points, now, c.limit);
        std::vector<std::uint64_t> left;
        for (const RestorePoint& point : points)
            left.push_back(point.id);
        EXPECT_EQ(left, c.left) << c.what;
        EXPECT_EQ(dropped.size(), c.points.size() - c.left.size()) << c.what;
    }
}

RestorePointFile SampleFile(bool withInfo) {
    RestorePointFile file;
    file.entry = Point(12, RestoreKind::BeforeProgram);
    for (std::size_t i = 0; i < file.bytes.size(); ++i) {
        file.bytes[i] = static_cast<std::uint8_t>(i * 37 + 5);
    }
    if (withInfo) {
        file.unitInfo.emplace();
        (*file.unitInfo)[0] = 0xff;
        (*file.unitInfo)[99] = 0x80;
    }
    return file;
}

TEST(RestorePointFile, RoundTripsExactly) {
    for (const bool withInfo : {false, true}) {
        const RestorePointFile file = SampleFile(withInfo);
        const std::string text = WriteRestorePointFile(file);
        const std::optional<RestorePointFile> read = ReadRestorePointFile(text);
        ASSERT_TRUE(read) << text;
        EXPECT_EQ(*read, file);
        EXPECT_EQ(WriteRestorePointFile(*read), text);
    }
    EXPECT_EQ(RestorePointBytesFileName(12), "restore-12.point");
    EXPECT_EQ(RestorePointFileName(12), "restore-12.ign");
}

// A point file is taken whole or not at all: a cut or changed one would
// hand the unit wrong bytes.
TEST(RestorePointFile, AnythingNotWholeIsRefused) {
    const std::string text = WriteRestorePointFile(SampleFile(true));
    for (std::size_t cut = 0; cut < text.size(); ++cut) {
        EXPECT_FALSE(ReadRestorePointFile(text.substr(0, cut))) << cut;
    }
    for (std::size_t at = 0; at < text.size(); ++at) {
        std::string changed = text;
        changed[at] ^= 0x01;
        EXPECT_FALSE(ReadRestorePointFile(changed)) << at;
    }
    const std::string more[] = {
        text + "\n",
        text + text,
        "\n" + text,
        std::string(kMaxRestorePointFileBytes + 1, '\n'),
    };
    for (const std::string& bad : more) {
        EXPECT_FALSE(ReadRestorePointFile(bad));
    }
}

} // namespace
} // namespace orna5
