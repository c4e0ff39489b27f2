#pragma once

#include "device/ColourRole.h"

#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class QWidget;

namespace orna5 {

class PortTable;
class ProfileFile;
class PtyUnit;
class SerialLink;

// The serial port the window talks through: the Com menu (twenty table
// entries, headed by the device given for this run), the port label in the
// status bar, the note when the port vanishes and the reopening when the
// user chooses it again, and the device of --port or of the emulated unit
// of --simulate.
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
    // Once per tick: tells the user once when the port has vanished.
    void NoticeLoss();

signals:
    // The port was opened (or tried): the unit behind it may be another.
    void Opened();

private:
    void ChooseComItem(QAction* sender);

    std::unique_ptr<PortTable> table;
    std::unique_ptr<SerialLink> link;
    std::unique_ptr<PtyUnit> ptyUnit;
    std::unique_ptr<Links> links;
    // The device of --port or of the emulated unit; empty: the Com menu's.
    QString portOverride;
    std::array<QAction*, kComMenuItems> comItems{};
    QAction* deviceItem = nullptr;
    QAction* deviceSeparator = nullptr;
    QLabel* label = nullptr;
    bool wasLost = false;
};

} // namespace orna5
