// Applications and windows as openbox manages them on Xvfb.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstring>

#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/Ewmh.h"
#include "platform/linux/PidfdProcessWatcher.h"
#include "platform/linux/X11WindowServer.h"
#include "platform/linux/X11Workspace.h"
#include "support/ChildProcess.h"
#include "support/XServer.h"

namespace olvane::platform::os {
namespace {

using namespace std::chrono_literals;

struct WindowSpec {
    Rect frame;
    std::string instance;
    std::string windowClass;
    pid_t pid = 0;
    std::string gtkApplicationId;
};

void setProperty(X11Connection& x, xcb_window_t window, const char* name, xcb_atom_t type,
                 std::uint8_t format, const void* data, std::size_t count) {
    xcb_change_property(x.get(), XCB_PROP_MODE_REPLACE, window, x.atom(name), type, format,
                        static_cast<std::uint32_t>(count), data);
}

// A top-level window placed where the test says (WM_NORMAL_HINTS with a user position).
xcb_window_t makeWindow(X11Connection& x, const WindowSpec& spec) {
    const xcb_window_t window = xcb_generate_id(x.get());
    xcb_create_window(
        x.get(), XCB_COPY_FROM_PARENT, window, x.root(), static_cast<std::int16_t>(spec.frame.x),
        static_cast<std::int16_t>(spec.frame.y), static_cast<std::uint16_t>(spec.frame.width),
        static_cast<std::uint16_t>(spec.frame.height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
        XCB_COPY_FROM_PARENT, 0, nullptr);
    std::string wmClass = spec.instance + '\0' + spec.windowClass + '\0';
    setProperty(x, window, "WM_CLASS", XCB_ATOM_STRING, 8, wmClass.data(), wmClass.size());
    const auto pid = static_cast<std::uint32_t>(spec.pid);
    setProperty(x, window, "_NET_WM_PID", XCB_ATOM_CARDINAL, 32, &pid, 1);
    if (!spec.gtkApplicationId.empty()) {
        setProperty(x, window, "_GTK_APPLICATION_ID", x.atom("UTF8_STRING"), 8,
                    spec.gtkApplicationId.data(), spec.gtkApplicationId.size());
    }
    std::uint32_t hints[18] = {};
    hints[0] = 1 | 2;  // USPosition | USSize
    hints[1] = static_cast<std::uint32_t>(spec.frame.x);
    hints[2] = static_cast<std::uint32_t>(spec.frame.y);
    hints[3] = static_cast<std::uint32_t>(spec.frame.width);
    hints[4] = static_cast<std::uint32_t>(spec.frame.height);
    setProperty(x, window, "WM_NORMAL_HINTS", XCB_ATOM_WM_SIZE_HINTS, 32, hints, 18);
    xcb_map_window(x.get(), window);
    x.flush();
    return window;
}

void activate(X11Connection& x, xcb_window_t window) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = x.atom("_NET_ACTIVE_WINDOW");
    message.data.data32[0] = 2;  // from a pager: the window manager obeys at once
    xcb_send_event(x.get(), 0, x.root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    x.flush();
}

class X11WorkspaceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server_.ready());
        client_ = X11Connection::open();
        ASSERT_TRUE(client_);
        workspace_ = X11Workspace::create(loop_, processes_);
        windows_ = X11WindowServer::create();
        ASSERT_TRUE(workspace_ && windows_);
        activations_ = workspace_->observeActivation(
            [this](const auto& application) { activated_.push_back(application); });
        launches_ = workspace_->observeLaunch(
            [this](const auto& application) { launched_.push_back(application); });
        terminations_ = workspace_->observeTermination(
            [this](const auto& application) { terminated_.push_back(application); });
    }

    test::XServer server_{{.windowManager = true}};
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

TEST_F(X11WorkspaceTest, ScreensComeFromRandr) {
    const auto screens = windows_->screens();
    ASSERT_EQ(screens.size(), 1u);
    EXPECT_EQ(screens[0].frame, (Rect{0, 0, 1280, 800}));
}

}  // namespace
}  // namespace olvane::platform::os
