#include "app/views/PullsPane.h"

#include "app/Document.h"
#include "app/FileDialog.h"
#include "app/views/CompareWindow.h"
#include "files/LogTime.h"
#include "files/MonitorLog.h"
#include "lang/PullTexts.h"
#include "lang/RideTexts.h"
#include "lang/ViewTexts.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace orna5 {

namespace {

// One colour per log, in the order they were added.
const QColor kLogColours[PullsPane::kMostLogs] = {QColor(0, 70, 200), QColor(210, 40, 0),
                                                  QColor(0, 150, 60), QColor(160, 0, 170)};

// Where a pull item keeps its log and its place in that log.
constexpr int kLogRole = Qt::UserRole;
constexpr int kPullRole = Qt::UserRole + 1;

// A within-bands difference is marked, so it does not read as a result.
constexpr const char* kWithinMark = "≈ ";

QString Text(RideText id, int language) {
    return QString::fromStdString(TextIn(id, language));
}

QString Text(PullText id, int language) {
    return QString::fromStdString(TextIn(id, language));
}

// "10:02:03" of a log's time, as the pull list shows when a pull began.
QString ClockText(const LogTime& time) {
    const std::string full = FormatLogTime(time);
    const std::size_t t = full.find('T');
    return QString::fromStdString(t == std::string::npos ? full : full.substr(t + 1, 8));
}

} // namespace

PullsPane::PullsPane(Document& doc, const QString& path, const MonitorLog& log, QWidget* parent)
    : QWidget(parent), document(doc), firstPath(path), firstLog(log) {
    setObjectName("PullsPane");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);

    auto* bar = new QHBoxLayout;
    gearLabel = new QLabel(this);
    bar->addWidget(gearLabel);
    gear = new QComboBox(this);
    gear->setObjectName("PullGear");
    gear->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    bar->addWidget(gear);
    addLog = new QPushButton(this);
    addLog->setObjectName("AddPullLog");
    bar->addWidget(addLog);
    compareMap = new QPushButton(this);
    compareMap->setObjectName("ComparePullMap");
    compareMap->setEnabled(false);
    bar->addWidget(compareMap);
    note = new QLabel(this);
    note->setObjectName("PullNote");
    bar->addWidget(note, 1);
    layout->addLayout(bar);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    chart = new QChart;
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->legend()->setAlignment(Qt::AlignTop);
    view = new QChartView(chart, splitter);
    view->setObjectName("PullChart");
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumHeight(240);
    rpmAxis = new QValueAxis(chart);
    rpmAxis->setLabelFormat("%d");
    rpmAxis->setTickType(QValueAxis::TicksDynamic);
    rpmAxis->setTickAnchor(0);
    rpmAxis->setTickInterval(1000);
    chart->addAxis(rpmAxis, Qt::AlignBottom);
    rateAxis = new QValueAxis(chart);
    rateAxis->setLabelFormat("%d");
    chart->addAxis(rateAxis, Qt::AlignLeft);
    splitter->addWidget(view);

    auto* below = new QSplitter(Qt::Horizontal, splitter);
    pullList = new QTreeWidget(below);
    pullList->setObjectName("PullList");
    pullList->setRootIsDecorated(true);
    pullList->setColumnCount(5);
    pullList->setUniformRowHeights(true);
    auto* tableSide = new QWidget(below);
    auto* tableLayout = new QVBoxLayout(tableSide);
    tableLayout->setContentsMargins(0, 0, 0, 0);
    table = new QTableWidget(tableSide);
    table->setObjectName("PullDifferences");
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
    tableLayout->addWidget(table, 1);
    legend = new QLabel(tableSide);
    legend->setWordWrap(true);
    tableLayout->addWidget(legend);
    maps = new QTreeWidget(below);
    maps->setObjectName("PullMaps");
    maps->setColumnCount(3);
    maps->setUniformRowHeights(true);
    below->addWidget(pullList);
    below->addWidget(tableSide);
    below->addWidget(maps);
    below->setSizes({380, 380, 380});
    splitter->addWidget(below);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setSizes({360, 240});
    layout->addWidget(splitter, 1);

    connect(gear, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] {
        if (!filling)
            Compare();
    });
    connect(pullList, &QTreeWidget::itemChanged, this, &PullsPane::PullToggled);
    connect(addLog, &QPushButton::clicked, this, &PullsPane::ChooseLog);
    connect(compareMap, &QPushButton::clicked, this, &PullsPane::CompareChosenMap);
    connect(maps, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        QTreeWidgetItem* top = item;
        while (top && top->parent())
            top = top->parent();
        const int index = top ? maps->indexOfTopLevelItem(top) : -1;
        compareMap->setEnabled(index >= 0 && logs[static_cast<std::size_t>(index)].header.hasMap);
    });
    ApplyLanguage();
}

void PullsPane::Ensure() {
    if (found)
        return;
    found = true;
    PullLog first;
    first.path = firstPath.toStdString();
    FindPulls(firstLog, first);
    logs.insert(logs.begin(), std::move(first));
    paths.insert(paths.begin(), firstPath);
    Compare();
}

bool PullsPane::AddLog(const QString& path, const MonitorLog& log) {
    Ensure();
    if (logs.size() >= kMostLogs)
        return false;
    PullLog added;
    added.path = path.toStdString();
    FindPulls(log, added);
    logs.push_back(std::move(added));
    paths.push_back(path);
    Compare();
    return true;
}

bool PullsPane::Compares(const QString& path) const {
    const QFileInfo file(path);
    const auto same = [&file](const QString& other) {
        const QFileInfo compared(other);
        const QString canonical = file.canonicalFilePath();
        return canonical.isEmpty() || compared.canonicalFilePath().isEmpty()
                   ? file.absoluteFilePath() == compared.absoluteFilePath()
                   : canonical == compared.canonicalFilePath();
    };
    return same(firstPath) || std::any_of(paths.begin(), paths.end(), same);
}

bool PullsPane::Full() const {
    return std::max<std::size_t>(logs.size(), 1) >= kMostLogs;
}

void PullsPane::ChooseLog() {
    const QString start = paths.empty() ? firstPath : paths.back();
    const QString path = ChooseFile(
        this, {"AddPullLogDialog",
               addLog->text(),
               QFileDialog::AcceptOpen,
               {QString::fromStdString(TextIn(ViewText::LogFilter, document.Language())),
                QString::fromStdString(TextIn(ViewText::AllFilesFilter, document.Language()))},
               {},
               QFileInfo(start).absolutePath()});
    if (!path.isEmpty())
        emit AddLogChosen(path);
}

// The gear chosen, the pulls left out: compared again and shown, all of it,
// for the comparison is quick next to the finding.
void PullsPane::Compare() {
    const int chosenGear = gear->currentData().toInt();
    comparison = ComparePulls(logs, chosenGear);
    filling = true;
    FillGears();
    FillPullList();
    filling = false;
    FillChart();
    FillTable();
    FillMaps();
    addLog->setEnabled(logs.size() < kMostLogs);
    const int language = document.Language();
    QStringList notes;
    for (std::size_t l = 0; l < comparison.logs.size(); ++l) {
        if (comparison.logs[l].pulls > 0)
            continue;
        // Pulls there are, but the user left every one out: the log is not
        // to blame.
        const std::vector<Pull>& pulls = logs[l].pulls;
        const bool leftOut = std::any_of(pulls.begin(), pulls.end(), [chosenGear](const Pull& p) {
            return chosenGear == 0 || p.gear == chosenGear;
        });
        QString why;
        if (leftOut)
            why = chosenGear ? Text(RideText::AllInGearLeftOut, language).arg(chosenGear)
                             : Text(RideText::AllLeftOut, language);
        else
            why = chosenGear ? Text(PullText::NoPullInGear, language).arg(chosenGear)
                             : Text(PullText::NoPull, language).arg(PullRules{}.minTps);
        notes << Text(PullText::LogColumn, language).arg(l + 1) + ": " + why;
    }
    note->setText(notes.join("; "));
}

void PullsPane::FillGears() {
    const int chosen = gear->currentData().toInt();
    int highest = 0;
    for (const PullLog& log : logs)
        for (const Pull& pull : log.pulls)
            highest = std::max(highest, pull.gear);
    gear->clear();
    gear->addItem(Text(RideText::AllGears, document.Language()), 0);
    for (int g = 1; g <= std::max(highest, chosen); ++g)
        gear->addItem(QString::number(g), g);
    gear->setCurrentIndex(std::max(0, gear->findData(chosen)));
}

void PullsPane::FillPullList() {
    const int language = document.Language();
    const int chosenGear = gear->currentData().toInt();
    pullList->clear();
    for (std::size_t l = 0; l < logs.size(); ++l) {
        const PullLog& log = logs[l];
        auto* top = new QTreeWidgetItem(pullList);
        top->setText(
            0, Text(RideText::PullsHeading, language).arg(l + 1).arg(comparison.logs[l].pulls));
        top->setToolTip(0, QDir::toNativeSeparators(paths[l]));
        top->setForeground(0, kLogColours[l]);
        top->setFirstColumnSpanned(true);
        top->setFlags(Qt::ItemIsEnabled);
        for (std::size_t p = 0; p < log.pulls.size(); ++p) {
            const Pull& pull = log.pulls[p];
            auto* item = new QTreeWidgetItem(top);
            item->setText(0, QString::number(p + 1));
            item->setText(1, ClockText(pull.start));
            item->setText(
                2, QString("%1-%2").arg(std::lround(pull.lowRpm)).arg(std::lround(pull.highRpm)));
            item->setText(3, QString::number(pull.seconds, 'f', 1));
            item->setText(4, pull.gear ? QString::number(pull.gear) : QString("?"));
            item->setData(0, kLogRole, static_cast<int>(l));
            item->setData(0, kPullRole, static_cast<int>(p));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
            item->setCheckState(0, pull.excluded ? Qt::Unchecked : Qt::Checked);
            // A pull of another gear than the one chosen takes no part.
            if (chosenGear && pull.gear != chosenGear)
                item->setForeground(0, palette().color(QPalette::Disabled, QPalette::Text));
        }
        top->setExpanded(true);
    }
    for (int c = 0; c < pullList->columnCount(); ++c)
        pullList->resizeColumnToContents(c);
}

void PullsPane::PullToggled(QTreeWidgetItem* item, int column) {
    if (filling || column != 0 || !item->parent())
        return;
    const auto l = static_cast<std::size_t>(item->data(0, kLogRole).toInt());
    const auto p = static_cast<std::size_t>(item->data(0, kPullRole).toInt());
    if (l >= logs.size() || p >= logs[l].pulls.size())
        return;
    const bool excluded = item->checkState(0) != Qt::Checked;
    if (logs[l].pulls[p].excluded == excluded)
        return;
    logs[l].pulls[p].excluded = excluded;
    // The list is filled anew after the signal returns: the item stays valid
    // for the view that sent it.
    QMetaObject::invokeMethod(this, &PullsPane::Compare, Qt::QueuedConnection);
}

void PullsPane::FillChart() {
    const int language = document.Language();
    chart->removeAllSeries();
    double lowRpm = 1e9, highRpm = 0, highRate = 0;
    for (std::size_t l = 0; l < comparison.logs.size(); ++l) {
        const std::vector<RateBand>& bands = comparison.logs[l].bands;
        if (bands.empty())
            continue;
        auto* low = new QLineSeries(chart);
        auto* high = new QLineSeries(chart);
        auto* mean = new QLineSeries(chart);
        for (const RateBand& band : bands) {
            low->append(band.rpm, band.low);
            high->append(band.rpm, band.high);
            mean->append(band.rpm, band.mean);
            lowRpm = std::min(lowRpm, static_cast<double>(band.rpm));
            highRpm = std::max(highRpm, static_cast<double>(band.rpm));
            highRate = std::max(highRate, band.high);
        }
        auto* area = new QAreaSeries(high, low);
        area->setParent(chart);
        QColor fill = kLogColours[l];
        fill.setAlpha(55);
        area->setBrush(fill);
        area->setPen(QPen(fill.darker(110), 0.5));
        chart->addSeries(area);
        area->attachAxis(rpmAxis);
        area->attachAxis(rateAxis);
        chart->legend()->markers(area).value(0)->setVisible(false);
        mean->setPen(QPen(kLogColours[l], 2));
        mean->setName(Text(PullText::LogColumn, language).arg(l + 1));
        chart->addSeries(mean);
        mean->attachAxis(rpmAxis);
        mean->attachAxis(rateAxis);
    }
    if (highRpm <= 0) {
        lowRpm = 0;
        highRpm = 10000;
        highRate = 1000;
    }
    rpmAxis->setRange(std::floor(lowRpm / 1000) * 1000, std::ceil(highRpm / 1000) * 1000);
    rateAxis->setRange(0, std::ceil(highRate * 1.1 / 500) * 500);
    rateAxis->setTickCount(6);
}

// A row per 500 rpm that any log has a rate at: the first log's mean, then
// each added log's difference from it.
void PullsPane::FillTable() {
    const int language = document.Language();
    std::vector<int> rows;
    for (int rpm : comparison.rpms)
        if (rpm % kDifferenceStepRpm == 0)
            rows.push_back(rpm);
    const int columns = static_cast<int>(std::max<std::size_t>(1, logs.size()));
    table->clear();
    table->setRowCount(static_cast<int>(rows.size()));
    table->setColumnCount(columns);
    QStringList headers{Text(RideText::MeanColumn, language)};
    for (int l = 1; l < columns; ++l)
        headers << Text(PullText::VersusColumn, language).arg(l + 1);
    table->setHorizontalHeaderLabels(headers);
    QStringList rowNames;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int rpm = rows[r];
        rowNames << Text(RideText::RpmRow, language).arg(rpm);
        auto* first = new QTableWidgetItem;
        if (const RateBand* band = comparison.Band(0, rpm))
            first->setText(QString::number(std::lround(band->mean)));
        first->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table->setItem(static_cast<int>(r), 0, first);
        for (int l = 1; l < columns; ++l) {
            auto* cell = new QTableWidgetItem;
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (const RateDifference* d = comparison.Difference(static_cast<std::size_t>(l), rpm)) {
                const QString number =
                    QString("%1%2 %").arg(d->percent > 0 ? "+" : "").arg(d->percent, 0, 'f', 1);
                cell->setText(d->insideBands ? kWithinMark + number : number);
                cell->setToolTip(
                    Text(d->insideBands ? PullText::WithinBands : PullText::BeyondBands, language));
                if (d->insideBands)
                    cell->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
                else
                    cell->setForeground(d->percent > 0 ? QColor(0, 120, 0) : QColor(180, 0, 0));
            }
            table->setItem(static_cast<int>(r), l, cell);
        }
    }
    table->setVerticalHeaderLabels(rowNames);
    table->resizeColumnsToContents();
    legend->setText(Text(RideText::WithinLegend, language));
}

// Each log's tune, and where the map of an added log differs from the
// first's, cell by cell with both values.
void PullsPane::FillMaps() {
    const int language = document.Language();
    maps->clear();
    maps->setHeaderLabels({QString(), Text(PullText::LogColumn, language).arg(1), QString()});
    for (std::size_t l = 0; l < comparison.logs.size(); ++l) {
        const LogRates& rates = comparison.logs[l];
        auto* top = new QTreeWidgetItem(maps);
        top->setText(
            0, Text(PullText::LogHeading, language).arg(l + 1).arg(QFileInfo(paths[l]).fileName()));
        top->setToolTip(0, QDir::toNativeSeparators(paths[l]));
        top->setForeground(0, kLogColours[l]);
        top->setFirstColumnSpanned(true);
        const std::string& tune = rates.map.tune.empty() ? logs[l].header.tune : rates.map.tune;
        auto* tuneItem = new QTreeWidgetItem(top);
        tuneItem->setText(
            0, Text(PullText::TuneLine, language)
                   .arg(tune.empty() ? QString::fromStdString(TextIn(ViewText::NotKnown, language))
                                     : QString::fromStdString(tune)));
        tuneItem->setFirstColumnSpanned(true);
        if (rates.severalMaps) {
            auto* several = new QTreeWidgetItem(top);
            several->setText(0, Text(PullText::SeveralMaps, language).arg(l + 1));
            several->setFirstColumnSpanned(true);
        }
        if (l > 0) {
            auto* mapNote = new QTreeWidgetItem(top);
            mapNote->setFirstColumnSpanned(true);
            if (!rates.mapsKnown)
                mapNote->setText(0, Text(PullText::MapNotKnown, language).arg(l + 1));
            else if (rates.mapDifferences.empty())
                mapNote->setText(0, Text(PullText::SameMap, language).arg(l + 1));
            else
                mapNote->setText(0, Text(PullText::OtherMap, language).arg(l + 1));
            for (const ParameterDifference& d : rates.mapDifferences) {
                auto* cell = new QTreeWidgetItem(top);
                cell->setText(0, CompareWindow::NameText(d, language));
                cell->setText(1, CompareWindow::ValueText(d.left.value, language));
                cell->setText(2, CompareWindow::ValueText(d.rightValue, language));
                cell->setForeground(2, kLogColours[l]);
            }
        }
        top->setExpanded(true);
    }
    for (int c = 0; c < maps->columnCount(); ++c)
        maps->resizeColumnToContents(c);
}

// The map a log ran on, with the window's other parameters, so the compare
// list shows only where the maps differ and can take cells into the window.
void PullsPane::CompareChosenMap() {
    QTreeWidgetItem* item = maps->currentItem();
    while (item && item->parent())
        item = item->parent();
    const int index = item ? maps->indexOfTopLevelItem(item) : -1;
    if (index < 0 || static_cast<std::size_t>(index) >= comparison.logs.size())
        return;
    const LogHeader& map = comparison.logs[static_cast<std::size_t>(index)].map;
    if (!map.hasMap)
        return;
    ParameterImage image = document.Image();
    image[field::mapUsesTps] = map.mapUsesTps ? 1 : 0;
    std::copy(map.mapRpm.begin(), map.mapRpm.end(), image.begin() + field::mapRpm);
    std::copy(map.advanceMap.begin(), map.advanceMap.end(), image.begin() + field::advanceMap);
    emit CompareMapRequested(paths[static_cast<std::size_t>(index)], image);
}

void PullsPane::ApplyLanguage() {
    const int language = document.Language();
    gearLabel->setText(Text(RideText::GearLabel, language));
    addLog->setText(Text(RideText::AddLog, language));
    compareMap->setText(Text(RideText::CompareMap, language));
    pullList->setHeaderLabels(
        {Text(PullText::PullColumn, language), Text(PullText::StartColumn, language),
         Text(PullText::RpmColumn, language), Text(PullText::SecondsColumn, language),
         Text(PullText::GearColumn, language)});
    rpmAxis->setTitleText(Text(PullText::RpmColumn, language));
    rateAxis->setTitleText(Text(RideText::RateAxis, language));
    if (found)
        Compare();
    else if (gear->count() == 0)
        gear->addItem(Text(RideText::AllGears, language), 0);
}

} // namespace orna5
