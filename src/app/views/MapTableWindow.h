#pragma once

#include "app/views/TimeInCellView.h"
#include "edit/MapBlockCommands.h"
#include "params/ParameterImage.h"

#include <QMainWindow>

#include <functional>

class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableView;

namespace orna5 {

class Document;
class MapTableModel;

// A second way into the advance map: the map as a table with the cells
// coloured by value, where a rectangle of cells is set, shifted, scaled,
// interpolated, smoothed, copied to a spreadsheet or pasted from one. The
// window owns no image: it shows the document's, and every command goes
// through the document's one road (controls into the image, the change,
// normalise, show, one undo state, program after change). A second tab
// shows how long the engine ran in each cell, as the document counts it.
class MapTableWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* kSettingsSection = "MAP_TABLE";

    explicit MapTableWindow(Document& document);
    ~MapTableWindow() override;

    // The selected rectangle in map coordinates; the current cell when
    // nothing is selected.
    MapBlock SelectedBlock() const;
    // Selects a rectangle of table cells.
    void SelectCells(int firstRow, int firstColumn, int lastRow, int lastColumn);

    void SetSelection(int value);
    void AddToSelection(int delta);
    void ScaleSelection(int percent);
    void InterpolateSelection(Interpolation direction);
    void SmoothSelection();
    void CopySelection();
    void PasteIntoSelection();

signals:
    // The selected rectangle (or the current cell) has moved.
    void SelectionChanged(orna5::MapBlock block);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    QPushButton* MakeButton(const QString& name, const std::function<void()>& command);
    void FitTableHeight();
    void ApplyLanguage();
    void ImageShown();
    void TickDone();
    // One command on the selected block as one step of the form; the
    // command returns whether a value was kept within 0..60.
    void Run(const std::function<bool(ParameterImage&, const MapBlock&)>& command);
    void ShowClipped(bool clipped);
    void ShowTimeTotal();

    Document& document;
    MapTableModel* model = nullptr;
    QTableView* table = nullptr;
    QSpinBox* setValue = nullptr;
    QSpinBox* addValue = nullptr;
    QSpinBox* scaleValue = nullptr;
    QLabel* interpolateLabel = nullptr;
    QTabWidget* tabs = nullptr;
    TimeInCellView* timeTable = nullptr;
    TimeInCellView::Map shownMap;
    QLabel* timeTotal = nullptr;
    int shownLanguage = -1;
};

} // namespace orna5
