#pragma once

#include "disk/TimingStore.h"
#include "timing/AdvanceAverage.h"
#include "timing/TimingCheck.h"

#include <QElapsedTimer>
#include <QString>
#include <QWidget>

#include <functional>

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QLineSeries;
class QPrinter;
class QPushButton;
class QScatterSeries;
class QTableWidget;
class QValueAxis;

namespace orna5 {

class Document;

// Tools > Timing light check: a table of engine speeds at which the tuner
// reads the advance off the marks with a strobe and types it in. On each
// reading the window takes the advance the unit reported on each channel,
// averaged over the last second, and the map cell it ran on; the difference
// (strobe - unit) is drawn over rpm with the verdict under it. The check is
// kept in the data folder, printed and exported as CSV. Fed by the document
// only.
class TimingCheckWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kSettingsSection = "TIMING_CHECK_VIEW";

    // Shows a message, named for the tests.
    using MessageSink = std::function<void(const QString& text, const QString& name)>;

    // Columns of the table.
    enum Column { RpmCol, StrobeCol, Unit1Col, MapCol = Unit1Col + 4, DifferenceCol, ColumnCount };

    TimingCheckWindow(Document& document, MessageSink showMessage,
                      QString folder = TimingStore::DefaultFolder());
    // Gone with the main window, whose closing asks nothing of the views:
    // readings not kept are kept then, so nothing typed is lost.
    ~TimingCheckWindow() override;

    // A kept check, shown to be read, changed and kept again in its file.
    void ShowCheck(const TimingCheck& check, const QString& path);
    const TimingCheck& Check() const { return check; }
    // The file the check is kept in; empty until kept.
    const QString& Path() const { return path; }
    QTableWidget* Table() const { return table; }
    QString Verdict() const;

    // What the table's editor hands over when a cell is entered: a speed in
    // the rpm column, a strobe reading in its column.
    void EnterCell(int row, int column, const QString& text);
    void AddPoint();
    void RemovePoint();
    bool Keep();
    // On the default printer, or into a PDF file where there is none.
    void Print();
    void ExportCsv();
    // Draws the check (table, chart, verdict) onto a printer; false when the
    // print system refused it.
    bool PrintOn(QPrinter& printer);

    // Readings typed since the check was last kept (or opened).
    bool Unkept() const { return unkept; }

signals:
    // The check was written into the data folder.
    void Kept(const QString& path);

protected:
    // Readings not kept are never lost by closing: the window asks first.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyLanguage();
    void Frame();
    void ShowLive();
    void ShowRow(int row);
    void ShowAll();
    // The note under the table, made again when the language changes.
    void Note(std::function<QString(int language)> text);
    void ShowChart();
    void Changed();
    double Now() const;
    // The check with its date, unit and tune filled in when it has none yet,
    // from what Remember saw last: at the window's end the document may be
    // gone already.
    TimingCheck Stamped() const;
    void Remember();

    Document& document;
    MessageSink showMessage;
    TimingStore store;
    TimingCheck check;
    QString path;
    bool unkept = false;
    int languageShown = 0; // for the destructor, which may outlive the document
    std::string unitVersion, unitBuildDate, tune;
    AdvanceAverage average;
    QElapsedTimer clock;
    QLabel* live = nullptr;
    QLabel* compareLabel = nullptr;
    QComboBox* compare = nullptr;
    QTableWidget* table = nullptr;
    QChart* chart = nullptr;
    QChartView* chartView = nullptr;
    QScatterSeries* differences = nullptr;
    QLineSeries* fitted = nullptr;
    QValueAxis* axisX = nullptr;
    QValueAxis* axisY = nullptr;
    QLabel* verdict = nullptr;
    QLabel* note = nullptr;
    std::function<QString(int language)> noteText;
    QPushButton* addButton = nullptr;
    QPushButton* removeButton = nullptr;
    QPushButton* keepButton = nullptr;
    QPushButton* printButton = nullptr;
    QPushButton* exportButton = nullptr;
};

} // namespace orna5
