#include "device/PortTable.h"

#include <gtest/gtest.h>

using namespace orna5;

TEST(PortTable, NumbersMapOntoTheDeviceFamilies) {
    const PortTable table;
    EXPECT_EQ(table.Device(1), "/dev/ttyS0");
    EXPECT_EQ(table.Device(4), "/dev/ttyS3");
    EXPECT_EQ(table.Device(5), "/dev/ttyUSB0");
    EXPECT_EQ(table.Device(12), "/dev/ttyUSB7");
    EXPECT_EQ(table.Device(13), "/dev/ttyACM0");
    EXPECT_EQ(table.Device(21), "/dev/ttyACM8");
    EXPECT_EQ(table.DeviceForIndex(0), "/dev/ttyS0");
    EXPECT_EQ(table.DeviceForIndex(20), "/dev/ttyACM8");
    EXPECT_EQ(table.Device(0), "");
    EXPECT_EQ(table.Device(22), "");
    EXPECT_EQ(table.DeviceForIndex(-1), "");
}

TEST(PortTable, OverridesReplaceSingleNumbersAndIgnoreNonsense) {
    const PortTable table(
        {{3, "/dev/ttyUSB4"}, {21, "/dev/rfcomm0"}, {0, "/dev/x"}, {22, "/dev/y"}, {7, ""}});
    EXPECT_EQ(table.Device(3), "/dev/ttyUSB4");
    EXPECT_EQ(table.Device(21), "/dev/rfcomm0");
    EXPECT_EQ(table.Device(7), "/dev/ttyUSB2");
    EXPECT_EQ(table.Device(2), "/dev/ttyS1");
    EXPECT_EQ(table.Overrides().size(), 2u);
    EXPECT_EQ(PortTable::DefaultDevice(3), "/dev/ttyS2");
}

TEST(PortTable, ComNamesAreParsedStrictly) {
    EXPECT_EQ(ParseComName("COM1"), 1);
    EXPECT_EQ(ParseComName("com21"), 21);
    EXPECT_FALSE(ParseComName("COM0"));
    EXPECT_FALSE(ParseComName("COM22"));
    EXPECT_FALSE(ParseComName("COM01"));
    EXPECT_EQ(ParseComName("Com3"), 3);
    EXPECT_FALSE(ParseComName("COM"));
    EXPECT_FALSE(ParseComName("COM3x"));
}

TEST(PortTable, PortArgumentIsAPathOrAComName) {
    const PortTable table({{6, "/dev/serial/by-id/unit"}});
    EXPECT_EQ(ResolvePortArgument("COM6", table), "/dev/serial/by-id/unit");
    EXPECT_EQ(ResolvePortArgument("com13", table), "/dev/ttyACM0");
    EXPECT_EQ(ResolvePortArgument("/dev/pts/7", table), "/dev/pts/7");
    EXPECT_EQ(ResolvePortArgument("ttyUSB1", table), "/dev/ttyUSB1");
    EXPECT_EQ(ResolvePortArgument("./link", table), "./link");
    EXPECT_FALSE(ResolvePortArgument("", table));
    EXPECT_FALSE(ResolvePortArgument("COM0", table));
    EXPECT_FALSE(ResolvePortArgument("com99", table));
    EXPECT_FALSE(ResolvePortArgument("COM", table));
}
