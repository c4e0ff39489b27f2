#include "app/views/LogPlaybackWindow.h"

#include "app/Document.h"
#include "app/widgets/ReaderName.h"
#include "lang/AccessTexts.h"
#include "lang/ViewTexts.h"
#include "params/FieldTable.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSlider>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace orna5 {

namespace {

constexpr double kSpeeds[] = {0.25, 0.5, 1.0, 2.0, 4.0};

// Recorded time as m:ss, or h:mm:ss for a long ride.
QString Clock(double seconds) {
    const long total = std::lround(std::max(0.0, seconds));
    const long h = total / 3600, m = total / 60 % 60, s = total % 60;
    const QString ms = QString("%1:%2").arg(m, h ? 2 : 1, 10, QChar('0')).arg(s, 2, 10, QChar('0'));
    return h ? QString("%1:%2").arg(h).arg(ms) : ms;
}

} // namespace

LogPlaybackWindow::LogPlaybackWindow(Document& doc, const QString& filePath, MonitorLog data)
    : QWidget(doc.ViewParent(), Qt::Window), document(doc), documentAlive(&doc), path(filePath),
      log(std::move(data)) {
    setObjectName("LogPlaybackWindow");
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    info = new QLabel(this);
    info->setObjectName("LabelPlaybackFile");
    layout->addWidget(info);
    auto* note = new QHBoxLayout;
    mapNote = new QLabel(this);
    mapNote->setObjectName("LabelLogMapDiffers");
    mapNote->setWordWrap(true);
    note->addWidget(mapNote, 1);
    compare = new QPushButton(this);
    compare->setObjectName("ButtonCompareLogMap");
    compare->setAutoDefault(false);
    connect(compare, &QPushButton::clicked, this,
            [this] { emit CompareRequested(path, LogMapImage()); });
    note->addWidget(compare);
    layout->addLayout(note);

    auto* controls = new QHBoxLayout;
    play = new QPushButton(this);
    play->setObjectName("ButtonPlay");
    connect(play, &QPushButton::clicked, this, [this] {
        playback.Play();
        ShowPosition();
    });
    pause = new QPushButton(this);
    pause->setObjectName("ButtonPause");
    connect(pause, &QPushButton::clicked, this, [this] {
        playback.Pause();
        ShowPosition();
    });
    controls->addWidget(play);
    controls->addWidget(pause);
    speedLabel = new QLabel(this);
    controls->addWidget(speedLabel);
    speed = new QComboBox(this);
    speed->setObjectName("ComboSpeed");
    for (double factor : kSpeeds)
        speed->addItem(QString::fromUtf8("%1\u00d7").arg(factor), factor);
    speed->setCurrentIndex(2);
    speedLabel->setBuddy(speed);
    connect(speed, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this](int) { playback.SetSpeed(speed->currentData().toDouble()); });
    controls->addWidget(speed);
    position = new QSlider(Qt::Horizontal, this);
    position->setObjectName("SliderPosition");
    position->setRange(0, std::max(0, static_cast<int>(log.Rows()) - 1));
    position->setPageStep(std::max(1, static_cast<int>(log.Rows()) / 20));
    connect(position, &QSlider::valueChanged, this, [this](int row) {
        playback.Seek(static_cast<std::size_t>(row));
        ShowPosition();
    });
    controls->addWidget(position, 1);
    positionText = new QLabel(this);
    positionText->setObjectName("LabelPlaybackPosition");
    controls->addWidget(positionText);
    layout->addLayout(controls);
    resize(640, sizeHint().height());

    if (QStatusBar* bar = document.StatusBar()) {
        status = new QLabel(bar);
        status->setObjectName("LabelPlayback");
        bar->addPermanentWidget(status);
    }
    document.StartPlayback();
    connect(&document, &Document::TickDone, this, &LogPlaybackWindow::Tick);
    connect(&document, &Document::ImageShown, this, &LogPlaybackWindow::ShowMapDifference);
    connect(&document, &Document::LanguageChanged, this, &LogPlaybackWindow::ApplyLanguage);
    ApplyLanguage();
}

LogPlaybackWindow::~LogPlaybackWindow() {
    Stop();
}

void LogPlaybackWindow::closeEvent(QCloseEvent* event) {
    Stop();
    QWidget::closeEvent(event);
}

// Polling resumes and the status bar forgets the log.
void LogPlaybackWindow::Stop() {
    playback.Pause();
    delete status.data();
    if (documentAlive)
        document.StopPlayback();
}

void LogPlaybackWindow::Tick() {
    if (!document.Playing())
        return; // stopped: the window is closing
    const std::optional<LogPlayback::Step> step = playback.Tick();
    if (!step)
        return;
    document.PlayFrame(LogRowFrame(log, step->row), step->seconds);
    ShowPosition();
}

void LogPlaybackWindow::ShowPosition() {
    {
        const QSignalBlocker quiet(position);
        position->setValue(static_cast<int>(playback.Row()));
    }
    const int language = document.Language();
    const QString where = QString::fromStdString(TextIn(ViewText::LogPosition, language))
                              .arg(Clock(playback.Position()), Clock(playback.Length()));
    positionText->setText(where);
    play->setEnabled(!playback.Playing());
    pause->setEnabled(playback.Playing());
    if (status)
        status->setText(QString::fromStdString(TextIn(ViewText::PlayingStatus, language))
                            .arg(QFileInfo(path).fileName(), Clock(playback.Position()),
                                 Clock(playback.Length())));
}

ParameterImage LogPlaybackWindow::LogMapImage() const {
    ParameterImage image = document.Image();
    if (!log.header.hasMap)
        return image;
    image[field::mapUsesTps] = log.header.mapUsesTps ? 1 : 0;
    std::copy(log.header.mapRpm.begin(), log.header.mapRpm.end(), image.begin() + field::mapRpm);
    std::copy(log.header.advanceMap.begin(), log.header.advanceMap.end(),
              image.begin() + field::advanceMap);
    return image;
}

void LogPlaybackWindow::ShowMapDifference() {
    const int language = document.Language();
    const bool differs = log.header.hasMap && LogMapImage() != document.Image();
    mapNote->setText(QString::fromStdString(
        TextIn(log.header.hasMap ? ViewText::LogMapDiffers : ViewText::LogWithoutMap, language)));
    mapNote->setVisible(differs || !log.header.hasMap);
    compare->setVisible(differs);
}

void LogPlaybackWindow::ApplyLanguage() {
    const int language = document.Language();
    const auto text = [language](ViewText id) {
        return QString::fromStdString(TextIn(id, language));
    };
    setWindowTitle(text(ViewText::PlaybackTitle).arg(QFileInfo(path).fileName()));
    const auto or_ = [](const std::string& value, const QString& otherwise) {
        return value.empty() ? otherwise : QString::fromStdString(value);
    };
    info->setText(
        text(ViewText::LogUnit).arg(or_(log.header.unitVersion, text(ViewText::NotKnown))) +
        "    " +
        text(ViewText::LogParameterFile)
            .arg(or_(log.header.parameterFile, text(ViewText::NoFile))));
    play->setText(text(ViewText::Play));
    pause->setText(text(ViewText::Pause));
    speedLabel->setText(text(ViewText::Speed));
    compare->setText(text(ViewText::CompareMaps));
    SetReaderName(speed, Spoken(speedLabel->text()));
    SetReaderName(position, QString::fromStdString(TextIn(AccessText::PlaybackPosition, language)));
    ShowMapDifference();
    ShowPosition();
}

} // namespace orna5
