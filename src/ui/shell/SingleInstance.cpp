#include "ui/shell/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "model/Logger.h"
#include "platform/Paths.h"

namespace olvane::ui {
namespace {

namespace fs = std::filesystem;

// The first launch may still be between taking the lock and listening.
constexpr int kConnectAttempts = 40;
constexpr auto kConnectPause = std::chrono::milliseconds(25);

bool addressFor(const fs::path& path, sockaddr_un& address) {
    const std::string text = path.string();
    if (text.size() >= sizeof address.sun_path) {
        return false;
    }
    address = {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
    return true;
}

const sockaddr* asSockaddr(const sockaddr_un& address) {
    return reinterpret_cast<const sockaddr*>(&address);
}

}  // namespace

SingleInstance::SingleInstance(const fs::path& runtimeFolder) {
    if (!platform::ensurePrivateFolder(runtimeFolder).ok()) {
        return;
    }
    lockFd_ = ::open((runtimeFolder / "instance.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd_ < 0) {
        return;
    }
    const fs::path socketPath = runtimeFolder / "instance.sock";
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
        role_ = becomePrimary(socketPath) ? Role::primary : Role::unavailable;
    } else if (errno == EWOULDBLOCK && askPrimaryToShow(socketPath)) {
        role_ = Role::secondary;
    }
}

SingleInstance::~SingleInstance() {
    watch_.cancel();
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        std::error_code ignored;
        fs::remove(socketPath_, ignored);
    }
    if (lockFd_ >= 0) {
        ::close(lockFd_);  // releases the lock
    }
}

bool SingleInstance::becomePrimary(const fs::path& socketPath) {
    sockaddr_un address{};
    if (!addressFor(socketPath, address)) {
        return false;
    }
    // Whoever left this socket no longer holds the lock.
    ::unlink(socketPath.c_str());
    listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listenFd_ < 0 || ::bind(listenFd_, asSockaddr(address), sizeof address) != 0 ||
        ::listen(listenFd_, 4) != 0) {
        return false;
    }
    socketPath_ = socketPath;
    return true;
}

bool SingleInstance::askPrimaryToShow(const fs::path& socketPath) {
    sockaddr_un address{};
    if (!addressFor(socketPath, address)) {
        return false;
    }
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            return false;
        }
        const bool connected = ::connect(fd, asSockaddr(address), sizeof address) == 0;
        ::close(fd);  // the connection itself is the request
        if (connected) {
            return true;
        }
        std::this_thread::sleep_for(kConnectPause);
    }
    return false;
}

void SingleInstance::listen(platform::RunLoop& loop, std::function<void()> onShowRequest) {
    if (role_ != Role::primary) {
        return;
    }
    onShowRequest_ = std::move(onShowRequest);
    watch_ = loop.watchReadable(listenFd_, [this] { acceptRequests(); });
}

void SingleInstance::acceptRequests() {
    int fd;
    while ((fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0) {
        ::close(fd);
        Logger::app().debug("Nouveau lancement : fenêtre principale ramenée");
        if (onShowRequest_) {
            onShowRequest_();
        }
    }
}

}  // namespace olvane::ui
