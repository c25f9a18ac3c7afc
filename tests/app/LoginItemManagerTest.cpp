#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>
#include <set>

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

// The uninstall takes every entry that would start this program at login, the user's own copies of
// the menu entry included, and nothing else; what is no readable file is passed over at once.
TEST(XdgAutostartLoginItemsTest, EveryEntryThatStartsTheProgramGoesAndNothingElse) {
    using platform::os::desktopExecValue;
    test::TempHome home;
    const auto program = home.root() / "Mes programmes" / "OlvaneMac";
    const auto copy = home.root() / "build" / "OlvaneMac";
    for (const auto& file : {program, copy}) {
        fs::create_directories(file.parent_path());
        ASSERT_TRUE(platform::writeFileInPlace(file, "", 0700));
    }
    const auto link = home.root() / "OlvaneMac-lien";
    fs::create_symlink(program, link);
    const auto entry = [](const std::string& exec, const std::string& more = "") {
        return "[Desktop Entry]\nType=Application\nName=OlvaneMac\nExec=" + exec + "\n" + more;
    };
    const std::map<std::string, std::string> going{
        {"so.olvane.mac.desktop", entry(desktopExecValue(program) + " %U")},
        {"OlvaneMac.desktop",
         entry(desktopExecValue(program), "X-GNOME-Autostart-enabled=false\n")},
        {"lien.desktop", entry(desktopExecValue(link))}};
    const std::map<std::string, std::string> staying{
        {"copie.desktop", entry(desktopExecValue(copy))},
        {"autre.desktop", entry("/usr/bin/true " + desktopExecValue(program))},
        {"env.desktop", entry("env A=1 " + desktopExecValue(program))},
        {"notes.txt", entry(desktopExecValue(program))},
        {"illisible.desktop", entry(desktopExecValue(copy))}};
    const auto folder = home.root() / ".config/autostart";
    ASSERT_TRUE(platform::ensurePrivateFolder(folder / "dossier.desktop"));
    ASSERT_EQ(::mkfifo((folder / "fifo.desktop").c_str(), 0600), 0);
    for (const auto* entries : {&going, &staying}) {
        for (const auto& [name, text] : *entries) {
            ASSERT_TRUE(platform::writeFileInPlace(folder / name, text));
        }
    }
    fs::permissions(folder / "illisible.desktop", fs::perms::none);

    platform::os::XdgAutostartLoginItems items(home.paths(), program);
    const auto removal = items.removeEveryEntry();
    EXPECT_TRUE(removal.failures.empty());
    std::vector<fs::path> removed;
    for (const auto& [name, text] : going) {
        removed.push_back(folder / name);
    }
    EXPECT_EQ(removal.removed, removed);
    std::set<std::string> left;
    for (const auto& file : fs::directory_iterator(folder)) {
        left.insert(file.path().filename());
    }
    std::set<std::string> kept{"dossier.desktop", "fifo.desktop"};
    for (const auto& [name, text] : staying) {
        kept.insert(name);
    }
    EXPECT_EQ(left, kept);
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
