#include "ui/shell/TerminationSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

namespace olvane::ui {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handler may only write to a descriptor: it finds it here.
volatile std::sig_atomic_t gWriteFd = -1;
struct sigaction gPrevious[std::size(kSignals)];

extern "C" void handOver(int signal) {
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] auto n = ::write(gWriteFd, &byte, 1);
    errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(platform::RunLoop& loop, std::function<void(int)> onSignal)
    : onSignal_(std::move(onSignal)) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    readFd_ = fds[0];
    writeFd_ = fds[1];
    gWriteFd = writeFd_;
    watch_ = loop.watchReadable(readFd_, [this] { drain(); });
    struct sigaction action {};
    action.sa_handler = handOver;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    valid_ = static_cast<bool>(watch_);
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        valid_ = ::sigaction(kSignals[i], &action, &gPrevious[i]) == 0 && valid_;
    }
}

TerminationSignals::~TerminationSignals() {
    for (std::size_t i = 0; i < std::size(kSignals) && readFd_ >= 0; ++i) {
        ::sigaction(kSignals[i], &gPrevious[i], nullptr);
    }
    watch_.cancel();
    gWriteFd = -1;
    for (int fd : {readFd_, writeFd_}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

void TerminationSignals::drain() {
    unsigned char byte = 0;
    while (::read(readFd_, &byte, 1) == 1) {
        onSignal_(byte);
    }
}

}  // namespace olvane::ui
