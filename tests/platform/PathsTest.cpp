#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "platform/Paths.h"
#include "support/TempHome.h"

namespace olvane::platform {
namespace {

Paths pathsFrom(std::map<std::string, std::string> env) {
    return Paths([env](const std::string& name) -> std::optional<std::string> {
        const auto it = env.find(name);
        return it == env.end() ? std::nullopt : std::optional(it->second);
    });
}

TEST(Paths, DerivesEveryPlaceFromHomeAndTheXdgVariables) {
    const auto defaults = pathsFrom({{"HOME", "/home/u"}});
    EXPECT_EQ(defaults.dataFolder(), "/home/u/.local/share/OlvaneMac");
    EXPECT_EQ(defaults.sharedContainer(), "/home/u/.local/share/group.so.olvane.shared");
    EXPECT_EQ(defaults.cachesFolder(), "/home/u/.cache/OlvaneMac");
    EXPECT_EQ(defaults.defaultsFile(), "/home/u/.config/OlvaneMac/defaults.json");
    EXPECT_EQ(defaults.watchdogUnitFile(),
              "/home/u/.config/systemd/user/com.olvane.watchdog.service");
    EXPECT_EQ(defaults.autostartEntry(), "/home/u/.config/autostart/OlvaneMac.desktop");
    EXPECT_EQ(defaults.trashFolder(), "/home/u/.local/share/Trash");
    // No session runtime folder: a private one under the cache, never /tmp.
    EXPECT_FALSE(defaults.hasSessionRuntimeDir());
    EXPECT_EQ(defaults.runtimeFolder(), "/home/u/.cache/OlvaneMac/runtime");

    const auto custom = pathsFrom({{"HOME", "/home/u"},
                                   {"XDG_DATA_HOME", "/d"},
                                   {"XDG_CONFIG_HOME", "/c"},
                                   {"XDG_CACHE_HOME", "relative/ignored"},
                                   {"XDG_RUNTIME_DIR", "/run/user/1000"}});
    EXPECT_EQ(custom.dataFolder(), "/d/OlvaneMac");
    EXPECT_EQ(custom.defaultsFile(), "/c/OlvaneMac/defaults.json");
    EXPECT_EQ(custom.cachesFolder(), "/home/u/.cache/OlvaneMac");
    EXPECT_EQ(custom.runtimeFolder(), "/run/user/1000/OlvaneMac");
}

TEST(Paths, LooksUpDesktopEntriesInTheUserFolderFirst) {
    EXPECT_EQ(pathsFrom({{"HOME", "/home/u"}}).applicationEntryFolders(),
              (std::vector<std::filesystem::path>{"/home/u/.local/share/applications",
                                                  "/usr/local/share/applications",
                                                  "/usr/share/applications"}));
    const auto custom = pathsFrom({{"HOME", "/home/u"}, {"XDG_DATA_DIRS", "/opt/a::rel:/b/"}});
    EXPECT_EQ(custom.dataDirs(), (std::vector<std::filesystem::path>{"/opt/a", "/b/"}));
}

TEST(Paths, CreatesPrivateFoldersAndRefusesFiles) {
    test::TempHome home;
    const auto paths = home.paths();
    EXPECT_EQ(paths.home(), home.root());
    ASSERT_TRUE(ensurePrivateFolder(paths.dataFolder()));
    EXPECT_EQ(test::permissionsOf(paths.dataFolder()), 0700u);
    EXPECT_EQ(test::permissionsOf(paths.dataFolder().parent_path()), 0700u);
    ASSERT_TRUE(ensurePrivateFolder(paths.dataFolder()));  // idempotent

    const auto file = paths.dataFolder() / "file";
    std::ofstream(file) << "x";
    EXPECT_FALSE(ensurePrivateFolder(file));
    EXPECT_FALSE(ensurePrivateFolder(file / "below"));
}

}  // namespace
}  // namespace olvane::platform
