#pragma once

#include <QString>
#include <QVariantAnimation>
#include <QWidget>

#include "friction/DelayPanelState.h"
#include "platform/Handle.h"

namespace olvane::ui {

class DelayButton;

// What a panel of the delay's waiting screen shows: the time left, "avant l'accès à" and the
// target's name, "Fermer l'application" and, once no time is left, "Continuer"; the logo and
// "Olvane" at the bottom. Each change of the time is animated for 0.3 s.
class DelayAccessOverlayView final : public QWidget {
    Q_OBJECT

  public:
    explicit DelayAccessOverlayView(DelayPanelState& state, QWidget* parent = nullptr);
    ~DelayAccessOverlayView() override;

    QString timeText() const;
    QString subtitle() const;
    DelayButton* closeButton() const { return close_; }
    // Hidden until no time is left.
    DelayButton* continueButton() const { return continue_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void timeChanged();
    void layoutButtons();
    qreal columnTop() const;
    void paintTime(QPainter& painter, qreal top);
    void paintBrand(QPainter& painter);

    DelayPanelState& state_;
    DelayButton* close_;
    DelayButton* continue_;
    QString shownTime_;
    // The time shown before the last change, fading out while the new one fades in.
    QString previousTime_;
    qreal progress_ = 1.0;
    QVariantAnimation transition_;
    platform::Handle observation_;
};

}  // namespace olvane::ui
