// The real program under a real X server: start-up banner first and the end of the start-up, one
// instance per session, the crash-recovery record while it runs; whatever its window went
// through, SIGTERM, SIGINT and SIGHUP end it with the whole shutdown; an X server that goes away
// (a logout) still leaves no crash record and no PID file behind; none at all ends the run with a
// French line; a session bus that takes no connection on holds neither the start nor the end; a
// start with the filter off takes back the grey a run killed with its watchdog left on the outputs
// or in GNOME's zoom.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "platform/FileIO.h"
#include "platform/Json.h"
#include "platform/linux/CtmMatrix.h"
#include "platform/linux/GnomeZoomSwitch.h"
#include "support/ChildProcess.h"
#include "support/CtmOutputs.h"
#include "support/DesktopStandIn.h"
#include "support/KeyfileSettings.h"
#include "support/PrivateSessionBus.h"
#include "support/SilentSessionBus.h"
#include "support/TempHome.h"
#include "support/XServer.h"

// Last: Xlib's macros (None, Status…) would rewrite names in the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace olvane {
namespace {

using namespace std::chrono_literals;

// Whether the user defaults hold the crash-recovery record.
bool hasCrashRecord(const test::TempHome& home) {
    const auto text = platform::readWholeFile(home.paths().defaultsFile());
    const auto object = text ? json::parseObject(*text) : std::nullopt;
    return object && object->contains("com.olvane.lastKnownState");
}

// The first line of ours ("<category>: …") in what the program wrote on stderr.
std::string firstLineOfOurs(const std::string& output) {
    static const char* const kCategories[] = {
        "App",     "GrayscaleFilter", "ContentFilter", "FrictionEffects",
        "Hotkeys", "CrashRecovery",   "Settings",      "WindowMonitor"};
    std::size_t begin = 0;
    while (begin < output.size()) {
        const auto end = output.find('\n', begin);
        const auto line = output.substr(begin, end - begin);
        for (const char* category : kCategories) {
            if (line.rfind(std::string(category) + ": ", 0) == 0) {
                return line;
            }
        }
        if (end == std::string::npos) {
            break;
        }
        begin = end + 1;
    }
    return {};
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// The OlvaneWatchdog that guards `app` alone, as the application starts it without systemd.
std::optional<pid_t> detachedWatchdogOf(pid_t app) {
    const std::string wanted = std::string("--pid") + '\0' + std::to_string(app) + '\0';
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
        const auto cmdline = platform::readWholeFile(entry.path() / "cmdline").value_or("");
        const auto first = cmdline.find('\0');
        if (first != std::string::npos &&
            std::filesystem::path(cmdline.substr(0, first)).filename() == "OlvaneWatchdog" &&
            cmdline.substr(first + 1) == wanted) {
            return std::atoi(entry.path().filename().c_str());
        }
    }
    return std::nullopt;
}

bool eventually(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + test::kPatience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// The watchdog that guards `app` alone has put the colour back and ended. A test waits for it
// before its X server goes: late, it would take the next server given that number for its own.
bool itsWatchdogEnded(pid_t app) {
    return eventually([&] { return !detachedWatchdogOf(app); });
}

TEST(OlvaneMacSmoke, StartsOnceAndShutsDownCleanlyOnSigterm) {
    test::TempHome home;
    test::XServer display;
    if (!display.ready()) {
        GTEST_SKIP() << "Xvfb indisponible";
    }
    // No font at all: Inter is told missing once the start is over.
    const auto fonts = home.root() / "fonts.conf";
    ASSERT_TRUE(platform::writeFileAtomically(fonts, "<fontconfig/>"));
    ::setenv("FONTCONFIG_FILE", fonts.c_str(), 1);
    const auto program = test::builtExecutable("src/ui/shell/OlvaneMac");
    test::ChildProcess app(program);
    ::unsetenv("FONTCONFIG_FILE");
    ASSERT_TRUE(app.waitForStderr("App: === OlvaneMac démarrage ===", test::kPatience))
        << app.stderrSoFar();
    ASSERT_TRUE(app.waitForStderr("App: Initialisation terminée", test::kPatience))
        << app.stderrSoFar();
    EXPECT_EQ(firstLineOfOurs(app.stderrSoFar()), "App: === OlvaneMac démarrage ===");
    EXPECT_TRUE(app.waitForStderr("App: Police Inter absente", test::kPatience))
        << app.stderrSoFar();
    EXPECT_TRUE(hasCrashRecord(home));
    // No systemd user manager here: the watchdog found in the build tree guards this run.
    EXPECT_NE(app.stderrSoFar().find("App: Watchdog agent démarré en processus détaché"),
              std::string::npos)
        << app.stderrSoFar();
    std::optional<pid_t> watchdog;
    EXPECT_TRUE(eventually([&] { return (watchdog = detachedWatchdogOf(app.pid())).has_value(); }));

    // A second launch hands over to the first and ends at once.
    test::ChildProcess again(program);
    const auto secondExit = again.wait(test::kPatience);
    ASSERT_TRUE(secondExit);
    EXPECT_TRUE(secondExit->exited && secondExit->code == 0) << again.readStderrToEnd(1s);
    EXPECT_NE(again.readStderrToEnd(1s).find("OlvaneMac tourne déjà"), std::string::npos);
    EXPECT_FALSE(app.wait(0ms));

    // Even when the first cannot be reached, its lock says it runs: no second copy starts.
    std::filesystem::remove(home.paths().runtimeFolder() / "instance.sock");
    test::ChildProcess third(program);
    const auto thirdExit = third.wait(test::kPatience);
    ASSERT_TRUE(thirdExit);
    EXPECT_TRUE(thirdExit->exited && thirdExit->code == 1);
    EXPECT_NE(third.readStderrToEnd(1s).find("il ne répond pas"), std::string::npos);
    EXPECT_EQ(platform::readWholeFile(home.paths().dataFolder() / "watchdog-pid"),
              std::to_string(app.pid()));

    app.signal(SIGTERM);
    EXPECT_TRUE(app.waitForStderr("App: === OlvaneMac fermeture ===", test::kPatience))
        << app.stderrSoFar();
    EXPECT_TRUE(app.waitForStderr("App: Fermeture propre terminée", test::kPatience))
        << app.stderrSoFar();
    const auto exit = app.wait(test::kPatience);
    ASSERT_TRUE(exit);
    EXPECT_TRUE(exit->exited) << "tué par le signal " << exit->code;
    const auto output = app.readStderrToEnd(1s);
    EXPECT_EQ(exit->code, 0) << output;
    EXPECT_EQ(occurrences(output, "Surveillance des raccourcis arrêtée"), 1u) << output;
    EXPECT_FALSE(hasCrashRecord(home));
    EXPECT_FALSE(std::filesystem::exists(home.paths().dataFolder() / "watchdog-pid"));
    // Its job done, the watchdog ends too.
    if (watchdog) {
        EXPECT_TRUE(eventually([&] { return ::kill(*watchdog, 0) != 0; }));
    }
}

// A connection of the test's own, to find and drive the program's main window as a user would
// through the window manager.
class Desktop {
  public:
    explicit Desktop(const std::string& display) : x_(XOpenDisplay(display.c_str())) {
        // Windows come and go while the tree is walked: such errors only mean "gone".
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    }
    ~Desktop() {
        if (x_) {
            XCloseDisplay(x_);
        }
    }
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    bool ready() const { return x_ != nullptr; }

    // The largest shown window titled "Olvane", waited for until `timeout`.
    Window mainWindow(std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            Window best = None;
            int bestArea = 0;
            visit(DefaultRootWindow(x_), [&](Window window) {
                XWindowAttributes attributes{};
                if (title(window) == "Olvane" && XGetWindowAttributes(x_, window, &attributes) &&
                    attributes.map_state == IsViewable &&
                    attributes.width * attributes.height > bestArea) {
                    best = window;
                    bestArea = attributes.width * attributes.height;
                }
            });
            if (best != None) {
                return best;
            }
            std::this_thread::sleep_for(50ms);
        }
        return None;
    }

    bool isViewable(Window window) {
        XWindowAttributes attributes{};
        return XGetWindowAttributes(x_, window, &attributes) && attributes.map_state == IsViewable;
    }

    // What the close button of the title bar does.
    void askToClose(Window window) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(x_, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(x_, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(x_, window, False, NoEventMask, &event);
        XFlush(x_);
    }

    // Pings the program that owns `window` and waits for its answer: by then it has handled every
    // event the server sent it before, such as the mapping of its window.
    bool ping(Window window, std::chrono::milliseconds timeout) {
        const Window root = DefaultRootWindow(x_);
        const Atom protocols = XInternAtom(x_, "WM_PROTOCOLS", False);
        const Atom ping = XInternAtom(x_, "_NET_WM_PING", False);
        const long stamp = 4242;                      // tells our ping from the window manager's
        XSelectInput(x_, root, StructureNotifyMask);  // the answer comes by the root window
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = protocols;
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(ping);
        event.xclient.data.l[1] = stamp;
        event.xclient.data.l[2] = static_cast<long>(window);
        XSendEvent(x_, window, False, NoEventMask, &event);
        XFlush(x_);
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        bool answered = false;
        while (!answered && std::chrono::steady_clock::now() < deadline) {
            while (!answered && XPending(x_)) {
                XNextEvent(x_, &event);
                answered = event.type == ClientMessage && event.xclient.message_type == protocols &&
                           event.xclient.data.l[0] == static_cast<long>(ping) &&
                           event.xclient.data.l[1] == stamp;
            }
            std::this_thread::sleep_for(10ms);
        }
        XSelectInput(x_, root, NoEventMask);
        return answered;
    }

    void minimise(Window window) {
        XIconifyWindow(x_, window, DefaultScreen(x_));
        XFlush(x_);
    }

    bool waitUntilViewable(Window window, bool viewable, std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            if (isViewable(window) == viewable) {
                return true;
            }
            std::this_thread::sleep_for(20ms);
        }
        return false;
    }

  private:
    std::string title(Window window) {
        char* name = nullptr;
        std::string text;
        if (XFetchName(x_, window, &name) && name) {
            text = name;
            XFree(name);
        }
        return text;
    }

    void visit(Window window, const std::function<void(Window)>& each) {
        Window root = None, parent = None;
        Window* children = nullptr;
        unsigned count = 0;
        each(window);
        if (!XQueryTree(x_, window, &root, &parent, &children, &count)) {
            return;
        }
        for (unsigned i = 0; i < count; ++i) {
            visit(children[i], each);
        }
        if (children) {
            XFree(children);
        }
    }

    Display* x_;
};

enum class WindowChange { none, closed, minimised, closedThenReopened };

struct SignalCase {
    const char* name;
    int signal;
    WindowChange change;
};

class ShutdownOnSignal : public ::testing::TestWithParam<SignalCase> {};

TEST_P(ShutdownOnSignal, EndsWithTheWholeShutdown) {
    const auto& param = GetParam();
    test::TempHome home;
    test::XServer display(test::XServer::Options{.windowManager = true});
    if (!display.ready()) {
        GTEST_SKIP() << "Xvfb ou openbox indisponible";
    }
    Desktop desktop(display.display());
    ASSERT_TRUE(desktop.ready());
    const auto program = test::builtExecutable("src/ui/shell/OlvaneMac");
    test::ChildProcess app(program);
    ASSERT_TRUE(app.waitForStderr("App: Initialisation terminée", test::kPatience))
        << app.stderrSoFar();
    const Window window = desktop.mainWindow(test::kPatience);
    ASSERT_NE(window, None);

    switch (param.change) {
        case WindowChange::none:
            break;
        case WindowChange::closed:
        case WindowChange::closedThenReopened:
            desktop.askToClose(window);
            ASSERT_TRUE(desktop.waitUntilViewable(window, false, test::kPatience));
            if (param.change == WindowChange::closedThenReopened) {
                // A second launch brings the same window back.
                test::ChildProcess again(program);
                ASSERT_TRUE(again.wait(test::kPatience));
                ASSERT_NE(desktop.mainWindow(test::kPatience), None);
            }
            break;
        case WindowChange::minimised:
            // The program asks for the focus once it sees its window mapped, which would undo a
            // minimise sent before.
            ASSERT_TRUE(desktop.ping(window, test::kPatience));
            desktop.minimise(window);
            ASSERT_TRUE(desktop.waitUntilViewable(window, false, test::kPatience));
            break;
    }

    app.signal(param.signal);
    EXPECT_TRUE(app.waitForStderr("App: Fermeture propre terminée", test::kPatience))
        << app.stderrSoFar();
    const auto exit = app.wait(test::kPatience);
    ASSERT_TRUE(exit);
    EXPECT_TRUE(exit->exited && exit->code == 0) << app.readStderrToEnd(1s);
    EXPECT_FALSE(hasCrashRecord(home));
    EXPECT_FALSE(std::filesystem::exists(home.paths().dataFolder() / "watchdog-pid"));
    EXPECT_TRUE(itsWatchdogEnded(app.pid()));
}

TEST(OlvaneMacSmoke, StartsAndEndsWhileTheSessionBusDoesNotAnswer) {
    test::TempHome home;
    test::XServer display(test::XServer::Options{.windowManager = true});
    if (!display.ready()) {
        GTEST_SKIP() << "Xvfb ou openbox indisponible";
    }
    const test::SilentSessionBus bus(home.root());
    ASSERT_TRUE(bus.ready());
    Desktop desktop(display.display());
    test::ChildProcess app(test::builtExecutable("src/ui/shell/OlvaneMac"));
    ASSERT_TRUE(app.waitForStderr("App: Initialisation terminée", test::kPatience))
        << app.stderrSoFar();
    EXPECT_NE(app.stderrSoFar().find("App: Bus de session muet"), std::string::npos)
        << app.stderrSoFar();
    EXPECT_NE(desktop.mainWindow(test::kPatience), None);
    app.signal(SIGTERM);
    EXPECT_TRUE(app.waitForStderr("App: Fermeture propre terminée", test::kPatience))
        << app.stderrSoFar();
    EXPECT_TRUE(app.wait(test::kPatience));
    EXPECT_TRUE(itsWatchdogEnded(app.pid()));
}

// Under GNOME, killed together with its watchdog and with no crash record to tell (its save
// failed): the user's zoom values still waiting make the grey zoom ours, and a start with the
// filter off gives them back.
TEST(OlvaneMacSmoke, AStartWithTheFilterOffGivesBackTheZoomARunKilledWithItsWatchdogLeft) {
    using platform::os::GnomeZoomSwitch;
    test::TempHome home;
    test::KeyfileSettings settings(home);
    settings.write("[org/gnome/desktop/a11y/magnifier]\nmag-factor=3.5\n");
    test::XServer display;
    test::PrivateSessionBus bus;
    ASSERT_TRUE(display.ready() && bus.ready());
    const auto shell = test::DesktopStandIn::gnomeShell();
    if (!shell->ready() || !GnomeZoomSwitch::schemasInstalled()) {
        GTEST_SKIP() << "gsettings-desktop-schemas ou le bus de session indisponible";
    }
    const auto magnifier = [&](const char* key) {
        return settings.value("org.gnome.desktop.a11y.magnifier", key);
    };
    ASSERT_TRUE(GnomeZoomSwitch(home.paths(), GnomeZoomSwitch::MainContext::DispatchBeforeUse)
                    .setEnabled(true));
    ASSERT_EQ(magnifier("color-saturation"), "0.0");

    test::ChildProcess app(test::builtExecutable("src/ui/shell/OlvaneMac"));
    ASSERT_TRUE(app.waitForStderr("App: Initialisation terminée", test::kPatience))
        << app.stderrSoFar();
    EXPECT_NE(app.stderrSoFar().find("GrayscaleFilter: N&B du bureau laissé par une exécution "
                                     "précédente : réglages de l’utilisateur remis"),
              std::string::npos)
        << app.stderrSoFar();
    EXPECT_EQ(magnifier("mag-factor"), "3.5");
    EXPECT_EQ(magnifier("color-saturation"), std::nullopt);
    EXPECT_EQ(settings.value("org.gnome.desktop.a11y.applications", "screen-magnifier-enabled"),
              std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(home.paths().dataFolder() / "gnome-zoom-saved.json"));
    const auto watchdog = detachedWatchdogOf(app.pid());
    app.signal(SIGTERM);
    ASSERT_TRUE(app.wait(test::kPatience));
    if (watchdog) {
        ASSERT_TRUE(eventually([&] { return ::kill(*watchdog, 0) != 0; }));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Signals, ShutdownOnSignal,
    ::testing::Values(SignalCase{"SigtermWindowShown", SIGTERM, WindowChange::none},
                      SignalCase{"SigtermWindowClosedThenReopened", SIGTERM,
                                 WindowChange::closedThenReopened},
                      SignalCase{"SigintWindowMinimised", SIGINT, WindowChange::minimised},
                      SignalCase{"SighupWindowShown", SIGHUP, WindowChange::none},
                      SignalCase{"SighupWindowClosed", SIGHUP, WindowChange::closed}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(OlvaneMacShutdown, TheXServerGoingAwayLeavesNoCrashRecord) {
    test::TempHome home;
    // On a number the next test's server does not take once this one is killed: the watchdog,
    // still guarding the ending application, would connect there to give the colour back.
    test::XServer display({.restartable = true});
    if (!display.ready()) {
        GTEST_SKIP() << "Xvfb indisponible";
    }
    test::ChildProcess app(test::builtExecutable("src/ui/shell/OlvaneMac"));
    ASSERT_TRUE(app.waitForStderr("App: Initialisation terminée", test::kPatience))
        << app.stderrSoFar();
    ASSERT_TRUE(hasCrashRecord(home));

    display.kill();
    ASSERT_TRUE(app.wait(test::kPatience));
    const auto output = app.readStderrToEnd(1s);
    EXPECT_NE(output.find("App: === OlvaneMac fermeture ==="), std::string::npos) << output;
    EXPECT_NE(output.find("App: Fermeture propre terminée"), std::string::npos) << output;
    EXPECT_FALSE(hasCrashRecord(home));
    EXPECT_FALSE(std::filesystem::exists(home.paths().dataFolder() / "watchdog-pid"));
    EXPECT_TRUE(itsWatchdogEnded(app.pid()));
}

// One variable set for the programs the test starts, put back afterwards.
class EnvironmentOverride {
  public:
    EnvironmentOverride(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            saved_ = old;
        }
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~EnvironmentOverride() { saved_ ? ::setenv(name_, saved_->c_str(), 1) : ::unsetenv(name_); }
    EnvironmentOverride(const EnvironmentOverride&) = delete;
    EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

  private:
    const char* name_;
    std::optional<std::string> saved_;
};

// Started where no X server answers (a shell without a session): a French line and an error
// status, not Qt's abort.
TEST(OlvaneMacShutdown, NoXServerEndsWithAMessageInsteadOfAnAbort) {
    test::TempHome home;
    const EnvironmentOverride display("DISPLAY", ":65000");
    const EnvironmentOverride platform("QT_QPA_PLATFORM", nullptr);
    const EnvironmentOverride wayland("WAYLAND_DISPLAY", nullptr);
    test::ChildProcess app(test::builtExecutable("src/ui/shell/OlvaneMac"));
    const auto exit = app.wait(test::kPatience);
    ASSERT_TRUE(exit);
    EXPECT_TRUE(exit->exited && exit->code == 1);
    EXPECT_NE(app.readStderrToEnd(1s).find("App: Aucun écran"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(home.paths().runtimeFolder() / "instance.sock"));
}

// Both killed at once, with no crash record to tell (its save failed): our own grayscale is
// taken back, a CTM of the user's own stays, through the quit, a kill and the start after it.
TEST(OlvaneMacSmoke, AStartWithTheFilterOffClearsOurLeftGreyAndKeepsTheUsersCorrection) {
    using platform::os::encodeCtm;
    test::TempHome home;
    test::XServer display;
    ASSERT_TRUE(display.ready());
    const auto grey = encodeCtm(platform::os::kGrayscaleMatrix);
    const auto usersOwn = encodeCtm({1, 0, 0, 0, 0.9, 0, 0, 0, 0.7});  // a night light
    const struct {
        const char* name;
        platform::os::CtmWords found;
        platform::os::CtmWords expected;
        int end;
    } cases[] = {
        {"our grey", grey, encodeCtm(platform::os::kIdentityMatrix), SIGTERM},
        {"the user's own, killed", usersOwn, usersOwn, SIGKILL},
        {"the user's own, after a crash", usersOwn, usersOwn, SIGTERM},
    };
    bool crashed = false;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(test::addCtmToOutputs(display.display(), c.found));
        test::ChildProcess app(test::builtExecutable("src/ui/shell/OlvaneMac"));
        ASSERT_TRUE(app.waitForStderr("App: Initialisation terminée", test::kPatience))
            << app.stderrSoFar();
        std::optional<pid_t> watchdog;
        ASSERT_TRUE(
            eventually([&] { return (watchdog = detachedWatchdogOf(app.pid())).has_value(); }));
        const auto holdExpected = [&] {
            const auto outputs = test::ctmOfOutputs(display.display());
            return !outputs.empty() &&
                   std::ranges::all_of(outputs, [&](const auto& w) { return w == c.expected; });
        };
        EXPECT_TRUE(holdExpected());
        const auto log = app.stderrSoFar();
        EXPECT_EQ(log.find("GrayscaleFilter: DCP : N&B laissé par une exécution précédente, 1 "
                           "écran(s) remis en couleur") != std::string::npos,
                  c.found == grey)
            << log;
        EXPECT_EQ(log.find("Crash précédent détecté") != std::string::npos, crashed) << log;
        app.signal(c.end);
        ASSERT_TRUE(app.wait(test::kPatience));
        crashed = c.end == SIGKILL;
        // The watchdog ends once its reset is done.
        ASSERT_TRUE(eventually([&] { return ::kill(*watchdog, 0) != 0; }));
        EXPECT_TRUE(holdExpected());
    }
}

}  // namespace
}  // namespace olvane
