#pragma once

#include <vector>

#include "model/PlatformRules.h"
#include "platform/Json.h"

namespace olvane {

class RulesFileService;
class SettingsManager;

// The operations on the user's content rules that need no page: bringing stored rule sets in
// line with the catalogue, and publishing the enabled rules into the rules file.
class ContentRulesModel {
  public:
    ContentRulesModel() = delete;

    // Drops retired rules (keeping the order and state of the others, unknown ones included)
    // and appends, switched off, the catalogue rules that are missing.
    static PlatformRules migratePlatformRules(const PlatformRules& stored);
    // Every set migrated, in order. When the result differs from `stored` it becomes the
    // settings' content rules and is saved. `stored` is taken by value: callers pass the
    // settings' own list, which the save replaces.
    static std::vector<PlatformRules> migrateRules(std::vector<PlatformRules> stored,
                                                   SettingsManager& settings);

    // One member per platform with an enabled rule, {rule identifier: true}. Of several sets for
    // one platform the first counts, as it is the one the page shows and toggles.
    static Json platformSections(const std::vector<PlatformRules>& ruleSets);
    // Replaces the platform sections of the rules file, keeps every other section, and copies
    // the file into the shared container when the write succeeded.
    static void exportRules(const std::vector<PlatformRules>& ruleSets,
                            const RulesFileService& rulesFile);
};

}  // namespace olvane
