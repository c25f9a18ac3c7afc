#include "ui/foundation/DebugColor.h"

#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

QRgb rgbOf(DebugColor color) {
    switch (color) {
        case DebugColor::red:
            return qRgb(255, 59, 48);
        case DebugColor::blue:
            return qRgb(0, 122, 255);
        case DebugColor::green:
            return qRgb(52, 199, 89);
        case DebugColor::mint:
            return qRgb(0, 199, 190);
        case DebugColor::orange:
            return qRgb(255, 149, 0);
        case DebugColor::yellow:
            return qRgb(255, 204, 0);
        case DebugColor::purple:
            return qRgb(175, 82, 222);
        case DebugColor::cyan:
            return qRgb(50, 173, 230);
        case DebugColor::indigo:
            return qRgb(88, 86, 214);
        case DebugColor::brown:
            return qRgb(162, 132, 94);
        case DebugColor::pink:
            return qRgb(255, 45, 85);
        case DebugColor::teal:
            return qRgb(48, 176, 199);
        case DebugColor::gray:
            return qRgb(142, 142, 147);
    }
    return qRgb(142, 142, 147);
}

}  // namespace

QColor debugColor(DebugColor color, qreal opacity) {
    return Theme::withOpacity(QColor::fromRgb(rgbOf(color)), opacity);
}

}  // namespace olvane::ui
