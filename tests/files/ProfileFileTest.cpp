#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "files/ProfileFile.h"

namespace orna5 {
namespace {

ProfileFile FromText(const std::string& text) {
    ProfileFile profile;
    std::istringstream in(text);
    profile.Load(in);
    return profile;
}

std::string ToText(const ProfileFile& profile) {
    std::ostringstream out;
    profile.Save(out);
    return out.str();
}

const char kSettings[] = "; written by hand\n"
                         "[FORM_HLAV]\n"
                         "Left=120\n"
                         "PageControl1->ActivePageIndex=2\n"
                         "File=/home/rider/maps/r6 = fast.ign\n"
                         "\n"
                         "[PORTS]\n"
                         "Com3=/dev/ttyUSB0\n";

TEST(ProfileFileTest, ReadsKeysAsWritten) {
    const ProfileFile profile = FromText(kSettings);
    EXPECT_EQ(profile.ReadInteger("FORM_HLAV", "Left", 0), 120);
    EXPECT_EQ(profile.ReadInteger("FORM_HLAV", "PageControl1->ActivePageIndex", 0), 2);
    EXPECT_EQ(profile.ReadString("FORM_HLAV", "File", ""), "/home/rider/maps/r6 = fast.ign");
    EXPECT_EQ(profile.ReadString("PORTS", "Com3", ""), "/dev/ttyUSB0");
    // Names match in any letter case; sections keep their keys apart.
    EXPECT_EQ(profile.ReadInteger("form_hlav", "LEFT", 0), 120);
    EXPECT_EQ(profile.ReadString("PORTS", "Left", "none"), "none");
    EXPECT_EQ(profile.ReadString("NOSUCH", "Com3", "none"), "none");
    EXPECT_EQ(profile.ReadInteger("FORM_HLAV", "Top", 77), 77);
}

TEST(ProfileFileTest, ValuesThatAreNotIntegersGiveTheDefault) {
    const ProfileFile profile = FromText("[S]\r\n"
                                         "Empty=\r\n"
                                         "Word=abc\r\n"
                                         "Trailing=12abc\r\n"
                                         "Spaced= 42 \r\n"
                                         "Negative=-7\r\n"
                                         "Plus=+5\r\n"
                                         "Sign=-\r\n"
                                         "Huge=99999999999\r\n"
                                         "Max=2147483647\r\n"
                                         "Min=-2147483648\r\n"
                                         "Over=2147483648\r\n");
    EXPECT_EQ(profile.ReadInteger("S", "Empty", -1), -1);
    EXPECT_EQ(profile.ReadInteger("S", "Word", -1), -1);
    EXPECT_EQ(profile.ReadInteger("S", "Trailing", -1), -1);
    EXPECT_EQ(profile.ReadInteger("S", "Spaced", -1), 42);
    EXPECT_EQ(profile.ReadInteger("S", "Negative", 0), -7);
    EXPECT_EQ(profile.ReadInteger("S", "Plus", 0), 5);
    EXPECT_EQ(profile.ReadInteger("S", "Sign", 3), 3);
    EXPECT_EQ(profile.ReadInteger("S", "Huge", -1), -1);
    EXPECT_EQ(profile.ReadInteger("S", "Max", 0), 2147483647);
    EXPECT_EQ(profile.ReadInteger("S", "Min", 0), -2147483647 - 1);
    EXPECT_EQ(profile.ReadInteger("S", "Over", -1), -1);
    // The CR of a CR LF line end is not part of the value.
    EXPECT_EQ(profile.ReadString("S", "Word", ""), "abc");
}

TEST(ProfileFileTest, WritingKeepsEverythingElseInItsPlace) {
    ProfileFile profile = FromText(kSettings);
    EXPECT_TRUE(profile.WriteInteger("FORM_HLAV", "Left", -5));
    EXPECT_TRUE(profile.WriteInteger("FORM_HLAV", "Top", 30));
    EXPECT_TRUE(profile.WriteString("PORTS", "Com4", "/dev/pts/7"));
    EXPECT_TRUE(profile.WriteString("NEW", "Key", ""));
    EXPECT_EQ(ToText(profile), "; written by hand\n"
                               "[FORM_HLAV]\n"
                               "Left=-5\n"
                               "PageControl1->ActivePageIndex=2\n"
                               "File=/home/rider/maps/r6 = fast.ign\n"
                               "Top=30\n"
                               "\n"
                               "[PORTS]\n"
                               "Com3=/dev/ttyUSB0\n"
                               "Com4=/dev/pts/7\n"
                               "[NEW]\n"
                               "Key=\n");
    // What was saved loads back to the same values.
    const ProfileFile again = FromText(ToText(profile));
    EXPECT_EQ(again.ReadInteger("FORM_HLAV", "Left", 0), -5);
    EXPECT_EQ(again.ReadString("NEW", "Key", "x"), "");
}

TEST(ProfileFileTest, WritesThatWouldNotReadBackAreRefused) {
    ProfileFile profile = FromText(kSettings);
    const std::string before = ToText(profile);
    EXPECT_FALSE(profile.WriteString("FORM_HLAV", "File", "/tmp/a\nLeft=1"));
    EXPECT_FALSE(profile.WriteString("FORM_HLAV", "A=B", "x"));
    EXPECT_FALSE(profile.WriteString("FORM_HLAV", "", "x"));
    EXPECT_FALSE(profile.WriteString("FORM_HLAV", " Left", "x"));
    EXPECT_FALSE(profile.WriteString("FORM_HLAV", ";Left", "x"));
    EXPECT_FALSE(profile.WriteString("A]B", "Key", "x"));
    EXPECT_FALSE(profile.WriteString("", "Key", "x"));
    EXPECT_EQ(ToText(profile), before);
}

TEST(ProfileFileTest, ValuesReadTheSameAfterASave) {
    // A stray CR before a CR LF line end would otherwise be lost by each save.
    const ProfileFile profile = FromText("[PORTS]\r\nCom2=/dev/ttyS1\r\r\nCom3=a\rb\r\n");
    EXPECT_EQ(profile.ReadString("PORTS", "Com2", ""), "/dev/ttyS1");
    EXPECT_EQ(profile.ReadString("PORTS", "Com3", ""), "a\rb");
    const ProfileFile saved = FromText(ToText(profile));
    EXPECT_EQ(saved.ReadString("PORTS", "Com2", ""), "/dev/ttyS1");
    EXPECT_EQ(saved.ReadString("PORTS", "Com3", ""), "a\rb");
}

TEST(ProfileFileTest, LoadsFromAPath) {
    const std::string path = testing::TempDir() + "orna5_profile_test.ini";
    {
        std::ofstream out(path, std::ios::binary);
        out << kSettings;
    }
    ProfileFile profile;
    EXPECT_TRUE(profile.Load(path));
    EXPECT_EQ(profile.ReadInteger("FORM_HLAV", "Left", 0), 120);
    std::remove(path.c_str());

    EXPECT_FALSE(profile.Load(path));
    EXPECT_EQ(profile.ReadInteger("FORM_HLAV", "Left", 9), 9);
}

} // namespace
} // namespace orna5
