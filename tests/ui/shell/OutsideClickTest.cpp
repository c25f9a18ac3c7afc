// The popover under a real X server and window manager, clicked through the server as a user's
// mouse would: a click in another window closes it and still does what it was for.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QCursor>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/AppState.h"
#include "platform/sim/SimSystemTray.h"
#include "support/XServer.h"
#include "ui/UiTestSupport.h"
#include "ui/shell/MenuPopover.h"
#include "ui/shell/ShellX11Server.h"
#include "ui/shell/StatusItemController.h"

// Last: Xlib's macros would rewrite names in the headers above.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace olvane::ui {

test::XServer* shellX11Server = nullptr;

namespace {

// A click of the first button at `global`, made by the X server itself.
void clickThroughTheServer(QPoint global) {
    Display* x = XOpenDisplay(nullptr);
    ASSERT_NE(x, nullptr);
    XTestFakeMotionEvent(x, -1, global.x(), global.y(), CurrentTime);
    XTestFakeButtonEvent(x, 1, True, CurrentTime);
    XTestFakeButtonEvent(x, 1, False, CurrentTime);
    XFlush(x);
    XCloseDisplay(x);
}

TEST(OutsideClick, ClosesThePopoverAndStillReachesItsTarget) {
    AppState appState;
    // No tray runs here: the popover opens at the pointer.
    platform::sim::SimSystemTray tray(true);
    StatusItemController items(appState, tray, StatusItemController::Actions{[] {}, [] {}});
    items.setupMenuBar();
    QPushButton target(QStringLiteral("Contrepoids"));
    target.setGeometry(100, 500, 240, 60);
    target.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&target));
    int clicked = 0;
    QObject::connect(&target, &QPushButton::clicked, [&] { ++clicked; });

    for (int attempt = 1; attempt <= 3; ++attempt) {
        SCOPED_TRACE(attempt);
        QCursor::setPos(700, 100);
        items.toggleMenuPopover();
        ASSERT_TRUE(test::processEventsUntil([&] {
            return items.isPopoverShown() && items.menuPopover()->windowHandle()->isExposed();
        }));
        clickThroughTheServer(target.mapToGlobal(QPoint(120, 30)));
        EXPECT_TRUE(test::processEventsUntil([&] { return clicked == attempt; }));
        EXPECT_FALSE(items.isPopoverShown());
    }
}

}  // namespace
}  // namespace olvane::ui

// An X server of the test's own, with a window manager, for the whole run.
int main(int argc, char** argv) {
    // libxkbcommon-x11 hands strndup() names that are not NUL-terminated, which strndup allows;
    // the sanitizer's strict string check, read once at start, would stop this program for it.
    const std::string asan = std::getenv("ASAN_OPTIONS") ? std::getenv("ASAN_OPTIONS") : "";
    if (asan.find("strict_string_checks=1") != std::string::npos &&
        asan.find("strict_string_checks=0", asan.rfind("strict_string_checks=1")) ==
            std::string::npos) {
        ::setenv("ASAN_OPTIONS", (asan + ":strict_string_checks=0").c_str(), 1);
        ::execv("/proc/self/exe", argv);
    }
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    olvane::test::XServer display(olvane::test::XServer::Options{.windowManager = true});
    olvane::ui::shellX11Server = &display;
    if (!display.ready()) {
        std::fprintf(stderr, "Xvfb ou openbox indisponible\n");
        return 0;
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
