#include "lang/Messages.h"

#include <gtest/gtest.h>

#include <string>

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
            EXPECT_FALSE(MessageText(static_cast<Msg>(id), lang).empty())
                << "message " << id << " language " << lang;
        }
    }
}

TEST(MessagesTest, PickupFaultIsFortyCharactersInEveryLanguage) {
    for (int lang = 0; lang < kLanguageCount; ++lang) {
        EXPECT_EQ(CodePoints(MessageText(Msg::PickupSystemError, lang)), 40u) << lang;
    }
    EXPECT_EQ(MessageText(Msg::PickupSystemError, English).rfind("Pick up system error", 0), 0u);
}

TEST(MessagesTest, TextsMatchTheTablesIncludingSpacesAndAccents) {
    EXPECT_EQ(MessageText(Msg::NumberOfProgramming, English), "Number of Programing= ");
    EXPECT_EQ(MessageText(Msg::PrintHeader, German), "Zeitpunkt des Ausdruckes   ");
    EXPECT_EQ(MessageText(Msg::PickupRunning, French), " fonctionne");
    EXPECT_EQ(MessageText(Msg::PickupNoSignal, German), " kein Signal");
    EXPECT_EQ(MessageText(Msg::Saving, French), "Mémorisation");
    EXPECT_EQ(MessageText(Msg::ReadError, Czech), "Chyba čtení!");
    EXPECT_EQ(MessageText(Msg::ManualFileName, Czech), "manual_zentor_orna_5_cz.pdf");
    EXPECT_EQ(MessageText(Msg::Yes, German), "JA");
    EXPECT_EQ(MessageText(Msg::NoConnection, Czech), "Není spojení s PC");
    EXPECT_EQ(MessageText(Msg::Grounded, English), "Grounded");
    EXPECT_EQ(MessageText(Msg::Open, English), "Open");
}

TEST(MessagesTest, LanguageOutsideTheRangeReadsAsEnglish) {
    EXPECT_EQ(MessageText(Msg::ProgramError, -1), "Program error!");
    EXPECT_EQ(MessageText(Msg::ProgramError, 4), "Program error!");
    EXPECT_EQ(MessageText(Msg::ProgramError, 255), "Program error!");
    EXPECT_TRUE(MessageText(Msg::Count, English).empty());
}

} // namespace
} // namespace orna5
