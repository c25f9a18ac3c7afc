#pragma once

#include <filesystem>
#include <functional>

#include "platform/Handle.h"
#include "platform/RunLoop.h"

namespace olvane::ui {

// One OlvaneMac per session, as the desktop would give one application one process: the first
// launch holds a lock in the session's runtime folder and listens there; a later launch asks it
// to show its window and ends, so there is never a second main window. A held lock always means
// that a copy runs, whether or not it can be reached.
class SingleInstance {
  public:
    enum class Role {
        primary,      // this process is the application
        secondary,    // another one runs and was asked to show itself
        unreachable,  // another one runs (it holds the lock) but could not be asked anything
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
    bool becomePrimary();
    bool askPrimaryToShow();
    void acceptRequests();

    Role role_ = Role::unavailable;
    int folderFd_ = -1;
    int lockFd_ = -1;
    int listenFd_ = -1;
    // The socket's address: its path, or through the folder's descriptor when that is too long.
    std::string socketAddress_;
    std::filesystem::path socketPath_;
    std::function<void()> onShowRequest_;
    platform::Handle watch_;
};

}  // namespace olvane::ui
