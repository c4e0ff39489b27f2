#pragma once

#include "edit/MapBlockCommands.h"
#include "params/ParameterImage.h"

#include <QAbstractTableModel>
#include <QColor>

#include <functional>
#include <optional>

class QPainter;
class QRect;

namespace orna5 {

// The advance map of the window's image as a table: one row per throttle row
// the unit reads (all ten, or only the last when the map does not use the
// throttle), one column per rpm point. It reads the image on every call and
// keeps no copy; the window that owns the image calls Refresh whenever it has
// shown the image again. Edits typed into a cell go to cellEdited, which runs
// them through the window's command road; the model never writes the image.
class MapTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // True for the cell the engine runs on.
    static constexpr int LiveRole = Qt::UserRole + 1;

    explicit MapTableModel(const ParameterImage& image, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The rows in view, in map coordinates.
    MapBlock Area() const { return area; }
    // The map cells of a rectangle of table cells.
    MapBlock BlockOf(int firstRow, int firstColumn, int lastRow, int lastColumn) const;
    // The label of a map row as the table heads it.
    static QString RowLabel(int mapRow, const MapBlock& area);
    // What a screen reader says of a map cell: "Advance at 6000 rpm, 60 %
    // throttle", in the language the cells are read in.
    QString CellName(int mapRow, int mapColumn) const;
    void SetLanguage(int language);

    // Re-reads the image: a change in the rows in use resets the table,
    // anything else repaints it.
    void Refresh();
    // Outlines the map cell (row, column) as the live one, or none; returns
    // whether the mark moved.
    bool SetLiveCell(std::optional<std::pair<int, int>> mapCell);

    // Cold to hot, 0..60 degrees.
    static QColor CellColour(int degrees);
    // The frame of the live cell, seen on every colour.
    static void PaintLiveFrame(QPainter* painter, const QRect& cell);
    // Black or white, whichever reads better on the background.
    static QColor TextColour(const QColor& background);

    std::function<void(int mapRow, int mapColumn, int value)> cellEdited;

private:
    int Value(const QModelIndex& index) const;
    bool TpsRowsUsed() const;

    const ParameterImage& image;
    MapBlock area;
    std::optional<std::pair<int, int>> liveCell;
    int language = 0;
};

} // namespace orna5
