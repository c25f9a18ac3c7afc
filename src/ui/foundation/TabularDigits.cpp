#include "ui/foundation/TabularDigits.h"

#include <QPainter>
#include <algorithm>

namespace olvane::ui {
namespace {

qreal digitCell(const QFontMetricsF& metrics) {
    qreal widest = 0;
    for (char digit = '0'; digit <= '9'; ++digit) {
        widest = std::max(widest, metrics.horizontalAdvance(QLatin1Char(digit)));
    }
    return widest;
}

}  // namespace

qreal TabularDigits::width(const QString& text, const QFontMetricsF& metrics) {
    const qreal cell = digitCell(metrics);
    qreal width = 0;
    for (const QChar c : text) {
        width += c.isDigit() ? cell : metrics.horizontalAdvance(c);
    }
    return width;
}

void TabularDigits::draw(QPainter& painter, const QString& text, QPointF origin) {
    const QFontMetricsF metrics(painter.font());
    const qreal cell = digitCell(metrics);
    qreal x = origin.x();
    for (const QChar c : text) {
        const qreal advance = metrics.horizontalAdvance(c);
        const qreal width = c.isDigit() ? cell : advance;
        // Each digit centred in its cell.
        painter.drawText(QPointF(x + (width - advance) / 2, origin.y()), QString(c));
        x += width;
    }
}

}  // namespace olvane::ui
