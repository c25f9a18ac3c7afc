#pragma once

namespace olvane {

class RulesFileService;
class SettingsManager;

// What the start-up puts into the rules file from the stored settings, for the browser side,
// which never reads the settings: the legacy keys go, then the website friction targets and the
// content rules (first brought in line with the catalogue) are written.
class StartupExports {
  public:
    StartupExports(SettingsManager& settings, const RulesFileService& rulesFile);

    // The three steps below, in order.
    void run();

    void cleanLegacyKeys();
    // The "_redList" section.
    void exportRedListConfigAtLaunch();
    // The platform sections.
    void exportContentRulesAtLaunch();

  private:
    SettingsManager& settings_;
    const RulesFileService& rulesFile_;
};

}  // namespace olvane
