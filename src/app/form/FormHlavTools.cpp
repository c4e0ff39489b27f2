// The one-click step commands: advance -/+ on the live cell or the whole map,
// the column spin buttons, servo -/+ and the throttle calibration from the
// live sensor voltage.

#include "app/form/BusyGuard.h"
#include "app/form/FormHlav.h"
#include "app/widgets/SpinButton.h"
#include "device/DeviceSession.h"
#include "edit/StepCommands.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QPushButton>

namespace orna5 {

void TFormHlav::ConnectToolCommands() {
    BindCommand(AdvanceMinus, BitBtnAdvMinus, &TFormHlav::BitBtnAdvMinusClick);
    BindCommand(AdvancePlus, BitBtnAdvPlus, &TFormHlav::BitBtnAdvPlusClick);
    BindCommand(nullptr, BitBtnServoMinus, &TFormHlav::BitBtnServoMinusClick);
    BindCommand(nullptr, BitBtnServoPlus, &TFormHlav::BitBtnServoPlusClick);
    BindCommand(nullptr, BitBtnTps0, &TFormHlav::BitBtnTps0Click);
    BindCommand(nullptr, BitBtnTps100, &TFormHlav::BitBtnTps100Click);
    for (int column = 0; column < 10; ++column) {
        SpinButton* spin = ColumnSpinButtons[column];
        connect(spin, &SpinButton::UpClick, this,
                [this, column] { CSpinButtonClick(column, true); });
        connect(spin, &SpinButton::DownClick, this,
                [this, column] { CSpinButtonClick(column, false); });
    }
}

// The live values as they are at the click.
LivePosition TFormHlav::CurrentLive() const {
    return session->Live(image[field::mapUsesTps] != 0);
}

void TFormHlav::BitBtnAdvMinusClick() {
    ChangeImage([this](ParameterImage& target) {
        // The step command, not the menu command of the same name.
        orna5::AdvanceMinus(target, CurrentLive(), CheckBoxIgnAll->isChecked());
    });
}

void TFormHlav::BitBtnAdvPlusClick() {
    ChangeImage([this](ParameterImage& target) {
        orna5::AdvancePlus(target, CurrentLive(), CheckBoxIgnAll->isChecked());
    });
}

void TFormHlav::CSpinButtonClick(int column, bool up) {
    ChangeImage([column, up](ParameterImage& target) {
        if (up)
            ColumnUp(target, column);
        else
            ColumnDown(target, column);
    });
}

void TFormHlav::BitBtnServoMinusClick() {
    ChangeImage([this](ParameterImage& target) {
        ServoMinus(target, CurrentLive(), CheckBoxServoAll->isChecked());
    });
}

void TFormHlav::BitBtnServoPlusClick() {
    ChangeImage([this](ParameterImage& target) {
        ServoPlus(target, CurrentLive(), CheckBoxServoAll->isChecked());
    });
}

// The calibration takes the image as it is, and outside its range it does
// nothing at all: no refresh, no undo state, no programming.
void TFormHlav::BitBtnTps0Click() {
    if (writingControls != 0 || closed)
        return;
    BusyGuard busy(writingControls);
    if (SetTpsZero(image, CurrentLive().tpsMillivolts))
        ApplyParameterChange();
}

void TFormHlav::BitBtnTps100Click() {
    if (writingControls != 0 || closed)
        return;
    BusyGuard busy(writingControls);
    if (SetTpsFull(image, CurrentLive().tpsMillivolts))
        ApplyParameterChange();
}

} // namespace orna5
