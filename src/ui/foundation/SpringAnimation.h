#pragma once

#include <QObject>
#include <QPointer>
#include <QVariantAnimation>

class QWidget;

namespace olvane::ui {

// One number of a widget (a thumb's position) that slides to its new value with the switches'
// spring, or jumps there; the widget is repainted at every step.
class SpringAnimation final : public QObject {
    Q_OBJECT

  public:
    SpringAnimation(QWidget* target, qreal initial);

    qreal value() const { return value_; }
    // Where the value is heading (its value when at rest).
    qreal destination() const { return destination_; }
    bool isRunning() const;

    void slideTo(qreal destination);
    void jumpTo(qreal destination);

  private:
    void show(qreal value);

    QPointer<QWidget> target_;
    QVariantAnimation animation_;
    qreal value_;
    qreal destination_;
};

}  // namespace olvane::ui
