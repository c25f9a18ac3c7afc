#include <gtest/gtest.h>

#include "app/ApplicationBundle.h"
#include "platform/FileIO.h"
#include "support/TempHome.h"

namespace olvane {
namespace {

namespace fs = std::filesystem;
using Items = std::vector<fs::path>;

void put(const fs::path& file) {
    ASSERT_TRUE(platform::ensurePrivateFolder(file.parent_path()));
    ASSERT_TRUE(platform::writeFileAtomically(file, "x"));
}

TEST(ApplicationBundle, WhatGoesToTheTrashDependsOnHowTheProgramIsInstalled) {
    test::TempHome home;
    const auto paths = home.paths();
    const auto root = home.root();

    // Beside other programs: only ours go, with the desktop entry.
    const auto shared = root / "bin";
    put(shared / "OlvaneMac");
    put(shared / "olvanemac-host");
    put(shared / "olvane_gsettings.so");
    put(shared / "unrelated");
    const auto entry = paths.dataHome() / "applications" / "so.olvane.mac.desktop";
    put(entry);
    EXPECT_EQ(ApplicationBundle::locate(shared / "OlvaneMac", std::nullopt, paths).items(),
              (Items{shared / "OlvaneMac", shared / "olvanemac-host",
                     shared / "olvane_gsettings.so", entry}));

    // A folder of its own goes whole; an AppImage is the application.
    const auto own = root / "opt" / "OlvaneMac" / "OlvaneMac";
    put(own);
    EXPECT_EQ(ApplicationBundle::locate(own, std::nullopt, paths).items(),
              (Items{own.parent_path(), entry}));
    EXPECT_TRUE(ApplicationBundle::locate(own, std::nullopt, paths).icons().empty());

    // Installed under a prefix: its entry and icons there go along, and nothing of the theme's.
    const auto prefix = root / "prefix";
    const auto installed = prefix / "lib" / "OlvaneMac" / "OlvaneMac";
    const auto icons = prefix / "share" / "icons" / "hicolor";
    for (const auto& file : {installed, prefix / "share" / "applications" / "so.olvane.mac.desktop",
                             icons / "16x16" / "apps" / "so.olvane.mac.png",
                             icons / "256x256" / "apps" / "so.olvane.mac.png",
                             icons / "16x16" / "apps" / "other.png", icons / "index.theme"}) {
        put(file);
    }
    const auto fromPrefix = ApplicationBundle::locate(installed, std::nullopt, paths);
    EXPECT_EQ(fromPrefix.items(),
              (Items{installed.parent_path(),
                     prefix / "share" / "applications" / "so.olvane.mac.desktop", entry}));
    EXPECT_EQ(fromPrefix.icons(), (Items{icons / "16x16" / "apps" / "so.olvane.mac.png",
                                         icons / "256x256" / "apps" / "so.olvane.mac.png"}));
    EXPECT_EQ(ApplicationBundle::locate("/tmp/.mount_x/usr/bin/OlvaneMac",
                                        root / "OlvaneMac.AppImage", paths)
                  .items(),
              (Items{root / "OlvaneMac.AppImage", entry}));

    // From a build tree, nothing.
    const auto tree = root / "src-tree" / "build";
    put(tree / "CMakeCache.txt");
    const auto built =
        ApplicationBundle::locate(tree / "src" / "ui" / "OlvaneMac", std::nullopt, paths);
    EXPECT_EQ(built.buildTree(), tree);
    EXPECT_TRUE(built.items().empty());
    EXPECT_FALSE(ApplicationBundle::locate(own, std::nullopt, paths).buildTree());
}

TEST(ApplicationBundle, ACompanionComesFromTheBuildTreeOnlyForAProgramThatRunsThere) {
    test::TempHome home;
    const auto root = home.root();
    const auto tree = root / "build";
    const auto built = tree / "src" / "watchdog" / "OlvaneWatchdog";
    put(built);
    EXPECT_EQ(ApplicationBundle::companionProgram(
                  "OlvaneWatchdog", "watchdog", tree / "src" / "ui" / "shell" / "OlvaneMac", tree),
              built);

    // A copy elsewhere, even in a folder made to look like a build tree, runs only what lies
    // beside it.
    put(root / "CMakeCache.txt");
    put(root / "src" / "watchdog" / "OlvaneWatchdog");
    const auto copy = root / "copie" / "OlvaneMac";
    EXPECT_EQ(ApplicationBundle::companionProgram("OlvaneWatchdog", "watchdog", copy, tree),
              copy.parent_path() / "OlvaneWatchdog");
    put(copy.parent_path() / "OlvaneWatchdog");
    EXPECT_EQ(ApplicationBundle::companionProgram("OlvaneWatchdog", "watchdog", copy, tree),
              copy.parent_path() / "OlvaneWatchdog");
}

TEST(ApplicationBundle, AppImageIsTrustedOnlyFromInsideItsMount) {
    test::TempHome home;
    const auto mount = home.root() / ".mount_Olvane";
    const auto inside = mount / "usr" / "bin" / "OlvaneMac";
    const auto image = (home.root() / "OlvaneMac.AppImage").string();
    put(inside);
    const auto other = home.root() / "build" / "OlvaneMac";
    put(other);
    struct Case {
        const char* name;
        fs::path program;
        const char* appImage;
        const char* appDir;
        bool trusted;
    };
    const std::string mountText = mount.string();
    const Case cases[] = {
        {"inside the mount", inside, image.c_str(), mountText.c_str(), true},
        {"inherited by a program elsewhere", other, image.c_str(), mountText.c_str(), false},
        {"without its mount", inside, image.c_str(), nullptr, false},
        {"an empty mount", inside, image.c_str(), "", false},
        {"the mount's sibling with the same prefix", home.root() / ".mount_Olvane2" / "OlvaneMac",
         image.c_str(), mountText.c_str(), false},
        {"no AppImage", inside, nullptr, mountText.c_str(), false},
    };
    for (const auto& c : cases) {
        const auto trusted = ApplicationBundle::trustedAppImage(c.program, c.appImage, c.appDir);
        EXPECT_EQ(trusted.has_value(), c.trusted) << c.name;
        if (c.trusted) {
            EXPECT_EQ(*trusted, image);
        }
    }
}

}  // namespace
}  // namespace olvane
