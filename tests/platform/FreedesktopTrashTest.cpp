#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>

#include "platform/FileIO.h"
#include "platform/linux/FreedesktopTrash.h"
#include "platform/sim/ManualRunLoop.h"
#include "support/TempHome.h"

namespace olvane::platform::os {
namespace {

namespace fs = std::filesystem;

// Local time is UTC while it lives, so that deletion dates are known.
class UtcZone {
  public:
    UtcZone() {
        if (const char* tz = std::getenv("TZ")) {
            saved_ = tz;
        }
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
    ~UtcZone() {
        if (saved_) {
            ::setenv("TZ", saved_->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }

  private:
    std::optional<std::string> saved_;
};

TEST(FreedesktopTrash, MovesItemsBesideInfoFilesThatTellWhereTheyCameFrom) {
    test::TempHome home;
    UtcZone utc;
    sim::ManualRunLoop loop;
    const auto paths = home.paths();
    FreedesktopTrash trash(paths.trashFolder(), loop.clock());

    const auto program = home.root() / "Mes programmes" / "OlvaneMac";
    const auto folder = home.root() / "OlvaneMac.d";
    ASSERT_TRUE(ensurePrivateFolder(program.parent_path()));
    ASSERT_TRUE(writeFileAtomically(program, "binaire", 0755));
    ASSERT_TRUE(ensurePrivateFolder(folder / "lib"));
    ASSERT_TRUE(writeFileAtomically(folder / "lib" / "a", "a"));

    const auto outcome = trash.recycle({program, folder});
    ASSERT_TRUE(outcome.status) << outcome.status.description();
    ASSERT_EQ(outcome.newLocations.size(), 2u);
    const auto files = paths.trashFolder() / "files";
    EXPECT_EQ(outcome.newLocations.at(program), files / "OlvaneMac");
    EXPECT_FALSE(fs::exists(program));
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_EQ(readWholeFile(files / "OlvaneMac"), "binaire");
    EXPECT_EQ(test::permissionsOf(files / "OlvaneMac"), 0755u);
    EXPECT_EQ(readWholeFile(files / "OlvaneMac.d" / "lib" / "a"), "a");
    EXPECT_EQ(readWholeFile(paths.trashFolder() / "info" / "OlvaneMac.trashinfo"),
              "[Trash Info]\nPath=" + home.root().string() +
                  "/Mes%20programmes/OlvaneMac\nDeletionDate=2026-01-01T00:00:00\n");
    EXPECT_EQ(test::permissionsOf(paths.trashFolder() / "files"), 0700u);
}

TEST(FreedesktopTrash, ATakenNameGetsANumberAndAMissingItemStopsTheRest) {
    test::TempHome home;
    sim::ManualRunLoop loop;
    const auto paths = home.paths();
    FreedesktopTrash trash(paths.trashFolder(), loop.clock());
    const auto first = home.root() / "a" / "OlvaneMac";
    const auto second = home.root() / "b" / "OlvaneMac";
    const auto after = home.root() / "c";
    for (const auto& file : {first, second, after}) {
        ASSERT_TRUE(ensurePrivateFolder(file.parent_path()));
        ASSERT_TRUE(writeFileAtomically(file, file.parent_path().filename().string()));
    }
    // A leftover without its info file keeps its name taken too.
    ASSERT_TRUE(ensurePrivateFolder(paths.trashFolder() / "files" / "OlvaneMac.2"));

    ASSERT_TRUE(trash.recycle({first}).status);
    const auto outcome = trash.recycle({second, home.root() / "absent", after});
    EXPECT_FALSE(outcome.status);
    EXPECT_NE(outcome.status.description().text().find("absent"), std::string::npos);
    ASSERT_EQ(outcome.newLocations.size(), 1u);
    EXPECT_EQ(outcome.newLocations.at(second), paths.trashFolder() / "files" / "OlvaneMac.3");
    EXPECT_EQ(readWholeFile(paths.trashFolder() / "files" / "OlvaneMac.3"), "b");
    EXPECT_TRUE(fs::exists(paths.trashFolder() / "info" / "OlvaneMac.3.trashinfo"));
    EXPECT_TRUE(fs::exists(after));
}

TEST(FreedesktopTrash, PathsAreEscapedByte) {
    EXPECT_EQ(FreedesktopTrash::escapedPath("/home/é t/a%b_c-d.e~f"),
              "/home/%C3%A9%20t/a%25b_c-d.e~f");
}

TEST(FreedesktopTrash, AnItemOnAnotherFileSystemIsCopiedInThenRemoved) {
    test::TempHome home;
    sim::ManualRunLoop loop;
    const fs::path shm = "/dev/shm";
    struct stat homeStat {};
    struct stat shmStat {};
    if (::stat(home.root().c_str(), &homeStat) != 0 || ::stat(shm.c_str(), &shmStat) != 0 ||
        homeStat.st_dev == shmStat.st_dev || ::access(shm.c_str(), W_OK) != 0) {
        GTEST_SKIP() << "pas de second système de fichiers inscriptible";
    }
    const auto folder = shm / ("olvane-trash-test-" + std::to_string(::getpid()));
    ASSERT_TRUE(ensurePrivateFolder(folder / "sub"));
    ASSERT_TRUE(writeFileAtomically(folder / "sub" / "x", "x"));
    FreedesktopTrash trash(home.paths().trashFolder(), loop.clock());
    const auto outcome = trash.recycle({folder});
    EXPECT_TRUE(outcome.status) << outcome.status.description();
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_EQ(readWholeFile(outcome.newLocations.at(folder) / "sub" / "x"), "x");
    std::error_code ec;
    fs::remove_all(folder, ec);
}

}  // namespace
}  // namespace olvane::platform::os
