#include <gtest/gtest.h>

#include "app/DesktopGrayscale.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/SimFileWatcher.h"
#include "support/DesktopStandIn.h"
#include "support/PrivateSessionBus.h"
#include "support/TempHome.h"

namespace olvane {
namespace {

using platform::os::KWinVersion;
using Display = GrayscaleRoute::Display;
using Switch = GrayscaleRoute::Switch;

TEST(DesktopGrayscaleTest, ChoiceAtStart) {
    const struct {
        const char* name;
        GrayscaleDesktop desktop;
        Display display;
        Switch desktopSwitch;
        const char* description;
    } cases[] = {
        {"CTM",
         {true, false, false, std::nullopt, {}},
         Display::RandrCtm,
         Switch::Simulated,
         "simulés : la propriété CTM sert"},
        // The desktop's switch is kept for the reset after a crash.
        {"CTM on GNOME",
         {true, true, true, std::nullopt, {}},
         Display::RandrCtm,
         Switch::GnomeZoom,
         "zoom d’accessibilité de GNOME Shell, à saturation nulle, en réserve : la propriété CTM "
         "sert"},
        {"GNOME",
         {false, true, true, std::nullopt, {}},
         Display::RandrCtm,
         Switch::GnomeZoom,
         "zoom d’accessibilité de GNOME Shell, à saturation nulle"},
        {"GNOME without schemas",
         {false, true, false, std::nullopt, {}},
         Display::RandrCtm,
         Switch::Unavailable,
         "aucun : schémas du zoom de GNOME introuvables, l’écran ne passera pas en gris"},
        {"GNOME without the module",
         {false, true, false, std::nullopt, "/opt/x/olvane_gsettings.so: invalid ELF header"},
         Display::RandrCtm,
         Switch::Unavailable,
         "aucun : module olvane_gsettings.so non chargé (/opt/x/olvane_gsettings.so: invalid ELF "
         "header), l’écran ne passera pas en gris"},
        {"KWin 6.6",
         {false, false, false, KWinVersion{6, 6, 0}, {}},
         Display::RandrCtm,
         Switch::KWinColourFilter,
         "effet de correction des couleurs de KWin 6.6.0, mode monochrome"},
        {"KWin 6.3",
         {false, false, true, KWinVersion{6, 3, 4}, {}},
         Display::RandrCtm,
         Switch::Unavailable,
         "aucun : KWin 6.3.4 n’a pas de mode monochrome (6.6 requis), l’écran ne passera pas en "
         "gris"},
        {"CTM on KWin 6.3",
         {true, false, false, KWinVersion{6, 3, 4}, {}},
         Display::RandrCtm,
         Switch::Simulated,
         "simulés : la propriété CTM sert"},
        {"nothing",
         {false, false, true, std::nullopt, {}},
         Display::Simulated,
         Switch::Simulated,
         "simulés : ni GNOME Shell ni KWin sur le bus de session"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto route = GrayscaleRoute::choose(c.desktop);
        EXPECT_EQ(route.display, c.display);
        EXPECT_EQ(route.desktopSwitch, c.desktopSwitch);
        EXPECT_EQ(route.description, c.description);
    }
}

// What the session bus says, through stand-ins on a private bus.
TEST(DesktopGrayscaleTest, SessionBusIsAsked) {
    test::TempHome home;
    test::PrivateSessionBus bus;
    ASSERT_TRUE(bus.ready());
    platform::sim::ManualRunLoop loop;
    platform::sim::SimFileWatcher files;
    EXPECT_EQ(DesktopGrayscale(home.paths(), false, loop, files).route().desktopSwitch,
              Switch::Simulated);
    {
        const auto kwin = test::DesktopStandIn::kwin("6.6.2");
        ASSERT_TRUE(kwin->ready());
        EXPECT_EQ(DesktopGrayscale(home.paths(), false, loop, files).route().desktopSwitch,
                  Switch::KWinColourFilter);
    }
    const auto shell = test::DesktopStandIn::gnomeShell();
    ASSERT_TRUE(shell->ready());
    DesktopGrayscale gnome(home.paths(), false, loop, files);
    EXPECT_EQ(gnome.route().desktopSwitch, Switch::GnomeZoom);
    EXPECT_TRUE(gnome.grayscaleSwitch().load());
}

}  // namespace
}  // namespace olvane
