// The Configurateur page in the main window, over in-memory settings, a fixture catalogue and a
// favicon fetcher that the test answers; keys go to the window in front, as the user's would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>

#include "platform/sim/ManualRunLoop.h"
#include "support/TempHome.h"
#include "ui/UiTestSupport.h"
#include "ui/configurateur/ConfigurateurExitConfirmationSheet.h"
#include "ui/configurateur/ConfigurateurView.h"
#include "ui/configurateur/ConfigurateurViewModel.h"
#include "ui/configurateur/ConfiguratorBottomActions.h"
#include "ui/configurateur/ConfiguratorListCard.h"
#include "ui/configurateur/ConfiguratorProgressBar.h"
#include "ui/configurateur/ContentRuleRow.h"
#include "ui/configurateur/RecordingCollaborators.h"
#include "ui/configurateur/Screen1_Welcome.h"
#include "ui/configurateur/Screen2_MonochromeActivation.h"
#include "ui/configurateur/Screen3_MonochromeApps.h"
#include "ui/configurateur/Screen6_ContrepoidsSites.h"
#include "ui/configurateur/Screen7_ContrepoidsIntensity.h"
#include "ui/configurateur/Screen8_11_AssainisseurPlatform.h"
#include "ui/foundation/AddExceptionRow.h"
#include "ui/foundation/Animations.h"
#include "ui/foundation/AppPickerSheet.h"
#include "ui/foundation/FakeFaviconFetcher.h"
#include "ui/foundation/FaviconService.h"
#include "ui/foundation/FixtureCatalogue.h"
#include "ui/foundation/GrayIconView.h"
#include "ui/foundation/LabelButton.h"
#include "ui/foundation/MainWindowView.h"
#include "ui/foundation/NavigationRow.h"
#include "ui/foundation/OlvaneToggleStyle.h"
#include "ui/foundation/PageFrames.h"
#include "ui/foundation/SidebarView.h"
#include "ui/foundation/SitePickerSheet.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedTextField.h"
#include "ui/pages/BrowserFixture.h"

namespace olvane::ui {
namespace {

using test::FixtureCatalogue;

RedListConfig target(FrictionTargetType type, const std::string& identifier,
                     const std::string& name, IntensityLevel level) {
    RedListConfig config;
    config.id = Uuid::random();
    config.targetType = type;
    config.targetIdentifier = identifier;
    config.targetDisplayName = name;
    return withLevelEffects(config, level);
}

// The program's pages, the Configurateur over the test's settings.
class WizardPages final : public PageFactory {
  public:
    WizardPages(test::RecordingCollaborators& fakes, ConfigurateurViewServices services)
        : fakes_(fakes), services_(services) {}

    std::unique_ptr<QWidget> createPage(NavigationItem item, WindowWidth&) override {
        if (item != NavigationItem::configurateur) {
            return frames_.createPage(item);
        }
        return std::make_unique<ConfigurateurView>(
            std::make_shared<ConfigurateurViewModel>(fakes_.collaborators()), services_);
    }
    std::unique_ptr<QWidget> createUninstallProgress() override {
        return frames_.createUninstallProgress();
    }
    std::unique_ptr<QWidget> createWebExtensionPrompt(std::function<void()> open,
                                                      std::function<void()> dismiss) override {
        return frames_.createWebExtensionPrompt(std::move(open), std::move(dismiss));
    }

  private:
    test::RecordingCollaborators& fakes_;
    ConfigurateurViewServices services_;
    PageFrames frames_;
};

class ConfigurateurViewTest : public ::testing::Test {
  protected:
    ConfigurateurViewTest() {
        Animations::setJumpToEnd(true);
        using F = FixtureCatalogue;
        const auto red = F::writeIcon(home.root() / "red.png", QColor(220, 30, 30));
        F::write(catalogue.system() / "org.example.Photos.desktop", F::application("Photos", red));
        F::write(catalogue.system() / "org.example.Video.desktop",
                 F::application("Lecteur vidéo", red));
        F::write(catalogue.system() / "org.example.Chat.desktop",
                 F::application("Messagerie", red));
        window.resize(1100, 700);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    ~ConfigurateurViewTest() override { Animations::setJumpToEnd(false); }

    void click(NavigationItem item) { window.sidebar()->row(item)->click(); }
    ConfigurateurView* open() {
        click(NavigationItem::configurateur);
        return view();
    }
    ConfigurateurView* view() const {
        return qobject_cast<ConfigurateurView*>(window.currentPage());
    }
    ConfigurateurViewModel& model() const { return view()->viewModel(); }
    int screen() const { return model().currentScreenIndex(); }
    template <typename Screen>
    Screen* shown() const {
        return qobject_cast<Screen*>(view()->currentScreen());
    }
    ConfiguratorBottomActions& bar() const { return *view()->bottomActions(); }
    NavigationItem page() const { return fakes.appState.selectedNavigationItem(); }

    // A key to the window in front: the main window, or a sheet over it.
    void press(Qt::Key key) {
        ASSERT_TRUE(QApplication::activeWindow());
        QTest::keyClick(QApplication::activeWindow(), key);
    }
    void inFront(QWidget* sheet) {
        sheet->window()->activateWindow();
        ASSERT_TRUE(test::processEventsUntil(
            [&] { return QApplication::activeWindow() == sheet->window(); }));
    }
    void walk(std::initializer_list<Qt::Key> keys) {
        for (const auto key : keys) {
            press(key);
        }
    }
    void answerFavicons() {
        for (std::size_t i = 0; i < fetcher.requests.size(); ++i) {
            if (*fetcher.requests[i].completion) {
                fetcher.answer(
                    i, {std::nullopt, 200, test::FakeFaviconFetcher::png(Qt::blue), "image/png"});
            }
        }
    }
    // Waits for the catalogue's scan, then picks `id` in the picker on screen.
    void pick(AppPickerSheet& picker, const std::string& id) {
        background.waitUntilIdle();
        loop.runPending();
        const auto offered = picker.filteredApps();
        const auto app = std::ranges::find(offered, id, &InstalledApp::bundleID);
        ASSERT_NE(app, offered.end()) << id;
        picker.selectApp(*app);
    }

    test::TempHome home;
    platform::sim::ManualRunLoop loop;
    test::RecordingCollaborators fakes;
    FixtureCatalogue catalogue{home.root()};
    platform::BackgroundQueue background;
    InstalledAppsService apps{loop, catalogue, background};
    test::FakeFaviconFetcher fetcher;
    FaviconService favicons{loop, loop.clock(), fetcher, home.root() / "favicons",
                            QUrl("https://favicons.test/s2")};
    test::RecordingUrlOpener urls;
    platform::os::NoSafariApplication safari{loop};
    WizardPages pages{fakes, {fakes.appState, loop, favicons, apps, {apps, urls, safari}}};
    MainWindowView window{fakes.appState, pages};
};

TEST_F(ConfigurateurViewTest, TheKeysDoWhatTheBarOfEachScreenSays) {
    open();
    loop.advance(Screen1_Welcome::kFocusDelay);
    EXPECT_TRUE(shown<Screen1_Welcome>()->startButton()->hasFocus());
    EXPECT_FALSE(bar().isVisibleTo(view()));

    press(Qt::Key_Return);
    EXPECT_EQ(screen(), 2);
    EXPECT_FALSE(bar().forwardButton());
    // The page takes the window's height: the bar stands at its foot.
    EXPECT_EQ(bar().mapTo(&window, QPoint(0, bar().height())).y(),
              window.height() - Theme::pageMarginBottom);
    press(Qt::Key_Left);
    EXPECT_EQ(screen(), 1);
    press(Qt::Key_Return);
    shown<Screen2_MonochromeActivation>()->yesButton()->click();
    ASSERT_EQ(screen(), 3);
    EXPECT_EQ(bar().forwardButton()->text(), "Plus tard");
    EXPECT_EQ(bar().forwardButton()->buttonStyle().fill, Theme::white());
    EXPECT_TRUE(test::saveArtefact(window, "configurateur-3-empty"));

    model().addGrayscaleAllowedApp("org.example.Photos");
    EXPECT_EQ(bar().forwardButton()->text(), "Suivant");
    EXPECT_EQ(bar().forwardButton()->buttonStyle().fill, Theme::black());
    model().removeGrayscaleAllowedApp("org.example.Photos");
    walk({Qt::Key_Right, Qt::Key_Right});  // "Plus tard" twice
    EXPECT_EQ(screen(), 5);
    EXPECT_EQ(bar().progressBar()->caption(), "Contrepoids · 1 / 3");
    EXPECT_EQ(bar().progressBar()->accessibleName(), "Progression du Configurateur");

    press(Qt::Key_Escape);
    EXPECT_EQ(screen(), 5);
    EXPECT_EQ(page(), NavigationItem::configurateur);
    EXPECT_FALSE(view()->exitSheet());
}

TEST_F(ConfigurateurViewTest, EscapeOnTheWelcomeGoesHomeWithoutAskingEvenWithChanges) {
    open();
    press(Qt::Key_Return);
    shown<Screen2_MonochromeActivation>()->yesButton()->click();
    walk({Qt::Key_Left, Qt::Key_Left});
    ASSERT_EQ(screen(), 1);
    ASSERT_TRUE(model().hasChanges());

    press(Qt::Key_Escape);
    EXPECT_EQ(page(), NavigationItem::accueil);
    EXPECT_FALSE(fakes.appState.navigationGuard());
}

TEST_F(ConfigurateurViewTest, OuiKeepsTheSavedExceptionsAndPlusTardAfterGoingBackDropsThem) {
    fakes.current.grayscaleAllowedApps = {"org.example.Photos", "org.example.Gone"};
    fakes.current.grayscaleAllowedSites = {"news.test"};
    open();
    press(Qt::Key_Return);
    shown<Screen2_MonochromeActivation>()->yesButton()->click();
    const auto rows = shown<Screen3_MonochromeApps>()->rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0]->name(), "Photos");
    EXPECT_TRUE(rows[0]->icon()->hasImage());
    EXPECT_EQ(rows[1]->name(), "org.example.Gone");  // no such application: its ID and the symbol
    EXPECT_FALSE(rows[1]->icon()->hasImage());

    press(Qt::Key_Left);
    shown<Screen2_MonochromeActivation>()->laterButton()->click();
    EXPECT_EQ(screen(), 5);
    EXPECT_FALSE(model().wantsGrayscaleEnabled());
    EXPECT_TRUE(model().grayscaleAllowedAppsDraft().empty());
    EXPECT_TRUE(model().grayscaleAllowedSitesDraft().empty());
}

TEST_F(ConfigurateurViewTest, ThePickerTakesTheKeysAndMarksWhatIsChosenAlready) {
    open();
    press(Qt::Key_Return);
    shown<Screen2_MonochromeActivation>()->yesButton()->click();
    auto* apps3 = shown<Screen3_MonochromeApps>();
    EXPECT_FALSE(apps3->list()->addRow()->hasSeparator());
    apps3->list()->addRow()->button()->click();
    auto* picker = qobject_cast<AppPickerSheet*>(apps3->picker());
    ASSERT_TRUE(picker);
    inFront(picker);
    press(Qt::Key_Right);
    EXPECT_EQ(screen(), 3);

    pick(*picker, "org.example.Photos");
    EXPECT_FALSE(apps3->picker());
    ASSERT_EQ(apps3->rows().size(), 1u);
    EXPECT_EQ(apps3->rows()[0]->name(), "Photos");
    EXPECT_TRUE(apps3->list()->addRow()->hasSeparator());
    EXPECT_EQ(bar().forwardButton()->text(), "Suivant");

    apps3->list()->addRow()->button()->click();
    picker = qobject_cast<AppPickerSheet*>(apps3->picker());
    ASSERT_TRUE(picker);
    EXPECT_TRUE(picker->showsAsAdded("org.example.Photos"));
    EXPECT_FALSE(picker->showsAsAdded("org.example.Video"));
    pick(*picker, "org.example.Photos");
    EXPECT_EQ(apps3->rows().size(), 1u);
    EXPECT_EQ(model().grayscaleAllowedAppsDraft(), std::vector<std::string>{"org.example.Photos"});
}

TEST_F(ConfigurateurViewTest, ATypedSiteIsListedInItsStoredFormWithItsFaviconInGrey) {
    open();
    press(Qt::Key_Return);
    shown<Screen2_MonochromeActivation>()->laterButton()->click();
    press(Qt::Key_Right);
    auto* sites = shown<Screen6_ContrepoidsSites>();
    ASSERT_TRUE(sites);
    sites->list()->addRow()->button()->click();
    auto* picker = qobject_cast<SitePickerSheet*>(sites->picker());
    ASSERT_TRUE(picker);
    picker->field()->setText(QStringLiteral("https://www.Example.com/a/b"));
    picker->addSite();

    ASSERT_EQ(sites->rows().size(), 1u);
    auto* row = sites->rows()[0];
    EXPECT_EQ(row->name(), "example.com/a");
    EXPECT_EQ(model().websiteTargets().at(0).targetIdentifier, "example.com/a");
    EXPECT_FALSE(row->icon()->hasImage());
    answerFavicons();
    ASSERT_TRUE(row->icon()->hasImage());
    const QColor centre = row->icon()->image().pixelColor(64, 64);
    EXPECT_TRUE(centre.red() == centre.green() && centre.green() == centre.blue());
}

TEST_F(ConfigurateurViewTest, TheIntensitiesListEveryTargetAndAChoiceOnlyCallsBack) {
    fakes.current.redListConfigs = {
        target(FrictionTargetType::app, "org.example.Video", "Lecteur vidéo", IntensityLevel::doux),
        target(FrictionTargetType::website, "video.test", "video.test", IntensityLevel::doux)};
    open();
    press(Qt::Key_Return);
    shown<Screen2_MonochromeActivation>()->laterButton()->click();
    walk({Qt::Key_Right, Qt::Key_Right});
    auto* intensities = shown<Screen7_ContrepoidsIntensity>();
    ASSERT_TRUE(intensities);
    const auto rows = intensities->rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0]->name(), "Lecteur vidéo");
    EXPECT_EQ(rows[1]->name(), "video.test");
    EXPECT_TRUE(rows[0]->icon()->hasImage());

    static_cast<QAbstractButton*>(rows[0]->picker()->segment(2))->click();
    EXPECT_EQ(model().redListTargetsDraft()[0].intensityLevel, IntensityLevel::serieux);
    EXPECT_EQ(rows[0]->picker()->selected(), IntensityLevel::serieux);

    // Alone, with a callback that keeps the draft as it is, the row stays on the draft's level.
    std::vector<IntensityLevel> chosen;
    IntensityRow alone(
        model().redListTargetsDraft()[1], [&](IntensityLevel level) { chosen.push_back(level); },
        favicons, apps);
    static_cast<QAbstractButton*>(alone.picker()->segment(2))->click();
    EXPECT_EQ(chosen, std::vector<IntensityLevel>{IntensityLevel::serieux});
    EXPECT_EQ(alone.picker()->selected(), IntensityLevel::doux);
}

TEST_F(ConfigurateurViewTest, LinkedInLimitsOrHidesTheFeedNeverBoth) {
    open();
    press(Qt::Key_Return);
    shown<Screen2_MonochromeActivation>()->laterButton()->click();
    walk({Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right});
    auto* linkedIn = shown<Screen8_11_AssainisseurPlatform>();
    ASSERT_EQ(screen(), 10);
    const auto rows = linkedIn->rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0]->label(), "Limiter le fil d'actualité aux 2 premiers posts");
    EXPECT_TRUE(rows[1]->isSeparatorShown());
    EXPECT_FALSE(rows[2]->isSeparatorShown());

    rows[0]->toggle()->click();
    EXPECT_TRUE(rows[0]->toggle()->isChecked());
    rows[1]->toggle()->click();
    EXPECT_TRUE(rows[1]->toggle()->isChecked());
    EXPECT_FALSE(rows[0]->toggle()->isChecked());
    EXPECT_EQ(linkedIn->rules()[0].isEnabled, false);
}

TEST_F(ConfigurateurViewTest, UnchangedDraftsLeaveAtOnceAndNoGuardOutlivesThePage) {
    QPointer<ConfigurateurView> wizard = open();
    press(Qt::Key_Return);  // moving between screens changes nothing
    EXPECT_TRUE(fakes.appState.navigationGuard());

    click(NavigationItem::configurateur);
    EXPECT_EQ(view(), wizard.data());
    EXPECT_EQ(screen(), 2);
    EXPECT_FALSE(wizard->exitSheet());

    click(NavigationItem::guide);
    EXPECT_EQ(page(), NavigationItem::guide);
    EXPECT_FALSE(fakes.appState.navigationGuard());
    EXPECT_TRUE(test::processEventsUntil([&] { return wizard.isNull(); }));
    EXPECT_FALSE(fakes.appState.navigationGuard());
}

TEST_F(ConfigurateurViewTest, ChangedDraftsAskBeforeLeavingUntilTheUserQuits) {
    QPointer<ConfigurateurView> wizard = open();
    press(Qt::Key_Return);
    shown<Screen2_MonochromeActivation>()->yesButton()->click();

    for (const bool byEscape : {false, true}) {
        click(NavigationItem::guide);
        auto* sheet = wizard->exitSheet();
        ASSERT_TRUE(sheet);
        EXPECT_EQ(page(), NavigationItem::configurateur);
        if (byEscape) {
            inFront(sheet);
            press(Qt::Key_Escape);
        } else {
            EXPECT_EQ(sheet->titleText(),
                      "Quitter le Configurateur sans activer cette configuration ?");
            EXPECT_TRUE(test::saveArtefact(*sheet->window(), "configurateur-exit-sheet"));
            sheet->continueButton()->click();
        }
        EXPECT_FALSE(wizard->exitSheet());
        EXPECT_FALSE(model().pendingExitTarget());
        EXPECT_EQ(screen(), 3);
        EXPECT_TRUE(model().wantsGrayscaleEnabled());
    }

    click(NavigationItem::guide);
    ASSERT_TRUE(wizard->exitSheet());
    wizard->exitSheet()->quitButton()->click();
    EXPECT_EQ(page(), NavigationItem::guide);
    EXPECT_FALSE(fakes.appState.navigationGuard());
    EXPECT_TRUE(test::processEventsUntil([&] { return wizard.isNull(); }));

    open();
    EXPECT_EQ(screen(), 1);
    EXPECT_FALSE(model().wantsGrayscaleEnabled());
}

TEST_F(ConfigurateurViewTest, AChangeUndoneLeavesWithoutAsking) {
    open();
    press(Qt::Key_Return);
    shown<Screen2_MonochromeActivation>()->yesButton()->click();
    press(Qt::Key_Left);
    shown<Screen2_MonochromeActivation>()->laterButton()->click();
    ASSERT_FALSE(model().hasChanges());
    click(NavigationItem::settings);
    EXPECT_EQ(page(), NavigationItem::settings);
}

TEST_F(ConfigurateurViewTest, PicturesOfTheScreensWithTheirDraftsFilled) {
    fakes.current.userWantsGrayscaleEnabled = true;
    fakes.current.grayscaleAllowedApps = {"org.example.Photos", "org.example.Video"};
    fakes.current.grayscaleAllowedSites = {"news.test", "maps.test"};
    fakes.current.redListConfigs = {
        target(FrictionTargetType::app, "org.example.Chat", "Messagerie", IntensityLevel::doux),
        target(FrictionTargetType::website, "video.test", "video.test", IntensityLevel::equilibre),
        target(FrictionTargetType::website, "social.test", "social.test", IntensityLevel::serieux)};
    for (auto& platform : fakes.current.contentFilterRules) {
        for (auto& rule : platform.rules) {
            rule.isEnabled = rule.id == "linkedin_limit";
        }
    }
    open();
    for (int index = 1; index <= 12; ++index) {
        ASSERT_EQ(screen(), index);
        answerFavicons();
        EXPECT_TRUE(test::saveArtefact(window, QStringLiteral("configurateur-%1").arg(index)));
        model().goNext();
    }
}

}  // namespace
}  // namespace olvane::ui
