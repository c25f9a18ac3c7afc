#include "platform/BackgroundQueue.h"

namespace olvane::platform {

BackgroundQueue::BackgroundQueue() : worker_([this] { run(); }) {}

BackgroundQueue::~BackgroundQueue() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        tasks_.clear();
    }
    wake_.notify_all();
    worker_.join();
}

void BackgroundQueue::enqueue(std::function<void()> task) {
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    wake_.notify_one();
}

void BackgroundQueue::waitUntilIdle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return tasks_.empty() && !busy_; });
}

void BackgroundQueue::run() {
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
        if (stopping_) {
            break;
        }
        auto task = std::move(tasks_.front());
        tasks_.pop_front();
        busy_ = true;
        lock.unlock();
        task();
        task = nullptr;
        lock.lock();
        busy_ = false;
        if (tasks_.empty()) {
            idle_.notify_all();
        }
    }
    busy_ = false;
    idle_.notify_all();
}

}  // namespace olvane::platform
