#include "ui/foundation/SymbolPainter.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "ui/foundation/FontLibrary.h"
#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/SymbolTable.h"

namespace olvane::ui {
namespace {

// The icon font's glyphs fill about 20/24 of their em box: this brings them to the optical size
// of a text symbol of the same point size.
constexpr qreal kGlyphScale = 1.2;

QRectF squareIn(const QRectF& rect, qreal side) {
    return QRectF(rect.center().x() - side / 2, rect.center().y() - side / 2, side, side);
}

void strokeWith(QPainter& painter, const QColor& color, qreal width) {
    QPen pen(color, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
}

// The few shapes we draw ourselves, in a square of side `s` centred in `box`.
bool paintOwn(QPainter& painter, const QRectF& box, std::string_view name, const QColor& color) {
    const qreal s = box.width();
    const qreal line = std::max(1.0, s / 10);
    const QPointF c = box.center();
    const QRectF inner = box.adjusted(s * 0.12, s * 0.12, -s * 0.12, -s * 0.12);
    if (name == "app.dashed") {
        QPen pen(color, line, Qt::CustomDashLine, Qt::FlatCap);
        pen.setDashPattern({2.0, 1.6});
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(RoundedShape::continuous(inner, s * 0.22));
    } else if (name == "circle" || name == "circle.fill" || name == "circle.lefthalf.filled") {
        strokeWith(painter, color, line);
        if (name == "circle.fill") {
            painter.setBrush(color);
        }
        painter.drawEllipse(inner);
        if (name == "circle.lefthalf.filled") {
            QPainterPath half;
            half.moveTo(inner.center().x(), inner.top());
            half.arcTo(inner, 90, 180);
            half.closeSubpath();
            painter.fillPath(half, color);
        }
    } else if (name == "checkmark") {
        strokeWith(painter, color, line * 1.3);
        painter.drawPolyline(QPolygonF({QPointF(inner.left(), c.y()),
                                        QPointF(c.x() - s * 0.1, inner.bottom() - s * 0.1),
                                        QPointF(inner.right(), inner.top() + s * 0.1)}));
    } else if (name == "xmark") {
        strokeWith(painter, color, line * 1.2);
        painter.drawLine(inner.topLeft(), inner.bottomRight());
        painter.drawLine(inner.topRight(), inner.bottomLeft());
    } else if (name == "plus" || name == "minus") {
        strokeWith(painter, color, line * 1.2);
        painter.drawLine(QPointF(inner.left(), c.y()), QPointF(inner.right(), c.y()));
        if (name == "plus") {
            painter.drawLine(QPointF(c.x(), inner.top()), QPointF(c.x(), inner.bottom()));
        }
    } else if (name == "chevron.down" || name == "chevron.up") {
        strokeWith(painter, color, line * 1.2);
        const qreal dy = name == "chevron.down" ? s * 0.15 : -s * 0.15;
        painter.drawPolyline(
            QPolygonF({QPointF(inner.left(), c.y() - dy), QPointF(c.x(), c.y() + dy),
                       QPointF(inner.right(), c.y() - dy)}));
    } else {
        return false;
    }
    return true;
}

// Any other name while the font is missing: a neutral rounded square, never an empty gap.
void paintPlaceholder(QPainter& painter, const QRectF& box, const QColor& color) {
    const qreal s = box.width();
    strokeWith(painter, color, std::max(1.0, s / 10));
    painter.drawPath(
        RoundedShape::continuous(box.adjusted(s * 0.15, s * 0.15, -s * 0.15, -s * 0.15), s * 0.2));
}

}  // namespace

int SymbolPainter::boxSide(qreal size) {
    return static_cast<int>(std::ceil(size * kGlyphScale));
}

bool SymbolPainter::isPainted(std::string_view name) {
    return FontLibrary::symbolFamily().isEmpty() || !SymbolTable::glyph(name);
}

void SymbolPainter::paint(QPainter& painter, const QRectF& rect, std::string_view name, qreal size,
                          const QColor& color) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const auto glyph = SymbolTable::glyph(name);
    const QString family = FontLibrary::symbolFamily();
    if (glyph && !family.isEmpty()) {
        QFont font(family);
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(size * kGlyphScale))));
        painter.setFont(font);
        painter.setPen(color);
        const char32_t codePoint = glyph->codePoint;
        painter.drawText(rect, Qt::AlignCenter, QString::fromUcs4(&codePoint, 1));
    } else {
        const QRectF box = squareIn(rect, size);
        if (!paintOwn(painter, box, name, color)) {
            paintPlaceholder(painter, box, color);
        }
    }
    painter.restore();
}

QPixmap SymbolPainter::pixmap(std::string_view name, qreal size, const QColor& color,
                              qreal devicePixelRatio) {
    const int side = boxSide(size);
    QPixmap pixmap(QSize(side, side) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paint(painter, QRectF(0, 0, side, side), name, size, color);
    return pixmap;
}

}  // namespace olvane::ui
