// Which controls are shown and which may be changed, from the chosen model,
// the synchronisation method, the throttle rows, the outputs, the inputs and
// whether the window is being printed.

#include "app/form/FormHlav.h"
#include "app/widgets/MouseCheckBox.h"
#include "app/widgets/SpinButton.h"
#include "app/widgets/UpDown.h"
#include "device/DeviceSession.h"
#include "params/BikePresets.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>

#include <initializer_list>

namespace orna5 {

namespace {

constexpr int kManualBikePosition = 31;

void SetShown(std::initializer_list<QWidget*> widgets, bool shown) {
    for (QWidget* widget : widgets)
        widget->setVisible(shown);
}

void SetEnabled(std::initializer_list<QWidget*> widgets, bool enabled) {
    for (QWidget* widget : widgets)
        widget->setEnabled(enabled);
}

} // namespace

// An invalid colour gives the control back the background of what it sits on.
void TFormHlav::SetBackground(QWidget* widget, const QColor& colour) {
    if (!colour.isValid()) {
        widget->setAutoFillBackground(false);
        return;
    }
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void TFormHlav::UpdateFormState() {
    const bool manual = ComboBoxBike->currentIndex() == kManualBikePosition;
    const int method = ComboBoxSynchro->currentIndex();
    const bool m0 = method == 0, m4 = method == 4, m6 = method == 6, m7 = method == 7;
    const bool tps = CheckBoxTpsMapa->isChecked();
    const bool printing = printingInProgress;
    const bool neutral = CheckBoxInNeutralSs->isChecked();
    const int input1 = image[field::input1Function];
    const int input2 = image[field::input2Function];
    const bool killUsed = input1 == 1 || input2 == 1;
    const bool blockUsed = input1 == 2 || input2 == 2 || neutral;
    const bool clutchUsed = input2 == 3 || input2 == 4;
    const int outputs = image[field::outputCount];

    // 1, 2: print appearance and the program-after-change colour.
    const QColor background =
        printing ? QColor(Qt::white) : QApplication::palette().color(QPalette::Window);
    if (palette().color(QPalette::Window) != background) {
        QPalette windowPalette = palette();
        windowPalette.setColor(QPalette::Window, background);
        setPalette(windowPalette);
    }
    SetBackground(CheckBoxProgHned, CheckBoxProgHned->isChecked() ? QColor(Qt::red) : QColor());
    CheckBoxProgHned->setVisible(!printing);

    // 3 to 6: what only editing needs is hidden while printing.
    SetShown({StatusBar1, GroupBoxToolBar, UpDownBaseAdv, UpDownOmez2, BitBtnAdvMinus,
              BitBtnAdvPlus, CheckBoxIgnAll, UpDownTps0, UpDownTps100, BitBtnTps0, BitBtnTps100,
              CGaugeRpm},
             !printing);
    CGaugeTps->setVisible(tps && !printing);
    SetShown({LabelPocetProgramovani, CheckBoxTpsMapa, UpDownPrivHyster, BitBtnServoMinus,
              BitBtnServoPlus, BitBtnServoRpm, CheckBoxServoAll, LabelMonSnimac1, LabelMonSnimac2},
             !printing);
    for (int j = 0; j < 10; ++j) {
        MapRpmUpDowns[j]->setVisible(!printing);
        MapUpDowns[90 + j]->setVisible(!printing);
        ServoRpmUpDowns[j]->setVisible(!printing);
        ServoMvUpDowns[j]->setVisible(!printing);
    }

    // 7 to 9: the throttle rows of the map; row 9 is always there.
    for (int j = 0; j < 10; ++j) {
        TpsRowLabels[j]->setVisible(tps);
        for (int row = 0; row < 9; ++row) {
            MapEdits[10 * row + j]->setVisible(tps);
            MapUpDowns[10 * row + j]->setVisible(tps && !printing);
        }
    }
    for (SpinButton* spin : ColumnSpinButtons)
        spin->setVisible(tps && !printing);
    PlaceMapRow9();

    // 10 to 12: servo and unit information.
    const bool servo = image[field::servoEnable] != 0;
    SetShown({GroupBoxPrivera, LabelPriveraPoz, LabelPriveraMer}, servo);
    const UnitInfoTexts& unit = session->UnitTexts();
    VersionLabels[0]->setText(QString::fromStdString(unit.versionText));
    VersionLabels[1]->setText(QString::fromStdString(unit.buildDateText));
    VersionLabels[2]->setText(QString::fromStdString(unit.buildTimeText));
    LabelTpsMon->setEnabled(tps);

    // 13 to 17: the synchronisation set-up can be changed in manual setting
    // only; a preset stays readable but greyed.
    SetEnabled({ComboBoxSynchro, ComboBoxNasobekPalcu, EditPocKanalu}, manual);
    EditPocPalcu->setEnabled(manual && !m0);
    for (QLineEdit* edit : LobeEdits)
        edit->setEnabled(manual && !m0);
    SetEnabled({LabelLobe, LabelHrana2, LabelSnimac2}, manual);
    for (QLineEdit* edit : CompensationEdits)
        edit->setEnabled(manual);
    for (int i = 0; i < 4; ++i) {
        CompensationEdits[i]->setVisible(testMode);
        CompensationUpDowns[i]->setVisible(testMode);
    }
    LabelKompenz->setVisible(testMode);
    CheckBoxBuzDlouhe->setEnabled(manual);
    for (MouseCheckBox* box : LobeCheckBoxes)
        box->setEnabled(manual);
    GroupBoxSpecial->setEnabled(manual);
    for (int channel = 0; channel < 4; ++channel) {
        ChannelGroupBoxes[channel]->setEnabled(manual);
        LobeLabels[channel]->setEnabled(manual);
        LobeLabels[4 + channel]->setEnabled(manual);
    }
    SetEnabled({LabelSynchro, LabelPocPalcu, LabelPocKanalu, LabelKompenz}, manual);

    // 18 to 23: what the method and the outputs need.
    CheckBoxInvInput2->setVisible(m4 || m0 || m6);
    for (int i = 8; i < 16; ++i)
        LobeCheckBoxes[i]->setVisible(m4 || m0);
    UpDownPocPalcu->setVisible(manual && !m0 && !m7);
    UpDownPocKanalu->setVisible(manual && !m7);
    for (UpDown* upDown : LobeUpDowns)
        upDown->setVisible(manual && !m0);
    ChannelGroupBoxes[0]->setVisible(!m7);
    for (int channel = 2; channel <= 4; ++channel)
        ChannelGroupBoxes[channel - 1]->setVisible(outputs >= channel && !m7);
    const bool perChannel = image[field::bikeCode] == kSpecialBikeCode;
    for (int channel = 2; channel <= 4; ++channel)
        ChannelAdvanceLabels[channel - 1]->setVisible(perChannel && outputs >= channel);
    LabelMonSnimac2->setVisible(m0 || m4 || m6);

    // 24 to 26: the inputs.
    LabelKillSwitch->setEnabled(killUsed);
    LabelBlocking1->setEnabled(blockUsed);
    LabelClutchMon->setEnabled(clutchUsed);
    SetEnabled({EditClutchTime, LabelClutchTime, EditClutchPause, LabelClutchPause}, clutchUsed);
    UpDownClutchTime->setVisible(clutchUsed && !printing);
    UpDownClutchPause->setVisible(clutchUsed && !printing);
    SetEnabled({RadioGroupInput1, RadioGroupInput2}, !neutral);
}

void TFormHlav::SetPrintingInProgress(bool printing) {
    printingInProgress = printing;
    session->Display().SetPrintingInProgress(printing);
    UpdateFormState();
}

} // namespace orna5
