#pragma once

#include "platform/KeyEventSource.h"
#include "platform/Signal.h"

namespace olvane::platform::sim {

// Key presses typed by the test, into another application or into our own windows.
class SimKeyEventSource final : public KeyEventSource {
  public:
    Handle addGlobalKeyDownMonitor(KeyObserver observer) override;
    Handle addLocalKeyDownMonitor(KeyObserver observer) override;

    // A key-down while another application has the focus.
    void pressGlobal(const KeyEvent& event) { global_.emit(event); }
    void pressGlobal(std::uint16_t keyCode, KeyModifiers modifiers = {}, bool isRepeat = false) {
        pressGlobal(KeyEvent{keyCode, modifiers, isRepeat});
    }
    // A key-down in one of our own windows.
    void pressLocal(const KeyEvent& event) { local_.emit(event); }

    // Makes the next monitors fail (empty handles).
    void refuseGlobal(bool refuse) { refuseGlobal_ = refuse; }
    void refuseLocal(bool refuse) { refuseLocal_ = refuse; }
    std::size_t globalMonitorCount() const { return global_.size(); }
    std::size_t localMonitorCount() const { return local_.size(); }

  private:
    Signal<KeyEvent> global_;
    Signal<KeyEvent> local_;
    bool refuseGlobal_ = false;
    bool refuseLocal_ = false;
};

}  // namespace olvane::platform::sim
