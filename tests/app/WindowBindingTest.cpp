// The controls and the image: conversions both ways and the edit events.

#include "WindowFixture.h"

#include "app/widgets/MouseCheckBox.h"
#include "device/DeviceSession.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QRadioButton>
#include <QTabWidget>

namespace orna5::test {

TEST_F(WindowTest, LimiterStoresHundredsAndShowsThemGrouped) {
    auto window = Start();
    Enter(*window, "EditOmez2", "15050");
    EXPECT_EQ(window->Image()[field::limiterRpm], 150);
    EXPECT_EQ(Edit(*window, "EditOmez2")->text(), QString("15\u00a0000"));
    // Values under 1000 stay plain; grouped text is read back as typed.
    Enter(*window, "EditOmez2", "999");
    EXPECT_EQ(window->Image()[field::limiterRpm], 9);
    EXPECT_EQ(Edit(*window, "EditOmez2")->text(), "999"); // 900 is below the range
    Enter(*window, "EditOmez2", QString("12\u00a0345"));
    EXPECT_EQ(window->Image()[field::limiterRpm], 123);
}

TEST_F(WindowTest, TypedTextOutsideTheRangeIsClampedAndNonNumbersAreIgnored) {
    auto window = Start();
    Enter(*window, "EditOmez2", "30000");
    EXPECT_EQ(window->Image()[field::limiterRpm], 250);
    EXPECT_EQ(Edit(*window, "EditOmez2")->text(), QString("25\u00a0000"));
    Enter(*window, "EditBaseAdv", "-5");
    EXPECT_EQ(window->Image()[field::baseAdvance], 0);
    Enter(*window, "EditBaseAdv", "17");
    for (const char* junk : {"abc", "", "1.5", "12x"}) {
        Enter(*window, "EditBaseAdv", junk);
        EXPECT_EQ(window->Image()[field::baseAdvance], 17) << junk;
        EXPECT_EQ(Edit(*window, "EditBaseAdv")->text(), "17") << junk;
    }
}

TEST_F(WindowTest, ThrottleCalibrationAtBothEndsOfItsRange) {
    auto window = Start();
    Enter(*window, "EditTps100", "2500");
    EXPECT_EQ(window->Image()[field::tpsFullMv], 0);
    Enter(*window, "EditTps100", "4750");
    EXPECT_EQ(window->Image()[field::tpsFullMv], 225);
    EXPECT_EQ(Edit(*window, "EditTps100")->text(), QString("4\u00a0750"));
    Enter(*window, "EditTps0", "255");
    EXPECT_EQ(window->Image()[field::tpsZeroMv], 25);
    EXPECT_EQ(Edit(*window, "EditTps0")->text(), "250");
}

TEST_F(WindowTest, TachometerCorrectionIsStoredAboveOneHundred) {
    ParameterImage stored = DefaultImage();
    SetUp();
    stored[field::tachoCorrection] = 40;
    WriteSnapshot(stored);
    auto window = Start();
    EXPECT_EQ(Edit(*window, "EditRpmKorekce")->text(), "-60");
    Enter(*window, "EditRpmKorekce", "60");
    EXPECT_EQ(window->Image()[field::tachoCorrection], 160);
    Enter(*window, "EditRpmKorekce", "-60");
    EXPECT_EQ(window->Image()[field::tachoCorrection], 40);
}

TEST_F(WindowTest, LobesPerRevolutionListAndCode) {
    auto window = Start();
    auto* bikes = Find<QComboBox>(*window, "ComboBoxBike");
    bikes->setCurrentIndex(31); // manual setting keeps everything
    auto* perRev = Find<QComboBox>(*window, "ComboBoxNasobekPalcu");
    EXPECT_EQ(perRev->currentIndex(), 0);
    perRev->setCurrentIndex(3);
    EXPECT_EQ(window->Image()[field::lobesPerRevCode], 0);
    EXPECT_EQ(perRev->itemText(3), "1 lobe per 2  revolution (CMPS)");
    perRev->setCurrentIndex(1);
    EXPECT_EQ(window->Image()[field::lobesPerRevCode], 2);
    perRev->setCurrentIndex(0);
    EXPECT_EQ(window->Image()[field::lobesPerRevCode], 1);
    // The standard entry for a cam wheel brings code 0: the fourth item.
    bikes->setCurrentIndex(14);
    EXPECT_EQ(window->Image()[field::lobesPerRevCode], 0);
    EXPECT_EQ(perRev->currentIndex(), 3);
}

TEST_F(WindowTest, CompensationIsElevenOutsideTestModeAfterTheFirstEdit) {
    ParameterImage stored = DefaultImage();
    SetUp();
    for (int i = 0; i < 4; ++i)
        stored[field::compensation + i] = 40;
    WriteSnapshot(stored);
    {
        auto window = Start();
        EXPECT_EQ(Edit(*window, "EditKompenz1")->text(), "40");
        EXPECT_TRUE(Edit(*window, "EditKompenz1")->isHidden());
        EXPECT_EQ(window->Image()[field::compensation], 40);
        ClickUpDown(*window, "UpDownBaseAdv", true);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(window->Image()[field::compensation + i], 11);
        EXPECT_EQ(Edit(*window, "EditKompenz4")->text(), "11");
    }
    WriteConfig("test_brodek.txt", "SHOW_PROBES");
    auto window = Start();
    ClickUpDown(*window, "UpDownBaseAdv", true);
    EXPECT_EQ(window->Image()[field::compensation], 40);
    EXPECT_FALSE(Edit(*window, "EditKompenz2")->isEnabled()); // manual setting only
    Find<QComboBox>(*window, "ComboBoxBike")->setCurrentIndex(31);
    Enter(*window, "EditKompenz2", "7");
    EXPECT_EQ(window->Image()[field::compensation + 1], 7);
}

TEST_F(WindowTest, EveryParameterEditHasItsUpDown) {
    auto window = Start();
    const QList<QLineEdit*> edits = window->findChildren<QLineEdit*>();
    const QList<UpDown*> upDowns = window->findChildren<UpDown*>();
    EXPECT_EQ(edits.size(), 155);
    EXPECT_EQ(upDowns.size(), 155);
    for (UpDown* upDown : upDowns) {
        ASSERT_NE(upDown->Associate(), nullptr);
        EXPECT_EQ(upDown->Associate()->objectName(),
                  upDown->objectName().replace("UpDown", "Edit"));
    }
    const UpDown* servoMv = Spin(*window, "UpDownNapPriv1");
    EXPECT_EQ(servoMv->Min(), 20);
    EXPECT_EQ(servoMv->Max(), 5000);
    EXPECT_EQ(servoMv->Increment(), 20);
    EXPECT_EQ(Spin(*window, "UpDownRpmAdv1")->Min(), 199);
    EXPECT_EQ(Spin(*window, "UpDownRpmAdv2")->Min(), 300);
    EXPECT_EQ(Spin(*window, "UpDownRpmPriv2")->Min(), 200);
    EXPECT_EQ(Spin(*window, "UpDownRpmPriv3")->Min(), 300);
    EXPECT_EQ(Spin(*window, "UpDownPrivHyster")->Increment(), 5);
}

TEST_F(WindowTest, UpDownStepsByItsIncrementWithinItsRange) {
    auto window = Start();
    QTest::keyClick(Edit(*window, "EditPilotLight"), Qt::Key_Up);
    EXPECT_EQ(window->Image()[field::shiftLightRpm], 91);
    ClickUpDown(*window, "UpDownOmez2", true);
    EXPECT_EQ(window->Image()[field::limiterRpm], 111);
    Enter(*window, "EditOmez2", "25000");
    ClickUpDown(*window, "UpDownOmez2", true);
    EXPECT_EQ(window->Image()[field::limiterRpm], 250);
    // A typed value counts from where it stands.
    Edit(*window, "EditBaseAdv")->setText("20");
    ClickUpDown(*window, "UpDownBaseAdv", false);
    EXPECT_EQ(window->Image()[field::baseAdvance], 19);
    EXPECT_EQ(Edit(*window, "EditBaseAdv")->text(), "19");
}

TEST_F(WindowTest, EnterInAMapCellStoresItAndMovesOn) {
    auto window = Start();
    window->show();
    Find<QTabWidget>(*window, "PageControl1")->setCurrentIndex(2);
    QApplication::setActiveWindow(window.get());
    QLineEdit* cell = Edit(*window, "Edit140");
    cell->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return cell->hasFocus(); }));

    // Typing alone stores nothing.
    cell->selectAll();
    QTest::keyClicks(cell, "44");
    EXPECT_EQ(window->Image()[MapCell(9, 0)], 10);
    QTest::keyClick(cell, Qt::Key_Return);
    EXPECT_EQ(window->Image()[MapCell(9, 0)], 44);
    EXPECT_TRUE(Edit(*window, "Edit141")->hasFocus());

    // Leaving a field with Tab stores it too.
    QLineEdit* next = Edit(*window, "Edit141");
    next->selectAll();
    QTest::keyClicks(next, "45");
    QTest::keyClick(next, Qt::Key_Tab);
    EXPECT_EQ(window->Image()[MapCell(9, 1)], 45);
    EXPECT_EQ(window->Undo().Current(), 2);

    // Ctrl+Z in a field is the program's Undo, not the field's own.
    QLineEdit* focused = Edit(*window, "Edit142");
    ASSERT_TRUE(focused->hasFocus());
    QTest::keyClick(focused, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->Image()[MapCell(9, 1)], 12);
    EXPECT_EQ(Edit(*window, "Edit141")->text(), "12");
    EXPECT_EQ(window->Undo().Current(), 1);
}

TEST_F(WindowTest, CheckBoxesReachTheImageByMouseOnly) {
    auto window = Start();
    window->show();
    Find<QTabWidget>(*window, "PageControl1")->setCurrentIndex(2);
    auto* tps = Find<MouseCheckBox>(*window, "CheckBoxTpsMapa");
    tps->setFocus();
    QTest::keyClick(tps, Qt::Key_Space);
    EXPECT_TRUE(tps->isChecked());
    EXPECT_EQ(window->Image()[field::mapUsesTps], 0);
    // The next copy from the controls takes it along.
    ClickUpDown(*window, "UpDownBaseAdv", true);
    EXPECT_EQ(window->Image()[field::mapUsesTps], 1);
    MouseClick(tps);
    EXPECT_FALSE(tps->isChecked());
    EXPECT_EQ(window->Image()[field::mapUsesTps], 0);
}

TEST_F(WindowTest, UnchangedImageAddsNoUndoState) {
    auto window = Start();
    // The first copy from the controls may bring bytes into the controls'
    // ranges (the unused channels' lobe numbers of the preset are 0, the
    // lobe spins start at 1); after that, leaving a field unchanged adds
    // nothing.
    Enter(*window, "EditBaseAdv", "10");
    const std::uint16_t start = window->Undo().Current();
    Enter(*window, "EditBaseAdv", "10");
    ClickUpDown(*window, "UpDownBaseAdv", true);
    ClickUpDown(*window, "UpDownBaseAdv", false);
    EXPECT_EQ(window->Undo().Current(), start + 2);
    Enter(*window, "EditBaseAdv", "10");
    EXPECT_EQ(window->Undo().Current(), start + 2);
    Enter(*window, "EditBaseAdv", "12");
    EXPECT_EQ(window->Undo().Current(), start + 3);

    // Undo brings back the value and the page it was recorded on; leaving
    // the field unchanged keeps the redo state.
    auto* pages = Find<QTabWidget>(*window, "PageControl1");
    pages->setCurrentIndex(3);
    window->findChild<QAction*>("MenuZpet")->trigger();
    EXPECT_EQ(window->Image()[field::baseAdvance], 10);
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_TRUE(window->Undo().CanRedo());
    Enter(*window, "EditBaseAdv", "10");
    EXPECT_TRUE(window->Undo().CanRedo());
    window->findChild<QAction*>("MenuZnovu")->trigger();
    EXPECT_EQ(window->Image()[field::baseAdvance], 12);
}

TEST_F(WindowTest, InputRadioGroupsRecordOnlyARealChange) {
    auto window = Start();
    window->show();
    auto* off = Find<QRadioButton>(*window, "RadioGroupInput2Item0");
    auto* clutch = Find<QRadioButton>(*window, "RadioGroupInput2Item3");
    MouseClick(off); // already chosen
    EXPECT_EQ(window->Undo().Current(), 0);
    MouseClick(clutch);
    EXPECT_EQ(window->Image()[field::input2Function], 3);
    EXPECT_EQ(window->Undo().Current(), 1);
}

TEST_F(WindowTest, ChoosingAModelLoadsItsPreset) {
    auto window = Start();
    Enter(*window, "Edit50", "55");
    Find<QComboBox>(*window, "ComboBoxBike")->setCurrentIndex(8); // Honda VFR 750
    const ParameterImage& image = window->Image();
    EXPECT_EQ(image[field::bikeCode], 24);
    EXPECT_EQ(image[field::syncMethod], 4);
    EXPECT_EQ(image[field::lobeCount], 11);
    EXPECT_EQ(image[field::outputCount], 4);
    EXPECT_EQ(image[MapCell(0, 0)], 10); // the default map again
    EXPECT_EQ(Edit(*window, "EditPalec3Zac")->text(), "10");
    EXPECT_EQ(Edit(*window, "EditPalec4End")->text(), "2");
    EXPECT_EQ(window->Undo().Current(), 2);
}

TEST_F(WindowTest, ProgrammingAfterChangeStartsTheUnitProgramming) {
    auto window = Start();
    window->show();
    Enter(*window, "EditBaseAdv", "10");
    // Ticking the box changes nothing, so nothing is programmed yet; every
    // later pass programs, changed or not.
    MouseClick(Find<MouseCheckBox>(*window, "CheckBoxProgHned"));
    EXPECT_EQ(window->Session().CurrentOperation(), Operation::Idle);
    Enter(*window, "EditBaseAdv", "10");
    EXPECT_EQ(window->Session().CurrentOperation(), Operation::Program);
}

} // namespace orna5::test
