// Which control shows which byte of the image, the two copy routines and the
// handlers through which every edit reaches the image.

#include "app/Document.h"
#include "app/form/BusyGuard.h"
#include "app/form/FormHlav.h"
#include "app/widgets/MouseCheckBox.h"
#include "app/widgets/UpDown.h"
#include "device/DeviceSession.h"
#include "device/PortTable.h"
#include "params/BikePresets.h"
#include "params/FieldTable.h"
#include "params/NormaliseImage.h"

#include <QAbstractButton>
#include <QActionGroup>
#include <QButtonGroup>
#include <QComboBox>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QToolButton>

namespace orna5 {

namespace {

std::uint8_t LowByte(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

// An up-down's position as the unit's fields take it: signed 16 bits.
int Position16(UpDown* upDown) {
    return static_cast<std::int16_t>(upDown->Position());
}

std::uint8_t Ticked(const QAbstractButton* box) {
    return box->isChecked() ? 1 : 0;
}

void SelectRadio(QButtonGroup* group, int index) {
    if (QAbstractButton* button = group->button(index)) {
        button->setChecked(true);
        return;
    }
    // An index the group does not have (from a file) leaves no item chosen.
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

} // namespace

void TFormHlav::ConnectEditing() {
    for (UpDown* upDown : parameterUpDowns)
        connect(upDown, &UpDown::Click, this, &TFormHlav::UpDownClick);
    for (QLineEdit* edit : parameterEdits)
        edit->installEventFilter(this);
    for (UpDown* upDown : parameterUpDowns)
        upDownOfEdit.insert(upDown->Associate(), upDown);
    for (MouseCheckBox* box : parameterCheckBoxes)
        connect(box, &MouseCheckBox::MouseUp, this, &TFormHlav::CheckBoxMouseUp);
    for (QComboBox* list : {ComboBoxBike, ComboBoxSynchro})
        connect(list, &QComboBox::currentIndexChanged, this, [this] {
            if (writingControls == 0)
                ComboBoxBikeChange();
        });
    connect(ComboBoxNasobekPalcu, &QComboBox::currentIndexChanged, this, [this] {
        if (writingControls == 0)
            EditExit();
    });
    connect(input1Buttons, &QButtonGroup::idClicked, this, &TFormHlav::RadioGroupInput1Click);
    connect(input2Buttons, &QButtonGroup::idClicked, this, &TFormHlav::RadioGroupInput2Click);

    connect(SpeedButtonZpet, &QAbstractButton::clicked, this, &TFormHlav::SpeedButtonZpetClick);
    connect(MenuZpet, &QAction::triggered, this, &TFormHlav::SpeedButtonZpetClick);
    connect(SpeedButtonZnovu, &QAbstractButton::clicked, this, &TFormHlav::SpeedButtonZnovuClick);
    connect(MenuZnovu, &QAction::triggered, this, &TFormHlav::SpeedButtonZnovuClick);
}

void TFormHlav::SetSpin(UpDown* upDown, int position) {
    upDown->SetPosition(position);
}

void TFormHlav::CopyControlsToImage() {
    namespace f = field;
    namespace s = fieldScale;
    const int bikeCode = BikeIndexToCode(ComboBoxBike->currentIndex());
    if (bikeCode >= 0)
        image[f::bikeCode] = LowByte(bikeCode);
    image[f::reserved1] = 0;
    image[f::syncMethod] = LowByte(ComboBoxSynchro->currentIndex());
    image[f::lobeCount] = LowByte(Position16(UpDownPocPalcu));
    image[f::outputCount] = LowByte(Position16(UpDownPocKanalu));
    // No selection (-1) gives 0 as well.
    image[f::lobesPerRevCode] = LowByte((ComboBoxNasobekPalcu->currentIndex() + 1) % 4);
    image[f::shiftLightRpm] = LowByte(Stored(s::shiftLight, Position16(UpDownPilotLight)));

    image[f::input1Function] = LowByte(input1Buttons->checkedId());
    image[f::input2Function] = LowByte(input2Buttons->checkedId());
    image[f::neutralSideStandInputs] = Ticked(CheckBoxInNeutralSs);

    image[f::invertPickup1] = Ticked(CheckBoxInvInput1);
    image[f::invertPickup2] = Ticked(CheckBoxInvInput2);
    image[f::baseAdvance] = LowByte(Position16(UpDownBaseAdv));
    image[f::revsWithoutIgnition] = LowByte(Position16(UpDownPocSynchro));
    image[f::tachoPulsesPerRev] = LowByte(Position16(UpDownRpmPulsu));
    image[f::tachoCorrection] = LowByte(Stored(s::tachoCorrection, Position16(UpDownRpmKorekce)));
    image[f::limiterRpm] = LowByte(Stored(s::limiter, Position16(UpDownOmez2)));
    image[f::excitationLong] = Ticked(CheckBoxBuzDlouhe);
    image[f::servoEnable] = Ticked(CheckBoxPrivEnable);
    image[f::servoHysteresis] = LowByte(Stored(s::servoHysteresis, Position16(UpDownPrivHyster)));
    image[f::tpsZeroMv] = LowByte(Stored(s::tpsZero, Position16(UpDownTps0)));
    image[f::tpsFullMv] = LowByte(Stored(s::tpsFull, Position16(UpDownTps100)));
    image[f::mapUsesTps] = Ticked(CheckBoxTpsMapa);

    // Outside test mode the compensation is the unit's standard value,
    // whatever a file or the unit had put there.
    for (int i = 0; i < 4; ++i)
        image[f::compensation + i] = testMode ? LowByte(Position16(CompensationUpDowns[i])) : 11;

    image[f::clutchTime] = LowByte(Stored(s::clutchTime, Position16(UpDownClutchTime)));
    image[f::clutchPause] = LowByte(Stored(s::clutchPause, Position16(UpDownClutchPause)));

    for (std::size_t i = 0; i < kChannels; ++i) {
        // A channel beyond the outputs in use keeps its lobe numbers: the
        // unit and the model presets hold 0 there, which the spin edits
        // (1..58) cannot show, and writing their 1 back made the first edit a
        // change and a Verify right after a Read fail.
        if (i < image[f::outputCount]) {
            image[f::maxAdvanceLobe + i] = LowByte(Position16(LobeUpDowns[i]));
            image[f::startAdvanceLobe + i] = LowByte(Position16(LobeUpDowns[4 + i]));
        }
        image[f::maxAdvanceEdge2 + i] = Ticked(LobeCheckBoxes[i]);
        image[f::startAdvanceEdge2 + i] = Ticked(LobeCheckBoxes[4 + i]);
        image[f::maxAdvancePickup2 + i] = Ticked(LobeCheckBoxes[8 + i]);
        image[f::startAdvancePickup2 + i] = Ticked(LobeCheckBoxes[12 + i]);
    }
    for (std::size_t j = 0; j < kAxisPoints; ++j) {
        image[f::mapRpm + j] = LowByte(Stored(s::mapRpm, Position16(MapRpmUpDowns[j])));
        image[f::servoRpm + j] = LowByte(Stored(s::servoRpm, Position16(ServoRpmUpDowns[j])));
        image[f::servoMv + j] = LowByte(Stored(s::servoMv, Position16(ServoMvUpDowns[j])));
    }
    for (std::size_t row = 0; row < kMapRows; ++row)
        for (std::size_t column = 0; column < kAxisPoints; ++column)
            image[MapCell(row, column)] = LowByte(Position16(MapUpDowns[10 * row + column]));

    UpdateFormState();
}

void TFormHlav::CopyImageToControls() {
    namespace f = field;
    namespace s = fieldScale;
    {
        BusyGuard writing(writingControls);
        const int bikeIndex = BikeCodeToIndex(image[f::bikeCode]);
        if (bikeIndex >= 0)
            ComboBoxBike->setCurrentIndex(bikeIndex);
        ComboBoxSynchro->setCurrentIndex(
            image[f::syncMethod] < ComboBoxSynchro->count() ? image[f::syncMethod] : -1);

        SetSpin(UpDownPocPalcu, image[f::lobeCount]);
        SetSpin(UpDownPocKanalu, image[f::outputCount]);

        CheckBoxInNeutralSs->setChecked(image[f::neutralSideStandInputs] != 0);
        SelectRadio(input1Buttons, image[f::input1Function]);
        SelectRadio(input2Buttons, image[f::input2Function]);
        CheckBoxInvInput1->setChecked(image[f::invertPickup1] != 0);
        CheckBoxInvInput2->setChecked(image[f::invertPickup2] != 0);
        ComboBoxNasobekPalcu->setCurrentIndex((image[f::lobesPerRevCode] + 3) % 4);

        SetSpin(UpDownPilotLight, Shown(s::shiftLight, image[f::shiftLightRpm]));
        SetSpin(UpDownBaseAdv, image[f::baseAdvance]);
        SetSpin(UpDownPocSynchro, image[f::revsWithoutIgnition]);
        SetSpin(UpDownRpmPulsu, image[f::tachoPulsesPerRev]);
        SetSpin(UpDownRpmKorekce, Shown(s::tachoCorrection, image[f::tachoCorrection]));
        SetSpin(UpDownOmez2, Shown(s::limiter, image[f::limiterRpm]));
        CheckBoxBuzDlouhe->setChecked(image[f::excitationLong] != 0);
        CheckBoxPrivEnable->setChecked(image[f::servoEnable] != 0);
        SetSpin(UpDownPrivHyster, Shown(s::servoHysteresis, image[f::servoHysteresis]));
        SetSpin(UpDownTps0, Shown(s::tpsZero, image[f::tpsZeroMv]));
        SetSpin(UpDownTps100, Shown(s::tpsFull, image[f::tpsFullMv]));
        CheckBoxTpsMapa->setChecked(image[f::mapUsesTps] != 0);

        for (int i = 0; i < 4; ++i)
            SetSpin(CompensationUpDowns[i], image[f::compensation + i]);

        SetSpin(UpDownClutchTime, Shown(s::clutchTime, image[f::clutchTime]));
        SetSpin(UpDownClutchPause, Shown(s::clutchPause, image[f::clutchPause]));

        for (std::size_t i = 0; i < kChannels; ++i) {
            SetSpin(LobeUpDowns[i], image[f::maxAdvanceLobe + i]);
            SetSpin(LobeUpDowns[4 + i], image[f::startAdvanceLobe + i]);
            LobeCheckBoxes[i]->setChecked(image[f::maxAdvanceEdge2 + i] != 0);
            LobeCheckBoxes[4 + i]->setChecked(image[f::startAdvanceEdge2 + i] != 0);
            LobeCheckBoxes[8 + i]->setChecked(image[f::maxAdvancePickup2 + i] != 0);
            LobeCheckBoxes[12 + i]->setChecked(image[f::startAdvancePickup2 + i] != 0);
        }
        for (std::size_t j = 0; j < kAxisPoints; ++j) {
            SetSpin(MapRpmUpDowns[j], Shown(s::mapRpm, image[f::mapRpm + j]));
            SetSpin(ServoRpmUpDowns[j], Shown(s::servoRpm, image[f::servoRpm + j]));
            SetSpin(ServoMvUpDowns[j], Shown(s::servoMv, image[f::servoMv + j]));
        }
        for (std::size_t row = 0; row < kMapRows; ++row)
            for (std::size_t column = 0; column < kAxisPoints; ++column)
                SetSpin(MapUpDowns[10 * row + column], image[MapCell(row, column)]);
    }
    NameMapForReaders();
    UpdateFormState();
    emit ImageShown();
}

void TFormHlav::ApplyParameterChange() {
    NormaliseImage(image, languageIndex, comPortIndex);
    CopyImageToControls();
    CopyImageToControls();
    ProgramAfterChangeDecision(RecordUndoState());
}

bool TFormHlav::RecordUndoState() {
    const bool changed =
        undoHistory.RecordUndoState(image, static_cast<std::uint8_t>(PageControl1->currentIndex()));
    UpdateUndoEnabling();
    return changed;
}

// Once "Programming after change" is ticked, the first change programs the
// unit, and so does every later pass, changed or not, until it is unticked.
void TFormHlav::ProgramAfterChangeDecision(bool changed) {
    if (CheckBoxProgHned->isChecked()) {
        if (changed || programAfterChangeWasOn) {
            AbandonRestore();
            session->StartProgramming();
        }
        programAfterChangeWasOn = true;
    } else {
        programAfterChangeWasOn = false;
    }
}

void TFormHlav::UpdateUndoEnabling() {
    const bool canUndo = undoHistory.CanUndo();
    const bool canRedo = undoHistory.CanRedo();
    SpeedButtonZpet->setEnabled(canUndo);
    MenuZpet->setEnabled(canUndo);
    SpeedButtonZnovu->setEnabled(canRedo);
    MenuZnovu->setEnabled(canRedo);
    document->HostUndoChanged();
}

void TFormHlav::RestoreUndoState(const UndoState* state) {
    if (!state)
        return;
    image = state->image;
    CopyImageToControls();
    if (PageControl1->currentIndex() != state->page)
        PageControl1->setCurrentIndex(state->page);
    CopyImageToControls();
    UpdateUndoEnabling();
    if (CheckBoxProgHned->isChecked()) {
        AbandonRestore();
        session->StartProgramming();
    }
}

void TFormHlav::SpeedButtonZpetClick() {
    if (writingControls != 0)
        return;
    BusyGuard busy(writingControls);
    RestoreUndoState(undoHistory.Undo());
}

void TFormHlav::SpeedButtonZnovuClick() {
    if (writingControls != 0)
        return;
    BusyGuard busy(writingControls);
    RestoreUndoState(undoHistory.Redo());
}

void TFormHlav::UpDownClick(UpDown*, bool) {
    if (writingControls != 0)
        return;
    BusyGuard busy(writingControls);
    CopyControlsToImage();
    ApplyParameterChange();
}

void TFormHlav::EditExit() {
    if (writingControls != 0 || closed)
        return;
    BusyGuard busy(writingControls);
    CopyControlsToImage();
    ApplyParameterChange();
}

void TFormHlav::ChangeImage(const std::function<void(ParameterImage&)>& change) {
    if (writingControls != 0 || closed)
        return;
    BusyGuard busy(writingControls);
    CopyControlsToImage();
    change(image);
    ApplyParameterChange();
}

// Enter stores the value and moves on, like Tab; every other key is the
// edit's. Typing alone stores nothing.
bool TFormHlav::FormKeyPress(QLineEdit* edit, QKeyEvent* event) {
    // The arrow keys step the spin beside the edit, like its arrows.
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        UpDown* upDown = upDownOfEdit.value(edit);
        if (!upDown || upDown->isHidden())
            return false;
        upDown->StepClick(event->key() == Qt::Key_Up);
        return true;
    }
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    focusNextChild();
    if (writingControls == 0 && !closed) {
        BusyGuard busy(writingControls);
        CopyControlsToImage();
        ApplyParameterChange();
    }
    return true;
}

void TFormHlav::CheckBoxMouseUp(MouseCheckBox*) {
    if (writingControls != 0)
        return;
    BusyGuard busy(writingControls);
    CopyControlsToImage();
    UpdateFormState();
    ApplyParameterChange();
}

void TFormHlav::ComboBoxBikeChange() {
    BusyGuard busy(writingControls);
    const int code = BikeIndexToCode(ComboBoxBike->currentIndex());
    if (code >= 0)
        image[field::bikeCode] = LowByte(code);
    image[field::syncMethod] = LowByte(ComboBoxSynchro->currentIndex());
    bikeChosenFromList = true;
    ApplyBikePreset(image, bikeChosenFromList);
    CopyImageToControls();
    ApplyParameterChange();
}

void TFormHlav::RadioGroupInput1Click(int index) {
    RadioGroupInputClick(field::input1Function, index);
}

void TFormHlav::RadioGroupInput2Click(int index) {
    RadioGroupInputClick(field::input2Function, index);
}

// The input radio groups store their choice directly and skip the
// normalisation and the refresh.
void TFormHlav::RadioGroupInputClick(std::size_t offset, int index) {
    if (writingControls != 0)
        return;
    BusyGuard busy(writingControls);
    image[offset] = LowByte(index);
    ProgramAfterChangeDecision(RecordUndoState());
    UpdateFormState();
}

bool TFormHlav::eventFilter(QObject* watched, QEvent* event) {
    if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
        // A parameter file dropped on a field opens; the field does not take
        // its path as text.
        if (!DroppedParameterFile(event).isEmpty()) {
            if (event->type() == QEvent::Drop)
                dropEvent(static_cast<QDropEvent*>(event));
            else
                static_cast<QDragMoveEvent*>(event)->acceptProposedAction();
            return true;
        }
        // A field would take Ctrl+Z for its own text undo; the menu's
        // shortcuts come first, as long as their command can be chosen.
        if (event->type() == QEvent::ShortcutOverride) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const QKeySequence pressed(key->keyCombination());
            for (const QAction* action : std::as_const(menuCommands))
                if (action->isEnabled() && !action->shortcut().isEmpty() &&
                    action->shortcut() == pressed) {
                    event->ignore();
                    return true;
                }
        }
        if (event->type() == QEvent::KeyPress)
            return FormKeyPress(edit, static_cast<QKeyEvent*>(event));
        if (event->type() == QEvent::FocusOut) {
            // Leaving the window or opening a menu is not leaving the field.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                EditExit();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace orna5
