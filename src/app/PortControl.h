#pragma once

#include "device/AdapterWatch.h"
#include "device/ColourRole.h"
#include "device/PortDiscovery.h"

#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QShortcut;
class QStatusBar;
class QWidget;

namespace orna5 {

enum class Msg;
class PortScan;
class ProfileFile;
class PtyUnit;
class SerialLink;

// The serial port the window talks through: the Com menu (twenty table
// entries, each with what the system knows of its device, headed by the
// device given for this run), the port label in the status bar, the note
// when the port vanishes and the reopening when it comes back, Find unit,
// the note when an adapter is plugged in while no unit answers, and the
// device of --port or of the emulated unit of --simulate.
class PortControl : public QObject {
    Q_OBJECT
public:
    static constexpr int kComMenuItems = 20;

    struct Links {
        // The form's Com choice, kept and normalised with the image.
        std::uint8_t& comPortIndex;
        QMenu& comMenu;
        QStatusBar& statusBar;
        std::function<int()> language;
        // The form's way to show a hint, a colour and a message box.
        std::function<void(QObject*, const QString&)> setHint;
        std::function<void(QWidget*, ColourRole)> paint;
        std::function<void(const QString& text, const QString& name)> showMessage;
    };

    // The device table takes its overrides from the settings' PORTS section.
    PortControl(QObject* parent, const ProfileFile& settings);
    ~PortControl() override;

    SerialLink& Link() { return *link; }
    const SerialLink& Link() const { return *link; }
    // The device the port was last opened on (or tried).
    QString Device() const;

    // Builds the Com menu's items and the port label.
    void CreateControls(Links links);
    // The device of --port, or an emulated unit started for --simulate.
    void UseStartDevice(const QString& port, bool simulate);
    // Opens the device in use; a port that cannot be opened is told in a box.
    void Open();
    void Close();
    // The Com menu's check mark, the device item and the port label, in the
    // current language.
    void ShowInUse();
    // Once per tick: tells the user once when the port has vanished, runs
    // Find unit, and while no unit answers (noConnection) watches at most
    // once a second for a device that appears.
    void Tick(bool noConnection);

    // Com > Find unit: starts the search, or stops the one running.
    void FindUnit();
    bool Scanning() const { return scan != nullptr; }

    // Where the devices are looked for (tests give their own).
    void SetDiscovery(PortDiscovery::AdapterSource adapters, const std::string& byIdFolder);
    const PortDiscovery& Discovery() const { return *discovery; }
    // The device the adapter note offers; empty when no note shows.
    const QString& OfferedDevice() const { return offered; }
    const AdapterWatch& Watch() const { return watch; }

signals:
    // The port was opened (or tried): the unit behind it may be another.
    void Opened();

private:
    void ChooseComItem(QAction* sender);
    // The Com items' texts with what the system knows now.
    void DescribeComItems();
    // The device the chosen Com item or --port names.
    QString ChosenDevice() const;
    // Opens the device the choice names, with no box when it fails.
    bool OpenQuietly();
    void NoticeLoss();
    void ScanTick();
    void EndScan(bool stopped);
    // Makes `device` the port: its Com item when it has one, otherwise as
    // --port would for this run.
    void UseDevice(const QString& device);
    // Does what the adapter watch says at this tick.
    void WatchAdapters(bool noConnection);
    void ShowAdapterNote(const QString& device);
    void HideAdapterNote();
    void Retranslate();
    QString Text(Msg id) const;

    std::unique_ptr<PortDiscovery> discovery;
    std::unique_ptr<SerialLink> link;
    std::unique_ptr<PtyUnit> ptyUnit;
    std::unique_ptr<Links> links;
    // The device of --port or of the emulated unit; empty: the Com menu's.
    QString portOverride;
    std::array<QAction*, kComMenuItems> comItems{};
    QAction* deviceItem = nullptr;
    QAction* deviceSeparator = nullptr;
    QAction* findItem = nullptr;
    QLabel* label = nullptr;
    bool wasLost = false;

    std::unique_ptr<PortScan> scan;
    QLabel* scanLabel = nullptr;
    QShortcut* escape = nullptr;
    // The device the port was on before a search, opened again when none
    // answers.
    QString beforeScan;

    AdapterWatch watch;
    QWidget* note = nullptr;
    QLabel* noteLabel = nullptr;
    QPushButton* noteButton = nullptr;
    QPushButton* dismissButton = nullptr;
    QString offered;
};

} // namespace orna5
