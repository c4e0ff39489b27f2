#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "files/ParameterFile.h"

namespace orna5 {
namespace {

// The image right after start-up: the common defaults with the preset of
// model code 20, written out by hand so the golden file is checked against
// the layout rather than against another routine of this program.
ParameterImage StartupImage() {
    ParameterImage image{};
    const std::pair<std::size_t, int> bytes[] = {
        {0, 20},  {2, 1},    {3, 5},    {4, 2},   {5, 1},   {7, 90},   {9, 10},  {10, 1},
        {11, 2},  {12, 100}, {13, 110}, {17, 20}, {20, 70}, {21, 129}, {23, 11}, {24, 11},
        {25, 11}, {26, 11},  {27, 10},  {28, 50}, {30, 1},  {31, 3},   {34, 2},  {35, 4},
        {38, 1},  {39, 1},   {42, 1},   {43, 1},  {54, 2}};
    for (const auto& [offset, value] : bytes) {
        image[offset] = static_cast<std::uint8_t>(value);
    }
    const int servoRpm[] = {12, 20, 30, 40, 60, 80, 100, 120, 140, 160};
    const int mapRpm[] = {15, 20, 30, 40, 50, 60, 70, 80, 90, 100};
    for (std::size_t i = 0; i < 10; ++i) {
        image[field::servoRpm + i] = static_cast<std::uint8_t>(servoRpm[i]);
        image[field::servoMv + i] = static_cast<std::uint8_t>(100 + 5 * i);
        image[field::mapRpm + i] = static_cast<std::uint8_t>(mapRpm[i]);
    }
    const int map[10][10] = {
        {10, 13, 16, 25, 28, 32, 33, 33, 33, 33}, {10, 16, 22, 31, 33, 35, 35, 35, 35, 35},
        {10, 24, 35, 44, 45, 45, 43, 41, 41, 41}, {10, 19, 32, 39, 45, 47, 46, 43, 43, 43},
        {10, 12, 15, 25, 31, 33, 32, 32, 32, 31}, {10, 12, 16, 25, 28, 30, 33, 32, 32, 32},
        {10, 12, 16, 25, 28, 30, 33, 31, 33, 31}, {10, 12, 15, 25, 28, 30, 32, 32, 32, 32},
        {10, 12, 15, 25, 28, 30, 32, 32, 32, 32}, {10, 12, 15, 25, 28, 30, 32, 32, 32, 32}};
    for (std::size_t r = 0; r < 10; ++r) {
        for (std::size_t c = 0; c < 10; ++c) {
            image[MapCell(r, c)] = static_cast<std::uint8_t>(map[r][c]);
        }
    }
    return image;
}

std::string Write(const ParameterImage& image) {
    std::ostringstream out;
    WriteParameterFile(out, image);
    return out.str();
}

bool IsCarried(std::size_t offset) {
    return !(offset == 1 || offset == 14 || offset == 18 || offset == 19 || offset == 29 ||
             (offset >= 57 && offset <= 69) || offset >= 200);
}

bool IsFlag(std::size_t offset) {
    return offset == field::excitationLong || offset == field::mapUsesTps ||
           offset == field::servoEnable;
}

TEST(ParameterFileWriterTest, StartupImageMatchesTheGoldenFileByteForByte) {
    std::ifstream golden(ORNA5_TEST_DATA "/startup.ign", std::ios::binary);
    ASSERT_TRUE(golden.is_open());
    const std::string expected((std::istreambuf_iterator<char>(golden)),
                               std::istreambuf_iterator<char>());
    EXPECT_EQ(Write(StartupImage()), expected);
}

TEST(ParameterFileWriterTest, SignedValuesFlagsAndLargestNumbers) {
    ParameterImage image = StartupImage();
    image[field::tachoCorrection] = 0;
    image[field::excitationLong] = 7;
    image[field::shiftLightRpm] = 255;
    image[field::tpsFullMv] = 255;
    const std::string text = Write(image);
    EXPECT_NE(text.find("\r\nRPM             2  -100 \r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nEXCITATION      1\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nPILOT_LIGHT 25500 \r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nTPS           700  5050 \r\n"), std::string::npos);
    // Every line break is CR LF; there is no bare LF and no final break.
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ASSERT_GT(i, 0u);
            EXPECT_EQ(text[i - 1], '\r');
        }
    }
    EXPECT_EQ(text.back(), ' ');
}

TEST(ParameterFileWriterTest, EveryByteValueOfEveryCarriedFieldRoundTrips) {
    ParameterImage untouched;
    for (std::size_t i = 0; i < untouched.size(); ++i) {
        untouched[i] = static_cast<std::uint8_t>(i * 37 + 11);
    }
    for (int value = 0; value < 256; ++value) {
        ParameterImage written;
        written.fill(static_cast<std::uint8_t>(value));
        std::istringstream in(Write(written));
        ParameterImage read = untouched;
        ASSERT_TRUE(ReadParameterFile(in, read));
        for (std::size_t i = 0; i < read.size(); ++i) {
            int expected = untouched[i];
            if (IsCarried(i)) {
                // A switch written as 1 leaves an "on" the image already holds.
                const int on = untouched[i] != 0 ? untouched[i] : 1;
                expected = IsFlag(i) ? (value != 0 ? on : 0) : value;
            }
            ASSERT_EQ(read[i], expected) << "byte " << i << " value " << value;
        }
    }
}

TEST(ParameterFileWriterTest, DistinctValuesComeBackInTheirOwnBytes) {
    // Catches two fields swapped in the writer or the reader, which a fill of
    // one value cannot see.
    ParameterImage written;
    for (std::size_t i = 0; i < written.size(); ++i) {
        written[i] = static_cast<std::uint8_t>(i + 13);
    }
    std::istringstream in(Write(written));
    ParameterImage read{};
    ASSERT_TRUE(ReadParameterFile(in, read));
    for (std::size_t i = 0; i < read.size(); ++i) {
        const int expected = !IsCarried(i) ? 0 : IsFlag(i) ? 1 : written[i];
        EXPECT_EQ(read[i], expected) << "byte " << i;
    }
}

} // namespace
} // namespace orna5
