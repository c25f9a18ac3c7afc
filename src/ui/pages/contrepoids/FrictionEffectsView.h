#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "ui/pages/contrepoids/FrictionEffectsViewModel.h"
#include "ui/pages/contrepoids/RedListItemRow.h"

namespace olvane::ui {

class EffectsSection;
class InstalledAppsService;
class RedListSection;
class SheetPresenter;

// The Contrepoids page: its header, the effects with their five-second tests, the targets, and
// the two sheets that add a target. It makes and owns its model, so each opening starts from
// the saved settings, and leaving it ends the tests that run.
class FrictionEffectsView final : public QWidget {
    Q_OBJECT

  public:
    // Given the page itself, over whose window the delay test's panel shows.
    using Collaborators = std::function<FrictionEffectsViewModel::Collaborators(QWidget& page)>;

    FrictionEffectsView(const Collaborators& collaborators, InstalledAppsService& apps,
                        QWidget* parent = nullptr);
    ~FrictionEffectsView() override;

    FrictionEffectsViewModel& viewModel() { return *viewModel_; }
    EffectsSection* effects() const { return effects_; }
    RedListSection* targets() const { return targets_; }
    // The sheet on screen, if any.
    QWidget* appPicker() const;
    QWidget* sitePicker() const;

  private:
    std::unique_ptr<FrictionEffectsViewModel> viewModel_;
    EffectsSection* effects_;
    RedListSection* targets_;
    std::unique_ptr<SheetPresenter> appPicker_;
    std::unique_ptr<SheetPresenter> sitePicker_;
};

}  // namespace olvane::ui
