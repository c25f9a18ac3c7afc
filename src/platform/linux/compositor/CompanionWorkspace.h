#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "platform/ProcessWatcher.h"
#include "platform/RunLoop.h"
#include "platform/RunningApplicationTable.h"
#include "platform/Signal.h"
#include "platform/Workspace.h"
#include "platform/linux/WindowApplications.h"
#include "platform/linux/compositor/CompanionLink.h"
#include "platform/linux/compositor/CompanionWindows.h"

namespace olvane::platform::os {

// The session's applications as the compositor's companion shows them, every window of the
// session, native or Xwayland alike, once it reports; `fallback` (the X11 view, which sees the
// Xwayland programs only; may be null) serves meanwhile. At each change of source what runs and
// what is in front are announced anew.
class CompanionWorkspace final : public Workspace {
  public:
    CompanionWorkspace(RunLoop& loop, ProcessWatcher& processes, CompanionLink& link,
                       CompanionWindows& windows,
                       std::vector<std::filesystem::path> applicationFolders, Workspace* fallback);
    CompanionWorkspace(const CompanionWorkspace&) = delete;
    CompanionWorkspace& operator=(const CompanionWorkspace&) = delete;

    std::optional<RunningApplication> frontmostApplication() override;
    std::vector<RunningApplication> runningApplications(std::string_view bundleID) override;
    std::vector<RunningApplication> allRunningApplications() override;
    void requestTermination(const RunningApplication& application) override;
    Handle observeActivation(ApplicationObserver observer) override;
    Handle observeLaunch(ApplicationObserver observer) override;
    Handle observeTermination(ApplicationObserver observer) override;

  private:
    void windowsChanged();
    void switchSource(bool live);
    void trackApplications();
    std::optional<RunningApplication> applicationOf(const CompositorWindow& window);
    std::optional<RunningApplication> companionFrontmost();
    void checkFrontmost();
    void announceFrontmost();

    RunLoop& loop_;
    CompanionLink& link_;
    CompanionWindows& windows_;
    Workspace* fallback_;
    WindowApplications applications_;
    RunningApplicationTable running_;
    bool live_ = false;
    std::optional<pid_t> frontmostPid_;
    Signal<std::optional<RunningApplication>> activated_;
    Signal<std::optional<RunningApplication>> launched_;
    Signal<std::optional<RunningApplication>> terminated_;
    Handle absenceCheck_;
    Handle windowsWatch_;
    std::vector<Handle> fallbackWatches_;
    std::vector<Handle> ownWatches_;
};

}  // namespace olvane::platform::os
