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

} // namespace
} // namespace orna5
