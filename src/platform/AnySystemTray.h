#pragma once

#include <memory>
#include <vector>

#include "platform/SystemTray.h"

namespace olvane::platform {

// Present when any of its trays is; an arrival of any is one of its arrivals.
class AnySystemTray final : public SystemTray {
  public:
    explicit AnySystemTray(std::vector<SystemTray*> trays) : trays_(std::move(trays)) {}

    bool isPresent() override {
        for (auto* tray : trays_) {
            if (tray->isPresent()) {
                return true;
            }
        }
        return false;
    }
    Handle observeArrivals(Observer observer) override {
        auto handles = std::make_shared<std::vector<Handle>>();
        for (auto* tray : trays_) {
            handles->push_back(tray->observeArrivals(observer));
        }
        return Handle([handles] { handles->clear(); });
    }

  private:
    std::vector<SystemTray*> trays_;
};

}  // namespace olvane::platform
