#include <gtest/gtest.h>

#include "friction/WindowMonitorService.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/SimWindowServer.h"
#include "platform/sim/SimWorkspace.h"

namespace olvane {
namespace {

using platform::LogLevel;
using platform::Rect;
using platform::RunningApplication;
using platform::WindowInfo;
using platform::sim::ScopedLogCapture;

RunningApplication app(pid_t pid, std::optional<std::string> id, std::optional<std::string> name) {
    return RunningApplication{std::move(id), std::move(name), pid, 1'767'225'600.0};
}

struct Call {
    std::string callback;
    std::optional<std::string> bundleID;
    std::optional<std::string> name;
    bool operator==(const Call&) const = default;
};

class WindowMonitorServiceTest : public ::testing::Test {
  protected:
    WindowMonitorServiceTest() {
        workspace.launch(app(100, "org.mozilla.firefox", "Firefox"));
        workspace.launch(app(200, "org.gnome.TextEditor", "Éditeur de texte"));
        workspace.launch(app(300, std::nullopt, "xterm"));
    }

    platform::Handle record(const std::string& name) {
        return monitor.addAppChangedCallback(name,
                                             [this, name](const auto& id, const auto& appName) {
                                                 calls.push_back({name, id, appName});
                                             });
    }

    platform::sim::SimWorkspace workspace;
    platform::sim::SimWindowServer windowServer;
    platform::Observable<std::optional<std::string>> shownBundleID;
    platform::Observable<std::optional<std::string>> shownName;
    WindowMonitorService monitor{workspace, windowServer, {shownBundleID, shownName}};
    std::vector<Call> calls;
};

TEST_F(WindowMonitorServiceTest, ActivationsReachTheMirrorAndEveryCallbackOncePerChange) {
    ScopedLogCapture capture;
    auto first = record("GrayscaleFilterService");
    auto second = record("AppMonitoringService");
    int mirrorChanges = 0;
    auto watch = shownBundleID.observe([&](const auto&) { ++mirrorChanges; });

    workspace.activate(100);
    EXPECT_EQ(monitor.currentAppBundleID(), "org.mozilla.firefox");
    EXPECT_EQ(shownBundleID(), "org.mozilla.firefox");
    EXPECT_EQ(shownName(), "Firefox");
    EXPECT_EQ(calls.size(), 2u);
    EXPECT_TRUE(capture->contains("WindowMonitor", LogLevel::Debug,
                                  "🔄 App active: Firefox (org.mozilla.firefox)"));
    EXPECT_TRUE(capture->contains("Notification callback: GrayscaleFilterService"));

    // Reactivating the recorded application is no change.
    capture->clear();
    workspace.activate(100);
    EXPECT_EQ(calls.size(), 2u);
    EXPECT_TRUE(capture->lines().empty());

    // An application without ID after one with: the callbacks get no ID and the new name.
    calls.clear();
    workspace.activate(300);
    EXPECT_EQ(calls, (std::vector<Call>{{"AppMonitoringService", std::nullopt, "xterm"},
                                        {"GrayscaleFilterService", std::nullopt, "xterm"}}));
    EXPECT_TRUE(capture->contains("🔄 App active: xterm (nil)"));
    EXPECT_FALSE(shownBundleID());
    EXPECT_EQ(mirrorChanges, 2);
}

TEST_F(WindowMonitorServiceTest, NothingInFrontForgetsTheAppSoTheSameAppCountsAgain) {
    auto callback = record("GrayscaleFilterService");
    workspace.activate(200);
    ASSERT_EQ(calls.size(), 1u);

    workspace.setFrontmost(std::nullopt);
    monitor.activeAppDidChange();
    EXPECT_FALSE(monitor.currentAppBundleID());
    EXPECT_FALSE(monitor.currentAppName());
    EXPECT_EQ(calls.size(), 1u);
    // The interface keeps showing the last application.
    EXPECT_EQ(shownBundleID(), "org.gnome.TextEditor");

    workspace.activate(200);
    EXPECT_EQ(calls.size(), 2u);
    EXPECT_EQ(monitor.currentAppName(), "Éditeur de texte");
}

TEST_F(WindowMonitorServiceTest, StartRecordsTheAppInFrontAndStopEndsEverything) {
    ScopedLogCapture capture;
    auto callback = record("AppMonitoringService");
    workspace.setFrontmost(100);
    monitor.startMonitoring();
    EXPECT_EQ(monitor.currentAppBundleID(), "org.mozilla.firefox");
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_TRUE(
        capture->contains("WindowMonitor", LogLevel::Info, "Surveillance des fenêtres démarrée"));

    monitor.stopMonitoring();
    EXPECT_TRUE(
        capture->contains("WindowMonitor", LogLevel::Info, "Surveillance des fenêtres arrêtée"));
    workspace.activate(200);
    workspace.launch(app(400, "org.gnome.Calculator", "Calculatrice"));
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_EQ(monitor.currentAppBundleID(), "org.mozilla.firefox");
    EXPECT_FALSE(capture->contains("App lancée: Calculatrice (org.gnome.Calculator)"));
}

TEST_F(WindowMonitorServiceTest, NamedCallbacksAreReplacedRemovedAndWalkedOverASnapshot) {
    ScopedLogCapture capture;
    auto old = record("AppMonitoringService");
    auto replacement = record("AppMonitoringService");
    EXPECT_EQ(capture->count("Callback ajouté: AppMonitoringService"), 2u);
    workspace.activate(100);
    EXPECT_EQ(calls.size(), 1u);
    // The replaced registration's handle no longer removes anything.
    old.cancel();
    workspace.activate(200);
    EXPECT_EQ(calls.size(), 2u);

    monitor.removeAppChangedCallback("jamais-enregistré");
    EXPECT_TRUE(
        capture->contains("WindowMonitor", LogLevel::Debug, "Callback retiré: jamais-enregistré"));

    // A callback that removes another and adds a third: this walk still calls the removed one
    // and not the new one; the next walk sees the change.
    calls.clear();
    platform::Handle added;
    auto editor = monitor.addAppChangedCallback("A-editor", [&](const auto&, const auto&) {
        calls.push_back({"A-editor", {}, {}});
        monitor.removeAppChangedCallback("AppMonitoringService");
        if (!added) {
            added = record("B-added");
        }
    });
    workspace.activate(100);
    EXPECT_EQ(calls,
              (std::vector<Call>{{"A-editor", {}, {}},
                                 {"AppMonitoringService", "org.mozilla.firefox", "Firefox"}}));
    calls.clear();
    workspace.activate(200);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].callback, "B-added");
}

TEST_F(WindowMonitorServiceTest, AnOwnerGoneDuringAWalkIsNotCalled) {
    std::vector<std::string> called;
    platform::Handle second;
    auto first = monitor.addAppChangedCallback("A", [&](const auto&, const auto&) {
        called.push_back("A");
        second.cancel();  // its owner goes away
    });
    second = monitor.addAppChangedCallback(
        "B", [&](const auto&, const auto&) { called.push_back("B"); });
    workspace.activate(100);
    EXPECT_EQ(called, std::vector<std::string>{"A"});
}

TEST_F(WindowMonitorServiceTest, LaunchAndTerminationOnlyLog) {
    auto callback = record("AppMonitoringService");
    ScopedLogCapture capture;
    workspace.launch(app(400, std::nullopt, std::nullopt));
    workspace.launch(app(500, "org.gnome.Calculator", "Calculatrice"));
    workspace.terminate(500);
    workspace.postLaunch(std::nullopt);
    workspace.postTermination(std::nullopt);
    EXPECT_EQ(capture->texts("WindowMonitor"),
              (std::vector<std::string>{"App lancée: ? (?)",
                                        "App lancée: Calculatrice (org.gnome.Calculator)",
                                        "App fermée: Calculatrice (org.gnome.Calculator)"}));
    EXPECT_TRUE(calls.empty());
    EXPECT_FALSE(monitor.currentAppBundleID());
}

WindowInfo window(std::uint32_t number, pid_t pid, Rect bounds, int layer = 0) {
    return WindowInfo{number, pid, bounds, layer, true};
}

TEST_F(WindowMonitorServiceTest, WindowsAreOrdinaryOnScreenWindowsLargerThan100Points) {
    windowServer.setWindows({
        window(1, 200, {0, 0, 100, 500}),                            // exactly 100 wide: out
        window(2, 200, {0, 0, 500, 100}),                            // exactly 100 high: out
        window(3, 200, {10, 20, 101, 101}),                          // in
        window(4, 200, {600, 0, 300, 300}, 3),                       // floating panel: out
        window(5, 100, {600, 400, 300, 300}),                        // another application: out
        WindowInfo{6, std::nullopt, {600, 400, 300, 300}, 0, true},  // no owner: out
        WindowInfo{7, 200, {900, 400, 300, 300}, 0, false},          // minimised: out
        window(8, 200, {-1200, 50, 800, 600}),  // on a screen left of the primary: in
    });
    EXPECT_EQ(monitor.windows("org.gnome.TextEditor"),
              (std::vector<TargetWindow>{{3, {10, 20, 101, 101}}, {8, {-1200, 50, 800, 600}}}));
    EXPECT_TRUE(monitor.windows("org.example.NotRunning").empty());

    windowServer.setAvailable(false);
    EXPECT_TRUE(monitor.windows("org.gnome.TextEditor").empty());
}

TEST_F(WindowMonitorServiceTest, ContainedWindowsAreDroppedEqualFramesKept) {
    windowServer.setWindows({
        window(1, 200, {100, 100, 300, 200}),  // a sheet inside the main window
        window(2, 200, {0, 0, 1000, 800}),     // the main window
        window(3, 200, {0, 0, 1000, 800}),     // a twin with the same frame
        window(4, 200, {900, 700, 400, 400}),  // overlaps the main window, not inside it
        window(5, 200, {0, 0, 1000, 300}),     // shares an edge, inside
    });
    EXPECT_EQ(monitor.windows("org.gnome.TextEditor"),
              (std::vector<TargetWindow>{
                  {2, {0, 0, 1000, 800}}, {3, {0, 0, 1000, 800}}, {4, {900, 700, 400, 400}}}));
}

TEST_F(WindowMonitorServiceTest, EveryInstanceCountsAWindowIsASheetOnlyOfItsOwnProcess) {
    workspace.launch(app(201, "org.gnome.TextEditor", "Éditeur de texte"));
    windowServer.setWindows({
        window(1, 201, {0, 0, 800, 600}),
        window(2, 200, {50, 50, 400, 400}),  // inside the other instance's window: kept
        window(3, 200, {60, 60, 200, 200}),  // a sheet of its own process's window: out
    });
    EXPECT_EQ(monitor.windows("org.gnome.TextEditor"),
              (std::vector<TargetWindow>{{1, {0, 0, 800, 600}}, {2, {50, 50, 400, 400}}}));
    workspace.terminate(201);
    EXPECT_EQ(monitor.windows("org.gnome.TextEditor"),
              (std::vector<TargetWindow>{{2, {50, 50, 400, 400}}}));
}

}  // namespace
}  // namespace olvane
