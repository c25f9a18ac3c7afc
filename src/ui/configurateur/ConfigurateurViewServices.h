#pragma once

#include "app/AppState.h"
#include "platform/RunLoop.h"

namespace olvane::ui {

class FaviconService;
class InstalledAppsService;

// What the Configurateur page and its screens use besides their model.
struct ConfigurateurViewServices {
    AppState& appState;
    platform::RunLoop& loop;
    FaviconService& favicons;
    InstalledAppsService& installedApps;
};

}  // namespace olvane::ui
