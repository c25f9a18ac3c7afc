#include <gtest/gtest.h>

#include "app/AppState.h"

namespace olvane {
namespace {

TEST(AppState, StartsFromFixedValuesWithEveryBrowserNotRunning) {
    AppState state;
    EXPECT_FALSE(state.isGrayscaleFilterEnabled());
    EXPECT_FALSE(state.pauseRemainingSeconds());
    EXPECT_FALSE(state.currentAppBundleID());
    EXPECT_TRUE(state.activeFrictionEffects().empty());
    EXPECT_EQ(state.selectedNavigationItem(), NavigationItem::accueil);
    EXPECT_FALSE(state.navigationGuard());
    const std::map<BrowserType, ExtensionStatus> expected{
        {BrowserType::firefox, ExtensionStatus::browserNotRunning},
        {BrowserType::safari, ExtensionStatus::browserNotRunning},
        {BrowserType::chrome, ExtensionStatus::browserNotRunning}};
    EXPECT_EQ(state.extensionStatus(), expected);
}

TEST(AppState, EqualWritesAreSilentTheGuardNotifiesOnEveryWrite) {
    AppState state;
    int pageChanges = 0, statusChanges = 0, guardWrites = 0;
    auto pages = state.selectedNavigationItem.observe([&](auto&) { ++pageChanges; });
    auto status = state.extensionStatus.observe([&](auto&) { ++statusChanges; });
    auto guards = state.navigationGuard.observe([&](auto&) { ++guardWrites; });

    state.selectedNavigationItem.set(NavigationItem::accueil);
    EXPECT_EQ(pageChanges, 0);
    state.selectedNavigationItem.set(NavigationItem::guide);
    EXPECT_EQ(pageChanges, 1);

    state.extensionStatus.set(AppState::initialExtensionStatus());
    auto changed = state.extensionStatus();
    changed[BrowserType::chrome] = ExtensionStatus::connected;
    state.extensionStatus.set(changed);
    state.extensionStatus.set(changed);
    EXPECT_EQ(statusChanges, 1);

    state.navigationGuard.set(nullptr);
    state.navigationGuard.set(nullptr);
    EXPECT_EQ(guardWrites, 2);
}

TEST(AppState, SidebarNavigationAsksTheGuardFirstDirectWritesDoNot) {
    AppState state;
    std::vector<NavigationItem> asked;
    bool allow = false;
    state.navigationGuard.set([&](NavigationItem target) {
        asked.push_back(target);
        return allow;
    });

    EXPECT_FALSE(state.requestNavigation(NavigationItem::frictionEffects));
    EXPECT_EQ(state.selectedNavigationItem(), NavigationItem::accueil);
    // The guard hears of a click on the current page too.
    EXPECT_FALSE(state.requestNavigation(NavigationItem::accueil));
    EXPECT_EQ(asked, (std::vector{NavigationItem::frictionEffects, NavigationItem::accueil}));

    // The popover's "manage extensions" writes the page directly.
    state.selectedNavigationItem.set(NavigationItem::extensions);
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(state.selectedNavigationItem(), NavigationItem::extensions);

    allow = true;
    EXPECT_TRUE(state.requestNavigation(NavigationItem::settings));
    EXPECT_FALSE(state.requestNavigation(NavigationItem::settings));
    EXPECT_EQ(state.selectedNavigationItem(), NavigationItem::settings);

    state.navigationGuard.set(nullptr);
    EXPECT_TRUE(state.requestNavigation(NavigationItem::guide));
}

TEST(AppState, AGuardMayRemoveItselfWhileItIsAsked) {
    AppState state;
    state.navigationGuard.set([&](NavigationItem) {
        state.navigationGuard.set(nullptr);
        return true;
    });
    EXPECT_TRUE(state.requestNavigation(NavigationItem::contentFilter));
    EXPECT_FALSE(state.navigationGuard());
}

TEST(NavigationItem, RawValuesAreExactAndCaseSensitive) {
    std::vector<std::string> names;
    for (const auto item : allCases<NavigationItem>()) {
        names.emplace_back(rawValue(item));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"accueil", "configurateur", "guide", "grayscale",
                                               "friction", "content", "extensions", "settings"}));
    EXPECT_EQ(fromRawValue<NavigationItem>("grayscale"), NavigationItem::grayscaleFilter);
    EXPECT_FALSE(fromRawValue<NavigationItem>("Grayscale"));
    EXPECT_FALSE(fromRawValue<NavigationItem>("grayscaleFilter"));
    EXPECT_LT(NavigationItem::accueil, NavigationItem::settings);
}

}  // namespace
}  // namespace olvane
