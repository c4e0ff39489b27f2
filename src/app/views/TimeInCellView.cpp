#include "app/views/TimeInCellView.h"

#include "app/views/MapTableModel.h"
#include "lang/MapTableTexts.h"
#include "params/FieldTable.h"
#include "params/TpsBreakpoints.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QLocale>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace orna5 {

namespace {

constexpr int kLiveRole = MapTableModel::LiveRole;
// The age in seconds of a cell of the trail; none for a cell not in it.
constexpr int kTrailAgeRole = Qt::UserRole + 2;

// The trail as an outline that fades out over its ten seconds; the live
// cell as the map table frames it.
class TimeCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        const QColor background = index.data(Qt::BackgroundRole).value<QColor>();
        painter->fillRect(option.rect, background);
        painter->setPen(MapTableModel::TextColour(background));
        painter->drawText(option.rect, Qt::AlignCenter, index.data().toString());
        const QVariant age = index.data(kTrailAgeRole);
        if (age.isValid()) {
            QColor edge(20, 60, 200);
            edge.setAlphaF(static_cast<float>(
                std::clamp(1.0 - age.toDouble() / TimeInCell::kTrailSeconds, 0.15, 1.0)));
            painter->setPen(QPen(edge, 2));
            painter->drawRect(option.rect.adjusted(1, 1, -2, -2));
        }
        if (index.data(kLiveRole).toBool())
            MapTableModel::PaintLiveFrame(painter, option.rect);
        painter->restore();
    }
};

} // namespace

class TimeInCellModel : public QAbstractTableModel {
public:
    TimeInCellModel(const TimeInCell& count, QObject* parent)
        : QAbstractTableModel(parent), cells(count) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : area.Rows();
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : area.Columns();
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!checkIndex(index, CheckIndexOption::IndexIsValid))
            return {};
        const int row = area.top + index.row();
        const int column = area.left + index.column();
        const double seconds = cells.Seconds(row, column);
        switch (role) {
        case Qt::DisplayRole:
            return Text(seconds);
        case Qt::BackgroundRole:
            return Colour(seconds);
        case Qt::TextAlignmentRole:
            return QVariant(Qt::AlignCenter);
        case Qt::AccessibleTextRole:
            // The tooltip read aloud: the time, the cell and its advance.
            return data(index, Qt::ToolTipRole).toString().replace('\n', ", ");
        case Qt::ToolTipRole:
            return QString::fromStdString(TextIn(MapText::CellTime, language))
                .arg(Text(seconds))
                .arg(RpmOf(column))
                .arg(MapTableModel::RowLabel(row, area))
                .arg(static_cast<int>(map.advance[static_cast<std::size_t>(row) * kAxisPoints +
                                                  static_cast<std::size_t>(column)]));
        case kLiveRole:
            return live == std::pair{row, column};
        case kTrailAgeRole:
            for (const TimeInCell::TrailCell& cell : trail)
                if (cell.row == row && cell.column == column)
                    return cell.age;
            return {};
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        const bool horizontal = orientation == Qt::Horizontal;
        if (section < 0 || section >= (horizontal ? area.Columns() : area.Rows()))
            return {};
        const int at = horizontal ? area.left + section : area.top + section;
        if (role == Qt::DisplayRole)
            return horizontal ? QVariant(RpmOf(at)) : QVariant(MapTableModel::RowLabel(at, area));
        if (role == Qt::BackgroundRole && live && (horizontal ? live->second : live->first) == at)
            return QColor(Qt::green);
        return {};
    }

    void SetMap(const TimeInCellView::Map& shown) {
        beginResetModel();
        map = shown;
        area = MapArea(map.tpsRowsUsed);
        endResetModel();
    }

    void Refresh(std::optional<std::pair<int, int>> liveCell,
                 const std::vector<TimeInCell::TrailCell>& now) {
        live = liveCell;
        trail = now;
        most = cells.Most();
        if (rowCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
        emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
    }

    QString Text(double seconds) const { return QLocale().toString(seconds, 'f', 1); }

    MapBlock area = MapArea(false);
    int language = 0;

private:
    int RpmOf(int column) const {
        return static_cast<int>(
            Shown(fieldScale::mapRpm, map.rpm[static_cast<std::size_t>(column)]));
    }
    // White for no time, a deeper orange the nearer the most.
    QColor Colour(double seconds) const {
        const double share = most > 0 ? std::clamp(seconds / most, 0.0, 1.0) : 0.0;
        return QColor::fromHsv(24, static_cast<int>(230 * share), 255);
    }

    const TimeInCell& cells;
    TimeInCellView::Map map;
    std::optional<std::pair<int, int>> live;
    std::vector<TimeInCell::TrailCell> trail;
    double most = 0;
};

TimeInCellView::Map TimeInCellView::MapOf(const ParameterImage& image) {
    Map map;
    std::copy_n(image.begin() + field::mapRpm, kAxisPoints, map.rpm.begin());
    std::copy_n(image.begin() + field::advanceMap, map.advance.size(), map.advance.begin());
    map.tpsRowsUsed = image[field::mapUsesTps] != 0;
    return map;
}

TimeInCellView::TimeInCellView(const TimeInCell& cells, QWidget* parent) : QTableView(parent) {
    model = new TimeInCellModel(cells, this);
    setModel(model);
    setItemDelegate(new TimeCellDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    const QFontMetrics metrics(font());
    // Room for the rpm heads and for the seconds of a long ride.
    const int columnWidth =
        std::max(metrics.horizontalAdvance(QLocale().toString(10000)),
                 metrics.horizontalAdvance(QLocale().toString(9999.9, 'f', 1))) +
        10;
    horizontalHeader()->setDefaultSectionSize(columnWidth);
    horizontalHeader()->setMinimumSectionSize(columnWidth);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    verticalHeader()->setDefaultSectionSize(metrics.height() + 10);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    verticalHeader()->setMinimumWidth(metrics.horizontalAdvance("0\u2013100%") + 12);
    setMinimumWidth(verticalHeader()->minimumWidth() + 10 * columnWidth + 6);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void TimeInCellView::SetMap(const Map& map) {
    model->SetMap(map);
}

void TimeInCellView::SetLanguage(int language) {
    model->language = language;
}

void TimeInCellView::Refresh(std::optional<std::pair<int, int>> liveCell,
                             const std::vector<TimeInCell::TrailCell>& trail) {
    model->Refresh(liveCell, trail);
}

int TimeInCellView::FittingHeight() const {
    return horizontalHeader()->sizeHint().height() +
           model->rowCount() * verticalHeader()->defaultSectionSize() + 2 * frameWidth();
}

QString TimeInCellView::CellText(int mapRow, int mapColumn) const {
    const MapBlock& area = model->area;
    if (!area.Contains(mapRow, mapColumn))
        return {};
    return model->index(mapRow - area.top, mapColumn - area.left).data().toString();
}

} // namespace orna5
