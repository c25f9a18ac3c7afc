// GNOME's zoom through GSettings on a keyfile back-end in a temporary HOME, with the schemas
// that the system has installed.
#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gio.h>
#include <gio/gsettingsbackend.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <thread>

#include "platform/FileIO.h"
#include "platform/Paths.h"
#include "platform/linux/GnomeZoomSwitch.h"
#include "platform/linux/InotifyFileWatcher.h"
#include "platform/sim/ManualRunLoop.h"
#include "support/ChildProcess.h"
#include "support/KeyfileSettings.h"
#include "support/PrivateSessionBus.h"
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

    // Gives the main context turns, as Qt's loop does, until `done`.
    static bool dispatchUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done() && std::chrono::steady_clock::now() < deadline) {
            if (!g_main_context_iteration(nullptr, FALSE)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        }
        return done();
    }
    // What the Shell's menu or keys do: another process writes the key; then this process
    // has seen it.
    static void userSets(const char* schema, const char* key, const char* value) {
        test::ChildProcess gsettings("/usr/bin/gsettings", {"set", schema, key, value});
        ASSERT_TRUE(gsettings.wait(std::chrono::seconds(10)));
        seenHere(schema, key, value);
    }
    static void seenHere(const char* schema, const char* key, const char* value) {
        GSettings* settings = g_settings_new(schema);
        ASSERT_TRUE(dispatchUntil([&] {
            GVariant* now = g_settings_get_value(settings, key);
            gchar* text = g_variant_print(now, FALSE);
            const bool seen = std::string(text) == value;
            g_free(text);
            g_variant_unref(now);
            return seen;
        }));
        g_object_unref(settings);
    }

    test::TempHome home_;
    test::KeyfileSettings settings_{home_};
    std::filesystem::path savedFile_ = home_.paths().dataFolder() / "gnome-zoom-saved.json";
    GnomeZoomSwitch zoom_{home_.paths(), GnomeZoomSwitch::MainContext::DispatchBeforeUse};
};

// A run that switches on and dies; its watch goes with it.
bool switchOnInARunThatDies(const Paths& paths) {
    return GnomeZoomSwitch(paths, GnomeZoomSwitch::MainContext::DispatchBeforeUse)
        .setEnabled(true)
        .ok();
}

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
    ASSERT_TRUE(switchOnInARunThatDies(home_.paths()));
    const auto saved = readWholeFile(savedFile_);
    // The next run switches on again over the grey zoom.
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

    // Saved values that cannot be read by the next run: colour comes back through the
    // defaults, and the loss is reported.
    ASSERT_TRUE(switchOnInARunThatDies(home_.paths()));
    ASSERT_TRUE(writeFileAtomically(savedFile_, "{\"mag-factor"));
    GnomeZoomSwitch nextRun(home_.paths(), GnomeZoomSwitch::MainContext::DispatchBeforeUse);
    const auto status = nextRun.setEnabled(false);
    EXPECT_FALSE(status);
    EXPECT_NE(status.description().text().find("illisibles"), std::string::npos);
    EXPECT_EQ(value("screen-magnifier-enabled", kApplications), std::nullopt);
    EXPECT_EQ(value("color-saturation"), std::nullopt);
    EXPECT_EQ(value("mag-factor"), std::nullopt);
    EXPECT_FALSE(existsAtPath(savedFile_));

    // The same loss after the user put every key back by hand costs nothing: none is reported.
    ASSERT_TRUE(switchOnInARunThatDies(home_.paths()));
    ASSERT_TRUE(writeFileAtomically(savedFile_, "{\"mag-factor"));
    settings_.write("[org/gnome/desktop/a11y/magnifier]\nmag-factor=3.5\nlens-mode=true\n");
    seenHere(kApplications, "screen-magnifier-enabled", "false");
    GnomeZoomSwitch thirdRun(home_.paths(), GnomeZoomSwitch::MainContext::DispatchBeforeUse);
    EXPECT_TRUE(thirdRun.setEnabled(false));
    expectUserValues();
    EXPECT_FALSE(existsAtPath(savedFile_));
}

TEST_F(GnomeZoomSwitchTest, UnreadableSavedValuesOverAZoomNotGreyAreNoOnes) {
    std::filesystem::create_directories(savedFile_.parent_path());
    ASSERT_TRUE(writeFileAtomically(savedFile_, "{\"mag-factor"));
    ASSERT_TRUE(zoom_.setEnabled(true));
    ASSERT_TRUE(zoom_.setEnabled(false));
    expectUserValues();
}

TEST_F(GnomeZoomSwitchTest, ARemovedDataFolderNeverLeavesTheZoomGrey) {
    ASSERT_TRUE(zoom_.setEnabled(true));
    std::filesystem::remove_all(home_.paths().dataFolder());
    ASSERT_TRUE(zoom_.setEnabled(true));  // applied again, after a wake
    EXPECT_TRUE(existsAtPath(savedFile_)) << "written again for the watchdog";
    std::filesystem::remove_all(home_.paths().dataFolder());
    ASSERT_TRUE(zoom_.setEnabled(false));
    expectUserValues();
}

// The watchdog follows the file from its start: the values are still known once a removal of
// the data folder took it, whether that was heard of before the reset or not, or once something
// else than values took its place. Values the application gave back stay given back.
TEST_F(GnomeZoomSwitchTest, AFollowerKnowsTheValuesOnlyWhileTheyWaitToBeGivenBack) {
    sim::ManualRunLoop loop;
    InotifyFileWatcher files(loop);
    GnomeZoomSwitch watchdog(home_.paths(), GnomeZoomSwitch::MainContext::DispatchBeforeUse,
                             &files);
    watchdog.followSavedValues();
    for (const bool heard : {false, true}) {
        SCOPED_TRACE(heard);
        ASSERT_TRUE(switchOnInARunThatDies(home_.paths()));
        loop.processIo();
        std::filesystem::remove_all(home_.paths().dataFolder());
        if (heard) {
            loop.processIo();
            ASSERT_TRUE(ensurePrivateFolder(home_.paths().dataFolder()));
            loop.processIo();
        }
        ASSERT_TRUE(watchdog.setEnabled(false));
        expectUserValues();
    }
    ASSERT_TRUE(switchOnInARunThatDies(home_.paths()));
    loop.processIo();
    std::filesystem::remove(savedFile_);
    ASSERT_EQ(::mkfifo(savedFile_.c_str(), 0600), 0);
    loop.processIo();
    ASSERT_TRUE(watchdog.setEnabled(false));
    expectUserValues();

    ASSERT_TRUE(zoom_.setEnabled(true));
    loop.processIo();
    ASSERT_TRUE(zoom_.setEnabled(false));
    loop.processIo();
    userSets(kApplications, "screen-magnifier-enabled", "true");
    ASSERT_TRUE(watchdog.setEnabled(false));
    EXPECT_EQ(value("screen-magnifier-enabled", kApplications), "true");
}

// A grey zoom of the user's own (a common trick) is theirs: only saved values make it ours.
TEST_F(GnomeZoomSwitchTest, TheUsersOwnGreyZoomStaysTheirs) {
    settings_.write(
        "[org/gnome/desktop/a11y/magnifier]\nmag-factor=1.0\ncolor-saturation=0.0\n\n"
        "[org/gnome/desktop/a11y/applications]\nscreen-magnifier-enabled=true\n");
    const auto expectTheirGreyZoom = [&] {
        EXPECT_EQ(value("screen-magnifier-enabled", kApplications), "true");
        EXPECT_EQ(value("color-saturation"), "0.0");
        EXPECT_EQ(value("mag-factor"), "1.0");
    };
    // With nothing saved, a switch off (the watchdog's, the reset after a crash) leaves it.
    ASSERT_TRUE(zoom_.setEnabled(false));
    expectTheirGreyZoom();
    ASSERT_TRUE(zoom_.setEnabled(true));
    ASSERT_TRUE(zoom_.setEnabled(false));
    expectTheirGreyZoom();
}

// The watchdog reads only the file: a data folder removed while grey and made again by the
// application gets the user's values again.
TEST_F(GnomeZoomSwitchTest, ADataFolderMadeAgainHoldsTheSavedValuesForTheWatchdog) {
    sim::ManualRunLoop loop;
    InotifyFileWatcher files(loop);
    {
        GnomeZoomSwitch died(home_.paths(), GnomeZoomSwitch::MainContext::DispatchBeforeUse,
                             &files);
        ASSERT_TRUE(died.setEnabled(true));
        std::filesystem::remove_all(home_.paths().dataFolder());
        ASSERT_TRUE(ensurePrivateFolder(home_.paths().dataFolder()));
        for (int turn = 0; turn < 100 && !existsAtPath(savedFile_); ++turn) {
            loop.processIo(std::chrono::milliseconds(50));
        }
    }
    GnomeZoomSwitch watchdog(home_.paths(), GnomeZoomSwitch::MainContext::DispatchBeforeUse);
    ASSERT_TRUE(watchdog.setEnabled(false));
    expectUserValues();
}

TEST_F(GnomeZoomSwitchTest, WhatTheUserDoesToTheZoomWhileGreyStays) {
    bool switchedOff = false;
    const auto observation = zoom_.observeSwitchOffElsewhere([&] { switchedOff = true; });

    // A factor changed while grey is the user's newer one; applied again after a wake, only
    // what makes the screen grey comes back.
    ASSERT_TRUE(zoom_.setEnabled(true));
    userSets(kMagnifier, "mag-factor", "2.0");
    userSets(kMagnifier, "color-saturation", "0.5");
    ASSERT_TRUE(zoom_.setEnabled(true));
    EXPECT_EQ(value("mag-factor"), "2.0");
    EXPECT_EQ(value("color-saturation"), "0.0");
    ASSERT_TRUE(zoom_.setEnabled(false));
    EXPECT_EQ(value("mag-factor"), "2.0");
    EXPECT_EQ(value("lens-mode"), "true");
    EXPECT_EQ(value("color-saturation"), std::nullopt);
    EXPECT_FALSE(switchedOff);

    // The zoom switched off from the Shell: the user's own values come back at once.
    userSets(kMagnifier, "mag-factor", "3.5");
    ASSERT_TRUE(zoom_.setEnabled(true));
    userSets(kApplications, "screen-magnifier-enabled", "false");
    ASSERT_TRUE(dispatchUntil([&] { return switchedOff; }));
    EXPECT_EQ(value("screen-magnifier-enabled", kApplications), "false");
    EXPECT_EQ(value("mag-factor"), "3.5");
    EXPECT_EQ(value("lens-mode"), "true");
    EXPECT_EQ(value("color-saturation"), std::nullopt);
    EXPECT_FALSE(existsAtPath(savedFile_));

    // Nothing is left to undo: the user's zoom stays as they have it.
    userSets(kApplications, "screen-magnifier-enabled", "true");
    ASSERT_TRUE(zoom_.setEnabled(false));
    EXPECT_EQ(value("screen-magnifier-enabled", kApplications), "true");
    EXPECT_EQ(value("color-saturation"), std::nullopt);
}

// dconf, as GNOME runs it: its writer goes with the session bus, and a switch off it refuses
// keeps the user's values for a later one.
TEST(GnomeZoomSwitchOverDconfTest, ASwitchOffTheStoreRefusesKeepsTheUserValues) {
    test::TempHome home;
    test::PrivateSessionBus bus;
    ::setenv("GSETTINGS_BACKEND", "dconf", 1);
    if (!bus.ready() || !GnomeZoomSwitch::schemasInstalled() ||
        std::string(G_OBJECT_TYPE_NAME(g_settings_backend_get_default())) !=
            "DConfSettingsBackend") {
        GTEST_SKIP() << "dconf or gsettings-desktop-schemas is not installed";
    }
    GSettings* magnifier = g_settings_new(kMagnifier);
    ASSERT_TRUE(g_settings_set_double(magnifier, "mag-factor", 2.5));
    g_settings_sync();
    GnomeZoomSwitch zoom(home.paths(), GnomeZoomSwitch::MainContext::DispatchBeforeUse);
    ASSERT_TRUE(zoom.setEnabled(true));
    ASSERT_EQ(g_settings_get_double(magnifier, "mag-factor"), 1.0);

    // GDBus ends a program whose session bus goes (OlvaneMac's SIGTERM runs its clean
    // shutdown); this test goes on.
    GDBusConnection* connection = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    g_dbus_connection_set_exit_on_close(connection, FALSE);
    g_object_unref(connection);
    bus.daemon().signal(SIGKILL);
    ASSERT_TRUE(bus.daemon().wait(std::chrono::seconds(10)));

    const auto status = zoom.setEnabled(false);
    EXPECT_FALSE(status);
    EXPECT_NE(status.description().text().find("non rendus"), std::string::npos)
        << status.description();
    EXPECT_EQ(g_settings_get_double(magnifier, "mag-factor"), 1.0);
    EXPECT_TRUE(zoom.keepsUserValues());
    const auto saved = readWholeFile(home.paths().dataFolder() / "gnome-zoom-saved.json");
    EXPECT_NE(saved.value_or("").find("\"mag-factor\": \"2.5\""), std::string::npos) << *saved;
    g_object_unref(magnifier);
    ::unsetenv("GSETTINGS_BACKEND");
}

}  // namespace
}  // namespace olvane::platform::os
