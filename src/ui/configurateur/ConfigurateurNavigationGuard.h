#pragma once

#include <memory>

#include "app/AppState.h"

namespace olvane {

class ConfigurateurViewModel;

// What the Configurateur page asks before the sidebar leaves it: with changes pending it keeps
// the page and records where the user wanted to go, which opens the exit confirmation. It holds
// the model weakly and lets everything pass once the model is gone or activated. The page
// itself always passes, so a click on it never asks to leave it.
class ConfigurateurNavigationGuard {
  public:
    explicit ConfigurateurNavigationGuard(std::weak_ptr<ConfigurateurViewModel> model)
        : model_(std::move(model)) {}

    bool operator()(NavigationItem target) const;

    // Whether this is the guard of `model`.
    bool guards(const std::shared_ptr<ConfigurateurViewModel>& model) const;

    static void install(AppState& appState, const std::shared_ptr<ConfigurateurViewModel>& model);
    // Clears the guard only while it is still the one of `model`: a newer page may have put its
    // own in place already.
    static void remove(AppState& appState, const std::shared_ptr<ConfigurateurViewModel>& model);

  private:
    std::weak_ptr<ConfigurateurViewModel> model_;
};

}  // namespace olvane
