#include "app/DesktopGrayscale.h"

#include "platform/linux/GSettingsKeys.h"
#include "platform/linux/GnomeZoomSwitch.h"
#include "platform/linux/KWinColourFilterSwitch.h"
#include "platform/linux/SessionBus.h"

namespace olvane {
namespace {

using platform::os::KWinColourFilterSwitch;
using Display = GrayscaleRoute::Display;
using Switch = GrayscaleRoute::Switch;

constexpr const char* kInReserve = ", en réserve : la propriété CTM sert";
constexpr const char* kNeverGrey = ", l’écran ne passera pas en gris";

GrayscaleDesktop lookAtSession(bool ctmOutputs) {
    GrayscaleDesktop desktop;
    desktop.ctmOutputs = ctmOutputs;
    const auto bus = platform::os::SessionBus::open();
    if (bus) {
        desktop.gnomeShell = bus->hasOwner("org.gnome.Shell");
        desktop.kwin = KWinColourFilterSwitch::runningVersion(*bus);
    }
    // Only the Shell's zoom needs them: elsewhere GSettings is never loaded.
    if (desktop.gnomeShell) {
        if (platform::os::GSettingsKeys::shared(&desktop.gsettingsModuleFailure)) {
            desktop.gnomeSchemas = platform::os::GnomeZoomSwitch::schemasInstalled();
        }
    }
    return desktop;
}

}  // namespace

GrayscaleRoute GrayscaleRoute::choose(const GrayscaleDesktop& desktop) {
    using platform::ComposedText;
    const auto display = desktop.ctmOutputs ? Display::RandrCtm : Display::Simulated;
    const ComposedText reserve(desktop.ctmOutputs ? kInReserve : "");
    if (desktop.gnomeShell && desktop.gnomeSchemas) {
        return {Display::RandrCtm, Switch::GnomeZoom,
                "zoom d’accessibilité de GNOME Shell, à saturation nulle" + reserve};
    }
    const bool kwinHasMode =
        desktop.kwin && *desktop.kwin >= KWinColourFilterSwitch::kFirstWithMonochrome;
    if (kwinHasMode) {
        return {Display::RandrCtm, Switch::KWinColourFilter,
                "effet de correction des couleurs de KWin " + ComposedText(desktop.kwin->text()) +
                    ", mode monochrome" + reserve};
    }
    if (desktop.ctmOutputs) {
        return {display, Switch::Simulated, "simulés : la propriété CTM sert"};
    }
    if (desktop.kwin) {
        return {Display::RandrCtm, Switch::Unavailable,
                "aucun : KWin " + ComposedText(desktop.kwin->text()) +
                    " n’a pas de mode monochrome (6.6 requis)" + kNeverGrey};
    }
    if (desktop.gnomeShell && !desktop.gsettingsModuleFailure.empty()) {
        return {
            Display::RandrCtm, Switch::Unavailable,
            "aucun : " + platform::os::gsettingsModuleFailureText(desktop.gsettingsModuleFailure) +
                kNeverGrey};
    }
    if (desktop.gnomeShell) {
        return {Display::RandrCtm, Switch::Unavailable,
                ComposedText("aucun : schémas du zoom de GNOME introuvables") + kNeverGrey};
    }
    return {display, Switch::Simulated, "simulés : ni GNOME Shell ni KWin sur le bus de session"};
}

DesktopGrayscale::DesktopGrayscale(const platform::Paths& paths, bool ctmOutputs,
                                   platform::RunLoop& loop, platform::FileWatcher& files)
    : route_(GrayscaleRoute::choose(lookAtSession(ctmOutputs))) {
    switch (route_.desktopSwitch) {
        case Switch::GnomeZoom:
            // Qt's event loop runs GLib's main context in this program.
            desktop_ = std::make_unique<platform::os::GnomeZoomSwitch>(
                paths, platform::os::GnomeZoomSwitch::MainContext::RunElsewhere, &files);
            break;
        case Switch::KWinColourFilter:
            desktop_ = std::make_unique<KWinColourFilterSwitch>(paths, &loop, &files);
            break;
        case Switch::Unavailable:
            simulated_.setLoadable(false);
            simulated_.setLoadFailureText("Impossible de charger un filtre N&B du bureau");
            break;
        case Switch::Simulated:
            break;
    }
}

platform::GrayscaleSwitch& DesktopGrayscale::grayscaleSwitch() {
    if (desktop_) {
        return *desktop_;
    }
    return simulated_;
}

}  // namespace olvane
