#pragma once

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/Handle.h"
#include "platform/RunningApplication.h"

namespace olvane::platform {

// The bare desktop, in front as an application of its own (without process) that the user
// cannot choose, as elsewhere the desktop belongs to the file manager: nothing exempt from an
// effect stays in front once the user clicks on it.
inline constexpr std::string_view kDesktopApplicationID = "desktop";

// The running applications of the session and their comings and goings. Notifications arrive
// on the run loop; each carries the application concerned, absent when the source could not
// name it.
class Workspace {
  public:
    using ApplicationObserver = std::function<void(const std::optional<RunningApplication>&)>;

    virtual ~Workspace() = default;

    // The application that owns the focused window; the desktop (kDesktopApplicationID) when
    // no window or the desktop's own window has the focus; absent while the focus moves or for
    // a window no process can be found for.
    virtual std::optional<RunningApplication> frontmostApplication() = 0;
    // The running instances with that application ID, the earliest launched first.
    virtual std::vector<RunningApplication> runningApplications(std::string_view bundleID) = 0;
    // Every running application of the session, the earliest launched first.
    virtual std::vector<RunningApplication> allRunningApplications() = 0;

    // Asks the application to quit, as the user would: each of its windows is asked to close
    // (it may refuse, to save a document first); one without any window is sent SIGTERM.
    virtual void requestTermination(const RunningApplication& application) = 0;

    // An application came to the front.
    virtual Handle observeActivation(ApplicationObserver observer) = 0;
    virtual Handle observeLaunch(ApplicationObserver observer) = 0;
    virtual Handle observeTermination(ApplicationObserver observer) = 0;
};

}  // namespace olvane::platform
