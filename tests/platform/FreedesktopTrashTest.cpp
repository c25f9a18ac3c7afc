#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <functional>

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

// The user the checks below run as when the test runs as root, who may write anything.
constexpr uid_t kOtherUser = 65534;

// `check` as a user that permissions hold back: this one, or another in a child when root.
bool asUnprivilegedUser(const std::function<bool()>& check) {
    if (::geteuid() != 0) {
        return check();
    }
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped = ::setgroups(0, nullptr) == 0 &&
                             ::setresgid(kOtherUser, kOtherUser, kOtherUser) == 0 &&
                             ::setresuid(kOtherUser, kOtherUser, kOtherUser) == 0;
        ::_exit(dropped && check() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// An installation for every user, on another file system than the trash: a copy would land in
// the trash while the original stayed, so nothing moves.
TEST(FreedesktopTrash, WhatThisUserMayNotMoveStaysAndLeavesNoCopyInTheTrash) {
    sim::ManualRunLoop loop;
    const fs::path shm = "/dev/shm";
    const auto scratch = fs::temp_directory_path() / ("olvane-trash-" + std::to_string(::getpid()));
    const auto system = shm / ("olvane-system-" + std::to_string(::getpid()));
    struct stat scratchStat {};
    struct stat shmStat {};
    fs::create_directories(scratch);
    if (::stat(scratch.c_str(), &scratchStat) != 0 || ::stat(shm.c_str(), &shmStat) != 0 ||
        scratchStat.st_dev == shmStat.st_dev || ::access(shm.c_str(), W_OK) != 0) {
        fs::remove_all(scratch);
        GTEST_SKIP() << "pas de second système de fichiers inscriptible";
    }
    const auto installed = system / "lib" / "OlvaneMac";
    fs::create_directories(installed);
    ASSERT_TRUE(writeFileAtomically(installed / "OlvaneMac", "binaire", 0755));
    const auto perms = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                       fs::perms::others_read | fs::perms::others_exec;
    for (const auto& folder : {system, system / "lib", installed}) {
        fs::permissions(folder, perms);
    }
    fs::permissions(scratch, fs::perms::owner_all);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(scratch.c_str(), kOtherUser, kOtherUser), 0);
    }
    const auto trashFolder = scratch / "Trash";

    EXPECT_TRUE(asUnprivilegedUser([&] {
        FreedesktopTrash trash(trashFolder, loop.clock());
        const auto outcome = trash.recycle({installed});
        return !trash.mayRecycle(installed) && !outcome.status && outcome.newLocations.empty() &&
               !existsAtPath(trashFolder / "files" / "OlvaneMac") &&
               !existsAtPath(trashFolder / "info" / "OlvaneMac.trashinfo");
    }));
    EXPECT_EQ(readWholeFile(installed / "OlvaneMac"), "binaire");
    fs::remove_all(system);
    fs::remove_all(scratch);
}

}  // namespace
}  // namespace olvane::platform::os
