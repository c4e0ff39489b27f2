#include "SimTestSupport.h"

#include "device/UnitInfoBlock.h"
#include "files/ParameterFile.h"
#include "sim/UnitEmulator.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <numeric>

using namespace orna5;
using orna5::test::CheckOk;
using orna5::test::Frame;
using orna5::test::Get16;

namespace {

std::vector<std::uint8_t> Page(std::uint8_t first) {
    std::vector<std::uint8_t> p(100);
    std::iota(p.begin(), p.end(), first);
    return p;
}

std::vector<std::uint8_t> PayloadOf(const std::vector<std::uint8_t>& answer) {
    return {answer.begin() + 1, answer.begin() + 101};
}

std::vector<std::uint8_t> Poll(UnitEmulator& unit) {
    return unit.Feed(Frame(0x30));
}

} // namespace

TEST(UnitEmulator, ProgrammedPageIsStoredAndEchoed) {
    UnitEmulator unit;
    const auto page1 = Page(1);
    const auto page2 = Page(50);
    auto answer = unit.Feed(Frame(0x01, page1));
    ASSERT_EQ(answer.size(), 102u);
    EXPECT_EQ(answer[0], 0x81);
    EXPECT_TRUE(CheckOk(answer));
    EXPECT_EQ(PayloadOf(answer), page1);
    EXPECT_EQ(unit.ProgrammingCount(), 0u);

    answer = unit.Feed(Frame(0x02, page2));
    EXPECT_EQ(answer[0], 0x82);
    EXPECT_EQ(PayloadOf(answer), page2);
    EXPECT_EQ(unit.ProgrammingCount(), 1u);
    EXPECT_TRUE(std::equal(page1.begin(), page1.end(), unit.StoredBytes().begin()));
    EXPECT_TRUE(std::equal(page2.begin(), page2.end(), unit.StoredBytes().begin() + 100));
}

TEST(UnitEmulator, ReadAndVerifyNeverStore) {
    UnitEmulator unit;
    const auto before = unit.StoredBytes();
    // A Verify frame carries the program's page with the read flag: the unit
    // answers with what it holds and keeps it.
    auto answer = unit.Feed(Frame(0x41, Page(7)));
    ASSERT_EQ(answer.size(), 102u);
    EXPECT_EQ(answer[0], 0xC1);
    EXPECT_TRUE(CheckOk(answer));
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + 100, answer.begin() + 1));
    answer = unit.Feed(Frame(0x42));
    EXPECT_EQ(answer[0], 0xC2);
    EXPECT_TRUE(std::equal(before.begin() + 100, before.end(), answer.begin() + 1));
    EXPECT_EQ(unit.StoredBytes(), before);
    EXPECT_EQ(unit.ProgrammingCount(), 0u);
}

TEST(UnitEmulator, StartsWithAStartUpLikeImage) {
    UnitEmulator unit;
    const auto& m = unit.StoredBytes();
    EXPECT_EQ(m[field::bikeCode], 20);
    EXPECT_EQ(m[field::limiterRpm], 110);
    EXPECT_EQ(m[field::mapRpm], 15);
    EXPECT_EQ(m[MapCell(9, 9)], 32);
}

TEST(UnitEmulator, PageZeroCarriesTheInformationBlock) {
    EmulatorOptions options;
    options.identity.versionPrefix = "ABC";
    options.identity.versionNumber = 7;
    options.identity.buildDay = 9;
    options.identity.buildMonth = 5;
    options.identity.buildYear = 9;
    options.identity.buildHour = 23;
    options.identity.buildMinute = 59;
    UnitEmulator unit(options);
    for (std::uint8_t command : {0x00, 0x40}) {
        const auto answer = unit.Feed(Frame(command));
        ASSERT_EQ(answer.size(), 102u);
        EXPECT_EQ(answer[0], command ^ 0x80);
        EXPECT_TRUE(CheckOk(answer));
        EXPECT_EQ(std::string(answer.begin() + 1, answer.begin() + 4), "ABC");
        EXPECT_EQ(answer[1 + 3], 7);
        EXPECT_EQ(answer[1 + 4], 9);
        EXPECT_EQ(answer[1 + 5], 39); // May
        EXPECT_EQ(answer[1 + 6], 9);
        EXPECT_EQ(answer[1 + 7], 23);
        EXPECT_EQ(answer[1 + 8], 59);
        EXPECT_EQ(answer[1 + 10], 54);
        EXPECT_EQ(answer[1 + 16], 0); // no long version
    }
    const auto before = unit.StoredBytes();
    unit.Feed(Frame(0x00, Page(3))); // page 0 is never memory
    EXPECT_EQ(unit.StoredBytes(), before);

    const std::uint8_t codes[] = {25, 13, 32, 35, 39, 45, 43, 29, 40, 38, 51, 12};
    for (int month = 1; month <= 12; ++month)
        EXPECT_EQ(MonthCode(month), codes[month - 1]) << month;
    EXPECT_EQ(MonthCode(13), 0);
}

TEST(UnitEmulator, LongVersionTextIsZeroEndedAndCut) {
    EmulatorOptions options;
    options.identity.longVersion = "ORNA 5 race build";
    UnitEmulator unit(options);
    auto block = unit.InfoBlock();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&block[16])), "ORNA 5 race build");
    unit.Options().identity.longVersion = std::string(40, 'x');
    block = unit.InfoBlock();
    EXPECT_EQ(block[45], 'x');
    EXPECT_EQ(block[46], 0);
}

TEST(UnitEmulator, PollAnswersLiveData) {
    UnitEmulator unit;
    const auto& m = unit.StoredBytes();
    const unsigned limiter = m[field::limiterRpm] * 100u;
    unsigned lowest = 100000, highest = 0;
    for (int i = 0; i < EngineModel::kSweepPolls; ++i) {
        const auto f = Poll(unit);
        ASSERT_EQ(f.size(), 102u);
        ASSERT_EQ(f[0], 0xB0);
        ASSERT_TRUE(CheckOk(f));
        EXPECT_EQ(f[100], 54);
        const unsigned rpm = Get16(f, 1);
        lowest = std::min(lowest, rpm);
        highest = std::max(highest, rpm);
        EXPECT_GE(rpm, unsigned(EngineModel::kIdleRpm));
        EXPECT_LE(rpm, limiter);
        EXPECT_LE(f[41], 100);
        const unsigned mv = Get16(f, 5);
        EXPECT_GT(mv, 13600u);
        EXPECT_LT(mv, 14000u);
        EXPECT_LE(Get16(f, 3), 1023u);
        EXPECT_NE(f[65], 0); // servo in order
        // The default model fires one channel per output in use with the
        // advance of the live cell; the map does not use the throttle, so
        // the live cell is in the last row.
        const int outputs = m[field::outputCount];
        for (int c = 0; c < 4; ++c) {
            if (c < outputs)
                EXPECT_GE(f[50 + c], 100);
            else
                EXPECT_EQ(f[50 + c], 0);
        }
        bool inLastRow = false;
        for (int col = 0; col < 10; ++col)
            inLastRow |= f[50] == m[MapCell(9, col)] + 100;
        EXPECT_TRUE(inLastRow);
    }
    EXPECT_EQ(lowest, unsigned(EngineModel::kIdleRpm));
    EXPECT_EQ(highest, limiter);
    EXPECT_EQ(unit.PollCount(), unsigned(EngineModel::kSweepPolls));
}

TEST(UnitEmulator, LiveAdvanceFollowsTheStoredMap) {
    UnitEmulator unit;
    auto bytes = unit.StoredBytes();
    for (std::size_t i = 0; i < 100; ++i)
        bytes[field::advanceMap + i] = static_cast<std::uint8_t>(i % 10 + 20); // column + 20
    bytes[field::outputCount] = 4;
    unit.SetStoredBytes(bytes);
    unit.Engine().SetPhase(-1); // the next poll is at idle: 1200 rpm, nearest point 1500
    const auto f = Poll(unit);
    EXPECT_EQ(Get16(f, 1), 1200u);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(f[50 + c], 100 + 20);
}

TEST(UnitEmulator, CountersAfterProgramming) {
    UnitEmulator unit;
    unit.Feed(Frame(0x01, Page(0)));
    unit.Feed(Frame(0x02, Page(0)));
    unit.Feed(Frame(0x02, Page(0)));
    EXPECT_EQ(unit.ProgrammingCount(), 2u);
    EXPECT_EQ(unit.SavingCount(), UnitEmulator::kSavingFull);
    unsigned lastSaving = UnitEmulator::kSavingFull;
    int polls = 0;
    for (;;) {
        const auto f = Poll(unit);
        ++polls;
        EXPECT_EQ(Get16(f, 11), 2u);
        const unsigned saving = Get16(f, 95);
        EXPECT_LT(saving, lastSaving);
        lastSaving = saving;
        if (saving == 0)
            break;
        ASSERT_LT(polls, 100);
    }
    EXPECT_GT(polls, 1);
    EXPECT_EQ(Get16(Poll(unit), 95), 0u);
}

TEST(UnitEmulator, FrameAssemblyAndDamagedFrames) {
    UnitEmulator unit;
    const auto poll = Frame(0x30);
    for (std::size_t i = 0; i + 1 < poll.size(); ++i)
        EXPECT_TRUE(unit.Feed(&poll[i], 1).empty());
    EXPECT_EQ(unit.Feed(&poll.back(), 1).size(), 102u);

    auto bad = Frame(0x41);
    bad[50] ^= 0x01;
    EXPECT_TRUE(unit.Feed(bad).empty());
    EXPECT_EQ(unit.RejectedFrames(), 1u);

    // Two frames in one go, then unknown commands: pages above 2 and answer
    // codes get nothing.
    auto two = Frame(0x40);
    const auto second = Frame(0x42);
    two.insert(two.end(), second.begin(), second.end());
    const auto answers = unit.Feed(two);
    ASSERT_EQ(answers.size(), 204u);
    EXPECT_EQ(answers[0], 0xC0);
    EXPECT_EQ(answers[102], 0xC2);
    EXPECT_TRUE(unit.Feed(Frame(0x03)).empty());
    EXPECT_TRUE(unit.Feed(Frame(0x81)).empty());

    unit.Feed(Frame(0x30).data(), 40);
    EXPECT_EQ(unit.PartialFrameBytes(), 40u);
    unit.DiscardPartialFrame();
    EXPECT_EQ(unit.Feed(Frame(0x30)).size(), 102u);
}

TEST(UnitEmulator, SilentAndOtherProtocol) {
    EmulatorOptions silent;
    silent.silent = true;
    UnitEmulator quiet(silent);
    const auto before = quiet.StoredBytes();
    EXPECT_TRUE(quiet.Feed(Frame(0x30)).empty());
    EXPECT_TRUE(quiet.Feed(Frame(0x01, Page(9))).empty());
    EXPECT_EQ(quiet.StoredBytes(), before);

    EmulatorOptions old;
    old.protocolVersion = 53;
    UnitEmulator unit(old);
    EXPECT_EQ(unit.Feed(Frame(0x00))[1 + 10], 53);
    EXPECT_EQ(Poll(unit)[100], 53);
}

TEST(UnitEmulator, DroppedAndCorruptedAnswersSpareThePolls) {
    EmulatorOptions options;
    options.dropAnswers = 2;
    options.corruptAnswers = 1;
    UnitEmulator unit(options);
    EXPECT_EQ(Poll(unit).size(), 102u); // polls do not use the faults up
    EXPECT_TRUE(unit.Feed(Frame(0x00)).empty());
    EXPECT_TRUE(unit.Feed(Frame(0x01, Page(4))).empty());
    // The dropped program answer was lost on the line; the page was stored.
    EXPECT_EQ(unit.StoredBytes()[0], 4);
    auto answer = unit.Feed(Frame(0x00));
    ASSERT_EQ(answer.size(), 102u);
    EXPECT_EQ(answer[0], 0x80);
    EXPECT_FALSE(CheckOk(answer));
    EXPECT_TRUE(CheckOk(unit.Feed(Frame(0x00))));

    EmulatorOptions polls;
    polls.corruptAnswers = 1;
    polls.faultPolls = true;
    UnitEmulator noisy(polls);
    EXPECT_FALSE(CheckOk(Poll(noisy)));
    EXPECT_TRUE(CheckOk(Poll(noisy)));
}

TEST(UnitEmulator, BadEchoIsWrongOnlyTheGivenNumberOfTimes) {
    EmulatorOptions options;
    options.badEchoAnswers = 2;
    options.badEchoPage = 2;
    UnitEmulator unit(options);
    const auto page = Page(10);
    EXPECT_EQ(PayloadOf(unit.Feed(Frame(0x01, page))), page); // other page: fine
    for (int i = 0; i < 2; ++i) {
        const auto answer = unit.Feed(Frame(0x02, page));
        EXPECT_TRUE(CheckOk(answer)); // a wrong echo, not a damaged frame
        EXPECT_NE(PayloadOf(answer), page);
    }
    EXPECT_EQ(PayloadOf(unit.Feed(Frame(0x02, page))), page);
    EXPECT_TRUE(std::equal(page.begin(), page.end(), unit.StoredBytes().begin() + 100));
}

TEST(UnitEmulator, BadStoreShowsOnlyInTheReadBack) {
    EmulatorOptions options;
    options.badStoreOffset = 105;
    UnitEmulator unit(options);
    const auto page = Page(0);
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(PayloadOf(unit.Feed(Frame(0x02, page))), page);
        const auto read = PayloadOf(unit.Feed(Frame(0x42, page)));
        EXPECT_NE(read[5], page[5]);
        EXPECT_EQ(read[4], page[4]);
    }
    EXPECT_EQ(unit.StoredBytes()[105], page[5] + 1);
}

TEST(UnitEmulator, StrayBytesGoAheadOfTheFirstAnswers) {
    EmulatorOptions options;
    options.strayBytes = 3;
    options.strayAnswers = 1;
    UnitEmulator unit(options);
    auto answer = unit.Feed(Frame(0x40));
    ASSERT_EQ(answer.size(), 105u);
    EXPECT_FALSE(CheckOk(answer));
    EXPECT_TRUE(CheckOk(answer, 3));
    EXPECT_EQ(answer[3], 0xC0);
    EXPECT_EQ(unit.Feed(Frame(0x40)).size(), 102u);
}

TEST(UnitEmulator, LoadsAParameterFile) {
    ParameterImage image{};
    UnitEmulator unit;
    std::copy(unit.StoredBytes().begin(), unit.StoredBytes().end(), image.begin());
    image[field::limiterRpm] = 95;
    image[MapCell(3, 4)] = 41;
    const std::string path = ::testing::TempDir() + "sim_load.ign";
    {
        std::ofstream out(path, std::ios::binary);
        WriteParameterFile(out, image);
    }
    std::string error;
    ASSERT_TRUE(unit.LoadFile(path, error)) << error;
    EXPECT_EQ(unit.StoredBytes()[field::limiterRpm], 95);
    EXPECT_EQ(unit.StoredBytes()[MapCell(3, 4)], 41);

    {
        std::ofstream out(path, std::ios::binary);
        out << "not a parameter file\r\n";
    }
    EXPECT_FALSE(unit.LoadFile(path, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(unit.StoredBytes()[field::limiterRpm], 95);
    std::remove(path.c_str());
    EXPECT_FALSE(unit.LoadFile(path, error));
    EXPECT_NE(error.find("No such file"), std::string::npos);
}
