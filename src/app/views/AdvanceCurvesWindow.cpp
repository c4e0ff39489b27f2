#include "app/views/AdvanceCurvesWindow.h"

#include "app/Document.h"
#include "app/widgets/ReaderName.h"
#include "device/MarkLivePosition.h"
#include "device/MonitorPanel.h"
#include "lang/AccessTexts.h"
#include "lang/ViewTexts.h"
#include "params/FieldTable.h"
#include "params/TpsBreakpoints.h"

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QScatterSeries>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace orna5 {

namespace {

// An axis point's rpm, as the charts plot it.
double RpmAt(const ParameterImage& image, const FieldScale& axis, std::size_t point) {
    return static_cast<double>(Shown(axis, image[axis.offset + point]));
}

// Rows from the closed throttle (blue) to the open throttle (red), so the
// order of the curves reads at a glance.
QColor RowColour(int row) {
    return QColor::fromHsv(240 - row * 240 / (kMapRows - 1), 220, 200);
}

// An axis end that leaves some room above the highest value, on a round step.
double TopOf(int highest, int step) {
    return std::max(step, (highest / step + 1) * step);
}

// The value of a curve through (xs[i], ys[i]) at x, straight between its
// points and flat beyond its ends, as the unit interpolates.
double CurveAt(const std::array<double, kAxisPoints>& xs, const std::array<double, kAxisPoints>& ys,
               double x) {
    if (x <= xs.front())
        return ys.front();
    for (std::size_t i = 1; i < kAxisPoints; ++i)
        if (x <= xs[i]) {
            const double span = xs[i] - xs[i - 1];
            return span > 0 ? ys[i - 1] + (ys[i] - ys[i - 1]) * (x - xs[i - 1]) / span : ys[i];
        }
    return ys.back();
}

// An rpm axis over the curve's points, with a tick every 1000 rpm, or
// every 2000 rpm or more when the axis is long.
void SetRpmRange(QValueAxis* axis, double low, double high) {
    axis->setRange(low, std::max(high, low + 100));
    axis->setTickInterval(high - low > 12000 ? std::ceil((high - low) / 12000) * 1000 : 1000);
}

QChartView* MakeView(QChart* chart, QWidget* parent) {
    chart->legend()->setAlignment(Qt::AlignRight);
    chart->setMargins(QMargins(4, 4, 4, 4));
    auto* view = new QChartView(chart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}

QScatterSeries* MakeLivePoint(QChart* chart) {
    auto* point = new QScatterSeries(chart);
    point->setMarkerSize(14);
    point->setColor(QColor(0, 200, 0));
    point->setBorderColor(Qt::black);
    point->setPointLabelsVisible(true);
    point->setPointLabelsClipping(false);
    return point;
}

} // namespace

AdvanceCurvesWindow::AdvanceCurvesWindow(Document& doc)
    : QWidget(doc.ViewParent(), Qt::Window), document(doc) {
    setObjectName("AdvanceCurvesWindow");
    // Esc closes the view, as it closes a dialog.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
    resize(760, 520);
    tabs = new QTabWidget(this);
    tabs->setObjectName("AdvanceCurvesTabs");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(tabs);

    advanceChart = new QChart;
    advanceX = new QValueAxis(advanceChart);
    advanceY = new QValueAxis(advanceChart);
    advanceChart->addAxis(advanceX, Qt::AlignBottom);
    advanceChart->addAxis(advanceY, Qt::AlignLeft);
    for (int r = 0; r < static_cast<int>(kMapRows); ++r) {
        rows[r] = new QLineSeries(advanceChart);
        rows[r]->setName(QString::fromStdString(TpsRowLabel(r)));
        rows[r]->setPen(QPen(RowColour(r), 1.5));
        rows[r]->setPointsVisible(true);
    }
    // The open throttle first in the legend: it is the row always in use.
    for (int r = static_cast<int>(kMapRows) - 1; r >= 0; --r) {
        advanceChart->addSeries(rows[r]);
        rows[r]->attachAxis(advanceX);
        rows[r]->attachAxis(advanceY);
    }
    liveAdvance = MakeLivePoint(advanceChart);
    advanceChart->addSeries(liveAdvance);
    liveAdvance->attachAxis(advanceX);
    liveAdvance->attachAxis(advanceY);
    tabs->addTab(MakeView(advanceChart, tabs), QString());

    servoChart = new QChart;
    servoX = new QValueAxis(servoChart);
    servoY = new QValueAxis(servoChart);
    servoChart->addAxis(servoX, Qt::AlignBottom);
    servoChart->addAxis(servoY, Qt::AlignLeft);
    servo = new QLineSeries(servoChart);
    servo->setPen(QPen(QColor(0, 90, 200), 2));
    servo->setPointsVisible(true);
    servoChart->addSeries(servo);
    servo->attachAxis(servoX);
    servo->attachAxis(servoY);
    liveServo = MakeLivePoint(servoChart);
    servoChart->addSeries(liveServo);
    liveServo->attachAxis(servoX);
    liveServo->attachAxis(servoY);
    servoChart->legend()->hide();
    tabs->addTab(MakeView(servoChart, tabs), QString());

    // Ticks on whole thousands of rpm, wherever the axis starts.
    for (QValueAxis* axis : {advanceX, servoX}) {
        axis->setLabelFormat("%d");
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(0);
        axis->setTickInterval(1000);
    }
    // Whole steps of 10° and 500 mV (1000 mV on a tall axis).
    for (QValueAxis* axis : {advanceY, servoY}) {
        axis->setLabelFormat("%d");
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(0);
    }
    advanceY->setTickInterval(10);

    ApplyLanguage();
    ShowImage();
    ShowLive();
    connect(&document, &Document::ImageShown, this, &AdvanceCurvesWindow::ShowImage);
    connect(&document, &Document::LiveChanged, this, [this] {
        if (isVisible())
            ShowLive();
    });
    connect(&document, &Document::LanguageChanged, this, &AdvanceCurvesWindow::ApplyLanguage);
}

void AdvanceCurvesWindow::ApplyLanguage() {
    const int language = document.Language();
    const auto text = [language](ViewText id) {
        return QString::fromStdString(TextIn(id, language));
    };
    setWindowTitle(text(ViewText::CurvesTitle));
    tabs->setTabText(0, text(ViewText::AdvanceTab));
    tabs->setTabText(1, text(ViewText::ServoTab));
    const auto spoken = [language](AccessText id) {
        return QString::fromStdString(TextIn(id, language));
    };
    SetReaderName(tabs, spoken(AccessText::Tabs).arg(text(ViewText::CurvesTitle)));
    for (int tab = 0; tab < tabs->count(); ++tab)
        SetReaderName(tabs->widget(tab), spoken(AccessText::Chart).arg(tabs->tabText(tab)));
    advanceX->setTitleText(text(ViewText::AxisRpm));
    servoX->setTitleText(text(ViewText::AxisRpm));
    advanceY->setTitleText(text(ViewText::AxisAdvance));
    servoY->setTitleText(text(ViewText::AxisServo));
    liveAdvance->setName(text(ViewText::LivePoint));
    liveServo->setName(text(ViewText::LivePoint));
}

void AdvanceCurvesWindow::ShowImage() {
    const ParameterImage& image = document.Image();
    if (drawn && std::memcmp(shown.data(), image.data(), kImageSize) == 0)
        return;
    shown = image;
    drawn = true;

    const bool tpsRows = image[field::mapUsesTps] != 0;
    int highest = 0;
    for (int r = 0; r < static_cast<int>(kMapRows); ++r) {
        QList<QPointF> points;
        for (std::size_t c = 0; c < kAxisPoints; ++c) {
            const int advance = image[MapCell(r, c)];
            points.append(QPointF(RpmAt(image, fieldScale::mapRpm, c), advance));
            if (tpsRows || r == kMapRows - 1)
                highest = std::max(highest, advance);
        }
        rows[r]->replace(points);
        // Without the throttle rows the unit runs on the 100 % row alone.
        rows[r]->setVisible(tpsRows || r == kMapRows - 1);
    }
    SetRpmRange(advanceX, RpmAt(image, fieldScale::mapRpm, 0),
                RpmAt(image, fieldScale::mapRpm, kAxisPoints - 1));
    advanceY->setRange(0, TopOf(highest, 10));

    QList<QPointF> servoPoints;
    int highestMv = 0;
    for (std::size_t i = 0; i < kAxisPoints; ++i) {
        const int mv = static_cast<int>(Shown(fieldScale::servoMv, image[field::servoMv + i]));
        servoPoints.append(QPointF(RpmAt(image, fieldScale::servoRpm, i), mv));
        highestMv = std::max(highestMv, mv);
    }
    servo->replace(servoPoints);
    SetRpmRange(servoX, RpmAt(image, fieldScale::servoRpm, 0),
                RpmAt(image, fieldScale::servoRpm, kAxisPoints - 1));
    servoY->setRange(0, TopOf(highestMv, 500));
    servoY->setTickInterval(highestMv > 3000 ? 1000 : 500);
    // The curves moved under the live point.
    advancePointShown = servoPointShown = false;
    advanceAt = servoAt = QPointF(-1, -1);
    liveAdvance->clear();
    liveServo->clear();
    ShowLive();
}

void AdvanceCurvesWindow::ShowLive() {
    const ParameterImage& image = document.Image();
    const LivePosition live = document.Live();
    const double rpm = document.Values().liveRpm;
    const bool connected = document.UnitAnswering() && rpm > 0;

    std::array<double, kAxisPoints> xs{}, ys{}, servoXs{}, servoYs{};
    for (std::size_t c = 0; c < kAxisPoints; ++c) {
        xs[c] = RpmAt(image, fieldScale::mapRpm, c);
        ys[c] = image[MapCell(live.tpsRow, c)];
        servoXs[c] = RpmAt(image, fieldScale::servoRpm, c);
        servoYs[c] = image[field::servoMv + c] * 20.0;
    }
    // The row the engine runs on is drawn bold, as the form lights its label.
    const int row = connected ? live.tpsRow : -1;
    if (row != boldRow) {
        for (int r = 0; r < static_cast<int>(kMapRows); ++r)
            rows[r]->setPen(QPen(RowColour(r), r == row ? 3.5 : 1.5));
        boldRow = row;
    }
    const QString label =
        QString::fromStdString(TextIn(ViewText::LivePointLabel, document.Language()));
    const double advance = CurveAt(xs, ys, rpm);
    const double mv = CurveAt(servoXs, servoYs, rpm);
    // Beyond the last axis point the unit holds the last value; the point
    // stays at the chart's edge and its label tells the real speed.
    ShowLivePoint(liveAdvance, connected && !live.belowMapAxis,
                  QPointF(std::clamp(rpm, xs.front(), xs.back()), advance),
                  label.arg(rpm).arg(QString("%1°").arg(advance, 0, 'f', 1)));
    ShowLivePoint(liveServo, connected,
                  QPointF(std::clamp(rpm, servoXs.front(), servoXs.back()), mv),
                  label.arg(rpm).arg(QString("%1 mV").arg(mv, 0, 'f', 0)));
}

void AdvanceCurvesWindow::ShowLivePoint(QScatterSeries* point, bool shown, QPointF at,
                                        const QString& label) {
    bool& wasShown = point == liveAdvance ? advancePointShown : servoPointShown;
    QPointF& wasAt = point == liveAdvance ? advanceAt : servoAt;
    if (shown == wasShown && (!shown || (at == wasAt && label == point->pointLabelsFormat())))
        return;
    wasShown = shown;
    wasAt = at;
    point->setPointLabelsFormat(label);
    if (!shown) {
        point->clear();
    } else if (point->count() == 1) {
        point->replace(0, at);
    } else {
        point->clear();
        point->append(at);
    }
}

} // namespace orna5
