#include "app/PortControl.h"

#include "app/widgets/ReaderName.h"
#include "device/PortScan.h"
#include "device/PortTable.h"
#include "device/SerialLink.h"
#include "files/ProfileFile.h"
#include "lang/AccessTexts.h"
#include "lang/Messages.h"
#include "sim/PtyUnit.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>

#include <algorithm>
#include <cstdio>

namespace orna5 {

namespace {
// How long the notes about the port stay in the status bar.
constexpr int kPortNoteMs = 15000;

QString Escaped(QString text) {
    return text.replace('&', "&&");
}

bool SameDevice(const QString& a, const QString& b) {
    return PortDiscovery::RealPath(a.toStdString()) == PortDiscovery::RealPath(b.toStdString());
}
} // namespace

PortControl::PortControl(QObject* parent, const ProfileFile& settings)
    : QObject(parent),
      discovery(std::make_unique<PortDiscovery>(PortTable::FromKeys(
          [&settings](const std::string& key) { return settings.ReadString("PORTS", key, ""); }))),
      link(std::make_unique<SerialLink>()),
      watch([this](const std::string& chosen) { return discovery->PresentDevices(chosen); }) {}

PortControl::~PortControl() = default;

QString PortControl::Device() const {
    return QString::fromStdString(link->Device());
}

QString PortControl::Text(Msg id) const {
    return QString::fromStdString(TextIn(id, links ? links->language() : English));
}

void PortControl::SetDiscovery(PortDiscovery::AdapterSource adapters,
                               const std::string& byIdFolder) {
    discovery =
        std::make_unique<PortDiscovery>(discovery->Table(), std::move(adapters), byIdFolder);
    watch.Forget();
}

void PortControl::CreateControls(Links portLinks) {
    links = std::make_unique<Links>(std::move(portLinks));
    QMenu& menu = links->comMenu;
    for (int i = 0; i < kComMenuItems; ++i) {
        auto* item = new QAction(QString("Com %1").arg(i + 1), &menu);
        item->setObjectName(QString("MenuCom%1").arg(i + 1));
        item->setCheckable(true);
        links->setHint(item, QString::fromStdString(discovery->Table().DeviceForIndex(i)));
        menu.addAction(item);
        comItems[i] = item;
        connect(item, &QAction::triggered, this, [this, item] { ChooseComItem(item); });
    }
    menu.addSeparator();
    findItem = new QAction(&menu);
    findItem->setObjectName("MenuFindUnit");
    findItem->setCheckable(true);
    menu.addAction(findItem);
    connect(findItem, &QAction::triggered, this, [this] { FindUnit(); });
    // What is plugged in is looked at each time the menu opens, never before.
    connect(&menu, &QMenu::aboutToShow, this, [this] { DescribeComItems(); });

    // The device given for this run (--port, or the emulated unit) heads the
    // Com menu, so the user sees which port is in use; choosing it opens it
    // again after it was lost.
    deviceItem = new QAction(&menu);
    deviceItem->setObjectName("MenuComDevice");
    deviceItem->setCheckable(true);
    menu.insertAction(menu.actions().value(0), deviceItem);
    deviceSeparator = menu.insertSeparator(menu.actions().value(1));
    connect(deviceItem, &QAction::triggered, this, [this] {
        Close();
        Open();
    });

    QStatusBar& bar = links->statusBar;
    scanLabel = new QLabel(&bar);
    scanLabel->setObjectName("LabelPortScan");
    scanLabel->setContentsMargins(6, 0, 6, 0);
    scanLabel->hide();
    bar.addPermanentWidget(scanLabel);

    note = new QWidget(&bar);
    note->setObjectName("PortAdapterNote");
    auto* row = new QHBoxLayout(note);
    row->setContentsMargins(6, 0, 6, 0);
    noteLabel = new QLabel(note);
    noteLabel->setObjectName("LabelPortAdapter");
    noteButton = new QPushButton(note);
    noteButton->setObjectName("ButtonUseAdapter");
    auto* dismiss = dismissButton = new QPushButton(QString::fromUtf8("\u00d7"), note);
    dismiss->setObjectName("ButtonDismissAdapter");
    dismiss->setFlat(true);
    dismiss->setFixedWidth(dismiss->fontMetrics().height() * 2);
    row->addWidget(noteLabel);
    row->addWidget(noteButton);
    row->addWidget(dismiss);
    note->hide();
    bar.addPermanentWidget(note);
    connect(noteButton, &QPushButton::clicked, this, [this] {
        const QString device = offered;
        HideAdapterNote();
        if (!device.isEmpty())
            UseDevice(device);
    });
    connect(dismiss, &QPushButton::clicked, this, [this] { HideAdapterNote(); });

    label = new QLabel(&bar);
    label->setObjectName("LabelPortDevice");
    label->setContentsMargins(6, 0, 6, 0);
    bar.addPermanentWidget(label);

    // Escape stops a search; it is bound only while one runs.
    escape = new QShortcut(QKeySequence(Qt::Key_Escape), bar.window());
    escape->setObjectName("FindUnitEscape");
    escape->setEnabled(false);
    connect(escape, &QShortcut::activated, this, [this] {
        if (scan)
            EndScan(true);
    });
}

void PortControl::UseStartDevice(const QString& port, bool simulate) {
    if (!port.isEmpty()) {
        const auto device = ResolvePortArgument(port.toStdString(), discovery->Table());
        portOverride = device ? QString::fromStdString(*device) : port;
        return;
    }
    if (!simulate)
        return;
    ptyUnit = std::make_unique<PtyUnit>();
    std::string error;
    if (ptyUnit->Start(error)) {
        portOverride = QString::fromStdString(ptyUnit->DevicePath());
    } else {
        std::fprintf(stderr, "orna5: the emulated unit could not start: %s\n", error.c_str());
        ptyUnit.reset();
    }
}

QString PortControl::ChosenDevice() const {
    return portOverride.isEmpty()
               ? QString::fromStdString(discovery->Table().DeviceForIndex(links->comPortIndex))
               : portOverride;
}

void PortControl::Open() {
    const QString device = ChosenDevice();
    const PortOpenResult result = link->Open(device.toStdString());
    if (!result.ok) {
        QString text = Text(Msg::ComOpeningError);
        text += "\n\n" + device;
        if (!result.reason.empty())
            text += ": " + QString::fromStdString(result.reason);
        if (result.permissionDenied)
            text += "\n" +
                    QString::fromStdString(PermissionHint(result.device, result.owner, result.group,
                                                          result.mode, links->language()));
        links->showMessage(text, "ComOpeningErrorBox");
    }
    ShowInUse();
    emit Opened();
}

bool PortControl::OpenQuietly() {
    const bool ok = link->Open(ChosenDevice().toStdString()).ok;
    ShowInUse();
    emit Opened();
    return ok;
}

void PortControl::Close() {
    if (scan)
        scan->Stop();
    link->Close();
}

// Choosing a Com item leaves a device given for this run and goes back to
// the menu's table.
void PortControl::ChooseComItem(QAction* sender) {
    if (scan)
        EndScan(true);
    for (int i = 0; i < kComMenuItems; ++i)
        if (comItems[i] == sender)
            links->comPortIndex = static_cast<std::uint8_t>(i);
    portOverride.clear();
    Close();
    Open();
}

void PortControl::DescribeComItems() {
    const std::vector<ComPortEntry> entries = discovery->ComEntries();
    for (const ComPortEntry& entry : entries) {
        QAction* item = comItems[static_cast<std::size_t>(entry.number - 1)];
        QString text = QString("Com %1  %2")
                           .arg(entry.number)
                           .arg(Escaped(QString::fromStdString(entry.device)));
        if (entry.presence == PortPresence::NotPresent)
            text += "  " + Text(Msg::PortNotPresent);
        else if (entry.presence == PortPresence::NoPermission)
            text += "  " + Text(Msg::PortNoPermission);
        if (!entry.description.empty())
            text += "  " + Escaped(QString::fromStdString(entry.description));
        item->setText(text);
    }
}

void PortControl::Retranslate() {
    findItem->setText(Text(Msg::FindUnit));
    noteButton->setText(Text(Msg::UseAdapter));
    // A reader would say the button's "×" as a multiplication sign.
    SetReaderName(dismissButton, QString::fromStdString(TextIn(
                                     AccessText::CloseNote, links ? links->language() : English)));
    if (!offered.isEmpty())
        ShowAdapterNote(offered);
    // The Com items are described when the menu opens, in the language of then.
}

void PortControl::ShowInUse() {
    const QString device = Device();
    for (int i = 0; i < kComMenuItems; ++i)
        comItems[i]->setChecked(portOverride.isEmpty() && i == links->comPortIndex);
    QString name = device;
    if (ptyUnit && portOverride == QString::fromStdString(ptyUnit->DevicePath()))
        name += QString(" (%1)").arg(Text(Msg::EmulatedUnit));
    deviceItem->setText(Escaped(name));
    deviceItem->setChecked(!portOverride.isEmpty());
    deviceItem->setVisible(!portOverride.isEmpty());
    deviceSeparator->setVisible(!portOverride.isEmpty());
    label->setText(Text(Msg::PortInUse).arg(name));
    const bool lost = link->Lost();
    links->paint(label, lost ? ColourRole::Red : ColourRole::ButtonFace);
    wasLost = lost;
    Retranslate();
}

void PortControl::Tick(bool noConnection) {
    if (scan) {
        ScanTick();
        return;
    }
    NoticeLoss();
    WatchAdapters(noConnection);
}

// A port that vanishes (an adapter pulled out) is closed by the link, which
// then acts as a silent unit; the user is told once, without a box in the
// way, and "No Connection" follows as for any silent unit.
void PortControl::NoticeLoss() {
    const bool lost = link->Lost();
    if (lost == wasLost)
        return;
    ShowInUse();
    if (lost)
        links->statusBar.showMessage(Text(Msg::PortDisappeared).arg(Device()), kPortNoteMs);
}

// The search takes the port in use first and the device given for this run
// last; the window's own link lets go of its device so the search can hold
// it exclusively.
void PortControl::FindUnit() {
    if (scan) {
        EndScan(true);
        return;
    }
    beforeScan = Device();
    const std::vector<std::string> devices =
        discovery->ScanOrder(link->Device(), portOverride.toStdString());
    HideAdapterNote();
    link->Close();
    scan = std::make_unique<PortScan>(devices);
    findItem->setChecked(true);
    escape->setEnabled(true);
    scanLabel->show();
    if (devices.empty()) {
        EndScan(false);
        return;
    }
    scanLabel->setText(Text(Msg::ScanProgress)
                           .arg(QString::fromStdString(devices.front()))
                           .arg(1)
                           .arg(devices.size()));
}

void PortControl::ScanTick() {
    if (!scan->Tick()) {
        EndScan(false);
        return;
    }
    const std::size_t at = std::min(scan->CurrentIndex(), scan->Devices().size() - 1);
    scanLabel->setText(Text(Msg::ScanProgress)
                           .arg(QString::fromStdString(scan->Devices()[at]))
                           .arg(at + 1)
                           .arg(scan->Devices().size()));
}

void PortControl::EndScan(bool stopped) {
    scan->Stop();
    const std::unique_ptr<PortScan> ended = std::move(scan);
    findItem->setChecked(false);
    escape->setEnabled(false);
    scanLabel->hide();
    if (const ProbeResult* found = ended->Found()) {
        UseDevice(QString::fromStdString(found->device));
        return;
    }
    // Nothing found: the port goes back to where it was.
    OpenQuietly();
    if (stopped) {
        links->statusBar.showMessage(Text(Msg::ScanStopped), kPortNoteMs);
        return;
    }
    if (ended->Results().empty()) {
        links->showMessage(Text(Msg::NoSerialDevice), "NoUnitFoundBox");
        return;
    }
    QString tried;
    for (const ProbeResult& result : ended->Results()) {
        tried += "\n" + QString::fromStdString(result.device);
        if (result.answer == ProbeAnswer::Busy)
            tried += " (" + Text(Msg::DeviceBusy) + ")";
        else if (result.answer == ProbeAnswer::CannotOpen && !result.reason.empty())
            tried += " (" + QString::fromStdString(result.reason) + ")";
    }
    links->showMessage(Text(Msg::NoUnitAnswered).arg(tried), "NoUnitFoundBox");
}

void PortControl::UseDevice(const QString& device) {
    QString name = device;
    bool onItem = false;
    for (int i = 0; i < kComMenuItems && !onItem; ++i) {
        const QString itemDevice = QString::fromStdString(discovery->Table().DeviceForIndex(i));
        if (SameDevice(itemDevice, device)) {
            links->comPortIndex = static_cast<std::uint8_t>(i);
            portOverride.clear();
            name = QString("Com %1 (%2)").arg(i + 1).arg(itemDevice);
            onItem = true;
        }
    }
    if (!onItem)
        portOverride = device;
    Open();
    if (link->IsOpen())
        links->statusBar.showMessage(Text(Msg::UnitFoundOn).arg(name), kPortNoteMs);
}

// The watch looks, without opening anything, at which serial devices there
// are; the chosen device coming back opens again by itself, and any other
// that appears is offered in the note.
void PortControl::WatchAdapters(bool noConnection) {
    const AdapterWatch::Step step =
        watch.Tick(noConnection, {ChosenDevice().toStdString(), link->IsOpen(), link->Lost(),
                                  offered.toStdString()});
    if (step.withdrawOffer)
        HideAdapterNote();
    if (step.reopen && OpenQuietly())
        return;
    if (!step.offer.empty())
        ShowAdapterNote(QString::fromStdString(step.offer));
}

void PortControl::ShowAdapterNote(const QString& device) {
    offered = device;
    const std::string description = discovery->DescriptionOf(device.toStdString());
    const QString name =
        description.empty()
            ? device
            : Text(Msg::AdapterOn).arg(QString::fromStdString(description)).arg(device);
    noteLabel->setText(Text(Msg::AdapterPluggedIn).arg(name));
    note->show();
}

void PortControl::HideAdapterNote() {
    offered.clear();
    if (note)
        note->hide();
}

} // namespace orna5
