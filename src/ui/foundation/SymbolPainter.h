#pragma once

#include <QColor>
#include <QPixmap>
#include <QRectF>
#include <string_view>

class QPainter;

namespace olvane::ui {

// Draws the interface's symbols: the glyph of the symbol table in the symbol font, or, for a name
// the font cannot serve (or while the font is missing), a small drawing of our own.
class SymbolPainter {
  public:
    // `size` is the symbol's point size, as a text size; the symbol is centred in `rect`.
    static void paint(QPainter& painter, const QRectF& rect, std::string_view name, qreal size,
                      const QColor& color);
    static QPixmap pixmap(std::string_view name, qreal size, const QColor& color,
                          qreal devicePixelRatio = 1.0);
    // The side of the square a symbol of point size `size` takes.
    static int boxSide(qreal size);
    // True when `name` is drawn by our own painter rather than by the font.
    static bool isPainted(std::string_view name);
};

}  // namespace olvane::ui
