#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "app/WatchdogManager.h"
#include "app/WatchdogUnitFile.h"
#include "platform/FileIO.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/MemoryServiceManager.h"
#include "platform/sim/RecordingDetachedProcesses.h"
#include "support/ChildProcess.h"
#include "support/TempHome.h"

namespace olvane {
namespace {

namespace fs = std::filesystem;
using platform::LogLevel;
using platform::ServiceStatus;

ino_t inodeOf(const fs::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

class WatchdogManagerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(agent_.parent_path());
        ASSERT_TRUE(platform::writeFileInPlace(agent_, "#!/bin/sh\n", 0700));
    }

    bool logged(LogLevel level, const std::string& text) {
        return capture_->contains("App", level, text);
    }

    test::TempHome home_;
    platform::Paths paths_ = home_.paths();
    platform::sim::ScopedLogCapture capture_;
    platform::sim::MemoryServiceManager services_;
    platform::sim::RecordingDetachedProcesses detached_;
    platform::sim::ManualRunLoop loop_;
    fs::path agent_ = home_.root() / "bin" / "OlvaneWatchdog";
    WatchdogManager manager_{paths_, services_, detached_, loop_, loop_.clock(), agent_};
    fs::path pidFile_ = WatchdogManager::pidFileURL(paths_);
};

TEST_F(WatchdogManagerTest, PidFileHoldsOnlyTheDigitsAndIsReplacedByARename) {
    EXPECT_EQ(pidFile_, home_.root() / ".local/share/OlvaneMac/watchdog-pid");
    ASSERT_TRUE(platform::ensurePrivateFolder(pidFile_.parent_path()));
    ASSERT_TRUE(platform::writeFileInPlace(pidFile_, "4711\n"));  // a previous run's, crashed
    const auto before = inodeOf(pidFile_);

    manager_.writePID();
    const auto pid = std::to_string(::getpid());
    EXPECT_EQ(platform::readWholeFile(pidFile_), pid);
    EXPECT_NE(inodeOf(pidFile_), before);
    EXPECT_EQ(test::permissionsOf(pidFile_), 0600u);
    EXPECT_TRUE(logged(LogLevel::Debug, "Watchdog PID écrit: " + pid));

    manager_.clearPID();
    EXPECT_FALSE(fs::exists(pidFile_));
    capture_->clear();
    manager_.clearPID();  // no file: the same single line, nothing else
    EXPECT_EQ(capture_->texts("App"), std::vector<std::string>{"Watchdog PID effacé"});
}

// A folder would take no rename over it; a link would lead the number elsewhere. Each is kept.
TEST_F(WatchdogManagerTest, WhatIsNotAFileInThePlaceOfThePidFileIsSetAsideAndKept) {
    ASSERT_TRUE(platform::ensurePrivateFolder(pidFile_.parent_path()));
    const auto elsewhere = home_.root() / "elsewhere";
    ASSERT_TRUE(platform::writeFileInPlace(elsewhere, "the user's"));
    const std::string aside =
        pidFile_.string() + ".aside-" + platform::dateStampForName(loop_.clock().unixNow());
    const std::function<void()> occupy[] = {
        [&] { fs::create_directories(pidFile_ / "inside"); },
        [&] { fs::create_symlink(elsewhere, pidFile_); },
        [&] { ASSERT_EQ(::mkfifo(pidFile_.c_str(), 0600), 0); },
    };
    const fs::path names[] = {aside, aside + "-2", aside + "-3"};
    for (std::size_t i = 0; i < std::size(names); ++i) {
        SCOPED_TRACE(names[i]);
        manager_.clearPID();
        occupy[i]();
        manager_.writePID();
        EXPECT_EQ(platform::readWholeFile(pidFile_), std::to_string(::getpid()));
        EXPECT_TRUE(logged(LogLevel::Default,
                           "Watchdog PID : ce qui occupait sa place n’était pas un fichier, mis de "
                           "côté sous le nom " +
                               names[i].filename().string()));
    }
    EXPECT_TRUE(fs::is_directory(names[0] / "inside"));
    EXPECT_EQ(fs::read_symlink(names[1]), elsewhere);
    EXPECT_EQ(platform::readWholeFile(elsewhere), "the user's");
    EXPECT_TRUE(fs::is_fifo(names[2]));
}

TEST_F(WatchdogManagerTest, FailedPidWriteIsLoggedAsAFailure) {
    fs::create_directories(paths_.dataHome());
    ASSERT_TRUE(platform::writeFileInPlace(paths_.dataFolder(), "not a folder"));

    manager_.writePID();
    EXPECT_FALSE(capture_->contains("Watchdog PID écrit"));
    const auto lines = capture_->texts("App");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("⚠️ Échec écriture Watchdog PID: ", 0), 0u) << lines[0];
    EXPECT_TRUE(capture_->lines()[0].level == LogLevel::Error);
}

TEST_F(WatchdogManagerTest, RegistersTheAgentOnceAndAgainWhenItsUnitChanges) {
    EXPECT_EQ(manager_.agentStatus(), ServiceStatus::NotRegistered);
    manager_.registerAgent();
    EXPECT_TRUE(logged(LogLevel::Info, "Watchdog agent enregistré avec succès"));
    EXPECT_EQ(services_.calls(),
              (std::vector<std::string>{"reload", "enable com.olvane.watchdog.service",
                                        "restart com.olvane.watchdog.service"}));
    const auto unitFile = home_.root() / ".config/systemd/user/com.olvane.watchdog.service";
    EXPECT_EQ(platform::readWholeFile(unitFile), WatchdogUnitFile::render(agent_, paths_));
    EXPECT_EQ(manager_.agentStatus(), ServiceStatus::Enabled);

    services_.clearCalls();
    capture_->clear();
    manager_.registerAgent();
    EXPECT_EQ(capture_->texts("App"), std::vector<std::string>{"Watchdog agent déjà enregistré"});
    EXPECT_TRUE(services_.calls().empty());

    // Stopped by hand, or the program moved: registered again.
    services_.setActive(WatchdogManager::agentUnitName, false);
    EXPECT_EQ(manager_.agentStatus(), ServiceStatus::NotRegistered);
    const auto moved = home_.root() / "opt" / "OlvaneWatchdog";
    fs::create_directories(moved.parent_path());
    fs::copy_file(agent_, moved);
    WatchdogManager movedManager(paths_, services_, detached_, loop_, loop_.clock(), moved);
    services_.setActive(WatchdogManager::agentUnitName, true);
    EXPECT_EQ(movedManager.agentStatus(), ServiceStatus::NotRegistered);
    movedManager.registerAgent();
    EXPECT_EQ(platform::readWholeFile(unitFile), WatchdogUnitFile::render(moved, paths_));
}

TEST_F(WatchdogManagerTest, WithoutAUserManagerTheAgentGuardsThisRunDetachedUntilUninstalled) {
    services_.setRunning(false);
    manager_.registerAgent();
    ASSERT_EQ(detached_.started().size(), 1u);
    const auto started = detached_.started()[0];
    EXPECT_EQ(started.program, agent_);
    EXPECT_EQ(started.arguments, (std::vector<std::string>{"--pid", std::to_string(::getpid())}));
    EXPECT_TRUE(logged(LogLevel::Info, "Watchdog agent démarré en processus détaché (" +
                                           std::to_string(started.pid) +
                                           ") : pas de systemd --user"));
    EXPECT_FALSE(fs::exists(paths_.watchdogUnitFile()));
    EXPECT_TRUE(services_.calls().empty());

    // Killed while this run goes on: another takes its place.
    detached_.end(started.pid);
    loop_.runPending();
    ASSERT_EQ(detached_.started().size(), 2u);
    const auto restarted = detached_.started()[1];
    EXPECT_EQ(restarted.arguments, started.arguments);
    EXPECT_TRUE(logged(LogLevel::Default, "Watchdog agent (" + std::to_string(started.pid) +
                                              ") terminé : relancé en processus détaché (" +
                                              std::to_string(restarted.pid) + ")"));

    manager_.unregisterAgent();
    EXPECT_EQ(detached_.stopped(), std::vector<pid_t>{restarted.pid});
    EXPECT_FALSE(capture_->contains("sans pidfd"));
    EXPECT_TRUE(logged(LogLevel::Info, "Watchdog agent désenregistré"));

    detached_.failStarts("Permission refusée");
    manager_.registerAgent();
    EXPECT_TRUE(logged(LogLevel::Error, "Échec enregistrement watchdog agent: Permission refusée"));
}

TEST_F(WatchdogManagerTest, ADetachedAgentThatKeepsEndingIsStartedAgainEverLessOften) {
    using std::chrono::milliseconds;
    services_.setRunning(false);
    manager_.registerAgent();
    // Each end comes as soon as the agent is up: the waits double up to ten seconds.
    const long waits[] = {0, 100, 200, 400, 800, 1600, 3200, 6400, 10000, 10000};
    for (const long wait : waits) {
        SCOPED_TRACE(wait);
        const pid_t ended = detached_.started().back().pid;
        detached_.end(ended);
        const auto starts = detached_.started().size();
        if (wait > 0) {
            loop_.advance(milliseconds(wait - 1));
            EXPECT_EQ(detached_.started().size(), starts);
        }
        loop_.advance(milliseconds(1));
        ASSERT_EQ(detached_.started().size(), starts + 1);
        EXPECT_TRUE(logged(LogLevel::Default, "Watchdog agent (" + std::to_string(ended) +
                                                  ") terminé : relancé en processus détaché (" +
                                                  std::to_string(detached_.started().back().pid) +
                                                  ")"));
    }
    // One that ran a minute is started again at once.
    loop_.advanceSeconds(60);
    detached_.end(detached_.started().back().pid);
    loop_.runPending();
    EXPECT_TRUE(detached_.isRunning(detached_.started().back().pid));

    // Starts that fail are tried on, every ten seconds at most, and logged once a minute.
    detached_.failStarts("Ressource temporairement non disponible");
    const pid_t last = detached_.started().back().pid;
    detached_.end(last);
    capture_->clear();
    loop_.advanceSeconds(119);
    EXPECT_EQ(capture_->texts("App"),
              std::vector<std::string>(2, "Watchdog agent (" + std::to_string(last) +
                                              ") terminé, relance impossible: Ressource "
                                              "temporairement non disponible"));
    detached_.failStarts("");
    loop_.advanceSeconds(10);
    EXPECT_TRUE(detached_.isRunning(detached_.started().back().pid));
    EXPECT_TRUE(logged(LogLevel::Default, "Watchdog agent (" + std::to_string(last) +
                                              ") terminé : relancé en processus détaché (" +
                                              std::to_string(detached_.started().back().pid) +
                                              ")"));

    // Neither a pending start nor an agent outlives the uninstall.
    detached_.end(detached_.started().back().pid);
    manager_.unregisterAgent();
    const auto starts = detached_.started().size();
    loop_.advanceSeconds(60);
    EXPECT_EQ(detached_.started().size(), starts);
}

TEST_F(WatchdogManagerTest, AnAgentWhoseEndIsLookedForIsSaidOnceARun) {
    services_.setRunning(false);
    detached_.pollEndsBecause("pidfd_open refusé");
    manager_.registerAgent();
    detached_.end(detached_.started().back().pid);
    loop_.runPending();
    ASSERT_EQ(detached_.started().size(), 2u);
    EXPECT_EQ(capture_->texts("App")[0], "Watchdog agent (" +
                                             std::to_string(detached_.started()[0].pid) +
                                             ") suivi sans pidfd : pidfd_open refusé");
    EXPECT_EQ(capture_->texts("App").size(), 3u) << "the start, the restart";
}

TEST_F(WatchdogManagerTest, OlvaneWatchdogIsFoundWhereTheBuildPutsIt) {
    // This test program runs from the build tree, as the application does when run from there.
    EXPECT_EQ(WatchdogManager::defaultAgentExecutable(),
              test::builtExecutable("src/watchdog/OlvaneWatchdog"));
}

TEST_F(WatchdogManagerTest, RegistrationFailuresAreReportedAndStartUpGoesOn) {
    services_.failVerb("enable", "Access denied");
    manager_.registerAgent();
    EXPECT_TRUE(logged(LogLevel::Error, "Échec enregistrement watchdog agent: Access denied"));

    fs::remove(agent_);
    EXPECT_EQ(manager_.agentStatus(), ServiceStatus::NotFound);
    manager_.registerAgent();
    EXPECT_TRUE(logged(LogLevel::Error,
                       "Échec enregistrement watchdog agent: OlvaneWatchdog "
                       "introuvable : « " +
                           agent_.string() + " »"));
}

TEST_F(WatchdogManagerTest, UnregisterRemovesTheUnitWithoutCheckingFirst) {
    manager_.registerAgent();
    services_.clearCalls();
    manager_.unregisterAgent();
    EXPECT_TRUE(logged(LogLevel::Info, "Watchdog agent désenregistré"));
    EXPECT_EQ(services_.calls(),
              (std::vector<std::string>{"disable com.olvane.watchdog.service", "reload"}));
    EXPECT_FALSE(fs::exists(paths_.watchdogUnitFile()));

    services_.failVerb("disable", "Unit not loaded");
    manager_.unregisterAgent();
    EXPECT_TRUE(logged(LogLevel::Debug, "Watchdog agent désenregistrement: Unit not loaded"));
}

TEST(WatchdogUnitFileTest, HandsTheAgentTheApplicationsFoldersQuoted) {
    const platform::Paths paths([](const std::string& name) -> std::optional<std::string> {
        if (name == "HOME") {
            return "/home/a b";
        }
        if (name == "XDG_RUNTIME_DIR") {
            return "/run/user/1000";
        }
        return std::nullopt;
    });
    const auto unit = WatchdogUnitFile::render("/opt/100% \"sûr\"/$bin\\OlvaneWatchdog", paths);
    ASSERT_TRUE(unit);
    EXPECT_NE(unit->find("ExecStart=\"/opt/100%% \\\"sûr\\\"/$$bin\\\\OlvaneWatchdog\"\n"),
              std::string::npos)
        << *unit;
    EXPECT_NE(unit->find("Environment=\"XDG_DATA_HOME=/home/a b/.local/share\" "
                         "\"XDG_CACHE_HOME=/home/a b/.cache\" "
                         "\"XDG_RUNTIME_DIR=/run/user/1000\"\n"),
              std::string::npos)
        << *unit;
    EXPECT_EQ(unit->find("UnsetEnvironment"), std::string::npos);
    EXPECT_NE(unit->find("Restart=always\n"), std::string::npos);
    EXPECT_NE(unit->find("WantedBy=default.target\n"), std::string::npos);

    const platform::Paths noRuntime([](const std::string& name) -> std::optional<std::string> {
        return name == "HOME" ? std::optional<std::string>("/home/u") : std::nullopt;
    });
    const auto plain = WatchdogUnitFile::render("/usr/bin/OlvaneWatchdog", noRuntime);
    ASSERT_TRUE(plain);
    EXPECT_NE(plain->find("UnsetEnvironment=XDG_RUNTIME_DIR\n"), std::string::npos);
    EXPECT_FALSE(WatchdogUnitFile::render("/usr/bin/Olvane\nWatchdog", noRuntime));
}

}  // namespace
}  // namespace olvane
