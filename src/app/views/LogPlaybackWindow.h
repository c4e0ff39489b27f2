#pragma once

#include "device/LogPlayback.h"
#include "files/MonitorLog.h"
#include "params/ParameterImage.h"

#include <QPointer>
#include <QString>
#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QSlider;

namespace orna5 {

class Document;

// View > Play data log: a recorded log played through the window as if the
// engine ran. Its rows go the way live frames go (the live panel, the lime
// marks, the operating point of every view, the time in cell), while polling
// pauses and the port is left alone until the window closes. The window's
// image is never touched; a log recorded on another map says so and offers
// the comparison.
class LogPlaybackWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kSettingsSection = "DATA_LOG_PLAYBACK";

    LogPlaybackWindow(Document& document, const QString& path, MonitorLog log);
    ~LogPlaybackWindow() override;

    LogPlayback& Playback() { return playback; }
    const QString& Path() const { return path; }
    // The window's image with the log's map in it, for the comparison.
    ParameterImage LogMapImage() const;
    void ApplyLanguage();

signals:
    void CompareRequested(const QString& path, const ParameterImage& logImage);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Tick();
    void ShowPosition();
    void ShowMapDifference();
    void Stop();

    Document& document;
    // The document goes with the form; a playback window deleted after it
    // must not reach it.
    QPointer<QObject> documentAlive;
    QString path;
    MonitorLog log;
    LogPlayback playback{log};

    QLabel* info = nullptr;
    QLabel* mapNote = nullptr;
    QPushButton* compare = nullptr;
    QPushButton* play = nullptr;
    QPushButton* pause = nullptr;
    QLabel* speedLabel = nullptr;
    QComboBox* speed = nullptr;
    QSlider* position = nullptr;
    QLabel* positionText = nullptr;
    // In the form's status bar while the log plays.
    QPointer<QLabel> status;
};

} // namespace orna5
