// Arbitrary bytes as the stored settings, their backup and the crash-recovery record (the input
// split at its first two NUL bytes; a part that is not there is not stored). Loading never
// crashes or throws and always ends in one of its outcomes; what is then saved loads back as it
// was. The defaults' round trip is the same for every input that ends in them, so it is checked
// once. Sanitising a blob has a target of its own.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "model/SettingsManager.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/MemoryKeyValueStore.h"

namespace {

using olvane::SettingsManager;
using olvane::UserSettings;
using olvane::fuzz::check;

std::vector<std::string_view> splitAtNul(std::string_view input, std::size_t maxParts) {
    std::vector<std::string_view> parts;
    if (input.empty()) {
        return parts;
    }
    while (parts.size() + 1 < maxParts) {
        const auto nul = input.find('\0');
        if (nul == std::string_view::npos) {
            break;
        }
        parts.push_back(input.substr(0, nul));
        input.remove_prefix(nul + 1);
    }
    parts.push_back(input);
    return parts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto parts = splitAtNul(input, 3);
    const char* keys[] = {SettingsManager::kSettingsKey, SettingsManager::kBackupKey,
                          SettingsManager::kLastKnownStateKey};

    static const UserSettings defaults;
    olvane::platform::sim::ManualRunLoop loop;
    olvane::platform::sim::MemoryKeyValueStore store;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        check(store.set(keys[i], parts[i]).ok());
    }

    SettingsManager manager(store, loop.clock());
    using Outcome = SettingsManager::LoadOutcome;
    if (manager.loadOutcome() == Outcome::restoredFromBackup) {
        // A restored backup is migrated by the next load; do it now to compare with that.
        manager.migrateIfNeeded();
    }
    const bool endsInDefaults = manager.settings() == defaults;
    switch (manager.loadOutcome()) {
        case Outcome::nothingStored:
            check(parts.empty());
            check(endsInDefaults);
            break;
        case Outcome::defaultsAfterFailure:
            check(endsInDefaults);
            break;
        case Outcome::decoded:
            check(manager.settings().delayAccessConfigs.empty());
            check(manager.settings().schemaVersion >= UserSettings::kCurrentSchemaVersion);
            break;
        case Outcome::restoredFromBackup:
            break;
        default:
            check(false);
    }
    check(!manager.lastKnownState() || parts.size() == 3);

    static bool defaultsChecked = false;
    if (endsInDefaults) {
        if (defaultsChecked) {
            return 0;
        }
        defaultsChecked = true;
    }
    check(manager.saveSettings());
    SettingsManager reloaded(store, loop.clock());
    check(reloaded.loadOutcome() == Outcome::decoded);
    check(reloaded.settings() == manager.settings());
    return 0;
}
