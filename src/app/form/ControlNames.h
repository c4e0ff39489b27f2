#pragma once

#include "params/ParameterImage.h"
#include "params/ParameterReport.h"

#include <QString>

#include <cstddef>

// The names the form gives the controls that edit the image, for the form
// that creates them and for the views that find them again.
namespace orna5::controlName {

// A spin control is an edit and its arrows: "Edit" and "UpDown" before a
// suffix of its own.
inline QString Edit(const QString& suffix) {
    return "Edit" + suffix;
}
inline QString UpDown(const QString& suffix) {
    return "UpDown" + suffix;
}

// The advance map's cells are numbered from 50, row by row.
inline QString MapCellSuffix(std::size_t row, std::size_t column) {
    return QString::number(50 + kAxisPoints * row + column);
}

// The map's rpm axis, counted from 1.
inline QString MapRpmSuffix(std::size_t column) {
    return QString("RpmAdv%1").arg(column + 1);
}

// The tab page of a page of parameters; null for the reserved bytes, which
// have none.
inline const char* Page(ParameterPage page) {
    switch (page) {
    case ParameterPage::Misc:
        return "TabSheetRuzne";
    case ParameterPage::Bike:
        return "TabSheetBike";
    case ParameterPage::Advance:
        return "TabSheetAdvance";
    case ParameterPage::Servo:
        return "TabSheetServo";
    case ParameterPage::Reserved:
        break;
    }
    return nullptr;
}

} // namespace orna5::controlName
