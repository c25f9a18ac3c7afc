#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>

#include "platform/FileIO.h"
#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/InotifyFileWatcher.h"
#include "support/TempHome.h"

namespace olvane::platform::os {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

class InotifyFileWatcherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = home_.root() / "watched";
        fs::create_directories(folder_);
    }

    bool waitFor(const std::function<bool()>& condition) { return loop_.runUntil(condition, 2s); }

    test::TempHome home_;
    fs::path folder_;
    EpollRunLoop loop_;
    InotifyFileWatcher watcher_{loop_};
};

TEST_F(InotifyFileWatcherTest, FileWatchSeesWritesRenameAndDeleteOfTheSameFile) {
    const auto path = folder_ / "a.json";
    ASSERT_TRUE(writeFileInPlace(path, "{}"));
    FileEvents seen;
    auto watch = watcher_.watchFile(path, [&](FileEvents e) { seen |= e; });
    ASSERT_TRUE(watch);

    ASSERT_TRUE(writeFileInPlace(path, "{\"x\":1}"));
    EXPECT_TRUE(waitFor([&] { return seen.has(FileEvent::Write); }));

    fs::rename(path, folder_ / "b.json");
    EXPECT_TRUE(waitFor([&] { return seen.has(FileEvent::Rename); }));

    // The watch follows the file, now under its new name.
    seen = {};
    fs::remove(folder_ / "b.json");
    EXPECT_TRUE(waitFor([&] { return seen.has(FileEvent::Delete); }));
}

TEST_F(InotifyFileWatcherTest, FileWatchOnAMissingFileFails) {
    EXPECT_FALSE(watcher_.watchFile(folder_ / "missing.json", [](FileEvents) {}));
}

TEST_F(InotifyFileWatcherTest, NameWatchFollowsReplacementsByRenameDeleteAndRecreate) {
    const auto path = folder_ / "rules.json";
    std::vector<FileEvents> events;
    auto watch =
        watcher_.watchName(folder_, "rules.json", [&](FileEvents e) { events.push_back(e); });
    ASSERT_TRUE(watch);
    auto other = [&](FileEvent e) {
        return std::any_of(events.begin(), events.end(), [e](FileEvents x) { return x.has(e); });
    };

    ASSERT_TRUE(writeFileInPlace(path, "1"));  // created, then written
    EXPECT_TRUE(waitFor([&] { return other(FileEvent::Create) && other(FileEvent::Write); }));

    events.clear();
    ASSERT_TRUE(writeFileAtomically(path, "2"));  // moved in over the old one
    EXPECT_TRUE(waitFor([&] { return other(FileEvent::Create) && other(FileEvent::Rename); }));

    events.clear();
    fs::remove(path);
    EXPECT_TRUE(waitFor([&] { return other(FileEvent::Delete); }));

    events.clear();
    ASSERT_TRUE(writeFileInPlace(path, "3"));
    EXPECT_TRUE(waitFor([&] { return other(FileEvent::Create); }));

    // Other names in the folder are not reported.
    events.clear();
    ASSERT_TRUE(writeFileInPlace(folder_ / "other.json", "x"));
    loop_.runUntil([] { return false; }, 50ms);
    EXPECT_TRUE(events.empty());
}

TEST_F(InotifyFileWatcherTest, ANameWatchReportsItsFolderGoingOnceAndCanBeArmedAgain) {
    const std::vector<std::pair<const char*, std::function<void(const fs::path&)>>> ways = {
        {"removed", [](const fs::path& folder) { fs::remove_all(folder); }},
        {"moved away",
         [](const fs::path& folder) { fs::rename(folder, folder.parent_path() / "elsewhere"); }},
    };
    for (const auto& [way, makeGone] : ways) {
        SCOPED_TRACE(way);
        fs::create_directories(folder_);
        ASSERT_TRUE(writeFileInPlace(folder_ / "watchdog-pid", ""));
        int lost = 0;
        int afterLost = 0;
        Handle watch;
        Handle rearmed;
        FileEvents afterRearm;
        watch = watcher_.watchName(folder_, "watchdog-pid", [&](FileEvents e) {
            if (lost > 0) {
                ++afterLost;
            }
            if (e.has(FileEvent::Lost)) {
                ++lost;
                // From the callback itself, as the watchdog does.
                fs::create_directories(folder_);
                rearmed = watcher_.watchName(folder_, "watchdog-pid",
                                             [&](FileEvents again) { afterRearm |= again; });
            }
        });
        ASSERT_TRUE(watch);
        makeGone(folder_);
        ASSERT_TRUE(waitFor([&] { return lost > 0; }));
        ASSERT_TRUE(rearmed);
        ASSERT_TRUE(writeFileInPlace(folder_ / "watchdog-pid", "42"));
        EXPECT_TRUE(waitFor([&] { return afterRearm.has(FileEvent::Create); }));
        // A folder moved elsewhere is not followed there.
        if (fs::exists(folder_.parent_path() / "elsewhere")) {
            ASSERT_TRUE(
                writeFileInPlace(folder_.parent_path() / "elsewhere" / "watchdog-pid", "1"));
        }
        loop_.runUntil([] { return false; }, 50ms);
        EXPECT_EQ(lost, 1);
        EXPECT_EQ(afterLost, 0);
        fs::remove_all(folder_.parent_path() / "elsewhere");
    }
}

TEST_F(InotifyFileWatcherTest, DroppedWatchesAreSilent) {
    const auto path = folder_ / "a.json";
    ASSERT_TRUE(writeFileInPlace(path, "{}"));
    int calls = 0;
    auto watch = watcher_.watchFile(path, [&](FileEvents) { ++calls; });
    watch.cancel();
    ASSERT_TRUE(writeFileInPlace(path, "{}"));
    loop_.runUntil([] { return false; }, 50ms);
    EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace olvane::platform::os
