#include "FakeLink.h"

#include "device/DeviceFrame.h"
#include "device/MonitorPanel.h"
#include "device/UnitInfoBlock.h"

#include <gtest/gtest.h>

#include <random>

namespace orna5 {
namespace {

void ExpectZeroPayload(const DeviceFrame& f) {
    for (std::size_t k = 1; k <= kPayloadSize; ++k) {
        ASSERT_EQ(f[k], 0) << k;
    }
}

TEST(DeviceFrame, FixedFramesHaveTheirCheckBytes) {
    ParameterImage image{};
    image.fill(0x5A);

    const DeviceFrame poll = BuildPollFrame();
    EXPECT_EQ(poll[0], 0x30);
    ExpectZeroPayload(poll);
    EXPECT_EQ(poll[101], 0xCF);

    const DeviceFrame read0 = BuildDataFrame(0x40, false, image);
    EXPECT_EQ(read0[0], 0x40);
    ExpectZeroPayload(read0);
    EXPECT_EQ(read0[101], 0xBF);

    // Page 0 carries no image data even in a Program.
    const DeviceFrame program0 = BuildDataFrame(0x00, true, image);
    ExpectZeroPayload(program0);
    EXPECT_EQ(program0[101], 0xFF);

    ParameterImage zeros{};
    EXPECT_EQ(BuildDataFrame(0x02, true, zeros)[101], 0xFD);
}

TEST(DeviceFrame, VerifyCarriesThePageAndReadCarriesZeros) {
    ParameterImage image{};
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(i * 7);
    }
    const DeviceFrame verify2 = BuildDataFrame(0x42, true, image);
    for (std::size_t k = 1; k <= kPayloadSize; ++k) {
        ASSERT_EQ(verify2[k], image[100 + k - 1]);
    }
    EXPECT_TRUE(FrameCheckOk(verify2.data()));
    ExpectZeroPayload(BuildDataFrame(0x42, false, image));

    // Bytes 200..206 never travel: a page number beyond 2 sends zeros.
    ExpectZeroPayload(BuildDataFrame(0x03, true, image));
}

TEST(DeviceFrame, CheckRejectsOneFlippedBit) {
    DeviceFrame f = test::MonitorFrameBytes();
    EXPECT_TRUE(FrameCheckOk(f.data()));
    f[40] ^= 0x04;
    EXPECT_FALSE(FrameCheckOk(f.data()));
}

TEST(DeviceFrame, SendWritesThroughTheLinkAndToleratesNoLink) {
    test::FakeLink link;
    ParameterImage image{};
    EXPECT_TRUE(SendPollFrame(&link));
    EXPECT_TRUE(SendDataFrame(&link, 0x41, true, image));
    ASSERT_EQ(link.written.size(), 2u);
    EXPECT_EQ(link.written[1][0], 0x41);
    EXPECT_FALSE(SendPollFrame(nullptr));
    EXPECT_FALSE(SendDataFrame(nullptr, 0x00, true, image));
}

TEST(UnitInfoBlock, MonthCodesAndDateText) {
    EXPECT_EQ(MonthFromCode(39), 5);
    EXPECT_EQ(MonthFromCode(25), 1);
    EXPECT_EQ(MonthFromCode(12), 12);
    EXPECT_EQ(MonthFromCode(14), 0);
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(MonthFromCode(MonthCode(m)), m);
    }

    UnitInfoBlock b{};
    b[0] = 'O';
    b[1] = 'R';
    b[2] = 'N';
    b[3] = 7;
    b[4] = 7;
    b[5] = 39;
    b[6] = 9;
    b[7] = 8;
    b[8] = 3;
    UnitInfoTexts t = BuildUnitInfoTexts(b);
    EXPECT_EQ(t.versionText, "ORN07");
    EXPECT_EQ(t.buildDateText, " 7. 5.2009");
    EXPECT_EQ(t.buildTimeText, "08:03");

    b[4] = 24;
    b[5] = 14;
    EXPECT_EQ(BuildUnitInfoTexts(b).buildDateText, "24.00.2009");
    b[5] = 51;
    EXPECT_EQ(BuildUnitInfoTexts(b).buildDateText, "24.11.2009");
}

TEST(UnitInfoBlock, LongVersionReplacesTheShortOne) {
    UnitInfoBlock b{};
    b[0] = 'X';
    const std::string name = "ORNA-5 v2.3";
    std::copy(name.begin(), name.end(), b.begin() + unitInfo::longVersion);
    EXPECT_EQ(BuildUnitInfoTexts(b).versionText, name);

    // Thirty characters without an ending zero stop at the field's end.
    std::fill(b.begin() + unitInfo::longVersion, b.begin() + unitInfo::longVersion + 30, 'A');
    b[unitInfo::longVersion + 30] = 'Z';
    EXPECT_EQ(BuildUnitInfoTexts(b).versionText, std::string(30, 'A'));
}

bool IsValidUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : 0;
        if (len == 0 || i + len > s.size()) {
            return false;
        }
        for (std::size_t k = 1; k < len; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 0x2) {
                return false;
            }
        }
        i += len;
    }
    return true;
}

// Random bytes in every frame position: no crash, no read beyond the frame
// (run under a sanitizer to see the latter), texts always valid UTF-8.
TEST(DeviceFrame, RandomBytesAreHarmless) {
    std::mt19937 rng(54);
    std::uniform_int_distribution<int> byte(0, 255);
    ParameterImage image{};
    for (int round = 0; round < 2000; ++round) {
        for (auto& b : image) {
            b = static_cast<std::uint8_t>(byte(rng));
        }
        DeviceFrame f{};
        for (auto& b : f) {
            b = static_cast<std::uint8_t>(byte(rng));
        }
        if (round % 2 == 0) {
            f[0] = MonitorCode;
            f = test::Sealed(f);
        }
        MonitorPanel panel;
        HandleMonitorFrame(f.data(), image, panel);
        EXPECT_LE(panel.rpmGauge, 100);
        EXPECT_GE(panel.tpsGauge, 0);
        EXPECT_LE(panel.tpsGauge, 100);

        UnitInfoBlock block{};
        std::copy(f.begin() + 1, f.begin() + 101, block.begin());
        const UnitInfoTexts t = BuildUnitInfoTexts(block);
        ASSERT_TRUE(IsValidUtf8(t.versionText));
        ASSERT_EQ(t.buildDateText.size(), 10u);
        ASSERT_EQ(t.buildTimeText.size(), 5u);
    }
}

} // namespace
} // namespace orna5
