#pragma once

#include <QElapsedTimer>
#include <QObject>

#include <deque>

class QAction;
class QLabel;
class QMenu;
class QStatusBar;

namespace orna5 {

class DeviceSession;
class ProfileFile;

// Tools > Live data: Standard (a poll every 6 ticks, as the unit has always
// been polled) or Fast (the next poll as soon as the answer is in), kept in
// the settings' LIVE_DATA section, and the rate reached in the status bar
// ("Live data 27/s").
class LiveRateControl : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kSettingsSection = "LIVE_DATA";

    struct Links {
        DeviceSession& session;
        QMenu& toolsMenu;
        QStatusBar& statusBar;
    };
    LiveRateControl(QObject* parent, const ProfileFile& settings, Links links);

    void SaveSettings(ProfileFile& settings) const;
    // Each live-data frame the unit sent (never a played one).
    void FrameArrived();
    // Once per tick: the status bar label follows the last second.
    void Tick();
    void ApplyLanguage(int language);
    // Frames in the last second.
    int FramesPerSecond() const { return static_cast<int>(frames.size()); }

private:
    void Choose(bool fast);
    void Forget();

    Links links;
    QMenu* menu = nullptr;
    QAction* standard = nullptr;
    QAction* fast = nullptr;
    QLabel* label = nullptr;
    QElapsedTimer clock;
    std::deque<qint64> frames; // times of the frames in the last second
    int language = 0;
};

} // namespace orna5
