#include <gtest/gtest.h>

#include "app/LoginItemManager.h"
#include "platform/FileIO.h"
#include "platform/linux/XdgAutostartLoginItems.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/MemoryKeyValueStore.h"
#include "platform/sim/MemoryLoginItems.h"
#include "support/TempHome.h"

namespace olvane {
namespace {

namespace fs = std::filesystem;
using platform::LogLevel;
using platform::ServiceStatus;

class LoginItemManagerTest : public ::testing::Test {
  protected:
    std::vector<std::string> lines() { return capture_->texts("App"); }
    // `launchAtLogin` as stored, nullopt while nothing was saved.
    std::optional<bool> stored() {
        if (store_.writeCount() == 0) {
            return std::nullopt;
        }
        SettingsManager reloaded(store_, loop_.clock());
        return reloaded.settings().launchAtLogin;
    }
    void setLaunchAtLogin(bool value) { settings_.settings().launchAtLogin = value; }

    platform::sim::ScopedLogCapture capture_;
    platform::sim::ManualRunLoop loop_;
    platform::sim::MemoryKeyValueStore store_;
    SettingsManager settings_{store_, loop_.clock()};
    platform::sim::MemoryLoginItems items_;
    LoginItemManager manager_{items_, settings_};
};

TEST_F(LoginItemManagerTest, EnableRegistersAndStoresTheSetting) {
    EXPECT_TRUE(manager_.enable());
    EXPECT_TRUE(capture_->contains("App", LogLevel::Info, "Démarrage au login activé avec succès"));
    EXPECT_EQ(stored(), true);
    EXPECT_TRUE(settings_.settings().launchAtLogin);

    capture_->clear();
    EXPECT_TRUE(manager_.enable());
    EXPECT_EQ(lines(), std::vector<std::string>{"Démarrage au login déjà activé"});
    EXPECT_EQ(items_.registerCount(), 1);

    // Every status but enabled registers.
    for (const auto status : {ServiceStatus::RequiresApproval, ServiceStatus::NotFound}) {
        items_.setStatus(status);
        EXPECT_TRUE(manager_.enable());
    }
    EXPECT_EQ(items_.registerCount(), 3);
}

TEST_F(LoginItemManagerTest, FailuresAreLoggedReturnedAndLeaveTheSettingAlone) {
    items_.failWith("Opération non permise");
    const auto enabled = manager_.enable();
    EXPECT_FALSE(enabled);
    EXPECT_EQ(enabled.description(), "Opération non permise");
    EXPECT_TRUE(capture_->contains(
        "App", LogLevel::Error,
        "⚠️ Échec de l'activation du démarrage au login: Opération non permise"));

    items_.setStatus(ServiceStatus::Enabled);
    EXPECT_FALSE(manager_.disable());
    EXPECT_TRUE(capture_->contains(
        "App", LogLevel::Error,
        "⚠️ Échec de la désactivation du démarrage au login: Opération non permise"));
    EXPECT_EQ(stored(), std::nullopt);
}

TEST_F(LoginItemManagerTest, DisableCountsEveryOtherStatusAsDisabled) {
    items_.setStatus(ServiceStatus::RequiresApproval);
    EXPECT_TRUE(manager_.disable());
    EXPECT_EQ(lines(), std::vector<std::string>{"Démarrage au login déjà désactivé"});
    EXPECT_EQ(items_.unregisterCount(), 0);

    items_.setStatus(ServiceStatus::Enabled);
    EXPECT_TRUE(manager_.disable());
    EXPECT_TRUE(
        capture_->contains("App", LogLevel::Info, "Démarrage au login désactivé avec succès"));
    EXPECT_EQ(stored(), false);
}

TEST_F(LoginItemManagerTest, SyncFollowsTheStoredSetting) {
    items_.setStatus(ServiceStatus::Enabled);
    setLaunchAtLogin(true);
    manager_.syncWithSettings();
    items_.setStatus(ServiceStatus::RequiresApproval);
    setLaunchAtLogin(false);
    manager_.syncWithSettings();
    EXPECT_TRUE(lines().empty()) << "nothing to do, nothing said";
    EXPECT_EQ(items_.registerCount() + items_.unregisterCount(), 0);

    items_.setStatus(ServiceStatus::NotRegistered);
    setLaunchAtLogin(true);
    manager_.syncWithSettings();
    EXPECT_EQ(items_.status(), ServiceStatus::Enabled);
    EXPECT_EQ(stored(), true);
    setLaunchAtLogin(false);
    manager_.syncWithSettings();
    EXPECT_EQ(items_.status(), ServiceStatus::NotRegistered);
    EXPECT_EQ(stored(), false);

    capture_->clear();
    items_.failWith("Refusé");
    setLaunchAtLogin(true);
    manager_.syncWithSettings();
    EXPECT_EQ(lines(),
              (std::vector<std::string>{
                  "⚠️ Échec de l'activation du démarrage au login: Refusé",
                  "⚠️ Impossible de synchroniser l'état du démarrage au login: Refusé"}));
}

TEST(XdgAutostartLoginItemsTest, AutostartEntryFollowsRegistration) {
    test::TempHome home;
    const auto program = home.root() / "Mes programmes" / "OlvaneMac";
    platform::os::XdgAutostartLoginItems items(home.paths(), program);
    EXPECT_EQ(items.status(), ServiceStatus::NotFound);
    EXPECT_FALSE(items.registerApplication());

    fs::create_directories(program.parent_path());
    ASSERT_TRUE(platform::writeFileInPlace(program, "", 0700));
    EXPECT_EQ(items.status(), ServiceStatus::NotRegistered);
    ASSERT_TRUE(items.registerApplication());
    const auto entry = home.root() / ".config/autostart/OlvaneMac.desktop";
    EXPECT_EQ(platform::readWholeFile(entry),
              "[Desktop Entry]\nType=Application\nName=OlvaneMac\n"
              "Exec=\"" +
                  program.string() + "\"\nTerminal=false\n");
    EXPECT_EQ(items.status(), ServiceStatus::Enabled);

    // One that starts a copy elsewhere (as a run from a build tree wrote it) is not this
    // program's: registering puts this one in its place.
    const auto elsewhere =
        platform::os::XdgAutostartLoginItems::entryText(home.root() / "build" / "OlvaneMac");
    ASSERT_TRUE(platform::writeFileInPlace(entry, elsewhere));
    EXPECT_EQ(items.status(), ServiceStatus::NotRegistered);
    ASSERT_TRUE(items.registerApplication());
    EXPECT_EQ(items.status(), ServiceStatus::Enabled);

    // Switched off in the desktop's settings.
    ASSERT_TRUE(platform::writeFileInPlace(entry, "[Desktop Entry]\nHidden=true\n"));
    EXPECT_EQ(items.status(), ServiceStatus::NotRegistered);

    EXPECT_TRUE(items.unregisterApplication());
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_TRUE(items.unregisterApplication()) << "already gone is fine";
}

TEST(XdgAutostartLoginItemsTest, ExecValueQuotesAndEscapes) {
    using platform::os::desktopExecValue;
    EXPECT_EQ(desktopExecValue("/usr/bin/OlvaneMac"), "/usr/bin/OlvaneMac");
    EXPECT_EQ(desktopExecValue("/opt/a b/OlvaneMac"), "\"/opt/a b/OlvaneMac\"");
    EXPECT_EQ(desktopExecValue("/opt/$x\"y/a\\b"), "\"/opt/\\\\$x\\\\\"y/a\\\\\\\\b\"");
    EXPECT_EQ(desktopExecValue("/opt/100%/OlvaneMac"), "/opt/100%%/OlvaneMac");
}

}  // namespace
}  // namespace olvane
