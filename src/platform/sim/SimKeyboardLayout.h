#pragma once

#include <map>

#include "platform/KeyboardLayout.h"
#include "platform/Signal.h"

namespace olvane::platform::sim {

// A layout the test writes: no caption at first, as when the layout cannot be read.
class SimKeyboardLayout final : public KeyboardLayout {
  public:
    using Labels = std::map<std::uint16_t, std::string>;

    std::optional<std::string> keyLabel(std::uint16_t keyCode) const override {
        const auto found = labels_.find(keyCode);
        return found == labels_.end() ? std::nullopt : std::optional(found->second);
    }
    Handle observeChanges(std::function<void()> observer) override {
        return changed_.connect([observer = std::move(observer)] { observer(); });
    }

    // Switches to another layout and tells the observers.
    void setLabels(Labels labels) {
        labels_ = std::move(labels);
        changed_.emit();
    }

  private:
    Labels labels_;
    Signal<> changed_;
};

}  // namespace olvane::platform::sim
