#include <gtest/gtest.h>

#include "model/SettingsManager.h"
#include "platform/Base64.h"
#include "platform/FileIO.h"
#include "platform/linux/FileKeyValueStore.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/MemoryKeyValueStore.h"
#include "support/KilledSaves.h"
#include "support/TempHome.h"

namespace olvane {
namespace {

using platform::LogLevel;
using platform::sim::CapturedLine;
using platform::sim::ManualRunLoop;
using platform::sim::MemoryKeyValueStore;
using platform::sim::ScopedLogCapture;

constexpr const char* kSettings = SettingsManager::kSettingsKey;
constexpr const char* kBackup = SettingsManager::kBackupKey;
constexpr const char* kState = SettingsManager::kLastKnownStateKey;

std::string blobWith(const std::function<void(UserSettings&)>& change) {
    UserSettings settings;
    change(settings);
    return settings.jsonText();
}

const std::string kGoodBlob = blobWith([](UserSettings& s) { s.launchAtLogin = true; });
const std::string kOtherGoodBlob = blobWith([](UserSettings& s) { s.onboardingVersion = 7; });
const std::string kCorruptBlob = R"({"schemaVersion": "1"})";

struct Fixture {
    ManualRunLoop loop;
    MemoryKeyValueStore store;
    ScopedLogCapture capture;

    std::string stored(const char* key) const {
        const auto value = store.get(key);
        return value.isPresent() ? value.bytes : "<absent>";
    }
    void put(const char* key, const std::string& bytes) { ASSERT_TRUE(store.set(key, bytes)); }
    // The lines of a category above debug level, as "level: text".
    std::vector<std::string> notable(const std::string& category) {
        std::vector<std::string> out;
        for (const CapturedLine& line : capture->lines()) {
            if (line.category == category && line.level != LogLevel::Debug) {
                out.push_back(std::string(platform::logLevelName(line.level)) + ": " + line.text);
            }
        }
        return out;
    }
};

TEST(SettingsManager, LoadFailureTable) {
    struct Row {
        const char* situation;
        std::optional<std::string> primary;  // nullopt: nothing stored
        std::optional<std::string> backup;
        bool primaryNotBinary;
        SettingsManager::LoadOutcome outcome;
        bool launchAtLogin;  // tells which settings were taken
        std::vector<std::string> lines;
        std::string primaryAfter;
    };
    using O = SettingsManager::LoadOutcome;
    const std::string tiktok =
        R"({"launchAtLogin": true, "contentFilterRules": [)"
        R"({"platform": "tiktok", "isEnabled": true, "rules": []},)"
        R"({"platform": "youtube", "isEnabled": false, "rules": [{"id": "yt_home", "isEnabled": true}]}]})";
    const std::string loadFailed =
        "error: ⚠️ Échec de chargement des réglages: « schemaVersion » : nombre entier "
        "attendu";
    const std::string keptAside = "default: Réglages illisibles mis de côté dans mémoire n° 1";
    const std::vector<Row> rows{
        {"nothing stored, backup ignored",
         std::nullopt,
         kCorruptBlob,
         false,
         O::nothingStored,
         false,
         {},
         "<absent>"},
        {"stored settings good", kGoodBlob, kCorruptBlob, false, O::decoded, true, {}, kGoodBlob},
        {"undecodable, backup good",
         kCorruptBlob,
         kGoodBlob,
         false,
         O::restoredFromBackup,
         true,
         {loadFailed, keptAside, "error: ⚠️ Réglages restaurés depuis le backup"},
         kGoodBlob},
        {"not binary data, backup good",
         std::nullopt,
         kGoodBlob,
         true,
         O::restoredFromBackup,
         true,
         {"error: ⚠️ Échec de chargement des réglages: la valeur enregistrée n’est pas "
          "une "
          "donnée "
          "binaire",
          keptAside, "error: ⚠️ Réglages restaurés depuis le backup"},
         kGoodBlob},
        {"undecodable, no backup",
         kCorruptBlob,
         std::nullopt,
         false,
         O::defaultsAfterFailure,
         false,
         {loadFailed, "error: Backup indisponible, utilisation des valeurs par défaut"},
         kCorruptBlob},
        {"undecodable, backup undecodable",
         kCorruptBlob,
         "not json",
         false,
         O::defaultsAfterFailure,
         false,
         {loadFailed,
          "error: ⚠️ Backup également corrompu: les données ne sont pas du JSON valide",
          "error: Backup indisponible, utilisation des valeurs par défaut"},
         kCorruptBlob},
        {"obsolete platform",
         tiktok,
         std::nullopt,
         false,
         O::decoded,
         true,
         {"info: Sanitisation: 1 plateforme(s) obsolète(s) retirée(s)"},
         tiktok},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.situation);
        Fixture f;
        if (row.primary) {
            f.put(kSettings, *row.primary);
        }
        if (row.primaryNotBinary) {
            f.store.setUndecodable(kSettings);
        }
        if (row.backup) {
            f.put(kBackup, *row.backup);
        }
        const auto backupBefore = f.stored(kBackup);

        SettingsManager manager(f.store, f.loop.clock());
        EXPECT_EQ(manager.loadOutcome(), row.outcome);
        EXPECT_EQ(manager.settings().launchAtLogin, row.launchAtLogin);
        EXPECT_EQ(f.notable("Settings"), row.lines);
        EXPECT_EQ(f.stored(kBackup), backupBefore);
        if (row.outcome == O::restoredFromBackup) {
            EXPECT_EQ(*UserSettings::fromJson(*json::parse(f.stored(kSettings))),
                      manager.settings());
        } else {
            EXPECT_EQ(f.stored(kSettings), row.primaryAfter);
        }
        if (row.outcome == O::defaultsAfterFailure || row.outcome == O::nothingStored) {
            EXPECT_EQ(manager.settings(), UserSettings{});
        }
    }
}

TEST(SettingsManager, UndecodableBlobsAreKeptAsideForGoodBeforeAnySaveCoversThem) {
    // Both undecodable: two saves used to leave neither anywhere.
    Fixture f;
    f.put(kSettings, kCorruptBlob);
    f.put(kBackup, "not json");
    SettingsManager manager(f.store, f.loop.clock());
    EXPECT_TRUE(f.store.keptAside().empty());  // nothing written yet, nothing to keep

    f.store.failWrites("Disque plein");
    EXPECT_FALSE(manager.saveSettings());
    EXPECT_TRUE(
        f.capture->contains("Settings", LogLevel::Error,
                            "⚠️ Réglages illisibles impossibles à mettre de côté, rien "
                            "n’est enregistré: Disque plein"));
    f.store.failWrites("");
    ASSERT_TRUE(manager.saveSettings());
    ASSERT_TRUE(manager.saveSettings());
    ASSERT_EQ(f.store.keptAside().size(), 2u);
    EXPECT_EQ(f.store.keptAside()[0].bytes, kCorruptBlob);
    EXPECT_EQ(f.store.keptAside()[1].bytes, "not json");
    EXPECT_TRUE(f.capture->contains("Settings", LogLevel::Default,
                                    "Réglages illisibles mis de côté dans mémoire n° 2"));
}

TEST(SettingsManager, ObsoletePlatformIsDroppedBeforeDecodingAndFromTheNextSave) {
    Fixture f;
    const std::string stored =
        R"({"contentFilterRules": [{"platform": "youtube", "isEnabled": true, "rules": []},)"
        R"({"platform": "tiktok"}]})";
    f.put(kSettings, stored);
    SettingsManager manager(f.store, f.loop.clock());
    ASSERT_EQ(manager.settings().contentFilterRules.size(), 1u);
    EXPECT_TRUE(manager.settings().contentFilterRules[0].isEnabled);
    EXPECT_EQ(f.stored(kSettings), stored);

    ASSERT_TRUE(manager.saveSettings());
    EXPECT_EQ(f.stored(kBackup), stored);
    EXPECT_EQ(f.stored(kSettings).find("tiktok"), std::string::npos);
}

TEST(SettingsManager, SanitisingKeepsKnownPlatformsInOrderAndLeavesOtherInputAlone) {
    ScopedLogCapture capture;
    for (const std::string input :
         {"", "not json", "[]", "{}", R"({"a": 1})", R"({"contentFilterRules": {}})",
          R"({"contentFilterRules": [{"platform": "tiktok"}, 3]})",
          R"({"contentFilterRules": [], "x": 1})",
          R"({"contentFilterRules": [{"platform": "youtube"}]})"}) {
        EXPECT_EQ(SettingsManager::sanitizeSettingsData(input), input);
    }
    EXPECT_TRUE(capture->lines().empty());

    const auto output = SettingsManager::sanitizeSettingsData(
        R"({"z": 1, "contentFilterRules": [{"platform": "facebook", "n": 1}, {},)"
        R"({"platform": 4}, {"platform": "YouTube"}, {"platform": "linkedin"}, {"n": 2}]})");
    EXPECT_EQ(
        output,
        R"({"z":1,"contentFilterRules":[{"platform":"facebook","n":1},{"platform":"linkedin"}]})");
    EXPECT_TRUE(capture->contains("Settings", LogLevel::Info,
                                  "Sanitisation: 4 plateforme(s) obsolète(s) retirée(s)"));
}

TEST(SettingsManager, EachSaveMovesThePreviousBlobToTheBackup) {
    Fixture f;
    SettingsManager manager(f.store, f.loop.clock());
    ASSERT_TRUE(manager.saveSettings());
    EXPECT_EQ(f.stored(kBackup), "<absent>");  // nothing was stored before the first save
    const auto first = f.stored(kSettings);

    manager.settings().showMenuBarIcon = false;
    ASSERT_TRUE(manager.saveSettings());
    EXPECT_EQ(f.stored(kBackup), first);
    manager.settings().onboardingCompleted = true;
    ASSERT_TRUE(manager.saveSettings());
    EXPECT_NE(f.stored(kBackup), first);
    EXPECT_FALSE(UserSettings::fromJson(*json::parse(f.stored(kBackup)))->showMenuBarIcon);
    EXPECT_TRUE(
        f.capture->contains("Settings", LogLevel::Debug, "Réglages sauvegardés avec succès"));

    ASSERT_TRUE(manager.saveSettings(/*skipBackup=*/true));
    EXPECT_FALSE(UserSettings::fromJson(*json::parse(f.stored(kBackup)))->onboardingCompleted);
}

TEST(SettingsManager, RestoreRewritesTheCurrentBlobAndLeavesTheBackupUntouched) {
    Fixture f;
    f.put(kSettings, kGoodBlob);
    f.put(kBackup, kOtherGoodBlob);
    SettingsManager manager(f.store, f.loop.clock());
    ASSERT_TRUE(manager.restoreFromBackup());
    EXPECT_EQ(manager.settings().onboardingVersion, 7);
    EXPECT_EQ(f.stored(kBackup), kOtherGoodBlob);
    EXPECT_EQ(f.stored(kSettings), manager.settings().jsonText());
    EXPECT_EQ(*UserSettings::fromJson(*json::parse(f.stored(kSettings))),
              *UserSettings::fromJson(*json::parse(kOtherGoodBlob)));

    MemoryKeyValueStore empty;
    SettingsManager withoutBackup(empty, f.loop.clock());
    f.capture->clear();
    EXPECT_FALSE(withoutBackup.restoreFromBackup());
    EXPECT_TRUE(f.capture->lines().empty());
}

TEST(SettingsManager, AFailedWriteKeepsTheStoredBlobAndTheSettingsInMemory) {
    Fixture f;
    f.put(kSettings, kGoodBlob);
    SettingsManager manager(f.store, f.loop.clock());
    manager.settings().showMenuBarIcon = false;
    f.store.failWrites("Disque plein");
    EXPECT_FALSE(manager.saveSettings());
    EXPECT_EQ(f.stored(kSettings), kGoodBlob);
    EXPECT_FALSE(manager.settings().showMenuBarIcon);
    EXPECT_TRUE(f.capture->contains("Settings", LogLevel::Error,
                                    "⚠️ Échec de sauvegarde des réglages: Disque plein"));
}

TEST(SettingsManager, ANonFiniteCustomValueNoLongerBlocksLaterSaves) {
    Fixture f;
    SettingsManager manager(f.store, f.loop.clock());
    RedListConfig target;
    target.id = Uuid::random();
    target.targetDisplayName = "Terminal";
    target.customFogOpacity = std::nan("");
    manager.settings().redListConfigs.push_back(target);
    ASSERT_TRUE(manager.saveSettings());
    manager.settings().launchAtLogin = true;
    ASSERT_TRUE(manager.saveSettings());

    SettingsManager reloaded(f.store, f.loop.clock());
    EXPECT_EQ(reloaded.loadOutcome(), SettingsManager::LoadOutcome::decoded);
    EXPECT_TRUE(reloaded.settings().launchAtLogin);
    ASSERT_EQ(reloaded.settings().redListConfigs.size(), 1u);
    EXPECT_FALSE(reloaded.settings().redListConfigs[0].customFogOpacity);
    EXPECT_EQ(f.capture->count("⚠️ Valeur personnalisée invalide non enregistrée: "
                               "customFogOpacity de « Terminal »"),
              2u);
}

TEST(SettingsManager, SchemaZeroIsMigratedAndSavedAtOnce) {
    Fixture f;
    const std::string old = R"({"schemaVersion": 0, "launchAtLogin": true})";
    f.put(kSettings, old);
    SettingsManager manager(f.store, f.loop.clock());
    EXPECT_EQ(manager.settings().schemaVersion, 1);
    EXPECT_EQ(f.stored(kBackup), old);
    EXPECT_EQ(UserSettings::fromJson(*json::parse(f.stored(kSettings)))->schemaVersion, 1);
    EXPECT_EQ(f.notable("Settings"), std::vector<std::string>{"info: Migration schéma: v0 → v1"});
    EXPECT_TRUE(
        f.capture->contains("Settings", LogLevel::Debug, "Réglages chargés avec succès (v1)"));
}

TEST(SettingsManager, LegacyDelayRecordsMergeIntoTargetsOrBecomeNewOnes) {
    Fixture f;
    UserSettings stored;
    RedListConfig youtube;
    youtube.id = Uuid::random();
    youtube.targetType = FrictionTargetType::website;
    youtube.targetIdentifier = "youtube.com";
    youtube.targetDisplayName = "YouTube";
    youtube.isFogEnabled = true;
    youtube.fogIntensity = FogIntensity::strong;
    RedListConfig appWithSameIdentifier = youtube;
    appWithSameIdentifier.id = Uuid::random();
    appWithSameIdentifier.targetType = FrictionTargetType::app;
    stored.redListConfigs = {appWithSameIdentifier, youtube};
    stored.delayAccessConfigs = {
        {Uuid::random(), FrictionTargetType::website, "youtube.com", "YouTube (ancien)",
         DelayDuration::preset1h(), true},
        {Uuid::random(), FrictionTargetType::app, "org.gnome.Nautilus", "Fichiers",
         DelayDuration::custom(90), false},
        {Uuid::random(), FrictionTargetType::website, "YouTube.com", "Majuscules",
         DelayDuration::preset10s(), true},
    };
    const auto blob = stored.jsonText();
    f.put(kSettings, blob);

    SettingsManager manager(f.store, f.loop.clock());
    const auto& targets = manager.settings().redListConfigs;
    ASSERT_EQ(targets.size(), 4u);
    EXPECT_TRUE(manager.settings().delayAccessConfigs.empty());
    EXPECT_EQ(targets[0], appWithSameIdentifier);
    EXPECT_TRUE(targets[1].isDelayEnabled);
    EXPECT_EQ(targets[1].delayDuration, DelayDuration::preset1h());
    EXPECT_TRUE(targets[1].isFogEnabled);
    EXPECT_EQ(targets[1].fogIntensity, FogIntensity::strong);
    EXPECT_EQ(targets[1].targetDisplayName, "YouTube");

    const auto& added = targets[2];
    EXPECT_EQ(added.targetDisplayName, "Fichiers");
    EXPECT_NE(added.id, stored.delayAccessConfigs[1].id);
    EXPECT_FALSE(added.isDelayEnabled);
    EXPECT_EQ(added.delayDuration, DelayDuration::custom(90));
    EXPECT_FALSE(added.isFogEnabled || added.isTurtleEnabled);
    EXPECT_EQ(added.fogIntensity, FogIntensity::medium);
    EXPECT_EQ(added.turtleIntensity, TurtleIntensity::medium);
    EXPECT_EQ(targets[3].targetIdentifier, "YouTube.com");  // matching is case-sensitive

    EXPECT_EQ(
        f.notable("Settings"),
        (std::vector<std::string>{"info: Migration délai d'accès: 3 configs à migrer",
                                  "info: Migration délai d'accès terminée: 4 configs au total"}));
    EXPECT_TRUE(
        f.capture->contains("Settings", LogLevel::Debug, "Fusion délai pour: YouTube (ancien)"));
    EXPECT_TRUE(
        f.capture->contains("Settings", LogLevel::Debug, "Nouvelle entrée délai pour: Fichiers"));
    // The delay migration alone does not save.
    EXPECT_EQ(f.stored(kSettings), blob);
}

TEST(SettingsManager, LastKnownStateIsStampedStoredLoadedAndCleared) {
    Fixture f;
    {
        SettingsManager manager(f.store, f.loop.clock());
        EXPECT_FALSE(manager.lastKnownState());
        f.loop.advanceSeconds(1.5);
        manager.saveLastKnownState(true, {FrictionEffectType::turtle, FrictionEffectType::fog});
        EXPECT_FALSE(manager.lastKnownState());  // only the stored record changes
    }
    const auto stored = json::parse(f.stored(kState));
    ASSERT_TRUE(stored);
    EXPECT_DOUBLE_EQ((*stored)["timestamp"].get<double>(),
                     ManualRunLoop::kDefaultUnixStart + 1.5 - platform::kReferenceDateOffset);

    SettingsManager next(f.store, f.loop.clock());
    ASSERT_TRUE(next.lastKnownState());
    EXPECT_TRUE(next.lastKnownState()->wasGrayscaleEnabled);
    EXPECT_EQ(next.lastKnownState()->activeEffects, (std::vector<std::string>{"turtle", "fog"}));
    EXPECT_TRUE(f.capture->contains("CrashRecovery", LogLevel::Debug, "Dernier état connu chargé"));

    next.clearLastKnownState();
    EXPECT_FALSE(next.lastKnownState());
    EXPECT_EQ(f.stored(kState), "<absent>");
    next.clearLastKnownState();
    EXPECT_EQ(f.capture->count("État effacé (fermeture propre)"), 2u);
}

TEST(SettingsManager, AnUnreadableLastKnownStateIsLoggedAndLeftInPlace) {
    Fixture f;
    f.put(kState, R"({"timestamp": 1, "wasGrayscaleEnabled": true})");
    SettingsManager manager(f.store, f.loop.clock());
    EXPECT_FALSE(manager.lastKnownState());
    EXPECT_EQ(f.notable("CrashRecovery"),
              std::vector<std::string>{"error: ⚠️ Échec de chargement du dernier état: « "
                                       "activeEffects » : clé absente"});
    EXPECT_NE(f.stored(kState), "<absent>");

    f.store.failWrites("Lecture seule");
    manager.saveLastKnownState(false, {});
    EXPECT_TRUE(f.capture->contains("CrashRecovery", LogLevel::Error,
                                    "⚠️ Échec de sauvegarde de l'état: Lecture seule"));
}

TEST(SettingsManager, SettingsSurviveAReopenOfTheDefaultsFile) {
    test::TempHome home;
    const auto file = home.paths().defaultsFile();
    ManualRunLoop loop;
    {
        platform::os::FileKeyValueStore store(file, loop.clock());
        SettingsManager manager(store, loop.clock());
        manager.settings().grayscaleAllowedSites = {"=exemple.fr/é"};
        ASSERT_TRUE(manager.saveSettings());
        manager.settings().userWantsGrayscaleEnabled = true;
        ASSERT_TRUE(manager.saveSettings());
    }
    platform::os::FileKeyValueStore store(file, loop.clock());
    SettingsManager reopened(store, loop.clock());
    EXPECT_EQ(reopened.loadOutcome(), SettingsManager::LoadOutcome::decoded);
    EXPECT_TRUE(reopened.settings().userWantsGrayscaleEnabled);
    EXPECT_EQ(reopened.settings().grayscaleAllowedSites, std::vector<std::string>{"=exemple.fr/é"});

    // A hand-damaged current value falls back to the backup, which holds the first save.
    auto members = *json::parseObject(*platform::readWholeFile(file));
    members[kSettings] = platform::base64Encode("{\"launchAtLogin\": 1}");
    ASSERT_TRUE(platform::writeFileAtomically(file, json::dumpCompact(members)));
    platform::os::FileKeyValueStore damaged(file, loop.clock());
    SettingsManager recovered(damaged, loop.clock());
    EXPECT_EQ(recovered.loadOutcome(), SettingsManager::LoadOutcome::restoredFromBackup);
    EXPECT_FALSE(recovered.settings().userWantsGrayscaleEnabled);
    EXPECT_EQ(recovered.settings().grayscaleAllowedSites,
              std::vector<std::string>{"=exemple.fr/é"});
}

TEST(SettingsManager, AWriterKilledWhileSavingLeavesOneWholeSaveEachTime) {
    // In memory when it can: with no wait on the disk the kills fall all over the saves.
    test::TempHome home;
    const auto folder = test::memoryFolderOr(home.root());
    const auto report =
        test::killDuringSaves(folder.path() / "defaults.json", 200, std::chrono::microseconds(5000),
                              ::testing::UnitTest::GetInstance()->random_seed());
    EXPECT_EQ(report.corrupt, 0) << report.firstProblem;
    EXPECT_GT(report.lastSave, 20);  // each writer went on from the last whole save
    EXPECT_EQ(report.leftovers, 0);
}

}  // namespace
}  // namespace olvane
