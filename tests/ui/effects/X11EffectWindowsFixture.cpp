#include "ui/effects/X11EffectWindowsFixture.h"

#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/Ewmh.h"
#include "platform/linux/X11OverlayWindows.h"
#include "support/X11TestWindows.h"
#include "ui/foundation/FontLibrary.h"

namespace olvane::ui {

namespace os = platform::os;

test::XServer* server = nullptr;
test::XServer::WindowManager windowManager = test::XServer::WindowManager::openbox;

void startWithoutStrictStrings(char** argv) {
    const char* asan = std::getenv("ASAN_OPTIONS");
    if (asan && std::string_view(asan).find("strict_string_checks=1") != std::string_view::npos &&
        !std::getenv("OLVANE_STRINGS_RELAXED")) {
        ::setenv("OLVANE_STRINGS_RELAXED", "1", 1);
        ::setenv("ASAN_OPTIONS", (std::string(asan) + ":strict_string_checks=0").c_str(), 1);
        ::execv("/proc/self/exe", argv);
        std::_Exit(1);
    }
}

int runOnX11(int argc, char** argv, test::XServer::Options options) {
    startWithoutStrictStrings(argv);
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    // `--dpi=192`: on a desktop scaled as GNOME and KDE scale it, twice the pixels of the
    // usual screen at 200 %.
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (argument.starts_with("--dpi=")) {
            options.dpi = std::stoi(std::string(argument.substr(6)));
            options.screen = std::to_string(1280 * options.dpi / 96) + "x" +
                             std::to_string(800 * options.dpi / 96) + "x24";
        }
    }
    // The X server, its window manager and compositor come before Qt connects to them.
    test::XServer display(options);
    server = &display;
    windowManager = options.manager;
    if (!display.ready()) {
        std::fprintf(stderr, "Xvfb, son gestionnaire de fenêtres ou xcompmgr indisponible\n");
        return 1;
    }
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    QApplication app(argc, argv);
    FontLibrary::registerApplicationFonts();
    return RUN_ALL_TESTS();
}

void X11EffectWindowsTest::SetUp() {
    x_ = os::X11Connection::open();
    ASSERT_TRUE(x_);
    effects_ = X11EffectWindows::create(loop_);
    ASSERT_TRUE(effects_);
    target_ = test::makeWindow(*x_, {{100, 100, 400, 300}, "target", "Target", ::getpid(), {}});
    ASSERT_TRUE(waitFor([&] { return isManaged(target_); }));
    test::activate(*x_, target_);
    ASSERT_TRUE(waitFor([&] { return os::ewmh::activeWindow(*x_) == target_; }));
}

::testing::AssertionResult X11EffectWindowsTest::showsThenHolds(const std::function<Look()>& look,
                                                                int holdMs) {
    // Often enough to catch a frame out of place, seldom enough to leave the compositor its time.
    constexpr int kLookEveryMs = 5;
    ScreenTimeline timeline;
    QElapsedTimer clock;
    clock.start();
    std::int64_t heldSince = -1;
    for (;;) {
        const std::int64_t now = clock.elapsed();
        const Look seen = look();
        timeline.add(seen, now);
        if (seen.broken()) {
            return ::testing::AssertionFailure() << "broken at " << now << " ms:\n"
                                                 << timeline.describe();
        }
        if (!seen.holds() && heldSince >= 0) {
            return ::testing::AssertionFailure() << "held from " << heldSince << " ms to " << now
                                                 << " ms, not the " << holdMs << " ms asked:\n"
                                                 << timeline.describe();
        }
        if (seen.holds() && heldSince < 0) {
            heldSince = now;
        }
        if (heldSince >= 0 && now - heldSince >= holdMs) {
            return ::testing::AssertionSuccess();
        }
        if (heldSince < 0 && now > kPatienceMs) {
            return ::testing::AssertionFailure() << "never held in " << kPatienceMs << " ms:\n"
                                                 << timeline.describe();
        }
        test::processEventsFor(kLookEveryMs);
    }
}

bool X11EffectWindowsTest::isManaged(xcb_window_t window) {
    const auto clients = os::ewmh::clientListStacking(*x_);
    return clients && std::ranges::find(*clients, window) != clients->end();
}

void X11EffectWindowsTest::syncQt() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* qt = x11->connection();
    std::free(xcb_get_input_focus_reply(qt, xcb_get_input_focus(qt), nullptr));
}

std::ptrdiff_t X11EffectWindowsTest::stackPosition(xcb_window_t window) {
    // The top-levels of the managed windows and of ours: the window manager's own (KWin's
    // decoration borders) left out.
    std::set<xcb_window_t> applications;
    std::vector<xcb_window_t> windows =
        os::ewmh::clientListStacking(*x_).value_or(std::vector<xcb_window_t>{});
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible()) {
            windows.push_back(static_cast<xcb_window_t>(widget->winId()));
        }
    }
    for (const auto each : windows) {
        if (const auto top = os::overlay::topLevelOf(*x_, each)) {
            applications.insert(*top);
        }
    }
    std::vector<xcb_window_t> shown;
    for (const auto child : os::overlay::stackingOrder(*x_)) {
        const os::XcbPtr<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(x_->get(), xcb_get_window_attributes(x_->get(), child),
                                            nullptr));
        if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE &&
            applications.contains(child)) {
            shown.push_back(child);
        }
    }
    const auto top = os::overlay::topLevelOf(*x_, window);
    const auto found = top ? std::ranges::find(shown, *top) : shown.end();
    return found == shown.end() ? -1 : found - shown.begin();
}

std::optional<platform::Rect> X11EffectWindowsTest::boundsOf(xcb_window_t window) {
    return os::ewmh::windowBounds(*x_, window);
}

qreal X11EffectWindowsTest::ratio() {
    return QGuiApplication::primaryScreen()->devicePixelRatio();
}

std::uint32_t X11EffectWindowsTest::pixelAt(platform::Point point) {
    const os::XcbPtr<xcb_get_image_reply_t> image(
        xcb_get_image_reply(x_->get(),
                            xcb_get_image(x_->get(), XCB_IMAGE_FORMAT_Z_PIXMAP, x_->root(),
                                          static_cast<std::int16_t>(point.x),
                                          static_cast<std::int16_t>(point.y), 1, 1, 0xFFFFFFFF),
                            nullptr));
    if (!image || xcb_get_image_data_length(image.get()) < 4) {
        return 0;
    }
    const std::uint8_t* bgr = xcb_get_image_data(image.get());
    return std::uint32_t(bgr[2]) << 16 | std::uint32_t(bgr[1]) << 8 | bgr[0];
}

void X11EffectWindowsTest::paint(xcb_window_t window, std::uint32_t rgb) {
    xcb_change_window_attributes(x_->get(), window, XCB_CW_BACK_PIXEL, &rgb);
    xcb_clear_area(x_->get(), 0, window, 0, 0, 0, 0);
    x_->flush();
}

xcb_window_t X11EffectWindowsTest::windowNamed(const char* name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String(name) && widget->isVisible()) {
            return static_cast<xcb_window_t>(widget->winId());
        }
    }
    return XCB_WINDOW_NONE;
}

}  // namespace olvane::ui
