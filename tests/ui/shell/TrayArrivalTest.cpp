// The status icon on a real X server with a window manager and, at first, no tray: the warning
// panel shows all the same, and the icon comes when a tray (trayer) starts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "browser/ExtensionAccompanimentCoordinator.h"
#include "model/SettingsManager.h"
#include "platform/linux/XEmbedSystemTray.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/MemoryKeyValueStore.h"
#include "ui/UiTestSupport.h"
#include "ui/foundation/LogoOlvane.h"
#include "ui/foundation/QtRunLoop.h"
#include "ui/shell/ExtensionWarningPanelController.h"
#include "ui/shell/ShellX11Server.h"
#include "ui/shell/StatusItemController.h"

namespace olvane::ui {
namespace {

TEST(TrayArrival, TheWarningShowsWithoutATrayAndTheIconComesWithOneStartedLater) {
    platform::sim::ScopedLogCapture log;
    QApplication::setWindowIcon(LogoOlvane::icon());
    QtRunLoop loop;
    auto tray = platform::os::XEmbedSystemTray::create(loop);
    ASSERT_TRUE(tray);
    AppState appState;
    platform::sim::ManualRunLoop settingsLoop;
    platform::sim::MemoryKeyValueStore store;
    SettingsManager settings(store, settingsLoop.clock());
    ExtensionAccompanimentCoordinator coordinator({settings, appState.showWebExtensionPrompt,
                                                   appState.extensionStatus, [] { return false; },
                                                   [] { return false; }});
    StatusItemController items(appState, *tray, {[] {}, [] {}});
    items.attachExtensionPrompts(coordinator, nullptr);
    items.setupMenuBar();
    EXPECT_EQ(items.statusItem(), nullptr);

    ASSERT_TRUE(coordinator.presentWarning);
    coordinator.presentWarning(BrowserType::chrome);
    QWidget* panel = items.extensionWarningController()->panel();
    ASSERT_NE(panel, nullptr);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // Openbox maps its frame only once it stands there, but Qt may learn the place after the
    // first exposure: it reads the frame's position while the frame is still at the origin.
    const QPoint topRight = screen.topRight() + QPoint(-8, 4);
    EXPECT_TRUE(test::processEventsUntil([&] {
        return panel->windowHandle()->isExposed() && panel->geometry().topRight() == topRight;
    })) << "top-right at ("
        << panel->geometry().right() << "," << panel->geometry().top() << ")";
    items.hideExtensionWarning();

    ASSERT_TRUE(shellX11Server->startTray());
    // In trayer's panel, along the top at the right, once embedded there.
    EXPECT_TRUE(test::processEventsUntil(
        [&] {
            const auto icon = items.statusIconArea();
            return icon && icon->bottom() < 24 && icon->left() > screen.center().x();
        },
        10000));
    EXPECT_TRUE(log->contains("App", platform::LogLevel::Default,
                              "Zone de notification apparue : icône de la barre de menus créée"));
}

}  // namespace
}  // namespace olvane::ui
