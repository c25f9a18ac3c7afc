#include "support/SilentSessionBus.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace olvane::test {
namespace {

constexpr const char* kVariable = "DBUS_SESSION_BUS_ADDRESS";

}  // namespace

SilentSessionBus::SilentSessionBus(const std::filesystem::path& folder) {
    const auto path = (folder / "silent-bus").string();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    socket_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket_ < 0 ||
        ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(socket_, 16) != 0) {
        if (socket_ >= 0) {
            ::close(socket_);
        }
        socket_ = -1;
        return;
    }
    if (const char* value = std::getenv(kVariable)) {
        previous_ = value;
    }
    ::setenv(kVariable, ("unix:path=" + path).c_str(), 1);
}

SilentSessionBus::~SilentSessionBus() {
    if (socket_ < 0) {
        return;
    }
    ::close(socket_);
    if (previous_) {
        ::setenv(kVariable, previous_->c_str(), 1);
    } else {
        ::unsetenv(kVariable);
    }
}

}  // namespace olvane::test
