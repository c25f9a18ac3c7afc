#include "platform/sim/ManualRunLoop.h"

#include <poll.h>

#include <algorithm>

namespace olvane::platform::sim {

ManualClock::ManualClock(const ManualRunLoop& loop, double unixStart)
    : loop_(loop), unixStart_(unixStart) {}

double ManualClock::unixNow() const {
    return unixStart_ + toSeconds(loop_.elapsed()) + wallOffset_;
}

MonotonicTime ManualClock::monotonicNow() const {
    return loop_.now();
}

ManualRunLoop::ManualRunLoop(double unixStart)
    : clock_(*this, unixStart),
      fdWatches_(std::make_shared<std::vector<std::pair<std::uint64_t, FdWatch>>>()) {}

Handle ManualRunLoop::watchReadable(int fd, Task onReadable) {
    const auto id = nextWatchId_++;
    fdWatches_->push_back({id, FdWatch{fd, std::make_shared<Task>(std::move(onReadable))}});
    return Handle([weak = std::weak_ptr(fdWatches_), id] {
        if (auto watches = weak.lock()) {
            std::erase_if(*watches, [id](const auto& w) { return w.first == id; });
        }
    });
}

void ManualRunLoop::postFromAnyThread(Task task) {
    std::lock_guard lock(foreignMutex_);
    foreignPosts_.push_back(std::move(task));
}

void ManualRunLoop::takeForeignPosts() {
    std::vector<Task> posts;
    {
        std::lock_guard lock(foreignMutex_);
        posts.swap(foreignPosts_);
    }
    for (auto& task : posts) {
        timers().scheduleDetached(now_, std::move(task));
    }
}

void ManualRunLoop::advance(Duration delay) {
    const auto target = now_ + std::max(delay, Duration::zero());
    takeForeignPosts();
    while (timers().runNextDue(target, [this](MonotonicTime due) { now_ = std::max(now_, due); })) {
        takeForeignPosts();
    }
    now_ = target;
}

void ManualRunLoop::runPending() {
    advance(Duration::zero());
}

void ManualRunLoop::processIo(Duration timeout) {
    const auto watches = *fdWatches_;
    std::vector<pollfd> fds;
    for (const auto& [id, watch] : watches) {
        fds.push_back({watch.fd, POLLIN, 0});
    }
    const int ms =
        static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(timeout).count());
    if (fds.empty() || ::poll(fds.data(), fds.size(), ms) <= 0) {
        return;
    }
    for (std::size_t i = 0; i < fds.size(); ++i) {
        const bool stillWatched =
            std::any_of(fdWatches_->begin(), fdWatches_->end(),
                        [&](const auto& w) { return w.first == watches[i].first; });
        if (stillWatched && (fds[i].revents & (POLLIN | POLLHUP | POLLERR))) {
            (*watches[i].second.onReadable)();
        }
    }
}

std::size_t ManualRunLoop::pendingCount() const {
    return timers().size();
}

}  // namespace olvane::platform::sim
