#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "files/ParameterFile.h"

namespace orna5 {
namespace {

// An image whose every byte differs from its neighbours, so a stray write shows.
ParameterImage Pattern() {
    ParameterImage image;
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(200 - i);
    }
    return image;
}

struct ReadResult {
    bool versionMatched;
    ParameterImage image;
};

ReadResult Read(const std::string& text, ParameterImage image = Pattern()) {
    std::istringstream in(text);
    const bool matched = ReadParameterFile(in, image);
    return {matched, image};
}

// The image with the given bytes changed, for comparing whole images.
ParameterImage PatternWith(std::initializer_list<std::pair<std::size_t, int>> changes) {
    ParameterImage image = Pattern();
    for (const auto& [offset, value] : changes) {
        image[offset] = static_cast<std::uint8_t>(value);
    }
    return image;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const std::string kMagic = "KAMBRIX_KEY   54 \r\n\r\n";

TEST(ParameterFileReaderTest, MagicLineDecidesWhetherAnythingIsRead) {
    EXPECT_FALSE(Read("").versionMatched);
    EXPECT_FALSE(Read("just some text 1 2 3").versionMatched);

    const ReadResult wrongVersion = Read("KAMBRIX_KEY 53\r\nLIMITER 120\r\n");
    EXPECT_FALSE(wrongVersion.versionMatched);
    EXPECT_EQ(wrongVersion.image, Pattern());

    // Keys before the accepted magic line, and after a refused one, are ignored.
    const ReadResult second =
        Read("LIMITER 1 KAMBRIX_KEY 53 BASE_ADV 2 KAMBRIX_KEY 54 GEBER_MODE 3");
    EXPECT_TRUE(second.versionMatched);
    EXPECT_EQ(second.image, PatternWith({{field::lobesPerRevCode, 3}}));

    // The version is compared on its low 16 bits; a word in its place is not eaten.
    EXPECT_TRUE(Read("KAMBRIX_KEY 65590").versionMatched);
    EXPECT_TRUE(Read("KAMBRIX_KEY KAMBRIX_KEY 54").versionMatched);
    EXPECT_FALSE(Read("kambrix_key 54").versionMatched);
    EXPECT_FALSE(Read("KAMBRIX_KEY -54").versionMatched);
}

TEST(ParameterFileReaderTest, OnlyTheBytesOfKeysPresentChange) {
    const ReadResult limiter = Read(kMagic + "LIMITER     120 ");
    EXPECT_TRUE(limiter.versionMatched);
    EXPECT_EQ(limiter.image, PatternWith({{field::limiterRpm, 120}}));

    // Unknown words, lower-case keys and stray numbers are skipped one by one.
    const ReadResult unknown = Read(kMagic + "bike 7 FOO 9 9 LIMITER 120 KAMBRIX_KEY 54 limiter 3");
    EXPECT_EQ(unknown.image, PatternWith({{field::limiterRpm, 120}}));
}

TEST(ParameterFileReaderTest, NumbersWrapLikeUnsignedScans) {
    // Plain keys keep the low 8 bits; a minus sign wraps two's complement.
    EXPECT_EQ(Read(kMagic + "LIMITER 300").image[field::limiterRpm], 44);
    EXPECT_EQ(Read(kMagic + "LIMITER -1").image[field::limiterRpm], 255);
    EXPECT_EQ(Read(kMagic + "LIMITER +120").image[field::limiterRpm], 120);
    // 2^32 + 120 and 10^40 (a multiple of 2^40): overlong runs keep their low bits.
    EXPECT_EQ(Read(kMagic + "LIMITER 4294967416").image[field::limiterRpm], 120);
    EXPECT_EQ(Read(kMagic + "LIMITER 1" + std::string(40, '0')).image[field::limiterRpm], 0);

    // The tacho correction is read in percent: -40 % is byte 60, -100 % byte 0.
    const ReadResult rpm = Read(kMagic + "RPM 2 -40");
    EXPECT_EQ(rpm.image[field::tachoPulsesPerRev], 2);
    EXPECT_EQ(rpm.image[field::tachoCorrection], 60);
    EXPECT_EQ(Read(kMagic + "RPM 2 -100").image[field::tachoCorrection], 0);
}

TEST(ParameterFileReaderTest, ScaledKeysDivideTheLow16Bits) {
    const ReadResult r = Read(kMagic + "PILOT_LIGHT 9050 SERVO_MV 1010 1 2 3 4 5 6 7 8 9 "
                                       "TPS 500 4500 CLUTCH 80 2559 SERVO_HYSTER 104");
    EXPECT_EQ(r.image[field::shiftLightRpm], 90);
    EXPECT_EQ(r.image[field::servoMv], 50);
    EXPECT_EQ(r.image[field::servoMv + 9], 0);
    EXPECT_EQ(r.image[field::tpsZeroMv], 50);
    EXPECT_EQ(r.image[field::tpsFullMv], 200); // 4500 / 10 + 6 = 456
    EXPECT_EQ(r.image[field::clutchTime], 8);
    EXPECT_EQ(r.image[field::clutchPause], 255);
    EXPECT_EQ(r.image[field::servoHysteresis], 20);

    // 74536 is 9000 above 2^16; 70000 / 100 would be 700, low byte 188.
    EXPECT_EQ(Read(kMagic + "PILOT_LIGHT 74536").image[field::shiftLightRpm], 90);
    EXPECT_EQ(Read(kMagic + "RPM_ADV 70000").image[field::mapRpm], (70000 & 0xFFFF) / 100);
    EXPECT_EQ(Read(kMagic + "PILOT_LIGHT -100").image[field::shiftLightRpm], 0xFF9C / 100 & 0xFF);
}

TEST(ParameterFileReaderTest, FlagsStoreTheNumberItself) {
    const ReadResult r = Read(kMagic + "EXCITATION 7 TPS_MAPA 2 SERVO_ENABLE 0");
    EXPECT_EQ(r.image[field::excitationLong], 7);
    EXPECT_EQ(r.image[field::mapUsesTps], 2);
    EXPECT_EQ(r.image[field::servoEnable], 0);

    // The writer puts any "on" down as 1, so a 1 read over a unit's own "on"
    // (2 in the unit) leaves it; 0 and any other number are stored.
    ParameterImage unit = Pattern();
    unit[field::excitationLong] = 2;
    unit[field::mapUsesTps] = 2;
    unit[field::servoEnable] = 3;
    const ReadResult over = Read(kMagic + "EXCITATION 1 TPS_MAPA 0 SERVO_ENABLE 5", unit);
    EXPECT_EQ(over.image[field::excitationLong], 2);
    EXPECT_EQ(over.image[field::mapUsesTps], 0);
    EXPECT_EQ(over.image[field::servoEnable], 5);
    unit[field::excitationLong] = 0;
    EXPECT_EQ(Read(kMagic + "EXCITATION 1", unit).image[field::excitationLong], 1);
}

TEST(ParameterFileReaderTest, RepeatedKeysLastOneWins) {
    std::string text = kMagic + "ADVANCE";
    for (int i = 0; i < 100; ++i) {
        text += " 1";
    }
    text += "\r\nLIMITER 100\r\nADVANCE";
    for (int i = 0; i < 100; ++i) {
        text += " " + std::to_string(i);
    }
    text += "\r\nLIMITER 101";
    const ReadResult r = Read(text);
    for (std::size_t i = 0; i < 100; ++i) {
        EXPECT_EQ(r.image[field::advanceMap + i], i);
    }
    EXPECT_EQ(r.image[field::limiterRpm], 101);
}

TEST(ParameterFileReaderTest, MissingNumbersKeepTheirBytesAndTheNextKeyIsRead) {
    // CLUTCH lacks its second number: the pause keeps its byte, LIMITER is read.
    EXPECT_EQ(Read(kMagic + "CLUTCH 80 LIMITER 120").image,
              PatternWith({{field::clutchTime, 8}, {field::limiterRpm, 120}}));

    // BIKE cut short after its first number: the other 32 bytes stay.
    EXPECT_EQ(Read(kMagic + "BIKE 5\r\nGEBER_MODE 2").image,
              PatternWith({{field::bikeCode, 5}, {field::lobesPerRevCode, 2}}));

    // A sign without digits is a word, not a number.
    EXPECT_EQ(Read(kMagic + "CLUTCH 80 -x LIMITER 120 BASE_ADV + 3").image,
              PatternWith({{field::clutchTime, 8}, {field::limiterRpm, 120}}));

    // A number glued to a word is read, and the rest is the next word.
    EXPECT_EQ(Read(kMagic + "LIMITER 120GEBER_MODE 3").image,
              PatternWith({{field::limiterRpm, 120}, {field::lobesPerRevCode, 3}}));

    // End of stream in the middle of a key.
    EXPECT_EQ(Read(kMagic + "TPS 500").image, PatternWith({{field::tpsZeroMv, 50}}));
}

TEST(ParameterFileReaderTest, LongWordsAreOneSkippedWord) {
    const std::string word(10000, 'A');
    EXPECT_EQ(Read(kMagic + word + " LIMITER 120").image, PatternWith({{field::limiterRpm, 120}}));
    // A long word that starts like a key is not that key.
    EXPECT_EQ(Read(kMagic + "LIMITER" + word + " 7 BASE_ADV 3").image,
              PatternWith({{field::baseAdvance, 3}}));
    EXPECT_FALSE(Read("KAMBRIX_KEY" + word + " 54").versionMatched);
    // A long run of digits is a number too.
    EXPECT_TRUE(Read(kMagic + "LIMITER " + std::string(10000, '9')).versionMatched);
}

TEST(ParameterFileReaderTest, LineEndsAndFinalBreakDoNotMatter) {
    const std::string crlf = Slurp(ORNA5_TEST_DATA "/startup.ign");
    ASSERT_FALSE(crlf.empty());
    std::string lf;
    for (char c : crlf) {
        if (c != '\r') {
            lf += c;
        }
    }
    const ReadResult fromCrLf = Read(crlf);
    ASSERT_TRUE(fromCrLf.versionMatched);
    EXPECT_EQ(Read(lf).image, fromCrLf.image);
    EXPECT_EQ(Read(crlf + "\r\n").image, fromCrLf.image);
    EXPECT_EQ(Read(lf + "\n").image, fromCrLf.image);
    EXPECT_EQ(fromCrLf.image[field::servoMv + 9], 145); // the last number, no break after it
}

} // namespace
} // namespace orna5
