#pragma once

#include <concepts>
#include <utility>

#include "platform/Signal.h"

namespace olvane::platform {

// A value that tells its observers when it really changes. Values without equality (functions)
// notify on every write, since no change can be ruled out.
template <typename T>
class Observable {
  public:
    Observable() = default;
    explicit Observable(T initial) : value_(std::move(initial)) {}

    const T& get() const { return value_; }
    const T& operator()() const { return value_; }

    // Returns true when observers were notified.
    bool set(T value) {
        if constexpr (std::equality_comparable<T>) {
            if (value == value_) {
                return false;
            }
        }
        value_ = std::move(value);
        changed_.emit(value_);
        return true;
    }

    // As set(), but an equal value is stored too, silently: for values whose equality leaves
    // out a part that is never drawn (the images of list rows).
    bool store(T value) {
        if constexpr (std::equality_comparable<T>) {
            if (value == value_) {
                value_ = std::move(value);
                return false;
            }
        }
        return set(std::move(value));
    }

    Handle observe(typename Signal<T>::Slot slot) { return changed_.connect(std::move(slot)); }

  private:
    T value_{};
    Signal<T> changed_;
};

}  // namespace olvane::platform
