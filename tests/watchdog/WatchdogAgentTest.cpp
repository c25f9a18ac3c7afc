#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/FileIO.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/SimFileWatcher.h"
#include "platform/sim/SimGrayscaleSwitch.h"
#include "platform/sim/SimProcessWatcher.h"
#include "support/ScriptedColorRemapDevice.h"
#include "support/TempHome.h"
#include "watchdog/PidFileParser.h"
#include "watchdog/WatchdogAgent.h"

namespace olvane {
namespace {

namespace fs = std::filesystem;
using platform::ExternalProperty;
using platform::FileEvent;
using platform::RemapLoadResult;
using Write = test::ScriptedColorRemapDevice::Write;

class WatchdogAgentTest : public ::testing::Test {
  protected:
    WatchdogAgentTest() {
        device_.services = {{{"panel", ExternalProperty::False}, {"hdmi", ExternalProperty::True}}};
    }

    // The application's launch: a new file put in place by a rename, every display grey.
    void launch(pid_t pid) {
        processes_.start(pid, WatchdogAgent::kApplicationProgram);
        device_.modes = kGrey;
        writePidFile(std::to_string(pid));
    }
    void writePidFile(const std::string& text) {
        ASSERT_TRUE(platform::writeFileAtomically(pidFile_, text));
        files_.fire(pidFile_, FileEvent::Create | FileEvent::Rename);
    }

    const std::map<std::string, std::uint32_t> kGrey{{"panel", 2}, {"hdmi", 2}};
    test::TempHome home_;
    fs::path pidFile_ = home_.root() / ".local/share/OlvaneMac/watchdog-pid";
    platform::sim::ManualRunLoop loop_;
    platform::sim::SimFileWatcher files_;
    platform::sim::SimProcessWatcher processes_{loop_};
    test::ScriptedColorRemapDevice device_;
    WatchdogAgent agent_{loop_, files_, processes_, {device_}, pidFile_};
};

TEST_F(WatchdogAgentTest, WaitsForTheFileThenWatchesEachLaunchInTurn) {
    agent_.startWatching();
    EXPECT_TRUE(fs::exists(pidFile_));
    EXPECT_EQ(platform::readWholeFile(pidFile_), "");
    EXPECT_EQ(test::permissionsOf(pidFile_.parent_path()), 0700u);
    EXPECT_TRUE(agent_.isWatchingPIDFile());
    EXPECT_FALSE(agent_.isWatchingProcess());

    // Three launches: a crash, a clean quit (the file removed), a crash.
    for (const pid_t pid : {4711, 4712, 4713}) {
        launch(pid);
        ASSERT_TRUE(agent_.isWatchingProcess()) << pid;
        EXPECT_EQ(device_.openConnections(), 2u) << "readied for the reset";
        EXPECT_TRUE(processes_.isWatched(pid));
        EXPECT_EQ(files_.watchCount(), 1u) << "the file is watched meanwhile";

        device_.writes.clear();
        if (pid == 4712) {
            fs::remove(pidFile_);
        }
        processes_.exit(pid);
        EXPECT_EQ(device_.writes, (std::vector<Write>{{"panel", 0}, {"hdmi", 0}}));
        EXPECT_EQ(device_.openConnections(), 0u);
        EXPECT_EQ(device_.loadCount, device_.unloadCount);
        EXPECT_TRUE(agent_.isWatchingPIDFile());
        EXPECT_FALSE(agent_.isWatchingProcess());
    }
    loop_.advanceSeconds(5);
    EXPECT_EQ(device_.writes.size(), 2u) << "one reset per exit";
}

// Any other mode may be the user's own setting: only our grayscale is taken back. A device that
// cannot read its mode back gets mode 0 whatever it holds.
TEST_F(WatchdogAgentTest, OnlyOurOwnGrayscaleIsTakenBack) {
    agent_.startWatching();
    launch(4711);
    device_.modes["hdmi"] = 1;
    processes_.exit(4711);
    EXPECT_EQ(device_.writes, (std::vector<Write>{{"panel", 0}}));
    EXPECT_EQ(device_.modes["hdmi"], 1u);

    device_.loadResult = RemapLoadResult::loaded(false);
    launch(4712);
    device_.modes["hdmi"] = 1;
    processes_.exit(4712);
    EXPECT_EQ(device_.modes, (std::map<std::string, std::uint32_t>{{"panel", 0}, {"hdmi", 0}}));
}

TEST_F(WatchdogAgentTest, FileEventsWithoutALiveProcessChangeNothing) {
    agent_.startWatching();
    for (const char* text : {"", "abc", "0", "-4711", "4711"}) {  // 4711 is not running
        writePidFile(text);
        EXPECT_TRUE(agent_.isWatchingPIDFile()) << text;
        EXPECT_FALSE(agent_.isWatchingProcess()) << text;
    }
    fs::remove(pidFile_);
    files_.fire(pidFile_, FileEvent::Delete);
    EXPECT_TRUE(agent_.isWatchingPIDFile());

    processes_.start(4711, WatchdogAgent::kApplicationProgram);
    ASSERT_TRUE(platform::writeFileInPlace(pidFile_, " 4711\n"));
    files_.fire(pidFile_, FileEvent::Create | FileEvent::Write);
    EXPECT_TRUE(agent_.isWatchingProcess());
}

// The file holds one number: one of any length is not read whole, and one that is no file (a
// FIFO with no writer) is not waited on.
TEST_F(WatchdogAgentTest, OnlyAFileOfTheSizeOfANumberIsRead) {
    agent_.startWatching();
    processes_.start(4711, WatchdogAgent::kApplicationProgram);
    writePidFile("4711" + std::string(kMaxPidFileBytes, ' '));
    EXPECT_FALSE(agent_.isWatchingProcess());
    fs::remove(pidFile_);
    ASSERT_EQ(::mkfifo(pidFile_.c_str(), 0600), 0);
    files_.fire(pidFile_, FileEvent::Create);
    EXPECT_FALSE(agent_.isWatchingProcess());
    writePidFile("4711" + std::string(kMaxPidFileBytes - 4, ' '));
    EXPECT_TRUE(agent_.isWatchingProcess());
}

TEST_F(WatchdogAgentTest, AtItsStartTheAgentPutsBackTheColourOfARunThatEndedUnwatched) {
    ASSERT_TRUE(platform::ensurePrivateFolder(pidFile_.parent_path()));
    // A clean quit (no number), a live run, a crash, a power cut (the number now another's).
    processes_.start(321, WatchdogAgent::kApplicationProgram);
    processes_.start(654, "sleep");
    const struct {
        const char* file;
        bool reset;
        bool watched;
    } cases[] = {
        {"", false, false}, {"321", false, true}, {"4711", true, false}, {"654", true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_TRUE(platform::writeFileAtomically(pidFile_, c.file));
        device_.writes.clear();
        device_.modes = kGrey;
        WatchdogAgent agent(loop_, files_, processes_, {device_}, pidFile_);
        agent.start();
        EXPECT_EQ(device_.writes.size(), c.reset ? 2u : 0u);
        EXPECT_EQ(agent.isWatchingProcess(), c.watched);
        EXPECT_TRUE(agent.isWatchingPIDFile());
        EXPECT_FALSE(processes_.isWatched(654));
    }
}

TEST_F(WatchdogAgentTest, ANumberWrittenWhileARunIsWatchedTakesOver) {
    agent_.start();
    launch(4711);
    launch(4712);
    EXPECT_TRUE(processes_.isWatched(4712));
    EXPECT_FALSE(processes_.isWatched(4711));
    processes_.start(99, "sleep");
    writePidFile("99");
    EXPECT_TRUE(processes_.isWatched(4712)) << "another program's number changes nothing";
    processes_.exit(4712);
    EXPECT_EQ(device_.writes, (std::vector<Write>{{"panel", 0}, {"hdmi", 0}}));
}

TEST_F(WatchdogAgentTest, ProcessEndingBeforeItsWatchIsArmedStillResets) {
    agent_.startWatching();
    processes_.endBeforeWatch(4711);
    launch(4711);
    EXPECT_TRUE(device_.writes.empty());
    loop_.runPending();
    EXPECT_EQ(device_.writes, (std::vector<Write>{{"panel", 0}, {"hdmi", 0}}));
    EXPECT_TRUE(agent_.isWatchingPIDFile());
}

TEST_F(WatchdogAgentTest, MissingDriverWritesNothingAndTheAgentGoesOn) {
    agent_.startWatching();
    device_.loadResult = RemapLoadResult::frameworkMissing("absent");
    launch(1);
    processes_.exit(1);
    EXPECT_TRUE(device_.writes.empty());
    EXPECT_EQ(device_.unloadCount, 0);

    // Loaded when the watch starts and again at the reset, and unloaded each time.
    device_.loadResult = RemapLoadResult::symbolsMissing();
    launch(2);
    processes_.exit(2);
    EXPECT_TRUE(device_.writes.empty());
    EXPECT_EQ(device_.unloadCount, 2);

    device_.loadResult = RemapLoadResult::loaded(false);
    device_.services.reset();  // the lookup fails
    launch(3);
    processes_.exit(3);
    EXPECT_TRUE(device_.writes.empty());
    EXPECT_EQ(device_.unloadCount, 4);

    // A service that cannot be opened is skipped, the others are reset.
    device_.services = {{{"panel", ExternalProperty::False}, {"hdmi", ExternalProperty::True}}};
    device_.openStatus["panel"] = -1;
    launch(4);
    processes_.exit(4);
    EXPECT_EQ(device_.writes, (std::vector<Write>{{"hdmi", 0}}));
    EXPECT_TRUE(agent_.isWatchingPIDFile());
}

TEST_F(WatchdogAgentTest, AFolderThatGoesIsMadeAgainAndTheNextLaunchIsSeen) {
    agent_.startWatching();
    fs::remove_all(pidFile_.parent_path());
    files_.fire(pidFile_, FileEvent::Lost);
    EXPECT_FALSE(agent_.isWatchingPIDFile());
    loop_.advanceSeconds(0.5);
    EXPECT_TRUE(agent_.isWatchingPIDFile());
    EXPECT_TRUE(fs::exists(pidFile_));
    EXPECT_EQ(test::permissionsOf(pidFile_.parent_path()), 0700u);

    launch(77);
    EXPECT_TRUE(agent_.isWatchingProcess());
    processes_.exit(77);
    EXPECT_EQ(device_.writes.size(), 2u);
}

// The user's desktop settings that another program's lock kept out are given back once it lets
// go: the agent guarding one run ends only then. A run begun meanwhile has them: given back now,
// they would undo its grey.
TEST_F(WatchdogAgentTest, DesktopSettingsLockedOutAreGivenBackOnceFreeUnlessANewRunBegan) {
    ASSERT_TRUE(platform::ensurePrivateFolder(pidFile_.parent_path()));
    platform::sim::SimGrayscaleSwitch desktop;
    const auto lockOut = [&] {
        desktop.setKeepsUserValues(true);
        desktop.setFailure("« kwinrc » reste verrouillé par un autre programme");
        desktop.setLockedOut(true);
    };
    for (const bool newRun : {false, true}) {
        SCOPED_TRACE(newRun ? "a new run begins" : "no new run");
        lockOut();
        bool done = false;
        WatchdogAgent guard(loop_, files_, processes_, {device_}, pidFile_, {desktop});
        processes_.start(44, WatchdogAgent::kApplicationProgram);
        guard.guardOnly(44, [&] { done = true; });
        processes_.exit(44);
        desktop.letGo();
        EXPECT_FALSE(done) << "taken again before the retry";
        if (newRun) {
            launch(45);
        } else {
            desktop.setFailure("");
        }
        desktop.letGo();
        EXPECT_TRUE(done);
        EXPECT_EQ(desktop.keepsUserValues(), newRun);
    }

    lockOut();
    WatchdogAgent agent(loop_, files_, processes_, {device_}, pidFile_, {desktop});
    agent.startWatching();
    launch(46);
    processes_.exit(46);
    const int switches = desktop.setCount();
    launch(47);
    desktop.setFailure("");
    desktop.letGo();
    EXPECT_EQ(desktop.setCount(), switches);
    EXPECT_TRUE(desktop.keepsUserValues());
}

TEST_F(WatchdogAgentTest, WatchesThatCannotBeArmedAreTriedAgain) {
    files_.setFailNameWatches(true);
    agent_.startWatching();
    EXPECT_FALSE(agent_.isWatchingPIDFile());
    files_.setFailNameWatches(false);
    loop_.advanceSeconds(0.4);
    EXPECT_FALSE(agent_.isWatchingPIDFile());
    loop_.advanceSeconds(0.1);
    EXPECT_TRUE(agent_.isWatchingPIDFile());

    // Guarding one run: never taken for its end.
    bool done = false;
    WatchdogAgent guard(loop_, files_, processes_, {device_}, pidFile_);
    processes_.start(44, WatchdogAgent::kApplicationProgram);
    processes_.failWatches(true);
    guard.guardOnly(44, [&] { done = true; });
    loop_.advanceSeconds(1);
    EXPECT_TRUE(device_.writes.empty());
    processes_.failWatches(false);
    loop_.advanceSeconds(0.5);
    EXPECT_TRUE(guard.isWatchingProcess());
    processes_.exit(44);
    EXPECT_TRUE(done);
    device_.writes.clear();

    processes_.failWatches(true);
    launch(55);
    EXPECT_FALSE(agent_.isWatchingProcess());
    processes_.failWatches(false);
    loop_.advanceSeconds(0.5);
    EXPECT_TRUE(agent_.isWatchingProcess());
    processes_.exit(55);
    EXPECT_EQ(device_.writes.size(), 2u);
}

}  // namespace
}  // namespace olvane
