#pragma once

#include "device/TimeInCell.h"
#include "edit/MapBlockCommands.h"
#include "params/ParameterImage.h"

#include <QTableView>

#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace orna5 {

class TimeInCellModel;

// The seconds the engine ran in each map cell, coloured from none (white) to
// the most any cell holds, with the cell's advance in its tooltip, the live
// cell outlined as the map table outlines it and the trail of the last
// seconds outlined fading with age. It reads a count it does not own; the
// owner calls Refresh when the count has moved on.
class TimeInCellView : public QTableView {
    Q_OBJECT
public:
    // The map the count is laid on: the rpm axis (as in the image), the
    // advance of each cell and the throttle-row switch.
    struct Map {
        std::array<std::uint8_t, kAxisPoints> rpm{};
        std::array<std::uint8_t, kMapRows * kAxisPoints> advance{};
        bool tpsRowsUsed = false;
    };
    static Map MapOf(const ParameterImage& image);

    TimeInCellView(const TimeInCell& cells, QWidget* parent);

    void SetMap(const Map& map);
    void SetLanguage(int language);
    // Repaints from the count, with the live cell (none below the axis) and
    // the trail as they are now.
    void Refresh(std::optional<std::pair<int, int>> liveCell,
                 const std::vector<TimeInCell::TrailCell>& trail);
    // The height that shows every row and no more.
    int FittingHeight() const;
    // The text a map cell shows (tests).
    QString CellText(int mapRow, int mapColumn) const;

private:
    TimeInCellModel* model = nullptr;
};

} // namespace orna5
