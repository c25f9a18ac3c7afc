// The fog's Qt window under Xwayland on a real headless Wayland desktop, GNOME Shell or KWin
// (each executable its own, started before Qt), driven with the compositor's own pointer and
// keyboard. The compositor takes a click through the fog for a click on the fog: the click must
// still give the target the focus, and a fog shown on a target in the background must take the
// keyboard from no one.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "platform/linux/Ewmh.h"
#include "platform/linux/X11Connection.h"
#include "platform/linux/compositor/CompanionStacking.h"
#include "platform/linux/compositor/KWinCompanionScript.h"
#include "support/WaylandDesktop.h"
#include "ui/effects/X11EffectWindowsFixture.h"

namespace olvane::ui {
namespace {

namespace os = platform::os;
namespace fs = std::filesystem;
using Kind = test::WaylandDesktop::Kind;

constexpr Kind kDesktop = OLVANE_FOG_DESKTOP_KWIN ? Kind::kwin : Kind::gnomeShell;
const int kPatienceMs = static_cast<int>(std::chrono::milliseconds(test::kPatience).count());

test::WaylandDesktop* desktop = nullptr;

// An xterm of a process of its own, whose keyboard input lands in a file.
class Terminal {
  public:
    Terminal(const std::string& name, const std::string& place)
        : typed_(desktop->home().root() / (name + ".typed")),
          process_("/usr/bin/xterm",
                   {"-geometry", "60x20" + place, "-T", name, "-e", "/bin/sh", "-c",
                    "stty -icanon -echo; exec cat > '" + typed_.string() + "'"}) {}
    pid_t pid() const { return process_.pid(); }
    std::string typed() const {
        std::ifstream in(typed_);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

  private:
    fs::path typed_;
    test::ChildProcess process_;
};

class WaylandFogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!desktop) {
            GTEST_SKIP() << "compositeur absent";
        }
        x_ = os::X11Connection::open();
        ASSERT_TRUE(x_);
        effects_ = X11EffectWindows::create(loop_);
        ASSERT_TRUE(effects_);
    }

    template <typename Predicate>
    bool waitFor(Predicate predicate) {
        return test::processEventsUntil(predicate, kPatienceMs);
    }

    // The compositor's answer: the value of the GNOME Shell expression, or the first line the
    // KWin script printed; `w` is the window of the process `pid`, native or Xwayland.
    std::string ask(pid_t pid, const std::string& gnome, const std::string& kwin) {
        const auto id = std::to_string(pid);
        if (kDesktop == Kind::gnomeShell) {
            return desktop
                ->shellEval(
                    "const w = global.display.list_all_windows().find(w => w.get_pid() === " + id +
                    "); " + gnome)
                .value_or("");
        }
        const auto printed = desktop->kwinScript(
            "const w = (workspace.windowList ? workspace.windowList() : workspace.clientList())"
            ".find(w => w.pid === " +
            id + "); " + kwin);
        return printed && !printed->empty() ? printed->front() : "";
    }

    std::string focusedPid() {
        return ask(0, "global.display.focus_window ? global.display.focus_window.get_pid() : 0",
                   "const a = workspace.activeWindow || workspace.activeClient; "
                   "print(a ? a.pid : 0);");
    }

    void activate(pid_t pid) {
        ask(pid, "w.activate(global.get_current_time())",
            "if (workspace.windowList) { workspace.activeWindow = w; } else { "
            "workspace.activeClient = w; }");
    }

    // A window just shown may get the focus some time after: each window of the test is
    // brought forward in turn, once the one before has the focus.
    bool focuses(pid_t pid) {
        activate(pid);
        return waitFor([&] { return focusedPid() == std::to_string(pid); });
    }

    // Which of the two processes has its window in front of the other's.
    std::string inFront(pid_t one, pid_t other) {
        const auto pids = std::to_string(one) + ", " + std::to_string(other);
        return ask(0,
                   "global.display.sort_windows_by_stacking(global.display.list_all_windows())"
                   ".map(w => w.get_pid()).filter(p => [" +
                       pids + "].includes(p)).pop()",
                   "const order = workspace.stackingOrder || workspace.clientList().slice()"
                   ".sort((a, b) => a.stackingOrder - b.stackingOrder); "
                   "print(order.map(w => w.pid).filter(p => [" +
                       pids + "].includes(p)).pop());");
    }

    // The managed X11 window of the process, once it is shown.
    std::optional<xcb_window_t> windowOf(pid_t pid) {
        std::optional<xcb_window_t> found;
        waitFor([&] {
            for (const auto window :
                 os::ewmh::clientListStacking(*x_).value_or(std::vector<xcb_window_t>{})) {
                if (os::ewmh::windowPid(*x_, window) == pid) {
                    found = window;
                }
            }
            return found.has_value();
        });
        return found;
    }

    bool fogRightAbove(xcb_window_t target) {
        const auto order = os::ewmh::clientListStacking(*x_).value_or(std::vector<xcb_window_t>{});
        const auto fog = X11EffectWindowsTest::windowNamed("fogOverlay");
        const auto at = std::ranges::find(order, fog);
        return at != order.end() && at != order.begin() && *(at - 1) == target;
    }

    // Moves the pointer there, and lets it rest until Xwayland has it there too.
    bool restPointerAt(platform::Point point) {
        return desktop->movePointer(point.x, point.y) && waitFor([&] {
                   const os::XcbPtr<xcb_query_pointer_reply_t> pointer(xcb_query_pointer_reply(
                       x_->get(), xcb_query_pointer(x_->get(), x_->root()), nullptr));
                   return pointer && pointer->root_x == point.x && pointer->root_y == point.y;
               });
    }

    // The pointer glides onto `spot` from a little aside, the fog opening its hole under it at
    // each step as the fog effect does, and rests there: mutter takes the fog for the window
    // under the pointer at times when a repaint of it and a move come together.
    bool glideOnto(ShownFog& fog, platform::Point spot) {
        constexpr int kSteps = 20;
        for (int step = kSteps; step >= 0; --step) {
            const platform::Point at{spot.x + 5 * step, spot.y + 3 * step};
            if (!restPointerAt(at)) {
                return false;
            }
            fog.state.editTrail([&](auto& trail) {
                trail.push_back(TrailPoint{fog.overlay->localPoint(at), 0, 1});
            });
        }
        return true;
    }

    // The user clicks into the fogged target after resting the pointer over it, and types: the
    // target comes in front of the window that had the focus, with the keyboard, never the fog.
    void clickThroughTheFogAndType(const Terminal& target, pid_t before) {
        const auto window = windowOf(target.pid());
        ASSERT_TRUE(window);
        const auto bounds = os::ewmh::windowBounds(*x_, *window);
        ASSERT_TRUE(bounds);
        ShownFog fog(*effects_, *window, *bounds);
        ASSERT_TRUE(waitFor([&] { return fogRightAbove(*window); }));
        ASSERT_EQ(focusedPid(), std::to_string(before));

        const platform::Point spot{bounds->x + 60, bounds->y + 60};
        ASSERT_TRUE(glideOnto(fog, spot));
        ASSERT_TRUE(desktop->click(spot.x, spot.y));
        std::string focused;
        bool fogFocused = false;
        EXPECT_TRUE(waitFor([&] {
            focused = focusedPid();
            fogFocused = fogFocused || focused == std::to_string(::getpid());
            return focused == std::to_string(target.pid());
        })) << "focus on "
            << focused;
        EXPECT_FALSE(fogFocused);
        EXPECT_EQ(inFront(target.pid(), before), std::to_string(target.pid()));
        ASSERT_TRUE(desktop->type("bonjour"));
        EXPECT_TRUE(waitFor([&] { return target.typed() == "bonjour"; }))
            << "typed: " << target.typed();
        EXPECT_TRUE(fogRightAbove(*window));
    }

    QtRunLoop loop_;
    std::unique_ptr<os::X11Connection> x_;
    std::unique_ptr<X11EffectWindows> effects_;
};

TEST_F(WaylandFogTest, AClickThroughTheFogFromAnX11WindowGivesItsTargetTheKeyboard) {
    Terminal target("cible", "+40+40");
    ASSERT_TRUE(focuses(target.pid()));
    Terminal other("autre", "+700+100");
    ASSERT_TRUE(focuses(other.pid()));
    clickThroughTheFogAndType(target, other.pid());
}

TEST_F(WaylandFogTest, AClickThroughTheFogFromANativeWindowGivesItsTargetTheKeyboard) {
    Terminal target("cible", "+40+40");
    ASSERT_TRUE(focuses(target.pid()));
    test::NativeWindow other("so.olvane.test.Other", "Autre", "400x300");
    ASSERT_TRUE(other.ready() && focuses(other.pid()));
    ASSERT_TRUE(other.waitForFocus(true));
    clickThroughTheFogAndType(target, other.pid());
    EXPECT_TRUE(other.waitForFocus(false));
}

// Showing the fog, showing it again, moving it and its restacking under the window in front.
TEST_F(WaylandFogTest, AFogShownOnATargetInTheBackgroundTakesTheKeyboardFromNoOne) {
    Terminal target("cible", "+40+40");
    ASSERT_TRUE(focuses(target.pid()));
    const auto window = windowOf(target.pid());
    ASSERT_TRUE(window);
    const auto bounds = os::ewmh::windowBounds(*x_, *window);
    ASSERT_TRUE(bounds);
    test::NativeWindow front("so.olvane.test.Front", "Devant", "400x300");
    ASSERT_TRUE(front.ready() && focuses(front.pid()));

    ShownFog fog(*effects_, *window, *bounds);
    ASSERT_TRUE(waitFor([&] { return fogRightAbove(*window); }));
    fog.overlay->orderOut();
    ASSERT_TRUE(waitFor([&] { return X11EffectWindowsTest::windowNamed("fogOverlay") == 0; }));
    fog.overlay->orderFront();
    ASSERT_TRUE(waitFor([&] { return fogRightAbove(*window); }));
    const platform::Rect moved{bounds->x + 20, bounds->y + 10, bounds->width, bounds->height};
    fog.overlay->setFrame(moved);
    ASSERT_TRUE(waitFor([&] {
        const auto fogWindow = X11EffectWindowsTest::windowNamed("fogOverlay");
        return os::ewmh::windowBounds(*x_, fogWindow) == moved && fogRightAbove(*window);
    }));

    ASSERT_TRUE(desktop->type("devant"));
    EXPECT_TRUE(front.waitForText("devant"));
    EXPECT_EQ(target.typed(), "");
    EXPECT_EQ(focusedPid(), std::to_string(front.pid()));
    EXPECT_EQ(inFront(target.pid(), front.pid()), std::to_string(front.pid()));
}

#if OLVANE_FOG_DESKTOP_KWIN
// Under KWin a native target's fog is kept above it by the companion, and it is the companion
// that gives the target the focus a click through the fog offers (GNOME Shell draws that fog
// itself).
TEST_F(WaylandFogTest, AClickThroughTheFogOfANativeTargetGivesItTheKeyboard) {
    const auto bus = os::AsyncBus::open(loop_);
    ASSERT_TRUE(bus);
    const auto link = os::CompanionLink::create(loop_, *bus);
    ASSERT_TRUE(link);
    os::CompanionWindows windows(*link);
    os::CompanionStacking stacking(*link, windows);
    const os::KWinCompanionScript script(
        *bus, desktop->home().root() / "runtime/OlvaneMac/kwin-companion.js");
    test::NativeWindow target("so.olvane.test.Target", "Cible", "500x400");
    ASSERT_TRUE(target.ready() && focuses(target.pid()));
    Terminal other("autre", "+700+100");
    ASSERT_TRUE(focuses(other.pid()));
    const auto reported = [&](pid_t pid) -> const os::CompositorWindow* {
        for (const auto& window : windows.report().windows) {
            if (window.pid == pid) {
                return &window;
            }
        }
        return nullptr;
    };
    ASSERT_TRUE(waitFor([&] { return windows.live() && reported(target.pid()); }));
    const auto client = reported(target.pid())->client;

    QtFogWindows fogs(effects_.get());
    fogs.setCompositorStacking(&stacking);
    FogEffectState state(150, 0.98, 100, windows.numberOf(*reported(target.pid())));
    const auto fog = fogs.createOverlay(client, state);
    fog->orderFront();
    ASSERT_TRUE(waitFor([&] { return reported(::getpid()); }));

    const platform::Point spot{client.x + 60, client.y + 60};
    ASSERT_TRUE(desktop->movePointer(spot.x + 20, spot.y + 20));
    ASSERT_TRUE(desktop->movePointer(spot.x, spot.y));
    ASSERT_TRUE(desktop->click(spot.x, spot.y));
    EXPECT_TRUE(waitFor([&] { return focusedPid() == std::to_string(target.pid()); }))
        << "focus on " << focusedPid();
    ASSERT_TRUE(desktop->type("bonjour"));
    EXPECT_TRUE(target.waitForText("bonjour"));
    EXPECT_EQ(other.typed(), "");
    EXPECT_TRUE(
        waitFor([&] { return inFront(::getpid(), target.pid()) == std::to_string(::getpid()); }));
}
#endif

}  // namespace
}  // namespace olvane::ui

int main(int argc, char** argv) {
    olvane::ui::startWithoutStrictStrings(argv);
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    using olvane::test::WaylandDesktop;
    std::unique_ptr<WaylandDesktop> session;
    if (WaylandDesktop::installed(olvane::ui::kDesktop)) {
        // GNOME's companion would draw the fog inside the Shell: here Xwayland's window is.
        session = std::make_unique<WaylandDesktop>(
            WaylandDesktop::Options{.kind = olvane::ui::kDesktop, .companionExtension = false});
        if (!session->ready()) {
            std::fprintf(stderr, "%s\n", session->why().c_str());
            return 1;
        }
        olvane::ui::desktop = session.get();
        // KWin's fake pointer and keyboard come into Xwayland as they are first used: before Qt
        // connects, which never frees what it made of an input device added later.
        if (!session->movePointer(0, 0) || !session->type(" ")) {
            std::fprintf(stderr, "pas de pointeur ni de clavier\n");
            return 1;
        }
    }
    // Qt draws through Xwayland, which the desktop's environment names.
    ::setenv("QT_QPA_PLATFORM", session ? "xcb" : "offscreen", 1);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
