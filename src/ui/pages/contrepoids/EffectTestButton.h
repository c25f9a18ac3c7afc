#pragma once

#include <QString>
#include <QVariantAnimation>
#include <cstdint>

#include "ui/foundation/HoverButton.h"

namespace olvane::ui {

// The "Tester 5s" button of an effect: black on white while idle; while its test runs, white on
// black with a cross and "Annuler 3s". The two labels swap in 0.15 s.
class EffectTestButton final : public HoverButton {
    Q_OBJECT

  public:
    static constexpr int kAnimationMs = 150;
    // Around the label.
    static constexpr int kPaddingH = 16;
    static constexpr int kPaddingV = 8;

    explicit EffectTestButton(QWidget* parent = nullptr);

    void setTesting(bool testing);
    bool isTesting() const { return testing_; }
    void setRemainingSeconds(std::int64_t seconds);
    // The text shown now: "Tester 5s" or "Annuler 3s".
    QString label() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintContent(QPainter& painter) override;

  private:
    QString cancelText() const;
    QSize idleSize() const;
    QSize testingSize() const;

    bool testing_ = false;
    std::int64_t remainingSeconds_ = 0;
    qreal progress_ = 0;
    QVariantAnimation swap_;
};

}  // namespace olvane::ui
