// OlvaneWatchdog and a stand-in application as real processes in a temporary HOME.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/syscall.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <thread>

#include "platform/FileIO.h"
#include "platform/linux/CtmMatrix.h"
#include "platform/linux/X11Connection.h"
#include "platform/sim/SimulatedDisplayFile.h"
#include "support/ChildProcess.h"
#include "support/CtmOutputs.h"
#include "support/DesktopStandIn.h"
#include "support/KeyfileSettings.h"
#include "support/PrivateSessionBus.h"
#include "support/TempHome.h"
#include "support/UnreadSocketBytes.h"
#include "support/XServer.h"

namespace olvane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using platform::sim::SimulatedDisplayFile;

fs::path fakeApplication() {
    return test::builtExecutable("tests/watchdog/stand-in/OlvaneMac");
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

// Whether `holder` has a pidfd on `target` open: the agent is watching that process.
bool watches(pid_t holder, pid_t target) {
    std::error_code ec;
    const auto fdinfo = fs::path("/proc") / std::to_string(holder) / "fdinfo";
    for (const auto& entry : fs::directory_iterator(fdinfo, ec)) {
        const auto text = platform::readWholeFile(entry.path()).value_or("");
        if (text.find("\nPid:\t" + std::to_string(target) + "\n") != std::string::npos) {
            return true;
        }
    }
    return false;
}

// The running OlvaneWatchdog that `parent` started; 0 when there is none.
pid_t agentOf(pid_t parent) {
    const auto children = platform::readWholeFile("/proc/" + std::to_string(parent) + "/task/" +
                                                  std::to_string(parent) + "/children")
                              .value_or("");
    std::istringstream numbers(children);
    for (pid_t child = 0; numbers >> child;) {
        const auto status =
            platform::readWholeFile("/proc/" + std::to_string(child) + "/status").value_or("");
        if (status.starts_with("Name:\tOlvaneWatchdog\n") &&
            status.find("\nState:\tZ") == std::string::npos) {
            return child;
        }
    }
    return 0;
}

// Whether `pid` waits in its run loop: whatever it does on its own at start is done.
bool waitsInItsLoop(pid_t pid) {
    const auto call =
        platform::readWholeFile("/proc/" + std::to_string(pid) + "/syscall").value_or("");
    long number = -1;
    std::istringstream(call) >> number;
#ifdef SYS_epoll_wait
    if (number == SYS_epoll_wait) {
        return true;
    }
#endif
    return pid > 0 && (number == SYS_epoll_pwait || number == SYS_epoll_pwait2);
}

bool outputsHold(const std::string& display, const platform::os::ColourMatrix& matrix) {
    const auto outputs = test::ctmOfOutputs(display);
    const auto words = platform::os::encodeCtm(matrix);
    return !outputs.empty() &&
           std::all_of(outputs.begin(), outputs.end(), [&](const auto& w) { return w == words; });
}

// Has the server tell every client `count` times that the pointer's buttons were mapped anew
// (to the same mapping), as a new keyboard layout does for the keys.
bool announceMappingChanges(const std::string& display, int count) {
    const auto x = platform::os::X11Connection::open(display);
    using platform::os::XcbPtr;
    const XcbPtr<xcb_get_pointer_mapping_reply_t> mapping(
        x ? xcb_get_pointer_mapping_reply(x->get(), xcb_get_pointer_mapping(x->get()), nullptr)
          : nullptr);
    for (int i = 0; mapping && i < count; ++i) {
        const XcbPtr<xcb_set_pointer_mapping_reply_t> set(xcb_set_pointer_mapping_reply(
            x->get(),
            xcb_set_pointer_mapping(x->get(), mapping->map_len,
                                    xcb_get_pointer_mapping_map(mapping.get())),
            nullptr));
        if (!set || set->status != XCB_MAPPING_STATUS_SUCCESS) {
            return false;
        }
    }
    return static_cast<bool>(mapping);
}

class WatchdogEndToEndTest : public ::testing::Test {
  protected:
    std::optional<std::uint32_t> displayMode() {
        const auto state = SimulatedDisplayFile::read(displayFile_);
        return state ? state->mode(SimulatedDisplayFile::kDefaultDisplayId) : std::nullopt;
    }

    test::TempHome home_;
    fs::path pidFile_ = home_.paths().dataFolder() / "watchdog-pid";
    fs::path displayFile_ = SimulatedDisplayFile::defaultPath(home_.paths());
};

TEST_F(WatchdogEndToEndTest, DisplayReturnsToColourWheneverTheApplicationEnds) {
    test::ChildProcess watchdog(test::builtExecutable("src/watchdog/OlvaneWatchdog"));
    // The agent creates an empty PID file once it watches for it.
    ASSERT_TRUE(waitUntil([&] { return fs::exists(pidFile_); }, 10s));

    for (int launch = 1; launch <= 3; ++launch) {
        SCOPED_TRACE("launch " + std::to_string(launch));
        test::ChildProcess app(fakeApplication());
        ASSERT_EQ(app.readStdout(6, 10s), "ready\n");
        ASSERT_EQ(displayMode(), 2u);
        // An application that dies before the agent has even read its PID file is out of reach.
        ASSERT_TRUE(waitUntil([&] { return watches(watchdog.pid(), app.pid()); }, 10s));

        if (launch == 2) {
            ASSERT_TRUE(app.writeStdin("quit\n"));
            const auto exit = app.wait(10s);
            ASSERT_TRUE(exit && exit->exited && exit->code == 0);
            EXPECT_FALSE(fs::exists(pidFile_) && fs::file_size(pidFile_) > 0);
        } else {
            app.signal(SIGKILL);
            const auto exit = app.wait(10s);
            ASSERT_TRUE(exit && !exit->exited && exit->code == SIGKILL);
        }
        EXPECT_TRUE(waitUntil([&] { return displayMode() == 0u; }, 10s));

        if (launch == 1) {
            // The file goes away while the agent waits (a user, a reinstall): the next launch
            // brings a new file, which a watch on the old one would never see. A pause lets the
            // agent take the removal first; a slow agent only makes the check weaker.
            fs::remove(pidFile_);
            std::this_thread::sleep_for(50ms);
        }
        if (launch == 2) {
            // The whole data folder goes: the agent makes it again and sees the next launch.
            // It may put a file back while the folder is being emptied: empty it again then.
            ASSERT_TRUE(waitUntil(
                [&] {
                    std::error_code ec;
                    fs::remove_all(pidFile_.parent_path(), ec);
                    return !ec;
                },
                10s));
            std::this_thread::sleep_for(50ms);
        }
    }
    EXPECT_FALSE(watchdog.wait(0ms)) << "the agent keeps running";
}

// After a power cut the PID file names whatever process of the new boot took the number: the
// agent puts back the colour the dead run left, and watches the next launch all the same.
TEST_F(WatchdogEndToEndTest, AStaleNumberPutsTheColourBackAndDoesNotBlindTheAgent) {
    test::ChildProcess stranger("/bin/sleep", {"600"});
    SimulatedDisplayFile grey;
    grey.setMode(SimulatedDisplayFile::kDefaultDisplayId, 2);
    ASSERT_TRUE(platform::ensurePrivateFolder(displayFile_.parent_path()));
    ASSERT_TRUE(platform::writeFileAtomically(displayFile_, grey.serialize()));
    ASSERT_TRUE(platform::ensurePrivateFolder(pidFile_.parent_path()));
    ASSERT_TRUE(platform::writeFileAtomically(pidFile_, std::to_string(stranger.pid())));

    test::ChildProcess watchdog(test::builtExecutable("src/watchdog/OlvaneWatchdog"));
    EXPECT_TRUE(waitUntil([&] { return displayMode() == 0u; }, 10s));
    test::ChildProcess app(fakeApplication());
    ASSERT_EQ(app.readStdout(6, 10s), "ready\n");
    ASSERT_TRUE(waitUntil([&] { return watches(watchdog.pid(), app.pid()); }, 10s));
    EXPECT_FALSE(watches(watchdog.pid(), stranger.pid()));
    app.signal(SIGKILL);
    ASSERT_TRUE(app.wait(10s));
    EXPECT_TRUE(waitUntil([&] { return displayMode() == 0u; }, 10s));
}

// A folder where the file belongs (left by a user, a backup tool): the application sets it aside
// and writes its number, which the agent, already waiting, follows.
TEST_F(WatchdogEndToEndTest, AFolderInThePlaceOfThePidFileDoesNotBlindTheAgent) {
    fs::create_directories(pidFile_ / "kept");
    test::ChildProcess watchdog(test::builtExecutable("src/watchdog/OlvaneWatchdog"));
    test::ChildProcess app(fakeApplication());
    ASSERT_EQ(app.readStdout(6, 10s), "ready\n");
    ASSERT_TRUE(waitUntil([&] { return watches(watchdog.pid(), app.pid()); }, 10s));
    app.signal(SIGKILL);
    ASSERT_TRUE(app.wait(10s));
    EXPECT_TRUE(waitUntil([&] { return displayMode() == 0u; }, 10s));
}

// Started by the application itself where no service manager runs: it guards that one run,
// puts the colour back when it ends, and ends too.
TEST_F(WatchdogEndToEndTest, AnAgentGuardingOneRunEndsOnceTheColourIsBack) {
    test::ChildProcess app(fakeApplication());
    ASSERT_EQ(app.readStdout(6, 10s), "ready\n");
    test::ChildProcess watchdog(test::builtExecutable("src/watchdog/OlvaneWatchdog"),
                                {"--pid", std::to_string(app.pid())});
    ASSERT_TRUE(waitUntil([&] { return watches(watchdog.pid(), app.pid()); }, 10s));
    ASSERT_EQ(displayMode(), 2u);

    app.signal(SIGKILL);
    ASSERT_TRUE(app.wait(10s));
    const auto exit = watchdog.wait(10s);
    ASSERT_TRUE(exit);
    EXPECT_TRUE(exit->exited && exit->code == 0);
    EXPECT_EQ(displayMode(), 0u);

    // A run already over is reset at once.
    test::ChildProcess late(test::builtExecutable("src/watchdog/OlvaneWatchdog"),
                            {"--pid", std::to_string(app.pid())});
    const auto lateExit = late.wait(10s);
    EXPECT_TRUE(lateExit && lateExit->exited && lateExit->code == 0);
}

// Where no service manager runs, the application keeps its agent: each one killed is replaced,
// however many, and the last still puts the colour back when the application is killed in turn.
TEST_F(WatchdogEndToEndTest, TheApplicationReplacesAKilledDetachedAgentEveryTime) {
    test::ChildProcess app(
        fakeApplication(),
        {"--detached-agent", test::builtExecutable("src/watchdog/OlvaneWatchdog").string()});
    ASSERT_EQ(app.readStdout(6, 10s), "ready\n");
    pid_t agent = 0;
    ASSERT_TRUE(waitUntil([&] { return watches(agent = agentOf(app.pid()), app.pid()); }, 10s));
    for (int kill = 1; kill <= 7; ++kill) {
        SCOPED_TRACE("kill " + std::to_string(kill));
        const pid_t killed = agent;
        ::kill(killed, SIGKILL);
        ASSERT_TRUE(waitUntil(
            [&] { return (agent = agentOf(app.pid())) != killed && watches(agent, app.pid()); },
            30s));
    }
    ASSERT_EQ(displayMode(), 2u);

    app.signal(SIGKILL);
    ASSERT_TRUE(app.wait(10s));
    EXPECT_TRUE(waitUntil([&] { return displayMode() == 0u; }, 10s));
    EXPECT_TRUE(waitUntil([&] { return !fs::exists("/proc/" + std::to_string(agent)); }, 10s));
}

// Where the kernel gives no pidfd, the application and its agent look for their processes' ends
// by number: a killed agent is still replaced, and the colour still comes back, not sooner.
TEST_F(WatchdogEndToEndTest, WithoutPidfdTheDetachedAgentStillDoesItsWork) {
    test::ChildProcess app(test::builtExecutable("tests/support/olvane-without-pidfd"),
                           {fakeApplication().string(), "--detached-agent",
                            test::builtExecutable("src/watchdog/OlvaneWatchdog").string()});
    ASSERT_EQ(app.readStdout(6, 10s), "ready\n");
    pid_t first = 0;
    ASSERT_TRUE(waitUntil([&] { return waitsInItsLoop(first = agentOf(app.pid())); }, 10s));
    EXPECT_EQ(displayMode(), 2u) << "no pidfd is no end";
    ::kill(first, SIGKILL);
    pid_t second = 0;
    ASSERT_TRUE(waitUntil(
        [&] { return (second = agentOf(app.pid())) != first && waitsInItsLoop(second); }, 30s));

    app.signal(SIGKILL);
    ASSERT_TRUE(app.wait(10s));
    EXPECT_TRUE(waitUntil([&] { return displayMode() == 0u; }, 10s));
    EXPECT_TRUE(waitUntil([&] { return !fs::exists("/proc/" + std::to_string(second)); }, 10s));
}

// The X server's outputs through their "CTM" property; the agent learns the display from the
// application itself and stays connected while it runs.
TEST(WatchdogEndToEndCtmTest, KilledApplicationLeavesTheOutputsInColour) {
    test::TempHome home;
    test::XServer server({.restartable = true});
    ASSERT_TRUE(server.ready());
    ASSERT_TRUE(test::addCtmToOutputs(server.display()));
    const auto pidFile = home.paths().dataFolder() / "watchdog-pid";

    // Started by the user's service manager, the agent may not know the session's display.
    ::unsetenv("DISPLAY");
    test::ChildProcess watchdog(test::builtExecutable("src/watchdog/OlvaneWatchdog"));
    ::setenv("DISPLAY", server.display().c_str(), 1);
    ASSERT_TRUE(waitUntil([&] { return fs::exists(pidFile); }, 10s));

    for (const bool connectionsBreak : {false, true}) {
        SCOPED_TRACE(connectionsBreak ? "connections broken while waiting" : "plain kill");
        test::ChildProcess app(fakeApplication(), {"--ctm"});
        ASSERT_EQ(app.readStdout(6, 10s), "ready\n");
        ASSERT_TRUE(outputsHold(server.display(), platform::os::kGrayscaleMatrix));
        ASSERT_TRUE(waitUntil([&] { return watches(watchdog.pid(), app.pid()); }, 10s));
        // One connection: the crash handlers' line is the application's alone.
        ASSERT_TRUE(waitUntil([&] { return server.clientCountOf(watchdog.pid()) == 1; }, 10s));
        if (!connectionsBreak) {
            // What the server sends every client while the agent waits (a new key or button
            // mapping) is read, not left to pile up for as long as the session lasts.
            // Stopped half-way into its connection, it would not be sent what the test counts.
            ASSERT_TRUE(waitUntil([&] { return waitsInItsLoop(watchdog.pid()); }, 10s));
            ASSERT_TRUE(watchdog.stop(10s));
            const bool queued =
                announceMappingChanges(server.display(), 20) &&
                waitUntil([&] { return test::unreadSocketBytes(watchdog.pid()).value_or(0) > 0; },
                          10s);
            watchdog.signal(SIGCONT);
            ASSERT_TRUE(queued);
            EXPECT_TRUE(
                waitUntil([&] { return test::unreadSocketBytes(watchdog.pid()) == 0u; }, 10s));
            EXPECT_EQ(server.clientCountOf(watchdog.pid()), 1u);
        } else {
            // The session's server goes and a new one takes its display: the agent writes on a
            // dead socket first, and must neither die of it nor give up.
            ASSERT_TRUE(server.restart());
            ASSERT_TRUE(test::addCtmToOutputs(
                server.display(), platform::os::encodeCtm(platform::os::kGrayscaleMatrix)));
        }

        app.signal(SIGKILL);
        ASSERT_TRUE(app.wait(10s));
        EXPECT_TRUE(waitUntil(
            [&] { return outputsHold(server.display(), platform::os::kIdentityMatrix); }, 10s));
        EXPECT_FALSE(watchdog.wait(0ms)) << "the agent keeps running";
    }

    // The user's own correction in the place of our grey: the agent leaves it.
    const auto usersOwn = platform::os::encodeCtm({1, 0, 0, 0, 0.9, 0, 0, 0, 0.7});
    test::ChildProcess app(fakeApplication(), {"--ctm"});
    ASSERT_EQ(app.readStdout(6, 10s), "ready\n");
    ASSERT_TRUE(waitUntil([&] { return watches(watchdog.pid(), app.pid()); }, 10s));
    ASSERT_TRUE(waitUntil([&] { return server.clientCountOf(watchdog.pid()) == 1; }, 10s));
    ASSERT_TRUE(test::addCtmToOutputs(server.display(), usersOwn));
    app.signal(SIGKILL);
    ASSERT_TRUE(app.wait(10s));
    // Its reset is over once it lets go of the display.
    ASSERT_TRUE(waitUntil([&] { return server.clientCountOf(watchdog.pid()) == 0; }, 10s));
    EXPECT_EQ(test::ctmOfOutputs(server.display()), std::vector{usersOwn});
}

// The desktops' own switches: their settings outlive the application as a display's mode does.
// GNOME's zoom in a keyfile, KWin as a stand-in on a private session bus.
TEST(WatchdogEndToEndDesktopTest, KilledApplicationLeavesTheDesktopInColour) {
    test::TempHome home;
    test::KeyfileSettings settings(home);
    settings.write("[org/gnome/desktop/a11y/magnifier]\nmag-factor=3.5\n");
    const auto kwinrc = home.paths().configHome() / "kwinrc";
    ASSERT_TRUE(platform::writeFileAtomically(kwinrc, "[Plugins]\nblurEnabled=true\n"));
    test::PrivateSessionBus bus;
    ASSERT_TRUE(bus.ready());
    const auto kwin = test::DesktopStandIn::kwin("6.6.0");
    ASSERT_TRUE(kwin->ready());
    const auto magnifier = [&](const char* key) {
        return settings.value("org.gnome.desktop.a11y.magnifier", key);
    };

    test::ChildProcess watchdog(test::builtExecutable("src/watchdog/OlvaneWatchdog"));
    const auto pidFile = home.paths().dataFolder() / "watchdog-pid";
    ASSERT_TRUE(waitUntil([&] { return fs::exists(pidFile); }, 10s));

    const struct {
        const char* mode;
        std::function<bool()> grey;
        std::function<bool()> colour;
    } cases[] = {
        {"--gnome", [&] { return magnifier("color-saturation") == "0.0"; },
         [&] {
             return magnifier("mag-factor") == "3.5" && !magnifier("color-saturation") &&
                    !settings.value("org.gnome.desktop.a11y.applications",
                                    "screen-magnifier-enabled");
         }},
        {"--kwin", [&] { return kwin->skipTo("loadEffect colorblindnesscorrection"); },
         [&] {
             return kwin->skipTo("unloadEffect colorblindnesscorrection") &&
                    platform::readWholeFile(kwinrc) == "[Plugins]\nblurEnabled=true\n";
         }},
    };
    // Killed as it was, then just after the data folder went with the values saved there.
    for (const bool folderRemoved : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.mode) + (folderRemoved ? " after rm -rf" : ""));
            test::ChildProcess app(fakeApplication(), {c.mode});
            ASSERT_EQ(app.readStdout(6, 10s), "ready\n");
            ASSERT_TRUE(c.grey());
            ASSERT_TRUE(waitUntil([&] { return watches(watchdog.pid(), app.pid()); }, 10s));

            if (folderRemoved) {
                fs::remove_all(home.paths().dataFolder());
            }
            app.signal(SIGKILL);
            ASSERT_TRUE(app.wait(10s));
            EXPECT_TRUE(waitUntil(c.colour, 10s));
        }
    }
}

// kwinrc locked by another program when the application ends: the agent guarding that run
// unloads the effect at once, gives the user's lines back once the lock goes, and ends only then.
TEST(WatchdogEndToEndDesktopTest, ALockedKwinrcIsGivenBackOnceFreeBeforeTheAgentEnds) {
    test::TempHome home;
    const auto kwinrc = home.paths().configHome() / "kwinrc";
    const std::string usersOwn = "[Plugins]\nblurEnabled=true\n";
    fs::create_directories(kwinrc.parent_path());
    ASSERT_TRUE(platform::writeFileAtomically(kwinrc, usersOwn));
    test::PrivateSessionBus bus;
    ASSERT_TRUE(bus.ready());
    const auto kwin = test::DesktopStandIn::kwin("6.6.0");
    ASSERT_TRUE(kwin->ready());
    test::ChildProcess app(fakeApplication(), {"--kwin"});
    ASSERT_EQ(app.readStdout(6, 10s), "ready\n");
    ASSERT_TRUE(kwin->skipTo("loadEffect colorblindnesscorrection"));
    const auto grey = platform::readWholeFile(kwinrc);
    test::ChildProcess watchdog(test::builtExecutable("src/watchdog/OlvaneWatchdog"),
                                {"--pid", std::to_string(app.pid())});
    ASSERT_TRUE(waitUntil([&] { return watches(watchdog.pid(), app.pid()); }, 10s));

    const auto lock = test::holdKConfigFileLock(kwinrc);
    ASSERT_FALSE(lock.empty());
    app.signal(SIGKILL);
    ASSERT_TRUE(app.wait(10s));
    EXPECT_TRUE(kwin->skipTo("unloadEffect colorblindnesscorrection"));
    ASSERT_TRUE(watchdog.waitForStderr("remis dès que leur fichier sera libéré\n", 10s))
        << watchdog.stderrSoFar();
    EXPECT_EQ(platform::readWholeFile(kwinrc), grey);
    EXPECT_FALSE(watchdog.wait(0ms)) << "the agent stays";

    fs::remove(lock);
    EXPECT_TRUE(waitUntil([&] { return platform::readWholeFile(kwinrc) == usersOwn; }, 10s));
    const auto exit = watchdog.wait(10s);
    EXPECT_TRUE(exit && exit->exited && exit->code == 0);
}

// A watchdog copied without GSettings' module names it under GNOME, where it cannot give the zoom
// back; and it says what it puts back when the application ends.
TEST(WatchdogEndToEndDesktopTest, AnAgentWithoutItsModuleSaysSoAndLogsItsResets) {
    test::TempHome home;
    const auto copied = home.root() / "copied";
    fs::create_directories(copied);
    fs::copy_file(test::builtExecutable("src/watchdog/OlvaneWatchdog"), copied / "OlvaneWatchdog");
    test::ChildProcess watchdog(
        "/usr/bin/env", {"XDG_CURRENT_DESKTOP=GNOME", (copied / "OlvaneWatchdog").string()});
    EXPECT_TRUE(watchdog.waitForStderr(
        "GrayscaleFilter: ⚠️ Réglages du zoom de GNOME jamais remis à la "
        "fin d’OlvaneMac: module "
        "olvane_gsettings.so non chargé (olvane_gsettings.so introuvable dans <private>)\n",
        10s))
        << watchdog.stderrSoFar();

    test::ChildProcess app(fakeApplication());
    ASSERT_EQ(app.readStdout(6, 10s), "ready\n");
    ASSERT_TRUE(waitUntil([&] { return watches(watchdog.pid(), app.pid()); }, 10s));
    app.signal(SIGKILL);
    ASSERT_TRUE(app.wait(10s));
    EXPECT_TRUE(watchdog.waitForStderr(
        "GrayscaleFilter: Fin d’OlvaneMac : couleur remise sur l’affichage builtin-0\n", 10s))
        << watchdog.stderrSoFar();
}

// Under GNOME the agent opens GSettings' module when it starts: one replaced meanwhile by an
// upgrade is never loaded into it at the moment colour must come back.
TEST(WatchdogEndToEndDesktopTest, AModuleUpgradedWhileTheAgentRunsIsNotTheOneItUses) {
    test::TempHome home;
    test::KeyfileSettings settings(home);
    settings.write("[org/gnome/desktop/a11y/magnifier]\nmag-factor=3.5\n");
    const auto installed = home.root() / "installed";
    fs::create_directories(installed);
    fs::copy_file(test::builtExecutable("src/watchdog/OlvaneWatchdog"),
                  installed / "OlvaneWatchdog");
    fs::copy_file(test::builtExecutable("src/platform/olvane_gsettings.so"),
                  installed / "olvane_gsettings.so");
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    const std::optional<std::string> savedDesktop =
        desktop ? std::optional<std::string>(desktop) : std::nullopt;
    ::setenv("XDG_CURRENT_DESKTOP", "ubuntu:GNOME", 1);
    test::ChildProcess watchdog(installed / "OlvaneWatchdog");
    savedDesktop ? ::setenv("XDG_CURRENT_DESKTOP", savedDesktop->c_str(), 1)
                 : ::unsetenv("XDG_CURRENT_DESKTOP");
    ASSERT_TRUE(
        waitUntil([&] { return fs::exists(home.paths().dataFolder() / "watchdog-pid"); }, 10s));
    ASSERT_TRUE(platform::writeFileAtomically(installed / "olvane_gsettings.so", "upgraded"));

    test::ChildProcess app(fakeApplication(), {"--gnome"});
    ASSERT_EQ(app.readStdout(6, 10s), "ready\n");
    ASSERT_TRUE(waitUntil([&] { return watches(watchdog.pid(), app.pid()); }, 10s));
    app.signal(SIGKILL);
    ASSERT_TRUE(app.wait(10s));
    EXPECT_TRUE(waitUntil(
        [&] {
            return settings.value("org.gnome.desktop.a11y.magnifier", "mag-factor") == "3.5" &&
                   !settings.value("org.gnome.desktop.a11y.magnifier", "color-saturation");
        },
        10s));
}

// GNOME's settings in dconf, whose writes go through GDBus's shared session connection: the bus
// going away (a logout, the bus's crash) must not end the agent, which may still have colour to
// give back.
TEST(WatchdogEndToEndDesktopTest, TheSessionBusGoingAwayDoesNotEndTheAgent) {
    test::TempHome home;
    test::PrivateSessionBus bus;
    ASSERT_TRUE(bus.ready());
    const auto inGnome = [](const fs::path& program, std::vector<std::string> args) {
        args.insert(args.begin(),
                    {"XDG_CURRENT_DESKTOP=GNOME", "GSETTINGS_BACKEND=dconf", program.string()});
        return std::make_unique<test::ChildProcess>("/usr/bin/env", args);
    };
    const auto watchdog = inGnome(test::builtExecutable("src/watchdog/OlvaneWatchdog"), {});
    const auto savedValues = home.paths().dataFolder() / "gnome-zoom-saved.json";
    const auto colour = [&] {
        const auto state =
            SimulatedDisplayFile::read(SimulatedDisplayFile::defaultPath(home.paths()));
        return state && state->mode(SimulatedDisplayFile::kDefaultDisplayId) == 0u;
    };
    const auto runAndKill = [&](std::vector<std::string> mode,
                                const std::function<void()>& whileRunning) {
        const auto app = inGnome(fakeApplication(), std::move(mode));
        ASSERT_EQ(app->readStdout(6, 10s), "ready\n");
        ASSERT_TRUE(waitUntil([&] { return watches(watchdog->pid(), app->pid()); }, 10s));
        whileRunning();
        app->signal(SIGKILL);
        ASSERT_TRUE(app->wait(10s));
    };
    // Once the agent gave the zoom back, it holds its own connection to the bus.
    runAndKill({"--gnome"}, [&] { ASSERT_TRUE(fs::exists(savedValues)); });
    ASSERT_TRUE(waitUntil([&] { return !fs::exists(savedValues); }, 10s));

    runAndKill({}, [&] {
        bus.daemon().signal(SIGKILL);
        ASSERT_TRUE(bus.daemon().wait(10s));
    });
    EXPECT_TRUE(waitUntil(colour, 10s));
    runAndKill({}, [] {});
    EXPECT_TRUE(waitUntil(colour, 10s));
    EXPECT_FALSE(watchdog->wait(0ms)) << "the agent keeps running";
}

}  // namespace
}  // namespace olvane
