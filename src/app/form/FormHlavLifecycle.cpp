// Start-up and shutdown, the menus that belong to neither a page nor a file
// command, the serial port and the 55 ms tick.

#include "app/DataLogRecorder.h"
#include "app/Document.h"
#include "app/HistoryKeeper.h"
#include "app/LiveRateControl.h"
#include "app/PortControl.h"
#include "app/RideRecorder.h"
#include "app/ViewManager.h"
#include "app/form/FormAbout.h"
#include "app/form/FormHlav.h"
#include "app/widgets/MouseCheckBox.h"
#include "app/widgets/UpDown.h"
#include "device/DeviceSession.h"
#include "device/MonitorPanel.h"
#include "device/SerialLink.h"
#include "lang/ControlTexts.h"
#include "lang/LanguageArgument.h"
#include "lang/Messages.h"
#include "params/BikePresets.h"
#include "params/NormaliseImage.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace orna5 {

TFormHlav::TFormHlav(StartOptions startOptions, QWidget* parent)
    : QMainWindow(parent), options(std::move(startOptions)) {
    // The settings object is there from construction; the Com menu's device
    // table takes its overrides from it.
    settingsFile.Load(SettingsPath().toStdString());
    port = new PortControl(this, settingsFile);
    session = std::make_unique<DeviceSession>(image);
    session->SetLink(&port->Link());
    port->Link().OnDataArrived([this] { LinkDataArrived(); });
    // Another unit may be on the port now: a Program reads it first again.
    connect(port, &PortControl::Opened, this, [this] { session->PortOpened(); });
    document = new Document(*this, this);
    connect(this, &TFormHlav::ImageShown, document, &Document::HostShowed);
    connect(this, &TFormHlav::FrameAccepted, document, &Document::HostFrameAccepted);
    connect(this, &TFormHlav::TickDone, document, &Document::HostTicked);
    views =
        new ViewManager(*document, settingsFile, [this](const QString& text, const QString& name) {
            ShowMessage(text, name);
        });
    CreateControls();
    FormCreate();
    FormAbout = new TFormAbout(this);
}

TFormHlav::~TFormHlav() {
    // A window destroyed without being closed still lets go of the port.
    if (!closed)
        port->Close();
}

void TFormHlav::FormCreate() {
    ConnectEditing();
    ConnectDeviceCommands();
    ConnectPrinting();
    CreateViews();
    ConnectFileCommands();
    ConnectToolCommands();
    BindControlTexts();
    SetReadingOrder();
    connect(MenuContens, &QAction::triggered, this, &TFormHlav::MenuContensClick);
    connect(MenuAbout, &QAction::triggered, this, &TFormHlav::MenuAboutClick);
    // The hint handler: every hint's long part is the control's status tip,
    // which the main window shows in its status bar while the mouse is over
    // the control.
    connect(MenuExit, &QAction::triggered, this, &QWidget::close);
    for (int i = 0; i < 4; ++i)
        connect(languageActions[i], &QAction::triggered, this, [this, i] { MenuLanguageClick(i); });
    connect(Timer1, &QTimer::timeout, this, &TFormHlav::Timer1Timer);

    // Hints that read the same in every language.
    for (QComboBox* list : {ComboBoxBike, ComboBoxSynchro, ComboBoxNasobekPalcu})
        SetHint(list, "Type of keying");
    SetHint(BitBtnServoMinus, "Take off 20 mV");
    SetHint(BitBtnServoPlus, "Add 20 mV");
    SetHint(AdvanceMinus, "Curve A minus|Take off 1 degree of curve A");
    SetHint(AdvancePlus, "Curve A plus|Add 1 degree of curve A");

    comPortIndex = 1;
    image[field::bikeCode] = 20;
    ApplyBikePreset(image, bikeChosenFromList);
    CentreWindow();
    LoadSettings();
    KeepWindowOnScreen();
    if (!options.arguments.isEmpty()) {
        const int language = LanguageFromArgument(options.arguments.first().toStdString());
        if (language >= 0)
            languageIndex = static_cast<std::uint8_t>(language);
    }
    // The session starts with the unit counted as silent, so "No connection"
    // shows from the first tick.
    NormaliseImage(image, languageIndex, comPortIndex);
    CopyImageToControls();
    undoHistory.InitUndoHistory(image, static_cast<std::uint8_t>(PageControl1->currentIndex()));
    UpdateUndoEnabling();
    port->UseStartDevice(options.port, options.simulate);
    port->Open();
    ApplyLanguage();
    CopyImageToControls();
    LabelHlaseni->hide();
    CGaugeProgram->hide();
    CGaugeProgram->setMaximum(2);
    LabelEeDataErr->hide();
    LabelVersion->hide();
    CheckTestMarker();
    for (QLabel* test : TestLabels)
        test->setVisible(testMode);
    UpdateFormState();
    Timer1->start();
}

void TFormHlav::closeEvent(QCloseEvent* event) {
    if (!closed)
        FormClose();
    event->accept();
}

void TFormHlav::FormClose() {
    Timer1->stop();
    recorder->Stop();
    rides->Stop();
    port->Close();
    KeepForSessionEnd();
    closed = true;
}

void TFormHlav::KeepForSessionEnd() {
    if (closed)
        return;
    CopyControlsToImage();
    NormaliseImage(image, languageIndex, comPortIndex);
    // Every restore point handed over reaches the disk before the window
    // goes: one kept just now would otherwise depend on the writer's end.
    history->Flush();
    SaveSettings();
}

void TFormHlav::EndWhenIdle() {
    if (closed)
        return;
    if (session->CurrentOperation() == Operation::Idle)
        close();
    else
        endWhenIdle = true;
}

void TFormHlav::CentreWindow() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

// The stored geometry comes from a file anyone can edit. A size far beyond
// the desktop cannot even be painted, so it is cut to twice the desktop
// (never below the design size); a position on a screen that is no longer there (a
// monitor taken away) would leave the window where nobody can see it, so the
// window is centred instead.
void TFormHlav::KeepWindowOnScreen() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return;
    const QRect desktop = primary->availableVirtualGeometry();
    resize(std::min(width(), std::max(2 * desktop.width(), kDesignWidth)),
           std::min(height(), std::max(2 * desktop.height(), kDesignHeight)));
    // Far-off coordinates would overflow the rectangle arithmetic below.
    const auto far = [](int coordinate) {
        return coordinate < -(1 << 20) || coordinate > (1 << 20);
    };
    if (!far(x()) && !far(y())) {
        const QRect window(pos(), size());
        for (const QScreen* screen : QGuiApplication::screens())
            if (screen->availableGeometry().intersects(window))
                return;
    }
    CentreWindow();
}

void TFormHlav::MenuLanguageClick(int language) {
    languageIndex = static_cast<std::uint8_t>(language);
    ApplyLanguage();
    CopyImageToControls();
    port->ShowInUse();
}

// The box is modal but does not hold up the caller: start-up and the ticks
// go on behind it, as they would while a blocking box waited.
void TFormHlav::ShowMessage(const QString& text, const QString& name) {
    MakeMessageBox(QMessageBox::Warning, text, name, QMessageBox::Ok)->show();
}

QMessageBox* TFormHlav::MakeMessageBox(QMessageBox::Icon icon, const QString& text,
                                       const QString& name, QMessageBox::StandardButtons buttons) {
    // The window's caption may not be set yet when the port fails at start-up.
    const std::string* caption = ControlText("FormHlav", TextProp::Caption, languageIndex);
    const QString title = caption ? QString::fromStdString(*caption) : windowTitle();
    auto* box = new QMessageBox(icon, title, text, buttons, this);
    box->setObjectName(name);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    return box;
}

void TFormHlav::Timer1Timer() {
    if (closed)
        return;
    const TickResult result = session->Tick();
    if (result.imageChanged)
        CopyImageToControls();
    RenderOperationDisplay();
    if (result.monitorFrame)
        AcceptFrame();
    const bool frameSeen = result.monitorFrame || frameSinceTick;
    frameSinceTick = false;
    // At the Fast rate nearly every tick brings a frame; the panel is read
    // by a person, and a few redraws a second are all one can read.
    panelDue = panelDue || frameSeen;
    ticksSincePanel = static_cast<std::uint8_t>(std::min(ticksSincePanel + 1, 255));
    if (panelDue &&
        (session->Rate() == DeviceSession::PollRate::Standard || ticksSincePanel >= 3)) {
        RenderLivePanel();
        panelDue = false;
        ticksSincePanel = 0;
    }
    liveRate->Tick();
    port->Tick(session->NoConnectionVisible());
    history->AfterTick(result);
    if (result.ended) {
        OperationEnded(*result.ended);
        document->HostOperationEnded(*result.ended);
    }
    if (endWhenIdle && session->CurrentOperation() == Operation::Idle) {
        close();
        return;
    }
    MarkLiveControls();
    emit TickDone(frameSeen);
}

// At the Fast rate the unit's answer is taken when it comes, not at the next
// tick, so the next poll goes out at once; the panel and the views still
// draw at the tick.
void TFormHlav::LinkDataArrived() {
    if (closed)
        return;
    if (session->DataArrived().monitorFrame) {
        frameSinceTick = true;
        AcceptFrame();
    }
}

// A played row is no frame of the unit: the rate counts only what came in.
void TFormHlav::AcceptFrame() {
    if (!document->Playing())
        liveRate->FrameArrived();
    emit FrameAccepted();
}

// The status line, the progress gauge and the connection indicator as the
// session leaves them after a tick; a control is only touched when what it
// shows changes.
void TFormHlav::RenderOperationDisplay() {
    const StatusDisplay& display = session->Display();
    const StatusLine& status = display.Status();
    const QString text = QString::fromStdString(display.Render(languageIndex));
    if (LabelHlaseni->text() != text)
        LabelHlaseni->setText(text);
    PaintRole(LabelHlaseni, status.colour);
    LabelHlaseni->setVisible(status.visible);
    const ProgressGauge& gauge = display.Gauge();
    if (CGaugeProgram->maximum() != gauge.maximum)
        CGaugeProgram->setMaximum(gauge.maximum);
    if (CGaugeProgram->value() != gauge.position)
        CGaugeProgram->setValue(gauge.position);
    CGaugeProgram->setVisible(gauge.visible);
    ButtonWhatDiffers->setVisible(status.visible &&
                                  session->CurrentOperation() == Operation::Idle &&
                                  !session->VerifyDifferences().empty());
    LabelSpojeni->setVisible(display.NoConnectionVisible());
    // Hidden too while "No Connection" shows.
    LabelVersion->setVisible(session->Panel().versionVisible);
}

} // namespace orna5
