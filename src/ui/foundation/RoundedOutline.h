#pragma once

#include <QColor>
#include <QPainterPath>

#include "ui/foundation/OverlayLayer.h"

namespace olvane::ui {

// Rounded corners and a black outline over a widget and its children: outside the corners it
// paints the page's white (which cuts the children's own backgrounds there), then the outline,
// `visibleWidth` wide, inside the widget's edges.
class RoundedOutline final : public OverlayLayer {
    Q_OBJECT

  public:
    RoundedOutline(QWidget* host, qreal radius, qreal visibleWidth);

    // For outlines that change with their card's state (and animate).
    void setOutline(qreal visibleWidth, const QColor& color);
    qreal outlineWidth() const { return width_; }
    QColor outlineColor() const { return color_; }

    // The shape the outline runs along, for the host's own background.
    static QPainterPath shape(const QRect& rect, qreal radius, qreal visibleWidth);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    qreal radius_;
    qreal width_;
    QColor color_;
};

}  // namespace olvane::ui
