#pragma once

#include <cmath>

#include "platform/Observable.h"

namespace olvane::ui {

// The main window's width as the pages read it. It follows the measured width only on changes
// of more than one point, so sub-point layout jitter never re-lays the pages out.
class WindowWidth {
  public:
    static constexpr double kDefault = 956;
    static constexpr double kTolerance = 1.0;

    // True when the width took the measured value.
    bool measure(double width) {
        if (std::abs(width - width_.get()) <= kTolerance) {
            return false;
        }
        return width_.set(width);
    }

    double get() const { return width_.get(); }
    platform::Handle observe(platform::Signal<double>::Slot slot) {
        return width_.observe(std::move(slot));
    }

  private:
    platform::Observable<double> width_{kDefault};
};

}  // namespace olvane::ui
