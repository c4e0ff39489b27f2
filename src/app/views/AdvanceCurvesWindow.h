#pragma once

#include "params/ParameterImage.h"

#include <QPointF>
#include <QWidget>

#include <array>

class QChart;
class QLineSeries;
class QScatterSeries;
class QTabWidget;
class QValueAxis;

namespace orna5 {

class Document;

// The advance map as curves over rpm, one per throttle row, and the servo
// curve, with the engine's live point on both. It draws the document's image
// and never changes it.
class AdvanceCurvesWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kSettingsSection = "ADVANCE_CURVES";

    explicit AdvanceCurvesWindow(Document& document);

    // Redraws the curves when the image's axes or values changed.
    void ShowImage();
    // Moves the live point; cheap when the engine has not moved.
    void ShowLive();
    void ApplyLanguage();

    QLineSeries* RowSeries(int row) const { return rows[row]; }
    QLineSeries* ServoSeries() const { return servo; }
    QScatterSeries* LiveAdvancePoint() const { return liveAdvance; }
    QScatterSeries* LiveServoPoint() const { return liveServo; }

private:
    void ShowLivePoint(QScatterSeries* point, bool shown, QPointF at, const QString& label);

    Document& document;
    QTabWidget* tabs = nullptr;
    QChart* advanceChart = nullptr;
    QChart* servoChart = nullptr;
    QValueAxis* advanceX = nullptr;
    QValueAxis* advanceY = nullptr;
    QValueAxis* servoX = nullptr;
    QValueAxis* servoY = nullptr;
    std::array<QLineSeries*, kMapRows> rows{};
    QLineSeries* servo = nullptr;
    QScatterSeries* liveAdvance = nullptr;
    QScatterSeries* liveServo = nullptr;

    ParameterImage shown{};
    bool drawn = false;
    int boldRow = -1;
    // The live point last drawn, so a tick without movement costs nothing.
    bool advancePointShown = false;
    bool servoPointShown = false;
    QPointF advanceAt;
    QPointF servoAt;
};

} // namespace orna5
