// The companion inside a real headless KWin, its script loaded as OlvaneMac loads it, with native
// Wayland GTK windows and an Xwayland one: what OlvaneMac's workspace and window server see of
// them. KWin names a GTK 3 window after its program, so each is known by its process.
#include <gtest/gtest.h>

#include "CompanionDesktopTest.h"
#include "platform/linux/PidfdProcessWatcher.h"
#include "platform/linux/X11WindowServer.h"
#include "platform/linux/compositor/CompanionWindowServer.h"
#include "platform/linux/compositor/CompanionWorkspace.h"

namespace olvane::platform::os {
namespace {

using namespace std::chrono_literals;

// The KWin script that finds the window titled `title` as `w`.
std::string withWindow(const std::string& title, const std::string& then) {
    return "const w = (workspace.windowList ? workspace.windowList() : workspace.clientList())"
           ".find(w => w.caption === '" +
           title + "'); " + then;
}

class KWinCompanionTest : public CompanionDesktopTest {
  protected:
    KWinCompanionTest() : CompanionDesktopTest(test::WaylandDesktop::Kind::kwin) {}

    void SetUp() override {
        CompanionDesktopTest::SetUp();
        if (stopped()) {
            return;
        }
        workspace_ = std::make_unique<CompanionWorkspace>(
            loop_, processes_, *link_, *windows_, std::vector<std::filesystem::path>{}, nullptr);
        windowServer_ = std::make_unique<CompanionWindowServer>(*windows_, nullptr);
        script_ = loadKWinScript();
        failures_ =
            script_->observeFailure([](const ComposedText& why) { ADD_FAILURE() << why.text(); });
        ASSERT_TRUE(until([this] { return windows_->live(); }));
    }

    bool frontIs(pid_t pid) {
        const auto front = workspace_->frontmostApplication();
        return front && front->processIdentifier == pid;
    }

    std::optional<RunningApplication> applicationOf(pid_t pid) {
        for (const auto& application : workspace_->allRunningApplications()) {
            if (application.processIdentifier == pid) {
                return application;
            }
        }
        return std::nullopt;
    }

    // KWin's own client area of the window titled `title`, "x,y,w,h" (KWin 5 tells a native
    // window's as its surface's).
    std::string kwinClientArea(const std::string& title) {
        const auto printed =
            desktop_.kwinScript(withWindow(title,
                                           "const r = w.clientGeometry || w.bufferGeometry; "
                                           "print([r.x, r.y, r.width, r.height].join());"));
        return printed && printed->size() == 1 ? printed->front() : "";
    }

    static std::optional<WindowInfo> windowOf(WindowServer& server, pid_t pid) {
        const auto list =
            server.windowList(WindowListScope::All).value_or(std::vector<WindowInfo>{});
        for (const auto& window : list) {
            if (window.ownerPid == pid) {
                return window;
            }
        }
        return std::nullopt;
    }

    std::optional<WindowInfo> windowOf(pid_t pid) { return windowOf(*windowServer_, pid); }

    static std::string text(const Rect& r) {
        return std::to_string(int(r.x)) + "," + std::to_string(int(r.y)) + "," +
               std::to_string(int(r.width)) + "," + std::to_string(int(r.height));
    }

    PidfdProcessWatcher processes_{loop_};
    std::unique_ptr<CompanionWorkspace> workspace_;
    std::unique_ptr<CompanionWindowServer> windowServer_;
    std::unique_ptr<KWinCompanionScript> script_;
    Handle failures_;
};

TEST_F(KWinCompanionTest, NativeApplicationsInFrontTheirFramesAndStacking) {
    test::NativeWindow writer("so.olvane.test.Writer", "Writer", "400x300");
    ASSERT_TRUE(writer.ready());
    EXPECT_TRUE(until([&] { return frontIs(writer.pid()); }));

    // Its window where KWin has its client area, moved as KWin moves it; a native window's
    // number is none an X11 window can have.
    EXPECT_TRUE(until([&] {
        const auto window = windowOf(writer.pid());
        return window && text(window->bounds) == kwinClientArea("Writer");
    }));
    EXPECT_GE(windowOf(writer.pid())->windowNumber, 0x80000000u);
    desktop_.kwinScript(withWindow(
        "Writer", "w.frameGeometry = {x: 100, y: 100, width: w.width, height: w.height};"));
    const auto moved = kwinClientArea("Writer");
    EXPECT_TRUE(until([&] {
        const auto window = windowOf(writer.pid());
        return window && window->bounds.y > 100 && text(window->bounds) == moved;
    }));

    // Another native window comes in front, apart; a click brings the first back.
    test::NativeWindow reader("so.olvane.test.Reader", "Reader", "400x300");
    ASSERT_TRUE(reader.ready());
    EXPECT_TRUE(until([&] { return frontIs(reader.pid()); }));
    desktop_.kwinScript(withWindow(
        "Reader", "w.frameGeometry = {x: 700, y: 400, width: w.width, height: w.height};"));
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
    const auto writerBounds = windowOf(writer.pid())->bounds;
    EXPECT_TRUE(desktop_.click(writerBounds.x + writerBounds.width / 2,
                               writerBounds.y + writerBounds.height / 2));
    EXPECT_TRUE(until([&] { return frontIs(writer.pid()); }));
    EXPECT_TRUE(until([&] { return order() == std::vector{writer.pid(), reader.pid()}; }));

    // An Xwayland window keeps its X11 number and client area, as the X11 view has them.
    auto x11Windows = X11WindowServer::create(loop_);
    ASSERT_TRUE(x11Windows);
    test::ChildProcess xterm("/usr/bin/xterm", {"-geometry", "60x20+40+40"});
    EXPECT_TRUE(until([&] {
        const auto window = windowOf(xterm.pid());
        const auto x11 = windowOf(*x11Windows, xterm.pid());
        return window && x11 && window->windowNumber == x11->windowNumber &&
               text(window->bounds) == text(x11->bounds);
    }));

    // Minimised, it is listed but not on screen.
    desktop_.kwinScript(withWindow("Reader", "w.minimized = true;"));
    EXPECT_TRUE(until([&] {
        const auto window = windowOf(reader.pid());
        return window && !window->isOnScreen;
    }));
}

TEST_F(KWinCompanionTest, ComesBackWithKWinAndClosesANativeApplication) {
    test::NativeWindow writer("so.olvane.test.Writer", "Writer");
    ASSERT_TRUE(writer.ready());
    ASSERT_TRUE(until([&] { return applicationOf(writer.pid()).has_value(); }));

    // KWin gone, its companion goes; KWin back, the script is loaded into it again.
    std::vector<bool> attachments;
    const auto changes =
        link_->observeCompanion([&] { attachments.push_back(link_->companion().has_value()); });
    ASSERT_TRUE(desktop_.restartKWin()) << desktop_.why();
    EXPECT_TRUE(writer.process().wait(test::kPatience));
    EXPECT_TRUE(until([&] { return attachments.size() == 2 && windows_->live(); }));
    EXPECT_EQ(attachments, (std::vector{false, true}));

    test::NativeWindow reader("so.olvane.test.Reader", "Reader");
    ASSERT_TRUE(reader.ready());
    std::optional<RunningApplication> running;
    ASSERT_TRUE(until([&] { return (running = applicationOf(reader.pid())).has_value(); }));
    bool ended = false;
    const auto terminations = workspace_->observeTermination([&](const auto& application) {
        ended = ended || (application && application->processIdentifier == reader.pid());
    });
    workspace_->requestTermination(*running);
    EXPECT_TRUE(until([&] { return ended; }));
    EXPECT_TRUE(reader.process().wait(test::kPatience));
}

}  // namespace
}  // namespace olvane::platform::os
