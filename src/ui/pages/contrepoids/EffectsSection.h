#pragma once

#include <QWidget>
#include <array>
#include <vector>

#include "platform/Handle.h"

namespace olvane::ui {

class EffectRow;
class FrictionEffectsViewModel;

// "Présentation": the three effects, Buée, Tortue and Délai, each with its five-second test.
// Every running test's row shows "Annuler" with the one shared count, and any of them cancels
// every test.
class EffectsSection final : public QWidget {
    Q_OBJECT

  public:
    explicit EffectsSection(FrictionEffectsViewModel& viewModel, QWidget* parent = nullptr);

    // Buée, Tortue, Délai.
    const std::array<EffectRow*, 3>& rows() const { return rows_; }

  private:
    void showTests();

    FrictionEffectsViewModel& viewModel_;
    std::array<EffectRow*, 3> rows_{};
    std::vector<platform::Handle> observations_;
};

}  // namespace olvane::ui
