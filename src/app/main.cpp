// orna5: programs the ORNA-5 ignition unit.
//
//   orna5 [LANGUAGE] [--port DEVICE] [--simulate] [--screenshot DIR]
//
// LANGUAGE, when it is the first argument: ENGLISH, DEUTSCH, FRANCE or CESKY.

#include "app/FormHlav.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>
#include <exception>

namespace {

// Long enough for the emulated engine to rev into the map, so the pictures
// show live values and a lit map cell.
constexpr int kScreenshotDelayMs = 5000;

void PrintUsage() {
    std::puts("usage: orna5 [ENGLISH|DEUTSCH|FRANCE|CESKY] [--port DEVICE] [--simulate]\n"
              "             [--screenshot DIR]\n"
              "  --port DEVICE     use DEVICE (a path, ttyUSB0 or COMn) for this run\n"
              "  --simulate        run on an emulated unit on a pseudo-terminal\n"
              "  --screenshot DIR  save a picture of each page into DIR and quit");
}

// Shows each page in turn, saves a picture of the window, then closes it.
void TakeScreenshots(orna5::TFormHlav& window, const QString& folder) {
    QDir().mkpath(folder);
    auto* pages = window.findChild<QTabWidget*>("PageControl1");
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        QApplication::processEvents();
        const QString name = pages->widget(i)->objectName();
        window.grab().save(QString("%1/%2-%3.png").arg(folder).arg(i).arg(name));
    }
    window.close();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("orna5");

    orna5::StartOptions options;
    const QStringList arguments = QApplication::arguments().mid(1);
    options.arguments = arguments;
    QString screenshotFolder;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            PrintUsage();
            return 0;
        } else if (argument == "--simulate") {
            options.simulate = true;
        } else if (argument == "--port" || argument == "--screenshot") {
            // "--port --simulate" is a forgotten device, not a device named
            // "--simulate".
            if (i + 1 >= arguments.size() || arguments[i + 1].startsWith("--")) {
                std::fprintf(stderr, "orna5: %s needs a value\n", qPrintable(argument));
                return 2;
            }
            (argument == "--port" ? options.port : screenshotFolder) = arguments[++i];
        } else if (argument.startsWith("--port=")) {
            options.port = argument.mid(7);
        } else if (argument.startsWith("--")) {
            std::fprintf(stderr, "orna5: unknown option %s\n", qPrintable(argument));
            PrintUsage();
            return 2;
        }
    }

    try {
        orna5::TFormHlav window(options);
        window.show();
        if (!screenshotFolder.isEmpty())
            QTimer::singleShot(kScreenshotDelayMs, &window, [&window, screenshotFolder] {
                TakeScreenshots(window, screenshotFolder);
            });
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, "orna5", QString::fromLocal8Bit(error.what()));
        return 1;
    }
}
