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
    explicit CompletionListGuard(QFileDialog* dialog) : QObject(dialog), dialog(dialog) {
        dialog->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == dialog) {
            if (event->type() == QEvent::Show)
                WatchList();
            else if (event->type() == QEvent::Hide)
                HandBack();
            return false;
        }
        if (watched != list)
            return false;
        if (event->type() == QEvent::Show && !dialog->isVisible()) {
            // Hidden once its showing is through; hiding it inside its own
            // show would leave the keyboard grabbed.
            QTimer::singleShot(0, list, [list = list] {
                if (list)
                    list->hide();
            });
        } else if (event->type() == QEvent::KeyPress &&
                   static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            list->hide();
            dialog->reject();
            return true;
        }
        return false;
    }

private:
    // The keys go back to the window the dialog came from.
    void HandBack() {
        if (list)
            list->hide();
        if (QWidget* owner = dialog->parentWidget())
            owner->window()->activateWindow();
    }

    void WatchList() {
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        QAbstractItemView* current =
            name && name->completer() ? name->completer()->popup() : nullptr;
        if (current && current != list) {
            list = current;
            list->installEventFilter(this);
        }
    }

    QFileDialog* dialog;
    QPointer<QAbstractItemView> list;
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
