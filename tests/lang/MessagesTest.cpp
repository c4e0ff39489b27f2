#include "lang/Messages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orna5 {
namespace {

// Counts code points, so that accented letters count as one character the
// way the label shows them.
size_t CodePoints(const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s) {
        if ((c & 0xC0) != 0x80) {
            ++n;
        }
    }
    return n;
}

TEST(MessagesTest, EveryMessageHasTextInEveryLanguage) {
    for (int id = 0; id < static_cast<int>(Msg::Count); ++id) {
        for (int lang = 0; lang < kLanguageCount; ++lang) {
            EXPECT_FALSE(TextIn(static_cast<Msg>(id), lang).empty())
                << "message " << id << " language " << lang;
        }
    }
}

TEST(MessagesTest, PickupFaultIsFortyCharactersInEveryLanguage) {
    for (int lang = 0; lang < kLanguageCount; ++lang) {
        EXPECT_EQ(CodePoints(TextIn(Msg::PickupSystemError, lang)), 40u) << lang;
    }
    EXPECT_EQ(TextIn(Msg::PickupSystemError, English).rfind("Pick up system error", 0), 0u);
}

TEST(MessagesTest, TextsMatchTheTablesIncludingSpacesAndAccents) {
    EXPECT_EQ(TextIn(Msg::NumberOfProgramming, English), "Number of Programing= ");
    EXPECT_EQ(TextIn(Msg::PrintHeader, German), "Zeitpunkt des Ausdruckes   ");
    EXPECT_EQ(TextIn(Msg::PickupRunning, French), " fonctionne");
    EXPECT_EQ(TextIn(Msg::PickupNoSignal, German), " kein Signal");
    EXPECT_EQ(TextIn(Msg::Saving, French), "Mémorisation");
    EXPECT_EQ(TextIn(Msg::ReadError, Czech), "Chyba čtení!");
    EXPECT_EQ(TextIn(Msg::ManualFileName, Czech), "manual_zentor_orna_5_cz.pdf");
    EXPECT_EQ(TextIn(Msg::Yes, German), "JA");
    EXPECT_EQ(TextIn(Msg::NoConnection, Czech), "Není spojení s PC");
    EXPECT_EQ(TextIn(Msg::Grounded, English), "Grounded");
    EXPECT_EQ(TextIn(Msg::Open, English), "Open");
}

TEST(MessagesTest, LanguageOutsideTheRangeReadsAsEnglish) {
    EXPECT_EQ(TextIn(Msg::ProgramError, -1), "Program error!");
    EXPECT_EQ(TextIn(Msg::ProgramError, 4), "Program error!");
    EXPECT_EQ(TextIn(Msg::ProgramError, 255), "Program error!");
    EXPECT_TRUE(TextIn(Msg::Count, English).empty());
}

} // namespace
} // namespace orna5

namespace orna5 {

// Joining a group is advice only for a group made for devices; for any other
// the device's owner, group and mode are said instead.
TEST(PermissionHintTest, NamesAGroupOnlyWhereJoiningItHelps) {
    struct Case {
        std::string group;
        int language;
        std::vector<std::string> has;
        std::string hasNot;
    };
    const Case cases[] = {
        {"dialout", 0, {"/dev/ttyUSB0", "sudo usermod -aG dialout $USER"}, "%"},
        {"uucp", 1, {"/dev/ttyUSB0", "usermod -aG uucp"}, "%"},
        {"tty", 3, {"usermod -aG tty"}, "%"},
        {"root", 0, {"/dev/ttyUSB0", "user root", "group root", "mode 0600"}, "usermod"},
        {"plugdev", 2, {"plugdev", "0600"}, "usermod"},
    };
    for (const Case& c : cases) {
        const std::string hint =
            PermissionHint("/dev/ttyUSB0", "root", c.group, 0100600, c.language);
        for (const std::string& part : c.has)
            EXPECT_NE(hint.find(part), std::string::npos) << c.group << ": " << hint;
        EXPECT_EQ(hint.find(c.hasNot), std::string::npos) << c.group << ": " << hint;
    }
}

} // namespace orna5
