#pragma once

#include <QColor>
#include <QFont>

#include "ui/foundation/FontWeight.h"

namespace olvane::ui {

// The typeface, colours, shadows and page spacing of the whole interface: black and white, one
// light grey, set in Inter. Sizes are in logical pixels (the points of the layouts).
class Theme {
  public:
    // Debian's Inter family stands in for the Inter24pt faces.
    static constexpr const char* kFontFamily = "Inter";
    static constexpr const char* kMonospacedFamily = "DejaVu Sans Mono";

    static QFont font(qreal size, FontWeight weight);
    // The "system font" of the few system-styled texts is Inter too; its monospaced design is
    // DejaVu Sans Mono.
    static QFont monospacedFont(qreal size, FontWeight weight);
    // Cheap to build; not kept in statics, which would outlive the application's font cache.
    static QFont fontSemibold14() { return font(14, FontWeight::semibold); }
    static QFont fontMedium14() { return font(14, FontWeight::medium); }
    static QFont fontRegular14() { return font(14, FontWeight::regular); }
    static QFont fontMedium32() { return font(32, FontWeight::medium); }

    static QColor white() { return QColor(255, 255, 255); }
    static QColor black() { return QColor(0, 0, 0); }
    static QColor lightGray() { return QColor::fromRgbF(240.0f / 255, 240.0f / 255, 240.0f / 255); }

    // `color` at the given opacity (0 to 1).
    static QColor withOpacity(QColor color, qreal opacity) {
        color.setAlphaF(static_cast<float>(opacity));
        return color;
    }

    // `from` moved `amount` (0 to 1) of the way to `to`, alpha included: a colour change in
    // progress.
    static QColor mixed(const QColor& from, const QColor& to, qreal amount) {
        const auto channel = [amount](float a, float b) {
            return static_cast<float>(a + (b - a) * amount);
        };
        return QColor::fromRgbF(
            channel(from.redF(), to.redF()), channel(from.greenF(), to.greenF()),
            channel(from.blueF(), to.blueF()), channel(from.alphaF(), to.alphaF()));
    }

    // Roles: each use can be re-coloured alone.
    static QColor windowBackground() { return white(); }
    static QColor sidebarBackground() { return white(); }
    static QColor rowSelectedForeground() { return white(); }
    static QColor popoverBackground() { return white(); }
    static QColor rowSelectedBackground() { return black(); }
    static QColor rowIcon() { return black(); }
    static QColor rowText() { return black(); }
    static QColor separator() { return black(); }
    static QColor textPrimary() { return black(); }
    static QColor placeholder() { return black(); }
    static QColor accent() { return black(); }
    static QColor popoverText() { return black(); }

    struct Shadow {
        QColor color;
        qreal radius;
        qreal x;
        qreal y;
    };
    static Shadow shadowBlack15() { return {QColor(0, 0, 0, 38), 12, 0, 4}; }
    static Shadow shadowBlack15Large() { return {QColor(0, 0, 0, 38), 20, 0, 4}; }

    static constexpr int pageMarginTop = 32;
    static constexpr int pageHeaderGap = 64;
    static constexpr int pageMarginBottom = 32;
    static constexpr int pageMarginLeft = 48;
    static constexpr int pageMarginRight = 48;
    static constexpr int sectionMargin = 40;

    static constexpr qreal cornerRadius = 8;
    static constexpr qreal outlineWidth = 1.5;
};

}  // namespace olvane::ui
