#include "SimTestSupport.h"

#include "device/DeviceSession.h"
#include "device/SerialLink.h"
#include "sim/PtyUnit.h"

#include <gtest/gtest.h>

#include <QTimer>

#include <algorithm>
#include <optional>

using namespace orna5;
using orna5::test::App;
using orna5::test::RunUntil;

namespace {

// The window's --simulate set-up, end to end: the device session ticking
// from a timer, a serial link on the pseudo-terminal and the emulated unit
// all in one thread. Unpaced, the tick is shortened; the session counts
// ticks, not time.
class SessionOverPty : public ::testing::Test {
protected:
    void Begin(EmulatorOptions options, bool paced = false, LineFaults faults = {}) {
        App();
        unit = std::make_unique<PtyUnit>(options, paced, faults);
        std::string error;
        ASSERT_TRUE(unit->Start(error)) << error;
        ASSERT_TRUE(link.Open(unit->DevicePath()).ok);
        for (std::size_t i = 0; i < kTransferSize; ++i)
            image[i] = unit->Emulator().StoredBytes()[i];
        image[MapCell(9, 3)] += 2; // the program's image differs from the unit's
        image[field::limiterRpm] = 120;
        session.SetLink(&link);
        // Paced answers take a real frame time, so the tick is the real one.
        tick.setInterval(paced ? 55 : 8);
        QObject::connect(&tick, &QTimer::timeout, [this] {
            const TickResult r = session.Tick();
            if (r.ended)
                ended = *r.ended;
            if (r.ended && r.ended->outcome == Outcome::VersionMismatch)
                mismatchVersion = session.UnitVersion();
        });
        tick.start();
    }

    // Runs the started operation to its end and returns the last status text.
    Msg Finish() {
        ended.reset();
        EXPECT_TRUE(RunUntil([&] { return session.CurrentOperation() == Operation::Idle; }, 20000));
        return session.Display().Status().text;
    }

    void ExpectEnded(Operation operation, Outcome outcome) {
        ASSERT_TRUE(ended.has_value());
        EXPECT_EQ(ended->operation, operation);
        EXPECT_EQ(ended->outcome, outcome);
    }

    bool UnitHoldsImage() const {
        return std::equal(image.begin(), image.begin() + kTransferSize,
                          unit->Emulator().StoredBytes().begin());
    }

    ParameterImage image{};
    DeviceSession session{image};
    SerialLink link;
    std::unique_ptr<PtyUnit> unit;
    QTimer tick;
    int mismatchVersion = -1;
    std::optional<OperationOutcome> ended;
};

} // namespace

TEST_F(SessionOverPty, ProgramEndsInAPassedVerify) {
    Begin({}, true);
    session.StartProgramming();
    EXPECT_EQ(Finish(), Msg::ProgramDevice);
    ExpectEnded(Operation::Program, Outcome::Success);
    EXPECT_EQ(session.Display().Status().suffix, StatusSuffix::ColonOk);
    EXPECT_TRUE(session.Display().ProgrammedOk());
    EXPECT_TRUE(UnitHoldsImage());
    EXPECT_EQ(unit->Emulator().ProgrammingCount(), 1u);
    EXPECT_EQ(session.UnitTexts().versionText, "ORN12");
    // The unit then reports its save running down.
    EXPECT_TRUE(RunUntil([&] { return session.Values().unitSavingCount > 0; }));
    EXPECT_TRUE(RunUntil([&] { return session.Values().unitSavingCount == 0; }));
}

TEST_F(SessionOverPty, ReadTakesTheUnitsImage) {
    Begin({});
    session.StartRead();
    EXPECT_EQ(Finish(), Msg::Verify);
    ExpectEnded(Operation::Read, Outcome::Success);
    EXPECT_EQ(session.Display().Status().suffix, StatusSuffix::ColonOk);
    EXPECT_TRUE(UnitHoldsImage());
}

TEST_F(SessionOverPty, LineFaultsAreMadeGoodByResending) {
    EmulatorOptions options;
    options.dropAnswers = 2;
    options.corruptAnswers = 1;
    options.badEchoAnswers = 2;
    options.strayBytes = 5;
    Begin(options);
    session.StartProgramming();
    EXPECT_EQ(Finish(), Msg::ProgramDevice);
    ExpectEnded(Operation::Program, Outcome::Success);
    EXPECT_EQ(session.Display().Status().suffix, StatusSuffix::ColonOk);
    EXPECT_TRUE(UnitHoldsImage());
}

TEST_F(SessionOverPty, FaultsTheProgramMustReport) {
    EmulatorOptions badStore;
    badStore.badStoreOffset = 150;
    Begin(badStore);
    session.StartProgramming();
    EXPECT_EQ(Finish(), Msg::VerifyError);
    ExpectEnded(Operation::Program, Outcome::VerifyError);
    EXPECT_FALSE(session.Display().ProgrammedOk());
}

TEST_F(SessionOverPty, SilentUnitGivesProgramError) {
    EmulatorOptions silent;
    silent.silent = true;
    Begin(silent);
    session.StartProgramming();
    EXPECT_EQ(Finish(), Msg::ProgramError);
    ExpectEnded(Operation::Program, Outcome::NoConnection);
    EXPECT_TRUE(session.NoConnectionVisible());
}

TEST_F(SessionOverPty, OtherProtocolStopsBeforeAnyPage) {
    EmulatorOptions old;
    old.protocolVersion = 53;
    Begin(old);
    const auto before = unit->Emulator().StoredBytes();
    session.StartProgramming();
    Finish();
    ExpectEnded(Operation::Program, Outcome::VersionMismatch);
    EXPECT_EQ(mismatchVersion, 53);
    EXPECT_EQ(unit->Emulator().StoredBytes(), before);
}

TEST_F(SessionOverPty, PulledPortLeavesASilentUnit) {
    Begin({});
    ASSERT_TRUE(RunUntil([&] { return session.Values().liveRpm > 0; }));
    unit->Stop();
    session.StartProgramming();
    EXPECT_EQ(Finish(), Msg::ProgramError);
    ExpectEnded(Operation::Program, Outcome::NoConnection);
    EXPECT_FALSE(link.IsOpen());
    EXPECT_TRUE(link.Lost());
}

TEST_F(SessionOverPty, AnswersSplitAcrossTicksStillCount) {
    LineFaults split;
    split.splitMs = 80; // over a tick, well inside the four before a resend
    Begin({}, false, split);
    tick.setInterval(55);
    session.StartProgramming();
    EXPECT_EQ(Finish(), Msg::ProgramDevice);
    ExpectEnded(Operation::Program, Outcome::Success);
    EXPECT_EQ(session.Display().Status().suffix, StatusSuffix::ColonOk);
    EXPECT_TRUE(UnitHoldsImage());
}

TEST_F(SessionOverPty, EndlessGarbageIsAnErrorWithABoundedBuffer) {
    LineFaults garbage;
    garbage.garbage = true;
    Begin({}, true, garbage); // the real tick, which reads less than the stream brings
    std::size_t most = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] { most = std::max(most, link.BytesQueued()); });
    // Without a bound the port's buffer would grow by every byte not read.
    session.StartProgramming();
    EXPECT_EQ(Finish(), Msg::ProgramError);
    ExpectEnded(Operation::Program, Outcome::NoConnection);
    EXPECT_FALSE(session.Display().ProgrammedOk());
    EXPECT_GT(most, kFrameSize);
    EXPECT_LE(most, SerialLink::kReadBufferBytes);
}

TEST_F(SessionOverPty, CablePulledMidProgramIsAnErrorAndThePortOpensAgain) {
    LineFaults pull;
    pull.hangupAfter = 2; // after page 0 and page 1
    Begin({}, false, pull);
    session.StartProgramming();
    EXPECT_EQ(Finish(), Msg::ProgramError);
    ExpectEnded(Operation::Program, Outcome::NoConnection);
    EXPECT_TRUE(link.Lost());
    EXPECT_FALSE(session.Display().ProgrammedOk());

    std::string error;
    ASSERT_TRUE(RunUntil([&] { return !unit->IsRunning(); }));
    ASSERT_TRUE(unit->Start(error)) << error;
    ASSERT_TRUE(link.Open(unit->DevicePath()).ok);
    session.StartProgramming();
    EXPECT_EQ(Finish(), Msg::ProgramDevice);
    ExpectEnded(Operation::Program, Outcome::Success);
    EXPECT_EQ(session.Display().Status().suffix, StatusSuffix::ColonOk);
    EXPECT_TRUE(UnitHoldsImage());
}
