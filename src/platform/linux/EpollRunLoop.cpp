#include "platform/linux/EpollRunLoop.h"

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace olvane::platform::os {
namespace {

timespec toTimespec(MonotonicTime t) {
    const auto ns =
        std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
    ts.tv_nsec = static_cast<long>(ns % 1'000'000'000);
    return ts;
}

void readCounter(int fd) {
    std::uint64_t value = 0;
    [[maybe_unused]] auto n = ::read(fd, &value, sizeof value);
}

}  // namespace

EpollRunLoop::EpollRunLoop() : watches_(std::make_shared<std::map<int, Watch>>()) {
    epollFd_ = ::epoll_create1(EPOLL_CLOEXEC);
    timerFd_ = ::timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK);
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (!valid()) {
        return;
    }
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.fd = timerFd_;
    ::epoll_ctl(epollFd_, EPOLL_CTL_ADD, timerFd_, &ev);
    ev.data.fd = wakeFd_;
    ::epoll_ctl(epollFd_, EPOLL_CTL_ADD, wakeFd_, &ev);
}

EpollRunLoop::~EpollRunLoop() {
    for (int fd : {epollFd_, timerFd_, wakeFd_}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

MonotonicTime EpollRunLoop::now() const {
    return std::chrono::steady_clock::now();
}

Handle EpollRunLoop::watchReadable(int fd, Task onReadable) {
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.fd = fd;
    if (::epoll_ctl(epollFd_, EPOLL_CTL_ADD, fd, &ev) != 0) {
        return Handle();
    }
    (*watches_)[fd] = Watch{fd, std::make_shared<Task>(std::move(onReadable))};
    return Handle([weak = std::weak_ptr(watches_), epollFd = epollFd_, fd] {
        if (auto watches = weak.lock()) {
            watches->erase(fd);
            ::epoll_ctl(epollFd, EPOLL_CTL_DEL, fd, nullptr);
        }
    });
}

void EpollRunLoop::postFromAnyThread(Task task) {
    {
        std::lock_guard lock(foreignMutex_);
        foreignPosts_.push_back(std::move(task));
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] auto n = ::write(wakeFd_, &one, sizeof one);
}

void EpollRunLoop::quit() {
    quit_ = true;
    const std::uint64_t one = 1;
    [[maybe_unused]] auto n = ::write(wakeFd_, &one, sizeof one);
}

// A quit is spent by the run it ends, so that a later run goes on until its own.
void EpollRunLoop::run() {
    while (!quit_) {
        iterate(std::nullopt);
    }
    quit_ = false;
}

bool EpollRunLoop::runUntil(const std::function<bool()>& predicate, Duration timeout) {
    const auto deadline = now() + timeout;
    bool held = predicate();
    while (!held && !quit_ && now() < deadline) {
        iterate(deadline);
        held = predicate();
    }
    quit_ = false;
    return held;
}

void EpollRunLoop::armTimerFd() {
    const auto due = timers().nextDue();
    // Most turns of the loop leave the next expiry as it was: no system call for those.
    if (due == armedFor_) {
        return;
    }
    armedFor_ = due;
    itimerspec timer{};
    if (due) {
        timer.it_value = toTimespec(*due);
        if (timer.it_value.tv_sec == 0 && timer.it_value.tv_nsec == 0) {
            timer.it_value.tv_nsec = 1;  // zero would disarm
        }
    }
    ::timerfd_settime(timerFd_, TFD_TIMER_ABSTIME, &timer, nullptr);
}

void EpollRunLoop::drainForeignPosts() {
    std::vector<Task> posts;
    {
        std::lock_guard lock(foreignMutex_);
        posts.swap(foreignPosts_);
    }
    for (auto& task : posts) {
        task();
    }
}

void EpollRunLoop::runDueTimers() {
    const auto limit = now();
    while (!quit_ && timers().runNextDue(limit)) {
    }
}

void EpollRunLoop::iterate(std::optional<MonotonicTime> deadline) {
    int timeoutMs = -1;
    if (deadline) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - now()).count();
        timeoutMs = static_cast<int>(std::max<long long>(0, left));
    }
    epoll_event events[32];
    const int n = ::epoll_wait(epollFd_, events, 32, timeoutMs);
    if (n < 0 && errno != EINTR) {
        quit_ = true;
        return;
    }
    for (int i = 0; i < n && !quit_; ++i) {
        const int fd = events[i].data.fd;
        if (fd == timerFd_) {
            readCounter(timerFd_);
            armedFor_.reset();  // an expired timer is disarmed
        } else if (fd == wakeFd_) {
            readCounter(wakeFd_);
            drainForeignPosts();
        } else if (auto it = watches_->find(fd); it != watches_->end()) {
            const auto task = it->second.onReadable;
            (*task)();
        }
    }
    runDueTimers();
    armTimerFd();
}

}  // namespace olvane::platform::os
