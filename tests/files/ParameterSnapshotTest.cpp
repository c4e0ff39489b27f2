#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "files/ParameterSnapshot.h"

namespace orna5 {
namespace {

ParameterImage Counting() {
    ParameterImage image;
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(i);
    }
    return image;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(ParameterSnapshotTest, LayoutIsTenToALineWithAnEmptyLineAfterEachHundred) {
    std::ostringstream out;
    WriteParameterSnapshot(out, Counting());
    const std::string text = out.str();
    const std::vector<std::string> lines = Lines(text);
    ASSERT_EQ(lines.size(), 23u);
    EXPECT_EQ(lines[0], "    0     1     2     3     4     5     6     7     8     9 ");
    EXPECT_EQ(lines[9], "   90    91    92    93    94    95    96    97    98    99 ");
    EXPECT_EQ(lines[10], "");
    EXPECT_EQ(lines[11], "  100   101   102   103   104   105   106   107   108   109 ");
    EXPECT_EQ(lines[21], "");
    EXPECT_EQ(lines[22], "  200   201   202   203   204   205   206 ");
    EXPECT_NE(text.back(), '\n');
}

TEST(ParameterSnapshotTest, WrittenSnapshotReadsBackToTheSameImage) {
    ParameterImage written;
    for (std::size_t i = 0; i < written.size(); ++i) {
        written[i] = static_cast<std::uint8_t>(255 - i * 3);
    }
    std::ostringstream out;
    WriteParameterSnapshot(out, written);
    std::istringstream in(out.str());
    ParameterImage read{};
    EXPECT_EQ(ReadParameterSnapshot(in, read), written.size());
    EXPECT_EQ(read, written);
}

TEST(ParameterSnapshotTest, ShortOrDamagedSnapshotsChangeOnlyTheBytesTheyHold) {
    std::string fifty;
    for (int i = 0; i < 50; ++i) {
        fifty += i == 0 ? "300 " : "7 ";
    }
    ParameterImage image = Counting();
    std::istringstream in(fifty);
    EXPECT_EQ(ReadParameterSnapshot(in, image), 50u);
    EXPECT_EQ(image[0], 44); // low 8 bits of 300
    EXPECT_EQ(image[49], 7);
    EXPECT_EQ(image[50], 50);
    EXPECT_EQ(image[206], 206);

    // Reading stops at the first thing that is not a number.
    ParameterImage damaged = Counting();
    std::istringstream garbage("9 -1 x 9 9");
    EXPECT_EQ(ReadParameterSnapshot(garbage, damaged), 2u);
    EXPECT_EQ(damaged[0], 9);
    EXPECT_EQ(damaged[1], 255);
    EXPECT_EQ(damaged[2], 2);

    // Numbers beyond the 207th are not read.
    ParameterImage full{};
    std::string many;
    for (int i = 0; i < 210; ++i) {
        many += "5\n";
    }
    std::istringstream tooMany(many);
    EXPECT_EQ(ReadParameterSnapshot(tooMany, full), full.size());
}

} // namespace
} // namespace orna5
