#pragma once

#include "device/LogClock.h"
#include "files/MonitorLog.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QLabel;
class QStatusBar;

namespace orna5 {

// A length of time as a clock shows it: "1:02:03", or "2:03" under an hour.
QString ClockDuration(qint64 ms);

class DeviceSession;
class Document;

// View > Record data log: every live frame the session accepts becomes a row
// of a CSV file, headed by the parameters the unit runs on. The menu item
// carries a check mark and the status bar a label with the time, the rows
// and the file while a log is open; a port that goes away ends the log,
// closed and complete.
class DataLogRecorder : public QObject {
    Q_OBJECT
public:
    // Shows a message about the log, named for the tests.
    using MessageSink = std::function<void(const QString& text, const QString& name)>;

    struct Links {
        const DeviceSession& session;
        // The menu item that starts and stops a log; the recorder sets its
        // check mark.
        QAction& recordItem;
        // Where the label goes and the notes about a closed log appear.
        QStatusBar& statusBar;
        // The port has gone (a pulled adapter).
        std::function<bool()> portLost;
        // The parameter file the form shows, for the log's header.
        std::function<QString()> loadedFile;
        MessageSink showMessage;
    };

    DataLogRecorder(Document& document, Links links);

    // Ends a log that is open and starts one into path; false (the user was
    // told) when the file cannot be made.
    bool Start(const QString& path);
    // Closes the log that is open, complete, and says where it went.
    void Stop();
    bool Running() const { return writer.IsOpen(); }
    // A Program or Read passed: the unit runs on `image` from now on. A log
    // that is open gets the map with its time when it differs from the one
    // it names.
    void UnitRuns(const ParameterImage& image);

private:
    void Tick(bool monitorFrame);
    void Frame();
    void NameUnit();
    void WriteFailed();
    void ShowState();

    Document& document;
    Links links;
    QLabel* label = nullptr;
    MonitorLogWriter writer{LogTimeNow};
    QElapsedTimer clock;
    bool namesUnit = false;  // the log says which unit it comes from
    ParameterImage mapInLog; // the map the log's later rows count against
};

} // namespace orna5
