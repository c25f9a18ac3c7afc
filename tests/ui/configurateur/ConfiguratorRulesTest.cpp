// The wizard's decisions that need no widget: progress, bottom bar and exit guard.
#include <gtest/gtest.h>

#include <memory>

#include "ui/configurateur/BottomActionsRules.h"
#include "ui/configurateur/ConfigurateurNavigationGuard.h"
#include "ui/configurateur/ConfigurateurViewModel.h"
#include "ui/configurateur/ConfiguratorProgress.h"
#include "ui/configurateur/RecordingCollaborators.h"

namespace olvane {
namespace {

using Indicator = ConfiguratorProgress::Indicator;
using Layout = BottomActionsRules::Layout;
using Shortcuts = BottomActionsRules::Shortcuts;

TEST(ConfiguratorProgress, FollowsTheModulesScreenByScreen) {
    struct Case {
        int screen;
        std::array<Indicator, 3> indicators;
        std::string caption;
        std::string value;
    };
    const auto done = Indicator::done;
    const auto current = Indicator::current;
    const auto upcoming = Indicator::upcoming;
    const std::vector<Case> cases{
        {1, {upcoming, upcoming, upcoming}, "", "Tous les modules sont configurés"},
        {2,
         {current, upcoming, upcoming},
         "Monochrome · 1 / 3",
         "Module Monochrome, étape 1 sur 3"},
        {6, {done, current, upcoming}, "Contrepoids · 2 / 3", "Module Contrepoids, étape 2 sur 3"},
        {7, {done, current, upcoming}, "Contrepoids · 3 / 3", "Module Contrepoids, étape 3 sur 3"},
        {11, {done, done, current}, "Assainisseur · 4 / 4", "Module Assainisseur, étape 4 sur 4"},
        {12, {done, done, done}, "", "Tous les modules sont configurés"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ConfiguratorProgress::indicators(c.screen), c.indicators) << c.screen;
        EXPECT_EQ(ConfiguratorProgress::caption(c.screen), c.caption) << c.screen;
        EXPECT_EQ(ConfiguratorProgress::accessibilityValue(c.screen), c.value) << c.screen;
    }
}

TEST(BottomActionsRules, DecideTheBarOfEveryScreen) {
    struct Case {
        int screen;
        Layout layout;
        bool forward;
        Shortcuts keys;
    };
    const Shortcuts none{false, false, false, false};
    const Shortcuts back{true, false, false, false};
    const Shortcuts both{true, true, false, false};
    const Shortcuts recap{true, false, true, true};
    std::vector<Case> cases{{1, Layout::none, false, none},
                            {2, Layout::progress, false, back},
                            {12, Layout::recap, false, recap},
                            {13, Layout::none, false, none}};
    for (int screen = 3; screen <= 11; ++screen) {
        cases.push_back({screen, Layout::progress, true, both});
    }
    for (const auto& c : cases) {
        EXPECT_EQ(BottomActionsRules::layout(c.screen), c.layout) << c.screen;
        EXPECT_EQ(BottomActionsRules::showsForward(c.screen), c.forward) << c.screen;
        EXPECT_EQ(BottomActionsRules::shortcuts(c.screen), c.keys) << c.screen;
    }
}

TEST(BottomActionsRules, TheListScreensMoveOnWithPlusTardUntilTheyHoldSomething) {
    test::RecordingCollaborators fakes;
    ConfigurateurViewModel model(fakes.collaborators());
    const auto labelOn = [&](int screen) {
        model.currentScreenIndex.set(screen);
        return BottomActionsRules::forwardLabel(BottomActionsRules::hasSelection(model));
    };
    for (const int screen : {2, 3, 4, 5, 6, 12}) {
        EXPECT_EQ(labelOn(screen), "Plus tard") << screen;
    }
    for (const int screen : {7, 8, 9, 10, 11}) {
        EXPECT_EQ(labelOn(screen), "Suivant") << screen;
    }
    model.addGrayscaleAllowedApp("org.example.Photos");
    model.addGrayscaleAllowedSite("news.test");
    model.addTarget(FrictionTargetType::website, "video.test", "video.test");
    EXPECT_EQ(labelOn(3), "Suivant");
    EXPECT_EQ(labelOn(4), "Suivant");
    EXPECT_EQ(labelOn(5), "Plus tard");  // a website is not an application
    EXPECT_EQ(labelOn(6), "Suivant");
}

class NavigationGuardTest : public ::testing::Test {
  protected:
    test::RecordingCollaborators fakes;
    std::shared_ptr<ConfigurateurViewModel> model =
        std::make_shared<ConfigurateurViewModel>(fakes.collaborators());
    ConfigurateurNavigationGuard guard{model};
};

TEST_F(NavigationGuardTest, RefusesOnlyWhileChangesArePendingAndRecordsTheTarget) {
    EXPECT_TRUE(guard(NavigationItem::guide));
    EXPECT_FALSE(model->pendingExitTarget());

    model->wantsGrayscaleEnabled.set(true);
    EXPECT_TRUE(guard(NavigationItem::configurateur));  // its own page never asks
    EXPECT_FALSE(model->pendingExitTarget());
    EXPECT_FALSE(guard(NavigationItem::guide));
    EXPECT_EQ(model->pendingExitTarget(), NavigationItem::guide);

    model->pendingExitTarget.set(std::nullopt);
    model->activateConfiguration();
    EXPECT_TRUE(guard(NavigationItem::settings));
    EXPECT_FALSE(model->pendingExitTarget());

    model.reset();
    EXPECT_TRUE(guard(NavigationItem::settings));
}

TEST_F(NavigationGuardTest, IsRemovedOnlyByThePageThatPutItInPlace) {
    auto newer = std::make_shared<ConfigurateurViewModel>(fakes.collaborators());
    ConfigurateurNavigationGuard::install(fakes.appState, model);
    ConfigurateurNavigationGuard::install(fakes.appState, newer);
    ConfigurateurNavigationGuard::remove(fakes.appState, model);
    ASSERT_TRUE(fakes.appState.navigationGuard());
    ConfigurateurNavigationGuard::remove(fakes.appState, newer);
    EXPECT_FALSE(fakes.appState.navigationGuard());

    fakes.appState.navigationGuard.set([](NavigationItem) { return false; });
    ConfigurateurNavigationGuard::remove(fakes.appState, model);
    EXPECT_TRUE(fakes.appState.navigationGuard());
}

}  // namespace
}  // namespace olvane
