#include "host/ByteStreams.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace olvane::host {

ReadBytes readFromDescriptor(int fd) {
    return [fd](char* buffer, std::size_t size) -> std::ptrdiff_t {
        for (;;) {
            const ssize_t n = ::read(fd, buffer, size);
            if (n >= 0) {
                return n;
            }
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                // A parent may hand us a non-blocking pipe: wait for data instead of failing.
                pollfd p{fd, POLLIN, 0};
                ::poll(&p, 1, -1);
                continue;
            }
            if (errno != EINTR) {
                return -1;
            }
        }
    };
}

WriteBytes writeToDescriptor(int fd) {
    return [fd](std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t n = ::write(fd, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                pollfd p{fd, POLLOUT, 0};
                ::poll(&p, 1, -1);
                continue;
            }
            if (n <= 0) {
                return;
            }
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
    };
}

}  // namespace olvane::host
