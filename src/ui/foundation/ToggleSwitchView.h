#pragma once

#include <QColor>

#include "ui/foundation/HoverButton.h"
#include "ui/foundation/ToggleGeometry.h"

namespace olvane::ui {

class SpringAnimation;

// A switch with its own click, a disabled look (half opacity, no clicks) and an inverted scheme
// for dark surroundings. A click slides the thumb with the spring; a value set by the caller
// moves it at once.
class ToggleSwitchView final : public HoverButton {
    Q_OBJECT

  public:
    struct Colors {
        QColor track;
        QColor thumb;
        QColor outline;
    };
    static Colors colors(bool isInverted, bool isOn);

    ToggleSwitchView(bool isOn, bool disabled, bool isInverted, ToggleGeometry geometry,
                     QWidget* parent = nullptr);

    bool isOn() const { return on_; }
    // The caller's value: no slide.
    void setOn(bool on);
    // Disabled: drawn at half opacity and deaf to clicks; it still grows under the pointer.
    void setSwitchDisabled(bool disabled);
    // Its own flag; a disabled container blocks it too, without dimming it.
    bool isSwitchDisabled() const;
    qreal thumbX() const;

    QSize sizeHint() const override;

  Q_SIGNALS:
    // A click changed the value.
    void toggledByUser(bool on);

  protected:
    void paintContent(QPainter& painter) override;

  private:
    bool on_;
    bool inverted_;
    ToggleGeometry geometry_;
    SpringAnimation* thumb_;
};

}  // namespace olvane::ui
