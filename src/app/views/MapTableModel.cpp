#include "app/views/MapTableModel.h"

#include "edit/StepCommands.h"
#include "lang/AccessTexts.h"
#include "lang/MapTableTexts.h"
#include "params/FieldTable.h"
#include "params/TpsBreakpoints.h"

#include <QLocale>
#include <QPainter>

namespace orna5 {

MapTableModel::MapTableModel(const ParameterImage& image, QObject* parent)
    : QAbstractTableModel(parent), image(image), area(MapArea(TpsRowsUsed())) {}

bool MapTableModel::TpsRowsUsed() const {
    return image[field::mapUsesTps] != 0;
}

int MapTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : area.Rows();
}

int MapTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : area.Columns();
}

int MapTableModel::Value(const QModelIndex& index) const {
    return image[MapCell(static_cast<std::size_t>(area.top + index.row()),
                         static_cast<std::size_t>(area.left + index.column()))];
}

QVariant MapTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return Value(index);
    case Qt::BackgroundRole:
        return CellColour(Value(index));
    case Qt::ForegroundRole:
        return TextColour(CellColour(Value(index)));
    case Qt::TextAlignmentRole:
        return QVariant(Qt::AlignCenter);
    case LiveRole:
        return liveCell == std::pair{area.top + index.row(), area.left + index.column()};
    case Qt::AccessibleTextRole:
        return QString::fromStdString(TextIn(AccessText::MapCellValue, language))
            .arg(CellName(area.top + index.row(), area.left + index.column()))
            .arg(Value(index));
    case Qt::AccessibleDescriptionRole:
        return QString::fromStdString(TextIn(MapText::HintTable, language));
    default:
        return {};
    }
}

QString MapTableModel::RowLabel(int mapRow, const MapBlock& area) {
    // One row serves every throttle position.
    if (area.Rows() == 1)
        return QString::fromUtf8("0\u2013100%");
    return QString::fromStdString(TpsRowLabel(static_cast<std::size_t>(mapRow)));
}

QString MapTableModel::CellName(int mapRow, int mapColumn) const {
    const long rpm =
        Shown(fieldScale::mapRpm, image[field::mapRpm + static_cast<std::size_t>(mapColumn)]);
    // One row serves every throttle position.
    const QString throttle =
        area.Rows() == 1 ? QString::fromUtf8("0\u2013100")
                         : QString::number(TpsBreakpoints[static_cast<std::size_t>(mapRow)]);
    return QString::fromStdString(TextIn(AccessText::MapCell, language))
        .arg(QString::number(rpm), throttle);
}

void MapTableModel::SetLanguage(int newLanguage) {
    if (language == newLanguage)
        return;
    language = newLanguage;
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::AccessibleTextRole, Qt::AccessibleDescriptionRole});
}

QVariant MapTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    const bool horizontal = orientation == Qt::Horizontal;
    if (section < 0 || section >= (horizontal ? area.Columns() : area.Rows()))
        return {};
    const int mapIndex = horizontal ? area.left + section : area.top + section;
    if (role == Qt::DisplayRole) {
        if (horizontal)
            return QLocale().toString(static_cast<int>(Shown(
                fieldScale::mapRpm, image[field::mapRpm + static_cast<std::size_t>(mapIndex)])));
        return RowLabel(mapIndex, area);
    }
    // The live row and column are lime, as on the form.
    if (role == Qt::BackgroundRole && liveCell &&
        (horizontal ? liveCell->second : liveCell->first) == mapIndex)
        return QColor(Qt::green);
    return {};
}

Qt::ItemFlags MapTableModel::flags(const QModelIndex& index) const {
    // The table itself (no cell) is neither editable nor selectable.
    if (!index.isValid())
        return Qt::NoItemFlags;
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

bool MapTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid) || !cellEdited)
        return false;
    bool number = false;
    const int degrees = value.toInt(&number);
    if (!number)
        return false;
    // The window's command road shows the image again, and Refresh follows.
    cellEdited(area.top + index.row(), area.left + index.column(), degrees);
    return true;
}

MapBlock MapTableModel::BlockOf(int firstRow, int firstColumn, int lastRow, int lastColumn) const {
    return MapBlock{area.top + firstRow, area.left + firstColumn, area.top + lastRow,
                    area.left + lastColumn};
}

void MapTableModel::Refresh() {
    const MapBlock now = MapArea(TpsRowsUsed());
    if (now.top != area.top || now.bottom != area.bottom) {
        beginResetModel();
        area = now;
        endResetModel();
        return;
    }
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                     {Qt::DisplayRole, Qt::EditRole, Qt::BackgroundRole, Qt::ForegroundRole,
                      Qt::AccessibleTextRole});
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

bool MapTableModel::SetLiveCell(std::optional<std::pair<int, int>> mapCell) {
    if (mapCell == liveCell)
        return false;
    const auto repaint = [this](const std::optional<std::pair<int, int>>& cell) {
        if (!cell || !area.Contains(cell->first, cell->second))
            return;
        const QModelIndex at = index(cell->first - area.top, cell->second - area.left);
        emit dataChanged(at, at, {LiveRole});
        emit headerDataChanged(Qt::Horizontal, at.column(), at.column());
        emit headerDataChanged(Qt::Vertical, at.row(), at.row());
    };
    const auto old = liveCell;
    liveCell = mapCell;
    repaint(old);
    repaint(liveCell);
    return true;
}

QColor MapTableModel::CellColour(int degrees) {
    // Blue through green and yellow to red, light enough for dark text.
    const int clamped = std::clamp(degrees, 0, static_cast<int>(kMaxAdvance));
    const int hue = 240 - 240 * clamped / kMaxAdvance;
    return QColor::fromHsv(hue, 150, 255);
}

void MapTableModel::PaintLiveFrame(QPainter* painter, const QRect& cell) {
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(Qt::black, 3));
    painter->drawRect(cell.adjusted(1, 1, -2, -2));
    painter->setPen(QPen(Qt::white, 1));
    painter->drawRect(cell.adjusted(3, 3, -4, -4));
}

QColor MapTableModel::TextColour(const QColor& background) {
    const int luminance =
        (299 * background.red() + 587 * background.green() + 114 * background.blue()) / 1000;
    return luminance >= 140 ? QColor(Qt::black) : QColor(Qt::white);
}

} // namespace orna5
