#include "lang/ControlTexts.h"
#include "lang/HintParts.h"
#include "lang/LanguageArgument.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace orna5 {
namespace {

TEST(ControlTextsTest, EveryRowIsUniqueAndTranslatedInEveryLanguage) {
    std::set<std::tuple<std::string, TextProp, int>> keys;
    for (const ControlTextRow& row : AllControlTexts()) {
        EXPECT_TRUE(keys.insert({row.control, row.prop, row.item}).second)
            << "duplicate row " << row.control << " " << row.item;
        EXPECT_EQ(row.item >= 0, row.prop == TextProp::Items) << row.control;
        for (int lang = 0; lang < kLanguageCount; ++lang) {
            EXPECT_FALSE(row.texts[lang].empty()) << row.control << " language " << lang;
        }
    }
}

TEST(ControlTextsTest, LooksUpCaptionsHintsAndEntriesAcrossLanguages) {
    EXPECT_EQ(*ControlText("FormHlav", TextProp::Caption, French), "Programation de ORNA-5 unité");
    EXPECT_EQ(*ControlText("MenuOpen", TextProp::Caption, German), "&Öffnen");
    EXPECT_EQ(*ControlText("MenuOpen", TextProp::Hint, English), "Open file with parametrs");
    EXPECT_EQ(*ControlText("ButtonRead", TextProp::Caption, Czech), "Čí&st");
    EXPECT_EQ(*ControlText("LabelKompenz", TextProp::Caption, English), "Compensation ");
    EXPECT_EQ(*ListItemText("ComboBoxBike", 31, French), "Spécial ajustage");
    EXPECT_EQ(*ListItemText("ComboBoxSynchro", 6, Czech), "Vačka (CMPS)");

    // Rows the tables do not have leave the designed text alone.
    EXPECT_EQ(ControlText("LabelTps", TextProp::Caption, English), nullptr);
    EXPECT_EQ(ControlText("ButtonRead", TextProp::Items, English), nullptr);
    EXPECT_EQ(ListItemText("ComboBoxBike", 0, English), nullptr);
    EXPECT_EQ(ListItemText("ComboBoxSynchro", 7, English), nullptr);
    EXPECT_EQ(ListItemText("ComboBoxSynchro", -1, English), nullptr);

    // An unknown language reads as English.
    EXPECT_EQ(*ControlText("MenuFile", TextProp::Caption, 4), "&File");
    EXPECT_EQ(*ControlText("MenuFile", TextProp::Caption, -1), "&File");
}

TEST(ControlTextsTest, ItemListsComeWholeAndInOrder) {
    const auto input2 = ControlItems("RadioGroupInput2", French);
    ASSERT_EQ(input2.size(), 5u);
    EXPECT_EQ(input2[1], "Interrupteur de sécurité");
    EXPECT_EQ(input2[4], "par embeillage inv.");
    EXPECT_EQ(ControlItems("RadioGroupInput1", German),
              (std::vector<std::string>{"Aus", "Not Aus", "Blockierung"}));
    EXPECT_EQ(ControlItems("ComboBoxSynchro", English).size(), 7u);
    EXPECT_TRUE(ControlItems("ComboBoxBike", English).empty());
}

TEST(ControlTextsTest, LivePlaceholdersAreTheDashedCaptionsInEveryLanguage) {
    std::set<std::string> placeholders;
    for (const ControlTextRow& row : AllControlTexts()) {
        if (!row.livePlaceholder) {
            continue;
        }
        placeholders.insert(row.control);
        EXPECT_EQ(row.prop, TextProp::Caption);
        for (int lang = 0; lang < kLanguageCount; ++lang) {
            EXPECT_NE(row.texts[lang].find("---"), std::string::npos) << row.control << lang;
        }
    }
    const std::set<std::string> expected{
        "LabelAdvance1",          "LabelAdvance2",      "LabelAdvance3",   "LabelAdvance4",
        "LabelBlocking1",         "LabelClutchMon",     "LabelKillSwitch", "LabelMonInput1In",
        "LabelMonInput2In",       "LabelMonPilotLight", "LabelMonSnimac1", "LabelMonSnimac2",
        "LabelPocetProgramovani", "LabelPriveraMer",    "LabelPriveraPoz"};
    EXPECT_EQ(placeholders, expected);
    EXPECT_EQ(*ControlText("LabelAdvance1", TextProp::Caption, Czech), "Předstih 1 = --- [°]");
}

TEST(HintPartsTest, SplitsAtTheFirstBarOrServesAsBoth) {
    const HintParts both = SplitHint("Round per Minute|Speed - Round per Minute");
    EXPECT_EQ(both.tooltip, "Round per Minute");
    EXPECT_EQ(both.statusText, "Speed - Round per Minute");

    const HintParts plain = SplitHint("Print parametrs");
    EXPECT_EQ(plain.tooltip, "Print parametrs");
    EXPECT_EQ(plain.statusText, "Print parametrs");

    const HintParts empty = SplitHint("");
    EXPECT_TRUE(empty.tooltip.empty() && empty.statusText.empty());

    const HintParts twoBars = SplitHint("a|b|c");
    EXPECT_EQ(twoBars.tooltip, "a");
    EXPECT_EQ(twoBars.statusText, "b|c");

    // Every translated two-part hint splits into two non-empty parts.
    for (const ControlTextRow& row : AllControlTexts()) {
        if (row.prop != TextProp::Hint || row.texts[English].find('|') == std::string::npos) {
            continue;
        }
        for (int lang = 0; lang < kLanguageCount; ++lang) {
            const HintParts parts = SplitHint(row.texts[lang]);
            EXPECT_FALSE(parts.tooltip.empty() || parts.statusText.empty()) << row.control;
            EXPECT_NE(parts.tooltip, parts.statusText) << row.control;
        }
    }
}

TEST(LanguageArgumentTest, AcceptsTheFourNamesInExactCaseOnly) {
    EXPECT_EQ(LanguageFromArgument("ENGLISH"), English);
    EXPECT_EQ(LanguageFromArgument("DEUTSCH"), German);
    EXPECT_EQ(LanguageFromArgument("FRANCE"), French);
    EXPECT_EQ(LanguageFromArgument("CESKY"), Czech);
    for (const char* other : {"english", "Deutsch", "FRENCH", "CZECH", "", "CESKY ", "ČESKY"}) {
        EXPECT_EQ(LanguageFromArgument(other), -1) << other;
    }
}

} // namespace
} // namespace orna5
