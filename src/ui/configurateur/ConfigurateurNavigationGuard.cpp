#include "ui/configurateur/ConfigurateurNavigationGuard.h"

#include "ui/configurateur/ConfigurateurViewModel.h"

namespace olvane {

bool ConfigurateurNavigationGuard::operator()(NavigationItem target) const {
    if (target == NavigationItem::configurateur) {
        return true;
    }
    const auto model = model_.lock();
    if (!model || model->isActivated()) {
        return true;
    }
    if (model->hasChanges()) {
        model->pendingExitTarget.set(target);
        return false;
    }
    return true;
}

bool ConfigurateurNavigationGuard::guards(
    const std::shared_ptr<ConfigurateurViewModel>& model) const {
    return !model_.owner_before(model) && !model.owner_before(model_);
}

void ConfigurateurNavigationGuard::install(AppState& appState,
                                           const std::shared_ptr<ConfigurateurViewModel>& model) {
    appState.navigationGuard.set(ConfigurateurNavigationGuard(model));
}

void ConfigurateurNavigationGuard::remove(AppState& appState,
                                          const std::shared_ptr<ConfigurateurViewModel>& model) {
    const auto* current = appState.navigationGuard.get().target<ConfigurateurNavigationGuard>();
    if (current && current->guards(model)) {
        appState.navigationGuard.set({});
    }
}

}  // namespace olvane
