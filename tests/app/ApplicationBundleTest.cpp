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
    put(shared / "unrelated");
    const auto entry = paths.dataHome() / "applications" / "so.olvane.mac.desktop";
    put(entry);
    EXPECT_EQ(ApplicationBundle::locate(shared / "OlvaneMac", std::nullopt, paths).items(),
              (Items{shared / "OlvaneMac", shared / "olvanemac-host", entry}));

    // A folder of its own goes whole; an AppImage is the application.
    const auto own = root / "opt" / "OlvaneMac" / "OlvaneMac";
    put(own);
    EXPECT_EQ(ApplicationBundle::locate(own, std::nullopt, paths).items(),
              (Items{own.parent_path(), entry}));
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

}  // namespace
}  // namespace olvane
