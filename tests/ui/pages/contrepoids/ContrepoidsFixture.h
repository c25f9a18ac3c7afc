#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "browser/WebFeatureUsage.h"
#include "model/RulesFileService.h"
#include "model/SettingsManager.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/MemoryKeyValueStore.h"
#include "support/TempHome.h"
#include "ui/foundation/FakeFaviconFetcher.h"
#include "ui/foundation/FaviconService.h"
#include "ui/pages/contrepoids/DelayTestPanel.h"
#include "ui/pages/contrepoids/FrictionEffectsViewModel.h"
#include "ui/pages/contrepoids/FrictionEngine.h"

namespace olvane::test {

// Records every call the page makes of the friction effects, in order.
class RecordingEngine final : public ui::FrictionEngine {
  public:
    bool isMonitoring() const override { return monitoring; }
    void startMonitoring() override {
        calls.emplace_back("startMonitoring");
        monitoring = true;
    }
    void stopMonitoring() override {
        calls.emplace_back("stopMonitoring");
        monitoring = false;
    }
    void reevaluateCurrentApp() override { calls.emplace_back("reevaluateCurrentApp"); }
    void deactivateEffectForClosedApp() override {
        calls.emplace_back("deactivateEffectForClosedApp");
    }
    void testFogOnOwnWindow() override { calls.emplace_back("testFogOnOwnWindow"); }
    void deactivateAllEffects() override { calls.emplace_back("deactivateAllEffects"); }
    bool activateTurtle(TurtleIntensity intensity, bool testMode) override {
        calls.push_back(std::string("activateTurtle ") + std::string(rawValue(intensity)) +
                        (testMode ? " test" : ""));
        return turtleAllowed;
    }
    void deactivateTurtle() override { calls.emplace_back("deactivateTurtle"); }

    bool monitoring = false;
    bool turtleAllowed = true;
    std::vector<std::string> calls;
};

// The delay test's panel as the model drives it: what it shows, and its two buttons.
class RecordingPanel final : public ui::DelayTestPanel {
  public:
    struct Shared {
        bool hasWindow = true;
        bool shown = false;
        std::vector<std::int64_t> counts;
        std::function<void()> onClose;
        std::function<void()> onContinue;
    };

    explicit RecordingPanel(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) {}

    bool show(std::int64_t seconds, std::function<void()> onClose,
              std::function<void()> onContinue) override {
        if (!shared_->hasWindow) {
            return false;
        }
        shared_->shown = true;
        shared_->counts.push_back(seconds);
        shared_->onClose = std::move(onClose);
        shared_->onContinue = std::move(onContinue);
        return true;
    }
    void update(std::int64_t seconds) override {
        if (shared_->counts.empty() || shared_->counts.back() != seconds) {
            shared_->counts.push_back(seconds);
        }
    }
    void close() override {
        shared_->shown = false;
        shared_->onClose = nullptr;
        shared_->onContinue = nullptr;
    }

  private:
    std::shared_ptr<Shared> shared_;
};

class RecordingWebFeatures final : public WebFeatureUsage {
  public:
    void featureUsed(WebFeatureCategory category) override { used.push_back(category); }
    std::vector<WebFeatureCategory> used;
};

RedListConfig makeTarget(FrictionTargetType type, const std::string& identifier,
                         bool anyEffect = false);

// The page's model over the settings in memory, the real rules file in a temporary home, and
// recording stand-ins for the friction effects, the delay panel and the extension prompts.
class ContrepoidsFixture : public ::testing::Test {
  protected:
    ui::FrictionEffectsViewModel::Collaborators collaborators() {
        return {loop,
                settings,
                rulesFile,
                engine,
                favicons,
                webFeatures,
                std::make_unique<RecordingPanel>(delayPanel)};
    }
    std::unique_ptr<ui::FrictionEffectsViewModel> makeModel() {
        return std::make_unique<ui::FrictionEffectsViewModel>(collaborators());
    }
    // The "_redList" section of rules.json as written; null when absent.
    Json redListSection() const;

    TempHome home;
    platform::sim::ManualRunLoop loop;
    platform::sim::MemoryKeyValueStore store;
    SettingsManager settings{store, loop.clock()};
    RulesFileService rulesFile{home.paths()};
    RecordingEngine engine;
    std::shared_ptr<RecordingPanel::Shared> delayPanel = std::make_shared<RecordingPanel::Shared>();
    FakeFaviconFetcher fetcher;
    ui::FaviconService favicons{loop, loop.clock(), fetcher, home.root() / "favicons",
                                QUrl(QStringLiteral("https://favicons.test/s2"))};
    RecordingWebFeatures webFeatures;
};

}  // namespace olvane::test
