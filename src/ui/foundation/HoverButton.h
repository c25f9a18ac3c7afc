#pragma once

#include <QAbstractButton>

#include "ui/foundation/HoverScaleEffect.h"

namespace olvane::ui {

// A plain, chrome-less button that paints its own label and grows slightly under the pointer.
// Subclasses paint in paintContent(), already scaled about the button's centre.
class HoverButton : public QAbstractButton {
    Q_OBJECT

  public:
    explicit HoverButton(QWidget* parent = nullptr);

    // The hover growth, switched by a condition (off for a selected row, for instance).
    void setHoverScaleEnabled(bool enabled) { hover_->setActive(enabled); }
    const HoverScaleEffect& hoverScale() const { return *hover_; }

  protected:
    virtual void paintContent(QPainter& painter) = 0;
    // The point the growth is about: the centre, unless the content sits elsewhere.
    virtual QPointF scaleAnchor() const { return QRectF(rect()).center(); }
    void paintEvent(QPaintEvent* event) override;
    // The whole rectangle is the click target.
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }

  private:
    HoverScaleEffect* hover_;
};

}  // namespace olvane::ui
