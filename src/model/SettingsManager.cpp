#include "model/SettingsManager.h"

#include <algorithm>
#include <cmath>

#include "model/Logger.h"
#include "model/Platform.h"
#include "platform/Json.h"

namespace olvane {
namespace {

const char* const kNotBinaryData = "la valeur enregistrée n’est pas une donnée binaire";
const char* const kNotJson = "les données ne sont pas du JSON valide";

template <typename J>
bool isKnownPlatformEntry(const J& entry) {
    const auto it = entry.find("platform");
    return it != entry.end() && it->is_string() &&
           fromRawValue<Platform>(it->template get_ref<const std::string&>()).has_value();
}

// How many content-rule entries name a platform we no longer know. Rules that are not a list of
// objects count none: such a document is left whole.
template <typename J>
std::size_t unknownPlatformCount(const J& document) {
    if (!document.is_object()) {
        return 0;
    }
    const auto rules = document.find("contentFilterRules");
    if (rules == document.end() || !rules->is_array() ||
        !std::ranges::all_of(*rules, [](const J& e) { return e.is_object(); })) {
        return 0;
    }
    const auto known =
        std::ranges::count_if(*rules, [](const J& e) { return isKnownPlatformEntry(e); });
    return rules->size() - static_cast<std::size_t>(known);
}

// Drops the entries unknownPlatformCount counts; how many went.
template <typename J>
std::size_t dropUnknownPlatforms(J& document) {
    const auto dropped = unknownPlatformCount(document);
    if (dropped == 0) {
        return 0;
    }
    auto& rules = *document.find("contentFilterRules");
    J kept = J::array();
    for (auto& entry : rules) {
        if (isKnownPlatformEntry(entry)) {
            kept.push_back(std::move(entry));
        }
    }
    Logger::settings().info("Sanitisation: %ld plateforme(s) obsolète(s) retirée(s)", dropped);
    rules = std::move(kept);
    return dropped;
}

Decoded<Json> parseStored(const platform::StoredValue& stored) {
    if (!stored.isPresent()) {
        return DecodeError{kNotBinaryData};
    }
    auto parsed = json::parse(stored.bytes);
    if (!parsed) {
        return DecodeError{kNotJson};
    }
    return std::move(*parsed);
}

}  // namespace

SettingsManager::SettingsManager(platform::KeyValueStore& store, const platform::Clock& clock)
    : store_(store), clock_(clock) {}

void SettingsManager::ensureLoaded() const {
    if (loaded_) {
        return;
    }
    // Loading fills in what every reader sees as already there; no instance is ever const.
    auto& self = const_cast<SettingsManager&>(*this);
    self.loaded_ = true;
    self.loadSettings();
}

void SettingsManager::loadSettings() {
    const auto stored = store_.get(kSettingsKey);
    if (!stored.isMissing()) {
        auto decoded = decodeSettings(stored);
        if (decoded) {
            settings_ = std::move(decoded).value();
            loadOutcome_ = LoadOutcome::decoded;
            migrateIfNeeded();
            Logger::settings().debug("Réglages chargés avec succès (v%ld)",
                                     settings_.schemaVersion);
        } else {
            Logger::settings().logError("Échec de chargement des réglages", decoded.error());
            rememberUnreadable(kSettingsKey);
            if (restoreFromBackup()) {
                loadOutcome_ = LoadOutcome::restoredFromBackup;
            } else {
                Logger::settings().error("Backup indisponible, utilisation des valeurs par défaut");
                settings_ = UserSettings{};
                loadOutcome_ = LoadOutcome::defaultsAfterFailure;
            }
        }
    }
    loadLastKnownState();
}

void SettingsManager::loadLastKnownState() {
    const auto stored = store_.get(kLastKnownStateKey);
    if (stored.isMissing()) {
        return;
    }
    auto parsed = parseStored(stored);
    auto decoded = parsed ? LastKnownState::fromJson(*parsed)
                          : Decoded<LastKnownState>(std::move(parsed).takeError());
    if (!decoded) {
        Logger::crashRecovery().logError("Échec de chargement du dernier état", decoded.error());
        return;
    }
    lastKnownState_ = std::move(decoded).value();
    Logger::crashRecovery().debug("Dernier état connu chargé");
}

Decoded<UserSettings> SettingsManager::decodeSettings(const platform::StoredValue& stored) {
    // One parse: the unknown platforms go from the tree itself.
    auto parsed = parseStored(stored);
    if (!parsed) {
        return std::move(parsed).takeError();
    }
    auto document = std::move(parsed).value();
    dropUnknownPlatforms(document);
    return UserSettings::fromJson(document);
}

bool SettingsManager::restoreFromBackup() {
    ensureLoaded();
    const auto stored = store_.get(kBackupKey);
    if (stored.isMissing()) {
        return false;
    }
    auto decoded = decodeSettings(stored);
    if (!decoded) {
        Logger::settings().logError("Backup également corrompu", decoded.error());
        rememberUnreadable(kBackupKey);
        return false;
    }
    settings_ = std::move(decoded).value();
    // Replaces the unreadable current blob while the good backup stays.
    saveSettings(/*skipBackup=*/true);
    Logger::settings().error("⚠️ Réglages restaurés depuis le backup");
    return true;
}

bool SettingsManager::saveSettings(bool skipBackup) {
    ensureLoaded();
    if (!keepUnreadableBlobsAside()) {
        return false;
    }
    if (!skipBackup) {
        copyCurrentBlobToBackup();
    }
    const auto status = store_.set(kSettingsKey, settings_.jsonText());
    if (!status) {
        Logger::settings().logError("Échec de sauvegarde des réglages", status);
        return false;
    }
    Logger::settings().debug("Réglages sauvegardés avec succès");
    return true;
}

void SettingsManager::rememberUnreadable(const char* key) {
    if (std::ranges::find(unreadableBlobs_, key) == unreadableBlobs_.end()) {
        unreadableBlobs_.push_back(key);
    }
}

// An unreadable blob may be the only copy of the user's settings, and a save writes over it (or
// over the backup it was copied to): it goes somewhere of its own first, for good.
bool SettingsManager::keepUnreadableBlobsAside() {
    const auto& log = Logger::settings();
    while (!unreadableBlobs_.empty()) {
        platform::ComposedText where;
        const auto status = store_.keepAside(unreadableBlobs_.front(), where);
        if (!status) {
            log.logError("Réglages illisibles impossibles à mettre de côté, rien n’est enregistré",
                         status);
            return false;
        }
        log.notice("Réglages illisibles mis de côté dans %s", where);
        unreadableBlobs_.erase(unreadableBlobs_.begin());
    }
    return true;
}

void SettingsManager::copyCurrentBlobToBackup() {
    const auto current = store_.get(kSettingsKey);
    if (!current.isPresent()) {
        return;
    }
    const auto status = store_.set(kBackupKey, current.bytes);
    if (!status) {
        Logger::settings().logError("Échec de sauvegarde du backup des réglages", status);
    }
}

void SettingsManager::migrateIfNeeded() {
    ensureLoaded();
    migrateDelayAccessConfigs();
    if (settings_.schemaVersion < UserSettings::kCurrentSchemaVersion) {
        const auto oldVersion = settings_.schemaVersion;
        settings_.schemaVersion = UserSettings::kCurrentSchemaVersion;
        saveSettings();
        Logger::settings().info("Migration schéma: v%ld → v%ld", oldVersion,
                                UserSettings::kCurrentSchemaVersion);
    }
}

void SettingsManager::migrateDelayAccessConfigs() {
    ensureLoaded();
    auto& legacy = settings_.delayAccessConfigs;
    if (legacy.empty()) {
        return;
    }
    const auto& log = Logger::settings();
    log.info("Migration délai d'accès: %ld configs à migrer", legacy.size());
    auto targets = settings_.redListConfigs;
    for (const auto& record : legacy) {
        const auto match = std::ranges::find_if(targets, [&](const RedListConfig& target) {
            return target.targetType == record.targetType &&
                   target.targetIdentifier == record.targetIdentifier;
        });
        if (match != targets.end()) {
            match->isDelayEnabled = record.isEnabled;
            match->delayDuration = record.delayDuration;
            log.debug("Fusion délai pour: %s", record.targetDisplayName);
        } else {
            RedListConfig target;
            target.id = Uuid::random();
            target.targetType = record.targetType;
            target.targetIdentifier = record.targetIdentifier;
            target.targetDisplayName = record.targetDisplayName;
            target.isDelayEnabled = record.isEnabled;
            target.delayDuration = record.delayDuration;
            targets.push_back(std::move(target));
            log.debug("Nouvelle entrée délai pour: %s", record.targetDisplayName);
        }
    }
    settings_.redListConfigs = std::move(targets);
    legacy.clear();
    log.info("Migration délai d'accès terminée: %ld configs au total",
             settings_.redListConfigs.size());
}

std::string SettingsManager::sanitizeSettingsData(std::string_view bytes) {
    // Most blobs have nothing to drop, which the plain tree tells as well. One that has is read
    // again in order, so that everything it keeps stays in its place.
    const auto parsed = json::parse(bytes);
    if (!parsed || unknownPlatformCount(*parsed) == 0) {
        return std::string(bytes);
    }
    auto ordered = json::parseOrdered(bytes);
    if (!ordered) {
        return std::string(bytes);
    }
    dropUnknownPlatforms(*ordered);
    return json::dumpCompact(*ordered);
}

void SettingsManager::saveLastKnownState(bool wasGrayscaleEnabled,
                                         const std::vector<FrictionEffectType>& activeEffects) {
    ensureLoaded();
    LastKnownState state{clock_.referenceDateNow(), wasGrayscaleEnabled, {}};
    for (const auto effect : activeEffects) {
        state.activeEffects.emplace_back(rawValue(effect));
    }
    const auto& log = Logger::crashRecovery();
    if (!std::isfinite(state.timestamp)) {
        log.logError("Échec de sauvegarde de l'état", platform::ComposedText("date invalide"));
        return;
    }
    const auto status = store_.set(kLastKnownStateKey, json::dumpCompact(state.toJson()));
    if (!status) {
        log.logError("Échec de sauvegarde de l'état", status);
    }
}

void SettingsManager::clearLastKnownState() {
    ensureLoaded();
    const auto status = store_.remove(kLastKnownStateKey);
    if (!status) {
        Logger::crashRecovery().logError("Échec d'effacement de l'état", status);
    }
    lastKnownState_.reset();
    Logger::crashRecovery().debug("État effacé (fermeture propre)");
}

}  // namespace olvane
