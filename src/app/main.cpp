// orna5: programs the ORNA-5 ignition unit.
//
//   orna5 [LANGUAGE] [FILE.ign] [--port DEVICE] [--simulate] [--screenshot DIR]
//
// LANGUAGE, when it is the first argument: ENGLISH, DEUTSCH, FRANCE or CESKY.
// FILE.ign opens after start-up as File > Open would open it.

#include "app/DataLogRecorder.h"
#include "app/StartArguments.h"
#include "app/ViewManager.h"
#include "app/form/FormHlav.h"
#include "app/views/MapTableWindow.h"
#include "app/views/ViewScreenshots.h"
#include "platform/EndSignals.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QMessageBox>
#include <QSessionManager>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>

namespace {

// Long enough for the emulated engine to rev into the map, so the pictures
// show live values and a lit map cell.
constexpr int kScreenshotDelayMs = 5000;

void PrintUsage() {
    std::puts("usage: orna5 [ENGLISH|DEUTSCH|FRANCE|CESKY] [FILE.ign] [--port DEVICE]\n"
              "             [--simulate] [--screenshot DIR]\n"
              "  FILE.ign          open this parameter file after start-up\n"
              "  --port DEVICE     use DEVICE (a path, ttyUSB0 or COMn) for this run\n"
              "  --simulate        run on an emulated unit on a pseudo-terminal\n"
              "  --screenshot DIR  save a picture of each page into DIR and quit\n"
              "  --version         print the version and quit");
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
    orna5::TakeViewScreenshots(window, window.Doc(), window.Views(), window.DataLog(), folder);
    // The map table with a block selected and the live cell outlined.
    window.findChild<QAction*>("MenuMapTable")->trigger();
    if (auto* mapTable = window.findChild<orna5::MapTableWindow*>("MapTableWindow")) {
        const int rows = mapTable->findChild<QTableView*>("TableMap")->model()->rowCount();
        mapTable->SelectCells(std::min(2, rows - 1), 1, std::min(5, rows - 1), 3);
        QApplication::processEvents();
        mapTable->grab().save(folder + "/view-MapTable.png");
        // The seconds counted while the pictures were taken.
        auto* tabs = mapTable->findChild<QTabWidget*>("TabsMapTable");
        tabs->setCurrentIndex(1);
        QApplication::processEvents();
        mapTable->grab().save(folder + "/view-time-in-cell.png");
        tabs->setCurrentIndex(0);
    }
    window.close();
}

} // namespace

int main(int argc, char** argv) {
    // Answered before the application object exists, so that they work
    // without a display (in a terminal over ssh, in a package check).
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--version")) {
            std::puts("orna5 " ORNA5_VERSION);
            return 0;
        }
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            PrintUsage();
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("orna5");
    QApplication::setApplicationVersion(ORNA5_VERSION);
    // The installed desktop entry and icon: docks and task switchers match
    // the window to them by this name.
    QApplication::setDesktopFileName("org.orna5.Orna5");
    QApplication::setWindowIcon(QIcon::fromTheme("orna5"));

    const orna5::StartArguments start =
        orna5::ParseStartArguments(QApplication::arguments().mid(1));
    for (const QString& file : start.ignoredFiles)
        std::fprintf(stderr, "orna5: one parameter file at a time; %s is not opened\n",
                     qPrintable(file));
    if (!start.error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(start.error));
        if (start.usage)
            PrintUsage();
        return 2;
    }
    const orna5::StartOptions& options = start.options;
    const QString& screenshotFolder = start.screenshotFolder;

    try {
        orna5::TFormHlav window(options);
        // Logging out, shutting down, kill or Ctrl+C end the window as File >
        // Exit does, after a Program under way; a second signal at once.
        orna5::EndSignals ends;
        QObject::connect(&ends, &orna5::EndSignals::EndAsked, &window,
                         &orna5::TFormHlav::EndWhenIdle);
        QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                         [&window](QSessionManager&) { window.KeepForSessionEnd(); });
        window.show();
        if (!screenshotFolder.isEmpty()) {
            orna5::StartViewScreenshots(window.DataLog(), screenshotFolder);
            QTimer::singleShot(kScreenshotDelayMs, &window, [&window, screenshotFolder] {
                TakeScreenshots(window, screenshotFolder);
            });
        }
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, "orna5", QString::fromLocal8Bit(error.what()));
        return 1;
    }
}
