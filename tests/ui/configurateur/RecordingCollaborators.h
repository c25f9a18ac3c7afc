#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/configurateur/ConfigurateurViewModel.h"

namespace olvane::test {

// The activation's collaborators, writing down every call in one sequence ("saveSettings",
// "grayscale.enable"…); the page changes of AppState go into it too.
class RecordingCollaborators final : public SettingsStore,
                                     public RulesPublisher,
                                     public GrayscaleControl,
                                     public MonitoringControl {
  public:
    RecordingCollaborators() {
        pageChanges_ = appState.selectedNavigationItem.observe([this](NavigationItem item) {
            calls.push_back("page " + std::string(rawValue(item)));
        });
    }

    ConfigurateurViewModel::Collaborators collaborators() {
        return {*this, *this, *this, *this, appState};
    }

    AppState appState;
    UserSettings current;
    // The settings as the first save found them.
    std::optional<UserSettings> firstSaved;
    bool saveFails = false;
    bool monitoring = false;
    std::vector<std::string> calls;
    std::vector<RedListConfig> exportedTargets;

    UserSettings& settings() override { return current; }
    bool saveSettings(bool skipBackup) override {
        calls.push_back(skipBackup ? "saveSettings skipBackup" : "saveSettings");
        if (!firstSaved) {
            firstSaved = current;
        }
        return !saveFails;
    }
    void exportContentRules(const std::vector<PlatformRules>&) override {
        calls.push_back("exportContentRules");
    }
    void exportWebsiteTargets(const std::vector<RedListConfig>& targets) override {
        calls.push_back("exportWebsiteTargets " + std::to_string(targets.size()));
        exportedTargets = targets;
    }
    void enable() override { calls.push_back("grayscale.enable"); }
    void disable() override { calls.push_back("grayscale.disable"); }
    void publishAllowedSites() override { calls.push_back("grayscale.publishAllowedSites"); }
    bool isMonitoring() const override { return monitoring; }
    void startMonitoring() override {
        calls.push_back("monitoring.start");
        monitoring = true;
    }
    void stopMonitoring() override {
        calls.push_back("monitoring.stop");
        monitoring = false;
    }
    void reevaluateCurrentApp() override { calls.push_back("monitoring.reevaluate"); }

  private:
    platform::Handle pageChanges_;
};

}  // namespace olvane::test
