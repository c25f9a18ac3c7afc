// The program's pages over the real composition root in a temporary home.
#include <gtest/gtest.h>

#include "app/AppServices.h"
#include "app/MenuBarPresence.h"
#include "grayscale/GrayscaleFilterService.h"
#include "platform/FileIO.h"
#include "platform/LoopFrameClock.h"
#include "platform/linux/FreedesktopTrash.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/MemoryKeyValueStore.h"
#include "platform/sim/MemoryLoginItems.h"
#include "platform/sim/MemoryServiceManager.h"
#include "platform/sim/RecordingDetachedProcesses.h"
#include "platform/sim/ScriptedSystemEvents.h"
#include "platform/sim/SimAccessibilityTrust.h"
#include "platform/sim/SimEventTap.h"
#include "platform/sim/SimFileWatcher.h"
#include "platform/sim/SimGrayscaleSwitch.h"
#include "platform/sim/SimKeyEventSource.h"
#include "platform/sim/SimOverlayWindows.h"
#include "platform/sim/SimSafariExtensionManager.h"
#include "platform/sim/SimWindowServer.h"
#include "platform/sim/SimWorkspace.h"
#include "platform/sim/SimulatedDisplayDevice.h"
#include "platform/sim/SimulatedDisplayFile.h"
#include "support/TempHome.h"
#include "ui/foundation/IconSources.h"
#include "ui/foundation/PageHeader.h"
#include "ui/pages/accueil/AccueilView.h"
#include "ui/pages/assainisseur/ContentFilterView.h"
#include "ui/pages/extensions/ExtensionsView.h"
#include "ui/pages/extensions/WebExtensionPromptSheet.h"
#include "ui/pages/reglages/SettingsView.h"
#include "ui/pages/reglages/UninstallProgressView.h"
#include "ui/shell/ApplicationPageFactory.h"
#include "ui/shell/ConfigurateurServices.h"

namespace olvane::ui {
namespace {

using platform::sim::ScopedLogCapture;

class NoMenuBar final : public MenuBarPresence {
  public:
    void setupMenuBar() override {}
    void updateStatusItemIcon() override {}
    void hideExtensionWarning() override {}
};

// The composition root over simulated seams and real files.
struct Program {
    test::TempHome home;
    platform::Paths paths = home.paths();
    platform::sim::ManualRunLoop loop;
    platform::sim::SimFileWatcher files;
    platform::sim::MemoryKeyValueStore defaults;
    platform::sim::SimulatedDisplayDevice display{
        platform::sim::SimulatedDisplayFile::defaultPath(paths)};
    platform::sim::SimGrayscaleSwitch grayscaleSwitch;
    platform::sim::SimAccessibilityTrust trust{true};
    platform::sim::SimKeyEventSource keys;
    platform::sim::SimWorkspace workspace;
    platform::sim::SimWindowServer windowServer;
    platform::sim::SimEventTap eventTap;
    platform::sim::SimOverlayWindows<FogEffectState> fogWindows;
    platform::LoopFrameClock frameClock{loop, FogEffectService::kMinFrameInterval};
    platform::sim::SimOverlayWindows<DelayPanelState> delayPanels;
    platform::sim::ScriptedSystemEvents systemEvents;
    platform::sim::MemoryServiceManager userServices;
    platform::sim::RecordingDetachedProcesses detachedProcesses;
    platform::sim::MemoryLoginItems loginItems;
    platform::os::FreedesktopTrash trash{paths.trashFolder(), loop.clock()};
    platform::sim::SimSafariExtensionManager safari;
    AppState appState;
    NoMenuBar menuBar;
    AppServices services{PlatformBackends{.loop = loop,
                                          .clock = loop.clock(),
                                          .paths = paths,
                                          .files = files,
                                          .defaults = defaults,
                                          .display = display,
                                          .grayscaleSwitch = grayscaleSwitch,
                                          .accessibilityTrust = trust,
                                          .keys = keys,
                                          .workspace = workspace,
                                          .windowServer = windowServer,
                                          .eventTap = eventTap,
                                          .eventTapTrust = trust,
                                          .fogWindows = fogWindows,
                                          .pointer = eventTap,
                                          .frameClock = frameClock,
                                          .delayPanels = delayPanels,
                                          .systemEvents = systemEvents,
                                          .userServices = userServices,
                                          .detachedProcesses = detachedProcesses,
                                          .loginItems = loginItems,
                                          .trash = trash,
                                          .safariExtensions = safari,
                                          .watchdogExecutable = home.root() / "OlvaneWatchdog",
                                          .hostExecutable = home.root() / "olvanemac-host",
                                          .bundle = ApplicationBundle::locate(
                                              home.root() / "OlvaneMac", std::nullopt, paths)},
                         appState, menuBar, [] {}};
    // Nothing here looks a site up: no download starts.
    IconSources icons{loop, loop.clock(), paths};
};

TEST(ApplicationPageFactory, EachOpeningOfTheConfigurateurStartsFromTheSavedSettings) {
    Program program;
    ApplicationPageFactory pages(program.appState, program.loop);
    pages.attachServices(program.services, program.icons);
    ScopedLogCapture log;

    const auto first = pages.createPage(NavigationItem::configurateur);
    EXPECT_EQ(first->objectName(), "configurateur");
    EXPECT_EQ(first->findChild<PageHeader*>()->title(), "Configurateur");
    program.services.settings().settings().grayscaleAllowedApps = {"org.example.app"};
    ASSERT_TRUE(program.services.settings().saveSettings(false));
    const auto second = pages.createPage(NavigationItem::configurateur);
    EXPECT_EQ(pages.createPage(NavigationItem::guide)->objectName(), "guide");
    EXPECT_EQ(
        log->texts("Settings"),
        (std::vector<std::string>{"ConfigurateurViewModel initialisé — isFreshConfig: true",
                                  "Réglages sauvegardés avec succès",
                                  "ConfigurateurViewModel initialisé — isFreshConfig: false"}));
}

TEST(ApplicationPageFactory, TheSettingsPageAndTheProgressScreenStandOnTheUninstallService) {
    Program program;
    ApplicationPageFactory pages(program.appState, program.loop);
    EXPECT_NE(qobject_cast<AccueilView*>(pages.createPage(NavigationItem::accueil).get()), nullptr);
    pages.attachServices(program.services, program.icons);
    EXPECT_NE(qobject_cast<SettingsView*>(pages.createPage(NavigationItem::settings).get()),
              nullptr);

    const auto progress = pages.createUninstallProgress();
    auto* view = qobject_cast<UninstallProgressView*>(progress.get());
    ASSERT_NE(view, nullptr);
    program.services.uninstallService().currentStepLabel.set("Envoi des commandes");
    EXPECT_EQ(view->stepLabel(), "Envoi des commandes");
}

TEST(ApplicationPageFactory, BuildsTheAssainisseurAndExtensionsPagesAndThePrompt) {
    Program program;
    ApplicationPageFactory pages(program.appState, program.loop);
    pages.attachServices(program.services, program.icons);

    EXPECT_NE(
        dynamic_cast<ContentFilterView*>(pages.createPage(NavigationItem::contentFilter).get()),
        nullptr);
    EXPECT_NE(dynamic_cast<ExtensionsView*>(pages.createPage(NavigationItem::extensions).get()),
              nullptr);
    EXPECT_NE(
        dynamic_cast<WebExtensionPromptSheet*>(pages.createWebExtensionPrompt([] {}, [] {}).get()),
        nullptr);
}

TEST(ConfigurateurServices, ActivationReachesTheGrayscaleFilterAndItsSites) {
    Program program;
    // Already made, as after the start-up restored the filter: switching it writes no site.
    (void)program.services.grayscale();
    ConfigurateurServices services(program.services, program.appState);
    ConfigurateurViewModel wizard(services.collaborators());
    wizard.wantsGrayscaleEnabled.set(true);
    wizard.addGrayscaleAllowedSite("https://www.News.test/");
    wizard.activateConfiguration();

    EXPECT_TRUE(program.appState.isGrayscaleFilterEnabled());
    EXPECT_TRUE(program.services.settings().settings().userWantsGrayscaleEnabled);
    const auto rules =
        json::parse(*platform::readWholeFile(program.services.rulesFile().rulesFile()));
    ASSERT_TRUE(rules);
    EXPECT_EQ(rules->at("_grayscale"), (Json{{"allowedSites", {"news.test"}}}));
    EXPECT_EQ(wizard.currentScreenIndex(), ConfigurateurViewModel::kExtensionsScreen);
}

}  // namespace
}  // namespace olvane::ui
