// The prompts' rules through the coordinator: once per module and run, the review order, the
// chaining after a dismissal, and what holds a warning back.
#include <gtest/gtest.h>

#include "ExtensionStatusFixture.h"

namespace olvane {
namespace {

using enum ExtensionStatus;

class ExtensionAccompanimentCoordinatorTest : public ::testing::Test,
                                              public test::ExtensionStatusFixture {
  protected:
    ExtensionAccompanimentCoordinatorTest() {
        settings.settings().contentFilterRules = {
            {Platform::youtube, true, {{"hideShorts", true}}}};
        coordinator.presentWarning = [this](BrowserType browser) { presented.push_back(browser); };
    }
    // What the panel's later action does.
    void dismiss() {
        coordinator.isWarningPanelShown = false;
        coordinator.browserLaunched();
    }

    std::vector<BrowserType> presented;
};

TEST_F(ExtensionAccompanimentCoordinatorTest, EachModuleRaisesTheWebExtensionPromptOncePerRun) {
    coordinator.pendingLaunch = {BrowserType::chrome};
    coordinator.featureUsed(WebFeatureCategory::assainisseur);
    EXPECT_TRUE(showWebExtensionPrompt());
    EXPECT_TRUE(coordinator.pendingLaunch.empty());

    showWebExtensionPrompt.set(false);
    coordinator.featureUsed(WebFeatureCategory::assainisseur);
    EXPECT_FALSE(showWebExtensionPrompt());

    guidedConfigurationShown = true;
    coordinator.featureUsed(WebFeatureCategory::monochrome);
    EXPECT_FALSE(showWebExtensionPrompt());
    guidedConfigurationShown = false;

    settings.settings().extensionEverDetected = true;
    coordinator.featureUsed(WebFeatureCategory::monochrome);
    EXPECT_FALSE(showWebExtensionPrompt());
    settings.settings().extensionEverDetected = false;

    coordinator.featureUsed(WebFeatureCategory::contrepoids);
    EXPECT_TRUE(showWebExtensionPrompt());
    EXPECT_EQ(coordinator.promptedCategoriesThisSession(),
              (std::set{WebFeatureCategory::contrepoids, WebFeatureCategory::assainisseur}));
}

TEST_F(ExtensionAccompanimentCoordinatorTest,
       FirefoxComesBeforeChromeAndChromeFollowsTheDismissal) {
    service.start();
    // Launched while the application is in front: judged, but no panel yet.
    applicationActive = true;
    launch(BrowserType::chrome, 60);
    launch(BrowserType::firefox, 60);
    loop.runPending();
    EXPECT_EQ(status(BrowserType::chrome), notDetected);
    EXPECT_TRUE(presented.empty());

    applicationActive = false;
    loop.advanceSeconds(ExtensionStatusService::kReviewIntervalSeconds);
    EXPECT_EQ(presented, std::vector{BrowserType::firefox});
    EXPECT_TRUE(coordinator.isWarningPanelShown);
    EXPECT_EQ(coordinator.pendingLaunch, std::set{BrowserType::chrome});

    dismiss();
    EXPECT_EQ(presented, (std::vector{BrowserType::firefox, BrowserType::chrome}));
    dismiss();
    EXPECT_EQ(presented.size(), 2u);
}

TEST_F(ExtensionAccompanimentCoordinatorTest, ABrowserStillConnectingWaitsForItsVerdict) {
    service.start();
    launch(BrowserType::chrome, 0);
    loop.runPending();
    EXPECT_EQ(status(BrowserType::chrome), connecting);
    EXPECT_TRUE(presented.empty());

    loop.advanceSeconds(10);  // the status change to notDetected reviews at once
    EXPECT_EQ(presented, std::vector{BrowserType::chrome});

    // A connected browser leaves the list without a warning.
    coordinator.resetPendingWarnings();
    writeStatusFile(BrowserType::firefox, "health", 0);
    launch(BrowserType::firefox, 60);
    loop.runPending();
    EXPECT_EQ(status(BrowserType::firefox), connected);
    EXPECT_TRUE(coordinator.pendingLaunch.empty());
}

TEST_F(ExtensionAccompanimentCoordinatorTest, NothingIsPresentedWhileSomethingHoldsItBack) {
    struct Blocker {
        const char* name;
        std::function<void(ExtensionAccompanimentCoordinatorTest&, bool)> hold;
    };
    const Blocker blockers[] = {
        {"the application is in front", [](auto& t, bool on) { t.applicationActive = on; }},
        {"the web-extension prompt is up",
         [](auto& t, bool on) { t.showWebExtensionPrompt.set(on); }},
        {"no web feature is on",
         [](auto& t, bool on) {
             t.settings.settings().contentFilterRules[0].rules[0].isEnabled = !on;
         }},
        {"a warning is shown", [](auto& t, bool on) { t.coordinator.isWarningPanelShown = on; }},
    };
    extensionStatus.set({{BrowserType::firefox, notDetected},
                         {BrowserType::safari, browserNotRunning},
                         {BrowserType::chrome, notDetected}});
    for (const auto& blocker : blockers) {
        presented.clear();
        coordinator.pendingLaunch = {BrowserType::firefox, BrowserType::chrome};
        blocker.hold(*this, true);
        coordinator.browserLaunched();
        EXPECT_TRUE(presented.empty()) << blocker.name;
        EXPECT_EQ(coordinator.pendingLaunch.size(), 2u) << blocker.name;
        // Once it lets go, the next review presents.
        blocker.hold(*this, false);
        coordinator.browserLaunched();
        EXPECT_EQ(presented, std::vector{BrowserType::firefox}) << blocker.name;
        coordinator.isWarningPanelShown = false;
    }
    coordinator.presentWarning = nullptr;
    coordinator.pendingLaunch = {BrowserType::firefox};
    coordinator.browserLaunched();
    EXPECT_EQ(coordinator.pendingLaunch.size(), 1u);
}

}  // namespace
}  // namespace olvane
