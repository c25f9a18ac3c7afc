// The extension warning: its content, where its panel goes, how it closes, and its wiring to the
// status icon and the prompts' coordinator.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

#include "browser/ExtensionAccompanimentCoordinator.h"
#include "model/SettingsManager.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/MemoryKeyValueStore.h"
#include "platform/sim/SimSystemTray.h"
#include "ui/UiTestSupport.h"
#include "ui/foundation/ActionButton.h"
#include "ui/foundation/LogoOlvane.h"
#include "ui/shell/ExtensionWarningPanelController.h"
#include "ui/shell/ExtensionWarningPlacement.h"
#include "ui/shell/ExtensionWarningView.h"
#include "ui/shell/StatusItemController.h"

namespace olvane::ui {
namespace {

TEST(ExtensionWarningPlacement, HangsUnderTheIconInsideTheScreenSideways) {
    const QRect screen(0, 0, 1440, 900);
    const QSize panel(344, 220);
    struct Case {
        const char* name;
        std::optional<QRect> icon;
        QRect screen;
        QPoint expected;
    };
    const Case cases[] = {
        {"centred, 4 below", QRect(700, 0, 24, 24), screen, {540, 28}},
        {"near the left edge", QRect(10, 0, 24, 24), screen, {8, 28}},
        {"near the right edge", QRect(1420, 0, 20, 24), screen, {1440 - 8 - 344, 28}},
        {"a screen narrower than the panel",
         QRect(100, 0, 24, 24),
         QRect(0, 0, 300, 600),
         {300 - 8 - 344, 28}},
        {"a tray at the bottom", QRect(700, 876, 24, 24), screen, {540, 876 - 4 - 220}},
        {"no place for the icon", std::nullopt, QRect(0, 30, 1440, 870), {1440 - 8 - 344, 34}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtensionWarningPlacement::origin(c.icon, panel, c.screen), c.expected) << c.name;
    }
}

TEST(ExtensionWarningView, NamesTheBrowserAndCallsOneActionPerClickOrKey) {
    std::vector<std::string> calls;
    ExtensionWarningView view(
        BrowserType::safari, [&] { calls.push_back("manage"); }, [&] { calls.push_back("later"); });
    view.adjustSize();
    EXPECT_EQ(view.width(), 344);
    const auto labels = view.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 2);
    EXPECT_EQ(labels[0]->text(), "EXTENSION OLVANE NON DÉTECTÉE");
    EXPECT_EQ(labels[1]->text(),
              "L'extension de navigateur Olvane n'est pas détectée sur Safari. Les "
              "fonctionnalités web de Olvane ne pourront donc pas fonctionner sur ce navigateur.");
    EXPECT_EQ(view.manageButton()->label(), "Gérer les extensions");
    EXPECT_EQ(view.laterButton()->label(), "Plus tard");

    view.manageButton()->click();
    view.laterButton()->click();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&view, &enter);
    QApplication::sendEvent(&view, &escape);
    EXPECT_EQ(calls, (std::vector<std::string>{"manage", "later", "manage", "later"}));

    ExtensionWarningView chrome(
        BrowserType::chrome, [] {}, [] {});
    EXPECT_TRUE(test::saveArtefact(chrome, "extension-warning"));
}

class ExtensionWarningPanelTest : public ::testing::Test {
  protected:
    // A press as the application sees it, in `window` at `global`.
    static void pressIn(QWidget& window, QPoint global) {
        QMouseEvent press(QEvent::MouseButtonPress, window.mapFromGlobal(QPointF(global)),
                          QPointF(global), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.windowHandle(), &press);
    }

    std::optional<QRect> icon = QRect(300, 0, 24, 24);  // the offscreen screen is 800 wide
    std::vector<std::string> calls;
    ExtensionWarningPanelController controller{
        [this] { return icon; },
        nullptr,
        {[this] { calls.push_back("manage"); }, [this] { calls.push_back("dismiss"); }}};
};

TEST_F(ExtensionWarningPanelTest, AShownPanelIsReplacedWithoutADismissalAndClosesByItsButtons) {
    controller.show(BrowserType::firefox);
    ASSERT_NE(controller.panel(), nullptr);
    EXPECT_TRUE(controller.panel()->isVisible());
    EXPECT_EQ(controller.panel()->pos(), QPoint(140, 28));
    controller.show(BrowserType::chrome);
    EXPECT_EQ(controller.content()->browser(), BrowserType::chrome);
    EXPECT_TRUE(calls.empty());

    controller.content()->laterButton()->click();
    EXPECT_EQ(controller.panel(), nullptr);
    controller.show(BrowserType::firefox);
    controller.content()->manageButton()->click();
    EXPECT_EQ(controller.panel(), nullptr);
    EXPECT_EQ(calls, (std::vector<std::string>{"dismiss", "manage"}));
    EXPECT_TRUE(test::processEventsUntil([] { return QApplication::topLevelWidgets().empty(); }));
}

TEST_F(ExtensionWarningPanelTest, AClickElsewhereClosesItAsADismissalAndStillReachesItsTarget) {
    controller.show(BrowserType::firefox);
    QWidget& panel = *controller.panel();
    ASSERT_TRUE(panel.windowHandle());

    pressIn(panel, panel.geometry().center());
    controller.handleMouseDown(nullptr, icon->center());  // the icon's click is the icon's
    EXPECT_NE(controller.panel(), nullptr);
    EXPECT_TRUE(calls.empty());

    struct Target final : QWidget {
        int presses = 0;
        void mousePressEvent(QMouseEvent*) override { ++presses; }
    } other;
    other.setGeometry(100, 400, 200, 200);
    other.show();
    pressIn(other, QPoint(150, 450));
    EXPECT_EQ(controller.panel(), nullptr);
    EXPECT_EQ(calls, std::vector<std::string>{"dismiss"});
    EXPECT_EQ(other.presses, 1);

    // A press in another application comes without a window.
    controller.show(BrowserType::chrome);
    controller.handleMouseDown(nullptr, QPoint(5, 5));
    EXPECT_EQ(controller.panel(), nullptr);
    EXPECT_EQ(calls.size(), 2u);
}

TEST(ExtensionWarningWiring, ThePromptsShowThePanelAndTheIconAndItsButtonsResetThem) {
    QApplication::setWindowIcon(LogoOlvane::icon());
    AppState appState;
    platform::sim::ManualRunLoop loop;
    platform::sim::MemoryKeyValueStore store;
    SettingsManager settings(store, loop.clock());
    ExtensionAccompanimentCoordinator coordinator({settings, appState.showWebExtensionPrompt,
                                                   appState.extensionStatus, [] { return false; },
                                                   [] { return false; }});
    int shown = 0;
    platform::sim::SimSystemTray tray;  // none yet: the panel shows all the same
    StatusItemController items(appState, tray, {[&] { ++shown; }, [] {}});
    items.attachExtensionPrompts(coordinator, nullptr);
    items.setupMenuBar();
    ASSERT_TRUE(coordinator.presentWarning);
    auto& controller = *items.extensionWarningController();
    coordinator.presentWarning(BrowserType::chrome);
    ASSERT_NE(controller.panel(), nullptr);
    const QRect corner = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(controller.panel()->geometry().topRight(), corner.topRight() + QPoint(-8, 4));

    tray.arrive();

    coordinator.pendingLaunch = {BrowserType::chrome};
    coordinator.isWarningPanelShown = true;
    coordinator.presentWarning(BrowserType::firefox);
    ASSERT_NE(controller.panel(), nullptr);
    items.toggleMenuPopover();  // the icon hides it, without a dismissal, and forgets the rest
    EXPECT_EQ(controller.panel(), nullptr);
    EXPECT_FALSE(coordinator.isWarningPanelShown);
    EXPECT_TRUE(coordinator.pendingLaunch.empty());
    items.toggleMenuPopover();

    coordinator.pendingLaunch = {BrowserType::chrome};
    coordinator.isWarningPanelShown = true;
    coordinator.presentWarning(BrowserType::firefox);
    controller.content()->manageButton()->click();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(appState.selectedNavigationItem(), NavigationItem::extensions);
    EXPECT_FALSE(coordinator.isWarningPanelShown);
    EXPECT_TRUE(coordinator.pendingLaunch.empty());

    coordinator.isWarningPanelShown = true;
    coordinator.presentWarning(BrowserType::firefox);
    items.hideExtensionWarning();
    EXPECT_EQ(controller.panel(), nullptr);
    EXPECT_TRUE(coordinator.isWarningPanelShown);  // the shutdown's hide reports nothing
}

}  // namespace
}  // namespace olvane::ui
