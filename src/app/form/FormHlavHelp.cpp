// The Help menu: the user manual of the current language and the About
// window.

#include "app/form/FormAbout.h"
#include "app/form/FormHlav.h"
#include "lang/Messages.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace orna5 {

// The manual of the current language: from the working directory first, then
// from the documentation installed beside the program.
void TFormHlav::MenuContensClick() {
    const QString name = QString::fromStdString(TextIn(Msg::ManualFileName, languageIndex));
    const QStringList places = {
        QDir::current().filePath(name),
        QDir(QCoreApplication::applicationDirPath() + "/../share/doc/orna5").filePath(name),
    };
    for (const QString& place : places) {
        const QFileInfo file(place);
        if (!file.isFile())
            continue;
        if (QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath())))
            return;
        break;
    }
    ShowMessage(QString::fromStdString(TextIn(Msg::ManualOpenError, languageIndex)),
                "ManualOpenErrorBox");
}

void TFormHlav::MenuAboutClick() {
    FormAbout->ShowModal(languageIndex);
}

} // namespace orna5
