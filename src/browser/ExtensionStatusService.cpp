#include "browser/ExtensionStatusService.h"

#include "browser/ExtensionAccompanimentCoordinator.h"
#include "friction/BrowserSiteWatcher.h"
#include "model/Logger.h"
#include "model/SettingsManager.h"
#include "model/exchange/ExchangeFiles.h"
#include "platform/FileIO.h"
#include "platform/Json.h"

namespace olvane {
namespace {

const Logger& log() {
    return Logger::app();
}

// The browser of a workspace notification: its application's ID, exactly.
std::optional<BrowserType> browserOf(const std::optional<platform::RunningApplication>& app) {
    if (!app || !app->bundleIdentifier) {
        return std::nullopt;
    }
    return browserWithBundleIdentifier(*app->bundleIdentifier);
}

}  // namespace

ExtensionStatusService::ExtensionStatusService(Collaborators collaborators)
    : c_(std::move(collaborators)), tasks_(c_.loop) {}

void ExtensionStatusService::start() {
    if (isStarted_) {
        return;
    }
    isStarted_ = true;
    installObservers();
    refreshSafariStatus();
    refreshStatus(BrowserType::firefox);
    refreshStatus(BrowserType::chrome);
    freshnessTimer_ =
        c_.loop.every(platform::seconds(kReviewIntervalSeconds), [this] { reviewTick(); });
    log().info("ExtensionStatusService démarré");
}

void ExtensionStatusService::stop() {
    if (!isStarted_) {
        return;
    }
    isStarted_ = false;
    launchObserver_.cancel();
    terminationObserver_.cancel();
    activationObserver_.cancel();
    wakeObserver_.cancel();
    extensionMessageObserver_.cancel();
    windowBecameKeyObserver_.cancel();
    freshnessTimer_.cancel();
    log().info("ExtensionStatusService arrêté");
}

// Every handler works out its browser at once and does the rest in a task of its own.
void ExtensionStatusService::installObservers() {
    launchObserver_ = c_.workspace.observeLaunch([this](const auto& app) {
        if (const auto browser = browserOf(app)) {
            tasks_.post([this, browser = *browser] { handleAppLaunched(browser); });
        }
    });
    terminationObserver_ = c_.workspace.observeTermination([this](const auto& app) {
        if (const auto browser = browserOf(app)) {
            tasks_.post([this, browser = *browser] { handleAppTerminated(browser); });
        }
    });
    activationObserver_ = c_.workspace.observeActivation([this](const auto& app) {
        if (browserOf(app) == BrowserType::safari) {
            tasks_.post([this] { refreshSafariStatus(); });
        }
    });
    wakeObserver_ = c_.systemEvents.observe(
        platform::SystemEvent::DidWake, [this] { tasks_.post([this] { handleSystemWake(); }); });
    extensionMessageObserver_ = c_.notifications.observe(
        BrowserSiteWatcher::kMessageReceivedNotification,
        [this](const Json& userInfo) { handleExtensionMessage(userInfo); });
    windowBecameKeyObserver_ = c_.notifications.observe(
        kWindowDidBecomeKeyNotification,
        [this](const Json&) { tasks_.post([this] { refreshSafariStatus(); }); });
}

void ExtensionStatusService::handleAppLaunched(BrowserType browser) {
    c_.coordinator.pendingLaunch.insert(browser);
    refresh(browser);
}

void ExtensionStatusService::handleAppTerminated(BrowserType browser) {
    if (browser != BrowserType::safari) {
        c_.resetSiteWatcher(std::string(bundleIdentifier(browser)));
    }
    lastConnectedAt_.erase(browser);
    c_.coordinator.pendingLaunch.erase(browser);
    setStatus(ExtensionStatus::browserNotRunning, browser);
}

void ExtensionStatusService::handleExtensionMessage(const Json& userInfo) {
    const auto id = json::stringMember(userInfo, BrowserSiteWatcher::kBrowserBundleIDKey);
    const auto browser = id ? browserWithBundleIdentifier(*id) : std::nullopt;
    if (browser) {
        tasks_.post([this, browser = *browser] { refresh(browser); });
    }
}

void ExtensionStatusService::handleSystemWake() {
    lastSystemWake_ = c_.clock.unixNow();
    refreshAll();
}

void ExtensionStatusService::reviewTick() {
    tasks_.post([this] {
        refreshStatus(BrowserType::firefox);
        refreshStatus(BrowserType::chrome);
        refreshSafariStatus();
        c_.coordinator.browserLaunched();
    });
}

void ExtensionStatusService::refresh(BrowserType browser) {
    if (browser == BrowserType::safari) {
        refreshSafariStatus();
    } else {
        refreshStatus(browser);
    }
}

void ExtensionStatusService::refreshAll() {
    refreshSafariStatus();
    refreshStatus(BrowserType::firefox);
    refreshStatus(BrowserType::chrome);
}

std::optional<platform::RunningApplication> ExtensionStatusService::firstInstance(
    BrowserType browser) {
    auto running = c_.workspace.runningApplications(bundleIdentifier(browser));
    if (running.empty()) {
        return std::nullopt;
    }
    return running.front();
}

void ExtensionStatusService::refreshStatus(BrowserType browser) {
    if (!firstInstance(browser)) {
        lastConnectedAt_.erase(browser);
        setStatus(ExtensionStatus::browserNotRunning, browser);
        return;
    }
    const double now = c_.clock.unixNow();
    const double latest = std::max(readStatusTimestamp(StatusFileKind::health, browser).value_or(0),
                                   readStatusTimestamp(StatusFileKind::site, browser).value_or(0));
    // A file from the future counts for nothing.
    if (latest > 0 && now - latest >= 0 && now - latest < kFreshnessSeconds) {
        lastConnectedAt_[browser] = now;
        markDetected();
        setStatus(ExtensionStatus::connected, browser);
        return;
    }
    if (browserHasVisibleWindow(browser)) {
        const bool grace = browserLaunchedRecently(browser, now) ||
                           (lastSystemWake_ > 0 && now - lastSystemWake_ < kWakeGraceSeconds);
        const auto seen = lastConnectedAt_.find(browser);
        const bool seenLately =
            seen != lastConnectedAt_.end() && now - seen->second < kReconnectGraceSeconds;
        setStatus(grace || seenLately ? ExtensionStatus::connecting : ExtensionStatus::notDetected,
                  browser);
        return;
    }
    lastConnectedAt_.erase(browser);
    setStatus(ExtensionStatus::browserNotRunning, browser);
}

std::optional<double> ExtensionStatusService::readStatusTimestamp(StatusFileKind kind,
                                                                  BrowserType browser) {
    const auto name = rawValue(browser);
    const auto file =
        c_.dataFolder / (kind == StatusFileKind::health ? exchange::healthFileName(name)
                                                        : exchange::siteFileName(name));
    const auto text = platform::readWholeFile(file);
    const auto object = text ? json::parseObject(*text) : std::nullopt;
    const auto timestamp = object ? json::numberMember(*object, "timestamp") : std::nullopt;
    if (!timestamp) {
        return std::nullopt;
    }
    // Written for an earlier run of the browser.
    if (const auto instance = firstInstance(browser);
        instance && instance->launchDate && *timestamp < *instance->launchDate) {
        return std::nullopt;
    }
    return timestamp;
}

bool ExtensionStatusService::browserHasVisibleWindow(BrowserType browser) {
    const auto instance = firstInstance(browser);
    if (!instance) {
        return false;
    }
    const auto windows = c_.windowServer.windowList(platform::WindowListScope::All);
    if (!windows) {
        return false;
    }
    for (const auto& window : *windows) {
        if (window.ownerPid == instance->processIdentifier &&
            window.layer == platform::kNormalWindowLayer &&
            window.bounds.width > kMinimumWindowSide && window.bounds.height > kMinimumWindowSide) {
            return true;
        }
    }
    return false;
}

bool ExtensionStatusService::browserLaunchedRecently(BrowserType browser, double now) {
    const auto instance = firstInstance(browser);
    return instance && instance->launchDate && now - *instance->launchDate < kLaunchGraceSeconds;
}

void ExtensionStatusService::refreshSafariStatus() {
    if (!firstInstance(BrowserType::safari)) {
        setStatus(ExtensionStatus::browserNotRunning, BrowserType::safari);
        return;
    }
    c_.safari.getStateOfSafariExtension(
        kSafariExtensionIdentifier,
        [post = tasks_.anyThreadPoster(), this](const auto& state, const auto& error) {
            const auto candidate = state && state->isEnabled ? ExtensionStatus::connected
                                                             : ExtensionStatus::notDetected;
            post([this, candidate, error] {
                if (error) {
                    log().error("SFSafariExtensionManager erreur: %s", *error);
                }
                applySafariAnswer(candidate);
            });
        });
}

void ExtensionStatusService::applySafariAnswer(ExtensionStatus candidate) {
    if (!firstInstance(BrowserType::safari)) {
        setStatus(ExtensionStatus::browserNotRunning, BrowserType::safari);
        return;
    }
    if (candidate == ExtensionStatus::connected) {
        markDetected();
    }
    setStatus(candidate, BrowserType::safari);
}

void ExtensionStatusService::markDetected() {
    auto& settings = c_.settings.settings();
    if (!settings.extensionEverDetected) {
        settings.extensionEverDetected = true;
        c_.settings.saveSettings(false);
    }
}

void ExtensionStatusService::setStatus(ExtensionStatus status, BrowserType browser) {
    auto statuses = c_.extensionStatus.get();
    if (const auto it = statuses.find(browser); it != statuses.end() && it->second == status) {
        return;
    }
    statuses[browser] = status;
    c_.extensionStatus.set(std::move(statuses));
    c_.coordinator.browserLaunched();
}

}  // namespace olvane
