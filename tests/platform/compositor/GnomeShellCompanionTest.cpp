// The companion inside a real headless GNOME Shell 43, its extension as the install puts it in
// place, with native Wayland GTK windows and an Xwayland one: what OlvaneMac's workspace and
// window server see of them.
#include <gtest/gtest.h>

#include "CompanionDesktopTest.h"
#include "platform/linux/PidfdProcessWatcher.h"
#include "platform/linux/X11WindowServer.h"
#include "platform/linux/X11Workspace.h"
#include "platform/linux/compositor/CompanionWindowServer.h"
#include "platform/linux/compositor/CompanionWorkspace.h"

namespace olvane::platform::os {
namespace {

using namespace std::chrono_literals;

class GnomeShellCompanionTest : public CompanionDesktopTest {
  protected:
    GnomeShellCompanionTest() : CompanionDesktopTest(test::WaylandDesktop::Kind::gnomeShell) {}

    void SetUp() override {
        CompanionDesktopTest::SetUp();
        if (stopped()) {
            return;
        }
        x11Workspace_ = X11Workspace::create(loop_, processes_, {});
        x11Windows_ = X11WindowServer::create(loop_);
        ASSERT_TRUE(x11Workspace_ && x11Windows_);
        workspace_ = std::make_unique<CompanionWorkspace>(loop_, processes_, *link_, *windows_,
                                                          std::vector<std::filesystem::path>{},
                                                          x11Workspace_.get());
        windowServer_ = std::make_unique<CompanionWindowServer>(*windows_, x11Windows_.get());
        ASSERT_TRUE(until([this] { return windows_->live(); }));
    }

    bool frontIs(const std::string& id) {
        const auto front = workspace_->frontmostApplication();
        return front && front->bundleIdentifier == id;
    }

    // The Shell's own frame of the window titled `title`, "x,y,w,h".
    std::string shellFrame(const std::string& title) {
        auto json = desktop_
                        .shellEval(
                            "const w = global.display.list_all_windows().find(w => "
                            "w.get_title() === '" +
                            title +
                            "'); const r = w.get_frame_rect(); "
                            "[r.x, r.y, r.width, r.height].join()")
                        .value_or("");
        // Eval answers in JSON: a string comes quoted.
        return json.size() >= 2 ? json.substr(1, json.size() - 2) : json;
    }

    std::optional<WindowInfo> windowOf(pid_t pid) {
        const auto list =
            windowServer_->windowList(WindowListScope::All).value_or(std::vector<WindowInfo>{});
        for (const auto& window : list) {
            if (window.ownerPid == pid) {
                return window;
            }
        }
        return std::nullopt;
    }

    static std::string text(const Rect& r) {
        return std::to_string(int(r.x)) + "," + std::to_string(int(r.y)) + "," +
               std::to_string(int(r.width)) + "," + std::to_string(int(r.height));
    }

    PidfdProcessWatcher processes_{loop_};
    std::unique_ptr<X11Workspace> x11Workspace_;
    std::unique_ptr<X11WindowServer> x11Windows_;
    std::unique_ptr<CompanionWorkspace> workspace_;
    std::unique_ptr<CompanionWindowServer> windowServer_;
};

TEST_F(GnomeShellCompanionTest, NativeApplicationsInFrontTheirFramesAndStacking) {
    test::NativeWindow writer("so.olvane.test.Writer", "Writer");
    ASSERT_TRUE(writer.ready());
    EXPECT_TRUE(until([&] { return frontIs("so.olvane.test.Writer"); }));
    std::vector<RunningApplication> running;
    EXPECT_TRUE(until([&] {
        running = workspace_->runningApplications("so.olvane.test.Writer");
        return running.size() == 1;
    }));
    EXPECT_EQ(running.front().processIdentifier, writer.pid());

    // Its window where the Shell has it, moved as the Shell moves it; a native window's number
    // is none an X11 window can have.
    EXPECT_TRUE(until([&] {
        const auto window = windowOf(writer.pid());
        return window && text(window->bounds) == shellFrame("Writer");
    }));
    EXPECT_GE(windowOf(writer.pid())->windowNumber, 0x80000000u);
    desktop_.shellEval(
        "global.display.list_all_windows().find(w => w.get_title() === 'Writer')"
        ".move_frame(true, 200, 150); true");
    EXPECT_TRUE(until([&] {
        const auto window = windowOf(writer.pid());
        return window && window->bounds.x == 200 && window->bounds.y == 150;
    }));

    // Another native window comes in front, then the first is brought back.
    test::NativeWindow reader("so.olvane.test.Reader", "Reader");
    ASSERT_TRUE(reader.ready());
    EXPECT_TRUE(until([&] { return frontIs("so.olvane.test.Reader"); }));
    const auto order = [&] {
        std::vector<pid_t> pids;
        const auto list =
            windowServer_->windowList(WindowListScope::All).value_or(std::vector<WindowInfo>{});
        for (const auto& window : list) {
            if (window.ownerPid == writer.pid() || window.ownerPid == reader.pid()) {
                pids.push_back(*window.ownerPid);
            }
        }
        return pids;
    };
    EXPECT_TRUE(until([&] { return order() == std::vector{reader.pid(), writer.pid()}; }));
    desktop_.shellEval(
        "global.display.list_all_windows().find(w => w.get_title() === 'Writer')"
        ".activate(global.get_current_time()); true");
    EXPECT_TRUE(until([&] { return frontIs("so.olvane.test.Writer"); }));
    EXPECT_TRUE(until([&] { return order() == std::vector{writer.pid(), reader.pid()}; }));

    // An Xwayland window keeps its X11 number, as the X11 view has it.
    test::ChildProcess xterm("/usr/bin/xterm", {"-geometry", "60x20+40+40"});
    const auto x11Number = [&]() -> std::uint32_t {
        const auto list =
            x11Windows_->windowList(WindowListScope::All).value_or(std::vector<WindowInfo>{});
        for (const auto& window : list) {
            if (window.ownerPid == xterm.pid()) {
                return window.windowNumber;
            }
        }
        return 0;
    };
    EXPECT_TRUE(until([&] {
        const auto window = windowOf(xterm.pid());
        return window && x11Number() != 0 && window->windowNumber == x11Number();
    }));

    // Minimised, it is listed but not on screen.
    desktop_.shellEval(
        "global.display.list_all_windows().find(w => w.get_title() === 'Reader').minimize();"
        "true");
    EXPECT_TRUE(until([&] {
        const auto window = windowOf(reader.pid());
        return window && !window->isOnScreen;
    }));
}

TEST_F(GnomeShellCompanionTest, ClosesANativeApplicationAndFallsBackWhileTheCompanionIsGone) {
    test::NativeWindow writer("so.olvane.test.Writer", "Writer");
    ASSERT_TRUE(writer.ready());
    std::vector<RunningApplication> running;
    ASSERT_TRUE(until([&] {
        running = workspace_->runningApplications("so.olvane.test.Writer");
        return running.size() == 1;
    }));

    // Switched off, the companion leaves the X11 view, which sees no native window.
    const std::string uuid = OLVANE_GNOME_EXTENSION_UUID;
    desktop_.shellEval("Main.extensionManager.disableExtension('" + uuid + "'); true");
    EXPECT_TRUE(until([&] { return !windows_->live(); }));
    EXPECT_TRUE(workspace_->runningApplications("so.olvane.test.Writer").empty());
    EXPECT_FALSE(windowOf(writer.pid()));
    desktop_.shellEval("Main.extensionManager.enableExtension('" + uuid + "'); true");
    EXPECT_TRUE(until([&] {
        return windows_->live() &&
               !workspace_->runningApplications("so.olvane.test.Writer").empty();
    }));

    bool ended = false;
    const auto terminations = workspace_->observeTermination([&](const auto& application) {
        ended = ended || (application && application->processIdentifier == writer.pid());
    });
    workspace_->requestTermination(running.front());
    EXPECT_TRUE(until([&] { return ended; }));
    EXPECT_TRUE(writer.process().wait(test::kPatience));
}

}  // namespace
}  // namespace olvane::platform::os
