#pragma once

#include <QFontMetricsF>
#include <QPointF>
#include <QString>

class QPainter;

namespace olvane::ui {

// Text whose digits all take the width of the widest digit of the font, so that numbers line up
// and do not shift as they change, whatever the font's own figures.
class TabularDigits {
  public:
    static qreal width(const QString& text, const QFontMetricsF& metrics);
    // Draws `text` in the painter's font from `origin` on its baseline.
    static void draw(QPainter& painter, const QString& text, QPointF origin);
};

}  // namespace olvane::ui
