#include "host/ByteStreams.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Descriptor.h"

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
    return [fd](std::string_view bytes) { (void)platform::writeAllToDescriptor(fd, bytes); };
}

}  // namespace olvane::host
