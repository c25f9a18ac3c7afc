#include "platform/linux/GrabsReleasedOnStop.h"

#include <fcntl.h>
#include <linux/input.h>
#include <pthread.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <utility>

#include "platform/linux/UinputPointer.h"

namespace olvane::platform::os {
namespace {

// What the handler may touch, on whichever thread the stop lands: lock-free atomics only.
constexpr std::size_t kMostDevices = 32;
std::array<std::atomic<int>, kMostDevices> gDevices;
std::atomic<std::size_t> gDeviceCount{0};
std::atomic<int> gWakeWrite{-1};
std::atomic<UinputPointer*> gVirtualPointer{nullptr};
// Handlers between their first and last read of the above.
std::atomic<int> gHandlersRunning{0};
static_assert(std::atomic<int>::is_always_lock_free &&
              std::atomic<std::size_t>::is_always_lock_free &&
              std::atomic<UinputPointer*>::is_always_lock_free);
struct sigaction gPrevious;

extern "C" void releaseThenStop(int) {
    const int savedErrno = errno;
    gHandlersRunning.fetch_add(1);
    const std::size_t count = gDeviceCount.load();
    for (std::size_t i = 0; i < count; ++i) {
        if (const int device = gDevices[i].load(); device >= 0) {
            (void)::ioctl(device, EVIOCGRAB, 0);
        }
    }
    if (auto* pointer = gVirtualPointer.load()) {
        pointer->releaseButtonsFromSignal();
    }
    const char byte = 0;
    [[maybe_unused]] auto written = ::write(gWakeWrite.load(), &byte, 1);
    gHandlersRunning.fetch_sub(1);
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

// While the handler's globals change: no stop on this thread, and none still reading them on
// another once the change is done.
class HandlerKeptOut {
  public:
    HandlerKeptOut() {
        sigset_t stop;
        sigemptyset(&stop);
        sigaddset(&stop, SIGTSTP);
        ::pthread_sigmask(SIG_BLOCK, &stop, &saved_);
    }
    ~HandlerKeptOut() {
        while (gHandlersRunning.load() != 0) {
            ::sched_yield();
        }
        ::pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
    }
    HandlerKeptOut(const HandlerKeptOut&) = delete;
    HandlerKeptOut& operator=(const HandlerKeptOut&) = delete;

  private:
    sigset_t saved_;
};

}  // namespace

GrabsReleasedOnStop::GrabsReleasedOnStop(RunLoop& loop, const std::vector<int>& devices,
                                         UinputPointer* virtualPointer,
                                         std::function<void()> onContinued)
    : onContinued_(std::move(onContinued)) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    wakeRead_ = fds[0];
    {
        const HandlerKeptOut keptOut;
        gWakeWrite.store(fds[1]);
        gVirtualPointer.store(virtualPointer);
        std::size_t count = 0;
        for (const int fd : devices) {
            if (count < kMostDevices) {
                gDevices[count++].store(fd);
            }
        }
        gDeviceCount.store(count);
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
    int wakeWrite = -1;
    {
        // Forgotten before closed: the numbers may soon name other files.
        const HandlerKeptOut keptOut;
        wakeWrite = gWakeWrite.exchange(-1);
        gDeviceCount.store(0);
        gVirtualPointer.store(nullptr);
    }
    ::close(wakeWrite);
    ::close(wakeRead_);
}

void GrabsReleasedOnStop::forget(int device) {
    const HandlerKeptOut keptOut;
    const std::size_t count = gDeviceCount.load();
    for (std::size_t i = 0; i < count; ++i) {
        int expected = device;
        (void)gDevices[i].compare_exchange_strong(expected, -1);
    }
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
