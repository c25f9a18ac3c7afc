#pragma once

#include <functional>

#include "ui/foundation/TappableCard.h"

class QLabel;

namespace olvane::ui {

// The card shown while a keyboard pause runs: the time left and a "Reprendre" pill. A click
// anywhere on it, the pill included, calls `onResume`.
class PauseStatusCard final : public TappableCard {
    Q_OBJECT

  public:
    explicit PauseStatusCard(std::function<void()> onResume, QWidget* parent = nullptr);

    // `remaining` as the model writes it ("4m 59s").
    void setRemaining(const QString& remaining);
    QString countdown() const;

  private:
    QLabel* countdown_;
};

}  // namespace olvane::ui
