// The program's pages over the real composition root in a temporary home.
#include <gtest/gtest.h>

#include "grayscale/GrayscaleFilterService.h"
#include "platform/FileIO.h"
#include "platform/sim/CaptureLogSink.h"
#include "ui/SimulatedProgram.h"
#include "ui/foundation/IconSources.h"
#include "ui/foundation/PageHeader.h"
#include "ui/pages/accueil/AccueilView.h"
#include "ui/pages/assainisseur/ContentFilterView.h"
#include "ui/pages/contrepoids/FrictionEffectsView.h"
#include "ui/pages/extensions/ExtensionsView.h"
#include "ui/pages/extensions/WebExtensionPromptSheet.h"
#include "ui/pages/monochrome/GrayscaleFilterView.h"
#include "ui/pages/reglages/SettingsView.h"
#include "ui/pages/reglages/UninstallProgressView.h"
#include "ui/shell/ApplicationPageFactory.h"
#include "ui/shell/ConfigurateurServices.h"

namespace olvane::ui {
namespace {

using platform::sim::ScopedLogCapture;
using Program = test::SimulatedProgram;

// The pages of a program attached to its services.
struct ProgramPages {
    Program program;
    IconSources icons{program.loop, program.loop.clock(), program.paths};
    ApplicationPageFactory pages{program.appState, program.loop};
    WindowWidth windowWidth;

    ProgramPages() { pages.attachServices(program.services, icons); }
    std::unique_ptr<QWidget> open(NavigationItem item) {
        return pages.createPage(item, windowWidth);
    }
};

TEST(ApplicationPageFactory, EachOpeningOfTheConfigurateurStartsFromTheSavedSettings) {
    ProgramPages opened;
    auto& program = opened.program;
    ScopedLogCapture log;

    const auto first = opened.open(NavigationItem::configurateur);
    EXPECT_EQ(first->objectName(), "configurateur");
    EXPECT_EQ(first->findChild<PageHeader*>()->title(), "Configurateur");
    program.services.settings().settings().grayscaleAllowedApps = {"org.example.app"};
    ASSERT_TRUE(program.services.settings().saveSettings(false));
    const auto second = opened.open(NavigationItem::configurateur);
    EXPECT_EQ(opened.open(NavigationItem::guide)->objectName(), "guide");
    EXPECT_EQ(
        log->texts("Settings"),
        (std::vector<std::string>{"ConfigurateurViewModel initialisé — isFreshConfig: true",
                                  "Réglages sauvegardés avec succès",
                                  "ConfigurateurViewModel initialisé — isFreshConfig: false"}));
}

TEST(ApplicationPageFactory, TheSettingsPageAndTheProgressScreenStandOnTheUninstallService) {
    Program program;
    IconSources icons{program.loop, program.loop.clock(), program.paths};
    ApplicationPageFactory pages(program.appState, program.loop);
    WindowWidth width;
    EXPECT_NE(qobject_cast<AccueilView*>(pages.createPage(NavigationItem::accueil, width).get()),
              nullptr);
    pages.attachServices(program.services, icons);
    EXPECT_NE(qobject_cast<SettingsView*>(pages.createPage(NavigationItem::settings, width).get()),
              nullptr);

    const auto progress = pages.createUninstallProgress();
    auto* view = qobject_cast<UninstallProgressView*>(progress.get());
    ASSERT_NE(view, nullptr);
    program.services.uninstallService().currentStepLabel.set("Envoi des commandes");
    EXPECT_EQ(view->stepLabel(), "Envoi des commandes");
}

TEST(ApplicationPageFactory, BuildsTheAssainisseurAndExtensionsPagesAndThePrompt) {
    ProgramPages opened;

    EXPECT_NE(dynamic_cast<ContentFilterView*>(opened.open(NavigationItem::contentFilter).get()),
              nullptr);
    EXPECT_NE(dynamic_cast<ExtensionsView*>(opened.open(NavigationItem::extensions).get()),
              nullptr);
    EXPECT_NE(dynamic_cast<WebExtensionPromptSheet*>(
                  opened.pages.createWebExtensionPrompt([] {}, [] {}).get()),
              nullptr);
}

TEST(ApplicationPageFactory, TheMonochromePageLeavesTheFilterToItsFirstUse) {
    ProgramPages opened;
    const auto page = opened.open(NavigationItem::grayscaleFilter);
    auto* monochrome = dynamic_cast<GrayscaleFilterView*>(page.get());
    ASSERT_TRUE(monochrome);
    EXPECT_FALSE(opened.program.services.hasGrayscale());
    monochrome->viewModel().toggleFilter();
    EXPECT_TRUE(opened.program.services.hasGrayscale());
    EXPECT_TRUE(opened.program.appState.isGrayscaleFilterEnabled());
}

TEST(ApplicationPageFactory, TheContrepoidsPageTestsEndBeforeTheServicesGo) {
    ProgramPages opened;
    Program& program = opened.program;
    program.services.frictionEffects().findOwnWindow = [] {
        return std::optional<OwnWindow>(OwnWindow{7, {0, 0, 970, 670}});
    };
    const auto page = opened.open(NavigationItem::frictionEffects);
    auto* contrepoids = qobject_cast<FrictionEffectsView*>(page.get());
    ASSERT_NE(contrepoids, nullptr);
    contrepoids->viewModel().testFog();
    EXPECT_EQ(program.fogWindows.open().size(), 1u);
    opened.pages.stopEffectTests();
    EXPECT_TRUE(program.fogWindows.open().empty());
    EXPECT_FALSE(contrepoids->viewModel().isFogTesting());
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
