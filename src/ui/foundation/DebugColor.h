#pragma once

#include <QColor>

namespace olvane::ui {

// The named colours of the spacing-debug drawing, the only colours of the interface.
enum class DebugColor {
    red,
    blue,
    green,
    mint,
    orange,
    yellow,
    purple,
    cyan,
    indigo,
    brown,
    pink,
    teal,
    gray
};

// The usual light-mode sRGB value of the name, at the given opacity.
QColor debugColor(DebugColor color, qreal opacity = 1.0);

}  // namespace olvane::ui
