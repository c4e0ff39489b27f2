#include "files/RestorePoint.h"

#include <gtest/gtest.h>

namespace orna5 {
namespace {

RestorePoint Point(std::uint64_t id, RestoreKind kind) {
    return RestorePoint{
        id, 1765234992000 + std::int64_t(id), kind, "ORN12", " 7. 5.2009", "/home/a\\b\tc\nd.ign"};
}

// Every way an entry can be broken is skipped on its own; its neighbours stay.
TEST(RestoreIndex, DamagedEntriesAreSkippedAndTheOthersKept) {
    const std::vector<RestorePoint> points{Point(1, RestoreKind::Read),
                                           Point(2, RestoreKind::BeforeProgram),
                                           Point(3, RestoreKind::Programmed)};
    const std::string text = WriteRestoreIndex(points);
    EXPECT_EQ(ReadRestoreIndex(text).points, points);
    EXPECT_EQ(ReadRestoreIndex(text).skipped, 0);

    const std::size_t second = text.find('\n') + 1;
    const std::size_t third = text.find('\n', second) + 1;
    const std::string middle = text.substr(second, third - second);
    auto withMiddle = [&](const std::string& replaced) {
        return text.substr(0, second) + replaced + text.substr(third);
    };
    std::string flipped = middle;
    flipped[flipped.find("before") + 1] ^= 0x20;
    std::string foreign = middle;
    foreign.replace(0, foreign.find('\t'), "orna5-restore-9");
    const std::string cases[] = {
        flipped,                                           // a byte changed
        middle.substr(0, middle.size() / 2),               // cut short (no line break)
        "garbage\tline\n",                                 // another format
        foreign,                                           // a later version of ours
        WriteRestoreIndex({Point(1, RestoreKind::Saved)}), // an id already used
    };
    for (const std::string& broken : cases) {
        const RestoreIndex index = ReadRestoreIndex(withMiddle(broken + "\n"));
        EXPECT_EQ(index.skipped, 1) << broken;
        EXPECT_EQ(index.points, (std::vector<RestorePoint>{points[0], points[2]})) << broken;
    }
    // A half-written last line.
    const RestoreIndex cut = ReadRestoreIndex(text.substr(0, text.size() - 5));
    EXPECT_EQ(cut.skipped, 1);
    EXPECT_EQ(cut.points.size(), 2u);
}

TEST(RestoreIndex, BoundDropsTheOldestButKeepsTheNewestBeforeProgram) {
    std::vector<RestorePoint> points;
    points.push_back(Point(1, RestoreKind::BeforeProgram)); // an older one may go
    points.push_back(Point(2, RestoreKind::BeforeProgram)); // the newest of its kind stays
    for (std::uint64_t id = 3; id <= 1002; ++id) {
        points.push_back(Point(id, RestoreKind::Programmed));
    }
    const std::vector<RestorePoint> dropped = BoundRestorePoints(points);
    ASSERT_EQ(points.size(), kMaxRestorePoints);
    EXPECT_EQ(points[0].id, 2u);
    EXPECT_EQ(points[1].id, 4u);
    EXPECT_EQ(points.back().id, 1002u);
    ASSERT_EQ(dropped.size(), 2u);
    EXPECT_EQ(dropped[0].id, 1u);
    EXPECT_EQ(dropped[1].id, 3u);
}

} // namespace
} // namespace orna5
