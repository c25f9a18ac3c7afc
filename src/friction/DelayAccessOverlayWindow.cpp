#include "friction/DelayAccessOverlayWindow.h"

#include <utility>

#include "friction/DelayTime.h"
#include "model/Logger.h"

namespace olvane {

DelayAccessOverlayWindow::DelayAccessOverlayWindow(Collaborators collaborators)
    : loop_(collaborators.loop),
      workspace_(collaborators.workspace),
      windowServer_(collaborators.windowServer),
      panels_(collaborators.panels),
      ownBundleID_(std::move(collaborators.ownBundleID)) {}

DelayAccessOverlayWindow::~DelayAccessOverlayWindow() {
    close();
}

void DelayAccessOverlayWindow::show(const RedListConfig& config, const std::string& bundleID,
                                    std::optional<pid_t> process) {
    close();
    targetBundleID_ = bundleID;
    targetPid_ = process;
    currentConfig_ = config;
    remainingSeconds_ = delayLengthSeconds(config.delayDuration);
    hasReachedForeground_ = false;
    showPanels(config.targetDisplayName);
    startCountdown();
    startForegroundMonitoring();
    frictionLogger().logUserAction(
        "Overlay délai affiché pour " + platform::userData(config.targetDisplayName) + " (" +
        platform::ComposedText(std::to_string(remainingSeconds_)) + "s) sur " +
        platform::ComposedText(std::to_string(windows_.size())) + " écran(s)");
}

// The panels stay for the screens present now, whatever happens to the displays meanwhile.
void DelayAccessOverlayWindow::showPanels(const std::string& targetName) {
    for (const auto& screen : windowServer_.screens()) {
        Panel panel;
        panel.state = std::make_unique<DelayPanelState>(
            targetName, remainingSeconds_, 0.0, [this] { closeTargetApplication(); },
            [this] { completeDelay(); });
        panel.window = panels_.createOverlay(screen.frame, *panel.state);
        panel.window->orderFront();
        windows_.push_back(std::move(panel));
    }
}

void DelayAccessOverlayWindow::startCountdown() {
    countdownTimer_ =
        loop_.every(platform::seconds(kCountdownInterval), [this] { countdownTick(); });
}

void DelayAccessOverlayWindow::countdownTick() {
    if (remainingSeconds_ > 0) {
        --remainingSeconds_;
    }
    for (auto& panel : windows_) {
        panel.state->remainingSeconds.set(remainingSeconds_);
    }
    // The panels stay up, now offering "Continuer".
    if (remainingSeconds_ < 1) {
        countdownTimer_.cancel();
    }
}

void DelayAccessOverlayWindow::startForegroundMonitoring() {
    phase1TimeoutTimer_ =
        loop_.after(platform::seconds(kPhase1TimeoutInterval), [this] { phase1TimedOut(); });
    foregroundTimer_ =
        loop_.every(platform::seconds(kForegroundInterval), [this] { checkForeground(); });
}

void DelayAccessOverlayWindow::checkForeground() {
    const auto front = workspace_.frontmostApplication();
    const bool targetInFront = front && front->bundleIdentifier == targetBundleID_;
    if (targetInFront && !targetPid_) {
        targetPid_ = front->processIdentifier;
    }
    if (!hasReachedForeground_) {
        if (targetInFront) {
            hasReachedForeground_ = true;
            phase1TimeoutTimer_.cancel();
            frictionLogger().info("App cible atteint le premier plan - surveillance activée");
        }
        return;
    }
    if (targetInFront || !front) {
        return;
    }
    if (!ownBundleID_.empty() && front->bundleIdentifier == ownBundleID_) {
        return;
    }
    // Every application that can come to the front here is a regular one.
    frictionLogger().info("App cible n'est plus au premier plan - annulation du délai");
    cancel();
}

void DelayAccessOverlayWindow::phase1TimedOut() {
    if (hasReachedForeground_) {
        return;
    }
    frictionLogger().info("Délai: cible jamais au premier plan après %lds - annulation",
                          static_cast<long>(kPhase1TimeoutInterval));
    cancel();
}

void DelayAccessOverlayWindow::closeTargetApplication() {
    if (const auto instance = targetInstance()) {
        frictionLogger().logUserAction("Fermeture de l'application demandée: " +
                                       platform::userData(*targetBundleID_));
        workspace_.requestTermination(*instance);
    }
    // A target that no longer runs is cancelled all the same: the owner must not stay delaying.
    cancel();
}

std::optional<platform::RunningApplication> DelayAccessOverlayWindow::targetInstance() {
    if (!targetBundleID_ || !targetPid_) {
        return std::nullopt;
    }
    for (const auto& instance : workspace_.runningApplications(*targetBundleID_)) {
        if (instance.processIdentifier == *targetPid_) {
            return instance;
        }
    }
    return std::nullopt;
}

void DelayAccessOverlayWindow::completeDelay() {
    if (!targetBundleID_) {
        cancel();
        return;
    }
    const std::string bundleID = *targetBundleID_;
    frictionLogger().logUserAction("Délai terminé, accès autorisé: " +
                                   platform::userData(bundleID));
    close();
    if (onDelayComplete) {
        onDelayComplete(bundleID);
    }
}

void DelayAccessOverlayWindow::cancel() {
    close();
    if (onCancel) {
        onCancel();
    }
}

void DelayAccessOverlayWindow::close() {
    countdownTimer_.cancel();
    foregroundTimer_.cancel();
    phase1TimeoutTimer_.cancel();
    for (auto& panel : windows_) {
        panel.window->orderOut();
    }
    windows_.clear();
    targetBundleID_.reset();
    targetPid_.reset();
    currentConfig_.reset();
    remainingSeconds_ = 0;
    hasReachedForeground_ = false;
}

}  // namespace olvane
