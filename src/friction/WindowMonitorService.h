#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "friction/FrontmostAppMirror.h"
#include "friction/TargetWindow.h"
#include "platform/Handle.h"
#include "platform/WindowServer.h"
#include "platform/Workspace.h"

namespace olvane {

// The application's one observer of the frontmost application: it records the application in
// front, mirrors it for the interface and hands each change to the callbacks other services
// registered by name. It also lists a target application's windows for the friction effects.
class WindowMonitorService {
  public:
    using AppChangedCallback = std::function<void(const std::optional<std::string>& bundleID,
                                                  const std::optional<std::string>& name)>;

    // Starts observing activations, launches and terminations at once.
    WindowMonitorService(platform::Workspace& workspace, platform::WindowServer& windowServer,
                         FrontmostAppMirror mirror);
    WindowMonitorService(const WindowMonitorService&) = delete;
    WindowMonitorService& operator=(const WindowMonitorService&) = delete;

    // Records the application in front now.
    void startMonitoring();
    // Stops observing the workspace and forgets every callback.
    void stopMonitoring();

    // Stores or replaces the callback of that name. Destroying the handle removes the callback
    // unless it was replaced meanwhile: keep it as long as the callback's owner lives.
    platform::Handle addAppChangedCallback(const std::string& id, AppChangedCallback callback);
    void removeAppChangedCallback(const std::string& id);

    // The on-screen application windows of every running instance of the application, front to
    // back, without those lying inside another of the same process. Empty when there are none.
    std::vector<TargetWindow> windows(std::string_view bundleID);

    const std::optional<std::string>& currentAppBundleID() const { return currentAppBundleID_; }
    const std::optional<std::string>& currentAppName() const { return currentAppName_; }

    void activeAppDidChange();
    void appDidLaunch(const std::optional<platform::RunningApplication>& app);
    void appDidTerminate(const std::optional<platform::RunningApplication>& app);

  private:
    struct Registration {
        std::string name;
        AppChangedCallback callback;
        bool ownerGone = false;
    };
    using CallbackTable = std::map<std::string, std::shared_ptr<Registration>>;

    void notifyCallbacks();

    platform::Workspace& workspace_;
    platform::WindowServer& windowServer_;
    FrontmostAppMirror mirror_;
    std::shared_ptr<CallbackTable> appChangedCallbacks_;
    std::optional<std::string> currentAppBundleID_;
    std::optional<std::string> currentAppName_;
    platform::Handle activationObserver_;
    platform::Handle launchObserver_;
    platform::Handle terminationObserver_;
};

}  // namespace olvane
