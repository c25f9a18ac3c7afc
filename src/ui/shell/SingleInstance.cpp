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

bool addressFor(const std::string& text, sockaddr_un& address) {
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

// The socket's path, or the same place reached through the folder's open descriptor when the
// whole path does not fit in an address.
std::string socketAddressFor(const fs::path& socketPath, int folderFd) {
    sockaddr_un address{};
    if (socketPath.string().size() < sizeof address.sun_path || folderFd < 0) {
        return socketPath.string();
    }
    return "/proc/self/fd/" + std::to_string(folderFd) + "/" + socketPath.filename().string();
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
    folderFd_ = ::open(runtimeFolder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    socketPath_ = runtimeFolder / "instance.sock";
    socketAddress_ = socketAddressFor(socketPath_, folderFd_);
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
        role_ = Role::primary;
        if (!becomePrimary()) {
            // Still the one copy: later launches learn it from the lock.
            Logger::app().notice(
                "Lancement unique : socket indisponible, une autre copie ne pourra pas ramener "
                "la fenêtre");
        }
    } else if (errno == EWOULDBLOCK) {
        role_ = askPrimaryToShow() ? Role::secondary : Role::unreachable;
    }
}

SingleInstance::~SingleInstance() {
    watch_.cancel();
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        std::error_code ignored;
        fs::remove(socketPath_, ignored);
    }
    for (const int fd : {folderFd_, lockFd_}) {
        if (fd >= 0) {
            ::close(fd);  // the lock's goes with it
        }
    }
}

bool SingleInstance::becomePrimary() {
    sockaddr_un address{};
    if (!addressFor(socketAddress_, address)) {
        return false;
    }
    // Whoever left this socket no longer holds the lock.
    ::unlink(socketAddress_.c_str());
    listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listenFd_ < 0 || ::bind(listenFd_, asSockaddr(address), sizeof address) != 0 ||
        ::listen(listenFd_, 4) != 0) {
        if (listenFd_ >= 0) {
            ::close(listenFd_);
            listenFd_ = -1;
        }
        return false;
    }
    return true;
}

bool SingleInstance::askPrimaryToShow() {
    sockaddr_un address{};
    if (!addressFor(socketAddress_, address)) {
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
    if (role_ != Role::primary || listenFd_ < 0) {
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
