#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <set>

#include "platform/ProcessWatcher.h"
#include "platform/RunLoop.h"
#include "platform/RunningApplicationTable.h"
#include "platform/Signal.h"
#include "platform/Workspace.h"
#include "platform/linux/WindowApplications.h"
#include "platform/linux/X11Connection.h"

namespace olvane::platform::os {

// The session's applications as an EWMH window manager shows them: an application runs from
// the moment one of its processes has a managed window until that process ends; the frontmost
// one owns _NET_ACTIVE_WINDOW, the desktop when no window has it. Changes come from the root
// window's property events, which keep what is read current: asking costs no round trip while
// nothing changes.
class X11Workspace final : public Workspace {
  public:
    // Null when no X server answers or no EWMH window manager runs. Applications take the ID of
    // their desktop entry in `applicationFolders` (searched in order) when one matches.
    static std::unique_ptr<X11Workspace> create(
        RunLoop& loop, ProcessWatcher& processes,
        std::vector<std::filesystem::path> applicationFolders, const std::string& display = {});
    ~X11Workspace() override;

    std::optional<RunningApplication> frontmostApplication() override;
    std::vector<RunningApplication> runningApplications(std::string_view bundleID) override;
    std::vector<RunningApplication> allRunningApplications() override;
    void requestTermination(const RunningApplication& application) override;
    Handle observeActivation(ApplicationObserver observer) override;
    Handle observeLaunch(ApplicationObserver observer) override;
    Handle observeTermination(ApplicationObserver observer) override;

  private:
    // What a window says of itself, read once.
    struct WindowFacts {
        std::optional<pid_t> pid;
        bool isDesktop = false;
        bool isApplicationWindow = false;
    };

    X11Workspace(RunLoop& loop, ProcessWatcher& processes, std::unique_ptr<X11Connection> x,
                 std::vector<std::filesystem::path> applicationFolders);
    void handleEvent(const xcb_generic_event_t& event);
    void refreshClients();
    WindowFacts factsOf(xcb_window_t window);
    // The application of the window's process, tracked from then on.
    std::optional<RunningApplication> applicationOfWindow(xcb_window_t window);
    RunningApplication describe(pid_t pid, xcb_window_t window);
    void checkFrontmost();
    void announceFrontmost();

    RunLoop& loop_;
    std::unique_ptr<X11Connection> x_;
    WindowApplications applications_;
    RunningApplicationTable running_;
    std::set<xcb_window_t> clients_;
    std::map<xcb_window_t, WindowFacts> windowFacts_;
    std::optional<xcb_window_t> activeWindow_;
    std::optional<pid_t> frontmostPid_;
    Signal<std::optional<RunningApplication>> activated_;
    Handle absenceCheck_;
    Handle events_;
};

}  // namespace olvane::platform::os
