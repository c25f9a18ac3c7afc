#pragma once

#include <vector>

#include "platform/Signal.h"
#include "platform/Workspace.h"

namespace olvane::platform::sim {

// Applications that launch, come to the front and quit when the test says so. Notifications
// are delivered at once, on the caller's thread.
class SimWorkspace final : public Workspace {
  public:
    std::optional<RunningApplication> frontmostApplication() override;
    std::vector<RunningApplication> runningApplications(std::string_view bundleID) override;
    std::vector<RunningApplication> allRunningApplications() override { return running_; }
    // Only recorded: the test decides whether the application quits.
    void requestTermination(const RunningApplication& application) override {
        terminationRequests_.push_back(application.processIdentifier);
    }
    Handle observeActivation(ApplicationObserver observer) override;
    Handle observeLaunch(ApplicationObserver observer) override;
    Handle observeTermination(ApplicationObserver observer) override;

    // Adds a running application (launch notification).
    void launch(RunningApplication app);
    // Brings the running application with that process to the front (activation notification).
    void activate(pid_t pid);
    // Removes it (termination notification); if it was in front, nothing is in front any more.
    void terminate(pid_t pid);
    // Changes what is in front without any notification; absent: nothing in front.
    void setFrontmost(std::optional<pid_t> pid) { frontmost_ = pid; }
    // Raw notifications, for those that carry no application or a foreign one.
    void postActivation(const std::optional<RunningApplication>& app) { activated_.emit(app); }
    void postLaunch(const std::optional<RunningApplication>& app) { launched_.emit(app); }
    void postTermination(const std::optional<RunningApplication>& app) { terminated_.emit(app); }

    const std::vector<RunningApplication>& running() const { return running_; }
    const std::vector<pid_t>& terminationRequests() const { return terminationRequests_; }

  private:
    const RunningApplication* find(pid_t pid) const;

    std::vector<RunningApplication> running_;
    std::optional<pid_t> frontmost_;
    std::vector<pid_t> terminationRequests_;
    Signal<std::optional<RunningApplication>> activated_;
    Signal<std::optional<RunningApplication>> launched_;
    Signal<std::optional<RunningApplication>> terminated_;
};

}  // namespace olvane::platform::sim
