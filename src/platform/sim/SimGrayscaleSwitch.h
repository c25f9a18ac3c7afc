#pragma once

#include <optional>

#include "platform/GrayscaleSwitch.h"

namespace olvane::platform::sim {

// A grayscale switch held in memory; the test decides whether its library loads.
class SimGrayscaleSwitch final : public GrayscaleSwitch {
  public:
    bool load() override {
        ++loadCount_;
        return loadable_;
    }
    bool hasSetEnabled() override { return hasSymbol_; }
    void setEnabled(bool on) override {
        enabled_ = on;
        ++setCount_;
    }

    void setLoadable(bool loadable) { loadable_ = loadable; }
    void setHasSymbol(bool hasSymbol) { hasSymbol_ = hasSymbol; }
    // nullopt until the first call.
    std::optional<bool> enabled() const { return enabled_; }
    int loadCount() const { return loadCount_; }
    int setCount() const { return setCount_; }

  private:
    bool loadable_ = true;
    bool hasSymbol_ = true;
    std::optional<bool> enabled_;
    int loadCount_ = 0;
    int setCount_ = 0;
};

}  // namespace olvane::platform::sim
