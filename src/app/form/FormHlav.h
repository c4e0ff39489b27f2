#pragma once

#include "app/DocumentHost.h"
#include "device/ColourRole.h"
#include "edit/UndoHistory.h"
#include "files/MonitorLog.h"
#include "files/ProfileFile.h"
#include "params/FieldTable.h"
#include "params/LivePosition.h"
#include "params/ParameterImage.h"

#include <QHash>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QRect>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QFileDialog;
class QButtonGroup;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPainter;
class QPrinter;
class QTabWidget;
class QTimer;

namespace orna5 {

class DataLogRecorder;
class LiveRateControl;
class DeviceSession;
class Document;
class HistoryKeeper;
class MouseCheckBox;
class PortControl;
class SpinButton;
class TFormAbout;
class UpDown;
class ViewManager;
struct LiveLabel;
struct OperationOutcome;
enum class ViewText;

// How the program was started.
struct StartOptions {
    // The command-line arguments after the program name; the first one may
    // name the start language ("ENGLISH", "DEUTSCH", "FRANCE", "CESKY").
    QStringList arguments;
    // A device to use instead of the Com menu's for this run (--port).
    QString port;
    // Run on an emulated unit on a pseudo-terminal (--simulate).
    bool simulate = false;
    // A parameter file to open once the window is up, as File > Open would.
    QString file;
};

// The main window. It owns the parameter image (the master copy of every
// value), the controls that show it, the undo ring, the settings and the
// session with the unit. Every edit in a control is copied into the image,
// normalised there and shown again, so the controls never hold a value of
// their own for longer than one event.
//
// The class is split into files by concern: layout, control binding, form
// state, lifecycle (start-up, shutdown, menus, the tick) and settings.
class TFormHlav : public QMainWindow, public DocumentHost {
    Q_OBJECT
public:
    static constexpr int kDesignWidth = 962;
    static constexpr int kDesignHeight = 785;
    static constexpr int kTimerInterval = 55;

    explicit TFormHlav(StartOptions options = {}, QWidget* parent = nullptr);
    ~TFormHlav() override;

    // Where the settings, the snapshot and the test marker live
    // (FormHlavSettings.cpp).
    static QString ConfigDirectory();
    QString SettingsPath() const;
    QString SnapshotPath() const;
    QString TestMarkerPath() const;

    const ParameterImage& Image() const override { return image; }
    std::uint8_t LanguageIndex() const { return languageIndex; }
    std::uint8_t ComPortIndex() const { return comPortIndex; }
    bool TestMode() const { return testMode; }
    const UndoHistory& Undo() const { return undoHistory; }
    DeviceSession& Session() override { return *session; }
    const DeviceSession& Session() const override { return *session; }

    // Sets the print appearance (white, the controls for editing hidden) on
    // or off (FormHlavFormState.cpp).
    void SetPrintingInProgress(bool printing);

    // Prints the page that shows, or all four pages in page order, into
    // printer: one print job per page on a printer, one sheet per page in a
    // PDF file. The page that showed shows again and the window is back in
    // its normal appearance afterwards, also when the printer fails (false).
    // (FormHlavPrinting.cpp)
    bool PrintPages(QPrinter& printer, bool allPages);

    // Control binding (FormHlavBinding.cpp).
    void BuildControlArrays();
    void CopyControlsToImage();
    void CopyImageToControls();
    // Normalise, show twice, record an undo state, program after change.
    void ApplyParameterChange();
    bool RecordUndoState();
    // One command's change of the image, from the form's step buttons or a
    // view: the controls into the image, the change, ApplyParameterChange.
    // Ignored while the window writes its controls.
    void ChangeImage(const std::function<void(ParameterImage&)>& change) override;
    // An image taken as File > Open takes a file, the file label emptied;
    // `unitBytes`: its reserved bytes are a unit's (FormHlavFiles.cpp).
    void OpenImage(const ParameterImage& opened, bool unitBytes = false) override;
    // A restore point programmed back into the unit and verified; the form
    // says how it ended (FormHlavDevice.cpp).
    void RestoreToUnit(const ParameterImage& point,
                       std::function<QString(int language)> name) override;
    // The image's reserved bytes are a unit's (Document::WindowHoldsUnitBytes).
    bool UnitBytesInWindow() const override { return unitBytesInWindow; }

    // The rest of what the document stands on (FormHlavViews.cpp).
    int Language() const override { return languageIndex; }
    bool CanUndoEdit() const override;
    bool CanRedoEdit() const override;
    void UndoEdit() override;
    void RedoEdit() override;
    QWidget* ViewParent() override { return this; }
    QStatusBar* StatusBar() override;
    QWidget* MapControl(std::size_t offset) override;

    // Which controls are shown and enabled, from the controls and the image
    // (FormHlavFormState.cpp).
    void UpdateFormState();

    // Captions, hints, list entries and message texts of languageIndex
    // (FormHlavLanguage.cpp).
    void ApplyLanguage();

    // The settings (FormHlavSettings.cpp).
    void LoadSettings();
    void SaveSettings();
    void CheckTestMarker();

    // The objects beside the form, each in its own files in src/app: what
    // the views see of the form, the views open now, the data-log recorder,
    // the serial port and the keeper of restore points.
    Document& Doc() const { return *document; }
    ViewManager& Views() const { return *views; }
    DataLogRecorder& DataLog() const { return *recorder; }
    PortControl& Port() const { return *port; }
    HistoryKeeper& History() const { return *history; }

signals:
    // The controls were rewritten from the image: after an edit, undo or
    // redo, a file opened, a Read. Views that draw the image follow it here.
    void ImageShown();
    // One 55 ms tick of the device link has run; monitorFrame tells whether
    // a live-data frame was accepted in it.
    void TickDone(bool monitorFrame);
    // A live-data frame was accepted: in a tick, or between ticks at the
    // Fast rate (before that tick's TickDone).
    void FrameAccepted();
    // A picture of the window went to the printer, showing this tab page.
    void PagePrinted(const QString& page);

protected:
    // closeEvent in FormHlavLifecycle.cpp, eventFilter in
    // FormHlavBinding.cpp, the drop in FormHlavFiles.cpp.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Spin edit: an edit and its up-down, created as a pair.
    struct SpinEdit {
        QLineEdit* edit = nullptr;
        UpDown* upDown = nullptr;
    };

    // Layout (FormHlavLayout.cpp).
    void CreateControls();
    void CreateMenus();
    QWidget* CreateToolBar();
    QWidget* CreatePageRuzne();
    QWidget* CreatePageBike();
    QWidget* CreatePageAdvance();
    QWidget* CreatePageServo();
    QWidget* CreateMonitorArea();
    QWidget* CreateMapGrid(QWidget* parent);
    void PlaceMapRow9();
    void AlignChannelColumns();
    template <class T> T* Add(T* widget, const QString& name);
    QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text);
    void AddAllMinusPlus(QWidget* parent, QHBoxLayout* row, const QString& allName,
                         const QString& minusName, const QString& plusName);
    MouseCheckBox* MakeCheckBox(QWidget* parent, const QString& name, const QString& text);
    SpinEdit MakeSpin(QWidget* parent, const QString& suffix, int minimum, int maximum,
                      int increment = 1, int editWidth = 0);
    // A spin of a scaled field, its range and step from the field table.
    SpinEdit ScaledSpin(QWidget* parent, const QString& suffix, const FieldScale& scale);
    QAction* MakeAction(QMenu* menu, const QString& name, const QString& text,
                        const QKeySequence& shortcut = {});

    // Named controls, for the routines that address single controls
    // (Control below, Widget and Spin in FormHlavLifecycle.cpp).
    template <class T> T* Control(const QString& name) const;
    QWidget* Widget(const QString& name) const;
    UpDown* Spin(const QString& name) const;
    // A hint's short part as tooltip, its long part as status tip
    // (FormHlavLanguage.cpp).
    void SetHint(QObject* control, const QString& hint);

    // Binding helpers (FormHlavBinding.cpp).
    void ConnectEditing();
    void SetSpin(UpDown* upDown, int position);
    void ProgramAfterChangeDecision(bool changed);
    void UpdateUndoEnabling();
    void RestoreUndoState(const UndoState* state);

    // Event handlers of the parameter controls and undo (FormHlavBinding.cpp).
    void UpDownClick(UpDown* sender, bool up);
    void EditExit();
    bool FormKeyPress(QLineEdit* edit, QKeyEvent* event);
    void CheckBoxMouseUp(MouseCheckBox* sender);
    void ComboBoxBikeChange();
    void RadioGroupInput1Click(int index);
    void RadioGroupInput2Click(int index);
    void RadioGroupInputClick(std::size_t offset, int index);
    void SpeedButtonZpetClick();
    void SpeedButtonZnovuClick();

    // Lifecycle: start-up, shutdown, the language menu, the tick and the
    // message boxes (FormHlavLifecycle.cpp).
    void MenuLanguageClick(int language);
    void Timer1Timer();
    void LinkDataArrived();
    void AcceptFrame();
    void FormCreate();
    void FormClose();
    void CentreWindow();
    void KeepWindowOnScreen();
    void RenderOperationDisplay();
    void ShowMessage(const QString& text, const QString& name);
    // A message box titled with the window's caption, modal but not holding
    // up the caller; it deletes itself when closed.
    QMessageBox* MakeMessageBox(QMessageBox::Icon icon, const QString& text, const QString& name,
                                QMessageBox::StandardButtons buttons);

    // The unit's commands and the port control's place in the form
    // (FormHlavDevice.cpp).
    void ConnectDeviceCommands();
    void MenuReadClick();
    void MenuVerifyClick();
    void MenuProgramClick();
    // Copies the controls into the image, normalises it and shows it: what
    // Program, Verify and Save take first.
    void TakeControls();
    // What the form does when an operation has ended: the question after a
    // Program that could not keep its restore point, the end of a restore.
    void OperationEnded(const OperationOutcome& ended);
    void AskProgramAnyway();
    // A restore under way is over: said in a box and the status bar. A
    // failure names the step that failed; without one the Program passed.
    void EndRestore(std::optional<ViewText> failedStep);
    // Any other start replaces the restore's Program.
    void AbandonRestore();
    // A menu command and its tool-bar button run one handler; no action for
    // a command that has only a button.
    void BindCommand(const char* action, const char* button, void (TFormHlav::*handler)());

    // The live panel and the live marks (FormHlavLivePanel.cpp).
    void RenderLivePanel();
    void MarkLiveControls();
    void ShowLiveLabel(QLabel* label, const LiveLabel& live);
    void PaintRole(QWidget* widget, ColourRole role);

    // The View menu, File > Compare with... and the restore points
    // (FormHlavViews.cpp).
    void CreateViews();
    QString LogFolder() const;
    // File commands (FormHlavFiles.cpp).
    void ConnectFileCommands();
    void CreateFileDialogs();
    void MenuNewClick();
    void NewParameters();
    void MenuOpenClick();
    void MenuSaveClick();
    void OpenFile(const QString& path);
    void SaveFile(const QString& path);
    void HideOperationDisplay();
    static QString DroppedParameterFile(const QEvent* event);

    // The map, servo and throttle step commands (FormHlavTools.cpp).
    void ConnectToolCommands();
    LivePosition CurrentLive() const;
    void BitBtnAdvMinusClick();
    void BitBtnAdvPlusClick();
    void CSpinButtonClick(int column, bool up);
    void BitBtnServoMinusClick();
    void BitBtnServoPlusClick();
    void BitBtnTps0Click();
    void BitBtnTps100Click();

    // Help (FormHlavHelp.cpp).
    void MenuContensClick();
    void MenuAboutClick();

    // Printing (FormHlavPrinting.cpp).
    void ConnectPrinting();
    void SpeedButtonPrintClick();
    void MenuPrintAllClick();
    void MenuExportPdfClick();
    void PrintOnDefaultPrinter(bool allPages);
    void ExportPdf(bool allPages);
    void PreparePrinting();
    void EndPrinting();
    void DrawClientArea(QPainter& painter);

    // Form state helpers (FormHlavFormState.cpp).
    void SetShown(const QString& name, bool shown);
    void SetEnabled(const QString& name, bool enabled);
    void SetBackground(QWidget* widget, const QColor& colour);

    StartOptions options;
    ParameterImage image{};
    std::uint8_t languageIndex = 0;
    std::uint8_t comPortIndex = 1;
    bool testMode = false;
    bool printingInProgress = false;
    bool bikeChosenFromList = false;
    bool programAfterChangeWasOn = false;
    // Set while the routines write the controls, so that the list and radio
    // signals fired by those writes are not taken for user edits.
    int writingControls = 0;
    bool closed = false;
    QString lastFilePath;
    bool unitBytesInWindow = false;
    // A restore point on its way into the unit: its name in a language, and
    // whether the user is being asked to program it without a restore point.
    struct PendingRestore {
        std::function<QString(int language)> name;
        bool asking = false;
    };
    std::optional<PendingRestore> restoring;

    ProfileFile settingsFile;
    UndoHistory undoHistory;
    std::unique_ptr<DeviceSession> session;
    TFormAbout* FormAbout = nullptr;
    QFileDialog* OpenDialog1 = nullptr;
    QFileDialog* SaveDialog1 = nullptr;

    Document* document = nullptr;
    ViewManager* views = nullptr;
    DataLogRecorder* recorder = nullptr;
    LiveRateControl* liveRate = nullptr;
    // A frame came between ticks: the next tick renders the live panel.
    bool frameSinceTick = false;
    bool panelDue = false;
    std::uint8_t ticksSincePanel = 0;
    PortControl* port = nullptr;
    HistoryKeeper* history = nullptr;

    QHash<QString, QWidget*> controls;
    QTabWidget* PageControl1 = nullptr;
    QTimer* Timer1 = nullptr;
    QMenu* MenuCom = nullptr;
    QMenu* MenuView = nullptr;
    QWidget* mapGrid = nullptr;
    QList<QGridLayout*> channelGrids;
    QButtonGroup* input1Buttons = nullptr;
    QButtonGroup* input2Buttons = nullptr;
    QHash<QString, QAction*> actions;
    // The colour each live-coloured control shows now.
    QHash<QWidget*, ColourRole> paintedRoles;
    std::array<QAction*, 4> languageActions{};

    // The control arrays: index access to repeated controls.
    std::array<MouseCheckBox*, 16> LobeCheckBoxes{};
    std::array<QLabel*, 4> ChannelAdvanceLabels{};
    std::array<QLabel*, 10> TpsRowLabels{};
    std::array<QLineEdit*, 8> LobeEdits{};
    std::array<QLineEdit*, 10> MapRpmEdits{};
    std::array<QLineEdit*, 100> MapEdits{};
    std::array<QLineEdit*, 10> ServoRpmEdits{};
    std::array<QLineEdit*, 10> ServoMvEdits{};
    std::array<UpDown*, 8> LobeUpDowns{};
    std::array<UpDown*, 10> MapRpmUpDowns{};
    std::array<UpDown*, 100> MapUpDowns{};
    std::array<UpDown*, 10> ServoRpmUpDowns{};
    std::array<UpDown*, 10> ServoMvUpDowns{};
    // Every parameter edit and up-down, for the shared handlers.
    QList<QLineEdit*> parameterEdits;
    QList<UpDown*> parameterUpDowns;
    QList<MouseCheckBox*> parameterCheckBoxes;
    QHash<QLineEdit*, UpDown*> upDownOfEdit;
};

template <class T> T* TFormHlav::Control(const QString& name) const {
    T* control = qobject_cast<T*>(controls.value(name));
    if (!control)
        qFatal("orna5: no control %s of the expected kind", qPrintable(name));
    return control;
}

} // namespace orna5
