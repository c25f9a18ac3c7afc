#pragma once

#include <QIcon>
#include <QPixmap>
#include <QRectF>

class QPainter;

namespace olvane::ui {

// The application's logo ("LogoOlvane"): a white open ring and its dot on a black rounded
// square. Drawn, so it is sharp at every size; also the application and status icon.
class LogoOlvane {
  public:
    static void paint(QPainter& painter, const QRectF& rect);
    static QPixmap pixmap(int side, qreal devicePixelRatio = 1.0);
    static QIcon icon();
};

}  // namespace olvane::ui
