// Whether ModemManager runs, and whether udev tells it to leave a device
// alone, read from a process table and udev records made by the test.

#include "device/ModemManagerWatch.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <fstream>

namespace orna5 {
namespace {

void Write(const QString& path, const std::string& text) {
    std::ofstream(path.toStdString(), std::ios::binary) << text;
}

TEST(ModemManagerWatchTest, FindsTheProcessAndTheDevicesItLeavesAlone) {
    QTemporaryDir proc;
    ASSERT_TRUE(QDir(proc.path()).mkpath("1") && QDir(proc.path()).mkpath("self"));
    Write(proc.filePath("1/comm"), "systemd\n");
    Write(proc.filePath("self/comm"), "ModemManager\n"); // not a process number
    EXPECT_FALSE(ModemManagerRuns(proc.path().toStdString()));
    ASSERT_TRUE(QDir(proc.path()).mkpath("812"));
    Write(proc.filePath("812/comm"), "ModemManager\n");
    EXPECT_TRUE(ModemManagerRuns(proc.path().toStdString()));
    EXPECT_FALSE(ModemManagerRuns("/nonexistent-proc"));

    // /dev/null stands in for an adapter: udev's record is named by the
    // character device's numbers (1:3).
    QTemporaryDir udev;
    const std::string data = udev.path().toStdString();
    EXPECT_FALSE(ExcludedFromModemManager("/dev/null", data)); // no record
    Write(udev.filePath("c1:3"), "E:ID_VENDOR_ID=0403\nE:ID_MM_DEVICE_IGNORE=0\n");
    EXPECT_FALSE(ExcludedFromModemManager("/dev/null", data));
    Write(udev.filePath("c1:3"), "S:serial/by-id/x\nE:ID_MM_DEVICE_IGNORE=1");
    EXPECT_TRUE(ExcludedFromModemManager("/dev/null", data));
    // A regular file is no device, whatever a record says.
    Write(udev.filePath("plain"), "");
    EXPECT_FALSE(ExcludedFromModemManager(udev.filePath("plain").toStdString(), data));
    EXPECT_FALSE(UdevRecordIgnoresModemManager("E:ID_MM_DEVICE_IGNORE=10\n"));
}

} // namespace
} // namespace orna5
