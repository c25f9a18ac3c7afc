#pragma once

#include <QWidget>

#include "ui/foundation/ToggleGeometry.h"

namespace olvane::ui {

class SpringAnimation;

// A switch that only shows a state: a white capsule, outlined white when active and black when
// not, with a black thumb that slides with the spring. It takes no clicks: the card around it
// handles them.
class MainCardToggle final : public QWidget {
    Q_OBJECT

  public:
    MainCardToggle(bool isActive, qreal scale, QWidget* parent = nullptr);

    bool isActive() const { return active_; }
    void setActive(bool active);
    const ToggleGeometry& geometry() const { return geometry_; }
    qreal thumbX() const;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool active_;
    ToggleGeometry geometry_;
    SpringAnimation* thumb_;
};

}  // namespace olvane::ui
