// The guided configuration walked through as a user would, from the home page to the home page,
// over the program's real services in a temporary home: its page factory and main window, the
// home's desktop entries in the picker, favicons from a fake fetcher. Then what it leaves behind:
// defaults.json, rules.json and its shared copy, the display, the monitoring, the guard.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <algorithm>

#include "model/ContentRuleCatalogue.h"
#include "model/RedListExport.h"
#include "model/SettingsManager.h"
#include "platform/ColorRemapDevice.h"
#include "platform/FileIO.h"
#include "platform/Json.h"
#include "ui/SimulatedProgram.h"
#include "ui/UiTestSupport.h"
#include "ui/configurateur/ConfigurateurView.h"
#include "ui/configurateur/ConfigurateurViewModel.h"
#include "ui/configurateur/ConfiguratorBottomActions.h"
#include "ui/configurateur/ConfiguratorListCard.h"
#include "ui/configurateur/ContentRuleRow.h"
#include "ui/configurateur/RecapModuleLine.h"
#include "ui/configurateur/Screen12_Recap.h"
#include "ui/configurateur/Screen13_Extensions.h"
#include "ui/configurateur/Screen2_MonochromeActivation.h"
#include "ui/configurateur/Screen3_MonochromeApps.h"
#include "ui/configurateur/Screen4_MonochromeSites.h"
#include "ui/configurateur/Screen5_ContrepoidsApps.h"
#include "ui/configurateur/Screen6_ContrepoidsSites.h"
#include "ui/configurateur/Screen7_ContrepoidsIntensity.h"
#include "ui/configurateur/Screen8_11_AssainisseurPlatform.h"
#include "ui/foundation/AddExceptionRow.h"
#include "ui/foundation/Animations.h"
#include "ui/foundation/AppPickerSheet.h"
#include "ui/foundation/FakeFaviconFetcher.h"
#include "ui/foundation/FixtureCatalogue.h"
#include "ui/foundation/HoverableIconButton.h"
#include "ui/foundation/IconSources.h"
#include "ui/foundation/LabelButton.h"
#include "ui/foundation/MainWindowView.h"
#include "ui/foundation/OlvaneToggleStyle.h"
#include "ui/foundation/SitePickerSheet.h"
#include "ui/foundation/ThemedTextField.h"
#include "ui/pages/accueil/AccueilView.h"
#include "ui/pages/accueil/CTAButton.h"
#include "ui/pages/extensions/BrowserExtensionList.h"
#include "ui/shell/ApplicationPageFactory.h"

namespace olvane::ui {
namespace {

using platform::sim::SimulatedDisplayFile;
using F = test::FixtureCatalogue;

class ConfigurateurWalkThrough : public ::testing::Test {
  protected:
    ConfigurateurWalkThrough() {
        Animations::setJumpToEnd(true);
        const auto entries = program.paths.dataHome() / "applications";
        F::write(entries / "org.example.Photos.desktop",
                 F::application("Photos", F::writeIcon(home() / "photos.png", Qt::red).string()));
        F::write(entries / "org.example.Video.desktop",
                 F::application("Lecteur vidéo",
                                F::writeIcon(home() / "video.png", Qt::darkGreen).string()));
        // Two browsers for the cards of the last screen.
        F::write(entries / "firefox.desktop",
                 F::application("Firefox", F::writeIcon(home() / "ff.png", Qt::yellow).string()));
        F::write(entries / "chromium.desktop",
                 F::application("Chromium", F::writeIcon(home() / "cr.png", Qt::cyan).string()));
        // Settings the wizard does not touch, which it must leave as they are.
        auto& settings = program.services.settings().settings();
        settings.grayscalePauseOnFullscreenVideo = true;
        settings.onboardingCompleted = true;
        settings.onboardingVersion = 2;
        EXPECT_TRUE(program.services.settings().saveSettings(false));
        program.services.delegate().performStartup();
        pages.attachServices(program.services, icons);
        window.resize(1100, 760);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    ~ConfigurateurWalkThrough() override { Animations::setJumpToEnd(false); }

    const std::filesystem::path& home() const { return program.home.root(); }
    NavigationItem page() const { return program.appState.selectedNavigationItem(); }
    ConfigurateurView* wizard() const {
        return qobject_cast<ConfigurateurView*>(window.currentPage());
    }
    int screen() const { return wizard()->viewModel().currentScreenIndex(); }
    template <typename Screen>
    Screen* shown() const {
        auto* screen = qobject_cast<Screen*>(wizard()->currentScreen());
        EXPECT_TRUE(screen);
        return screen;
    }
    // A key to the main window, in front again once a picker has closed.
    void press(Qt::Key key) {
        window.activateWindow();
        ASSERT_TRUE(
            test::processEventsUntil([&] { return QApplication::activeWindow() == &window; }));
        QTest::keyClick(&window, key);
    }
    void forward() { wizard()->bottomActions()->forwardButton()->click(); }
    // Answers every waiting favicon request.
    void answerFavicons() {
        for (std::size_t i = 0; i < fetcher.requests.size(); ++i) {
            if (*fetcher.requests[i].completion) {
                fetcher.answer(
                    i, {std::nullopt, 200, test::FakeFaviconFetcher::png(Qt::blue), "image/png"});
            }
        }
    }
    void grab(const QString& name) {
        answerFavicons();
        EXPECT_TRUE(test::saveArtefact(window, "walk-" + name));
    }

    void startWizard() {
        ASSERT_EQ(page(), NavigationItem::accueil);
        qobject_cast<AccueilView*>(window.currentPage())->ctaButton()->click();
        ASSERT_EQ(page(), NavigationItem::configurateur);
        ASSERT_EQ(screen(), 1);
    }
    // Picks `id` in the application picker of the list screen shown, once the scan has it.
    template <typename Screen>
    void pickApplication(const std::string& id) {
        auto* list = shown<Screen>();
        list->list()->addRow()->button()->click();
        auto* picker = qobject_cast<AppPickerSheet*>(list->picker());
        ASSERT_TRUE(picker);
        std::optional<InstalledApp> app;
        ASSERT_TRUE(test::processEventsUntil(
            [&] {
                program.loop.runPending();
                const auto offered = picker->filteredApps();
                const auto it = std::ranges::find(offered, id, &InstalledApp::bundleID);
                app = it == offered.end() ? std::nullopt : std::optional(*it);
                return app.has_value();
            },
            10000))
            << id;
        picker->selectApp(*app);
    }
    template <typename Screen>
    void typeSite(const QString& site) {
        auto* list = shown<Screen>();
        list->list()->addRow()->button()->click();
        auto* picker = qobject_cast<SitePickerSheet*>(list->picker());
        ASSERT_TRUE(picker);
        picker->field()->setText(site);
        picker->addButton()->click();
    }
    void switchRule(const QString& label) {
        const auto rows = shown<Screen8_11_AssainisseurPlatform>()->rows();
        const auto row = std::ranges::find(rows, label, &ContentRuleRow::label);
        ASSERT_NE(row, rows.end()) << label.toStdString();
        (*row)->toggle()->click();
    }
    void expectRecap(const QString& monochrome, const QString& contrepoids,
                     const QString& assainisseur) {
        auto* recap = shown<Screen12_Recap>();
        ASSERT_TRUE(recap);
        EXPECT_EQ(recap->monochromeLine()->countText(), monochrome);
        EXPECT_EQ(recap->contrepoidsLine()->countText(), contrepoids);
        EXPECT_EQ(recap->assainisseurLine()->countText(), assainisseur);
    }

    // What defaults.json holds now, read afresh.
    UserSettings storedSettings() {
        const platform::os::FileKeyValueStore store(program.paths.defaultsFile(),
                                                    program.loop.clock());
        const auto stored = store.get(SettingsManager::kSettingsKey);
        EXPECT_TRUE(stored.isPresent()) << program.paths.defaultsFile();
        const auto parsed = json::parse(stored.bytes);
        EXPECT_TRUE(parsed) << "defaults.json";
        const auto decoded = UserSettings::fromJson(parsed.value_or(Json::object()));
        EXPECT_TRUE(decoded) << "defaults.json";
        return decoded ? *decoded : UserSettings{};
    }
    Json rulesFile() const {
        const auto& rules = program.services.rulesFile();
        const auto text = platform::readWholeFile(rules.rulesFile());
        EXPECT_EQ(text, platform::readWholeFile(rules.sharedRulesFile())) << "shared copy";
        const auto parsed = json::parse(text.value_or("{}"));
        return parsed ? *parsed : Json::object();
    }
    std::optional<std::uint32_t> displayMode() const {
        const auto state = SimulatedDisplayFile::read(program.display.file());
        return state ? state->mode(SimulatedDisplayFile::kDefaultDisplayId) : std::nullopt;
    }

    test::SimulatedProgram program;
    test::FakeFaviconFetcher fetcher;
    IconSources icons{program.loop, program.loop.clock(), program.paths, fetcher};
    ApplicationPageFactory pages{program.appState, program.loop};
    MainWindowView window{program.appState, pages};
};

TEST_F(ConfigurateurWalkThrough, EverythingChosenThenEverythingDeclined) {
    const UserSettings before = program.services.settings().settings();
    startWizard();
    grab("1");
    press(Qt::Key_Return);
    grab("2");
    shown<Screen2_MonochromeActivation>()->yesButton()->click();
    pickApplication<Screen3_MonochromeApps>("org.example.Photos");
    grab("3");
    forward();
    typeSite<Screen4_MonochromeSites>(QStringLiteral("https://www.News.test/"));
    grab("4");
    forward();
    pickApplication<Screen5_ContrepoidsApps>("org.example.Video");
    grab("5");
    forward();
    typeSite<Screen6_ContrepoidsSites>(QStringLiteral("video.test"));
    grab("6");
    forward();
    const auto intensities = shown<Screen7_ContrepoidsIntensity>()->rows();
    ASSERT_EQ(intensities.size(), 2u);
    EXPECT_EQ(label(IntensityLevel::serieux), "Intense");
    static_cast<QAbstractButton*>(intensities[1]->picker()->segment(2))->click();
    grab("7");
    forward();
    switchRule(QStringLiteral("Masquer les Shorts"));
    grab("8");
    forward();
    grab("9");
    forward();
    switchRule(QStringLiteral("Limiter le fil d'actualité aux 2 premiers posts"));
    grab("10");
    forward();
    grab("11");
    forward();
    ASSERT_EQ(screen(), 12);
    expectRecap("Activé · 2 exceptions", "2 cibles", "2 règles actives");
    using Source = RecapMonoIcon::Source;
    EXPECT_EQ(Screen12_Recap::monochromeLogos(wizard()->viewModel()),
              (std::vector<Source>{RecapMonoIcon::App{"org.example.Photos"},
                                   RecapMonoIcon::Site{"news.test"}}));
    EXPECT_EQ(Screen12_Recap::assainisseurLogos(wizard()->viewModel()),
              (std::vector<Source>{Platform::youtube, Platform::linkedin}));
    grab("12");

    press(Qt::Key_Return);
    ASSERT_EQ(screen(), 13);
    auto* last = shown<Screen13_Extensions>();
    EXPECT_EQ(last->extensionList()->cards().size(), 2u);
    grab("13");
    last->finishButton()->click();
    EXPECT_EQ(page(), NavigationItem::accueil);
    grab("home");

    const UserSettings stored = storedSettings();
    ASSERT_EQ(stored.redListConfigs.size(), 2u);
    const auto expectTarget = [](const RedListConfig& saved, FrictionTargetType type,
                                 const std::string& identifier, const std::string& name,
                                 IntensityLevel level) {
        RedListConfig made;
        made.id = saved.id;
        made.targetType = type;
        made.targetIdentifier = identifier;
        made.targetDisplayName = name;
        EXPECT_EQ(saved, withLevelEffects(made, level)) << identifier;
    };
    expectTarget(stored.redListConfigs[0], FrictionTargetType::app, "org.example.Video",
                 "Lecteur vidéo", IntensityLevel::equilibre);
    expectTarget(stored.redListConfigs[1], FrictionTargetType::website, "video.test", "video.test",
                 IntensityLevel::serieux);
    UserSettings expected = before;
    expected.userWantsGrayscaleEnabled = true;
    expected.grayscaleAllowedApps = {"org.example.Photos"};
    expected.grayscaleAllowedSites = {"news.test"};
    expected.redListConfigs = stored.redListConfigs;
    for (auto& platform : expected.contentFilterRules) {
        for (auto& rule : platform.rules) {
            rule.isEnabled = rule.id == "yt_shorts" || rule.id == "linkedin_limit";
        }
    }
    EXPECT_EQ(stored.jsonText(), expected.jsonText());

    Json rules = rulesFile();
    EXPECT_EQ(rules["youtube"], (Json{{"yt_shorts", true}}));
    EXPECT_EQ(rules["linkedin"], (Json{{"linkedin_limit", true}}));
    EXPECT_EQ(rules["_redList"], RedListExport::section(stored.redListConfigs));
    EXPECT_EQ(rules["_redList"]["sites"].size(), 1u);
    EXPECT_EQ(rules["_grayscale"], (Json{{"allowedSites", {"news.test"}}}));
    EXPECT_EQ(displayMode(), platform::kRemapModeGrayscale);
    EXPECT_TRUE(program.services.appMonitoring().isMonitoring());
    EXPECT_FALSE(program.appState.navigationGuard());

    // Again, declining everything: no extension step, and everything undone.
    startWizard();
    press(Qt::Key_Return);
    shown<Screen2_MonochromeActivation>()->laterButton()->click();
    ASSERT_EQ(screen(), 5);
    shown<Screen5_ContrepoidsApps>()->rows().at(0)->removeButton()->click();
    forward();
    shown<Screen6_ContrepoidsSites>()->rows().at(0)->removeButton()->click();
    forward();
    ASSERT_EQ(screen(), 8);
    switchRule(QStringLiteral("Masquer les Shorts"));
    forward();
    forward();
    switchRule(QStringLiteral("Limiter le fil d'actualité aux 2 premiers posts"));
    forward();
    forward();
    expectRecap("Désactivé", "Aucune cible", "Aucune règle active");
    press(Qt::Key_Return);
    EXPECT_EQ(page(), NavigationItem::accueil);
    EXPECT_FALSE(program.appState.navigationGuard());

    rules = rulesFile();
    for (const auto platform : allCases<Platform>()) {
        EXPECT_FALSE(rules.contains(std::string(rawValue(platform)))) << rawValue(platform);
    }
    EXPECT_EQ(rules["_grayscale"], (Json{{"allowedSites", Json::array()}}));
    EXPECT_EQ(displayMode(), platform::kRemapModeColour);
    EXPECT_FALSE(program.services.appMonitoring().isMonitoring());
    EXPECT_FALSE(storedSettings().userWantsGrayscaleEnabled);
}

}  // namespace
}  // namespace olvane::ui
