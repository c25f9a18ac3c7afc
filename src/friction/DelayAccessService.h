#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>

#include "friction/DelayOverlay.h"
#include "model/RedListConfig.h"
#include "model/SettingsManager.h"
#include "platform/NotificationCenter.h"
#include "platform/Observable.h"

namespace olvane {

// The delay's gatekeeper: whether a waiting screen shows and for which application, which
// applications have been through their delay during this run, which target needs one. Only
// application targets are delayed here; a website's delay is the browser extension's.
class DelayAccessService {
  public:
    // Posted when a delay was completed, with {"bundleID": <the application's ID>}.
    static constexpr const char* kDelayAccessCompletedNotification = "delayAccessCompleted";
    static constexpr const char* kBundleIDKey = "bundleID";

    DelayAccessService(const SettingsManager& settings, platform::NotificationCenter& notifications,
                       std::unique_ptr<DelayOverlay> overlay);
    ~DelayAccessService();
    DelayAccessService(const DelayAccessService&) = delete;
    DelayAccessService& operator=(const DelayAccessService&) = delete;

    // The first application target with that ID whose delay is on, unless its delay was
    // completed during this run.
    std::optional<RedListConfig> pendingDelayConfig(const std::string& bundleID) const;
    // Shows the waiting screen for the application (for its instance `process` when known),
    // replacing one shown for another.
    void startDelay(const RedListConfig& config, const std::string& bundleID,
                    std::optional<pid_t> process = std::nullopt);
    // The instance the screen shows for, when known.
    std::optional<pid_t> delayedProcess() const { return overlay_->targetProcess(); }
    // Closes the screen shown, if any; the application is not recorded as completed.
    void cancelDelay();
    void resetCompletedDelays();
    void resetCompletedDelay(const std::string& bundleID);

    platform::Observable<bool> isDelayOverlayActive{false};
    platform::Observable<std::optional<std::string>> currentTargetBundleID;
    platform::Observable<std::set<std::string>> completedDelayBundleIDs;

    void handleDelayCompleted(const std::string& bundleID);
    void handleDelayCancelled();

  private:
    const SettingsManager& settings_;
    platform::NotificationCenter& notifications_;
    std::unique_ptr<DelayOverlay> overlay_;
};

}  // namespace olvane
