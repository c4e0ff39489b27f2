#include "app/PortControl.h"

#include "device/PortTable.h"
#include "device/SerialLink.h"
#include "files/ProfileFile.h"
#include "lang/Messages.h"
#include "sim/PtyUnit.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>

#include <cstdio>

namespace orna5 {

namespace {
// How long the note about a vanished port stays in the status bar.
constexpr int kPortNoteMs = 15000;
} // namespace

PortControl::PortControl(QObject* parent, const ProfileFile& settings)
    : QObject(parent),
      table(std::make_unique<PortTable>(PortTable::FromKeys(
          [&settings](const std::string& key) { return settings.ReadString("PORTS", key, ""); }))),
      link(std::make_unique<SerialLink>()) {}

PortControl::~PortControl() = default;

QString PortControl::Device() const {
    return QString::fromStdString(link->Device());
}

void PortControl::CreateControls(Links portLinks) {
    links = std::make_unique<Links>(std::move(portLinks));
    QMenu& menu = links->comMenu;
    for (int i = 0; i < kComMenuItems; ++i) {
        auto* item = new QAction(QString("Com %1").arg(i + 1), &menu);
        item->setObjectName(QString("MenuCom%1").arg(i + 1));
        item->setCheckable(true);
        links->setHint(item, QString::fromStdString(table->DeviceForIndex(i)));
        menu.addAction(item);
        comItems[i] = item;
        connect(item, &QAction::triggered, this, [this, item] { ChooseComItem(item); });
    }

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
    label = new QLabel(&links->statusBar);
    label->setObjectName("LabelPortDevice");
    label->setContentsMargins(6, 0, 6, 0);
    links->statusBar.addPermanentWidget(label);
}

void PortControl::UseStartDevice(const QString& port, bool simulate) {
    if (!port.isEmpty()) {
        const auto device = ResolvePortArgument(port.toStdString(), *table);
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

void PortControl::Open() {
    const int language = links->language();
    const QString device = portOverride.isEmpty()
                               ? QString::fromStdString(table->DeviceForIndex(links->comPortIndex))
                               : portOverride;
    const PortOpenResult result = link->Open(device.toStdString());
    if (!result.ok) {
        QString text = QString::fromStdString(TextIn(Msg::ComOpeningError, language));
        text += "\n\n" + device;
        if (!result.reason.empty())
            text += ": " + QString::fromStdString(result.reason);
        if (result.permissionDenied && !result.hint.empty())
            text += "\n" + QString::fromStdString(result.hint);
        links->showMessage(text, "ComOpeningErrorBox");
    }
    ShowInUse();
    emit Opened();
}

void PortControl::Close() {
    link->Close();
}

// Choosing a Com item leaves a device given for this run and goes back to
// the menu's table.
void PortControl::ChooseComItem(QAction* sender) {
    for (int i = 0; i < kComMenuItems; ++i)
        if (comItems[i] == sender)
            links->comPortIndex = static_cast<std::uint8_t>(i);
    portOverride.clear();
    Close();
    Open();
}

void PortControl::ShowInUse() {
    const int language = links->language();
    const QString device = Device();
    for (int i = 0; i < kComMenuItems; ++i)
        comItems[i]->setChecked(portOverride.isEmpty() && i == links->comPortIndex);
    QString name = device;
    if (!portOverride.isEmpty() && ptyUnit)
        name += QString(" (%1)").arg(QString::fromStdString(TextIn(Msg::EmulatedUnit, language)));
    deviceItem->setText(name);
    deviceItem->setChecked(!portOverride.isEmpty());
    deviceItem->setVisible(!portOverride.isEmpty());
    deviceSeparator->setVisible(!portOverride.isEmpty());
    label->setText(QString::fromStdString(TextIn(Msg::PortInUse, language)).arg(name));
    const bool lost = link->Lost();
    links->paint(label, lost ? ColourRole::Red : ColourRole::ButtonFace);
    wasLost = lost;
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
        links->statusBar.showMessage(
            QString::fromStdString(TextIn(Msg::PortDisappeared, links->language())).arg(Device()),
            kPortNoteMs);
}

} // namespace orna5
