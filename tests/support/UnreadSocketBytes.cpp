#include "support/UnreadSocketBytes.h"

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <linux/sock_diag.h>
#include <linux/unix_diag.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <string>

namespace olvane::test {
namespace {

namespace fs = std::filesystem;

std::set<std::uint64_t> socketInodes(pid_t pid) {
    std::set<std::uint64_t> inodes;
    std::error_code ec;
    for (const auto& entry :
         fs::directory_iterator(fs::path("/proc") / std::to_string(pid) / "fd", ec)) {
        const std::string target = fs::read_symlink(entry.path(), ec).string();
        if (!ec && target.starts_with("socket:[")) {
            inodes.insert(std::stoull(target.substr(8)));
        }
    }
    return inodes;
}

enum class DumpPart { More, Done, Failed };

template <typename T>
T readAt(const char* buffer, std::size_t offset) {
    T value{};
    std::memcpy(&value, buffer + offset, sizeof value);
    return value;
}

// The receive queue among the attributes of one socket, from `offset` to `end`.
std::size_t receiveQueue(const char* buffer, std::size_t offset, std::size_t end) {
    while (offset + sizeof(rtattr) <= end) {
        const auto attribute = readAt<rtattr>(buffer, offset);
        if (attribute.rta_len < sizeof(rtattr)) {
            break;
        }
        if (attribute.rta_type == UNIX_DIAG_RQLEN) {
            return readAt<unix_diag_rqlen>(buffer, offset + RTA_ALIGN(sizeof(rtattr))).udiag_rqueue;
        }
        offset += RTA_ALIGN(attribute.rta_len);
    }
    return 0;
}

// Adds the receive queue of every socket in `inodes` that this part of the dump names.
DumpPart addQueues(const char* buffer, std::size_t length, const std::set<std::uint64_t>& inodes,
                   std::size_t& unread) {
    constexpr std::size_t kHeader = NLMSG_ALIGN(sizeof(nlmsghdr));
    for (std::size_t offset = 0; offset + sizeof(nlmsghdr) <= length;) {
        const auto header = readAt<nlmsghdr>(buffer, offset);
        if (header.nlmsg_type == NLMSG_DONE) {
            return DumpPart::Done;
        }
        if (header.nlmsg_type == NLMSG_ERROR ||
            header.nlmsg_len < kHeader + sizeof(unix_diag_msg) ||
            offset + header.nlmsg_len > length) {
            return DumpPart::Failed;
        }
        if (inodes.contains(readAt<unix_diag_msg>(buffer, offset + kHeader).udiag_ino)) {
            unread += receiveQueue(buffer, offset + kHeader + NLMSG_ALIGN(sizeof(unix_diag_msg)),
                                   offset + header.nlmsg_len);
        }
        offset += NLMSG_ALIGN(header.nlmsg_len);
    }
    return DumpPart::More;
}

}  // namespace

std::optional<std::size_t> unreadSocketBytes(pid_t pid) {
    const auto inodes = socketInodes(pid);
    const int fd = ::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_SOCK_DIAG);
    if (fd < 0) {
        return std::nullopt;
    }
    struct {
        nlmsghdr header;
        unix_diag_req request;
    } dump{};
    dump.header.nlmsg_len = sizeof dump;
    dump.header.nlmsg_type = SOCK_DIAG_BY_FAMILY;
    dump.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    dump.request.sdiag_family = AF_UNIX;
    dump.request.udiag_states = ~0u;
    dump.request.udiag_show = UDIAG_SHOW_RQLEN;
    std::size_t unread = 0;
    auto part = ::send(fd, &dump, sizeof dump, 0) == static_cast<ssize_t>(sizeof dump)
                    ? DumpPart::More
                    : DumpPart::Failed;
    char buffer[32768];
    while (part == DumpPart::More) {
        const ssize_t length = ::recv(fd, buffer, sizeof buffer, 0);
        part = length > 0 ? addQueues(buffer, static_cast<std::size_t>(length), inodes, unread)
                          : DumpPart::Failed;
    }
    ::close(fd);
    if (part == DumpPart::Failed) {
        return std::nullopt;
    }
    return unread;
}

}  // namespace olvane::test
