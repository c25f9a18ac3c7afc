#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "model/RedListConfig.h"
#include "model/Uuid.h"
#include "platform/Handle.h"
#include "platform/Observable.h"
#include "platform/RunLoop.h"
#include "ui/pages/contrepoids/DelayTestPanel.h"

namespace olvane {
class RulesFileService;
class SettingsManager;
class WebFeatureUsage;
}  // namespace olvane

namespace olvane::ui {

class FaviconService;
class FrictionEngine;

// The state and actions behind the Contrepoids page: the friction targets as the page lists
// them, their adding, changing and removing with the settings, the export of the website
// targets into the rules file, and the three five-second tests of the effects. One is made at
// each opening of the page; it keeps nothing of its own but a copy of the stored targets.
class FrictionEffectsViewModel {
  public:
    struct Collaborators {
        platform::RunLoop& loop;
        SettingsManager& settings;
        const RulesFileService& rulesFile;
        FrictionEngine& engine;
        FaviconService& favicons;
        WebFeatureUsage& webFeatures;
        // Owned by the model, so that it goes with it. Null: the delay test shows nothing.
        std::unique_ptr<DelayTestPanel> delayTestPanel;
    };

    static constexpr std::int64_t kTestSeconds = 5;
    // The delay test's panel shows this much less than the count.
    static constexpr std::int64_t kPanelHeadStart = 2;
    static constexpr double kPanelRefreshSeconds = 0.1;

    explicit FrictionEffectsViewModel(Collaborators collaborators);
    // The tests still running are stopped as stopTests() does: their effects and panel go.
    ~FrictionEffectsViewModel();
    FrictionEffectsViewModel(const FrictionEffectsViewModel&) = delete;
    FrictionEffectsViewModel& operator=(const FrictionEffectsViewModel&) = delete;

    platform::Observable<bool> isFogTesting{false};
    platform::Observable<bool> isTurtleTesting{false};
    platform::Observable<bool> isDelayTesting{false};
    // The one countdown the running tests' buttons show, 5 down to 0.
    platform::Observable<std::int64_t> testRemainingSeconds{0};
    platform::Observable<bool> isShowingAppPicker{false};
    platform::Observable<bool> isShowingSitePicker{false};
    // The targets in stored order; replaced by the operations below.
    platform::Observable<std::vector<RedListConfig>> redListConfigs;

    std::vector<RedListConfig> appTargets() const;
    std::vector<RedListConfig> siteTargets() const;
    bool hasAnyEffectEnabled() const;
    std::optional<RedListConfig> target(const Uuid& id) const;
    // The application IDs of the application targets, for the picker's check marks.
    std::set<std::string> existingBundleIDs() const;

    // Each starts its test unless it runs already. A test started while another runs brings
    // the count back to 5; when the count ends, every running test ends, in the order they
    // started.
    void testFog();
    void testTurtle();
    void testDelay();
    // Ends every running test at once.
    void stopTests();
    bool isCountingDown() const { return static_cast<bool>(testTimer_); }
    bool isShowingDelayTestPanel() const { return delayPanelShown_; }

    void addApp(const std::string& bundleID, const std::string& displayName);
    // `typed` as the site sheet hands it; text that names no host is ignored.
    void addSite(const std::string& typed);
    // Replaces the target with the same id; nothing when there is none.
    void updateConfig(const RedListConfig& config);
    void removeTarget(const Uuid& id);
    // Writes the "_redList" section of the rules file for `targets`.
    void syncRedListToExtension(const std::vector<RedListConfig>& targets) const;

  private:
    enum class EffectTest { fog, turtle, delay };

    void startCountdown(EffectTest test);
    void countdownTick();
    void endTest(EffectTest test);
    void showDelayPanel();
    void refreshDelayPanel();
    void closeDelayPanel();
    std::int64_t panelSeconds() const;
    // Writes the list into the settings and saves them.
    void storeTargets(std::vector<RedListConfig> targets);

    platform::RunLoop& loop_;
    SettingsManager& settings_;
    const RulesFileService& rulesFile_;
    FrictionEngine& engine_;
    FaviconService& favicons_;
    WebFeatureUsage& webFeatures_;
    std::unique_ptr<DelayTestPanel> delayTestPanel_;
    // The tests whose end the countdown runs, in the order they started.
    std::vector<EffectTest> runningTests_;
    bool delayPanelShown_ = false;
    platform::Handle testTimer_;
    platform::Handle delayCountdownTimer_;
};

}  // namespace olvane::ui
