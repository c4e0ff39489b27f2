// The comparison of two images in user units, shared by orna5ctl diff and the
// window's comparison with a file.

#include "params/ParameterReport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orna5 {
namespace {

ParameterImage Sample() {
    ParameterImage image{};
    image[field::bikeCode] = 20;
    image[field::limiterRpm] = 110;
    for (std::size_t i = 0; i < kAxisPoints; ++i)
        image[field::mapRpm + i] = static_cast<std::uint8_t>(15 + 10 * i);
    return image;
}

TEST(ParameterComparison, SameImagesHaveNoDifference) {
    EXPECT_TRUE(CompareImages(Sample(), Sample()).empty());
}

TEST(ParameterComparison, NamesEachDifferenceWithItsPageAndBothValues) {
    ParameterImage file = Sample();
    file[MapCell(9, 3)] = 27;
    file[field::limiterRpm] = 115;
    file[202] = 1; // a byte no control shows
    const std::vector<ParameterDifference> found = CompareImages(Sample(), file);
    ASSERT_EQ(found.size(), 3u);
    // In the window's page order.
    EXPECT_EQ(found[0].left.pageId, ParameterPage::Misc);
    EXPECT_EQ(found[0].left.name, "Limiter");
    EXPECT_EQ(found[0].left.value, "11000 rpm");
    EXPECT_EQ(found[0].rightValue, "11500 rpm");
    EXPECT_EQ(found[1].left.pageId, ParameterPage::Advance);
    EXPECT_EQ(found[1].left.offset, MapCell(9, 3));
    EXPECT_EQ(found[1].left.name, "Advance at TPS 100%, rpm point 4");
    EXPECT_EQ(found[1].left.value, "0 deg");
    EXPECT_EQ(found[1].rightValue, "27 deg");
    EXPECT_EQ(found[2].left.pageId, ParameterPage::Reserved);
    EXPECT_EQ(found[2].left.offset, 202u);
}

TEST(ParameterComparison, PrintedDifferencesAreTheComparedOnes) {
    ParameterImage file = Sample();
    file[field::mapRpm] = 16;
    std::ostringstream out;
    EXPECT_EQ(PrintDifferences(out, Sample(), file), 1);
    EXPECT_EQ(out.str(), "Advance Map: Map rpm point 1: 1500 rpm -> 1600 rpm\n");
}

// Each scope leaves out exactly its bytes: a reserved byte only where both
// sides hold one, bytes 200..206 only as local bytes, and a page the unit
// never sent whatever lies on it; a reserved byte's line names it once.
TEST(ParameterComparison, ScopeDecidesWhichBytesAreCompared) {
    ParameterImage window = Sample();
    window[60] = 1;
    ParameterImage other = window;
    other[60] = 0;
    other[field::limiterRpm] = 115;
    other[MapCell(0, 0)] = 12;
    other[203] = 4;
    const std::string reserved = "Reserved byte 60: 1 -> 0";
    const std::string limiter = "Miscellaneous: Limiter: 11000 rpm -> 11500 rpm";
    const std::string cell = "Advance Map: Advance at TPS 0%, rpm point 1: 0 deg -> 12 deg";
    const std::string local = "Reserved byte 203: 0 -> 4";
    struct Row {
        const char* what;
        CompareScope scope;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {"everything", {}, {limiter, cell, reserved, local}},
        {"no reserved bytes", {false, true, true, true}, {limiter, cell, local}},
        {"no local bytes", {true, false, true, true}, {limiter, cell, reserved}},
        {"page 1 only", {true, false, true, false}, {limiter, reserved}},
        {"page 2 only", {true, false, false, true}, {cell}},
        {"a file", {false, false, true, true}, {limiter, cell}},
    };
    for (const Row& row : rows) {
        std::vector<std::string> lines;
        for (const ParameterDifference& d : CompareImages(window, other, row.scope))
            lines.push_back(DifferenceLine(d));
        EXPECT_EQ(lines, row.lines) << row.what;
        std::ostringstream out;
        EXPECT_EQ(PrintDifferences(out, window, other, row.scope),
                  static_cast<int>(row.lines.size()))
            << row.what;
    }
}

} // namespace
} // namespace orna5
