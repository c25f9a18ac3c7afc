#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "friction/DelayOverlay.h"
#include "friction/DelayPanelState.h"
#include "model/RedListConfig.h"
#include "platform/Handle.h"
#include "platform/OverlayWindow.h"
#include "platform/RunLoop.h"
#include "platform/WindowServer.h"
#include "platform/Workspace.h"

namespace olvane {

// The delay's waiting screen: one white panel over each display with the countdown and the two
// buttons. While it shows it watches the front application in two phases: first it waits up to
// 15 s for the target to come to the front (a delay may start at the target's launch); from then
// on another application coming to the front cancels the delay.
class DelayAccessOverlayWindow final : public DelayOverlay {
  public:
    struct Collaborators {
        platform::RunLoop& loop;
        platform::Workspace& workspace;
        platform::WindowServer& windowServer;
        platform::OverlayWindowFactory<DelayPanelState>& panels;
        // This application's own ID: coming to the front, it never cancels the delay.
        std::string ownBundleID;
    };

    static constexpr double kCountdownInterval = 1.0;
    static constexpr double kForegroundInterval = 0.5;
    static constexpr double kPhase1TimeoutInterval = 15.0;

    explicit DelayAccessOverlayWindow(Collaborators collaborators);
    ~DelayAccessOverlayWindow() override;
    DelayAccessOverlayWindow(const DelayAccessOverlayWindow&) = delete;
    DelayAccessOverlayWindow& operator=(const DelayAccessOverlayWindow&) = delete;

    void show(const RedListConfig& config, const std::string& bundleID,
              std::optional<pid_t> process) override;
    // Silent: no callback.
    void close() override;

    std::optional<pid_t> targetProcess() const override { return targetPid_; }

    // "Fermer l'application": asks the target's instance to quit and cancels.
    void closeTargetApplication();
    // "Continuer": the delay is completed.
    void completeDelay();

    void countdownTick();
    void checkForeground();
    void phase1TimedOut();

    bool isShowing() const { return targetBundleID_.has_value(); }
    const std::optional<std::string>& targetBundleID() const { return targetBundleID_; }
    std::int64_t remainingSeconds() const { return remainingSeconds_; }
    bool hasReachedForeground() const { return hasReachedForeground_; }
    std::size_t panelCount() const { return windows_.size(); }

  private:
    struct Panel {
        // Before the window, which draws it: the window goes first.
        std::unique_ptr<DelayPanelState> state;
        std::unique_ptr<platform::OverlayWindow> window;
    };

    void showPanels(const std::string& targetName);
    void startCountdown();
    void startForegroundMonitoring();
    std::optional<platform::RunningApplication> targetInstance();
    // The overlay ends by itself without completion: closed, and the owner told.
    void cancel();

    platform::RunLoop& loop_;
    platform::Workspace& workspace_;
    platform::WindowServer& windowServer_;
    platform::OverlayWindowFactory<DelayPanelState>& panels_;
    std::string ownBundleID_;

    std::vector<Panel> windows_;
    platform::Handle countdownTimer_;
    platform::Handle foregroundTimer_;
    platform::Handle phase1TimeoutTimer_;
    std::optional<std::string> targetBundleID_;
    std::optional<pid_t> targetPid_;
    std::optional<RedListConfig> currentConfig_;
    std::int64_t remainingSeconds_ = 0;
    bool hasReachedForeground_ = false;
};

}  // namespace olvane
