#pragma once

#include "params/ParameterImage.h"
#include "ride/PullComparison.h"
#include "ride/PullFinder.h"

#include <QString>
#include <QWidget>

#include <vector>

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QValueAxis;

namespace orna5 {

class Document;
struct MonitorLog;

// The log viewer's Pulls tab: the rise rate over rpm of the pulls of its log
// and of up to three more logs, each as the band from its lowest to its
// highest pull beside their mean, so a tuner sees whether a new map changed
// more than one run differs from the next. Below, per 500 rpm, how far each
// added log's mean lies from the first's, the pulls to leave out, and what
// each log's map has different from the first's.
class PullsPane : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMostLogs = 4;

    PullsPane(Document& document, const QString& path, const MonitorLog& log, QWidget* parent);

    // Finds the pulls of the viewer's own log, once: when the tab is first
    // shown.
    void Ensure();
    // A further log; false when kMostLogs are compared already.
    bool AddLog(const QString& path, const MonitorLog& log);
    // Whether the file at `path` is one of the logs compared.
    bool Compares(const QString& path) const;
    bool Full() const;
    void ApplyLanguage();

    const std::vector<PullLog>& Logs() const { return logs; }
    const PullComparison& Comparison() const { return comparison; }
    QTreeWidget* PullList() const { return pullList; }
    QTableWidget* DifferenceTable() const { return table; }
    QTreeWidget* MapList() const { return maps; }
    QComboBox* GearChooser() const { return gear; }
    QChart* Chart() const { return chart; }

signals:
    // The user chose a log to add; the viewer's owner reads it.
    void AddLogChosen(const QString& path);
    // The map a log ran on, over the window's other parameters, to be listed
    // against the window.
    void CompareMapRequested(const QString& logPath, const orna5::ParameterImage& image);

private:
    void Compare();
    void FillPullList();
    void FillChart();
    void FillTable();
    void FillMaps();
    void FillGears();
    void PullToggled(QTreeWidgetItem* item, int column);
    void ChooseLog();
    void CompareChosenMap();

    Document& document;
    QString firstPath;
    const MonitorLog& firstLog;
    bool found = false;
    std::vector<PullLog> logs;
    std::vector<QString> paths;
    PullComparison comparison;
    bool filling = false;

    QLabel* gearLabel = nullptr;
    QComboBox* gear = nullptr;
    QPushButton* addLog = nullptr;
    QPushButton* compareMap = nullptr;
    QLabel* note = nullptr;
    QChart* chart = nullptr;
    QChartView* view = nullptr;
    QValueAxis* rpmAxis = nullptr;
    QValueAxis* rateAxis = nullptr;
    QTreeWidget* pullList = nullptr;
    QTableWidget* table = nullptr;
    QLabel* legend = nullptr;
    QTreeWidget* maps = nullptr;
};

} // namespace orna5
