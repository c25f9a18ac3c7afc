#pragma once

#include <QColor>
#include <memory>
#include <string>
#include <vector>

#include "platform/BackgroundQueue.h"
#include "platform/linux/NoSafariApplication.h"
#include "platform/sim/ManualRunLoop.h"
#include "support/TempHome.h"
#include "ui/foundation/FixtureCatalogue.h"
#include "ui/foundation/InstalledAppsService.h"
#include "ui/pages/extensions/ExtensionsViewModel.h"

namespace olvane::test {

// Remembers the addresses it was asked to open.
class RecordingUrlOpener final : public ui::UrlOpener {
  public:
    void openUrl(const std::string& address) override { opened.push_back(address); }
    std::vector<std::string> opened;
};

// Browsers installed as desktop entries of a fixture tree, and the collaborators of the
// extensions model over them.
struct BrowserFixture {
    TempHome home;
    platform::sim::ManualRunLoop loop;
    FixtureCatalogue catalogue{home.root()};
    platform::BackgroundQueue background;
    ui::InstalledAppsService installedApps{loop, catalogue, background};
    RecordingUrlOpener urls;
    platform::os::NoSafariApplication safari{loop};

    // An application entry under `desktopId` whose icon is a square of `color`.
    void install(const std::string& desktopId, const QColor& color = Qt::darkGray) {
        const std::string icon = desktopId + "-icon";
        catalogue.addThemeIcon(icon, color);
        FixtureCatalogue::write(catalogue.user() / (desktopId + ".desktop"),
                                FixtureCatalogue::application(desktopId, icon));
    }
    ui::ExtensionsViewModel::Collaborators collaborators() { return {installedApps, urls, safari}; }
};

}  // namespace olvane::test
