#pragma once

#include <filesystem>
#include <functional>

#include "platform/Handle.h"
#include "platform/RunLoop.h"

namespace olvane::ui {

// One OlvaneMac per session, as the desktop would give one application one process: the first
// launch holds a lock in the session's runtime folder and listens there; a later launch asks it
// to show its window and ends, so there is never a second main window.
class SingleInstance {
  public:
    enum class Role {
        primary,      // this process is the application
        secondary,    // another one runs and was asked to show itself
        unavailable,  // the folder or the lock could not be used: run without the guarantee
    };

    explicit SingleInstance(const std::filesystem::path& runtimeFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    Role role() const { return role_; }
    // Primary only: `onShowRequest` runs on the loop each time a later launch asks.
    void listen(platform::RunLoop& loop, std::function<void()> onShowRequest);

  private:
    bool becomePrimary(const std::filesystem::path& socketPath);
    bool askPrimaryToShow(const std::filesystem::path& socketPath);
    void acceptRequests();

    Role role_ = Role::unavailable;
    int lockFd_ = -1;
    int listenFd_ = -1;
    std::filesystem::path socketPath_;
    std::function<void()> onShowRequest_;
    platform::Handle watch_;
};

}  // namespace olvane::ui
