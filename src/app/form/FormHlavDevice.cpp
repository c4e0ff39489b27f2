// The commands that talk to the unit (Read, Verify, Program, a restore point
// programmed back), what the form does when they end, and the port control's
// place in the form (the Com menu, the status bar).

#include "app/DataLogRecorder.h"
#include "app/HistoryKeeper.h"
#include "app/PortControl.h"
#include "app/form/BusyGuard.h"
#include "app/form/FormHlav.h"
#include "device/DeviceSession.h"
#include "device/LiveLabel.h"
#include "device/MonitorPanel.h"
#include "lang/Messages.h"
#include "lang/ViewTexts.h"
#include "params/NormaliseImage.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>

#include <algorithm>

namespace orna5 {

namespace {

// Long enough to be read after a restore that ran while the user looked
// elsewhere.
constexpr int kRestoreNoteMs = 30000;

QString Text(ViewText id, int language) {
    return QString::fromStdString(TextIn(id, language));
}

// The step of a restore that failed, from how its Program ended.
ViewText FailedStep(Outcome outcome) {
    switch (outcome) {
    case Outcome::BackupNotKept:
        return ViewText::StepBackupNotKept;
    case Outcome::VerifyError:
        return ViewText::StepVerifyDiffers;
    case Outcome::NoConnection:
        return ViewText::StepNoAnswer;
    case Outcome::VersionMismatch:
        return ViewText::StepOtherVersion;
    case Outcome::Success:
    case Outcome::ReadError:
    case Outcome::ProgramError:
        break;
    }
    return ViewText::StepProgramFailed;
}

} // namespace

void TFormHlav::ConnectDeviceCommands() {
    BindCommand(MenuRead, ButtonRead, &TFormHlav::MenuReadClick);
    BindCommand(MenuVerify, BitBtnVerify, &TFormHlav::MenuVerifyClick);
    BindCommand(MenuProgram, BitBtnProgram, &TFormHlav::MenuProgramClick);
    port->CreateControls(
        {comPortIndex, *MenuCom, *statusBar(), [this] { return int(languageIndex); },
         [this](QObject* control, const QString& hint) { SetHint(control, hint); },
         [this](QWidget* widget, ColourRole role) { PaintRole(widget, role); },
         [this](const QString& text, const QString& name) { ShowMessage(text, name); }});
}

// Program and Verify take what the controls show, normalised; Read takes
// nothing and the parameters no longer come from the file named on the Bike
// page.
void TFormHlav::MenuProgramClick() {
    AbandonRestore();
    TakeControls();
    session->StartProgramming();
    RenderOperationDisplay();
}

void TFormHlav::MenuVerifyClick() {
    AbandonRestore();
    TakeControls();
    session->StartVerify();
    RenderOperationDisplay();
}

void TFormHlav::MenuReadClick() {
    AbandonRestore();
    session->StartRead();
    LabelFile2->clear();
    RenderOperationDisplay();
}

void TFormHlav::BindCommand(QAction* action, QAbstractButton* button,
                            void (TFormHlav::*handler)()) {
    if (action)
        connect(action, &QAction::triggered, this, handler);
    connect(button, &QAbstractButton::clicked, this, handler);
}

void TFormHlav::TakeControls() {
    CopyControlsToImage();
    NormaliseImage(image, languageIndex, comPortIndex);
    CopyImageToControls();
}

// The point's bytes go in as they are: normalising them first could change
// what the unit held, and programming after change must not start a Program
// of its own beside the restore's.
void TFormHlav::RestoreToUnit(const ParameterImage& point,
                              std::function<QString(int language)> name) {
    if (writingControls != 0 || closed)
        return;
    {
        BusyGuard busy(writingControls);
        HideOperationDisplay();
        std::copy(point.begin(), point.begin() + kTransferSize, image.begin());
        CopyImageToControls();
        CopyImageToControls();
        RecordUndoState();
        LabelFile2->clear();
    }
    AbandonRestore();
    restoring = PendingRestore{std::move(name), false};
    session->StartProgramming(DeviceSession::BackupRead::Always);
    RenderOperationDisplay();
}

void TFormHlav::OperationEnded(const OperationOutcome& ended) {
    // What the unit runs on now, to the byte: later rows of a log count
    // against it.
    if (ended.outcome == Outcome::Success && ended.operation != Operation::Verify)
        recorder->UnitRuns(session->UnitBytes());
    if (ended.operation == Operation::Read && ended.outcome == Outcome::Success)
        unitBytesInWindow = true;
    if (ended.outcome == Outcome::VersionMismatch)
        ShowMessage(QString::fromStdString(
                        RenderLabel(VersionMismatchLabel(session->UnitVersion()), languageIndex)),
                    "VersionMismatchBox");
    if (ended.outcome == Outcome::BackupNotKept) {
        AskProgramAnyway(); // a restore goes on or fails with the answer
        return;
    }
    if (!restoring || ended.operation != Operation::Program)
        return;
    if (ended.outcome != Outcome::Success) {
        EndRestore(FailedStep(ended.outcome));
        return;
    }
    // As a Read leaves the image: the unit's bytes, normalised.
    NormaliseImage(image, languageIndex, comPortIndex);
    CopyImageToControls();
    unitBytesInWindow = true;
    EndRestore(std::nullopt);
}

// Nothing was written: the user decides whether the unit is programmed
// without a copy of what it holds. Cancel is the default, and Esc and
// closing the box answer Cancel.
void TFormHlav::AskProgramAnyway() {
    QMessageBox* box = MakeMessageBox(
        QMessageBox::Question,
        Text(ViewText::ProgramAnywayQuestion, languageIndex).arg(history->BackupFailure()),
        "ProgramAnywayBox", QMessageBox::Cancel);
    QPushButton* anyway =
        box->addButton(Text(ViewText::ProgramAnyway, languageIndex), QMessageBox::AcceptRole);
    anyway->setObjectName("ProgramAnywayButton");
    box->setDefaultButton(QMessageBox::Cancel);
    box->setEscapeButton(QMessageBox::Cancel);
    if (restoring)
        restoring->asking = true;
    connect(box, &QMessageBox::finished, this, [this, box, anyway] {
        if (restoring)
            restoring->asking = false;
        if (box->clickedButton() != anyway) {
            if (restoring)
                EndRestore(ViewText::StepBackupNotKept);
            return;
        }
        // The image the Program was about to write, a restore's included.
        session->StartProgramming(DeviceSession::BackupRead::Never);
        RenderOperationDisplay();
    });
    box->show();
}

void TFormHlav::EndRestore(std::optional<ViewText> failedStep) {
    if (!restoring)
        return;
    const QString name = restoring->name ? restoring->name(languageIndex) : QString();
    restoring.reset();
    const QString text =
        failedStep
            ? Text(ViewText::NotRestored, languageIndex).arg(name, Text(*failedStep, languageIndex))
            : Text(ViewText::Restored, languageIndex).arg(name);
    statusBar()->showMessage(text, kRestoreNoteMs);
    MakeMessageBox(failedStep ? QMessageBox::Warning : QMessageBox::Information, text,
                   failedStep ? "NotRestoredBox" : "RestoredBox", QMessageBox::Ok)
        ->show();
}

void TFormHlav::AbandonRestore() {
    if (restoring && !restoring->asking)
        EndRestore(ViewText::StepReplaced);
}

} // namespace orna5
