#include "ui/foundation/DropShadow.h"

#include <QGraphicsBlurEffect>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QPainter>
#include <QPixmap>
#include <cmath>

#include "ui/foundation/RoundedShape.h"

namespace olvane::ui {

int DropShadow::margin(const Theme::Shadow& shadow) {
    return static_cast<int>(
        std::ceil(shadow.radius + std::max(std::abs(shadow.x), std::abs(shadow.y))));
}

QImage DropShadow::render(QSize size, const Theme::Shadow& shadow, qreal devicePixelRatio,
                          qreal cornerRadius) {
    const int side = margin(shadow);
    const QSize whole = (size + QSize(2 * side, 2 * side)) * devicePixelRatio;
    QImage shape(whole, QImage::Format_ARGB32_Premultiplied);
    shape.fill(Qt::transparent);
    {
        QPainter painter(&shape);
        painter.scale(devicePixelRatio, devicePixelRatio);
        const QRectF casting(QPointF(side + shadow.x, side + shadow.y), QSizeF(size));
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(RoundedShape::continuous(casting, cornerRadius), shadow.color);
    }
    // The scene owns the item and its effect.
    QGraphicsScene scene;
    auto* item = new QGraphicsPixmapItem(QPixmap::fromImage(shape));
    auto* blur = new QGraphicsBlurEffect;
    blur->setBlurRadius(shadow.radius * devicePixelRatio);
    blur->setBlurHints(QGraphicsBlurEffect::QualityHint);
    item->setGraphicsEffect(blur);
    scene.addItem(item);
    QImage blurred(whole, QImage::Format_ARGB32_Premultiplied);
    blurred.fill(Qt::transparent);
    {
        QPainter painter(&blurred);
        scene.render(&painter, QRectF(QPointF(0, 0), QSizeF(whole)),
                     QRectF(QPointF(0, 0), QSizeF(whole)));
    }
    blurred.setDevicePixelRatio(devicePixelRatio);
    return blurred;
}

}  // namespace olvane::ui
