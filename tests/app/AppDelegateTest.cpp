#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "RecordingServices.h"
#include "app/AppDelegate.h"
#include "app/CrashRecoveryService.h"
#include "model/SettingsManager.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/MemoryKeyValueStore.h"

namespace olvane {
namespace {

using platform::sim::ManualRunLoop;
using platform::sim::MemoryKeyValueStore;
using Entries = std::vector<std::string>;

RedListConfig delayOnlyTarget() {
    RedListConfig target;
    target.targetType = FrictionTargetType::website;
    target.targetIdentifier = "youtube.com";
    target.isDelayEnabled = true;
    return target;
}

// A program's run over one user-defaults store: each launch makes its own settings store and
// delegate from what the previous one left, as a new process would.
struct Launch {
    ManualRunLoop& loop;
    MemoryKeyValueStore& store;
    test::Timeline timeline;
    AppState appState;
    std::optional<SettingsManager> settings;
    std::optional<test::RecordingServices> services;
    std::optional<CrashRecoveryService> crashRecovery;
    std::optional<AppDelegate> delegate;

    Launch(ManualRunLoop& l, MemoryKeyValueStore& s) : loop(l), store(s) {
        settings.emplace(store, loop.clock());
        services.emplace(timeline, appState.isGrayscaleFilterEnabled);
        crashRecovery.emplace(*settings, store, appState.isGrayscaleFilterEnabled, *services);
        delegate.emplace(appState, *settings, *crashRecovery, *services, *services);
    }
    // What happened, from the delegate's own lines, the crash check's and the calls.
    Entries record(const std::function<void()>& action) {
        test::TimelineLog log(timeline, {"App", "CrashRecovery", "FrictionEffects"});
        timeline.entries.clear();
        action();
        return timeline.entries;
    }
    bool hasRecord() const { return store.get(SettingsManager::kLastKnownStateKey).isPresent(); }
    UserSettings storedSettings() const {
        MemoryKeyValueStore copy;
        (void)copy.set(SettingsManager::kSettingsKey,
                       store.get(SettingsManager::kSettingsKey).bytes);
        return SettingsManager(copy, loop.clock()).settings();
    }
};

TEST(AppDelegate, CleanRunStartsAndEndsInOrderAndKeepsTheRecordOnlyWhileRunning) {
    ManualRunLoop loop;
    MemoryKeyValueStore store;
    Launch run(loop, store);
    EXPECT_FALSE(run.hasRecord());

    EXPECT_EQ(run.record([&] { run.delegate->performStartup(); }),
              (Entries{
                  "logPlatformChoices",
                  "probeFramebuffer",
                  "installCrashSignalHandlers",
                  "writeWatchdogPID",
                  "registerWatchdogAgent",
                  "CrashRecovery: Démarrage du nettoyage au démarrage...",
                  "CrashRecovery: Aucun état précédent trouvé - démarrage propre",
                  "isProcessTrustedForAccessibility",
                  "startWindowMonitoring",
                  "startHotkeyMonitoring",
                  "setHotkeyCallbacks",
                  "installNativeHostManifests",
                  "recordRunningBrowsers",
                  "cleanLegacyRulesKeys",
                  "exportRedListConfigAtLaunch",
                  "exportContentRulesAtLaunch",
                  "startExtensionStatus",
                  "App: Services initialisés",
                  "setupMenuBar",
                  "App: Filtre N&B: pas de restauration nécessaire (intention utilisateur = "
                  "désactivé)",
                  "resetLeftoverGrayscale",
                  "syncLoginItemWithSettings",
                  "CrashRecovery: État initial sauvegardé",
                  "App: Initialisation terminée",
              }));
    ASSERT_TRUE(run.hasRecord());
    const auto record = SettingsManager(store, loop.clock()).lastKnownState();
    ASSERT_TRUE(record);
    EXPECT_FALSE(record->wasGrayscaleEnabled);
    EXPECT_TRUE(record->activeEffects.empty());
    EXPECT_DOUBLE_EQ(record->timestamp, loop.clock().referenceDateNow());

    EXPECT_EQ(run.record([&] { run.delegate->performShutdown(); }),
              (Entries{
                  "App: === OlvaneMac fermeture ===",
                  "App: État N&B sauvegardé: false",
                  "stopAppMonitoring",
                  "forceCleanupFrictionEffects",
                  "stopHotkeyMonitoring",
                  "clearWatchdogPID",
                  "CrashRecovery: État effacé (fermeture propre)",
                  "CrashRecovery: Fermeture propre enregistrée",
                  "stopExtensionStatus",
                  "hideExtensionWarning",
                  "App: Fermeture propre terminée",
              }));
    EXPECT_FALSE(run.hasRecord());
    EXPECT_FALSE(run.storedSettings().grayscaleWasActiveOnShutdown);

    // The next launch counts as clean.
    Launch next(loop, store);
    next.record([&] { next.delegate->performStartup(); });
    EXPECT_FALSE(next.crashRecovery->crashDetected());
}

TEST(AppDelegate, ALaunchAfterACrashResetsEverythingThenRestoresTheWantedFilter) {
    ManualRunLoop loop;
    MemoryKeyValueStore store;
    {
        // A run that had the filter on and a target with a delay, and never shut down.
        Launch crashed(loop, store);
        crashed.settings->settings().userWantsGrayscaleEnabled = true;
        crashed.settings->settings().grayscaleWasActiveOnShutdown = true;
        crashed.settings->settings().redListConfigs = {delayOnlyTarget()};
        ASSERT_TRUE(crashed.settings->saveSettings());
        crashed.record([&] { crashed.delegate->performStartup(); });
        ASSERT_TRUE(crashed.appState.isGrayscaleFilterEnabled());
    }
    ASSERT_TRUE(store.get(SettingsManager::kLastKnownStateKey).isPresent());

    Launch run(loop, store);
    run.services->trusted = false;
    // The reset happens before anything starts; the flag is saved as false before the services.
    std::optional<bool> savedFlagWhenServicesStart;
    run.services->during = [&](const std::string& call) {
        if (call == "isProcessTrustedForAccessibility") {
            savedFlagWhenServicesStart = run.storedSettings().grayscaleWasActiveOnShutdown;
        }
    };
    EXPECT_EQ(run.record([&] { run.delegate->performStartup(); }),
              (Entries{
                  "logPlatformChoices",
                  "probeFramebuffer",
                  "installCrashSignalHandlers",
                  "writeWatchdogPID",
                  "registerWatchdogAgent",
                  "CrashRecovery: Démarrage du nettoyage au démarrage...",
                  // The store loads at its first use, in the crash check.
                  "CrashRecovery: Dernier état connu chargé",
                  "CrashRecovery: ⚠️ État précédent détecté - fermeture anormale probable",
                  "CrashRecovery: Dernier état: N&B=true, Effets=[]",
                  "CrashRecovery: Réinitialisation des effets visuels...",
                  "forceDisableGrayscale",
                  "CrashRecovery: Filtre N&B désactivé via GrayscaleFilterService",
                  "forceCleanupFrictionEffects",
                  "CrashRecovery: Fenêtres d'overlay fermées via FrictionEffectsService",
                  "CrashRecovery: État effacé (fermeture propre)",
                  "CrashRecovery: ✅ Nettoyage terminé - système réinitialisé",
                  "App: Crash précédent détecté - effets réinitialisés",
                  "isProcessTrustedForAccessibility",
                  "promptForAccessibility",
                  "startWindowMonitoring",
                  "startHotkeyMonitoring",
                  "setHotkeyCallbacks",
                  "installNativeHostManifests",
                  "recordRunningBrowsers",
                  "startAppMonitoring",
                  "FrictionEffects: Surveillance des apps démarrée au lancement",
                  "cleanLegacyRulesKeys",
                  "exportRedListConfigAtLaunch",
                  "exportContentRulesAtLaunch",
                  "startExtensionStatus",
                  "App: Services initialisés",
                  "setupMenuBar",
                  "App: Restauration du filtre N&B (intention utilisateur = activé)",
                  "enableGrayscale",
                  "updateStatusItemIcon",
                  "syncLoginItemWithSettings",
                  "CrashRecovery: État initial sauvegardé",
                  "App: Initialisation terminée",
              }));
    EXPECT_EQ(savedFlagWhenServicesStart, false);
    EXPECT_TRUE(run.crashRecovery->crashDetected());
    EXPECT_TRUE(run.storedSettings().userWantsGrayscaleEnabled);
    // The new record shows the filter restored.
    ASSERT_TRUE(SettingsManager(store, loop.clock()).lastKnownState());
    EXPECT_TRUE(SettingsManager(store, loop.clock()).lastKnownState()->wasGrayscaleEnabled);

    // Quitting with the filter on saves that and puts the display back into colour first.
    const auto shutdown = run.record([&] { run.delegate->performShutdown(); });
    ASSERT_GE(shutdown.size(), 4u);
    EXPECT_EQ(shutdown[1], "App: État N&B sauvegardé: true");
    EXPECT_EQ(shutdown[2], "forceDisableGrayscale");
    EXPECT_EQ(shutdown[3], "stopAppMonitoring");
    EXPECT_TRUE(run.storedSettings().grayscaleWasActiveOnShutdown);
    EXPECT_FALSE(run.hasRecord());
}

TEST(AppDelegate, LosingTheDisplayRunsOnlyTheStepsThatNeedNone) {
    ManualRunLoop loop;
    MemoryKeyValueStore store;
    Launch run(loop, store);
    run.settings->settings().userWantsGrayscaleEnabled = true;
    run.record([&] { run.delegate->performStartup(); });
    EXPECT_EQ(run.record([&] { run.delegate->performShutdownWithoutDisplay(); }),
              (Entries{
                  "App: === OlvaneMac fermeture ===",
                  "App: Connexion à l’écran perdue : fermeture sans affichage",
                  "App: État N&B sauvegardé: true",
                  "forceDisableGrayscale",
                  "clearWatchdogPID",
                  "CrashRecovery: État effacé (fermeture propre)",
                  "CrashRecovery: Fermeture propre enregistrée",
                  "App: Fermeture propre terminée",
              }));
    EXPECT_FALSE(run.hasRecord());
    EXPECT_TRUE(run.storedSettings().grayscaleWasActiveOnShutdown);
}

// The desktop could not take the user's settings back (its session bus went with the Shell): the
// record and the PID file stay, so that the next launch, or the agent's next start, gives them
// back.
TEST(AppDelegate, SettingsTheDesktopKeptEndTheRunAsACrashWould) {
    ManualRunLoop loop;
    MemoryKeyValueStore store;
    Launch run(loop, store);
    run.settings->settings().userWantsGrayscaleEnabled = true;
    run.record([&] { run.delegate->performStartup(); });
    run.services->desktopKeepsValues = true;
    EXPECT_EQ(
        run.record([&] { run.delegate->performShutdownWithoutDisplay(); }),
        (Entries{
            "App: === OlvaneMac fermeture ===",
            "App: Connexion à l’écran perdue : fermeture sans affichage",
            "App: État N&B sauvegardé: true",
            "forceDisableGrayscale",
            "App: ⚠️ Réglages du bureau de l’utilisateur non rendus : ils seront remis au "
            "prochain lancement",
            "App: Fermeture propre terminée",
        }));
    EXPECT_TRUE(run.hasRecord());

    Launch next(loop, store);
    const auto startup = next.record([&] { next.delegate->performStartup(); });
    EXPECT_TRUE(next.crashRecovery->crashDetected());
    EXPECT_NE(std::find(startup.begin(), startup.end(), "forceDisableGrayscale"), startup.end());
}

TEST(AppDelegate, QuittingDuringAnUninstallLeavesEverythingToIt) {
    ManualRunLoop loop;
    MemoryKeyValueStore store;
    Launch run(loop, store);
    run.record([&] { run.delegate->performStartup(); });
    const auto writes = store.writeCount();
    run.appState.isUninstalling.set(true);
    EXPECT_EQ(run.record([&] { run.delegate->performShutdown(); }),
              (Entries{
                  "App: === OlvaneMac fermeture ===",
                  "App: Désinstallation en cours — fermeture propre déléguée à UninstallService",
              }));
    EXPECT_EQ(store.writeCount(), writes);
    EXPECT_TRUE(run.hasRecord());
}

TEST(AppDelegate, PauseShortcutsActOnlyWhileTheFilterIsOnAndNotAfterTheDelegate) {
    ManualRunLoop loop;
    MemoryKeyValueStore store;
    Launch run(loop, store);
    run.record([&] { run.delegate->performStartup(); });
    auto pause5 = run.services->onPause5Minutes;
    auto pause3 = run.services->onPause3Seconds;
    ASSERT_TRUE(pause5 && pause3);

    EXPECT_EQ(run.record([&] {
        pause5();
        pause3();
    }),
              Entries{});
    EXPECT_TRUE(run.services->pauses.empty());

    run.appState.isGrayscaleFilterEnabled.set(true);
    EXPECT_EQ(run.record([&] {
        pause5();
        pause3();
    }),
              (Entries{"App: 👆 Pause 5 minutes activée", "pauseGrayscale",
                       "App: 👆 Pause 3 secondes activée", "pauseGrayscale"}));
    EXPECT_EQ(run.services->pauses, (std::vector<std::int64_t>{300, 3}));

    run.delegate.reset();
    EXPECT_EQ(run.record([&] { pause5(); }), Entries{});
}

TEST(AppDelegate, AnyEffectOfAnyTargetStartsMonitoringAtLaunch) {
    for (const auto& [fog, turtle, delay, starts] :
         std::vector<std::tuple<bool, bool, bool, bool>>{{false, false, false, false},
                                                         {true, false, false, true},
                                                         {false, true, false, true},
                                                         {false, false, true, true}}) {
        ManualRunLoop loop;
        MemoryKeyValueStore store;
        Launch run(loop, store);
        RedListConfig idle;
        RedListConfig target;
        target.isFogEnabled = fog;
        target.isTurtleEnabled = turtle;
        target.isDelayEnabled = delay;
        run.settings->settings().redListConfigs = {idle, target};
        const auto entries = run.record([&] { run.delegate->performStartup(); });
        const auto count = std::count(entries.begin(), entries.end(), "startAppMonitoring");
        EXPECT_EQ(count, starts ? 1 : 0) << fog << turtle << delay;
        EXPECT_EQ(std::count(entries.begin(), entries.end(), "recordRunningBrowsers"), 1);
    }
}

}  // namespace
}  // namespace olvane
