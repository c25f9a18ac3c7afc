#include "ui/shell/ConfigurateurServices.h"

#include "app/AppServices.h"

namespace olvane::ui {

ConfigurateurServices::ConfigurateurServices(AppServices& services, AppState& appState)
    : settings_(services.settings()),
      rules_(services.rulesFile()),
      grayscale_(services),
      monitoring_(services.appMonitoring()),
      appState_(appState) {}

}  // namespace olvane::ui
