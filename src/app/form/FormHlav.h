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
#include <vector>

class QAbstractButton;
class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDragEnterEvent;
class QDropEvent;
class QFileDialog;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPainter;
class QPrinter;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTimer;
class QToolButton;

namespace orna5 {

class DataLogRecorder;
class RideRecorder;
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
struct ControlTextRow;
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
//
// Every control carries its given name, by which tests and views find it;
// the form's own code reaches a control through the member of that name, so
// the compiler checks every use.
class TFormHlav : public QMainWindow, public DocumentHost {
    Q_OBJECT
public:
    static constexpr int kDesignWidth = 962;
    static constexpr int kDesignHeight = 785;
    static constexpr int kTimerInterval = 55;

    explicit TFormHlav(StartOptions options = {}, QWidget* parent = nullptr);
    ~TFormHlav() override;

    // The folder of the settings, the snapshot and the test marker
    // (FormHlavSettings.cpp).
    static QString ConfigDirectory();

    const ParameterImage& Image() const override { return image; }
    std::uint8_t LanguageIndex() const { return languageIndex; }
    std::uint8_t ComPortIndex() const { return comPortIndex; }
    bool TestMode() const { return testMode; }
    const UndoHistory& Undo() const { return undoHistory; }
    DeviceSession& Session() override { return *session; }
    const DeviceSession& Session() const override { return *session; }

    // How many pages a print put into the printer's queue or the file, and
    // whether every page it was to print got there.
    struct PrintOutcome {
        int pagesAccepted = 0;
        bool allAccepted = false;
    };
    // Prints the page that shows, or all four pages in page order, into
    // printer: one print job per page on a printer, one sheet per page in a
    // PDF file. A job counts once the print system has taken it; the
    // date-and-time line stays in the status label only when a page was
    // taken. The page that showed shows again and the window is back in its
    // normal appearance afterwards, also when the printer fails.
    // (FormHlavPrinting.cpp)
    PrintOutcome PrintPages(QPrinter& printer, bool allPages);

    // The program is asked to end from outside (a signal, the desktop's
    // session ending): the window closes as File > Exit closes it, once a
    // Read, Program or Verify under way has finished (FormHlavLifecycle.cpp).
    void EndWhenIdle();
    // The desktop's session is ending: what File > Exit keeps is kept now,
    // the settings and the parameter snapshot, and the window goes on.
    void KeepForSessionEnd();

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

    // The objects beside the form, each in its own files in src/app: what
    // the views see of the form, the views open now, the data-log recorder,
    // the serial port and the keeper of restore points.
    Document& Doc() const { return *document; }
    ViewManager& Views() const { return *views; }
    DataLogRecorder& DataLog() const { return *recorder; }
    PortControl& Port() const { return *port; }
    HistoryKeeper& History() const { return *history; }
    RideRecorder& Rides() const { return *rides; }

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

    // Layout (FormHlavLayout.cpp). Every control is made with its name;
    // the ones the form's code addresses are kept in the members below.
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
    // Names a control for the text table; a name given twice stops the
    // program.
    void NameForTexts(const QString& name, QObject* control);
    template <class T> T* Add(T* control, const QString& name) {
        control->setObjectName(name);
        NameForTexts(name, control);
        return control;
    }
    QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text);
    // The "All" box and the minus and plus buttons of a step command,
    // ending a row.
    void EndStepRow(QHBoxLayout* row, QCheckBox* all, QPushButton* minus, QPushButton* plus);
    MouseCheckBox* MakeCheckBox(QWidget* parent, const QString& name, const QString& text);
    SpinEdit MakeSpin(QWidget* parent, const QString& suffix, int minimum, int maximum,
                      int increment = 1, int editWidth = 0);
    // A spin of a scaled field, its range and step from the field table.
    SpinEdit ScaledSpin(QWidget* parent, const QString& suffix, const FieldScale& scale);
    QAction* MakeAction(QMenu* menu, const QString& name, const QString& text,
                        const QKeySequence& shortcut = {});

    // Captions, hints, list entries and message texts of languageIndex; the
    // text table's rows are bound to their controls once, when all are made
    // (FormHlavLanguage.cpp).
    void BindControlTexts();
    void ApplyLanguage();
    // A hint's short part as tooltip, its long part as status tip.
    void SetHint(QObject* control, const QString& hint);

    // Names for screen readers (FormHlavAccess.cpp), in the language shown:
    // an edit after its caption and its arrows "Increase ..." and
    // "Decrease ...", a picture button after its command. Bound when the
    // controls are made, applied with every language.
    void NameForReaders(QWidget* control, std::function<QString()> name);
    void NameSpinForReaders(const SpinEdit& spin, std::function<QString()> name);
    void ApplyReaderNames();
    // The map's cells after their rpm and throttle, the rpm axis as the
    // image holds it now: with every language and every image shown.
    void NameMapForReaders();
    // Tab goes through each page as it reads.
    void SetReadingOrder();

    // Control binding (FormHlavBinding.cpp).
    void CopyControlsToImage();
    void CopyImageToControls();
    // Normalise, show twice, record an undo state, program after change.
    void ApplyParameterChange();
    bool RecordUndoState();
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

    // The settings, where they live and the test marker
    // (FormHlavSettings.cpp).
    QString SettingsPath() const;
    QString SnapshotPath() const;
    QString TestMarkerPath() const;
    void LoadSettings();
    void SaveSettings();
    void CheckTestMarker();

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
    void BindCommand(QAction* action, QAbstractButton* button, void (TFormHlav::*handler)());

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
    void MenuPrintDialogClick();
    void MenuExportPdfClick();
    void PrintOnDefaultPrinter(bool allPages);
    // The four pages' indexes in page order.
    QList<int> PageOrder() const;
    // Prints these pages, each as the only tab; none: the page that shows as
    // it is.
    PrintOutcome PrintPageList(QPrinter& printer, const QList<int>& pages);
    // Prints on a printer or into the file the print dialog chose, and says
    // where how many pages went, or that a page did not.
    void PrintAndTell(QPrinter& printer, const QList<int>& pages);
    void ExportPdf(bool allPages);
    void PreparePrinting();
    void EndPrinting();
    void DrawClientArea(QPainter& painter);

    // Which controls are shown and enabled, from the controls and the image
    // (FormHlavFormState.cpp).
    void UpdateFormState();
    // Sets the print appearance (white, the controls for editing hidden) on
    // or off.
    void SetPrintingInProgress(bool printing);
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
    // Asked to end while an operation ran: the window closes when it ends.
    bool endWhenIdle = false;
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
    RideRecorder* rides = nullptr;

    // The text table's rows and the controls they are for, bound once the
    // controls are made; the names are needed only until then.
    struct BoundText {
        const ControlTextRow* row;
        QObject* control;
    };
    std::vector<BoundText> boundTexts;
    // A control and its name for screen readers; the arrows beside an edit
    // take the edit's name.
    struct ReaderName {
        QWidget* control;
        UpDown* arrows;
        std::function<QString()> name;
    };
    std::vector<ReaderName> readerNames;
    // What the map's names were last made from: the rpm axis, whether the
    // throttle rows are used, and the language. The controls are shown
    // several times per edit; the 300 names are made again only when these
    // change.
    std::vector<int> mapNamesFrom;
    QHash<QString, QObject*> namesForTexts;
    // The menus' commands, whose shortcuts come before an edit's own keys.
    QList<QAction*> menuCommands;
    // The colour each live-coloured control shows now.
    QHash<QWidget*, ColourRole> paintedRoles;

    // The controls the form's code addresses, each under the name it has in
    // the window; repeated controls in arrays. Made in FormHlavLayout.cpp.

    // The window, the menus and their commands.
    QTabWidget* PageControl1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QTimer* Timer1 = nullptr;
    QMenu* MenuFile = nullptr;
    QMenu* MenuCom = nullptr;
    QMenu* MenuTools = nullptr;
    QMenu* MenuView = nullptr;
    QAction* MenuNew = nullptr;
    QAction* MenuOpen = nullptr;
    QAction* MenuSave = nullptr;
    QAction* MenuPrint = nullptr;
    QAction* MenuPrintAll = nullptr;
    QAction* MenuPrintDialog = nullptr;
    QAction* MenuExportPdf = nullptr;
    QAction* MenuExit = nullptr;
    QAction* MenuRead = nullptr;
    QAction* MenuVerify = nullptr;
    QAction* MenuProgram = nullptr;
    QAction* AdvanceMinus = nullptr;
    QAction* AdvancePlus = nullptr;
    QAction* MenuZpet = nullptr;
    QAction* MenuZnovu = nullptr;
    QAction* MenuKeepRestorePoint = nullptr;
    QAction* MenuRecordRides = nullptr;
    QAction* MenuRides = nullptr;
    QAction* MenuMapTable = nullptr;
    QAction* MenuContens = nullptr;
    QAction* MenuAbout = nullptr;
    // MenuEnglish, MenuGerman, MenuFrench, MenuCzech.
    std::array<QAction*, 4> languageActions{};

    // The tool bar.
    QGroupBox* GroupBoxToolBar = nullptr;
    QToolButton* SpeedButton5 = nullptr;
    QToolButton* SpeedButton6 = nullptr;
    QToolButton* SpeedButton7 = nullptr;
    QToolButton* SpeedButtonPrint = nullptr;
    QToolButton* SpeedButtonZpet = nullptr;
    QToolButton* SpeedButtonZnovu = nullptr;
    QPushButton* BitBtnProgram = nullptr;
    QPushButton* BitBtnVerify = nullptr;
    QPushButton* ButtonRead = nullptr;

    // The Miscellaneous page: limits, clutch master, throttle calibration,
    // the inputs.
    QWidget* TabSheetRuzne = nullptr;
    UpDown* UpDownOmez2 = nullptr;
    UpDown* UpDownPilotLight = nullptr;
    UpDown* UpDownPocSynchro = nullptr;
    QLabel* LabelClutchTime = nullptr;
    QLineEdit* EditClutchTime = nullptr;
    UpDown* UpDownClutchTime = nullptr;
    QLabel* LabelClutchPause = nullptr;
    QLineEdit* EditClutchPause = nullptr;
    UpDown* UpDownClutchPause = nullptr;
    MouseCheckBox* CheckBoxBuzDlouhe = nullptr;
    QLabel* LabelKompenz = nullptr;
    // EditKompenz1..4 and UpDownKompenz1..4.
    std::array<QLineEdit*, 4> CompensationEdits{};
    std::array<UpDown*, 4> CompensationUpDowns{};
    UpDown* UpDownTps0 = nullptr;
    UpDown* UpDownTps100 = nullptr;
    QPushButton* BitBtnTps0 = nullptr;
    QPushButton* BitBtnTps100 = nullptr;
    MouseCheckBox* CheckBoxInNeutralSs = nullptr;
    QGroupBox* RadioGroupInput1 = nullptr;
    QGroupBox* RadioGroupInput2 = nullptr;
    QButtonGroup* input1Buttons = nullptr;
    QButtonGroup* input2Buttons = nullptr;
    QLabel* LabelMonInput1In = nullptr;
    QLabel* LabelMonInput2In = nullptr;

    // The Bike page: the model, the synchronisation set-up, the tachometer
    // output, what the unit and the file say about themselves.
    QWidget* TabSheetBike = nullptr;
    QComboBox* ComboBoxBike = nullptr;
    QGroupBox* GroupBoxSpecial = nullptr;
    QLabel* LabelSynchro = nullptr;
    QComboBox* ComboBoxSynchro = nullptr;
    QLabel* LabelPocPalcu = nullptr;
    QLineEdit* EditPocPalcu = nullptr;
    UpDown* UpDownPocPalcu = nullptr;
    QLabel* LabelPocKanalu = nullptr;
    QLineEdit* EditPocKanalu = nullptr;
    UpDown* UpDownPocKanalu = nullptr;
    QLabel* LabelLobe = nullptr;
    QLabel* LabelHrana2 = nullptr;
    QLabel* LabelSnimac2 = nullptr;
    QList<QGridLayout*> channelGrids;
    // GroupBoxPalec1..4.
    std::array<QGroupBox*, 4> ChannelGroupBoxes{};
    // LabelPalec1Zac..LabelPalec4Zac, then LabelPalec1End..LabelPalec4End;
    // the edits and up-downs beside them in the same order.
    std::array<QLabel*, 8> LobeLabels{};
    std::array<QLineEdit*, 8> LobeEdits{};
    std::array<UpDown*, 8> LobeUpDowns{};
    // The 2nd-edge boxes (Zac, then End), then the 2nd-pick-up boxes.
    std::array<MouseCheckBox*, 16> LobeCheckBoxes{};
    QComboBox* ComboBoxNasobekPalcu = nullptr;
    UpDown* UpDownRpmPulsu = nullptr;
    UpDown* UpDownRpmKorekce = nullptr;
    MouseCheckBox* CheckBoxInvInput1 = nullptr;
    MouseCheckBox* CheckBoxInvInput2 = nullptr;
    // LabelVerze1..3.
    std::array<QLabel*, 3> VersionLabels{};
    QLabel* LabelPocetProgramovani = nullptr;
    QLabel* LabelFile2 = nullptr;

    // The Advance Map page.
    QWidget* TabSheetAdvance = nullptr;
    QWidget* mapGrid = nullptr;
    // LabelTps1..10, the map's rows, and its rpm axis (EditRpmAdv1..10).
    std::array<QLabel*, 10> TpsRowLabels{};
    std::array<QLineEdit*, 10> MapRpmEdits{};
    std::array<UpDown*, 10> MapRpmUpDowns{};
    // Edit50..Edit149, row by row.
    std::array<QLineEdit*, 100> MapEdits{};
    std::array<UpDown*, 100> MapUpDowns{};
    // CSpinButton1..10.
    std::array<SpinButton*, 10> ColumnSpinButtons{};
    UpDown* UpDownBaseAdv = nullptr;
    MouseCheckBox* CheckBoxTpsMapa = nullptr;
    QCheckBox* CheckBoxIgnAll = nullptr;
    QPushButton* BitBtnAdvMinus = nullptr;
    QPushButton* BitBtnAdvPlus = nullptr;

    // The Servo page.
    QWidget* TabSheetServo = nullptr;
    MouseCheckBox* CheckBoxPrivEnable = nullptr;
    QGroupBox* GroupBoxPrivera = nullptr;
    // EditRpmPriv1..10 and EditNapPriv1..10.
    std::array<QLineEdit*, 10> ServoRpmEdits{};
    std::array<UpDown*, 10> ServoRpmUpDowns{};
    std::array<QLineEdit*, 10> ServoMvEdits{};
    std::array<UpDown*, 10> ServoMvUpDowns{};
    UpDown* UpDownPrivHyster = nullptr;
    QCheckBox* CheckBoxServoAll = nullptr;
    QPushButton* BitBtnServoMinus = nullptr;
    QPushButton* BitBtnServoPlus = nullptr;
    QPushButton* BitBtnServoRpm = nullptr;

    // The live panel beside the pages and the operation display under it.
    QLabel* LabelSpojeni = nullptr;
    QLabel* LabelRpm = nullptr;
    QProgressBar* CGaugeRpm = nullptr;
    QLabel* LabelTpsMon = nullptr;
    QProgressBar* CGaugeTps = nullptr;
    QLabel* LabelNapeti = nullptr;
    // LabelAdvance1..4.
    std::array<QLabel*, 4> ChannelAdvanceLabels{};
    QLabel* LabelMonSnimac1 = nullptr;
    QLabel* LabelMonSnimac2 = nullptr;
    QLabel* LabelMonPilotLight = nullptr;
    QLabel* LabelClutchMon = nullptr;
    QLabel* LabelKillSwitch = nullptr;
    QLabel* LabelBlocking1 = nullptr;
    QLabel* LabelPriveraPoz = nullptr;
    QLabel* LabelPriveraMer = nullptr;
    QLabel* LabelHlaseni = nullptr;
    QProgressBar* CGaugeProgram = nullptr;
    QPushButton* ButtonWhatDiffers = nullptr;
    QLabel* LabelEeDataErr = nullptr;
    QLabel* LabelVersion = nullptr;
    // LabelTest1..8.
    std::array<QLabel*, 8> TestLabels{};
    MouseCheckBox* CheckBoxProgHned = nullptr;

    // Every parameter edit, up-down and check box, for the shared handlers.
    QList<QLineEdit*> parameterEdits;
    QList<UpDown*> parameterUpDowns;
    QList<MouseCheckBox*> parameterCheckBoxes;
    QHash<QLineEdit*, UpDown*> upDownOfEdit;
};

} // namespace orna5
