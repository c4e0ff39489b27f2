#pragma once

#include "device/DeviceFrame.h"
#include "device/LogClock.h"
#include "files/MonitorLog.h"
#include "ride/RideRule.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <deque>
#include <functional>
#include <string>

class QAction;
class QLabel;
class QStatusBar;

namespace orna5 {

class DeviceSession;
class Document;
class ProfileFile;

// Tools > "Record rides by themselves": with it on, a ride records itself,
// one file per ride in the rides folder, as RideRule decides from the live
// frames: from the engine passing the start rpm until it has stayed below
// for ten seconds or the unit falls silent. The file begins with the frames
// of the kLeadSeconds before the start, so a pull from a stop is whole and
// the stop before it tells its gear. The files are data logs like
// those of View > Record data log, headed by the tune the unit runs on. The
// item and the start rpm are kept in the settings' RIDES section.
class RideRecorder : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kSettingsSection = "RIDES";
    static constexpr double kLeadSeconds = 3;

    // Shows a message about a ride, named for the tests.
    using MessageSink = std::function<void(const QString& text, const QString& name)>;

    struct Links {
        const DeviceSession& session;
        // The Tools menu's check item; the recorder connects it.
        QAction& item;
        QStatusBar& statusBar;
        // The parameter file the form shows, for the header.
        std::function<QString()> loadedFile;
        MessageSink showMessage;
    };

    RideRecorder(Document& document, const ProfileFile& settings, Links links,
                 QString folder = DefaultFolder());

    // $XDG_DATA_HOME/orna5/rides
    static QString DefaultFolder();
    const QString& Folder() const { return folder; }

    void SaveSettings(ProfileFile& settings) const;
    // A ride's file is open.
    bool Recording() const { return writer.IsOpen(); }
    // Ends a ride under way, its file complete (at shutdown, or the item
    // switched off).
    void Stop();
    // A Program or Read passed while a ride records: the map from now on.
    void UnitRuns(const ParameterImage& image);

signals:
    // A ride's file was closed complete.
    void RideSaved(const QString& path);

private:
    void Frame();
    void Tick();
    void Begin();
    void End();
    void WriteFailed();
    void ShowState();
    double Now() const;

    Document& document;
    Links links;
    QString folder;
    RideRule rule;
    QElapsedTimer clock;
    MonitorLogWriter writer{LogTimeNow};
    ParameterImage mapInLog{};
    // The frames of the last kLeadSeconds while no ride records.
    struct LeadFrame {
        DeviceFrame frame;
        std::string time;
        double seconds = 0;
    };
    std::deque<LeadFrame> lead;
    bool namesUnit = false; // the ride's file says which unit it comes from
    QLabel* label = nullptr;
};

} // namespace orna5
