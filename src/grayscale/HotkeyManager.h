#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/AccessibilityTrust.h"
#include "platform/Handle.h"
#include "platform/KeyEventSource.h"
#include "platform/RunLoop.h"

namespace olvane {

// Watches the keyboard everywhere for the two pause shortcuts: Control+Option+Command with the
// key at code 12 (A in AZERTY) pauses for 3 seconds; with the key at code 13 (Z), then P, M, N
// and B within 3 seconds of each other, for 5 minutes. It only calls the callbacks, after the
// key press has been handled; what a pause means is their business.
class HotkeyManager {
  public:
    using Callback = std::function<void()>;

    static constexpr std::uint16_t pause3SecondsKey = 12;
    static constexpr std::uint16_t pause5MinStartKey = 13;
    static constexpr std::array<std::uint16_t, 4> pause5MinSequence{35, 41, 45, 11};
    static constexpr platform::KeyModifiers requiredModifiers = platform::KeyModifier::Control |
                                                                platform::KeyModifier::Option |
                                                                platform::KeyModifier::Command;
    static constexpr platform::Duration sequenceStepTimeout = std::chrono::seconds(3);

    HotkeyManager(platform::RunLoop& loop, platform::KeyEventSource& keys,
                  platform::AccessibilityTrust& trust);
    ~HotkeyManager();
    HotkeyManager(const HotkeyManager&) = delete;
    HotkeyManager& operator=(const HotkeyManager&) = delete;

    void startMonitoring();
    void stopMonitoring();

    void handleKeyEvent(const platform::KeyEvent& event);
    void beginSequence();
    void handleSequenceKey(std::uint16_t keyCode);
    void resetSequence();

    // The key's AZERTY name in messages, or its code in parentheses.
    static std::string keyName(std::uint16_t keyCode);

    bool isWaitingForSequence() const { return isWaitingForSequence_; }
    const std::vector<std::uint16_t>& sequenceBuffer() const { return sequenceBuffer_; }
    bool isMonitoring() const { return globalMonitor_ || localMonitor_; }

    // Installed by the application at start-up.
    Callback onPause5Minutes;
    Callback onPause3Seconds;

  private:
    void restartSequenceTimer();
    // Runs the callback the member holds once the current key event is done with.
    void runSoon(Callback HotkeyManager::*callback);

    platform::RunLoop& loop_;
    platform::KeyEventSource& keys_;
    platform::AccessibilityTrust& trust_;
    platform::Handle globalMonitor_;
    platform::Handle localMonitor_;
    bool isWaitingForSequence_ = false;
    std::vector<std::uint16_t> sequenceBuffer_;
    platform::Handle sequenceTimer_;
    std::map<std::uint64_t, platform::Handle> queuedCallbacks_;
    std::uint64_t nextQueuedId_ = 1;
};

}  // namespace olvane
