// The File commands: New, Open, Save and Exit, and the parameter files that
// come from the command line or are dropped on the window.

#include "app/FileDialog.h"
#include "app/HistoryKeeper.h"
#include "app/form/BusyGuard.h"
#include "app/form/FormHlav.h"
#include "device/DeviceSession.h"
#include "disk/WholeFile.h"
#include "files/BoundedFile.h"
#include "lang/Messages.h"
#include "params/BikePresets.h"
#include "params/NormaliseImage.h"

#include <QAbstractButton>
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

namespace orna5 {

namespace {

const char kParameterFilter[] = "Ignition Parametrs(*.ign)";
// "*" rather than "*.*": on this system many files have no extension.
const char kAllFilesFilter[] = "All Files (*)";

} // namespace

void TFormHlav::ConnectFileCommands() {
    BindCommand(MenuNew, SpeedButton6, &TFormHlav::MenuNewClick);
    BindCommand(MenuOpen, SpeedButton5, &TFormHlav::MenuOpenClick);
    BindCommand(MenuSave, SpeedButton7, &TFormHlav::MenuSaveClick);

    setAcceptDrops(true);
    // A file named on the command line opens once the window is up.
    if (!options.file.isEmpty())
        QTimer::singleShot(0, this, [this] { OpenFile(options.file); });
}

void TFormHlav::MenuNewClick() {
    if (writingControls != 0)
        return;
    QMessageBox* box = MakeMessageBox(
        QMessageBox::Question, QString::fromStdString(TextIn(Msg::ConfirmDefaults, languageIndex)),
        "ConfirmDefaultsBox", QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box->setDefaultButton(QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::Cancel);
    // Any answer but Yes, closing the box included, leaves everything as it
    // was.
    connect(box, &QMessageBox::finished, this, [this, box] {
        if (box->standardButton(box->clickedButton()) == QMessageBox::Yes)
            NewParameters();
    });
    box->show();
}

// The chosen model stays; everything else goes back to its defaults and
// preset.
void TFormHlav::NewParameters() {
    if (writingControls != 0)
        return;
    BusyGuard busy(writingControls);
    bikeChosenFromList = false;
    ApplyBikePreset(image, bikeChosenFromList);
    // The preset leaves the reserved bytes, but they are the defaults' now
    // rather than a unit's the window could vouch for.
    unitBytesInWindow = false;
    // An earlier operation's line goes first, so that a Program the change
    // itself starts keeps its line and gauge.
    HideOperationDisplay();
    ApplyParameterChange();
    LabelFile2->clear();
}

// The dialogs are made on first use: the file system model behind them is not
// needed before.
void TFormHlav::CreateFileDialogs() {
    if (OpenDialog1)
        return;
    OpenDialog1 = MakeFileDialog(this, {"OpenDialog1",
                                        {},
                                        QFileDialog::AcceptOpen,
                                        {kParameterFilter, kAllFilesFilter},
                                        "ign",
                                        {}});
    SaveDialog1 = MakeFileDialog(
        this, {"SaveDialog1", {}, QFileDialog::AcceptSave, {kParameterFilter}, "ign", {}});
    connect(OpenDialog1, &QDialog::finished, this, [this](int result) {
        const QStringList chosen = OpenDialog1->selectedFiles();
        if (result == QDialog::Accepted && !chosen.isEmpty())
            OpenFile(chosen.first());
        else
            HideOperationDisplay();
    });
    connect(SaveDialog1, &QDialog::finished, this, [this](int result) {
        const QStringList chosen = SaveDialog1->selectedFiles();
        if (result == QDialog::Accepted && !chosen.isEmpty())
            SaveFile(chosen.first());
    });
}

void TFormHlav::MenuOpenClick() {
    CreateFileDialogs();
    OpenDialog1->selectFile(lastFilePath);
    OpenDialog1->open();
}

void TFormHlav::MenuSaveClick() {
    CreateFileDialogs();
    SaveDialog1->selectNameFilter(kParameterFilter);
    SaveDialog1->selectFile(lastFilePath);
    SaveDialog1->open();
}

// A file that cannot be read, or is not a parameter file, changes nothing:
// the image, the controls, the file name and the undo history stay.
void TFormHlav::OpenFile(const QString& path) {
    if (writingControls != 0 || closed)
        return;
    BusyGuard busy(writingControls);
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    HideOperationDisplay(); // before a Program the opened file may start
    const LoadOutcome outcome = LoadParameterFile(QFile::encodeName(fullPath).toStdString(), image);
    if (outcome.status == LoadStatus::Loaded) {
        ApplyParameterChange();
        LabelFile2->setText(fullPath);
        lastFilePath = fullPath;
        history->FileOpened(fullPath);
    } else {
        ShowMessage(LoadFailureText(outcome, fullPath, languageIndex),
                    outcome.status == LoadStatus::UnmatchedVersion ? "UnmatchedFileVersionBox"
                                                                   : "OpenFileErrorBox");
    }
}

// The file is replaced only once the whole new text is written; a write that
// fails leaves the old file, the file name and lastFilePath as they were.
// Saving records no undo state and sends nothing to the unit.
void TFormHlav::SaveFile(const QString& path) {
    if (writingControls != 0 || closed)
        return;
    BusyGuard busy(writingControls);
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    TakeControls();
    QString reason;
    if (!SaveParameterFile(fullPath, image, &reason)) {
        ShowMessage(OpenFileErrorText(fullPath, reason, languageIndex), "OpenFileErrorBox");
        return;
    }
    LabelFile2->setText(fullPath);
    lastFilePath = fullPath;
    history->FileSaved(fullPath);
}

void TFormHlav::OpenImage(const ParameterImage& opened, bool unitBytes) {
    if (writingControls != 0 || closed)
        return;
    BusyGuard busy(writingControls);
    HideOperationDisplay(); // before a Program the opened image may start
    image = opened;
    // Set before a program after change may start, which reads it.
    unitBytesInWindow = unitBytes;
    ApplyParameterChange();
    LabelFile2->clear();
}

void TFormHlav::HideOperationDisplay() {
    session->Display().Hide();
    RenderOperationDisplay();
}

// The first local .ign file among the dropped ones, or nothing.
QString TFormHlav::DroppedParameterFile(const QEvent* event) {
    const QMimeData* data = nullptr;
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove)
        data = static_cast<const QDragMoveEvent*>(event)->mimeData();
    else if (event->type() == QEvent::Drop)
        data = static_cast<const QDropEvent*>(event)->mimeData();
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && url.toLocalFile().endsWith(".ign", Qt::CaseInsensitive))
            return url.toLocalFile();
    return {};
}

void TFormHlav::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedParameterFile(event).isEmpty())
        event->acceptProposedAction();
}

void TFormHlav::dropEvent(QDropEvent* event) {
    const QString path = DroppedParameterFile(event);
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened after the drop has ended, so that a message box does not come
    // up inside the drag.
    QTimer::singleShot(0, this, [this, path] { OpenFile(path); });
}

} // namespace orna5
