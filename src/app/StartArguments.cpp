#include "app/StartArguments.h"

#include "lang/LanguageArgument.h"

#include <QCommandLineParser>

namespace orna5 {

StartArguments ParseStartArguments(const QStringList& arguments) {
    StartArguments out;
    out.options.arguments = arguments;
    // "--port --simulate" is a forgotten device, not a device named
    // "--simulate"; the parser alone would take the next word whatever it is.
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        if ((word == "--port" || word == "--screenshot") &&
            (i + 1 >= arguments.size() || arguments[i + 1].startsWith("--"))) {
            out.error = QString("orna5: %1 needs a value").arg(word);
            return out;
        }
    }
    QCommandLineParser parser;
    parser.addOption({"port", {}, "DEVICE"});
    parser.addOption({"screenshot", {}, "DIR"});
    parser.addOption({"simulate", {}});
    if (!parser.parse(QStringList{"orna5"} + arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        out.error = unknown.isEmpty() ? "orna5: " + parser.errorText()
                                      : QString("orna5: unknown option %1%2")
                                            .arg(unknown.first().size() > 1 ? "--" : "-")
                                            .arg(unknown.first());
        out.usage = true;
        return out;
    }
    out.options.simulate = parser.isSet("simulate");
    out.options.port = parser.value("port");
    out.screenshotFolder = parser.value("screenshot");
    QStringList files = parser.positionalArguments();
    // The start language; the window takes it from the first argument.
    if (!files.isEmpty() && !arguments.isEmpty() && arguments.first() == files.first() &&
        LanguageFromArgument(files.first().toStdString()) >= 0)
        files.removeFirst();
    if (!files.isEmpty())
        out.options.file = files.takeFirst();
    out.ignoredFiles = files;
    return out;
}

} // namespace orna5
