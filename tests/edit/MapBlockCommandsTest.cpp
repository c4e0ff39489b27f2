#include "edit/MapBlockCommands.h"

#include <gtest/gtest.h>

#include <numeric>

namespace orna5 {
namespace {

ParameterImage MapImage(std::uint8_t fill) {
    ParameterImage image{};
    for (std::size_t i = 0; i < kAxisPoints; ++i)
        image[field::mapRpm + i] = static_cast<std::uint8_t>(15 + 10 * i);
    for (std::size_t cell = 0; cell < kMapRows * kAxisPoints; ++cell)
        image[field::advanceMap + cell] = fill;
    return image;
}

int At(const ParameterImage& image, int row, int column) {
    return image[MapCell(static_cast<std::size_t>(row), static_cast<std::size_t>(column))];
}

void Put(ParameterImage& image, int row, int column, int value) {
    image[MapCell(static_cast<std::size_t>(row), static_cast<std::size_t>(column))] =
        static_cast<std::uint8_t>(value);
}

std::vector<int> Row(const ParameterImage& image, int row, int left, int right) {
    std::vector<int> cells;
    for (int column = left; column <= right; ++column)
        cells.push_back(At(image, row, column));
    return cells;
}

std::vector<int> Column(const ParameterImage& image, int column, int top, int bottom) {
    std::vector<int> cells;
    for (int row = top; row <= bottom; ++row)
        cells.push_back(At(image, row, column));
    return cells;
}

MapAxes IndexAxes() {
    MapAxes axes;
    std::iota(axes.rows.begin(), axes.rows.end(), 0);
    std::iota(axes.columns.begin(), axes.columns.end(), 0);
    return axes;
}

const std::array<int, 10> kThrottleRows = {0, 2, 5, 10, 20, 30, 40, 60, 80, 100};

TEST(MapBlockCommands, InterpolatesOneRowByRpm) {
    ParameterImage image = MapImage(7);
    const std::uint8_t axis[5] = {10, 20, 30, 40, 60};
    for (std::size_t i = 0; i < 5; ++i)
        image[field::mapRpm + i] = axis[i];
    Put(image, 2, 0, 10);
    Put(image, 2, 4, 30);
    const MapBlock block{2, 0, 2, 4};
    const MapAxes axes = AxesOf(image, kThrottleRows);

    ParameterImage rows = image;
    EXPECT_FALSE(InterpolateBlock(rows, block, Interpolation::Rows, axes));
    EXPECT_EQ(rows, image); // one row high: nothing to fill downwards

    for (Interpolation direction : {Interpolation::Columns, Interpolation::Corners}) {
        ParameterImage filled = image;
        EXPECT_FALSE(InterpolateBlock(filled, block, direction, axes));
        EXPECT_EQ(Row(filled, 2, 0, 5), (std::vector<int>{10, 14, 18, 22, 30, 7}));
        EXPECT_EQ(Row(filled, 1, 0, 4), (std::vector<int>(5, 7)));
    }
}

TEST(MapBlockCommands, InterpolatesOneColumnByThrottle) {
    ParameterImage image = MapImage(7);
    Put(image, 0, 3, 20);
    Put(image, 4, 3, 40);
    const MapBlock block{0, 3, 4, 3};
    const MapAxes axes = AxesOf(image, kThrottleRows);
    for (Interpolation direction : {Interpolation::Rows, Interpolation::Corners}) {
        ParameterImage filled = image;
        InterpolateBlock(filled, block, direction, axes);
        EXPECT_EQ(Column(filled, 3, 0, 5), (std::vector<int>{20, 22, 25, 30, 40, 7}));
    }
    ParameterImage columns = image;
    InterpolateBlock(columns, block, Interpolation::Columns, axes);
    EXPECT_EQ(columns, image);
}

TEST(MapBlockCommands, InterpolatesABlockFromItsCornersOrEdges) {
    ParameterImage image = MapImage(7);
    Put(image, 1, 2, 0);
    Put(image, 1, 4, 20);
    Put(image, 3, 2, 40);
    Put(image, 3, 4, 60);
    const MapBlock block{1, 2, 3, 4};

    ParameterImage corners = image;
    EXPECT_FALSE(InterpolateBlock(corners, block, Interpolation::Corners, IndexAxes()));
    EXPECT_EQ(Row(corners, 1, 1, 5), (std::vector<int>{7, 0, 10, 20, 7}));
    EXPECT_EQ(Row(corners, 2, 1, 5), (std::vector<int>{7, 20, 30, 40, 7}));
    EXPECT_EQ(Row(corners, 3, 1, 5), (std::vector<int>{7, 40, 50, 60, 7}));
    EXPECT_EQ(Row(corners, 0, 2, 4), (std::vector<int>(3, 7)));

    // Down each column from its own top and bottom cell: the middle
    // column's ends are 7 and 7.
    ParameterImage rows = image;
    InterpolateBlock(rows, block, Interpolation::Rows, IndexAxes());
    EXPECT_EQ(Row(rows, 2, 2, 4), (std::vector<int>{20, 7, 40}));

    // Halves round away from zero.
    ParameterImage half = MapImage(0);
    Put(half, 0, 2, 1);
    InterpolateBlock(half, MapBlock{0, 0, 0, 2}, Interpolation::Columns, IndexAxes());
    EXPECT_EQ(Row(half, 0, 0, 2), (std::vector<int>{0, 1, 1}));
}

TEST(MapBlockCommands, ResultsAreRoundedAndKeptWithinTheLimits) {
    struct Case {
        const char* name;
        std::uint8_t before;
        bool (*run)(ParameterImage&, const MapBlock&);
        int after;
        bool clipped;
    };
    const Case cases[] = {
        {"set 30", 10, [](ParameterImage& i, const MapBlock& b) { return SetBlock(i, b, 30); }, 30,
         false},
        {"set 61", 10, [](ParameterImage& i, const MapBlock& b) { return SetBlock(i, b, 61); }, 60,
         true},
        {"set -1", 10, [](ParameterImage& i, const MapBlock& b) { return SetBlock(i, b, -1); }, 0,
         true},
        {"add 5", 10, [](ParameterImage& i, const MapBlock& b) { return AddToBlock(i, b, 5); }, 15,
         false},
        {"add past 60", 58,
         [](ParameterImage& i, const MapBlock& b) { return AddToBlock(i, b, 3); }, 60, true},
        {"subtract past 0", 5,
         [](ParameterImage& i, const MapBlock& b) { return AddToBlock(i, b, -10); }, 0, true},
        {"scale 150 half up", 33,
         [](ParameterImage& i, const MapBlock& b) { return ScaleBlock(i, b, 150); }, 50, false},
        {"scale 150 past 60", 50,
         [](ParameterImage& i, const MapBlock& b) { return ScaleBlock(i, b, 150); }, 60, true},
        {"scale 0", 50, [](ParameterImage& i, const MapBlock& b) { return ScaleBlock(i, b, 0); }, 0,
         false},
        {"scale 90", 25, [](ParameterImage& i, const MapBlock& b) { return ScaleBlock(i, b, 90); },
         23, false},
    };
    for (const Case& c : cases) {
        ParameterImage image = MapImage(c.before);
        const MapBlock block{4, 4, 5, 6};
        EXPECT_EQ(c.run(image, block), c.clipped) << c.name;
        EXPECT_EQ(At(image, 4, 4), c.after) << c.name;
        EXPECT_EQ(At(image, 5, 6), c.after) << c.name;
        EXPECT_EQ(At(image, 3, 4), c.before) << c.name;
        EXPECT_EQ(At(image, 4, 7), c.before) << c.name;
    }
}

TEST(MapBlockCommands, ABlockOutsideTheMapChangesNothing) {
    const ParameterImage image = MapImage(10);
    for (const MapBlock& block : {MapBlock{-1, 0, 2, 2}, MapBlock{0, 0, 10, 2},
                                  MapBlock{3, 3, 2, 3}, MapBlock{0, 8, 0, 10}}) {
        ParameterImage changed = image;
        SetBlock(changed, block, 20);
        InterpolateBlock(changed, block, Interpolation::Corners, IndexAxes());
        SmoothBlock(changed, block);
        EXPECT_EQ(changed, image);
    }
}

TEST(MapBlockCommands, SmoothingAtTheMapsEdgesTakesTheNeighboursThereAre) {
    ParameterImage image = MapImage(10);
    Put(image, 0, 0, 30);
    Put(image, 0, 5, 31);
    Put(image, 9, 9, 30);
    EXPECT_FALSE(SmoothBlock(image, kWholeMap));
    EXPECT_EQ(At(image, 0, 0), 20); // two neighbours, both 10
    EXPECT_EQ(At(image, 0, 5), 21); // (31 + 10) / 2 = 20.5
    EXPECT_EQ(At(image, 9, 9), 20); // the far corner
    EXPECT_EQ(At(image, 0, 1), 13); // (10 + (30 + 10 + 10) / 3) / 2, from the old values
    EXPECT_EQ(At(image, 5, 5), 10);

    // Only the last row in use: its cells have no neighbours above.
    ParameterImage single = MapImage(0);
    Put(single, 9, 0, 30);
    Put(single, 9, 1, 10);
    SmoothBlock(single, MapBlock{9, 0, 9, 0}, MapArea(false));
    EXPECT_EQ(At(single, 9, 0), 20);
}

TEST(MapBlockCommands, PasteParsing) {
    struct Case {
        const char* text;
        std::optional<NumberRows> numbers;
    };
    const Case cases[] = {
        {"1\t2\t3\n4\t5\t6\n", NumberRows{{1, 2, 3}, {4, 5, 6}}},
        {"1,2\r\n3,4\r\n", NumberRows{{1, 2}, {3, 4}}},
        {" 7 ", NumberRows{{7}}},
        {"12,5\t3.4\n", NumberRows{{13, 3}}}, // a decimal comma between tabs
        {"-2\t+4", NumberRows{{-2, 4}}},
        {"\t1500\t2000\n0%\t10\t11\n2%\t12\t13\n", NumberRows{{10, 11}, {12, 13}}},
        {"", std::nullopt},
        {"\n\n", std::nullopt},
        {"abc", std::nullopt},
        {"1\t2\n3\n", std::nullopt}, // not a rectangle
        {"1;2", std::nullopt},
        {"12°", std::nullopt},
        {"1,,2", std::nullopt},
        {"1e3", std::nullopt},
        {"\t1500\n", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParsePastedNumbers(c.text), c.numbers) << c.text;
}

TEST(MapBlockCommands, CopiedTextPastesBackUnchanged) {
    ParameterImage image = MapImage(0);
    for (int cell = 0; cell < 100; ++cell)
        image[field::advanceMap + static_cast<std::size_t>(cell)] =
            static_cast<std::uint8_t>(cell % 61);
    std::array<std::string, 10> labels;
    for (std::size_t i = 0; i < 10; ++i)
        labels[i] = std::to_string(kThrottleRows[i]) + "%";
    const MapBlock block{2, 3, 4, 5};
    const std::string text = BlockText(image, block, labels);
    EXPECT_EQ(text.substr(0, text.find('\n')), "\t4500\t5500\t6500");
    EXPECT_EQ(text.substr(text.find('\n') + 1,
                          text.find('\n', text.find('\n') + 1) - text.find('\n') - 1),
              "5%\t23\t24\t25");

    const auto numbers = ParsePastedNumbers(text);
    ASSERT_TRUE(numbers);
    ParameterImage target = MapImage(0);
    const PasteOutcome outcome = PasteBlock(target, MapBlock{2, 3, 2, 3}, *numbers);
    EXPECT_TRUE(outcome.fits);
    EXPECT_FALSE(outcome.clipped);
    for (int row = 2; row <= 4; ++row)
        EXPECT_EQ(Row(target, row, 3, 5), Row(image, row, 3, 5));
}

TEST(MapBlockCommands, PasteThatDoesNotFitChangesNothing) {
    const ParameterImage image = MapImage(10);
    ParameterImage target = image;
    EXPECT_FALSE(PasteBlock(target, MapBlock{0, 8, 0, 8}, NumberRows{{1, 2, 3}}).fits);
    EXPECT_FALSE(
        PasteBlock(target, MapBlock{9, 0, 9, 0}, NumberRows{{1}, {2}}, MapArea(false)).fits);
    EXPECT_EQ(target, image);

    // One number fills the selection; numbers beyond 0..60 are kept there.
    const PasteOutcome outcome = PasteBlock(target, MapBlock{1, 1, 2, 2}, NumberRows{{75}});
    EXPECT_TRUE(outcome.fits);
    EXPECT_TRUE(outcome.clipped);
    EXPECT_EQ(Row(target, 2, 0, 3), (std::vector<int>{10, 60, 60, 10}));
}

} // namespace
} // namespace orna5
