#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>

class QWidget;

namespace orna5 {

// What a file dialog of the program asks for.
struct FileDialogRequest {
    QString name;  // object name, by which the tests find the dialog
    QString title; // empty: the toolkit's own
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    QStringList filters;
    QString defaultSuffix;
    QString selection; // the file (or folder) the dialog starts on
};

// Every file dialog of the program comes from here: the toolkit's own
// dialog, window-modal over `parent`, which closes whole, completion list
// and all, on Enter, on a double click and on Escape, and hands the keyboard
// back to the window. The caller shows it with open() and deletes it.
QFileDialog* MakeFileDialog(QWidget* parent, const FileDialogRequest& request);

// Asks for a file and waits for the answer; empty when the user cancelled.
QString ChooseFile(QWidget* parent, const FileDialogRequest& request);

} // namespace orna5
