// Which devices a search tries, and the search itself over pseudo-terminals.

#include "SimTestSupport.h"

#include "device/PortDiscovery.h"
#include "device/PortScan.h"
#include "sim/PtyUnit.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace orna5::test {
namespace {

std::string Touch(const QTemporaryDir& dir, const QString& name) {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    return file.fileName().toStdString();
}

// The search order: the port in use first, the Com items, the stable names
// of adapters no Com item reaches, the device of this run last; missing
// devices and second names of a device are left out.
TEST(PortDiscovery, ScanOrderSkipsMissingDevicesAndSecondNames) {
    QTemporaryDir dir;
    const std::string a = Touch(dir, "a");
    const std::string b = Touch(dir, "b");
    const std::string c = Touch(dir, "c");
    const std::string given = Touch(dir, "given");
    QDir().mkpath(dir.filePath("by-id"));
    const std::string byId = dir.filePath("by-id").toStdString();
    ASSERT_TRUE(QFile::link(QString::fromStdString(b), dir.filePath("by-id/usb-b")));
    ASSERT_TRUE(QFile::link(QString::fromStdString(c), dir.filePath("by-id/usb-c")));
    ASSERT_TRUE(QFile::link(dir.filePath("nowhere"), dir.filePath("by-id/usb-gone")));

    std::map<int, std::string> items;
    for (int n = 1; n <= 21; ++n)
        items[n] = dir.filePath("missing").toStdString();
    items[2] = a;
    items[7] = b;
    items[9] = a;      // a second item on the same device
    items[21] = given; // beyond the twenty items: not a Com item
    const PortDiscovery discovery(
        PortTable(items),
        [&] {
            return std::vector<AdapterInfo>{{b, "USB UART", "Maker", "S1"}};
        },
        byId);

    EXPECT_EQ(discovery.ScanOrder(b, given),
              (std::vector<std::string>{b, a, byId + "/usb-c", given}));
    EXPECT_EQ(discovery.ScanOrder(), (std::vector<std::string>{a, b, byId + "/usb-c"}));

    const std::vector<ComPortEntry> entries = discovery.ComEntries();
    ASSERT_EQ(entries.size(), 20u);
    EXPECT_EQ(entries[0].presence, PortPresence::NotPresent);
    EXPECT_EQ(entries[6].presence, PortPresence::Present);
    EXPECT_EQ(entries[6].description, "USB UART, Maker, S1");
    EXPECT_EQ(entries[1].description, "");
    EXPECT_EQ(discovery.DescriptionOf(byId + "/usb-b"), "USB UART, Maker, S1");
}

// Ticks at the window's pace until the scan ends.
void RunToEnd(PortScan& scan) {
    ASSERT_TRUE(RunUntil(
        [&] {
            QElapsedTimer tick;
            tick.start();
            const bool running = scan.Tick();
            while (tick.elapsed() < 55)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            return !running;
        },
        30000));
}

TEST(PortScan, SkipsAHeldDeviceOutwaitsASilentOneAndStopsAtTheUnit) {
    App();
    EmulatorOptions quiet;
    quiet.silent = true;
    PtyUnit held, silent(quiet), unit, spare;
    std::string error;
    for (PtyUnit* pty : {&held, &silent, &unit, &spare})
        ASSERT_TRUE(pty->Start(error)) << error;
    SerialLink other; // another program holds this one
    ASSERT_TRUE(other.Open(held.DevicePath()).ok);

    PortScan scan({"/nonexistent/tty", held.DevicePath(), silent.DevicePath(), unit.DevicePath(),
                   spare.DevicePath()});
    RunToEnd(scan);
    const std::vector<ProbeResult>& results = scan.Results();
    ASSERT_EQ(results.size(), 4u);
    EXPECT_EQ(results[0].answer, ProbeAnswer::CannotOpen);
    EXPECT_EQ(results[1].answer, ProbeAnswer::Busy);
    EXPECT_EQ(results[2].answer, ProbeAnswer::NoAnswer);
    EXPECT_EQ(results[3].answer, ProbeAnswer::Answered);
    EXPECT_EQ(results[3].protocolVersion, 54);
    ASSERT_NE(scan.Found(), nullptr);
    EXPECT_EQ(scan.Found()->device, unit.DevicePath());

    // Asked for, the version text comes along; the unit's memory is left alone.
    const auto before = unit.Emulator().StoredBytes();
    PortScan probe({unit.DevicePath()}, {false, true});
    RunToEnd(probe);
    ASSERT_NE(probe.Found(), nullptr);
    EXPECT_EQ(probe.Found()->versionText, "ORN12");
    EXPECT_EQ(unit.Emulator().StoredBytes(), before);
}

} // namespace
} // namespace orna5::test
