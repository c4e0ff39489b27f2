#include "SimTestSupport.h"

#include "device/SerialLink.h"
#include "sim/PtyUnit.h"

#include <gtest/gtest.h>

#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

using namespace orna5;
using orna5::test::App;
using orna5::test::CheckOk;
using orna5::test::Frame;
using orna5::test::RunUntil;

namespace {

// A bare pseudo-terminal, for feeding the link bytes without any emulator.
class RawPty {
public:
    RawPty() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0)
            path = ::ptsname(master);
    }
    ~RawPty() { CloseMaster(); }
    void CloseMaster() {
        if (master >= 0)
            ::close(master);
        master = -1;
    }
    void Send(const std::vector<std::uint8_t>& bytes) {
        ASSERT_EQ(::write(master, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    std::vector<std::uint8_t> Receive() {
        std::vector<std::uint8_t> got(4096);
        const ssize_t n = ::read(master, got.data(), got.size());
        got.resize(n > 0 ? std::size_t(n) : 0);
        return got;
    }
    int master = -1;
    std::string path;
};

std::vector<std::uint8_t> ReadAll(SerialLink& link) {
    std::vector<std::uint8_t> got(link.BytesQueued());
    got.resize(link.Read(got.data(), got.size()));
    return got;
}

bool Send(SerialLink& link, const std::vector<std::uint8_t>& frame) {
    return link.Write(frame.data(), frame.size());
}

class SerialLinkPty : public ::testing::Test {
protected:
    void SetUp() override { App(); }
};

} // namespace

TEST_F(SerialLinkPty, OpensExclusivelyAndReopensAfterClose) {
    RawPty pty;
    ASSERT_FALSE(pty.path.empty());
    SerialLink link;
    const PortOpenResult first = link.Open(pty.path);
    ASSERT_TRUE(first.ok) << first.reason;
    EXPECT_TRUE(link.IsOpen());

    SerialLink other;
    const PortOpenResult second = other.Open(pty.path);
    EXPECT_FALSE(second.ok);
    EXPECT_FALSE(second.reason.empty());
    EXPECT_FALSE(second.permissionDenied);
    EXPECT_FALSE(other.IsOpen());
    EXPECT_EQ(other.BytesQueued(), 0u);
    EXPECT_FALSE(Send(other, Frame(0x30)));

    link.Close();
    link.Close(); // twice is harmless
    EXPECT_TRUE(other.Open(pty.path).ok);
}

TEST_F(SerialLinkPty, MissingDeviceGivesTheSystemReason) {
    SerialLink link;
    const PortOpenResult result = link.Open("/dev/orna5-no-such-port");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason, "No such file or directory");
    EXPECT_FALSE(result.permissionDenied);
    EXPECT_TRUE(result.group.empty());
    EXPECT_FALSE(link.Open("").ok);
    EXPECT_EQ(link.BytesQueued(), 0u);
}

TEST_F(SerialLinkPty, ForbiddenDeviceNamesTheGroup) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser may open any device";
    const std::string path = ::testing::TempDir() + "orna5-forbidden";
    {
        FILE* f = std::fopen(path.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }
    ::chmod(path.c_str(), 0);
    SerialLink link;
    const PortOpenResult result = link.Open(path);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.permissionDenied);
    EXPECT_EQ(result.owner, ::getpwuid(::geteuid())->pw_name);
    EXPECT_FALSE(result.group.empty());
    EXPECT_EQ(result.mode, 0u);
    ::unlink(path.c_str());
}

TEST_F(SerialLinkPty, QueuedBytesShowWithoutTheEventLoop) {
    RawPty pty;
    SerialLink link;
    ASSERT_TRUE(link.Open(pty.path).ok);
    EXPECT_EQ(link.BytesQueued(), 0u);
    const auto frame = Frame(0xB0, {1, 2, 3});
    pty.Send({frame.begin(), frame.begin() + 101});
    EXPECT_EQ(link.BytesQueued(), 101u); // no event loop turn in between
    pty.Send({frame.back()});
    EXPECT_EQ(link.BytesQueued(), 102u);
    EXPECT_EQ(ReadAll(link), frame);
    EXPECT_EQ(link.BytesQueued(), 0u);
    std::uint8_t byte = 0;
    EXPECT_EQ(link.Read(&byte, 1), 0u); // nothing there: no waiting, nothing read

    // The other way: a write has reached the far end when it returns.
    ASSERT_TRUE(Send(link, Frame(0x30)));
    EXPECT_EQ(pty.Receive(), Frame(0x30));

    // Input left unread is gone after a close.
    pty.Send(frame);
    EXPECT_EQ(link.BytesQueued(), 102u);
    pty.Send(frame);
    link.Close();
    ASSERT_TRUE(link.Open(pty.path).ok);
    EXPECT_EQ(link.BytesQueued(), 0u);
}

TEST_F(SerialLinkPty, VanishedPortTurnsSilentAndCanBeOpenedAgain) {
    auto pty = std::make_unique<RawPty>();
    SerialLink link;
    ASSERT_TRUE(link.Open(pty->path).ok);
    pty->Send(Frame(0x30));
    pty->CloseMaster(); // the adapter is pulled out

    EXPECT_EQ(link.BytesQueued(), 0u);
    EXPECT_FALSE(link.IsOpen());
    EXPECT_TRUE(link.Lost());
    std::uint8_t buffer[16];
    EXPECT_EQ(link.Read(buffer, sizeof buffer), 0u);
    EXPECT_FALSE(Send(link, Frame(0x30)));
    link.Close();

    // Also when the hang-up is first seen from the event loop or by a write.
    RawPty second;
    ASSERT_TRUE(link.Open(second.path).ok);
    EXPECT_FALSE(link.Lost());
    second.CloseMaster();
    // IsOpen does not look at the line: the event loop alone closes it.
    EXPECT_TRUE(RunUntil([&] { return !link.IsOpen(); }, 2000));
    EXPECT_TRUE(link.Lost());
    EXPECT_FALSE(Send(link, Frame(0x30)));

    RawPty third;
    ASSERT_TRUE(link.Open(third.path).ok);
    ASSERT_TRUE(Send(link, Frame(0x30)));
    EXPECT_EQ(third.Receive(), Frame(0x30));
}

TEST_F(SerialLinkPty, EmulatedUnitVanishesWhileTheLinkIsOpen) {
    PtyUnit unit;
    std::string error;
    ASSERT_TRUE(unit.Start(error)) << error;
    SerialLink link;
    ASSERT_TRUE(link.Open(unit.DevicePath()).ok);
    ASSERT_TRUE(Send(link, Frame(0x30)));
    ASSERT_TRUE(RunUntil([&] { return link.BytesQueued() >= 102; }));
    unit.Stop();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(link.BytesQueued(), 0u);
    EXPECT_FALSE(Send(link, Frame(0x30)));
    EXPECT_TRUE(link.Lost());

    ASSERT_TRUE(unit.Start(error)) << error;
    ASSERT_TRUE(link.Open(unit.DevicePath()).ok);
    ASSERT_TRUE(Send(link, Frame(0x30)));
    EXPECT_TRUE(RunUntil([&] { return link.BytesQueued() >= 102; }));
}

// The window's --simulate case: the link and the emulated unit share one
// thread, driven by a timer the way the device session is. Every write
// blocks until drained while the unit can only answer between ticks.
TEST_F(SerialLinkPty, WholeProgramExchangeInOneThread) {
    for (bool paced : {false, true}) {
        SCOPED_TRACE(paced ? "paced" : "unpaced");
        PtyUnit unit({}, paced);
        std::string error;
        ASSERT_TRUE(unit.Start(error)) << error;
        SerialLink link;
        ASSERT_TRUE(link.Open(unit.DevicePath()).ok);

        std::vector<std::uint8_t> page1(100), page2(100);
        for (int i = 0; i < 100; ++i) {
            page1[i] = std::uint8_t(i);
            page2[i] = std::uint8_t(200 - i);
        }
        const std::vector<std::vector<std::uint8_t>> script = {
            Frame(0x30),        Frame(0x00),        Frame(0x01, page1),
            Frame(0x02, page2), Frame(0x41, page1), Frame(0x42, page2)};
        std::vector<std::vector<std::uint8_t>> answers;
        std::size_t next = 0;
        bool sendFailed = false;

        QTimer tick;
        tick.setInterval(5);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            if (link.BytesQueued() >= 102) {
                auto got = ReadAll(link);
                answers.push_back(got);
            }
            if (next < script.size() && answers.size() == next) {
                sendFailed |= !Send(link, script[next]);
                ++next;
            }
        });
        tick.start();
        ASSERT_TRUE(RunUntil([&] { return answers.size() == script.size() || sendFailed; }));
        tick.stop();
        EXPECT_FALSE(sendFailed);
        ASSERT_EQ(answers.size(), script.size());
        const std::uint8_t codes[] = {0xB0, 0x80, 0x81, 0x82, 0xC1, 0xC2};
        for (std::size_t i = 0; i < answers.size(); ++i) {
            ASSERT_EQ(answers[i].size(), 102u) << i;
            EXPECT_EQ(answers[i][0], codes[i]);
            EXPECT_TRUE(CheckOk(answers[i]));
        }
        EXPECT_TRUE(std::equal(page1.begin(), page1.end(), answers[4].begin() + 1));
        EXPECT_TRUE(std::equal(page2.begin(), page2.end(), answers[5].begin() + 1));
        EXPECT_EQ(unit.Emulator().ProgrammingCount(), 1u);
    }
}

// A unit that gets a frame cut short drops the stub once the line goes
// quiet, so the next whole frame is answered.
TEST_F(SerialLinkPty, StalledPartialFrameIsForgotten) {
    PtyUnit unit;
    std::string error;
    ASSERT_TRUE(unit.Start(error)) << error;
    SerialLink link;
    ASSERT_TRUE(link.Open(unit.DevicePath()).ok);
    const auto poll = Frame(0x30);
    ASSERT_TRUE(link.Write(poll.data(), 30));
    ASSERT_TRUE(RunUntil([&] { return unit.Emulator().PartialFrameBytes() == 30; }));
    QElapsedTimer gap;
    gap.start();
    RunUntil([&] { return gap.elapsed() > PtyUnit::kFrameGapMs + 20; }, 1000);
    ASSERT_TRUE(Send(link, poll));
    ASSERT_TRUE(RunUntil([&] { return link.BytesQueued() >= 102; }));
    const auto answer = ReadAll(link);
    EXPECT_EQ(answer.size(), 102u);
    EXPECT_EQ(answer[0], 0xB0);
}

// Answers the program never reads must not stall the unit or the writes.
TEST_F(SerialLinkPty, UnreadAnswersDoNotBlockWrites) {
    PtyUnit unit;
    std::string error;
    ASSERT_TRUE(unit.Start(error)) << error;
    SerialLink link;
    ASSERT_TRUE(link.Open(unit.DevicePath()).ok);
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(Send(link, Frame(0x30))) << i;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    EXPECT_TRUE(RunUntil([&] { return unit.Emulator().PollCount() == 200; }));
    EXPECT_GT(link.BytesQueued(), 0u);
}
