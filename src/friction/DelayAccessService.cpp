#include "friction/DelayAccessService.h"

#include "friction/DelayTime.h"
#include "model/Logger.h"

namespace olvane {
DelayAccessService::DelayAccessService(const SettingsManager& settings,
                                       platform::NotificationCenter& notifications,
                                       std::unique_ptr<DelayOverlay> overlay)
    : settings_(settings), notifications_(notifications), overlay_(std::move(overlay)) {
    overlay_->onDelayComplete = [this](const std::string& id) { handleDelayCompleted(id); };
    overlay_->onCancel = [this] { handleDelayCancelled(); };
}

DelayAccessService::~DelayAccessService() {
    overlay_->onDelayComplete = nullptr;
    overlay_->onCancel = nullptr;
}

std::optional<RedListConfig> DelayAccessService::pendingDelayConfig(
    const std::string& bundleID) const {
    if (completedDelayBundleIDs().contains(bundleID)) {
        return std::nullopt;
    }
    for (const auto& config : settings_.settings().redListConfigs) {
        if (config.targetType == FrictionTargetType::app && config.targetIdentifier == bundleID &&
            config.isDelayEnabled) {
            return config;
        }
    }
    return std::nullopt;
}

void DelayAccessService::startDelay(const RedListConfig& config, const std::string& bundleID,
                                    std::optional<pid_t> process) {
    if (isDelayOverlayActive() && currentTargetBundleID() == bundleID) {
        return;
    }
    if (isDelayOverlayActive()) {
        cancelDelay();
    }
    isDelayOverlayActive.set(true);
    currentTargetBundleID.set(bundleID);
    overlay_->show(config, bundleID, process);
    frictionLogger().logUserAction(
        "Délai d'accès démarré: " + platform::userData(config.targetDisplayName) + " (" +
        platform::ComposedText(std::to_string(delayLengthSeconds(config.delayDuration))) + "s)");
}

void DelayAccessService::cancelDelay() {
    if (!isDelayOverlayActive()) {
        return;
    }
    frictionLogger().info("Délai d'accès annulé");
    overlay_->close();
    isDelayOverlayActive.set(false);
    currentTargetBundleID.set(std::nullopt);
}

void DelayAccessService::handleDelayCompleted(const std::string& bundleID) {
    isDelayOverlayActive.set(false);
    const std::string key = currentTargetBundleID().value_or(bundleID);
    currentTargetBundleID.set(std::nullopt);
    auto completed = completedDelayBundleIDs();
    completed.insert(key);
    completedDelayBundleIDs.set(std::move(completed));
    notifications_.post(kDelayAccessCompletedNotification, {{kBundleIDKey, key}});
    frictionLogger().info("Délai d'accès terminé: %s", bundleID);
}

// Leaves no trace: the next time the application comes to the front, a full delay starts.
void DelayAccessService::handleDelayCancelled() {
    isDelayOverlayActive.set(false);
    currentTargetBundleID.set(std::nullopt);
}

void DelayAccessService::resetCompletedDelays() {
    completedDelayBundleIDs.set({});
}

void DelayAccessService::resetCompletedDelay(const std::string& bundleID) {
    auto completed = completedDelayBundleIDs();
    completed.erase(bundleID);
    completedDelayBundleIDs.set(std::move(completed));
}

}  // namespace olvane
