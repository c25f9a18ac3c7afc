// GNOME's zoom through GSettings on a keyfile back-end in a temporary HOME, with the schemas
// that the system has installed.
#include <gtest/gtest.h>

#include "platform/FileIO.h"
#include "platform/linux/GnomeZoomSwitch.h"
#include "support/KeyfileSettings.h"
#include "support/TempHome.h"

namespace olvane::platform::os {
namespace {

constexpr const char* kMagnifier = "org.gnome.desktop.a11y.magnifier";
constexpr const char* kApplications = "org.gnome.desktop.a11y.applications";

class GnomeZoomSwitchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!GnomeZoomSwitch::schemasInstalled()) {
            GTEST_SKIP() << "gsettings-desktop-schemas is not installed";
        }
        // A user of the zoom: their own factor and lens, the rest left at its defaults.
        settings_.write("[org/gnome/desktop/a11y/magnifier]\nmag-factor=3.5\nlens-mode=true\n");
    }

    std::optional<std::string> value(const char* key, const char* schema = kMagnifier) const {
        return settings_.value(schema, key);
    }
    void expectUserValues() const {
        EXPECT_EQ(value("mag-factor"), "3.5");
        EXPECT_EQ(value("lens-mode"), "true");
        EXPECT_EQ(value("color-saturation"), std::nullopt);
        EXPECT_EQ(value("screen-position"), std::nullopt);
        EXPECT_EQ(value("screen-magnifier-enabled", kApplications), std::nullopt);
    }

    test::TempHome home_;
    test::KeyfileSettings settings_{home_};
    std::filesystem::path savedFile_ = home_.paths().dataFolder() / "gnome-zoom-saved.json";
    GnomeZoomSwitch zoom_{home_.paths(), GnomeZoomSwitch::MainContext::DispatchBeforeUse};
};

TEST_F(GnomeZoomSwitchTest, GreyThenTheUserValuesBack) {
    ASSERT_TRUE(zoom_.load());
    ASSERT_TRUE(zoom_.setEnabled(true));
    EXPECT_EQ(value("screen-magnifier-enabled", kApplications), "true");
    EXPECT_EQ(value("mag-factor"), "1.0");
    EXPECT_EQ(value("color-saturation"), "0.0");
    EXPECT_EQ(value("lens-mode"), "false");
    EXPECT_EQ(value("screen-position"), "'full-screen'");
    EXPECT_EQ(test::permissionsOf(savedFile_), 0600u);

    ASSERT_TRUE(zoom_.setEnabled(false));
    expectUserValues();
    EXPECT_FALSE(existsAtPath(savedFile_));
}

TEST_F(GnomeZoomSwitchTest, SecondSwitchOnAfterACrashKeepsTheFirstSavedValues) {
    ASSERT_TRUE(zoom_.setEnabled(true));
    const auto saved = readWholeFile(savedFile_);
    // The run that switched on died; the next one switches on again over the grey zoom.
    GnomeZoomSwitch nextRun(home_.paths(), GnomeZoomSwitch::MainContext::DispatchBeforeUse);
    ASSERT_TRUE(nextRun.setEnabled(true));
    EXPECT_EQ(readWholeFile(savedFile_), saved);

    ASSERT_TRUE(nextRun.setEnabled(false));
    expectUserValues();
}

TEST_F(GnomeZoomSwitchTest, OffTouchesOnlyWhatASwitchOnChanged) {
    // Nothing saved: the zoom is the user's, and stays as it is.
    ASSERT_TRUE(zoom_.setEnabled(false));
    expectUserValues();

    // Saved values that cannot be read: colour comes back through the defaults, and the loss is
    // reported.
    ASSERT_TRUE(zoom_.setEnabled(true));
    ASSERT_TRUE(writeFileAtomically(savedFile_, "{\"mag-factor"));
    const auto status = zoom_.setEnabled(false);
    EXPECT_FALSE(status);
    EXPECT_NE(status.description().text().find("illisibles"), std::string::npos);
    EXPECT_EQ(value("screen-magnifier-enabled", kApplications), std::nullopt);
    EXPECT_EQ(value("color-saturation"), std::nullopt);
    EXPECT_EQ(value("mag-factor"), std::nullopt);
    EXPECT_FALSE(existsAtPath(savedFile_));
}

}  // namespace
}  // namespace olvane::platform::os
