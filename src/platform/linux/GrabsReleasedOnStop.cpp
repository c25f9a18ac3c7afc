#include "platform/linux/GrabsReleasedOnStop.h"

#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <utility>

namespace olvane::platform::os {
namespace {

// What the handler may touch: plain descriptors, set before it is installed.
constexpr std::size_t kMostDevices = 32;
std::array<int, kMostDevices> gDevices;
std::size_t gDeviceCount = 0;
int gWakeWrite = -1;
struct sigaction gPrevious;

extern "C" void releaseThenStop(int) {
    const int savedErrno = errno;
    for (std::size_t i = 0; i < gDeviceCount; ++i) {
        (void)::ioctl(gDevices[i], EVIOCGRAB, 0);
    }
    const char byte = 0;
    [[maybe_unused]] auto written = ::write(gWakeWrite, &byte, 1);
    // The stop itself, as the terminal asked: left pending while this handler runs.
    struct sigaction stop {};
    stop.sa_handler = SIG_DFL;
    ::sigaction(SIGTSTP, &stop, nullptr);
    ::raise(SIGTSTP);
    errno = savedErrno;
}

void install() {
    struct sigaction action {};
    action.sa_handler = releaseThenStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTSTP, &action, nullptr);
}

}  // namespace

GrabsReleasedOnStop::GrabsReleasedOnStop(RunLoop& loop, const std::vector<int>& devices,
                                         std::function<void()> onContinued)
    : onContinued_(std::move(onContinued)) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    wakeRead_ = fds[0];
    gWakeWrite = fds[1];
    gDeviceCount = 0;
    for (const int fd : devices) {
        if (gDeviceCount < kMostDevices) {
            gDevices[gDeviceCount++] = fd;
        }
    }
    watch_ = loop.watchReadable(wakeRead_, [this] { continued(); });
    ::sigaction(SIGTSTP, nullptr, &gPrevious);
    install();
}

GrabsReleasedOnStop::~GrabsReleasedOnStop() {
    if (wakeRead_ < 0) {
        return;
    }
    ::sigaction(SIGTSTP, &gPrevious, nullptr);
    watch_.cancel();
    // Forgotten before closed: the number may soon name another file.
    const int wakeWrite = std::exchange(gWakeWrite, -1);
    gDeviceCount = 0;
    ::close(wakeWrite);
    ::close(wakeRead_);
}

void GrabsReleasedOnStop::continued() {
    char byte = 0;
    while (::read(wakeRead_, &byte, 1) == 1) {
    }
    install();
    // Kept aside: the callback may well end this object.
    const auto onContinued = onContinued_;
    onContinued();
}

}  // namespace olvane::platform::os
