#include "app/FileDialog.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace orna5 {

namespace {

// The file-name field's completion list is a window of its own that holds
// the keyboard while it shows. Left to itself it outlives the dialog: Enter
// on it accepts the dialog, yet the list comes back up over the main window
// and keeps the keys, which then go to the hidden dialog. The list goes with
// the dialog, never shows without it, and Escape on it closes the dialog, as
// Escape anywhere else in it does.
class CompletionListGuard : public QObject {
public:
    explicit CompletionListGuard(QFileDialog* dialog)
        : QObject(dialog), dialog(dialog), dialogObject(dialog) {
        dialog->installEventFilter(this);
    }

protected:
    // The list and the dialog are compared and reached as plain objects:
    // their events keep coming while they are taken down, when they are no
    // longer the widgets they were.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == dialogObject) {
            if (event->type() == QEvent::Show)
                WatchList();
            else if (event->type() == QEvent::Hide)
                HandBack();
            return false;
        }
        if (watched != list.data())
            return false;
        if (event->type() == QEvent::Show && !dialog->isVisible()) {
            // Hidden once its showing is through; hiding it inside its own
            // show would leave the keyboard grabbed.
            QTimer::singleShot(0, list, [this] { HideList(); });
        } else if (event->type() == QEvent::KeyPress &&
                   static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            HideList();
            dialog->reject();
            return true;
        }
        return false;
    }

private:
    void HideList() {
        if (auto* widget = qobject_cast<QWidget*>(list.data()))
            widget->hide();
    }

    // The keys go back to the window the dialog came from.
    void HandBack() {
        HideList();
        auto* widget = qobject_cast<QWidget*>(dialogObject);
        if (QWidget* owner = widget ? widget->parentWidget() : nullptr)
            owner->window()->activateWindow();
    }

    void WatchList() {
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        QObject* current = name && name->completer() ? name->completer()->popup() : nullptr;
        if (current && current != list.data()) {
            list = current;
            list->installEventFilter(this);
        }
    }

    QFileDialog* dialog;
    QObject* dialogObject;
    QPointer<QObject> list;
};

} // namespace

QFileDialog* MakeFileDialog(QWidget* parent, const FileDialogRequest& request) {
    auto* dialog = new QFileDialog(parent, request.title);
    dialog->setObjectName(request.name);
    // The toolkit's own dialog: the same on every desktop, and one the
    // keyboard and the tests can drive.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(request.mode);
    dialog->setFileMode(request.mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                                : QFileDialog::AnyFile);
    dialog->setNameFilters(request.filters);
    dialog->setDefaultSuffix(request.defaultSuffix);
    if (QFileInfo(request.selection).isDir())
        dialog->setDirectory(request.selection);
    else if (!request.selection.isEmpty())
        dialog->selectFile(request.selection);
    dialog->setWindowModality(Qt::WindowModal);
    new CompletionListGuard(dialog);
    return dialog;
}

QString ChooseFile(QWidget* parent, const FileDialogRequest& request) {
    QFileDialog* dialog = MakeFileDialog(parent, request);
    const bool chosen = dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty();
    const QString path = chosen ? dialog->selectedFiles().first() : QString();
    delete dialog;
    return path;
}

} // namespace orna5
