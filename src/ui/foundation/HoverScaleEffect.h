#pragma once

#include <QObject>
#include <QPointer>
#include <QTransform>
#include <QVariantAnimation>
#include <optional>

#include "ui/foundation/HoverScale.h"

class QWidget;

namespace olvane::ui {

// Gives a custom-painted widget the hover growth: follows the pointer and the widget's size,
// animates the factor (ease-out, 0.05 s) and repaints; the widget applies transform() when it
// paints. Disabled, it leaves the widget at its size and starts afresh when enabled again.
class HoverScaleEffect final : public QObject {
    Q_OBJECT

  public:
    static constexpr int kAnimationMs = 50;

    explicit HoverScaleEffect(QWidget* target);
    // The lighter effect: a fixed factor while hovered, nothing measured.
    static HoverScaleEffect* lite(QWidget* target, qreal scale);

    void setActive(bool active);
    bool isActive() const { return active_; }
    bool isHovered() const { return state_.hovered(); }
    // The factor drawn now (it moves during the animation).
    qreal currentScale() const { return current_; }
    // The factor the animation heads for.
    qreal targetScale() const;
    // Scaling about the centre of the widget's rectangle.
    QTransform transform() const;
    // Scaling about another point, for a widget whose content does not fill it.
    QTransform transformAbout(QPointF anchor) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void measure();
    void setHovered(bool hovered);
    void animateTo(qreal scale);

    QPointer<QWidget> target_;
    HoverScale state_;
    QVariantAnimation animation_;
    qreal current_ = 1.0;
    bool active_ = true;
    std::optional<qreal> fixedScale_;
};

}  // namespace olvane::ui
