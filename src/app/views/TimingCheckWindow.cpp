#include "app/views/TimingCheckWindow.h"

#include "app/Document.h"
#include "app/FileDialog.h"
#include "app/PrintSystem.h"
#include "app/widgets/ReaderName.h"
#include "device/MonitorPanel.h"
#include "disk/WholeFile.h"
#include "lang/AccessTexts.h"
#include "lang/Messages.h"
#include "lang/TimingTexts.h"
#include "params/TuneChecksum.h"

#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScatterSeries>
#include <QShortcut>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace orna5 {

namespace {

QString Text(TimingText id, int language) {
    return QString::fromStdString(TextIn(id, language));
}

// Degrees as the table shows them: up to two decimals, in the language's
// decimal sign.
QString Degrees(const std::optional<double>& value, int language) {
    if (!value)
        return QString();
    QString text = QString::number(std::round(*value * 100) / 100, 'f', 2);
    while (text.endsWith('0'))
        text.chop(1);
    if (text.endsWith('.'))
        text.chop(1);
    if (text == "-0")
        text = "0";
    return language == English ? text : text.replace('.', ',');
}

// A number typed by hand: a point or a comma, blanks around it.
std::optional<double> Typed(QString text) {
    text = text.trimmed().replace(',', '.');
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The file keeps thousandths; what the window holds is what it keeps.
double Thousandths(double value) {
    return std::round(value * 1000) / 1000;
}

// The table's editor hands what was entered to the window, also when it is
// the same text again: entering a reading again takes the unit's figures
// again.
class EntryDelegate : public QStyledItemDelegate {
public:
    EntryDelegate(TimingCheckWindow* window, QObject* parent)
        : QStyledItemDelegate(parent), window(window) {}
    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        auto* edit = qobject_cast<QLineEdit*>(editor);
        if (!edit)
            return;
        const bool next = movingOn;
        movingOn = false;
        window->EnterCell(index.row(), index.column(), edit->text());
        // Enter goes on to the next point's same cell, as a tuner reads one
        // speed after the other; leaving the cell otherwise stays put.
        if (next) {
            QTableWidget* table = window->Table();
            const int row = index.row() + 1, column = index.column();
            QMetaObject::invokeMethod(
                table,
                [table, row, column] {
                    if (row < table->rowCount())
                        table->setCurrentCell(row, column);
                },
                Qt::QueuedConnection);
        }
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            movingOn = key == Qt::Key_Return || key == Qt::Key_Enter;
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    TimingCheckWindow* window;
    mutable bool movingOn = false;
};

} // namespace

TimingCheckWindow::TimingCheckWindow(Document& doc, MessageSink sink, QString folder)
    : QWidget(doc.ViewParent(), Qt::Window), document(doc), showMessage(std::move(sink)),
      store(std::move(folder)) {
    setObjectName("TimingCheckWindow");
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
    resize(900, 620);
    clock.start();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    auto* top = new QHBoxLayout;
    live = new QLabel(this);
    live->setObjectName("TimingLive");
    top->addWidget(live, 1);
    compareLabel = new QLabel(this);
    top->addWidget(compareLabel);
    compare = new QComboBox(this);
    compare->setObjectName("TimingCompare");
    for (int channel = 0; channel <= static_cast<int>(kChannels); ++channel)
        compare->addItem(QString(), channel);
    compareLabel->setBuddy(compare);
    top->addWidget(compare);
    layout->addLayout(top);

    auto* split = new QSplitter(Qt::Vertical, this);
    table = new QTableWidget(0, ColumnCount, split);
    table->setObjectName("TimingTable");
    table->setItemDelegate(new EntryDelegate(this, table));
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    table->verticalHeader()->setVisible(false);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    split->addWidget(table);
    table->installEventFilter(this);

    auto* lower = new QWidget(split);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    chart = new QChart;
    chart->legend()->hide();
    chart->setMargins(QMargins(4, 4, 4, 4));
    axisX = new QValueAxis(chart);
    axisY = new QValueAxis(chart);
    // Whole speeds; "%d" is not a format the localized axis prints.
    axisX->setLabelFormat("%.0f");
    chart->addAxis(axisX, Qt::AlignBottom);
    chart->addAxis(axisY, Qt::AlignLeft);
    fitted = new QLineSeries(chart);
    fitted->setPen(QPen(QColor(200, 60, 40), 2, Qt::DashLine));
    differences = new QScatterSeries(chart);
    differences->setMarkerSize(10);
    differences->setColor(QColor(30, 90, 200));
    for (auto* series : std::initializer_list<QXYSeries*>{fitted, differences}) {
        chart->addSeries(series);
        series->attachAxis(axisX);
        series->attachAxis(axisY);
    }
    chartView = new QChartView(chart, lower);
    chartView->setObjectName("TimingChart");
    chartView->setRenderHint(QPainter::Antialiasing);
    chartView->setMinimumHeight(200);
    lowerLayout->addWidget(chartView, 1);
    verdict = new QLabel(lower);
    verdict->setObjectName("TimingVerdict");
    verdict->setWordWrap(true);
    QFont bold = verdict->font();
    bold.setBold(true);
    verdict->setFont(bold);
    lowerLayout->addWidget(verdict);
    split->addWidget(lower);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    layout->addWidget(split, 1);

    note = new QLabel(this);
    note->setObjectName("TimingNote");
    note->setWordWrap(true);
    layout->addWidget(note);
    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* name, auto command) {
        auto* push = new QPushButton(this);
        push->setObjectName(name);
        connect(push, &QPushButton::clicked, this, command);
        buttons->addWidget(push);
        return push;
    };
    addButton = button("TimingAddPoint", [this] { AddPoint(); });
    removeButton = button("TimingRemovePoint", [this] { RemovePoint(); });
    buttons->addStretch(1);
    keepButton = button("TimingKeep", [this] { Keep(); });
    printButton = button("TimingPrint", [this] { Print(); });
    exportButton = button("TimingExport", [this] { ExportCsv(); });
    layout->addLayout(buttons);

    // A new check: idle and every 1000 rpm up to the limiter, compared with
    // the figure the unit's display shows (channel 1 where it shows each).
    check.channel = document.Image()[field::bikeCode] == 22 ? 1 : kUnitFigure;
    for (int rpm : DefaultCheckRpms(document.Image())) {
        TimingPoint point;
        point.rpm = rpm;
        check.points.push_back(point);
    }
    connect(compare, qOverload<int>(&QComboBox::activated), this, [this] {
        check.channel = compare->currentData().toInt();
        Changed();
    });
    connect(&document, &Document::FrameAccepted, this, &TimingCheckWindow::Frame);
    connect(&document, &Document::LiveChanged, this, &TimingCheckWindow::ShowLive);
    connect(&document, &Document::LanguageChanged, this, &TimingCheckWindow::ApplyLanguage);
    ApplyLanguage();
}

TimingCheckWindow::~TimingCheckWindow() {
    const bool readings = std::any_of(check.points.begin(), check.points.end(),
                                      [](const TimingPoint& point) { return point.strobe; });
    if (unkept && readings) {
        // The program is ending: no window is left to tell a failure in,
        // so it goes to standard error rather than nowhere; only the first
        // line, as nothing stays in a window now. The document may be gone
        // already, so the language is the one last shown.
        QString file = path;
        QString reason;
        if (!store.Keep(Stamped(), file, &reason))
            qWarning().noquote() << Text(TimingText::KeepFailed, languageShown)
                                        .section('\n', 0, 0)
                                        .arg(QDir::toNativeSeparators(
                                                 file.isEmpty() ? store.Folder() : file),
                                             reason);
    }
}

double TimingCheckWindow::Now() const {
    return clock.elapsed() / 1000.0;
}

void TimingCheckWindow::Frame() {
    // A data log playing through the window is not the engine under the
    // strobe: its rows never count as the unit's advance, nor do they stay
    // in the average once the playback ends.
    if (document.Playing()) {
        average.Clear();
        return;
    }
    average.Add(Now(), ChannelAdvances(document.LastFrame().data()));
}

void TimingCheckWindow::ShowLive() {
    const int language = document.Language();
    const double now = Now();
    if (document.Playing()) {
        live->setText(Text(TimingText::PlayingLive, language));
        return;
    }
    if (!document.UnitAnswering() || !average.Fresh(now)) {
        live->setText(Text(TimingText::NoLive, language));
        return;
    }
    TimingPoint point;
    point.unit = average.At(now);
    const std::optional<double> figure = UnitFigure(point, check.channel);
    live->setText(
        Text(TimingText::LiveNow, language)
            .arg(document.Values().liveRpm)
            .arg(figure ? Degrees(figure, language) + "°" : Text(TimingText::Unknown, language)));
}

void TimingCheckWindow::ShowCheck(const TimingCheck& shown, const QString& file) {
    check = shown;
    path = file;
    unkept = false;
    Note({});
    ApplyLanguage();
}

QString TimingCheckWindow::Verdict() const {
    return verdict->text();
}

void TimingCheckWindow::ApplyLanguage() {
    const int language = document.Language();
    languageShown = language;
    setWindowTitle(path.isEmpty() ? Text(TimingText::Title, language)
                                  : Text(TimingText::Title, language) + " – " +
                                        QDir::toNativeSeparators(path));
    compareLabel->setText(Text(TimingText::CompareWith, language));
    compare->setItemText(0, Text(TimingText::FigureItem, language));
    for (int channel = 1; channel <= static_cast<int>(kChannels); ++channel)
        compare->setItemText(channel, Text(TimingText::ChannelItem, language).arg(channel));
    compare->setCurrentIndex(std::clamp(check.channel, 0, int(kChannels)));
    SetReaderName(compare, Spoken(compareLabel->text()));
    addButton->setText(Text(TimingText::AddPoint, language));
    removeButton->setText(Text(TimingText::RemovePoint, language));
    keepButton->setText(Text(TimingText::Keep, language));
    printButton->setText(Text(TimingText::Print, language));
    exportButton->setText(Text(TimingText::Export, language));
    chart->setTitle(Text(TimingText::ChartTitle, language));
    // The axes' numbers with the decimal sign of the table and the verdict,
    // and speeds without a thousands separator, as the table shows them.
    QLocale numbers(language == German   ? QLocale::German
                    : language == French ? QLocale::French
                    : language == Czech  ? QLocale::Czech
                                         : QLocale::C);
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    chart->setLocale(numbers);
    chart->setLocalizeNumbers(true);
    axisX->setTitleText(Text(TimingText::AxisRpm, language));
    axisY->setTitleText(Text(TimingText::AxisDifference, language));
    SetReaderName(table, Text(TimingText::PointsName, language));
    SetReaderName(chartView, QString::fromStdString(TextIn(AccessText::Chart, language))
                                 .arg(Text(TimingText::ChartTitle, language)));
    ShowAll();
    ShowLive();
    // What the note says is said again in the language now shown.
    note->setText(noteText ? noteText(language) : QString());
}

void TimingCheckWindow::Note(std::function<QString(int language)> text) {
    noteText = std::move(text);
    note->setText(noteText ? noteText(document.Language()) : QString());
}

void TimingCheckWindow::ShowAll() {
    const int language = document.Language();
    QStringList headers{Text(TimingText::RpmColumn, language),
                        Text(TimingText::StrobeColumn, language)};
    for (int channel = 1; channel <= static_cast<int>(kChannels); ++channel) {
        QString header = Text(TimingText::UnitColumn, language).arg(channel);
        // The column the strobe is compared with says so; with the unit's
        // figure, the largest channel of each row is.
        if (channel == check.channel)
            header = Text(TimingText::ComparedMark, language).arg(header);
        headers << header;
    }
    headers << Text(TimingText::MapColumn, language)
            << Text(TimingText::DifferenceColumn, language);
    table->setHorizontalHeaderLabels(headers);
    table->setRowCount(static_cast<int>(check.points.size()));
    for (int row = 0; row < table->rowCount(); ++row)
        ShowRow(row);
    ShowChart();
}

void TimingCheckWindow::ShowRow(int row) {
    const int language = document.Language();
    const TimingPoint& point = check.points[static_cast<std::size_t>(row)];
    const auto cell = [this, row](int column, const QString& text, bool editable) {
        QTableWidgetItem* item = table->item(row, column);
        if (!item) {
            item = new QTableWidgetItem;
            table->setItem(row, column, item);
        }
        item->setText(text);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        item->setFlags(editable ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                                : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        return item;
    };
    cell(RpmCol, QString::number(point.rpm), true);
    cell(StrobeCol, Degrees(point.strobe, language), true);
    for (int c = 0; c < static_cast<int>(kChannels); ++c) {
        QTableWidgetItem* item =
            cell(Unit1Col + c, Degrees(point.unit[static_cast<std::size_t>(c)], language), false);
        QFont font = item->font();
        const bool compared = point.unit[static_cast<std::size_t>(c)] &&
                              (check.channel == c + 1 ||
                               (check.channel == kUnitFigure &&
                                UnitFigure(point, kUnitFigure) == point.unit[std::size_t(c)]));
        font.setBold(compared);
        item->setFont(font);
    }
    cell(MapCol, point.map ? QString::number(*point.map) : QString(), false);
    cell(DifferenceCol, Degrees(DifferenceOf(point, check.channel), language), false);
}

void TimingCheckWindow::ShowChart() {
    const int language = document.Language();
    QList<QPointF> dots;
    int low = check.points.empty() ? 0 : check.points.front().rpm;
    int high = low;
    double bottom = -1, top = 1;
    for (const TimingPoint& point : check.points) {
        low = std::min(low, point.rpm);
        high = std::max(high, point.rpm);
        if (const std::optional<double> difference = DifferenceOf(point, check.channel)) {
            dots.append(QPointF(point.rpm, *difference));
            bottom = std::min(bottom, *difference);
            top = std::max(top, *difference);
        }
    }
    differences->replace(dots);
    const Drift drift = DriftOf(check.points, check.channel);
    QList<QPointF> line;
    if (drift.kind != DriftKind::TooFew)
        for (int rpm : {drift.lowRpm, drift.highRpm})
            line.append(QPointF(rpm, drift.offset + drift.slopePer1000 * rpm / 1000.0));
    fitted->replace(line);
    // Ticks on round speeds, with room for the end points' marks.
    axisX->setTickType(QValueAxis::TicksDynamic);
    axisX->setTickAnchor(0);
    axisX->setTickInterval(high - low > 10000 ? 2000 : 1000);
    axisX->setRange(low - 300, std::max(high, low + 1000) + 300);
    axisY->setRange(std::floor(bottom - 0.5), std::ceil(top + 0.5));
    verdict->setText(QString::fromStdString(DriftText(drift, language)));
}

void TimingCheckWindow::Changed() {
    Remember();
    unkept = true;
    Note({});
    ShowAll();
}

void TimingCheckWindow::EnterCell(int row, int column, const QString& text) {
    if (row < 0 || row >= static_cast<int>(check.points.size()))
        return;
    const int language = document.Language();
    TimingPoint& point = check.points[static_cast<std::size_t>(row)];
    if (column == RpmCol) {
        // Digits only: "1.000" is a thousand to a German eye and one to the
        // number reader, so a speed with a sign of either kind is refused
        // rather than guessed.
        const QString digits = text.trimmed();
        const bool whole =
            !digits.isEmpty() && digits.size() <= 5 &&
            std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= '0' && c <= '9'; });
        const std::optional<double> rpm = whole ? Typed(digits) : std::nullopt;
        if (!rpm || *rpm < 0 || *rpm > kMaxCheckRpm || *rpm != std::floor(*rpm)) {
            Note([](int shown) { return Text(TimingText::BadRpm, shown).arg(kMaxCheckRpm); });
            ShowRow(row);
            return;
        }
        point.rpm = static_cast<int>(*rpm);
        Changed();
        return;
    }
    if (column != StrobeCol)
        return;
    if (text.trimmed().isEmpty()) {
        point = TimingPoint{point.rpm, std::nullopt, {}, std::nullopt};
        Changed();
        return;
    }
    const std::optional<double> strobe = Typed(text);
    if (!strobe || std::abs(*strobe) > kMaxCheckDegrees) {
        Note([](int shown) { return Text(TimingText::BadStrobe, shown); });
        ShowRow(row);
        return;
    }
    // The reading is kept whatever happens next: what was typed is never
    // lost. The unit's figures of an earlier reading are not this one's.
    point.strobe = Thousandths(*strobe);
    point.unit = {};
    point.map.reset();
    const double now = Now();
    if (document.Playing()) {
        average.Clear();
        Changed();
        showMessage(Text(TimingText::PlayingRefused, language), "TimingPlayingBox");
        return;
    }
    const bool answering = document.UnitAnswering();
    if (!answering || !average.Fresh(now)) {
        Changed();
        showMessage(
            Text(answering ? TimingText::NoRecentFrame : TimingText::NotAnswering, language),
            answering ? "TimingNoFrameBox" : "TimingNotAnsweringBox");
        return;
    }
    const auto averages = average.At(now);
    for (std::size_t c = 0; c < kChannels; ++c)
        if (averages[c])
            point.unit[c] = Thousandths(*averages[c]);
    const LivePosition position = document.Live();
    if (!position.belowMapAxis)
        point.map = document.Image()[MapCell(position.tpsRow, position.mapRpmColumn)];
    Changed();
    const std::optional<double> figure = UnitFigure(point, check.channel);
    Note([rpm = point.rpm, figure, map = point.map](int shown) {
        return Text(TimingText::Taken, shown)
            .arg(rpm)
            .arg(figure ? Degrees(figure, shown) : Text(TimingText::Unknown, shown))
            .arg(map ? QString::number(*map) : Text(TimingText::Unknown, shown));
    });
}

bool TimingCheckWindow::eventFilter(QObject* watched, QEvent* event) {
    // Delete takes a point's reading back; on a point without one it takes
    // the point away, so one press never loses a reading and a point both.
    if (watched == table && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Delete)) {
        const int row = table->currentRow();
        if (row >= 0 && row < static_cast<int>(check.points.size())) {
            if (check.points[static_cast<std::size_t>(row)].strobe)
                EnterCell(row, StrobeCol, QString());
            else
                RemovePoint();
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TimingCheckWindow::closeEvent(QCloseEvent* event) {
    const bool readings = std::any_of(check.points.begin(), check.points.end(),
                                      [](const TimingPoint& point) { return point.strobe; });
    if (!unkept || !readings) {
        event->accept();
        return;
    }
    event->ignore();
    if (findChild<QMessageBox*>("TimingUnkeptBox"))
        return;
    const int language = document.Language();
    auto* box =
        new QMessageBox(QMessageBox::Question, windowTitle(),
                        Text(TimingText::UnkeptQuestion, language), QMessageBox::Cancel, this);
    box->setObjectName("TimingUnkeptBox");
    box->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton* keep = box->addButton(keepButton->text(), QMessageBox::AcceptRole);
    keep->setObjectName("TimingUnkeptKeep");
    QPushButton* discard =
        box->addButton(Text(TimingText::Discard, language), QMessageBox::DestructiveRole);
    discard->setObjectName("TimingUnkeptDiscard");
    box->setDefaultButton(keep);
    box->setEscapeButton(QMessageBox::Cancel);
    box->setWindowModality(Qt::WindowModal);
    connect(box, &QMessageBox::finished, this, [this, box, keep, discard] {
        if (box->clickedButton() == keep && !Keep())
            return; // the user was told; the window stays with its readings
        if (box->clickedButton() != keep && box->clickedButton() != discard)
            return;
        unkept = false;
        close();
    });
    box->show();
}

void TimingCheckWindow::AddPoint() {
    // After the selected point, 1000 rpm above it.
    const int row =
        table->currentRow() >= 0 ? table->currentRow() : static_cast<int>(check.points.size()) - 1;
    if (check.points.size() >= kMaxTimingPoints)
        return;
    TimingPoint point;
    point.rpm = row >= 0 ? std::min(check.points[std::size_t(row)].rpm + 1000, kMaxCheckRpm) : 1000;
    check.points.insert(check.points.begin() + (row + 1), point);
    Changed();
    table->setCurrentCell(row + 1, RpmCol);
}

void TimingCheckWindow::RemovePoint() {
    const int row = table->currentRow();
    if (row < 0 || row >= static_cast<int>(check.points.size()))
        return;
    check.points.erase(check.points.begin() + row);
    Changed();
    if (!check.points.empty())
        table->setCurrentCell(std::min(row, static_cast<int>(check.points.size()) - 1), RpmCol);
}

TimingCheck TimingCheckWindow::Stamped() const {
    TimingCheck stamped = check;
    if (path.isEmpty()) {
        const QDateTime now = QDateTime::currentDateTime();
        stamped.time.millis = now.toMSecsSinceEpoch();
        stamped.time.hasOffset = true;
        stamped.time.offsetMinutes = now.offsetFromUtc() / 60;
        stamped.unitVersion = unitVersion;
        stamped.unitBuildDate = unitBuildDate;
        stamped.tune = tune;
    }
    return stamped;
}

void TimingCheckWindow::Remember() {
    unitVersion = document.UnitVersion();
    unitBuildDate = document.UnitBuildDate();
    tune = TuneChecksum(document.Image());
}

bool TimingCheckWindow::Keep() {
    Remember();
    const int language = document.Language();
    const TimingCheck stamped = Stamped();
    QString file = path;
    QString reason;
    if (!store.Keep(stamped, file, &reason)) {
        showMessage(
            Text(TimingText::KeepFailed, language)
                .arg(QDir::toNativeSeparators(file.isEmpty() ? store.Folder() : file), reason),
            "TimingKeepFailedBox");
        return false;
    }
    check = stamped;
    path = file;
    unkept = false;
    ApplyLanguage();
    Note([kept = QDir::toNativeSeparators(path)](int shown) {
        return Text(TimingText::Kept, shown).arg(kept);
    });
    emit Kept(path);
    return true;
}

void TimingCheckWindow::ExportCsv() {
    Remember();
    const int language = document.Language();
    const TimingCheck stamped = Stamped();
    const QString suggested = QDir::home().filePath(
        "timing-" +
        QDateTime::fromMSecsSinceEpoch(stamped.time.millis).toString("yyyyMMdd-HHmmss") + ".csv");
    const QString file = ChooseFile(this, {"TimingExportDialog",
                                           exportButton->text().remove('&').remove("…"),
                                           QFileDialog::AcceptSave,
                                           {Text(TimingText::CsvFilter, language)},
                                           "csv",
                                           suggested});
    if (file.isEmpty())
        return;
    QString reason;
    if (!WriteWholeFile(file, QByteArray::fromStdString(WriteTimingCheck(stamped)), &reason))
        showMessage(
            Text(TimingText::ExportFailed, language).arg(QDir::toNativeSeparators(file), reason),
            "TimingExportFailedBox");
}

void TimingCheckWindow::Print() {
    const int language = document.Language();
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    QPrinter printer(QPrinter::HighResolution);
    QString destination;
    if (printerInfo.isNull()) {
        // Without a printer the printout is still had, as a PDF file.
        const QString file = ChooseFile(this, {"TimingPdfDialog", printButton->text().remove('&'),
                                               QFileDialog::AcceptSave, QStringList{"PDF (*.pdf)"},
                                               "pdf", QDir::home().filePath("timing.pdf")});
        if (file.isEmpty())
            return;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        destination = QDir::toNativeSeparators(file);
    } else {
        printer.setPrinterName(printerInfo.printerName());
        destination = printerInfo.printerName();
    }
    printer.setDocName(windowTitle());
    printer.setCreator(QCoreApplication::applicationName());
    if (PrintOn(printer))
        Note([destination](int shown) {
            return QString::fromStdString(TextIn(Msg::PrintedOnePage, shown)).arg(destination);
        });
    else
        showMessage(QString::fromStdString(TextIn(Msg::PrintError, language)) + "\n\n" +
                        destination,
                    "PrintErrorBox");
}

bool TimingCheckWindow::PrintOn(QPrinter& printer) {
    Remember();
    // The window as it shows, on white, under a line naming the check.
    const int language = document.Language();
    const TimingCheck stamped = Stamped();
    QString head = Text(TimingText::Title, language) + "   " +
                   QDateTime::fromMSecsSinceEpoch(stamped.time.millis).toString("yyyy-MM-dd HH:mm");
    if (!stamped.unitVersion.empty())
        head +=
            "   " + Text(TimingText::HistoryUnit, language) + ": " +
            QString::fromStdString(stamped.unitVersion + " " + stamped.unitBuildDate).simplified();
    if (!stamped.tune.empty())
        head += "   " + Text(TimingText::HistoryTune, language) + ": " +
                QString::fromStdString(stamped.tune);
    QImage picture(size() * 2, QImage::Format_RGB32);
    picture.setDevicePixelRatio(2);
    picture.fill(Qt::white);
    render(&picture, QPoint(), QRegion(), QWidget::DrawChildren);

    PrintJobFacts job;
    const bool native = printer.outputFormat() == QPrinter::NativeFormat;
    if (native)
        job.queue = PrintSystem::AskQueue(printer.printerName());
    QPainter painter;
    if (!WorthSending(job.queue) || !painter.begin(&printer))
        return false;
    const QRect page = painter.viewport();
    QFont font = painter.font();
    font.setPointSize(10);
    painter.setFont(font);
    const int headHeight = painter.fontMetrics().height() * 2;
    painter.drawText(QRect(0, 0, page.width(), headHeight), Qt::AlignLeft | Qt::AlignVCenter, head);
    const QSize room(page.width(), page.height() - headHeight);
    const QSize fitted = QSize(picture.size()).scaled(room, Qt::KeepAspectRatio);
    painter.drawImage(QRect(QPoint(0, headHeight), fitted), picture);
    job.painterEnded = painter.end();
    job.printerFailed =
        printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted;
    if (native)
        job.createStatus = PrintSystem::LastStatus();
    return JobAccepted(job);
}

} // namespace orna5
