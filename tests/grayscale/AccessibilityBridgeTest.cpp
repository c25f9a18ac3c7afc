#include <gtest/gtest.h>

#include "grayscale/AccessibilityBridge.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/SimAccessibilityTrust.h"
#include "platform/sim/SimGrayscaleSwitch.h"

namespace olvane {
namespace {

using platform::LogLevel;

class AccessibilityBridgeTest : public ::testing::Test {
  protected:
    platform::sim::ScopedLogCapture capture_;
    platform::sim::SimGrayscaleSwitch switch_;
    platform::sim::SimAccessibilityTrust trust_{false};
    AccessibilityBridge bridge_{switch_, trust_};
};

TEST_F(AccessibilityBridgeTest, MissingLibraryFailsEveryCallWithoutRetrying) {
    switch_.setLoadable(false);
    EXPECT_FALSE(bridge_.setGrayscaleEnabled(true));
    switch_.setLoadable(true);  // never tried again
    EXPECT_FALSE(bridge_.setGrayscaleEnabled(false));

    EXPECT_EQ(switch_.loadCount(), 1);
    EXPECT_EQ(capture_->count("⚠️ Impossible de charger le filtre N&B simulé"), 2u);
    EXPECT_TRUE(capture_->contains("GrayscaleFilter", LogLevel::Error,
                                   "⚠️ Impossible de charger le filtre N&B simulé"));
    EXPECT_EQ(switch_.enabled(), std::nullopt);
}

TEST_F(AccessibilityBridgeTest, SwitchIsLookedUpOnEveryCall) {
    switch_.setHasSymbol(false);
    EXPECT_FALSE(bridge_.setGrayscaleEnabled(true));
    EXPECT_TRUE(capture_->contains("GrayscaleFilter", LogLevel::Error,
                                   "⚠️ Fonction du filtre N&B simulé non trouvée"));

    switch_.setHasSymbol(true);
    EXPECT_TRUE(bridge_.setGrayscaleEnabled(true));
    EXPECT_EQ(switch_.enabled(), true);
    EXPECT_TRUE(capture_->contains("GrayscaleFilter", LogLevel::Debug, "🔄 Filtre N&B activé"));
    EXPECT_TRUE(bridge_.setGrayscaleEnabled(false));
    EXPECT_EQ(switch_.enabled(), false);
    EXPECT_TRUE(capture_->contains("GrayscaleFilter", LogLevel::Debug, "🔄 Filtre N&B désactivé"));
    EXPECT_EQ(switch_.loadCount(), 1);
}

TEST_F(AccessibilityBridgeTest, DesktopThatRefusesIsReportedNotClaimed) {
    switch_.setFailure("Réglage verrouillé : org.gnome.desktop.a11y.magnifier mag-factor");
    EXPECT_FALSE(bridge_.setGrayscaleEnabled(true));
    EXPECT_TRUE(
        capture_->contains("GrayscaleFilter", LogLevel::Error,
                           "⚠️ Échec de l’activation du filtre N&B du bureau: Réglage "
                           "verrouillé : org.gnome.desktop.a11y.magnifier mag-factor"));
    EXPECT_EQ(capture_->count("🔄 Filtre N&B activé"), 0u);
}

TEST_F(AccessibilityBridgeTest, PermissionCheck) {
    // Untrusted, no prompt: false and not a word.
    EXPECT_FALSE(bridge_.checkAccessibilityPermissions(false));
    EXPECT_TRUE(capture_->texts("App").empty());
    EXPECT_EQ(trust_.promptCount(), 0);

    EXPECT_FALSE(bridge_.checkAccessibilityPermissions(true));
    EXPECT_TRUE(capture_->contains("App", LogLevel::Error,
                                   "Permissions Accessibility refusées ou en attente"));

    trust_.setGrantOnPrompt(true);
    EXPECT_TRUE(bridge_.checkAccessibilityPermissions(true));
    EXPECT_TRUE(capture_->contains("App", LogLevel::Info, "Permissions Accessibility accordées"));

    EXPECT_TRUE(bridge_.checkAccessibilityPermissions(false));
    EXPECT_TRUE(
        capture_->contains("App", LogLevel::Debug, "Permissions Accessibility déjà accordées"));
    EXPECT_EQ(trust_.promptCount(), 2);
}

}  // namespace
}  // namespace olvane
