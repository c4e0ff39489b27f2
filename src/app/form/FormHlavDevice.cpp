// The commands that talk to the unit (Read, Verify, Program) and the port
// control's place in the form (the Com menu, the status bar).

#include "app/PortControl.h"
#include "app/form/FormHlav.h"
#include "device/DeviceSession.h"
#include "params/NormaliseImage.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>

namespace orna5 {

void TFormHlav::ConnectDeviceCommands() {
    BindCommand("MenuRead", "ButtonRead", &TFormHlav::MenuReadClick);
    BindCommand("MenuVerify", "BitBtnVerify", &TFormHlav::MenuVerifyClick);
    BindCommand("MenuProgram", "BitBtnProgram", &TFormHlav::MenuProgramClick);
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
    TakeControls();
    session->StartProgramming();
    RenderOperationDisplay();
}

void TFormHlav::MenuVerifyClick() {
    TakeControls();
    session->StartVerify();
    RenderOperationDisplay();
}

void TFormHlav::MenuReadClick() {
    session->StartRead();
    Control<QLabel>("LabelFile2")->clear();
    RenderOperationDisplay();
}

void TFormHlav::BindCommand(const char* action, const char* button, void (TFormHlav::*handler)()) {
    if (action)
        connect(actions.value(action), &QAction::triggered, this, handler);
    connect(Control<QAbstractButton>(button), &QAbstractButton::clicked, this, handler);
}

void TFormHlav::TakeControls() {
    CopyControlsToImage();
    NormaliseImage(image, languageIndex, comPortIndex);
    CopyImageToControls();
}

} // namespace orna5
