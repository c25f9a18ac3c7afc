#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSystemTrayIcon>
#include <string>
#include <vector>

#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/SimSystemTray.h"
#include "ui/UiTestSupport.h"
#include "ui/foundation/ExtensionStatusSection.h"
#include "ui/foundation/LogoOlvane.h"
#include "ui/foundation/TextRowButton.h"
#include "ui/shell/MenuBarStatusView.h"
#include "ui/shell/MenuPopover.h"
#include "ui/shell/StatusItemController.h"

namespace olvane::ui {
namespace {

TEST(MenuBarStatusView, RowsCallTheirActions) {
    AppState appState;
    appState.selectedNavigationItem.set(NavigationItem::configurateur);
    appState.navigationGuard.set([](NavigationItem) { return false; });
    std::vector<std::string> calls;
    MenuBarStatusView view(
        appState,
        [&] {
            calls.push_back("open " + std::string(rawValue(appState.selectedNavigationItem.get())));
        },
        [&] { calls.push_back("quit"); });

    view.openRow()->click();
    view.quitRow()->click();
    // Managing the extensions goes to their page even when the guard would refuse a change.
    view.extensionStatus()->manageButton()->click();
    EXPECT_EQ(calls, (std::vector<std::string>{"open configurateur", "quit", "open extensions"}));
    EXPECT_EQ(view.width(), MenuBarStatusView::kWidth);
}

class StatusItemTest : public ::testing::Test {
  protected:
    void SetUp() override { QApplication::setWindowIcon(LogoOlvane::icon()); }

    AppState appState;
    std::vector<std::string> calls;
    // The offscreen platform has no system tray; these tests pretend one is there.
    platform::sim::SimSystemTray tray{true};
    StatusItemController items{
        appState, tray,
        StatusItemController::Actions{
            [this] { calls.push_back(items.isPopoverShown() ? "show (popover open)" : "show"); },
            [this] { calls.push_back("quit"); }}};
};

TEST(StatusItem, WithoutATrayTheIconComesWithTheFirstOne) {
    platform::sim::ScopedLogCapture log;
    AppState appState;
    platform::sim::SimSystemTray tray;
    StatusItemController items(appState, tray, {[] {}, [] {}});
    items.setupMenuBar();
    EXPECT_EQ(items.statusItem(), nullptr);
    EXPECT_EQ(items.menuPopover(), nullptr);
    EXPECT_TRUE(log->contains("App", platform::LogLevel::Error,
                              "⚠️ Impossible de créer le status item"));
    items.toggleMenuPopover();  // harmless

    tray.arrive();
    ASSERT_NE(items.statusItem(), nullptr);
    EXPECT_TRUE(items.statusItem()->isVisible());
    EXPECT_TRUE(log->contains("App", platform::LogLevel::Default,
                              "Zone de notification apparue : icône de la barre de menus créée"));
    const auto* first = items.statusItem();
    tray.arrive();  // another panel: the same icon
    EXPECT_EQ(items.statusItem(), first);
    items.toggleMenuPopover();
    EXPECT_TRUE(items.isPopoverShown());
    items.toggleMenuPopover();
}

TEST_F(StatusItemTest, TheIconTogglesThePopoverAndItsRowsCloseItFirst) {
    items.setupMenuBar();
    ASSERT_NE(items.statusItem(), nullptr);
    const QIcon icon = items.statusItem()->icon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.availableSizes(), QList<QSize>{QSize(16, 16)});

    items.toggleMenuPopover();
    ASSERT_TRUE(items.isPopoverShown());
    items.toggleMenuPopover();
    EXPECT_FALSE(items.isPopoverShown());

    items.toggleMenuPopover();
    items.popoverContent()->openRow()->click();
    EXPECT_FALSE(items.isPopoverShown());
    items.toggleMenuPopover();
    items.popoverContent()->quitRow()->click();
    EXPECT_FALSE(items.isPopoverShown());
    EXPECT_EQ(calls, (std::vector<std::string>{"show", "quit"}));
}

// The outside-click rule; a click through the X server is in OutsideClickTest.
TEST_F(StatusItemTest, PressesOnTheIconOrInThePopoverLeaveItOpen) {
    items.setupMenuBar();
    items.toggleMenuPopover();
    ASSERT_TRUE(items.isPopoverShown());
    items.handlePopoverMouseDown(items.menuPopover()->windowHandle(),
                                 items.menuPopover()->geometry().center());
    EXPECT_TRUE(items.isPopoverShown());
    const auto icon = items.statusIconArea();
    const QPoint onIcon = icon ? icon->center() : QPoint(-1000, -1000);
    if (icon) {
        items.handlePopoverMouseDown(nullptr, onIcon);
        EXPECT_TRUE(items.isPopoverShown());
    }
    items.handlePopoverMouseDown(nullptr, items.menuPopover()->geometry().bottomRight() +
                                              QPoint(50, 50));  // another application
    EXPECT_FALSE(items.isPopoverShown());
}

TEST(MenuPopover, SitsUnderTheIconInsideTheScreen) {
    const QRect screen(0, 0, 1440, 900);
    const QSize size(262, 200);
    EXPECT_EQ(MenuPopover::placement(QRect(700, 0, 24, 24), size, screen), QPoint(581, 28));
    // Near the right edge it stays on screen; at the bottom of the screen it opens upwards.
    EXPECT_EQ(MenuPopover::placement(QRect(1420, 0, 20, 24), size, screen).x(), 1440 - 8 - 262);
    EXPECT_EQ(MenuPopover::placement(QRect(700, 876, 24, 24), size, screen).y(), 876 - 4 - 200);
}

TEST_F(StatusItemTest, PictureOfThePopover) {
    items.setupMenuBar();
    ASSERT_NE(items.statusItem(), nullptr);
    appState.extensionStatus.set({{BrowserType::firefox, ExtensionStatus::connected},
                                  {BrowserType::safari, ExtensionStatus::notDetected},
                                  {BrowserType::chrome, ExtensionStatus::browserNotRunning}});
    items.toggleMenuPopover();
    EXPECT_TRUE(test::saveArtefact(*items.menuPopover(), "popover"));
    items.toggleMenuPopover();
}

}  // namespace
}  // namespace olvane::ui
