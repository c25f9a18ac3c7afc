#pragma once

#include "ui/foundation/HoverButton.h"
#include "ui/foundation/ToggleGeometry.h"

namespace olvane::ui {

class SpringAnimation;

// The application's on/off switch for a Boolean: black track and white thumb when on, white
// track and black thumb when off, at the trailing end of its width. A click toggles it; any
// change of the value, a click's or the caller's setChecked(), slides the thumb with the spring.
class OlvaneToggleStyle final : public HoverButton {
    Q_OBJECT

  public:
    explicit OlvaneToggleStyle(qreal scale = 1.0, QWidget* parent = nullptr);

    const ToggleGeometry& geometry() const { return geometry_; }
    // Shows `checked` with the thumb already in place, as when a page first appears.
    void setCheckedAtOnce(bool checked);
    // The thumb's offset from the track's leading edge, as drawn now.
    qreal thumbX() const;

    QSize sizeHint() const override;

  protected:
    void paintContent(QPainter& painter) override;

  private:
    ToggleGeometry geometry_;
    SpringAnimation* thumb_;
};

}  // namespace olvane::ui
