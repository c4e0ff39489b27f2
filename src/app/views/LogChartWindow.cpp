#include "app/views/LogChartWindow.h"

#include "app/Document.h"
#include "app/views/PullsPane.h"
#include "app/views/TimeInCellView.h"
#include "app/widgets/ReaderName.h"
#include "device/MarkLivePosition.h"
#include "lang/AccessTexts.h"
#include "lang/MapTableTexts.h"
#include "lang/RideTexts.h"
#include "lang/ViewTexts.h"
#include "params/FieldTable.h"
#include "params/TpsBreakpoints.h"

#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsLineItem>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QShortcut>
#include <QSlider>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace orna5 {

namespace {

const QColor kCursorColour(200, 0, 0);
const QColor kCellInUse(0, 255, 0);
// Frames come every 330 ms; a pause of this long is a silent unit.
constexpr double kGapSeconds = 3.0;

QValueAxis* MakeAxis(QChart* chart, Qt::Alignment side, const QColor& colour) {
    auto* axis = new QValueAxis(chart);
    axis->setLabelFormat("%d");
    axis->setLinePenColor(colour);
    axis->setLabelsColor(colour);
    chart->addAxis(axis, side);
    return axis;
}

QString NumberText(double value) {
    return std::isnan(value) ? QString() : QString::number(value, 'g', 10);
}

// How a column of the log is named and scaled wherever the viewer shows it:
// in the chart's legend and in the value table. `channel` fills "%1".
struct Quantity {
    const char* column;
    ViewText name;
    double scale = 1;
    int channel = 0;
};

const Quantity kQuantities[] = {
    {"time", ViewText::LogTime},
    {"rpm", ViewText::AxisRpm},
    {"supply_mv", ViewText::SeriesSupply, 0.001},
    {"tps_percent", ViewText::SeriesThrottle},
    {"tps_mv", ViewText::LogThrottleSensor},
    {"advance1", ViewText::SeriesAdvance, 1, 1},
    {"advance2", ViewText::SeriesAdvance, 1, 2},
    {"advance3", ViewText::SeriesAdvance, 1, 3},
    {"advance4", ViewText::SeriesAdvance, 1, 4},
    {"servo_desired_mv", ViewText::LogServoDesired},
    {"servo_measured_mv", ViewText::LogServoMeasured},
    {"programmings", ViewText::LogProgrammings},
    {"kill_switch", ViewText::LogKillSwitch},
    {"clutch_master", ViewText::LogClutchMaster},
    {"shift_light", ViewText::LogShiftLight},
    {"pickup1", ViewText::LogPickup, 1, 1},
    {"pickup2", ViewText::LogPickup, 1, 2},
    {"input1_grounded", ViewText::LogInputGrounded, 1, 1},
    {"input2_grounded", ViewText::LogInputGrounded, 1, 2},
    {"engine_off_blocking", ViewText::LogEngineOff},
    {"saving_count", ViewText::LogSavingCount},
    {"stored_data_error", ViewText::LogStoredDataError},
    {"protocol", ViewText::LogProtocol},
};

const Quantity* QuantityOf(const std::string& column) {
    for (const Quantity& quantity : kQuantities)
        if (column == quantity.column)
            return &quantity;
    return nullptr;
}

double ScaleOf(const std::string& column) {
    const Quantity* quantity = QuantityOf(column);
    return quantity ? quantity->scale : 1;
}

// A column this viewer does not know (from a later version's log) shows
// under its own key.
QString QuantityName(const std::string& column, int language) {
    const Quantity* quantity = QuantityOf(column);
    if (!quantity)
        return QString::fromStdString(column);
    QString name = QString::fromStdString(TextIn(quantity->name, language));
    return quantity->channel ? name.arg(quantity->channel) : name;
}

} // namespace

LogChartWindow::LogChartWindow(Document& doc, const QString& filePath, MonitorLog data)
    : QWidget(doc.ViewParent(), Qt::Window), document(doc), path(filePath), log(std::move(data)) {
    setObjectName("LogChartWindow");
    // Esc closes the view, as it closes a dialog.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
    resize(1240, 680);

    // The map the log ran on, or the form's when the log does not say.
    mapImage = document.Image();
    tpsRowsUsed = mapImage[field::mapUsesTps] != 0;

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    info = new QLabel(this);
    info->setObjectName("LogInfo");
    info->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(info);

    // The log over time on one tab, its pulls compared with other logs' on
    // the next.
    tabs = new QTabWidget(this);
    tabs->setObjectName("LogTabs");
    auto* splitter = new QSplitter(Qt::Horizontal, tabs);
    auto* left = new QWidget(splitter);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    chart = new QChart;
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->legend()->setAlignment(Qt::AlignTop);
    view = new QChartView(chart, left);
    view->setObjectName("LogChart");
    view->setRenderHint(QPainter::Antialiasing, false);
    view->viewport()->installEventFilter(this);
    leftLayout->addWidget(view, 1);
    slider = new QSlider(Qt::Horizontal, left);
    slider->setObjectName("LogCursor");
    slider->setRange(0, std::max<int>(0, static_cast<int>(log.Rows()) - 1));
    slider->setPageStep(std::max<int>(1, static_cast<int>(log.Rows()) / 20));
    leftLayout->addWidget(slider);
    splitter->addWidget(left);

    auto* right = new QWidget(splitter);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    // Name and value of every column at the cursor; the names are put in by
    // ApplyLanguage.
    values = new QTableWidget(static_cast<int>(log.columns.size()) + 1, 2, right);
    values->setObjectName("LogValues");
    values->setEditTriggers(QAbstractItemView::NoEditTriggers);
    values->verticalHeader()->hide();
    values->verticalHeader()->setDefaultSectionSize(values->fontMetrics().height() + 4);
    values->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    values->horizontalHeader()->setStretchLastSection(true);
    for (int r = 0; r < values->rowCount(); ++r)
        for (int c = 0; c < 2; ++c)
            values->setItem(r, c, new QTableWidgetItem);
    rightLayout->addWidget(values, 1);
    // The cell in use at the cursor, and the time the log spent in each
    // cell, counted on the log's own map.
    mapTabs = new QTabWidget(right);
    mapTabs->setObjectName("LogMapTabs");
    BuildMapTable();
    auto* mapPage = new QWidget(mapTabs);
    auto* mapLayout = new QVBoxLayout(mapPage);
    mapLayout->setContentsMargins(2, 2, 2, 2);
    mapLayout->addWidget(map, 0, Qt::AlignHCenter | Qt::AlignTop);
    mapTabs->addTab(mapPage, QString());
    timeView = new TimeInCellView(logCells, mapTabs);
    timeView->setObjectName("LogTimeInCell");
    if (CountLogCells(log, logCells)) {
        // The count's columns are those of the last map, as "orna5ctl cells"
        // prints them.
        ParameterImage last = mapImage;
        bool lastUsesTps = tpsRowsUsed;
        if (const LogHeader* lastMap = MapAt(static_cast<int>(log.Rows()) - 1)) {
            std::copy(lastMap->mapRpm.begin(), lastMap->mapRpm.end(), last.begin() + field::mapRpm);
            std::copy(lastMap->advanceMap.begin(), lastMap->advanceMap.end(),
                      last.begin() + field::advanceMap);
            lastUsesTps = lastMap->mapUsesTps;
        }
        TimeInCellView::Map shown = TimeInCellView::MapOf(last);
        shown.tpsRowsUsed = lastUsesTps;
        timeView->SetMap(shown);
    }
    mapTabs->addTab(timeView, QString());
    mapTabs->setTabEnabled(1, log.header.hasMap);
    rightLayout->addWidget(mapTabs);
    splitter->addWidget(right);
    // The side pane as wide as the whole map table, the rest for the chart.
    // The seconds of a long log need wider cells than the map's degrees.
    timeView->setFixedHeight(timeView->FittingHeight());
    const int frame = 2 * mapTabs->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 4;
    right->setFixedWidth(std::max(map->width(), timeView->minimumWidth()) + frame);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    tabs->addTab(splitter, QString());
    pulls = new PullsPane(document, path, log, tabs);
    tabs->addTab(pulls, QString());
    // The pulls are found when first asked for: most logs are opened to be
    // looked at over time.
    connect(tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (tabs->widget(index) == pulls)
            pulls->Ensure();
    });
    layout->addWidget(tabs, 1);

    BuildChart();
    cursorLine = new QGraphicsLineItem(chart);
    cursorLine->setPen(QPen(kCursorColour, 1.5));
    cursorLine->setZValue(100);
    connect(chart, &QChart::plotAreaChanged, this, [this] { PlaceCursorLine(); });
    connect(timeAxis, &QValueAxis::rangeChanged, this, [this] { PlaceCursorLine(); });
    connect(slider, &QSlider::valueChanged, this, &LogChartWindow::SetCursorRow);

    connect(&document, &Document::LanguageChanged, this, &LogChartWindow::ApplyLanguage);
    ApplyLanguage();
    SetCursorRow(0);
}

// One quantity over time. Where the unit was silent for a while the line
// breaks instead of bridging the gap with values nobody measured: each
// stretch is a series of its own, and only the first shows in the legend.
QLineSeries* LogChartWindow::AddSeries(const std::string& column, QValueAxis* axis,
                                       const QColor& colour) {
    const int index = log.Column(column);
    if (index < 0)
        return nullptr;
    const double scale = ScaleOf(column);
    const std::vector<float>& data = log.values[index];
    QLineSeries* first = nullptr;
    QList<QPointF> points;
    const auto flush = [&] {
        if (points.isEmpty())
            return;
        auto* series = new QLineSeries(chart);
        series->replace(points);
        series->setPen(QPen(colour, 1));
        chart->addSeries(series);
        series->attachAxis(timeAxis);
        series->attachAxis(axis);
        if (first)
            chart->legend()->markers(series).value(0)->setVisible(false);
        else
            first = series;
        points.clear();
    };
    double last = 0;
    for (std::size_t r = 0; r < data.size(); ++r) {
        if (std::isnan(data[r]))
            continue;
        if (!points.isEmpty() && log.seconds[r] - last > kGapSeconds)
            flush();
        points.append(QPointF(log.seconds[r], data[r] * scale));
        last = log.seconds[r];
    }
    flush();
    return first;
}

void LogChartWindow::BuildChart() {
    timeAxis = MakeAxis(chart, Qt::AlignBottom, Qt::black);
    rpmAxis = MakeAxis(chart, Qt::AlignLeft, QColor(0, 0, 180));
    percentAxis = MakeAxis(chart, Qt::AlignRight, QColor(0, 120, 0));
    voltAxis = MakeAxis(chart, Qt::AlignRight, QColor(150, 80, 0));
    voltAxis->setLabelFormat("%.0f");

    rpmSeries = AddSeries("rpm", rpmAxis, QColor(0, 0, 180));
    throttleSeries = AddSeries("tps_percent", percentAxis, QColor(0, 150, 0));
    supplySeries = AddSeries("supply_mv", voltAxis, QColor(150, 80, 0));
    const QColor advanceColours[4] = {QColor(200, 0, 160), QColor(230, 120, 0), QColor(0, 160, 200),
                                      QColor(120, 120, 120)};
    for (int c = 1; c <= 4; ++c)
        if (QLineSeries* series =
                AddSeries("advance" + std::to_string(c), percentAxis, advanceColours[c - 1]))
            advanceSeries.emplace_back(c, series);

    const double end = log.seconds.empty() ? 1 : std::max(1.0, log.seconds.back());
    timeAxis->setRange(0, end);
    double highestRpm = 1000;
    if (const int rpm = log.Column("rpm"); rpm >= 0)
        for (double v : log.values[rpm])
            if (!std::isnan(v))
                highestRpm = std::max(highestRpm, v);
    rpmAxis->setRange(0, std::ceil(highestRpm / 1000) * 1000);
    percentAxis->setRange(0, 100);
    voltAxis->setRange(0, 20);
    for (QValueAxis* axis : {rpmAxis, percentAxis, voltAxis})
        axis->setTickCount(6);
}

void LogChartWindow::BuildMapTable() {
    map = new QTableWidget(kMapRows, kAxisPoints, this);
    map->setObjectName("LogMap");
    map->setEditTriggers(QAbstractItemView::NoEditTriggers);
    map->setSelectionMode(QAbstractItemView::NoSelection);
    map->setFocusPolicy(Qt::NoFocus);
    map->verticalHeader()->setDefaultSectionSize(map->fontMetrics().height() + 4);
    QStringList rows;
    // Throttle rows from the closed throttle down, as the Advance page and
    // the map table show them.
    for (std::size_t r = 0; r < kMapRows; ++r)
        rows << QString::fromStdString(TpsRowLabel(r));
    map->setVerticalHeaderLabels(rows);
    for (std::size_t c = 0; c < kAxisPoints; ++c)
        map->setHorizontalHeaderItem(static_cast<int>(c), new QTableWidgetItem);
    for (int r = 0; r < static_cast<int>(kMapRows); ++r)
        for (std::size_t c = 0; c < kAxisPoints; ++c) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            map->setItem(r, static_cast<int>(c), item);
        }
    if (const LogHeader* first = MapAt(0))
        ShowMap(*first);
    else
        ShowMap(LogHeader()); // the document's map, as it is
    // Every column as wide as the widest rpm point needs, five digits and all.
    QHeaderView* header = map->horizontalHeader();
    header->resizeSections(QHeaderView::ResizeToContents);
    int cell = map->fontMetrics().horizontalAdvance("0000") + 6;
    for (int c = 0; c < header->count(); ++c)
        cell = std::max(cell, header->sectionSize(c));
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setDefaultSectionSize(cell);
    for (int c = 0; c < header->count(); ++c)
        header->resizeSection(c, cell);
    map->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    map->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    map->setFixedSize(map->verticalHeader()->sizeHint().width() +
                          static_cast<int>(kAxisPoints) * cell + 2 * map->frameWidth(),
                      map->horizontalHeader()->sizeHint().height() +
                          static_cast<int>(kMapRows) * map->verticalHeader()->defaultSectionSize() +
                          2 * map->frameWidth());
}

void LogChartWindow::ShowMap(const LogHeader& shown) {
    if (shown.hasMap) {
        tpsRowsUsed = shown.mapUsesTps;
        std::copy(shown.mapRpm.begin(), shown.mapRpm.end(), mapImage.begin() + field::mapRpm);
        std::copy(shown.advanceMap.begin(), shown.advanceMap.end(),
                  mapImage.begin() + field::advanceMap);
        shownMap = &shown;
    }
    for (std::size_t c = 0; c < kAxisPoints; ++c)
        map->horizontalHeaderItem(static_cast<int>(c))
            ->setText(QString::number(Shown(fieldScale::mapRpm, mapImage[field::mapRpm + c])));
    for (int r = 0; r < static_cast<int>(kMapRows); ++r)
        for (std::size_t c = 0; c < kAxisPoints; ++c)
            map->item(r, static_cast<int>(c))->setText(QString::number(mapImage[MapCell(r, c)]));
}

const LogHeader* LogChartWindow::MapAt(int row) const {
    // The changes come in row order; the last that began at or before the row.
    const auto after = std::upper_bound(
        log.maps.begin(), log.maps.end(), static_cast<std::size_t>(std::max(row, 0)),
        [](std::size_t r, const LogMapChange& change) { return r < change.firstRow; });
    if (after != log.maps.begin())
        return &std::prev(after)->map;
    return log.header.hasMap ? &log.header : nullptr;
}

void LogChartWindow::ApplyLanguage() {
    const int language = document.Language();
    const auto text = [language](ViewText id) {
        return QString::fromStdString(TextIn(id, language));
    };
    setWindowTitle(text(ViewText::LogTitle).arg(QFileInfo(path).fileName()));
    const auto or_ = [](const std::string& value, const QString& otherwise) {
        return value.empty() ? otherwise : QString::fromStdString(value);
    };
    QString header =
        text(ViewText::LogUnit).arg(or_(log.header.unitVersion, text(ViewText::NotKnown))) +
        "    " +
        text(ViewText::LogParameterFile).arg(or_(log.header.parameterFile, text(ViewText::NoFile)));
    if (log.skippedLines)
        header += "    " + text(ViewText::LogSkipped).arg(log.skippedLines);
    info->setText(header + "\n" + QDir::toNativeSeparators(path));
    timeAxis->setTitleText(text(ViewText::AxisTime));
    rpmAxis->setTitleText(text(ViewText::AxisRpm));
    percentAxis->setTitleText(text(ViewText::AxisPercentDegree));
    voltAxis->setTitleText(text(ViewText::SeriesSupply));
    if (rpmSeries)
        rpmSeries->setName(QuantityName("rpm", language));
    if (throttleSeries)
        throttleSeries->setName(QuantityName("tps_percent", language));
    if (supplySeries)
        supplySeries->setName(QuantityName("supply_mv", language));
    for (const auto& [channel, series] : advanceSeries)
        series->setName(QuantityName("advance" + std::to_string(channel), language));
    values->setHorizontalHeaderLabels(
        {text(ViewText::QuantityColumn), text(ViewText::ValueColumn)});
    values->item(0, 0)->setText(QuantityName("time", language));
    for (std::size_t c = 0; c < log.columns.size(); ++c)
        values->item(static_cast<int>(c) + 1, 0)->setText(QuantityName(log.columns[c], language));
    mapTabs->setTabText(0, text(ViewText::MapCellInUse));
    mapTabs->setTabText(1, QString::fromStdString(TextIn(MapText::TimeInCellTab, language)));
    mapTabs->setTabToolTip(1, log.header.hasMap ? QString() : text(ViewText::LogWithoutMap));
    timeView->SetLanguage(language);
    tabs->setTabText(0, QString::fromStdString(TextIn(RideText::ChartTab, language)));
    tabs->setTabText(1, QString::fromStdString(TextIn(RideText::PullsTab, language)));
    const auto spoken = [language](AccessText id) {
        return QString::fromStdString(TextIn(id, language));
    };
    SetReaderName(tabs, spoken(AccessText::Tabs).arg(windowTitle()));
    SetReaderName(view, spoken(AccessText::Chart).arg(tabs->tabText(0)));
    SetReaderName(slider, spoken(AccessText::LogCursor));
    SetReaderName(values, spoken(AccessText::LogValues));
    SetReaderName(mapTabs, spoken(AccessText::Tabs).arg(spoken(AccessText::LogMap)));
    SetReaderName(map, mapTabs->tabText(0));
    SetReaderName(timeView, mapTabs->tabText(1));
    pulls->ApplyLanguage();
}

void LogChartWindow::ShowPulls() {
    tabs->setCurrentWidget(pulls);
}

double LogChartWindow::ValueAt(const std::string& column, int row) const {
    const int index = log.Column(column);
    return index < 0 ? std::nan("") : log.values[index][row];
}

void LogChartWindow::SetCursorRow(int row) {
    if (log.Rows() == 0)
        return;
    row = std::clamp(row, 0, static_cast<int>(log.Rows()) - 1);
    if (slider->value() != row) {
        slider->setValue(row); // comes back here through valueChanged
        return;
    }
    cursorRow = row;
    values->item(0, 1)->setText(QString::fromStdString(log.TimeText(row)));
    for (std::size_t c = 0; c < log.columns.size(); ++c)
        values->item(static_cast<int>(c) + 1, 1)
            ->setText(NumberText(log.values[c][row] * ScaleOf(log.columns[c])));

    if (const LogHeader* inForce = MapAt(row); inForce && inForce != shownMap) {
        if (cursorMapRow >= 0 && cursorMapColumn >= 0)
            map->item(cursorMapRow, cursorMapColumn)->setBackground(QBrush());
        cursorMapColumn = -1;
        ShowMap(*inForce);
    }
    const auto whole = [](double v, double top) {
        return std::isnan(v) ? 0.0 : std::clamp(v, 0.0, top);
    };
    const LivePosition live = MarkLivePosition(
        static_cast<std::uint16_t>(whole(ValueAt("rpm", row), 65535)),
        static_cast<std::uint8_t>(whole(ValueAt("tps_percent", row), 255)),
        static_cast<std::uint16_t>(whole(ValueAt("tps_mv", row), 65535)), mapImage, tpsRowsUsed);
    if (cursorMapRow >= 0 && cursorMapColumn >= 0)
        map->item(cursorMapRow, cursorMapColumn)->setBackground(QBrush());
    cursorMapRow = live.tpsRow;
    cursorMapColumn = live.belowMapAxis ? -1 : live.mapRpmColumn;
    if (cursorMapColumn >= 0)
        map->item(cursorMapRow, cursorMapColumn)->setBackground(kCellInUse);
    std::optional<std::pair<int, int>> cell;
    if (cursorMapColumn >= 0)
        cell = std::pair{cursorMapRow, cursorMapColumn};
    timeView->Refresh(cell, {});
    PlaceCursorLine();
}

void LogChartWindow::PlaceCursorLine() {
    if (!cursorLine || cursorRow < 0 || !rpmSeries) {
        if (cursorLine)
            cursorLine->hide();
        return;
    }
    const QRectF area = chart->plotArea();
    const double x = chart->mapToPosition(QPointF(log.seconds[cursorRow], 0), rpmSeries).x();
    cursorLine->setVisible(x >= area.left() - 0.5 && x <= area.right() + 0.5);
    cursorLine->setLine(x, area.top(), x, area.bottom());
}

int LogChartWindow::RowAt(double seconds) const {
    const auto at = std::lower_bound(log.seconds.begin(), log.seconds.end(), seconds);
    if (at == log.seconds.end())
        return static_cast<int>(log.Rows()) - 1;
    int row = static_cast<int>(at - log.seconds.begin());
    if (row > 0 && seconds - log.seconds[row - 1] < *at - seconds)
        --row;
    return row;
}

// Left button: put the cursor where the mouse is. Wheel: zoom the time
// around the mouse. Right button: the whole log again.
bool LogChartWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != view->viewport() || !rpmSeries || log.Rows() == 0)
        return QWidget::eventFilter(watched, event);
    const auto chartPoint = [this](const QPointF& viewPos) {
        return chart->mapFromScene(view->mapToScene(viewPos.toPoint()));
    };
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::RightButton) {
            chart->zoomReset();
            return true;
        }
        if (!(mouse->buttons() & Qt::LeftButton))
            break;
        const QPointF value = chart->mapToValue(chartPoint(mouse->position()), rpmSeries);
        SetCursorRow(RowAt(value.x()));
        slider->setFocus();
        return true;
    }
    case QEvent::Wheel: {
        auto* wheel = static_cast<QWheelEvent*>(event);
        const QRectF area = chart->plotArea();
        const double x = std::clamp(chartPoint(wheel->position()).x(), area.left(), area.right());
        const double factor = wheel->angleDelta().y() > 0 ? 0.8 : 1.25;
        chart->zoomIn(QRectF(x - (x - area.left()) * factor, area.top(), area.width() * factor,
                             area.height()));
        const double end = log.seconds.back();
        if (timeAxis->max() - timeAxis->min() >= end || timeAxis->min() < 0 ||
            timeAxis->max() > std::max(1.0, end))
            chart->zoomReset();
        return true;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace orna5
