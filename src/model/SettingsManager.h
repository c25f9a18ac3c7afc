#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Decoded.h"
#include "model/FrictionEffectType.h"
#include "model/LastKnownState.h"
#include "model/UserSettings.h"
#include "platform/Clock.h"
#include "platform/KeyValueStore.h"

namespace olvane {

// The one owner of the persisted configuration. It loads the settings once, on first use (so that
// the composition root may make it before the start-up's first line), and writes them back
// whenever a component that changed them asks it to save. The previous stored blob is
// kept as a backup, which a later load falls back to when the current blob cannot be read. It also
// keeps the crash-recovery record, present exactly while the application runs.
//
// Components read `settings()`, change it in place, then call `saveSettings()`. It is not
// observable. One instance per process, made by the composition root.
class SettingsManager {
  public:
    static constexpr const char* kSettingsKey = "com.olvane.userSettings";
    static constexpr const char* kBackupKey = "com.olvane.userSettings.backup";
    static constexpr const char* kLastKnownStateKey = "com.olvane.lastKnownState";

    // How the load went.
    enum class LoadOutcome {
        nothingStored,         // first run: the defaults
        decoded,               // the stored settings
        restoredFromBackup,    // the stored settings were unreadable; the backup was taken
        defaultsAfterFailure,  // neither the settings nor the backup could be read
    };

    // The settings and the crash-recovery record come from `store` at the first call below.
    SettingsManager(platform::KeyValueStore& store, const platform::Clock& clock);
    SettingsManager(const SettingsManager&) = delete;
    SettingsManager& operator=(const SettingsManager&) = delete;

    UserSettings& settings() {
        ensureLoaded();
        return settings_;
    }
    const UserSettings& settings() const {
        ensureLoaded();
        return settings_;
    }
    // The record found at load; cleared by a clean quit.
    const std::optional<LastKnownState>& lastKnownState() const {
        ensureLoaded();
        return lastKnownState_;
    }
    LoadOutcome loadOutcome() const {
        ensureLoaded();
        return loadOutcome_;
    }

    // Copies the stored blob to the backup key (unless skipped), then writes the current
    // settings. Returns whether they were stored.
    bool saveSettings(bool skipBackup = false);
    // Replaces the settings with the backup's and rewrites the current blob from it, leaving the
    // backup as it is. Returns whether the backup could be read.
    bool restoreFromBackup();
    // The delay migration, then the schema upgrade (which saves).
    void migrateIfNeeded();
    // Folds the legacy delay records into the friction targets; does not save.
    void migrateDelayAccessConfigs();

    // Removes content-rule entries of platforms we no longer know from a raw blob, so that the
    // rest can still be read. Anything it cannot make sense of comes back unchanged.
    static std::string sanitizeSettingsData(std::string_view bytes);

    // Stores a fresh record stamped with the current time; the in-memory record is not changed.
    void saveLastKnownState(bool wasGrayscaleEnabled,
                            const std::vector<FrictionEffectType>& activeEffects);
    // Removes the stored record and the in-memory one (a clean quit).
    void clearLastKnownState();

  private:
    void ensureLoaded() const;
    void loadSettings();
    void loadLastKnownState();
    void copyCurrentBlobToBackup();
    bool keepUnreadableBlobsAside();
    void rememberUnreadable(const char* key);
    static Decoded<UserSettings> decodeSettings(const platform::StoredValue& stored);

    platform::KeyValueStore& store_;
    const platform::Clock& clock_;
    UserSettings settings_;
    std::optional<LastKnownState> lastKnownState_;
    LoadOutcome loadOutcome_ = LoadOutcome::nothingStored;
    // Keys whose blob failed to decode and has not been kept aside yet.
    std::vector<const char*> unreadableBlobs_;
    bool loaded_ = false;
};

}  // namespace olvane
