#pragma once

#include "device/ColourRole.h"

#include <QColor>

namespace orna5 {

// The real colour of a role the core asks for; an invalid colour for the
// desktop's own label and edit backgrounds, which the widget keeps. The live
// panel and the dashboard both paint by it, so an alarm looks alike in both.
inline QColor RoleColour(ColourRole role) {
    switch (role) {
    case ColourRole::Red:
        return QColor(255, 0, 0);
    case ColourRole::Yellow:
        return QColor(255, 255, 0);
    case ColourRole::Lime:
        return QColor(0, 255, 0);
    case ColourRole::Fuchsia:
        return QColor(255, 0, 255);
    case ColourRole::Aqua:
        return QColor(0, 255, 255);
    case ColourRole::ButtonFace:
    case ColourRole::Window:
        break;
    }
    return {};
}

} // namespace orna5
