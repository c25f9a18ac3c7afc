#pragma once

#include "platform/Signal.h"
#include "platform/SystemTray.h"

namespace olvane::platform::sim {

// A tray the test puts up at once; at run time, the stand-in where no display answers.
class SimSystemTray final : public SystemTray {
  public:
    explicit SimSystemTray(bool present = false) : present_(present) {}

    bool isPresent() override { return present_; }
    Handle observeArrivals(Observer observer) override {
        return arrivals_.connect(std::move(observer));
    }
    void arrive() {
        present_ = true;
        arrivals_.emit();
    }

  private:
    bool present_;
    Signal<> arrivals_;
};

}  // namespace olvane::platform::sim
