#pragma once

#include <QVariantAnimation>
#include <functional>

#include "ui/foundation/TappableCard.h"

class QLabel;

namespace olvane::ui {

class MainCardToggle;
class SymbolView;

// The large card that switches the filter: white with black content while off, black with
// white content while on, crossing over in 0.3 s. A click anywhere on it calls `onTap`; it
// shows the new state only when told (setOn).
class MainToggleCard final : public TappableCard {
    Q_OBJECT

  public:
    static constexpr int kAnimationMs = 300;

    MainToggleCard(bool on, std::function<void()> onTap, QWidget* parent = nullptr);

    void setOn(bool on);
    bool isOn() const { return on_; }
    QString status() const;
    MainCardToggle* toggle() const { return toggle_; }
    SymbolView* symbol() const { return symbol_; }

    static QString statusText(bool on);

  private:
    // 0 shows off, 1 shows on; in between while crossing over.
    void showProgress(qreal progress);

    bool on_;
    qreal progress_ = 0;
    SymbolView* symbol_;
    QLabel* title_;
    QLabel* status_;
    MainCardToggle* toggle_;
    QVariantAnimation crossing_;
};

}  // namespace olvane::ui
