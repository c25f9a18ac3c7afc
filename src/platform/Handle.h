#pragma once

#include <functional>
#include <utility>

namespace olvane::platform {

// Owns one registration (timer, watch, observer…). Destroying or reassigning the handle cancels
// it, so a callback can never outlive the object that keeps the handle.
class [[nodiscard]] Handle {
  public:
    Handle() = default;
    explicit Handle(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& other) noexcept : cancel_(std::exchange(other.cancel_, nullptr)) {}
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            cancel();
            cancel_ = std::exchange(other.cancel_, nullptr);
        }
        return *this;
    }
    ~Handle() { cancel(); }

    void cancel() {
        if (auto cancel = std::exchange(cancel_, nullptr)) {
            cancel();
        }
    }

    explicit operator bool() const { return static_cast<bool>(cancel_); }

  private:
    std::function<void()> cancel_;
};

}  // namespace olvane::platform
