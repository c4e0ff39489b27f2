#include "FakeLink.h"

#include "device/DeviceSession.h"
#include "params/NormaliseImage.h"

#include <gtest/gtest.h>

#include <random>

namespace orna5 {
namespace {

using test::FakeLink;
using test::FakeUnit;

// A session on an image the unit accepts as it is (already normalised), with
// a fake unit on the link.
class DeviceSessionTest : public ::testing::Test {
protected:
    DeviceSessionTest() : session(image) {
        for (std::size_t i = 0; i < image.size(); ++i) {
            image[i] = static_cast<std::uint8_t>(i * 13 + 1);
        }
        NormaliseImage(image);
        session.SetLink(&link);
        unit.Attach(link);
    }

    // Ticks until the operation ends; returns the number of ticks, or -1.
    int RunToIdle(int limit = 200) {
        for (int t = 1; t <= limit; ++t) {
            last = session.Tick();
            mismatchSeen =
                mismatchSeen || (last.ended && last.ended->outcome == Outcome::VersionMismatch);
            changedSeen = changedSeen || last.imageChanged;
            if (session.CurrentOperation() == Operation::Idle) {
                return t;
            }
        }
        return -1;
    }

    void Ticks(int n) {
        for (int i = 0; i < n; ++i) {
            last = session.Tick();
        }
    }

    std::vector<std::uint8_t> DataCommands() const {
        std::vector<std::uint8_t> codes;
        for (const DeviceFrame& f : link.written) {
            if (f[0] != PollCommand) {
                codes.push_back(f[0]);
            }
        }
        return codes;
    }

    void ExpectEnded(Operation operation, Outcome outcome) {
        ASSERT_TRUE(last.ended.has_value());
        EXPECT_EQ(last.ended->operation, operation);
        EXPECT_EQ(last.ended->outcome, outcome);
    }

    void ExpectStatus(Msg text, StatusSuffix suffix, ColourRole colour) {
        EXPECT_EQ(session.Display().Status().text, text);
        EXPECT_EQ(session.Display().Status().suffix, suffix);
        EXPECT_EQ(session.Display().Status().colour, colour);
    }

    ParameterImage image{};
    FakeLink link;
    FakeUnit unit;
    DeviceSession session;
    TickResult last;
    bool mismatchSeen = false;
    bool changedSeen = false;
};

TEST_F(DeviceSessionTest, ProgramWritesBothPagesAndVerifies) {
    session.StartProgramming();
    EXPECT_TRUE(link.written.empty()); // starting never sends at once
    std::vector<int> gaugeSteps;
    for (int t = 0; t < 100 && (t == 0 || session.CurrentOperation() != Operation::Idle); ++t) {
        last = session.Tick();
        changedSeen = changedSeen || last.imageChanged;
        if (gaugeSteps.empty() || gaugeSteps.back() != session.Display().Gauge().position) {
            gaugeSteps.push_back(session.Display().Gauge().position);
        }
    }
    ASSERT_EQ(session.CurrentOperation(), Operation::Idle);
    EXPECT_EQ(DataCommands(), (std::vector<std::uint8_t>{0x00, 0x01, 0x02, 0x41, 0x42}));
    EXPECT_TRUE(std::equal(image.begin(), image.begin() + 200, unit.memory));
    EXPECT_TRUE(changedSeen); // page 0 shows the unit texts
    EXPECT_EQ(session.UnitTexts().versionText, "ORN12");
    EXPECT_EQ(session.UnitTexts().buildDateText, " 7. 5.2009");
    EXPECT_EQ(session.UnitTexts().buildTimeText, "14:05");
    EXPECT_EQ(gaugeSteps, (std::vector<int>{0, 1, 2, 0, 1, 2}));
    // The tick that passes the Verify already shows the Program success line.
    ExpectStatus(Msg::ProgramDevice, StatusSuffix::ColonOk, ColourRole::ButtonFace);
    EXPECT_EQ(session.Display().Render(English), "Program device:: OK");
    EXPECT_TRUE(session.Display().Status().visible);
    EXPECT_TRUE(session.Display().ProgrammedOk());
    ExpectEnded(Operation::Program, Outcome::Success);

    // It stays until the 200 ticks run out; then line and gauge hide.
    Ticks(198);
    EXPECT_TRUE(session.Display().Status().visible);
    Ticks(2);
    EXPECT_FALSE(session.Display().Status().visible);
    EXPECT_FALSE(session.Display().Gauge().visible);
    EXPECT_FALSE(session.Display().ProgrammedOk());
}

TEST_F(DeviceSessionTest, NoUnitGivesProgramErrorAfter21To24Ticks) {
    link.responder = nullptr;
    for (int idleTicks = 0; idleTicks < 6; ++idleTicks) {
        DeviceSession quiet(image);
        quiet.SetLink(&link);
        for (int i = 0; i < idleTicks; ++i) {
            quiet.Tick();
        }
        link.written.clear();
        quiet.StartProgramming();
        int ticks = 0;
        while (quiet.CurrentOperation() != Operation::Idle && ticks < 100) {
            quiet.Tick();
            ++ticks;
        }
        EXPECT_GE(ticks, 21) << idleTicks;
        EXPECT_LE(ticks, 24) << idleTicks;
        EXPECT_EQ(link.CountWritten(0x00), 5u);
        EXPECT_EQ(quiet.Display().Status().text, Msg::ProgramError);
        EXPECT_EQ(quiet.Display().Status().colour, ColourRole::Red);
    }

    // Without any port the unit is just as silent.
    DeviceSession portless(image);
    portless.StartRead();
    int ticks = 0;
    while (portless.CurrentOperation() != Operation::Idle && ticks < 100) {
        portless.Tick();
        ++ticks;
    }
    EXPECT_LE(ticks, 24);
    EXPECT_EQ(portless.Display().Status().text, Msg::ReadError);
    EXPECT_TRUE(portless.NoConnectionVisible());
}

TEST_F(DeviceSessionTest, AnswerInTheFourthTickStillCounts) {
    link.responder = nullptr;
    session.StartProgramming();
    while (link.written.empty()) {
        session.Tick();
    }
    ASSERT_EQ(link.written.back()[0], 0x00);
    session.Tick();
    session.Tick();
    session.Tick();
    // The answer arrives just before the tick that would resend.
    unit.Answer(link, link.written.back());
    unit.Attach(link);
    last = session.Tick();
    EXPECT_TRUE(last.answerFrame);
    EXPECT_EQ(link.CountWritten(0x00), 1u);
    EXPECT_EQ(link.written.back()[0], 0x01);
    // Pages 1 and 2 and the two Verify pages, one answer per tick.
    EXPECT_EQ(RunToIdle(), 4);
    ExpectStatus(Msg::ProgramDevice, StatusSuffix::ColonOk, ColourRole::ButtonFace);
}

TEST_F(DeviceSessionTest, LateDuplicateAnswerIsIgnored) {
    session.StartProgramming();
    while (session.CurrentCommand() != 0x02) {
        session.Tick();
    }
    // A second echo of page 1 (as if page 1 had been sent twice) comes late.
    std::uint8_t page1[100];
    std::copy(image.begin(), image.begin() + 100, page1);
    link.incoming.clear();
    link.Queue(test::AnswerFrame(0x81, page1));
    const std::uint8_t attempts = session.SendAttempts();
    last = session.Tick();
    EXPECT_FALSE(last.answerFrame);
    EXPECT_EQ(session.CurrentCommand(), 0x02);
    EXPECT_EQ(session.SendAttempts(), attempts);
    EXPECT_EQ(session.Display().Gauge().position, 2);
}

TEST_F(DeviceSessionTest, AnswerWithBadCheckByteIsRepeated) {
    link.responder = [this](const DeviceFrame& f) {
        if (f[0] == 0x00 && link.CountWritten(0x00) == 1) {
            DeviceFrame bad = test::AnswerFrame(0x80, unit.info.data());
            bad[101] ^= 1;
            link.Queue(bad);
            return;
        }
        unit.Answer(link, f);
    };
    ASSERT_GT(RunToIdle(), 0);
    session.StartProgramming();
    EXPECT_GT(RunToIdle(), 0);
    EXPECT_EQ(link.CountWritten(0x00), 2u);
    EXPECT_EQ(session.Display().Status().suffix, StatusSuffix::ColonOk);
}

TEST_F(DeviceSessionTest, VerifyIgnoresReservedByte) {
    std::copy(image.begin(), image.begin() + 200, unit.memory);
    unit.memory[field::reserved1] ^= 0xFF;
    session.StartVerify();
    EXPECT_GT(RunToIdle(), 0);
    ExpectStatus(Msg::Verify, StatusSuffix::ColonOk, ColourRole::ButtonFace);
    EXPECT_EQ(DataCommands(), (std::vector<std::uint8_t>{0x41, 0x42}));

    // Any other byte is a real difference.
    unit.memory[150] ^= 0x01;
    link.written.clear();
    session.StartVerify();
    EXPECT_GT(RunToIdle(), 0);
    ExpectStatus(Msg::VerifyError, StatusSuffix::None, ColourRole::Red);
    EXPECT_EQ(link.CountWritten(0x42), 5u);
}

TEST_F(DeviceSessionTest, ReadTakesTheUnitImageAndVerifiesIt) {
    for (std::size_t i = 0; i < 200; ++i) {
        unit.memory[i] = image[i];
    }
    ParameterImage before = image;
    unit.memory[field::advanceMap + 5] ^= 0x01; // unit differs in one map cell
    session.StartRead();
    EXPECT_GT(RunToIdle(), 0);
    EXPECT_TRUE(changedSeen);
    EXPECT_EQ(image[field::advanceMap + 5], before[field::advanceMap + 5] ^ 0x01);
    EXPECT_EQ(DataCommands(), (std::vector<std::uint8_t>{0x40, 0x41, 0x42, 0x41, 0x42}));
    // The Read frames carry zeros, the closing Verify frames the image.
    EXPECT_EQ(link.written[1][10], 0);
    ExpectStatus(Msg::Verify, StatusSuffix::ColonOk, ColourRole::ButtonFace);
    ExpectEnded(Operation::Read, Outcome::Success);
    session.Tick();
    EXPECT_EQ(session.Display().Status().suffix, StatusSuffix::ColonOk);
    EXPECT_EQ(session.Display().Status().text, Msg::Verify); // a Read is no Program success
}

TEST_F(DeviceSessionTest, ReadOfValuesThatBreakTheRulesEndsInVerifyError) {
    std::fill(std::begin(unit.memory), std::end(unit.memory), 0); // map axis all zero
    session.StartRead();
    EXPECT_GT(RunToIdle(), 0);
    EXPECT_TRUE(changedSeen);
    ExpectStatus(Msg::VerifyError, StatusSuffix::None, ColourRole::Red);
    ExpectEnded(Operation::Read, Outcome::VerifyError);
}

TEST_F(DeviceSessionTest, FailedReadLeavesTheImageAlone) {
    const ParameterImage before = image;
    std::fill(std::begin(unit.memory), std::end(unit.memory), 0x77);
    link.responder = [this](const DeviceFrame& f) {
        if (f[0] != 0x42) {
            unit.Answer(link, f);
        }
    };
    session.StartRead();
    EXPECT_GT(RunToIdle(), 0);
    EXPECT_FALSE(changedSeen);
    ExpectStatus(Msg::ReadError, StatusSuffix::None, ColourRole::Red);
    ExpectEnded(Operation::Read, Outcome::NoConnection); // silent since page 1
    EXPECT_EQ(image, before);
}

TEST_F(DeviceSessionTest, ReadDuringProgramRestartsAtPageZero) {
    session.StartProgramming();
    while (session.CurrentCommand() != 0x02) {
        session.Tick();
    }
    session.StartRead();
    EXPECT_EQ(session.CurrentOperation(), Operation::Read);
    EXPECT_EQ(session.Display().Gauge().position, 0);
    const std::size_t sent = DataCommands().size();
    EXPECT_GT(RunToIdle(), 0);
    const std::vector<std::uint8_t> codes = DataCommands();
    ASSERT_GT(codes.size(), sent);
    EXPECT_EQ(codes[sent], 0x40);
}

TEST_F(DeviceSessionTest, WrongEchoOnceThenRightContinues) {
    link.responder = [this](const DeviceFrame& f) {
        if (f[0] == 0x01 && link.CountWritten(0x01) == 1) {
            std::uint8_t wrong[100];
            std::copy(f.begin() + 1, f.begin() + 101, wrong);
            wrong[20] ^= 0x10;
            link.Queue(test::AnswerFrame(0x81, wrong));
            return;
        }
        unit.Answer(link, f);
    };
    session.StartProgramming();
    EXPECT_GT(RunToIdle(), 0);
    EXPECT_EQ(link.CountWritten(0x01), 2u);
    ExpectStatus(Msg::ProgramDevice, StatusSuffix::ColonOk, ColourRole::ButtonFace);
}

TEST_F(DeviceSessionTest, VersionMismatchStopsBeforeAnyPageMoves) {
    unit.info[unitInfo::protocolVersion] = 53;
    session.StartProgramming();
    EXPECT_GT(RunToIdle(), 0);
    EXPECT_TRUE(mismatchSeen);
    ExpectEnded(Operation::Program, Outcome::VersionMismatch);
    EXPECT_EQ(session.UnitVersion(), 53);
    EXPECT_TRUE(last.imageChanged);
    EXPECT_EQ(RenderLabel(VersionMismatchLabel(session.UnitVersion()), English),
              "Unmatched version of PC and Ignition programs!  PC-54, IGN-53");
    EXPECT_EQ(DataCommands(), (std::vector<std::uint8_t>{0x00}));
    EXPECT_FALSE(session.Display().Status().visible); // gone at the end of that tick
    EXPECT_FALSE(session.Display().Gauge().visible);
    Ticks(50);
    EXPECT_EQ(DataCommands().size(), 1u); // only polls follow

    // A Read stops the same way, before page 1.
    link.written.clear();
    mismatchSeen = changedSeen = false;
    session.StartRead();
    EXPECT_GT(RunToIdle(), 0);
    EXPECT_TRUE(mismatchSeen);
    EXPECT_TRUE(changedSeen);
    ExpectEnded(Operation::Read, Outcome::VersionMismatch);
    EXPECT_EQ(DataCommands(), (std::vector<std::uint8_t>{0x40}));
}

TEST_F(DeviceSessionTest, SavingShowsItsGauge) {
    DeviceFrame f = test::MonitorFrameBytes();
    PutFrameWord(f.data(), monitorField::savingCount, 207);
    link.Queue(test::Sealed(f));
    last = session.Tick();
    EXPECT_TRUE(last.monitorFrame);
    ExpectStatus(Msg::Saving, StatusSuffix::None, ColourRole::ButtonFace);
    EXPECT_EQ(session.Display().Gauge().maximum, 100);
    EXPECT_EQ(session.Display().Gauge().position, 50);
    EXPECT_TRUE(session.Display().Gauge().visible);
    EXPECT_TRUE(session.Display().Status().visible);

    // An operation started now keeps the maximum until the next idle tick.
    link.responder = nullptr;
    session.StartVerify();
    EXPECT_EQ(session.Display().Gauge().maximum, 100);
    EXPECT_EQ(session.Display().Gauge().position, 0);

    // A count above full scale shows an empty bar.
    link.incoming.clear();
    PutFrameWord(f.data(), monitorField::savingCount, 500);
    session.StartRead();
    RunToIdle();
    Ticks(200); // the "Read error!" line has run out
    link.Queue(test::Sealed(f));
    session.Tick();
    ExpectStatus(Msg::Saving, StatusSuffix::None, ColourRole::ButtonFace);
    EXPECT_EQ(session.Display().Gauge().position, 0);
}

TEST_F(DeviceSessionTest, SavingGivesWayToAnErrorAndToASilentUnit) {
    link.responder = nullptr;
    DeviceFrame f = test::MonitorFrameBytes();
    PutFrameWord(f.data(), monitorField::savingCount, 207);
    link.Queue(test::Sealed(f));
    session.Tick();
    ASSERT_EQ(session.Display().Status().text, Msg::Saving);

    // The unit falls silent during a Program: the error stays on show
    // although the last count heard still says "saving".
    session.StartProgramming();
    ASSERT_GT(RunToIdle(), 0);
    ExpectStatus(Msg::ProgramError, StatusSuffix::None, ColourRole::Red);
    Ticks(150);
    ExpectStatus(Msg::ProgramError, StatusSuffix::None, ColourRole::Red);
    EXPECT_TRUE(session.Display().Status().visible);

    // Once the error has run out, the stale count does not bring "Saving:"
    // back for a unit that is no longer heard.
    Ticks(100);
    EXPECT_FALSE(session.Display().Status().visible);
    EXPECT_NE(session.Display().Status().text, Msg::Saving);

    // The unit speaks again, still saving.
    link.Queue(test::Sealed(f));
    session.Tick();
    ExpectStatus(Msg::Saving, StatusSuffix::None, ColourRole::ButtonFace);
    EXPECT_EQ(session.Display().Gauge().position, 50);
}

TEST_F(DeviceSessionTest, FailedProgramAfterSuccessShowsTheError) {
    session.StartProgramming();
    ASSERT_GT(RunToIdle(), 0);
    ASSERT_EQ(session.Display().Status().text, Msg::ProgramDevice);

    link.responder = nullptr;
    session.StartProgramming();
    EXPECT_FALSE(session.Display().ProgrammedOk());
    EXPECT_GT(RunToIdle(), 0);
    Ticks(10);
    ExpectStatus(Msg::ProgramError, StatusSuffix::None, ColourRole::Red);
    EXPECT_EQ(session.Display().Gauge().maximum, 2);
}

TEST_F(DeviceSessionTest, ReceiveWaitsForAWholeFrameAndDropsTheRest) {
    link.responder = nullptr;
    const DeviceFrame f = test::MonitorFrameBytes();
    link.Queue(f.data(), 101);
    last = session.Tick();
    EXPECT_TRUE(link.readCalls.empty());
    EXPECT_FALSE(last.monitorFrame);
    link.Queue(f.data() + 101, 1);
    last = session.Tick();
    ASSERT_EQ(link.readCalls.size(), 1u);
    EXPECT_EQ(link.readCalls[0], 102u);
    EXPECT_TRUE(last.monitorFrame);

    link.Queue(f);
    link.Queue(f);
    link.Queue(f.data(), 46);
    last = session.Tick();
    EXPECT_TRUE(last.monitorFrame);
    EXPECT_EQ(link.readCalls.back(), 250u);
    EXPECT_TRUE(link.incoming.empty());

    // No more than the receive buffer is taken in one tick.
    std::vector<std::uint8_t> flood(12000, 0x55);
    link.Queue(flood.data(), flood.size());
    session.Tick();
    EXPECT_EQ(link.readCalls.back(), 10000u);
}

TEST_F(DeviceSessionTest, IdlePollEverySixTicks) {
    link.responder = nullptr;
    Ticks(30);
    EXPECT_EQ(link.CountWritten(PollCommand), 5u);
    EXPECT_EQ(link.written.size(), 5u);
}

TEST_F(DeviceSessionTest, NoConnectionIndicator) {
    link.responder = nullptr;
    session.Tick();
    EXPECT_TRUE(session.NoConnectionVisible());

    DeviceFrame f = test::MonitorFrameBytes();
    f[monitorField::protocolVersion] = 53;
    link.Queue(test::Sealed(f));
    session.Tick();
    EXPECT_FALSE(session.NoConnectionVisible());
    EXPECT_TRUE(session.Panel().versionVisible);
    Ticks(17);
    EXPECT_FALSE(session.NoConnectionVisible());
    session.Tick();
    EXPECT_TRUE(session.NoConnectionVisible());
    EXPECT_FALSE(session.Panel().versionVisible);

    // While printing the indicator is hidden, and comes back afterwards.
    session.Display().SetPrintingInProgress(true);
    session.Tick();
    EXPECT_FALSE(session.NoConnectionVisible());
    session.Display().SetPrintingInProgress(false);
    session.Tick();
    EXPECT_TRUE(session.NoConnectionVisible());

    // A bad MonitorFrame is no sign of life.
    f = test::MonitorFrameBytes();
    f[10] ^= 1;
    link.Queue(f);
    last = session.Tick();
    EXPECT_FALSE(last.monitorFrame);
    EXPECT_TRUE(session.NoConnectionVisible());
}

TEST_F(DeviceSessionTest, PrintingHidesTheStatusLineButCountsOn) {
    link.responder = nullptr;
    session.StartVerify();
    session.Display().SetPrintingInProgress(true);
    Ticks(5);
    EXPECT_FALSE(session.Display().Status().visible);
    EXPECT_EQ(session.Display().StatusTicks(), 195);
    session.Display().SetPrintingInProgress(false);
    session.Tick();
    EXPECT_TRUE(session.Display().Status().visible);
}

TEST_F(DeviceSessionTest, LivePositionFollowsTheImageAxes) {
    for (int i = 0; i < 10; ++i) {
        image[field::mapRpm + i] = static_cast<std::uint8_t>(i == 0 ? 15 : 10 * (i + 1));
    }
    DeviceFrame f = test::MonitorFrameBytes();
    PutFrameWord(f.data(), monitorField::rpm, 1800);
    f[monitorField::tpsPercent] = 20;
    link.Queue(test::Sealed(f));
    session.Tick();
    EXPECT_EQ(session.Live(true).mapRpmColumn, 1);
    EXPECT_EQ(session.Live(true).tpsRow, 4);
    EXPECT_EQ(session.Live(false).tpsRow, 9);
    image[field::mapRpm] = 18; // editing the axis moves the mark
    EXPECT_EQ(session.Live(true).mapRpmColumn, 0);
}

// Random bytes from the unit, whole frames or not, during every operation.
TEST_F(DeviceSessionTest, RandomTrafficNeverBreaksTheSession) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 400);
    link.responder = nullptr;
    for (int t = 0; t < 3000; ++t) {
        if (t % 40 == 0) {
            switch ((t / 40) % 3) {
            case 0:
                session.StartProgramming();
                break;
            case 1:
                session.StartRead();
                break;
            default:
                session.StartVerify();
            }
        }
        std::vector<std::uint8_t> junk(static_cast<std::size_t>(length(rng)));
        for (auto& b : junk) {
            b = static_cast<std::uint8_t>(byte(rng));
        }
        if (junk.size() >= kFrameSize && t % 3 == 0) {
            junk[0] = static_cast<std::uint8_t>(session.CurrentCommand() ^ AnswerFlag);
            junk[101] = FrameCheckByte(junk.data());
        }
        link.Queue(junk.data(), junk.size());
        session.Tick();
        ASSERT_LE(session.Display().Gauge().position, session.Display().Gauge().maximum);
        ASSERT_GE(session.Display().Gauge().position, 0);
    }
}

// What the unit held before a Program is read into a copy, only when the
// session does not know it, and the Program then runs as without the copy.
// The shell's part: keep the backup (or fail to), confirm the point of an
// operation that passed.
struct Shell {
    bool backupKept = true;
    bool confirmPoints = true;
};

TEST_F(DeviceSessionTest, BackupReadUnlessTheUnitIsProvenAndNothingWrittenBeforeItIsKept) {
    session.SetBackupBeforeProgram(true);
    for (std::size_t i = 0; i < 200; ++i) {
        unit.memory[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    const ParameterImage before = image;
    std::optional<ParameterImage> backup;
    Shell shell;
    bool waitedWithoutWriting = true;
    auto program = [&](DeviceSession::BackupRead read = DeviceSession::BackupRead::AsSet) {
        link.written.clear();
        backup.reset();
        session.StartProgramming(read);
        ExpectStatus(Msg::ProgramDevice, StatusSuffix::None, ColourRole::ButtonFace);
        for (int t = 0; t < 200 && (t == 0 || session.CurrentOperation() != Operation::Idle); ++t) {
            last = session.Tick();
            if (last.backup) {
                backup = last.backup;
                ExpectStatus(Msg::KeepingRestorePoint, StatusSuffix::None, ColourRole::ButtonFace);
                // The shell takes its time: the Program only polls meanwhile.
                const std::size_t sent = DataCommands().size();
                Ticks(30);
                waitedWithoutWriting = waitedWithoutWriting && DataCommands().size() == sent &&
                                       session.WaitingForBackup();
                if (shell.backupKept)
                    session.BackupKept();
                else
                    session.BackupNotKept();
            }
            if (last.ended && last.ended->outcome == Outcome::Success && shell.confirmPoints)
                session.PointKept();
        }
    };
    const std::vector<std::uint8_t> held(unit.memory, unit.memory + 200);

    // The store cannot keep the copy: nothing is written, the unit stays as it was.
    shell.backupKept = false;
    program();
    ExpectEnded(Operation::Program, Outcome::BackupNotKept);
    ExpectStatus(Msg::RestorePointNotKept, StatusSuffix::None, ColourRole::Red);
    EXPECT_EQ(DataCommands(), (std::vector<std::uint8_t>{0x40, 0x41, 0x42}));
    EXPECT_TRUE(std::equal(held.begin(), held.end(), unit.memory));
    EXPECT_FALSE(session.UnitKnown());
    // "Program anyway": no backup read, the image goes straight in.
    const std::vector<std::uint8_t> keptUnit(unit.memory, unit.memory + 200);
    program(DeviceSession::BackupRead::Never);
    ExpectEnded(Operation::Program, Outcome::Success);
    EXPECT_FALSE(backup.has_value());
    EXPECT_EQ(DataCommands(), (std::vector<std::uint8_t>{0x00, 0x01, 0x02, 0x41, 0x42}));
    std::copy(keptUnit.begin(), keptUnit.end(), unit.memory);
    session.PortOpened(); // as if another unit: forget what was proven

    shell.backupKept = true;
    program();
    ExpectEnded(Operation::Program, Outcome::Success);
    EXPECT_TRUE(waitedWithoutWriting);
    EXPECT_EQ(DataCommands(),
              (std::vector<std::uint8_t>{0x40, 0x41, 0x42, 0x00, 0x01, 0x02, 0x41, 0x42}));
    ASSERT_TRUE(backup.has_value());
    EXPECT_TRUE(std::equal(held.begin(), held.end(), backup->begin()));
    EXPECT_EQ(image, before); // the copy never reached the image
    EXPECT_TRUE(std::equal(image.begin(), image.begin() + 200, unit.memory));
    EXPECT_TRUE(std::equal(unit.memory, unit.memory + 200, session.UnitBytes().begin()));
    EXPECT_TRUE(session.UnitKnown());

    program(); // proven and its point kept: programs at once
    EXPECT_FALSE(backup.has_value());
    EXPECT_EQ(DataCommands(), (std::vector<std::uint8_t>{0x00, 0x01, 0x02, 0x41, 0x42}));
    program(DeviceSession::BackupRead::Always); // a restore keeps what the unit holds anyway
    EXPECT_TRUE(backup.has_value());
    EXPECT_TRUE(session.UnitKnown());

    // A point that was not confirmed on disk proves nothing.
    shell.confirmPoints = false;
    program();
    EXPECT_FALSE(session.UnitKnown());
    shell.confirmPoints = true;
    program();
    EXPECT_TRUE(backup.has_value());

    // Another unit behind the same port while the session thought it knew
    // it: its page-0 answer differs, so it is read before anything is written.
    EXPECT_TRUE(session.UnitKnown());
    unit.info[20] ^= 0x5a;
    unit.memory[60] = 1;
    program();
    ExpectEnded(Operation::Program, Outcome::Success);
    EXPECT_EQ(DataCommands(),
              (std::vector<std::uint8_t>{0x00, 0x41, 0x42, 0x00, 0x01, 0x02, 0x41, 0x42}));
    ASSERT_TRUE(backup.has_value());
    EXPECT_EQ((*backup)[60], 1);

    // A paused poll (a log playing) is a break: the unit must prove itself again.
    EXPECT_TRUE(session.UnitKnown());
    session.PausePolling(true);
    session.PausePolling(false);
    EXPECT_FALSE(session.UnitKnown());
    program();
    EXPECT_TRUE(backup.has_value());

    // Two seconds of silence forget the unit; the backup read that fails
    // then writes nothing.
    link.responder = nullptr;
    Ticks(DeviceSession::kUnknownAfterSilentTicks);
    EXPECT_FALSE(session.UnitKnown());
    program();
    EXPECT_FALSE(backup.has_value());
    EXPECT_EQ(DataCommands(), (std::vector<std::uint8_t>(5, 0x40)));
    ExpectEnded(Operation::Program, Outcome::NoConnection);
    ExpectStatus(Msg::ProgramError, StatusSuffix::None, ColourRole::Red);

    // A unit of another version stops the backup read at page 0.
    unit.Attach(link);
    unit.info[unitInfo::protocolVersion] = 53;
    program();
    ExpectEnded(Operation::Program, Outcome::VersionMismatch);
    EXPECT_EQ(DataCommands(), (std::vector<std::uint8_t>{0x40}));
}

// The last page of the backup read sent twice (its first answer came late)
// is answered twice; the second answer arrives while the Program waits for
// its point. Taken for the Program's page 2 it would skip the writes and
// end the Program in a Verify of a unit never written.
TEST_F(DeviceSessionTest, LateAnswerOfTheBackupReadIsNotTakenForTheProgram) {
    std::copy(image.begin(), image.begin() + 200, unit.memory);
    unit.memory[40] ^= 0x01; // page 1 differs, page 2 is the same
    session.StartProgramming(DeviceSession::BackupRead::Always);
    std::optional<ParameterImage> backup;
    for (int t = 0; t < 50 && !backup; ++t) {
        backup = session.Tick().backup;
    }
    ASSERT_TRUE(backup.has_value());
    link.written.clear();
    link.Queue(test::AnswerFrame(0x42 ^ AnswerFlag, unit.memory + 100));
    Ticks(3);
    EXPECT_TRUE(session.WaitingForBackup());
    EXPECT_EQ(session.CurrentOperation(), Operation::Program);
    EXPECT_TRUE(DataCommands().empty());

    session.BackupKept();
    EXPECT_GT(RunToIdle(), 0);
    ExpectEnded(Operation::Program, Outcome::Success);
    EXPECT_TRUE(std::equal(image.begin(), image.begin() + 200, unit.memory));
}

TEST_F(DeviceSessionTest, FailedVerifyKeepsWhatTheUnitSent) {
    std::copy(image.begin(), image.begin() + 200, unit.memory);
    unit.memory[field::advanceMap + 12] ^= 0x04;
    unit.memory[field::reserved1] ^= 0x01; // the Verify leaves it out, and so do the differences
    session.StartVerify();
    EXPECT_GT(RunToIdle(), 0);
    ExpectEnded(Operation::Verify, Outcome::VerifyError);
    ASSERT_EQ(session.VerifyDifferences().size(), 1u);
    EXPECT_EQ(session.VerifyDifferences()[0].left.offset, field::advanceMap + 12);
    EXPECT_EQ(session.VerifyUnitImage()[field::advanceMap + 12],
              unit.memory[field::advanceMap + 12]);

    // Page 1 differs too (a reserved byte): the Verify gives up on page 1,
    // reads page 2 with a plain read, and lists both.
    unit.memory[60] ^= 0x01;
    link.written.clear();
    session.StartVerify();
    EXPECT_GT(RunToIdle(), 0);
    ExpectEnded(Operation::Verify, Outcome::VerifyError);
    ExpectStatus(Msg::VerifyError, StatusSuffix::None, ColourRole::Red);
    EXPECT_EQ(DataCommands(), (std::vector<std::uint8_t>{0x41, 0x41, 0x41, 0x41, 0x41, 0x42}));
    EXPECT_TRUE(std::all_of(link.written.back().begin() + 1, link.written.back().end() - 1,
                            [](std::uint8_t b) { return b == 0; })); // a read writes nothing
    std::vector<std::size_t> offsets;
    for (const ParameterDifference& d : session.VerifyDifferences())
        offsets.push_back(d.left.offset);
    EXPECT_EQ(offsets, (std::vector<std::size_t>{field::advanceMap + 12, 60}));
    EXPECT_EQ(session.VerifyPagesSeen(), (std::array<bool, 2>{true, true}));

    // The unit stops answering after page 1: page 2 is not compared.
    link.written.clear();
    link.responder = [this](const DeviceFrame& f) {
        if (f[0] != 0x42)
            unit.Answer(link, f);
    };
    session.StartVerify();
    EXPECT_GT(RunToIdle(), 0);
    ExpectEnded(Operation::Verify, Outcome::VerifyError);
    EXPECT_EQ(session.VerifyPagesSeen(), (std::array<bool, 2>{true, false}));
    ASSERT_EQ(session.VerifyDifferences().size(), 1u);
    EXPECT_EQ(session.VerifyDifferences()[0].left.offset, 60u);

    unit.Attach(link);
    unit.memory[60] = image[60];
    unit.memory[field::advanceMap + 12] = image[field::advanceMap + 12];
    session.StartVerify();
    EXPECT_GT(RunToIdle(), 0);
    ExpectEnded(Operation::Verify, Outcome::Success);
    EXPECT_TRUE(session.VerifyDifferences().empty());
}

} // namespace
} // namespace orna5

namespace orna5 {
namespace {

TEST(RenderStatusLine, SuffixFollowsTheTitleInEveryLanguage) {
    StatusLine line;
    line.text = Msg::Verify;
    line.suffix = StatusSuffix::Colon;
    EXPECT_EQ(RenderStatusLine(line, English), "Verify::");
    EXPECT_EQ(RenderStatusLine(line, German), "Vergleichen::");
    line.text = Msg::ReadError;
    line.suffix = StatusSuffix::None;
    EXPECT_EQ(RenderStatusLine(line, Czech), "Chyba čtení!");
}

} // namespace
} // namespace orna5

namespace orna5 {
namespace {

using test::FakeLink;
using test::MonitorFrameBytes;

// The Fast rate against units that answer at once, a tick late, or never:
// a new poll goes out only once the last one was answered, or after the
// Standard pace when it was not, so two polls are never out at once and a
// silent unit is not flooded.
TEST(DeviceSessionFastRate, NeverTwoPollsUnansweredAndNoFasterThanStandardWhenSilent) {
    enum class Unit { AtOnce, TickLate, Silent };
    struct Row {
        Unit unit;
        int minPolls;
        int maxPolls;
    };
    const Row rows[] = {
        {Unit::AtOnce, 200, 100000}, // many polls per tick: only the answer paces them
        {Unit::TickLate, 55, 61},    // one per tick
        {Unit::Silent, 9, 10},       // 60 ticks / 6
    };
    for (const Row& row : rows) {
        ParameterImage image;
        FakeLink link;
        DeviceSession session(image);
        session.SetLink(&link);
        session.SetPollRate(DeviceSession::PollRate::Fast);
        int polls = 0;
        int unanswered = 0;
        int worst = 0;
        int delayed = 0;
        link.responder = [&](const DeviceFrame& f) {
            if (f[0] != PollCommand)
                return;
            ++polls;
            // A poll sent while one is out is only fair once the first is lost.
            unanswered = session.PollOutstanding() ? unanswered + 1 : 1;
            if (row.unit == Unit::AtOnce)
                link.Queue(MonitorFrameBytes());
            else if (row.unit == Unit::TickLate)
                ++delayed;
        };
        int ticksSincePoll = 0;
        for (int t = 0; t < 60; ++t) {
            const int before = polls;
            session.Tick();
            for (; delayed > 0; --delayed)
                link.Queue(MonitorFrameBytes());
            // The port's ready-read between ticks; bounded so a unit that
            // answers at once does not spin the test for ever.
            for (int n = 0; n < 10 && link.BytesQueued() >= kFrameSize; ++n)
                session.DataArrived();
            ticksSincePoll = polls > before ? 0 : ticksSincePoll + 1;
            worst = std::max(worst, unanswered);
            if (row.unit == Unit::Silent) {
                EXPECT_LE(ticksSincePoll, 6);
            }
            if (row.unit != Unit::Silent) {
                unanswered = 0; // answered by now
            }
        }
        EXPECT_GE(polls, row.minPolls) << int(row.unit);
        EXPECT_LE(polls, row.maxPolls) << int(row.unit);
        if (row.unit != Unit::Silent) {
            EXPECT_LE(worst, 1) << int(row.unit);
        }
    }
}

// A poll answered while a log played sat in the port for the whole playback:
// it is how the engine ran minutes ago, not now, so it is dropped when the
// polling resumes, and the next poll goes out as if none were out.
TEST(DeviceSessionFastRate, AnAnswerHeldOverAPlaybackIsNotTakenAsNew) {
    for (const auto rate : {DeviceSession::PollRate::Standard, DeviceSession::PollRate::Fast}) {
        ParameterImage image;
        FakeLink link;
        DeviceSession session(image);
        session.SetLink(&link);
        session.SetPollRate(rate);
        for (int t = 0; t < 6 && link.CountWritten(PollCommand) == 0; ++t)
            session.Tick();
        ASSERT_EQ(link.CountWritten(PollCommand), 1u);
        session.PausePolling(true);
        DeviceFrame old = MonitorFrameBytes();
        PutFrameWord(old.data(), monitorField::rpm, 7000);
        link.Queue(test::Sealed(old));
        for (int t = 0; t < 20; ++t)
            session.Tick();
        session.PausePolling(false);
        bool taken = false;
        for (int t = 0; t < 6; ++t)
            taken = session.Tick().monitorFrame || taken;
        EXPECT_FALSE(taken) << int(rate);
        EXPECT_NE(session.Values().liveRpm, 7000) << int(rate);
        EXPECT_EQ(link.CountWritten(PollCommand), 2u) << int(rate);
    }
}

} // namespace
} // namespace orna5

namespace orna5 {
namespace {

// The port may report bytes while a poll is being written (the write waits
// on the port). A late answer taken then would send a second poll while the
// first is still going out; it must wait for the next call instead.
TEST(DeviceSessionFastRate, AnAnswerReportedDuringAWriteSendsNoSecondPoll) {
    ParameterImage image;
    test::FakeLink link;
    DeviceSession session(image);
    session.SetLink(&link);
    session.SetPollRate(DeviceSession::PollRate::Fast);
    int depth = 0;
    int deepest = 0;
    link.responder = [&](const DeviceFrame& f) {
        if (f[0] != PollCommand)
            return;
        ++depth;
        deepest = std::max(deepest, depth);
        // A late answer to an earlier poll, reported inside the write.
        link.Queue(test::MonitorFrameBytes());
        session.DataArrived();
        --depth;
    };
    for (int t = 0; t < 20; ++t) {
        session.Tick();
        session.DataArrived();
    }
    EXPECT_EQ(deepest, 1);
}

} // namespace
} // namespace orna5
