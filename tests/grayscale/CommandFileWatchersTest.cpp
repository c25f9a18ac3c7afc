#include <gtest/gtest.h>

#include <vector>

#include "grayscale/CommandFileWatchers.h"
#include "platform/FileIO.h"
#include "platform/linux/InotifyFileWatcher.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/SimFileWatcher.h"
#include "support/TempHome.h"

namespace olvane {
namespace {

namespace fs = std::filesystem;
using platform::FileEvent;
using platform::LogLevel;

struct Received {
    std::string action;
    std::string domain;
    CommandOrigin origin;
    bool operator==(const Received&) const = default;
};

class CommandFileWatchersTest : public ::testing::Test {
  protected:
    CommandFileWatchersTest() { watchers_.start(); }

    fs::path dataFile(const char* name) const { return paths_.dataFolder() / name; }
    fs::path groupFile(const char* name) const { return paths_.sharedContainer() / name; }

    void writeCommand(const fs::path& file, const Json& command) {
        ASSERT_TRUE(exchange::writeExchangeFile(file, command));
    }
    Json grayscaleCommand(const char* action, double age) {
        return {{"action", action}, {"domain", "wikipedia.org"}, {"timestamp", now() - age}};
    }
    double now() { return loop_.clock().unixNow(); }

    test::TempHome home_;
    platform::Paths paths_ = home_.paths();
    platform::sim::ScopedLogCapture log_;
    platform::sim::ManualRunLoop loop_;
    platform::sim::SimFileWatcher files_;
    std::vector<Received> received_;
    CommandFileWatchers watchers_{loop_,
                                  loop_.clock(),
                                  files_,
                                  paths_.dataFolder(),
                                  paths_.sharedContainer(),
                                  [this](const exchange::GrayscaleCommand& c, CommandOrigin o) {
                                      received_.push_back({c.action, c.domain, o});
                                  },
                                  [this](const exchange::FullscreenCommand& c, CommandOrigin o) {
                                      received_.push_back({c.action, "", o});
                                  }};
};

TEST_F(CommandFileWatchersTest, StartSeedsTheFourFilesAndWatchesThemInOrder) {
    for (const auto& file :
         {dataFile(exchange::kGrayscaleCommandFile), dataFile(exchange::kFullscreenCommandFile),
          groupFile(exchange::kGrayscaleCommandFile),
          groupFile(exchange::kFullscreenCommandFile)}) {
        EXPECT_EQ(platform::readWholeFile(file), "{}") << file;
        EXPECT_TRUE(files_.isWatched(file)) << file;
    }
    EXPECT_EQ(
        log_->texts("GrayscaleFilter"),
        (std::vector<std::string>{"Surveillance du fichier de commandes démarrée",
                                  "Surveillance du fichier de commandes fullscreen démarrée",
                                  "Surveillance Group Container grayscale-command démarrée",
                                  "Surveillance Group Container fullscreen-command démarrée"}));
    EXPECT_EQ(test::permissionsOf(paths_.sharedContainer()), 0700u);

    // The seed does not overwrite a command already there.
    writeCommand(dataFile(exchange::kGrayscaleCommandFile), grayscaleCommand("disable", 0));
    CommandFileWatchers again(
        loop_, loop_.clock(), files_, paths_.dataFolder(), std::nullopt, [](auto&&...) {},
        [](auto&&...) {});
    again.start();
    EXPECT_NE(platform::readWholeFile(dataFile(exchange::kGrayscaleCommandFile)), "{}");
    EXPECT_EQ(again.groupGrayscale(), nullptr);
    EXPECT_EQ(again.groupFullscreen(), nullptr);
}

TEST_F(CommandFileWatchersTest, OnlyCommandsYoungerThanTwoSecondsAreHandedOver) {
    const auto file = dataFile(exchange::kGrayscaleCommandFile);
    const auto deliver = [&](double age) {
        writeCommand(file, grayscaleCommand("disable", age));
        files_.fire(file, FileEvent::Write);
    };
    deliver(1.9);
    deliver(2.0);
    deliver(5.0);
    deliver(-30.0);  // dated in the future
    EXPECT_EQ(received_,
              (std::vector<Received>{{"disable", "wikipedia.org", CommandOrigin::DataFolder},
                                     {"disable", "wikipedia.org", CommandOrigin::DataFolder}}));

    // Fullscreen commands in the container follow the same rule and say where they came from.
    received_.clear();
    const auto group = groupFile(exchange::kFullscreenCommandFile);
    writeCommand(group, {{"action", "fullscreen_start"}, {"timestamp", now() - 1.9}});
    files_.fire(group, FileEvent::Write);
    writeCommand(group, {{"action", "fullscreen_end"}, {"timestamp", now() - 2.0}});
    files_.fire(group, FileEvent::Write);
    EXPECT_EQ(received_,
              (std::vector<Received>{{"fullscreen_start", "", CommandOrigin::SharedContainer}}));
}

TEST_F(CommandFileWatchersTest, UnusableFilesAreIgnoredSilently) {
    const auto file = dataFile(exchange::kFullscreenCommandFile);
    const auto ts = now();
    const std::vector<std::string> contents = {
        "{}",
        "",
        "[]",
        "{\"action\": \"fullscreen_start\"",
        "{\"timestamp\": " + std::to_string(ts) + "}",
        "{\"action\": 3, \"timestamp\": " + std::to_string(ts) + "}",
        "{\"action\": \"fullscreen_start\", \"timestamp\": \"now\"}",
    };
    log_->clear();
    for (const auto& content : contents) {
        ASSERT_TRUE(platform::writeFileInPlace(file, content));
        files_.fire(file, FileEvent::Write);
    }
    fs::remove(file);
    files_.fire(file, FileEvent::Write);
    EXPECT_TRUE(received_.empty());
    EXPECT_TRUE(log_->texts("GrayscaleFilter").empty());

    // Unknown actions are handed over: deciding what they mean is not the reader's business.
    writeCommand(file, {{"action", "pause"}, {"timestamp", ts}});
    files_.fire(file, FileEvent::Write);
    EXPECT_EQ(received_.size(), 1u);
}

TEST_F(CommandFileWatchersTest, DataFolderWatcherReArmsAfterADeleteWithAFreshSeed) {
    const auto file = dataFile(exchange::kGrayscaleCommandFile);
    writeCommand(file, grayscaleCommand("enable", 0.5));
    log_->clear();

    files_.fire(file, FileEvent::Write | FileEvent::Rename);  // the event is still read first
    EXPECT_EQ(received_.size(), 1u);
    EXPECT_TRUE(log_->contains("GrayscaleFilter", LogLevel::Debug,
                               "Fichier de commandes renommé/supprimé, recréation du watcher"));
    EXPECT_FALSE(watchers_.grayscale().isWatching());

    fs::remove(file);
    loop_.advanceSeconds(0.19);
    EXPECT_FALSE(watchers_.grayscale().isWatching());
    loop_.advanceSeconds(0.01);
    EXPECT_TRUE(watchers_.grayscale().isWatching());
    EXPECT_EQ(platform::readWholeFile(file), "{}");

    writeCommand(file, grayscaleCommand("disable", 0));
    files_.fire(file, FileEvent::Write);
    EXPECT_EQ(received_.size(), 2u);
}

TEST_F(CommandFileWatchersTest, ContainerWatchersReArmEvenAfterAStaleOrUnreadableReplacement) {
    const auto grayscale = groupFile(exchange::kGrayscaleCommandFile);
    const auto fullscreen = groupFile(exchange::kFullscreenCommandFile);
    writeCommand(grayscale, grayscaleCommand("disable", 10));  // stale
    ASSERT_TRUE(platform::writeFileInPlace(fullscreen, "not json"));
    log_->clear();

    files_.fire(grayscale, FileEvent::Rename);
    files_.fire(fullscreen, FileEvent::Delete);
    EXPECT_FALSE(watchers_.groupGrayscale()->isWatching());
    EXPECT_FALSE(watchers_.groupFullscreen()->isWatching());
    loop_.advanceSeconds(CommandFileWatcher::kRearmDelaySeconds);
    EXPECT_TRUE(watchers_.groupGrayscale()->isWatching());
    EXPECT_TRUE(watchers_.groupFullscreen()->isWatching());
    EXPECT_EQ(
        log_->texts("GrayscaleFilter"),
        (std::vector<std::string>{"Surveillance Group Container grayscale-command démarrée",
                                  "Surveillance Group Container fullscreen-command démarrée"}));

    writeCommand(grayscale, grayscaleCommand("disable", 0));
    files_.fire(grayscale, FileEvent::Write);
    EXPECT_EQ(
        received_,
        (std::vector<Received>{{"disable", "wikipedia.org", CommandOrigin::SharedContainer}}));
}

// The uninstall deletes the folders after stopping the watchers: a re-arm already waiting must
// not seed them again.
TEST_F(CommandFileWatchersTest, StoppedWatchersNeverSeedTheirFoldersAgain) {
    files_.fire(dataFile(exchange::kGrayscaleCommandFile), FileEvent::Delete);
    files_.fire(groupFile(exchange::kFullscreenCommandFile), FileEvent::Rename);
    watchers_.stop();
    EXPECT_EQ(files_.watchCount(), 0u);
    fs::remove_all(paths_.dataFolder());
    fs::remove_all(paths_.sharedContainer());
    loop_.advanceSeconds(10 * CommandFileWatcher::kRearmDelaySeconds);
    EXPECT_FALSE(fs::exists(paths_.dataFolder()));
    EXPECT_FALSE(fs::exists(paths_.sharedContainer()));
    EXPECT_FALSE(watchers_.grayscale().isWatching());
    EXPECT_FALSE(watchers_.groupFullscreen()->isWatching());
}

TEST(CommandFileWatcherOpenFailure, DataFolderWatchersSayWhyContainerWatchersStaySilent) {
    test::TempHome home;
    platform::sim::ScopedLogCapture log;
    platform::sim::ManualRunLoop loop;
    platform::sim::SimFileWatcher files;
    // Folders that cannot be made: a file stands where they would be.
    const auto blocked = home.root() / "blocked";
    ASSERT_TRUE(platform::writeFileInPlace(blocked, "x"));
    CommandFileWatchers watchers(
        loop, loop.clock(), files, blocked / "data", blocked / "group", [](auto&&...) {},
        [](auto&&...) {});
    watchers.start();

    EXPECT_EQ(files.watchCount(), 0u);
    EXPECT_EQ(log->texts("GrayscaleFilter"),
              (std::vector<std::string>{
                  "Impossible d'ouvrir le fichier de commandes pour surveillance",
                  "Impossible d'ouvrir le fichier de commandes fullscreen pour surveillance"}));
    EXPECT_TRUE(log->contains("GrayscaleFilter", LogLevel::Error,
                              "Impossible d'ouvrir le fichier de commandes pour surveillance"));
}

// The real inotify watcher on the virtual-time loop: writers rewrite the file in place, the
// uninstall or a user may delete it.
TEST(CommandFileWatchersOnInotify, SeesInPlaceWritesAndFollowsTheFileAgainAfterADelete) {
    using namespace std::chrono_literals;
    test::TempHome home;
    const auto paths = home.paths();
    platform::sim::ManualRunLoop loop;
    platform::os::InotifyFileWatcher inotify(loop);
    ASSERT_TRUE(inotify.valid());
    std::vector<std::string> actions;
    CommandFileWatchers watchers(
        loop, loop.clock(), inotify, paths.dataFolder(), paths.sharedContainer(),
        [&](const exchange::GrayscaleCommand& c, CommandOrigin) { actions.push_back(c.action); },
        [&](const exchange::FullscreenCommand& c, CommandOrigin) { actions.push_back(c.action); });
    watchers.start();
    const auto file = paths.dataFolder() / exchange::kGrayscaleCommandFile;
    const auto pump = [&] {
        for (int i = 0; i < 5; ++i) {
            loop.processIo(20ms);
        }
    };

    ASSERT_TRUE(exchange::writeExchangeFile(
        file, exchange::GrayscaleCommand{"disable", "a.org", loop.clock().unixNow()}.toJson()));
    pump();
    ASSERT_FALSE(actions.empty());
    EXPECT_EQ(actions.back(), "disable");

    fs::remove(file);
    pump();
    EXPECT_FALSE(watchers.grayscale().isWatching());
    loop.advanceSeconds(CommandFileWatcher::kRearmDelaySeconds);
    EXPECT_TRUE(watchers.grayscale().isWatching());
    EXPECT_EQ(platform::readWholeFile(file), "{}");

    actions.clear();
    ASSERT_TRUE(exchange::writeExchangeFile(
        file, exchange::GrayscaleCommand{"enable", "", loop.clock().unixNow()}.toJson()));
    pump();
    ASSERT_FALSE(actions.empty());
    EXPECT_EQ(actions.back(), "enable");
}

}  // namespace
}  // namespace olvane
