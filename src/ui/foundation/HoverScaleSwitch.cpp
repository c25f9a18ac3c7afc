#include "ui/foundation/HoverScaleSwitch.h"

#include <QGraphicsEffect>
#include <QPainter>
#include <QPointer>
#include <cmath>

#include "ui/foundation/HoverButton.h"
#include "ui/foundation/HoverScaleEffect.h"

namespace olvane::ui {
namespace {

// Draws a widget, children included, at the factor of its hover effect about its centre.
class ScaledRendering final : public QGraphicsEffect {
  public:
    explicit ScaledRendering(HoverScaleEffect* hover) : hover_(hover) {}

    QRectF boundingRectFor(const QRectF& rect) const override {
        // The largest growth the hover can reach for this size.
        const qreal side = std::sqrt(rect.width() * rect.height());
        const qreal factor = side > 0 ? (side + HoverScale::kGrowth) / side : 1;
        const qreal dx = rect.width() * (factor - 1) / 2 + 1;
        const qreal dy = rect.height() * (factor - 1) / 2 + 1;
        return rect.adjusted(-dx, -dy, dx, dy);
    }

  protected:
    void draw(QPainter* painter) override {
        const qreal scale = hover_ ? hover_->currentScale() : 1.0;
        if (scale == 1.0) {
            drawSource(painter);
            return;
        }
        QPoint offset;
        const QPixmap pixmap = sourcePixmap(Qt::LogicalCoordinates, &offset, NoPad);
        const QPointF centre = sourceBoundingRect(Qt::LogicalCoordinates).center();
        painter->save();
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->translate(centre);
        painter->scale(scale, scale);
        painter->translate(-centre);
        painter->drawPixmap(offset, pixmap);
        painter->restore();
    }

  private:
    QPointer<HoverScaleEffect> hover_;
};

}  // namespace

void hoverScaleEffect(QWidget* widget, bool enabled) {
    if (auto* button = qobject_cast<HoverButton*>(widget)) {
        button->setHoverScaleEnabled(enabled);
        return;
    }
    auto* hover = widget->findChild<HoverScaleEffect*>(QString(), Qt::FindDirectChildrenOnly);
    if (!hover) {
        if (!enabled) {
            return;
        }
        hover = new HoverScaleEffect(widget);
        widget->setAttribute(Qt::WA_Hover);
        widget->setGraphicsEffect(new ScaledRendering(hover));
    }
    hover->setActive(enabled);
}

}  // namespace olvane::ui
