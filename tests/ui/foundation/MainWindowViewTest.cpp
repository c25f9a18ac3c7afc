#include <gtest/gtest.h>

#include <QPointer>

#include "ui/UiTestSupport.h"
#include "ui/foundation/ExtensionStatusSection.h"
#include "ui/foundation/MainWindowView.h"
#include "ui/foundation/PageFrames.h"
#include "ui/foundation/PageHeader.h"
#include "ui/foundation/SidebarView.h"
#include "ui/foundation/TextRowButton.h"

namespace olvane::ui {
namespace {

// Counts the pages it builds and can offer a prompt sheet.
class CountingPages final : public PageFactory {
  public:
    std::unique_ptr<QWidget> createPage(NavigationItem item, WindowWidth&) override {
        ++built;
        return frames.createPage(item);
    }
    std::unique_ptr<QWidget> createUninstallProgress() override {
        return frames.createUninstallProgress();
    }
    std::unique_ptr<QWidget> createWebExtensionPrompt(std::function<void()> open,
                                                      std::function<void()>) override {
        openExtensions = std::move(open);
        return std::make_unique<QWidget>();
    }

    PageFrames frames;
    int built = 0;
    std::function<void()> openExtensions;
};

class MainWindowViewTest : public ::testing::Test {
  protected:
    AppState appState;
    CountingPages pages;
    MainWindowView view{appState, pages};
};

TEST_F(MainWindowViewTest, BuildsAFreshPageOnEverySelection) {
    // Nothing before the first show, or the first look at the page.
    EXPECT_EQ(pages.built, 0);
    EXPECT_EQ(view.currentPage()->objectName(), "accueil");
    EXPECT_EQ(pages.built, 1);
    EXPECT_FALSE(view.isPageScrollable());

    QPointer<QWidget> home = view.currentPage();
    appState.selectedNavigationItem.set(NavigationItem::grayscaleFilter);
    EXPECT_EQ(view.currentPage()->objectName(), "grayscale");
    EXPECT_TRUE(view.isPageScrollable());
    const auto* header = view.currentPage()->findChild<PageHeader*>();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->title(), "Monochrome");
    EXPECT_EQ(header->description(), "Préserve ton attention avec un filtre noir et blanc");
    ASSERT_TRUE(test::processEventsUntil([&] { return home.isNull(); }));

    appState.selectedNavigationItem.set(NavigationItem::settings);
    EXPECT_EQ(view.currentPage()->findChild<PageHeader*>()->description(), std::nullopt);
    appState.selectedNavigationItem.set(NavigationItem::grayscaleFilter);
    EXPECT_EQ(pages.built, 4);
}

TEST_F(MainWindowViewTest, TheFirstShowLaysThePageOutBeforeAnyPaint) {
    view.resize(1100, 700);
    view.show();
    EXPECT_EQ(pages.built, 1);
    EXPECT_TRUE(view.currentPage()->isVisible());
    EXPECT_EQ(view.currentPage()->height(), 700);
}

TEST_F(MainWindowViewTest, ShowsOnlyTheProgressWhileUninstalling) {
    appState.showWebExtensionPrompt.set(true);
    ASSERT_NE(view.webExtensionPrompt(), nullptr);
    appState.isUninstalling.set(true);
    EXPECT_TRUE(view.isShowingUninstallProgress());
    EXPECT_FALSE(view.sidebar()->isVisibleTo(&view));
    EXPECT_EQ(view.webExtensionPrompt(), nullptr);
}

TEST_F(MainWindowViewTest, FollowsTheWidthOnlyBeyondOnePoint) {
    EXPECT_EQ(view.windowWidth().get(), WindowWidth::kDefault);
    view.show();  // a hidden widget hears of its size only when shown
    view.resize(1100, 700);
    EXPECT_EQ(view.windowWidth().get(), 1100);
    view.resize(1101, 700);
    EXPECT_EQ(view.windowWidth().get(), 1100);
    view.resize(1102, 700);
    EXPECT_EQ(view.windowWidth().get(), 1102);
}

TEST_F(MainWindowViewTest, ThePromptOpensTheExtensionsPageWithoutAskingTheGuard) {
    appState.selectedNavigationItem.set(NavigationItem::configurateur);
    appState.navigationGuard.set([](NavigationItem) { return false; });
    appState.showWebExtensionPrompt.set(true);
    ASSERT_TRUE(pages.openExtensions);
    pages.openExtensions();
    EXPECT_FALSE(appState.showWebExtensionPrompt.get());
    EXPECT_EQ(view.webExtensionPrompt(), nullptr);
    EXPECT_EQ(appState.selectedNavigationItem.get(), NavigationItem::extensions);
}

TEST(ExtensionStatusSection, ShowsEachBrowserAndItsManageAction) {
    AppState appState;
    int managed = 0;
    ExtensionStatusSection section(appState, [&] { ++managed; });
    EXPECT_EQ(section.statusText(BrowserType::firefox), "Non connectée");
    appState.extensionStatus.set({{BrowserType::firefox, ExtensionStatus::connected},
                                  {BrowserType::chrome, ExtensionStatus::connecting}});
    EXPECT_EQ(section.statusText(BrowserType::firefox), "Connectée");
    EXPECT_EQ(section.statusText(BrowserType::chrome), "Connexion…");
    EXPECT_EQ(section.statusText(BrowserType::safari), "Non connectée");  // no entry
    ASSERT_NE(section.manageButton(), nullptr);
    section.manageButton()->click();
    EXPECT_EQ(managed, 1);

    ExtensionStatusSection withoutAction(appState);
    EXPECT_EQ(withoutAction.manageButton(), nullptr);
}

}  // namespace
}  // namespace olvane::ui

namespace olvane::ui {
namespace {

TEST(MainWindowViewPicture, AModulePage) {
    AppState appState;
    PageFrames pages;
    MainWindowView view(appState, pages);
    view.resize(1100, 700);
    view.show();
    appState.extensionStatus.set({{BrowserType::firefox, ExtensionStatus::connected},
                                  {BrowserType::safari, ExtensionStatus::browserNotRunning},
                                  {BrowserType::chrome, ExtensionStatus::connecting}});
    appState.selectedNavigationItem.set(NavigationItem::frictionEffects);
    EXPECT_TRUE(test::saveArtefact(view, "main-window-contrepoids"));
}

}  // namespace
}  // namespace olvane::ui
