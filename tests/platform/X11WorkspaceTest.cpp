// Applications and windows as openbox manages them on Xvfb.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstring>
#include <fstream>

#include "platform/FileIO.h"
#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/Ewmh.h"
#include "platform/linux/PidfdProcessWatcher.h"
#include "platform/linux/X11WindowServer.h"
#include "platform/linux/X11Workspace.h"
#include "support/ChildProcess.h"
#include "support/TempHome.h"
#include "support/X11TestWindows.h"
#include "support/XServer.h"

namespace olvane::platform::os {
namespace {

using namespace std::chrono_literals;

using test::activate;
using test::makeWindow;

class X11WorkspaceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server_.ready());
        client_ = X11Connection::open();
        ASSERT_TRUE(client_);
        workspace_ = X11Workspace::create(loop_, processes_, {home_.root() / "applications"});
        windows_ = X11WindowServer::create(loop_);
        ASSERT_TRUE(workspace_ && windows_);
        activations_ = workspace_->observeActivation(
            [this](const auto& application) { activated_.push_back(application); });
        launches_ = workspace_->observeLaunch(
            [this](const auto& application) { launched_.push_back(application); });
        terminations_ = workspace_->observeTermination(
            [this](const auto& application) { terminated_.push_back(application); });
    }

    bool frontIs(std::string_view id) const {
        return !activated_.empty() && activated_.back() &&
               activated_.back()->bundleIdentifier == id;
    }

    test::XServer server_{{.windowManager = true}};
    test::TempHome home_;
    EpollRunLoop loop_;
    PidfdProcessWatcher processes_{loop_};
    std::unique_ptr<X11Connection> client_;
    std::unique_ptr<X11Workspace> workspace_;
    std::unique_ptr<X11WindowServer> windows_;
    std::vector<std::optional<RunningApplication>> activated_, launched_, terminated_;
    Handle activations_, launches_, terminations_;
};

TEST_F(X11WorkspaceTest, WindowsApplicationsAndTheFrontmostOne) {
    // Two processes stand in for the applications that own the windows.
    test::ChildProcess alpha("/bin/sleep", {"60"});
    test::ChildProcess browser("/bin/sleep", {"60"});
    const auto editor = makeWindow(
        *client_, {{40, 60, 400, 300}, "alpha", "Alpha", alpha.pid(), "org.example.Alpha"});
    ASSERT_TRUE(loop_.runUntil([&] { return launched_.size() == 1; }, 10s));
    const auto firefox =
        makeWindow(*client_, {{500, 100, 320, 240}, "Navigator", "firefox-esr", browser.pid(), {}});
    ASSERT_TRUE(loop_.runUntil([&] { return launched_.size() == 2; }, 10s));
    EXPECT_EQ(launched_[0]->bundleIdentifier, "org.example.Alpha");
    EXPECT_EQ(launched_[1]->bundleIdentifier, "org.mozilla.firefox");
    EXPECT_EQ(launched_[1]->processIdentifier, browser.pid());
    EXPECT_TRUE(launched_[1]->launchDate.has_value());
    EXPECT_EQ(workspace_->runningApplications("org.mozilla.firefox").size(), 1u);

    // Front to back: the window mapped last is in front; sizes as asked, positions inside
    // the window manager's frame.
    const auto list = windows_->windowList(WindowListScope::OnScreenOnly);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 2u);
    EXPECT_EQ((*list)[0].windowNumber, firefox);
    EXPECT_EQ((*list)[1].windowNumber, editor);
    EXPECT_EQ((*list)[1].ownerPid, alpha.pid());
    EXPECT_EQ((*list)[1].layer, kNormalWindowLayer);
    const Rect& bounds = (*list)[1].bounds;
    EXPECT_EQ(bounds.width, 400);
    EXPECT_EQ(bounds.height, 300);
    EXPECT_TRUE(bounds.x >= 40 && bounds.x < 60 && bounds.y >= 60 && bounds.y < 100)
        << bounds.x << "," << bounds.y;

    // openbox gives the focus to the window mapped last.
    ASSERT_TRUE(loop_.runUntil(
        [&] {
            return !activated_.empty() && activated_.back() &&
                   activated_.back()->processIdentifier == browser.pid();
        },
        10s));
    for (const auto& [window, id] : {std::pair{editor, std::string("org.example.Alpha")},
                                     std::pair{firefox, std::string("org.mozilla.firefox")}}) {
        activated_.clear();
        activate(*client_, window);
        ASSERT_TRUE(loop_.runUntil([&] { return !activated_.empty(); }, 10s)) << id;
        ASSERT_TRUE(activated_.front());
        EXPECT_EQ(activated_.front()->bundleIdentifier, id);
        const auto front = workspace_->frontmostApplication();
        ASSERT_TRUE(front);
        EXPECT_EQ(front->bundleIdentifier, id);
    }

    browser.signal(SIGKILL);
    ASSERT_TRUE(loop_.runUntil([&] { return !terminated_.empty(); }, 10s));
    EXPECT_EQ(terminated_.front()->bundleIdentifier, "org.mozilla.firefox");
    EXPECT_TRUE(workspace_->runningApplications("org.mozilla.firefox").empty());
}

TEST_F(X11WorkspaceTest, TheBareDesktopIsInFrontAsAnApplicationOfItsOwn) {
    test::ChildProcess alpha("/bin/sleep", {"60"});
    test::ChildProcess drawer("/bin/sleep", {"60"});
    const auto editor =
        makeWindow(*client_, {{40, 60, 400, 300}, "alpha", "Alpha", alpha.pid(), {}});
    ASSERT_TRUE(loop_.runUntil([&] { return frontIs("Alpha"); }, 10s));
    // A click on the empty desktop leaves no window active.
    test::movePointer(*client_, {1000, 700});
    test::click(*client_);
    ASSERT_TRUE(loop_.runUntil([&] { return frontIs(kDesktopApplicationID); }, 10s));
    EXPECT_EQ(workspace_->frontmostApplication()->bundleIdentifier, kDesktopApplicationID);

    // The desktop's own window is the desktop, whichever process draws it.
    activate(*client_, editor);
    ASSERT_TRUE(loop_.runUntil([&] { return frontIs("Alpha"); }, 10s));
    const auto background =
        makeWindow(*client_, {{0, 0, 1280, 800}, "desktop", "Drawer", drawer.pid(), {}, "DESKTOP"});
    activate(*client_, background);
    EXPECT_TRUE(loop_.runUntil([&] { return frontIs(kDesktopApplicationID); }, 10s));
}

// Write system calls of this thread: each X request that waits for a reply costs at least one.
long writeCalls() {
    std::ifstream io("/proc/thread-self/io");
    std::string key;
    long value = -1;
    while (io >> key >> value && key != "syscw:") {
    }
    return value;
}

TEST_F(X11WorkspaceTest, AskingAgainCostsNoRoundTripUntilTheServerSaysSomethingChanged) {
    test::ChildProcess alpha("/bin/sleep", {"60"});
    const auto editor =
        makeWindow(*client_, {{40, 60, 400, 300}, "alpha", "Alpha", alpha.pid(), {}});
    ASSERT_TRUE(loop_.runUntil([&] { return frontIs("Alpha"); }, 10s));
    const auto poll = [&] {
        EXPECT_EQ(workspace_->frontmostApplication()->bundleIdentifier, "Alpha");
        EXPECT_EQ(windows_->windowList(WindowListScope::OnScreenOnly)->size(), 1u);
    };
    // The window manager may still be dressing the window (frame, state, stacking): settled
    // once a poll between two turns of the loop costs nothing.
    (void)writeCalls();  // its own first reading writes
    bool settled = false;
    for (int attempt = 0; attempt < 50 && !settled; ++attempt) {
        loop_.runUntil([] { return false; }, 100ms);
        const long before = writeCalls();
        poll();
        settled = writeCalls() == before;
    }
    ASSERT_TRUE(settled);
    const long before = writeCalls();
    for (int round = 0; round < 20; ++round) {
        poll();
    }
    EXPECT_EQ(writeCalls(), before);

    const std::uint32_t position[] = {300, 200};
    xcb_configure_window(client_->get(), editor, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y,
                         position);
    client_->flush();
    EXPECT_TRUE(loop_.runUntil(
        [&] { return windows_->windowList(WindowListScope::OnScreenOnly)->at(0).bounds.x >= 300; },
        10s));
}

TEST_F(X11WorkspaceTest, AWindowTakesTheIdOfItsDesktopEntry) {
    std::filesystem::create_directories(home_.root() / "applications");
    ASSERT_TRUE(writeFileAtomically(home_.root() / "applications" / "obconf.desktop",
                                    "[Desktop Entry]\nType=Application\nName=O\nExec=obconf\n"));
    test::ChildProcess known("/bin/sleep", {"60"});
    test::ChildProcess unknown("/bin/sleep", {"60"});
    makeWindow(*client_, {{40, 60, 200, 100}, "obconf", "Obconf", known.pid(), {}});
    makeWindow(*client_, {{300, 60, 200, 100}, "tool", "Tool", unknown.pid(), {}});
    ASSERT_TRUE(loop_.runUntil([&] { return launched_.size() == 2; }, 10s));
    EXPECT_EQ(launched_[0]->bundleIdentifier, "obconf");
    EXPECT_EQ(launched_[1]->bundleIdentifier, "Tool");
}

TEST_F(X11WorkspaceTest, ScreensComeFromRandr) {
    const auto screens = windows_->screens();
    ASSERT_EQ(screens.size(), 1u);
    EXPECT_EQ(screens[0].frame, (Rect{0, 0, 1280, 800}));
}

}  // namespace
}  // namespace olvane::platform::os
