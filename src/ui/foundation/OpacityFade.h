#pragma once

#include <QObject>
#include <QPointer>
#include <QVariantAnimation>

class QGraphicsOpacityEffect;
class QWidget;

namespace olvane::ui {

// Fades a widget, children included, in or out, ease-in-out; faded out it keeps its place in
// the layout and takes no clicks. The widget must have no other graphics effect.
class OpacityFade final : public QObject {
    Q_OBJECT

  public:
    OpacityFade(QWidget* target, int durationMs, bool shown = true);

    void setShown(bool shown);
    bool isShown() const { return shown_; }
    // The opacity drawn now (it moves during the fade).
    qreal opacity() const;

  private:
    void setOpacity(qreal opacity);

    QPointer<QWidget> target_;
    QGraphicsOpacityEffect* effect_;
    QVariantAnimation animation_;
    bool shown_;
};

}  // namespace olvane::ui
