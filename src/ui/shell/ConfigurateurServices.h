#pragma once

#include "ui/configurateur/ConfigurateurViewModel.h"
#include "ui/configurateur/RulesFilePublisher.h"
#include "ui/configurateur/SettingsManagerStore.h"
#include "ui/shell/AppMonitoringControl.h"
#include "ui/shell/GrayscaleServiceControl.h"

namespace olvane {
class AppServices;
}

namespace olvane::ui {

// What every Configurateur model is given of the program's services.
class ConfigurateurServices {
  public:
    ConfigurateurServices(AppServices& services, AppState& appState);

    ConfigurateurViewModel::Collaborators collaborators() {
        return {settings_, rules_, grayscale_, monitoring_, appState_};
    }

  private:
    SettingsManagerStore settings_;
    RulesFilePublisher rules_;
    GrayscaleServiceControl grayscale_;
    AppMonitoringControl monitoring_;
    AppState& appState_;
};

}  // namespace olvane::ui
