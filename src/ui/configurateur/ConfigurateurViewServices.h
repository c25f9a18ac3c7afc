#pragma once

#include "app/AppState.h"
#include "platform/RunLoop.h"
#include "ui/pages/extensions/ExtensionsViewModel.h"

namespace olvane::ui {

class FaviconService;
class InstalledAppsService;

// What the Configurateur page and its screens use besides their model.
struct ConfigurateurViewServices {
    AppState& appState;
    platform::RunLoop& loop;
    FaviconService& favicons;
    InstalledAppsService& installedApps;
    // What the browser cards of the last screen are made with.
    ExtensionsViewModel::Collaborators extensions;
};

}  // namespace olvane::ui
