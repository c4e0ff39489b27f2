// Which controls are shown and which may be changed, from the chosen model,
// the synchronisation method, the throttle rows, the outputs, the inputs and
// whether the window is being printed.

#include "app/form/FormHlav.h"
#include "app/widgets/MouseCheckBox.h"
#include "app/widgets/UpDown.h"
#include "device/DeviceSession.h"
#include "params/BikePresets.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace orna5 {

namespace {
constexpr int kManualBikePosition = 31;
} // namespace

void TFormHlav::SetShown(const QString& name, bool shown) {
    Widget(name)->setVisible(shown);
}

void TFormHlav::SetEnabled(const QString& name, bool enabled) {
    Widget(name)->setEnabled(enabled);
}

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
    const bool manual = Control<QComboBox>("ComboBoxBike")->currentIndex() == kManualBikePosition;
    const int method = Control<QComboBox>("ComboBoxSynchro")->currentIndex();
    const bool m0 = method == 0, m4 = method == 4, m6 = method == 6, m7 = method == 7;
    const bool tps = Control<QCheckBox>("CheckBoxTpsMapa")->isChecked();
    const bool printing = printingInProgress;
    const bool neutral = Control<QCheckBox>("CheckBoxInNeutralSs")->isChecked();
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
    auto* programAfterChange = Control<QCheckBox>("CheckBoxProgHned");
    SetBackground(programAfterChange, programAfterChange->isChecked() ? QColor(Qt::red) : QColor());
    programAfterChange->setVisible(!printing);

    // 3 to 6: what only editing needs is hidden while printing.
    for (const char* name : {"StatusBar1", "GroupBoxToolBar", "UpDownBaseAdv", "UpDownOmez2",
                             "BitBtnAdvMinus", "BitBtnAdvPlus", "CheckBoxIgnAll", "UpDownTps0",
                             "UpDownTps100", "BitBtnTps0", "BitBtnTps100", "CGaugeRpm"})
        SetShown(name, !printing);
    SetShown("CGaugeTps", tps && !printing);
    for (const char* name : {"LabelPocetProgramovani", "CheckBoxTpsMapa", "UpDownPrivHyster",
                             "BitBtnServoMinus", "BitBtnServoPlus", "BitBtnServoRpm",
                             "CheckBoxServoAll", "LabelMonSnimac1", "LabelMonSnimac2"})
        SetShown(name, !printing);
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
    for (int i = 1; i <= 10; ++i)
        SetShown(QString("CSpinButton%1").arg(i), tps && !printing);
    PlaceMapRow9();

    // 10 to 12: servo and unit information.
    const bool servo = image[field::servoEnable] != 0;
    for (const char* name : {"GroupBoxPrivera", "LabelPriveraPoz", "LabelPriveraMer"})
        SetShown(name, servo);
    const UnitInfoTexts& unit = session->UnitTexts();
    Control<QLabel>("LabelVerze1")->setText(QString::fromStdString(unit.versionText));
    Control<QLabel>("LabelVerze2")->setText(QString::fromStdString(unit.buildDateText));
    Control<QLabel>("LabelVerze3")->setText(QString::fromStdString(unit.buildTimeText));
    SetEnabled("LabelTpsMon", tps);

    // 13 to 17: the synchronisation set-up can be changed in manual setting
    // only; a preset stays readable but greyed.
    for (const char* name : {"ComboBoxSynchro", "ComboBoxNasobekPalcu", "EditPocKanalu"})
        SetEnabled(name, manual);
    SetEnabled("EditPocPalcu", manual && !m0);
    for (QLineEdit* edit : LobeEdits)
        edit->setEnabled(manual && !m0);
    for (const char* name : {"LabelLobe", "LabelHrana2", "LabelSnimac2"})
        SetEnabled(name, manual);
    for (int i = 1; i <= 4; ++i)
        SetEnabled(QString("EditKompenz%1").arg(i), manual);
    for (int i = 1; i <= 4; ++i) {
        SetShown(QString("EditKompenz%1").arg(i), testMode);
        SetShown(QString("UpDownKompenz%1").arg(i), testMode);
    }
    SetShown("LabelKompenz", testMode);
    SetEnabled("CheckBoxBuzDlouhe", manual);
    for (MouseCheckBox* box : LobeCheckBoxes)
        box->setEnabled(manual);
    SetEnabled("GroupBoxSpecial", manual);
    for (int channel = 1; channel <= 4; ++channel) {
        SetEnabled(QString("GroupBoxPalec%1").arg(channel), manual);
        SetEnabled(QString("LabelPalec%1Zac").arg(channel), manual);
        SetEnabled(QString("LabelPalec%1End").arg(channel), manual);
    }
    for (const char* name : {"LabelSynchro", "LabelPocPalcu", "LabelPocKanalu", "LabelKompenz"})
        SetEnabled(name, manual);

    // 18 to 23: what the method and the outputs need.
    SetShown("CheckBoxInvInput2", m4 || m0 || m6);
    for (int i = 8; i < 16; ++i)
        LobeCheckBoxes[i]->setVisible(m4 || m0);
    SetShown("UpDownPocPalcu", manual && !m0 && !m7);
    SetShown("UpDownPocKanalu", manual && !m7);
    for (UpDown* upDown : LobeUpDowns)
        upDown->setVisible(manual && !m0);
    SetShown("GroupBoxPalec1", !m7);
    for (int channel = 2; channel <= 4; ++channel)
        SetShown(QString("GroupBoxPalec%1").arg(channel), outputs >= channel && !m7);
    const bool perChannel = image[field::bikeCode] == kSpecialBikeCode;
    for (int channel = 2; channel <= 4; ++channel)
        ChannelAdvanceLabels[channel - 1]->setVisible(perChannel && outputs >= channel);
    SetShown("LabelMonSnimac2", m0 || m4 || m6);

    // 24 to 26: the inputs.
    SetEnabled("LabelKillSwitch", killUsed);
    SetEnabled("LabelBlocking1", blockUsed);
    SetEnabled("LabelClutchMon", clutchUsed);
    for (const char* name :
         {"EditClutchTime", "LabelClutchTime", "EditClutchPause", "LabelClutchPause"})
        SetEnabled(name, clutchUsed);
    SetShown("UpDownClutchTime", clutchUsed && !printing);
    SetShown("UpDownClutchPause", clutchUsed && !printing);
    SetEnabled("RadioGroupInput1", !neutral);
    SetEnabled("RadioGroupInput2", !neutral);
}

void TFormHlav::SetPrintingInProgress(bool printing) {
    printingInProgress = printing;
    session->Display().SetPrintingInProgress(printing);
    UpdateFormState();
}

} // namespace orna5
