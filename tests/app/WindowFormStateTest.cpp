// Which controls are shown and enabled for a model, a method, the outputs,
// the throttle rows and the inputs.

#include "WindowFixture.h"

#include "app/widgets/MouseCheckBox.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPrinter>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>

namespace orna5::test {

namespace {

const char* const kLobeEdits[] = {"EditPalec1Zac", "EditPalec2Zac", "EditPalec3Zac",
                                  "EditPalec4Zac", "EditPalec1End", "EditPalec2End",
                                  "EditPalec3End", "EditPalec4End"};

} // namespace

class FormStateTest : public WindowTest {
protected:
    void Manual(TFormHlav& window, int method) {
        Find<QComboBox>(window, "ComboBoxBike")->setCurrentIndex(31);
        Find<QComboBox>(window, "ComboBoxSynchro")->setCurrentIndex(method);
    }
    bool Shown(TFormHlav& window, const QString& name) {
        return !Find<QWidget>(window, name)->isHidden();
    }
    bool Enabled(TFormHlav& window, const QString& name) {
        return Find<QWidget>(window, name)->isEnabled();
    }
};

TEST_F(FormStateTest, PresetModelIsReadableButGreyed) {
    auto window = Start();
    Find<QComboBox>(*window, "ComboBoxBike")->setCurrentIndex(8); // Honda VFR 750
    EXPECT_FALSE(Enabled(*window, "GroupBoxSpecial"));
    EXPECT_FALSE(Enabled(*window, "ComboBoxSynchro"));
    EXPECT_FALSE(Enabled(*window, "EditPocKanalu"));
    for (const char* edit : kLobeEdits) {
        EXPECT_FALSE(Enabled(*window, edit)) << edit;
        EXPECT_FALSE(Shown(*window, QString(edit).replace("Edit", "UpDown"))) << edit;
    }
    for (int channel = 1; channel <= 4; ++channel) {
        const QString group = QString("GroupBoxPalec%1").arg(channel);
        EXPECT_TRUE(Shown(*window, group)) << group.toStdString();
        const QString pickup2 = QString("CheckBoxPalec%1ZacP2").arg(channel);
        EXPECT_TRUE(Shown(*window, pickup2));
        EXPECT_FALSE(Enabled(*window, pickup2));
    }
    EXPECT_FALSE(Shown(*window, "UpDownPocPalcu"));
    EXPECT_FALSE(Shown(*window, "UpDownPocKanalu"));
}

TEST_F(FormStateTest, ManualSettingWithOneLobe) {
    auto window = Start();
    Manual(*window, 0);
    EXPECT_EQ(window->Image()[field::syncMethod], 0);
    EXPECT_EQ(window->Image()[field::lobeCount], 1);
    EXPECT_TRUE(Enabled(*window, "ComboBoxSynchro"));
    EXPECT_FALSE(Enabled(*window, "EditPocPalcu"));
    EXPECT_FALSE(Shown(*window, "UpDownPocPalcu"));
    EXPECT_TRUE(Enabled(*window, "EditPocKanalu"));
    EXPECT_TRUE(Shown(*window, "UpDownPocKanalu"));
    for (const char* edit : kLobeEdits) {
        EXPECT_FALSE(Enabled(*window, edit)) << edit;
        EXPECT_FALSE(Shown(*window, QString(edit).replace("Edit", "UpDown"))) << edit;
    }
    EXPECT_TRUE(Shown(*window, "CheckBoxPalec1EndP2"));
    EXPECT_TRUE(Enabled(*window, "CheckBoxPalec1EndP2"));
    EXPECT_TRUE(Shown(*window, "CheckBoxInvInput2"));

    Manual(*window, 2); // wide lobe: no second pick-up
    EXPECT_TRUE(Enabled(*window, "EditPocPalcu"));
    EXPECT_TRUE(Shown(*window, "UpDownPocPalcu"));
    EXPECT_TRUE(Shown(*window, "UpDownPalec1Zac"));
    EXPECT_FALSE(Shown(*window, "CheckBoxPalec1EndP2"));
    EXPECT_FALSE(Shown(*window, "CheckBoxInvInput2"));
}

TEST_F(FormStateTest, ManualHarleyHidesTheChannels) {
    auto window = Start();
    Manual(*window, 7);
    for (int channel = 1; channel <= 4; ++channel)
        EXPECT_FALSE(Shown(*window, QString("GroupBoxPalec%1").arg(channel)));
    EXPECT_FALSE(Shown(*window, "UpDownPocPalcu"));
    EXPECT_FALSE(Shown(*window, "UpDownPocKanalu"));
    for (const char* edit : {"EditPocPalcu", "EditPocKanalu"}) {
        EXPECT_TRUE(Shown(*window, edit));
        EXPECT_TRUE(Enabled(*window, edit));
    }
}

TEST_F(FormStateTest, OutputCountDecidesChannelsAndLiveAdvanceLabels) {
    auto window = Start();
    Manual(*window, 3);
    Enter(*window, "EditPocKanalu", "2");
    EXPECT_EQ(window->Image()[field::outputCount], 2);
    EXPECT_TRUE(Shown(*window, "GroupBoxPalec1"));
    EXPECT_TRUE(Shown(*window, "GroupBoxPalec2"));
    EXPECT_FALSE(Shown(*window, "GroupBoxPalec3"));
    EXPECT_FALSE(Shown(*window, "GroupBoxPalec4"));
    EXPECT_TRUE(Shown(*window, "LabelAdvance2"));
    EXPECT_FALSE(Shown(*window, "LabelAdvance3"));
    EXPECT_FALSE(Shown(*window, "LabelAdvance4"));
    ClickUpDown(*window, "UpDownPocKanalu", true);
    ClickUpDown(*window, "UpDownPocKanalu", true);
    EXPECT_TRUE(Shown(*window, "GroupBoxPalec4"));
    EXPECT_TRUE(Shown(*window, "LabelAdvance4"));
}

TEST_F(FormStateTest, ThrottleRowsAndTheMovingLastRow) {
    auto window = Start();
    window->show();
    Find<QTabWidget>(*window, "PageControl1")->setCurrentIndex(2);
    auto* firstLabel = Find<QLabel>(*window, "LabelTps1");
    auto* lastLabel = Find<QLabel>(*window, "LabelTps10");
    EXPECT_FALSE(Shown(*window, "Edit50"));
    EXPECT_FALSE(Shown(*window, "LabelTps10"));
    EXPECT_TRUE(Shown(*window, "Edit140"));
    EXPECT_FALSE(Shown(*window, "CSpinButton1"));
    EXPECT_EQ(Edit(*window, "Edit140")->y(), firstLabel->y() - 4);

    MouseClick(Find<MouseCheckBox>(*window, "CheckBoxTpsMapa"));
    EXPECT_EQ(window->Image()[field::mapUsesTps], 1);
    EXPECT_TRUE(Shown(*window, "Edit50"));
    EXPECT_TRUE(Shown(*window, "UpDown138"));
    EXPECT_TRUE(Shown(*window, "LabelTps1"));
    EXPECT_TRUE(Shown(*window, "CSpinButton10"));
    EXPECT_TRUE(Enabled(*window, "LabelTpsMon"));
    EXPECT_EQ(Edit(*window, "Edit149")->y(), lastLabel->y() - 4);
    EXPECT_EQ(Find<QWidget>(*window, "UpDown149")->y(), lastLabel->y() - 4);
    EXPECT_GT(Edit(*window, "Edit140")->y(), Edit(*window, "Edit130")->y());
}

TEST_F(FormStateTest, InputFunctionsEnableTheirControls) {
    auto window = Start();
    window->show();
    // Model 20 has input 1 on blocking.
    EXPECT_FALSE(Enabled(*window, "EditClutchTime"));
    EXPECT_FALSE(Shown(*window, "UpDownClutchTime"));
    MouseClick(Find<QRadioButton>(*window, "RadioGroupInput2Item4"));
    EXPECT_TRUE(Enabled(*window, "EditClutchTime"));
    EXPECT_TRUE(Enabled(*window, "LabelClutchPause"));
    EXPECT_TRUE(Shown(*window, "UpDownClutchTime"));
    EXPECT_TRUE(Shown(*window, "UpDownClutchPause"));
    EXPECT_TRUE(Enabled(*window, "LabelClutchMon"));

    MouseClick(Find<QRadioButton>(*window, "RadioGroupInput1Item0"));
    MouseClick(Find<QRadioButton>(*window, "RadioGroupInput2Item1"));
    EXPECT_TRUE(Enabled(*window, "LabelKillSwitch"));
    EXPECT_FALSE(Enabled(*window, "LabelBlocking1"));
    EXPECT_FALSE(Enabled(*window, "LabelClutchMon"));
    EXPECT_FALSE(Enabled(*window, "EditClutchTime"));

    MouseClick(Find<MouseCheckBox>(*window, "CheckBoxInNeutralSs"));
    EXPECT_EQ(window->Image()[field::neutralSideStandInputs], 1);
    EXPECT_FALSE(Enabled(*window, "RadioGroupInput1"));
    EXPECT_FALSE(Enabled(*window, "RadioGroupInput2"));
    EXPECT_TRUE(Enabled(*window, "LabelBlocking1"));
}

TEST_F(FormStateTest, ServoGroupFollowsServoEnable) {
    auto window = Start();
    window->show();
    Find<QTabWidget>(*window, "PageControl1")->setCurrentIndex(3);
    EXPECT_FALSE(Shown(*window, "GroupBoxPrivera"));
    EXPECT_FALSE(Shown(*window, "LabelPriveraPoz"));
    MouseClick(Find<MouseCheckBox>(*window, "CheckBoxPrivEnable"));
    EXPECT_TRUE(Shown(*window, "GroupBoxPrivera"));
    EXPECT_TRUE(Shown(*window, "LabelPriveraMer"));
}

// As the page goes to paper.
TEST_F(FormStateTest, PrintAppearanceHidesTheEditingAids) {
    auto window = Start();
    Find<MouseCheckBox>(*window, "CheckBoxTpsMapa")->setChecked(true);
    int pages = 0;
    QObject::connect(window.get(), &TFormHlav::PagePrinted, [&] {
        ++pages;
        EXPECT_EQ(window->palette().color(QPalette::Window), QColor(Qt::white));
        for (const char* name :
             {"GroupBoxToolBar", "StatusBar1", "UpDownOmez2", "UpDownTps100", "UpDownBaseAdv",
              "UpDownRpmAdv1", "UpDown55", "UpDown149", "UpDownRpmPriv3", "UpDownNapPriv10",
              "UpDownPrivHyster", "BitBtnAdvPlus", "BitBtnServoMinus", "CSpinButton4",
              "CheckBoxProgHned", "CGaugeRpm", "CGaugeTps"})
            EXPECT_FALSE(Shown(*window, name)) << name;
        for (const char* name : {"EditOmez2", "Edit55", "Edit149", "EditRpmAdv1", "LabelTps1"})
            EXPECT_TRUE(Shown(*window, name)) << name;
    });
    QTemporaryDir folder;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath("print.pdf"));
    ASSERT_TRUE(window->PrintPages(printer, false).allAccepted);
    EXPECT_EQ(pages, 1);
    EXPECT_TRUE(Shown(*window, "GroupBoxToolBar"));
    EXPECT_TRUE(Shown(*window, "UpDown55"));
    EXPECT_NE(window->palette().color(QPalette::Window), QColor(Qt::white));
}

} // namespace orna5::test
