#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <memory>

#include "grayscale/HotkeyManager.h"
#include "platform/KeyCodes.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/SimAccessibilityTrust.h"
#include "platform/sim/SimKeyEventSource.h"

namespace olvane {
namespace {

using platform::KeyModifier;
using platform::KeyModifiers;
using platform::LogLevel;
using platform::sim::ScopedLogCapture;

constexpr std::uint16_t kA = 12, kZ = 13, kP = 35, kM = 41, kN = 45, kB = 11, kSpace = 49;
const KeyModifiers kHyper = KeyModifier::Control | KeyModifier::Option | KeyModifier::Command;

class HotkeyManagerTest : public ::testing::Test {
  protected:
    HotkeyManagerTest() {
        hotkeys->onPause3Seconds = [this] { ++pauses3s; };
        hotkeys->onPause5Minutes = [this] {
            ++pauses5min;
            waitingWhenCalled = hotkeys->isWaitingForSequence();
        };
        hotkeys->startMonitoring();
    }

    void type(std::initializer_list<std::uint16_t> typed, double gapSeconds = 0.5) {
        for (const auto key : typed) {
            keys.pressGlobal(key);
            loop.advanceSeconds(gapSeconds);
        }
    }

    platform::sim::ManualRunLoop loop;
    platform::sim::SimKeyEventSource keys;
    platform::sim::SimAccessibilityTrust trust{true};
    std::unique_ptr<HotkeyManager> hotkeys = std::make_unique<HotkeyManager>(loop, keys, trust);
    int pauses3s = 0;
    int pauses5min = 0;
    bool waitingWhenCalled = true;
};

TEST_F(HotkeyManagerTest, StartReportsPermissionAndMonitorsAndStopRemovesThem) {
    ScopedLogCapture capture;
    trust.setTrusted(false);
    keys.refuseGlobal(true);
    HotkeyManager other(loop, keys, trust);
    other.startMonitoring();
    EXPECT_EQ(capture->texts("Hotkeys"),
              (std::vector<std::string>{
                  "🔥 Démarrage de la surveillance des raccourcis",
                  "📋 Raccourcis: Ctrl+Alt+Super+A (3s), Ctrl+Alt+Super+Z puis PMNB (5min)",
                  "🔑 Permissions Accessibility: MANQUANTES",
                  "⚠️ Les raccourcis globaux ne fonctionneront pas sans les permissions "
                  "Accessibility",
                  "❌ Échec création du moniteur global",
                  "✓ Moniteur local créé",
              }));
    EXPECT_TRUE(
        capture->contains("Hotkeys", LogLevel::Error, "❌ Échec création du moniteur global"));
    // The local monitor still works.
    keys.pressLocal({kA, kHyper, false});
    loop.runPending();
    EXPECT_EQ(pauses3s, 1);

    capture->clear();
    hotkeys->stopMonitoring();
    EXPECT_TRUE(
        capture->contains("Hotkeys", LogLevel::Info, "Surveillance des raccourcis arrêtée"));
    EXPECT_FALSE(hotkeys->isMonitoring());
    EXPECT_EQ(keys.globalMonitorCount(), 0u);
    EXPECT_EQ(keys.localMonitorCount(), 1u);  // the other manager's
}

TEST_F(HotkeyManagerTest, ThreeSecondShortcutNeedsTheThreeModifiersAndRunsAfterTheKey) {
    ScopedLogCapture capture;
    keys.pressGlobal(kA, kHyper | KeyModifier::Shift | KeyModifier::CapsLock);
    EXPECT_EQ(pauses3s, 0);  // queued, not called from inside the key handler
    loop.runPending();
    EXPECT_EQ(pauses3s, 1);
    EXPECT_TRUE(capture->contains("Hotkeys", LogLevel::Info,
                                  "👆 🎹 Ctrl+Alt+Super+A détecté → Pause 3 secondes"));
    EXPECT_TRUE(capture->contains("Hotkeys", LogLevel::Debug,
                                  "keyCode=12 | Ctrl=true Alt=true Super=true"));
    // What was typed never reaches a persistent log.
    EXPECT_EQ(capture->lines().front().redacted,
              "keyCode=<private> | Ctrl=true Alt=true Super=true");

    keys.pressGlobal(kA, KeyModifier::Control | KeyModifier::Option);
    keys.pressGlobal(kA, KeyModifier::Control | KeyModifier::Command);
    keys.pressGlobal(kA);
    keys.pressGlobal(kSpace, kHyper);
    loop.runPending();
    EXPECT_EQ(pauses3s, 1);
    EXPECT_FALSE(hotkeys->isWaitingForSequence());

    // On a QWERTY keyboard the same key position is Q.
    keys.pressGlobal(*platform::keyCodeForEvdev(KEY_Q), kHyper);
    loop.runPending();
    EXPECT_EQ(pauses3s, 2);
}

TEST_F(HotkeyManagerTest, SequenceCompletesWithGapsBelowThreeSecondsAndRunsAfterTheReset) {
    ScopedLogCapture capture;
    keys.pressGlobal(kZ, kHyper);
    EXPECT_TRUE(capture->contains("Hotkeys", LogLevel::Default,
                                  "🎹 Ctrl+Alt+Super+Z détecté → En attente de séquence P-M-N-B"));
    EXPECT_TRUE(hotkeys->isWaitingForSequence());
    loop.advanceSeconds(2.9);
    // QWERTY positions: P, semicolon, N, B; no modifiers needed in the sequence.
    type({*platform::keyCodeForEvdev(KEY_P), *platform::keyCodeForEvdev(KEY_SEMICOLON),
          *platform::keyCodeForEvdev(KEY_N)},
         2.9);
    EXPECT_EQ(hotkeys->sequenceBuffer(), (std::vector<std::uint16_t>{kP, kM, kN}));
    keys.pressGlobal(kB);
    EXPECT_FALSE(hotkeys->isWaitingForSequence());
    EXPECT_EQ(pauses5min, 0);
    loop.runPending();
    EXPECT_EQ(pauses5min, 1);
    EXPECT_FALSE(waitingWhenCalled);
    for (const char* line : {"✓ Séquence: 1/4 - Touche P OK", "✓ Séquence: 2/4 - Touche M OK",
                             "✓ Séquence: 3/4 - Touche N OK", "✓ Séquence: 4/4 - Touche B OK",
                             "👆 🎹 Séquence P-M-N-B complète → Pause 5 minutes"}) {
        EXPECT_TRUE(capture->contains(line)) << line;
    }
    // The timer started by the last key went with the reset.
    loop.advanceSeconds(10);
    EXPECT_FALSE(capture->contains("⏰ Timeout séquence, reset"));
    EXPECT_EQ(pauses3s, 0);
}

TEST_F(HotkeyManagerTest, WrongKeysEndTheSequenceAutoRepeatAndTheShortcutIncluded) {
    ScopedLogCapture capture;
    // Holding Z: its repeat is the first sequence key, and a wrong one.
    keys.pressGlobal(kZ, kHyper);
    keys.pressGlobal(kZ, kHyper, true);
    EXPECT_TRUE(capture->contains("Hotkeys", LogLevel::Default,
                                  "✗ Touche incorrecte: Z (attendu: P), reset séquence"));
    EXPECT_FALSE(hotkeys->isWaitingForSequence());

    // During the wait the 3-second shortcut is a wrong key, not a pause.
    type({kZ});
    keys.pressGlobal(kZ, kHyper);
    type({kP});
    keys.pressGlobal(kA, kHyper);
    loop.runPending();
    EXPECT_EQ(pauses3s, 0);
    EXPECT_TRUE(capture->contains("✗ Touche incorrecte: A (attendu: M), reset séquence"));

    // Keys without a name show their code; after a wrong key the user starts again from Z.
    keys.pressGlobal(kZ, kHyper);
    type({kP, kM, kSpace, kN, kB});
    EXPECT_TRUE(capture->contains("✗ Touche incorrecte: (49) (attendu: N), reset séquence"));
    EXPECT_EQ(pauses5min, 0);
}

TEST_F(HotkeyManagerTest, AGapOfThreeSecondsTimesOutAndTheNextKeyIsIgnored) {
    ScopedLogCapture capture;
    keys.pressGlobal(kZ, kHyper);
    type({kP, kM}, 2.9);
    loop.advanceSeconds(0.1);  // 3.0 s after M
    EXPECT_EQ(capture->count("⏰ Timeout séquence, reset"), 1u);
    EXPECT_FALSE(hotkeys->isWaitingForSequence());
    EXPECT_TRUE(hotkeys->sequenceBuffer().empty());

    capture->clear();
    type({kN, kB});
    loop.runPending();
    EXPECT_EQ(pauses5min, 0);
    EXPECT_FALSE(capture->contains("✗ Touche incorrecte: N (attendu: N), reset séquence"));
    for (const auto& text : capture->texts("Hotkeys")) {
        EXPECT_EQ(text.rfind("keyCode=", 0), 0u) << text;  // only the debug lines
    }
}

TEST_F(HotkeyManagerTest, WithoutCallbacksOrManagerNothingRuns) {
    ScopedLogCapture capture;
    hotkeys->onPause5Minutes = nullptr;
    keys.pressGlobal(kZ, kHyper);
    type({kP, kM, kN, kB});
    EXPECT_TRUE(capture->contains("👆 🎹 Séquence P-M-N-B complète → Pause 5 minutes"));
    EXPECT_EQ(pauses5min, 0);

    // A pause queued by a manager that goes away before the loop runs it is dropped.
    keys.pressGlobal(kA, kHyper);
    hotkeys.reset();
    loop.runPending();
    EXPECT_EQ(pauses3s, 0);
    EXPECT_EQ(keys.globalMonitorCount(), 0u);
    EXPECT_EQ(loop.pendingCount(), 0u);
}

TEST(HotkeyManagerKeyNames, NamedKeysUseTheirAzertyLetterOthersTheirCode) {
    const std::vector<std::pair<std::uint16_t, std::string>> names{
        {11, "B"}, {12, "A"},    {13, "Z"},  {35, "P"},         {41, "M"},
        {45, "N"}, {49, "(49)"}, {0, "(0)"}, {65535, "(65535)"}};
    for (const auto& [code, name] : names) {
        EXPECT_EQ(HotkeyManager::keyName(code), name);
    }
}

}  // namespace
}  // namespace olvane
