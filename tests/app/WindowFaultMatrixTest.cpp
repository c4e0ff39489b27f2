// Every fault of the line or the unit, through the window's own buttons
// against the emulated unit on a real pseudo-terminal. Each operation ends
// in its success line with the unit holding the image, or in the error the
// resend rule leaves (the image untouched by a failed Read); the window goes
// on ticking, and the Com menu's device item opens the port again for a
// Program that succeeds.

#include "WindowFixture.h"

#include "device/DeviceSession.h"
#include "sim/PtyUnit.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <ostream>
#include <string>

namespace orna5::test {

namespace {

enum class Command { Program, Verify, Read };

struct Fault {
    const char* name;
    EmulatorOptions unit;
    LineFaults line;
    bool paced;
    // What each command ends in: empty for its success line, else the error
    // line, or "version" for the version message box.
    const char* program;
    const char* verify;
    const char* read;
};

// Test names print the fault by its name (the rest has padding bytes).
void PrintTo(const Fault& fault, std::ostream* out) {
    *out << fault.name;
}

EmulatorOptions Unit(void (*set)(EmulatorOptions&)) {
    EmulatorOptions options;
    set(options);
    return options;
}

LineFaults Line(void (*set)(LineFaults&)) {
    LineFaults faults;
    set(faults);
    return faults;
}

const Fault kFaults[] = {
    {"none", {}, {}, false, "", "", ""},
    {"dropped_answers", Unit([](EmulatorOptions& o) { o.dropAnswers = 2; }), {}, false, "", "", ""},
    {"corrupt_check_bytes",
     Unit([](EmulatorOptions& o) { o.corruptAnswers = 3; }),
     {},
     false,
     "",
     "",
     ""},
    {"wrong_echo_once",
     Unit([](EmulatorOptions& o) { o.badEchoAnswers = 1; }),
     {},
     false,
     "",
     "",
     ""},
    {"wrong_echo_for_good",
     Unit([](EmulatorOptions& o) { o.badEchoAnswers = 1000000; }),
     {},
     false,
     "Program error!",
     "",
     ""},
    {"byte_stored_wrongly",
     Unit([](EmulatorOptions& o) { o.badStoreOffset = 149; }),
     {},
     false,
     "Verify error!",
     "",
     ""},
    {"stray_bytes", Unit([](EmulatorOptions& o) { o.strayBytes = 7; }), {}, false, "", "", ""},
    {"silent_unit",
     Unit([](EmulatorOptions& o) { o.silent = true; }),
     {},
     false,
     "Program error!",
     "Verify error!",
     "Read error!"},
    {"other_protocol",
     Unit([](EmulatorOptions& o) { o.protocolVersion = 53; }),
     {},
     false,
     "version",
     "",
     "version"},
    {"answers_split_across_ticks",
     {},
     Line([](LineFaults& f) { f.splitMs = 80; }),
     false,
     "",
     "",
     ""},
    {"answers_at_line_speed", {}, {}, true, "", "", ""},
    {"endless_garbage",
     {},
     Line([](LineFaults& f) { f.garbage = true; }),
     false,
     "Program error!",
     "Verify error!",
     "Read error!"},
    {"cable_pulled",
     {},
     Line([](LineFaults& f) { f.hangupAfter = 2; }),
     false,
     "Program error!",
     "Verify error!",
     "Read error!"},
};

class WindowFaultMatrix : public WindowTest,
                          public ::testing::WithParamInterface<std::tuple<Fault, Command>> {
protected:
    const Fault& TheFault() const { return std::get<0>(GetParam()); }
    Command TheCommand() const { return std::get<1>(GetParam()); }

    // The window opens the unit through a link of a stable name, so the
    // device item finds the unit again after a pulled cable.
    void StartWindow() {
        unit = std::make_unique<PtyUnit>(TheFault().unit, TheFault().paced, TheFault().line);
        std::string error;
        ASSERT_TRUE(unit->Start(error)) << error;
        port = dir.filePath("unit");
        ASSERT_TRUE(QFile::link(QString::fromStdString(unit->DevicePath()), port));
        StartOptions options;
        options.port = port;
        window = std::make_unique<TFormHlav>(options);
        window->show();
        // The unit holds what the window would send: an edit copies every
        // control into the image, and the controls raise the lobe numbers
        // the first start leaves at 0 to their lowest value, 1.
        Enter(*window, "Edit148", Edit(*window, "Edit148")->text());
        unit->Emulator().StoreImage(window->Image());
        QObject::connect(window.get(), &TFormHlav::TickDone, [this] {
            ++ticks;
            if (waiting && window->Session().CurrentOperation() == Operation::Idle) {
                waiting = false;
                endText = Find<QLabel>(*window, "LabelHlaseni")->text();
                endRed = window->Session().Display().Status().colour == ColourRole::Red;
            }
        });
    }

    // Presses the button and waits for the tick that finds the operation over.
    void Run(const char* button) {
        waiting = true;
        QTest::mouseClick(Find<QPushButton>(*window, button), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !waiting; }, 20000));
    }

    bool UnitHolds(const ParameterImage& image) const {
        const auto& memory = unit->Emulator().StoredBytes();
        for (std::size_t i = 0; i < memory.size(); ++i)
            if (i != field::reserved1 && memory[i] != image[i])
                return false;
        return true;
    }

    // The outcome the fault allows for the command, and never a success line
    // beside an error.
    void ExpectOutcome(const char* expected, const char* success) {
        const std::string want = expected;
        auto* box = window->findChild<QMessageBox*>("VersionMismatchBox");
        // Only the closing Verify ends an operation without an error line
        // or the version message.
        passed = !endRed && box == nullptr;
        if (want.empty()) {
            EXPECT_FALSE(endRed) << endText.toStdString();
            ExpectSuccessLine(success);
            EXPECT_EQ(box, nullptr);
        } else if (want == "version") {
            ASSERT_NE(box, nullptr);
            EXPECT_TRUE(box->text().endsWith("PC-54, IGN-53")) << box->text().toStdString();
            EXPECT_FALSE(endText.endsWith(": OK")) << endText.toStdString();
            box->close();
        } else {
            EXPECT_TRUE(endRed);
            EXPECT_EQ(endText.toStdString(), want);
        }
    }

    // A unit still saving an earlier Program puts "Saving:" in the place of
    // the success line in the very tick the operation passes.
    void ExpectSuccessLine(const QString& success) {
        EXPECT_TRUE(endText == success || endText == "Saving:") << endText.toStdString();
    }

    // The faults go, the cable goes back in if it was pulled, the device
    // item opens the port again, and a Program goes through.
    void ExpectRecovery() {
        const int before = ticks;
        ASSERT_TRUE(QTest::qWaitFor([&] { return ticks > before + 2; }, 5000))
            << "the window stopped ticking";
        unit->Emulator().SetOptions({});
        unit->SetFaults({});
        if (!unit->IsRunning()) {
            std::string error;
            ASSERT_TRUE(unit->Start(error)) << error;
            QFile::remove(port);
            ASSERT_TRUE(QFile::link(QString::fromStdString(unit->DevicePath()), port));
        }
        window->findChild<QAction*>("MenuComDevice")->trigger();
        Enter(*window, "Edit148", "37");
        Run("BitBtnProgram");
        EXPECT_FALSE(endRed);
        ExpectSuccessLine("Program device:: OK");
        EXPECT_TRUE(UnitHolds(window->Image()));
    }

    QTemporaryDir dir;
    QString port;
    std::unique_ptr<PtyUnit> unit;
    std::unique_ptr<TFormHlav> window;
    int ticks = 0;
    bool waiting = false;
    QString endText;
    bool endRed = false;
    bool passed = false;
};

TEST_P(WindowFaultMatrix, EndsAsTheFaultAllows) {
    StartWindow();
    switch (TheCommand()) {
    case Command::Program: {
        Enter(*window, "Edit149", "40");
        Run("BitBtnProgram");
        ExpectOutcome(TheFault().program, "Program device:: OK");
        if (passed) {
            EXPECT_TRUE(UnitHolds(window->Image())) << "a success line for a unit that differs";
        }
        break;
    }
    case Command::Verify:
        Run("BitBtnVerify");
        ExpectOutcome(TheFault().verify, "Verify:: OK");
        break;
    case Command::Read: {
        ParameterImage inUnit = window->Image();
        inUnit[MapCell(9, 0)] = 21;
        unit->Emulator().StoreImage(inUnit);
        const ParameterImage before = window->Image();
        const QString shown = Edit(*window, "Edit140")->text();
        Run("ButtonRead");
        ExpectOutcome(TheFault().read, "Verify:: OK");
        if (passed) {
            EXPECT_EQ(window->Image()[MapCell(9, 0)], 21);
            EXPECT_EQ(Edit(*window, "Edit140")->text(), "21");
        } else {
            EXPECT_EQ(window->Image(), before) << "a failed Read changed the image";
            EXPECT_EQ(Edit(*window, "Edit140")->text(), shown);
        }
        break;
    }
    }
    ExpectRecovery();
    window->close();
}

std::string Name(const ::testing::TestParamInfo<std::tuple<Fault, Command>>& info) {
    static const char* const commands[] = {"program", "verify", "read"};
    return std::string(std::get<0>(info.param).name) + "_" +
           commands[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(Faults, WindowFaultMatrix,
                         ::testing::Combine(::testing::ValuesIn(kFaults),
                                            ::testing::Values(Command::Program, Command::Verify,
                                                              Command::Read)),
                         Name);

} // namespace

} // namespace orna5::test
