#pragma once

#include "device/TimeInCell.h"
#include "files/MonitorLog.h"
#include "params/ParameterImage.h"

#include <QString>
#include <QWidget>

#include <vector>

class QChart;
class QColor;
class QChartView;
class QGraphicsLineItem;
class QLabel;
class QLineSeries;
class QSlider;
class QTabWidget;
class QTableWidget;
class QValueAxis;

namespace orna5 {

class Document;
class PullsPane;
class TimeInCellView;

// A data log played back as a chart over time: engine speed, throttle,
// supply voltage and each channel's advance, with a cursor that shows every
// value of one row and the map cell the unit was using then. The map is the
// one the log names, or one programmed while recording from its row on; a
// log without one is shown against the document's map. Beside the cell in
// use, the time the log spent in each cell, each row on its own map. A
// second tab compares the log's pulls with those of other logs.
class LogChartWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kSettingsSection = "DATA_LOG_CHART";

    LogChartWindow(Document& document, const QString& path, MonitorLog log);

    void ApplyLanguage();
    void SetCursorRow(int row);
    int CursorRow() const { return cursorRow; }
    // Map row (throttle) and column (rpm point) in use at the cursor; the
    // column is -1 when the engine ran below the map's first rpm point.
    int CursorMapRow() const { return cursorMapRow; }
    int CursorMapColumn() const { return cursorMapColumn; }
    const MonitorLog& Log() const { return log; }
    QChartView* ChartView() const { return view; }
    // The Pulls tab; its pulls are found when it is first shown.
    PullsPane* Pulls() const { return pulls; }
    QTabWidget* Tabs() const { return tabs; }
    void ShowPulls();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildChart();
    void BuildMapTable();
    // Puts `shown` into mapImage and the map table: the header's map, or one
    // programmed while recording.
    void ShowMap(const LogHeader& shown);
    // The map in force at `row`: the last one programmed at or before it,
    // else the header's (null when the log names none).
    const LogHeader* MapAt(int row) const;
    QLineSeries* AddSeries(const std::string& column, QValueAxis* axis, const QColor& colour);
    void PlaceCursorLine();
    int RowAt(double seconds) const;
    double ValueAt(const std::string& column, int row) const;

    Document& document;
    QString path;
    MonitorLog log;
    ParameterImage mapImage{};
    bool tpsRowsUsed = false;
    const LogHeader* shownMap = nullptr; // the map mapImage holds now

    QLabel* info = nullptr;
    QTabWidget* tabs = nullptr;
    PullsPane* pulls = nullptr;
    QChart* chart = nullptr;
    QChartView* view = nullptr;
    QValueAxis* timeAxis = nullptr;
    QValueAxis* rpmAxis = nullptr;
    QValueAxis* percentAxis = nullptr;
    QValueAxis* voltAxis = nullptr;
    QLineSeries* rpmSeries = nullptr;
    QLineSeries* throttleSeries = nullptr;
    QLineSeries* supplySeries = nullptr;
    std::vector<std::pair<int, QLineSeries*>> advanceSeries; // channel 1..4
    QGraphicsLineItem* cursorLine = nullptr;
    QSlider* slider = nullptr;
    QTableWidget* values = nullptr;
    QTabWidget* mapTabs = nullptr;
    QTableWidget* map = nullptr;
    TimeInCell logCells;
    TimeInCellView* timeView = nullptr;
    int cursorRow = -1;
    int cursorMapRow = -1;
    int cursorMapColumn = -1;
};

} // namespace orna5
