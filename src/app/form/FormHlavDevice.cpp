// The commands that talk to the unit (Read, Verify, Program), the Com menu
// and what the window says about the port in use.

#include "app/form/FormHlav.h"
#include "device/DeviceSession.h"
#include "device/PortTable.h"
#include "device/SerialLink.h"
#include "lang/Messages.h"
#include "params/NormaliseImage.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>

namespace orna5 {

namespace {
// How long the note about a vanished port stays in the status bar.
constexpr int kPortNoteMs = 15000;
} // namespace

void TFormHlav::ConnectDeviceCommands() {
    BindCommand("MenuRead", "ButtonRead", &TFormHlav::MenuReadClick);
    BindCommand("MenuVerify", "BitBtnVerify", &TFormHlav::MenuVerifyClick);
    BindCommand("MenuProgram", "BitBtnProgram", &TFormHlav::MenuProgramClick);

    // The device given for this run (--port, or the emulated unit) heads the
    // Com menu, so the user sees which port is in use; choosing it opens it
    // again after it was lost.
    comDeviceItem = new QAction(this);
    comDeviceItem->setObjectName("MenuComDevice");
    comDeviceItem->setCheckable(true);
    MenuCom->insertAction(MenuCom->actions().value(0), comDeviceItem);
    comDeviceSeparator = MenuCom->insertSeparator(MenuCom->actions().value(1));
    connect(comDeviceItem, &QAction::triggered, this, [this] {
        CloseComPort();
        OpenComPort();
    });
    auto* portLabel = new QLabel(this);
    portLabel->setObjectName("LabelPortDevice");
    portLabel->setContentsMargins(6, 0, 6, 0);
    controls.insert("LabelPortDevice", portLabel);
    statusBar()->addPermanentWidget(portLabel);
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

// The Com menu's check mark, the device item and the status bar's port
// label, in the current language.
void TFormHlav::ShowPortInUse() {
    const QString device = PortDevice();
    for (int i = 0; i < kComMenuItems; ++i)
        ComPortMenuItems[i]->setChecked(portOverride.isEmpty() && i == comPortIndex);
    QString name = device;
    if (!portOverride.isEmpty() && ptyUnit)
        name += QString(" (%1)").arg(
            QString::fromStdString(MessageText(Msg::EmulatedUnit, languageIndex)));
    comDeviceItem->setText(name);
    comDeviceItem->setChecked(!portOverride.isEmpty());
    comDeviceItem->setVisible(!portOverride.isEmpty());
    comDeviceSeparator->setVisible(!portOverride.isEmpty());
    auto* label = Control<QLabel>("LabelPortDevice");
    label->setText(QString::fromStdString(MessageText(Msg::PortInUse, languageIndex)).arg(name));
    const bool lost = serialLink->Lost();
    PaintRole(label, lost ? ColourRole::Red : ColourRole::ButtonFace);
    portWasLost = lost;
}

// A port that vanishes (an adapter pulled out) is closed by the link, which
// then acts as a silent unit; the user is told once, without a box in the
// way, and "No Connection" follows as for any silent unit.
void TFormHlav::NoticePortLoss() {
    const bool lost = serialLink->Lost();
    if (lost == portWasLost)
        return;
    ShowPortInUse();
    if (lost)
        statusBar()->showMessage(
            QString::fromStdString(MessageText(Msg::PortDisappeared, languageIndex))
                .arg(PortDevice()),
            kPortNoteMs);
}

} // namespace orna5
