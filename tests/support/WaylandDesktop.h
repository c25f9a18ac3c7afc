#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/PrivateSessionBus.h"
#include "support/TempHome.h"

namespace olvane::test {

// A real headless Wayland desktop of its own with its Xwayland: GNOME Shell or KWin, over a
// private system bus and session bus, in a temporary HOME. While it lives, this process's
// environment points at it (the session bus, WAYLAND_DISPLAY, DISPLAY for Xwayland,
// XDG_SESSION_TYPE=wayland), so that what the test starts meanwhile runs in it. The desktop is
// driven with its own input (a Clutter virtual device through the Shell's Eval; KWin's fake
// input), never through Xwayland, which the compositor would not hear.
class WaylandDesktop {
  public:
    enum class Kind { gnomeShell, kwin };
    struct Options {
        Kind kind = Kind::gnomeShell;
        std::string size = "1280x800";
        // KWin: its screen's scale (GNOME's is set once it runs: setMonitorScale).
        double scale = 1;
        // GNOME: OlvaneMac's extension installed and enabled before the Shell starts.
        bool companionExtension = true;
    };

    explicit WaylandDesktop(Options options);
    ~WaylandDesktop();
    WaylandDesktop(const WaylandDesktop&) = delete;
    WaylandDesktop& operator=(const WaylandDesktop&) = delete;

    // Whether the compositor is installed at all.
    static bool installed(Kind kind);
    // False when the compositor could not be started: `why` says why.
    bool ready() const { return ready_; }
    const std::string& why() const { return why_; }
    Kind kind() const { return options_.kind; }
    const TempHome& home() const { return home_; }
    pid_t compositorPid() const { return compositor_ ? compositor_->pid() : -1; }

    // GNOME Shell: the value of a JavaScript expression, as org.gnome.Shell.Eval gives it (the
    // test's own extension turns the Shell's unsafe mode on); nullopt when it threw.
    std::optional<std::string> shellEval(const std::string& script);
    // GNOME Shell: its monitor at `scale` (the layout in device pixels, as GNOME's default is),
    // once the Shell has taken it.
    bool setMonitorScale(int scale);
    // KWin: runs a script; the lines it print()ed, nullopt when it threw.
    std::optional<std::vector<std::string>> kwinScript(const std::string& script);
    // KWin: ends the compositor, and every client of it, then starts it again on the same buses.
    bool restartKWin();

    // The compositor's own pointer and keyboard, in its global logical pixels.
    bool movePointer(double x, double y);
    bool click(double x, double y);
    bool type(const std::string& text);

    // What the compositor wrote so far, for a failure to show.
    std::string compositorLog() const;

    // What the user sees, as a PNG file; empty when it could not be had.
    std::filesystem::path screenshot(const std::string& name);

  private:
    bool startGnomeShell();
    bool startKWin();
    bool waitForKWinScripting();
    bool fakeInput(const std::string& command);
    bool kwinScreenshot(const std::filesystem::path& file);
    bool waitForLog(const std::string& text, std::chrono::seconds timeout);
    void setEnvironment(const char* name, const std::string& value);

    Options options_;
    TempHome home_;
    std::unique_ptr<ChildProcess> systemBus_;
    std::unique_ptr<PrivateSessionBus> sessionBus_;
    std::unique_ptr<ChildProcess> compositor_;
    std::unique_ptr<ChildProcess> fakeInput_;
    std::string fakeInputOutput_;
    int kwinScripts_ = 0;
    std::filesystem::path log_;
    std::string waylandName_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
    bool ready_ = false;
    std::string why_;
};

// A native Wayland GTK 3 window of a program of its own, with a text entry; it tells each
// change of the entry and of its focus.
class NativeWindow {
  public:
    // `colour` ("#000000") fills the window below its entry; the theme's when empty.
    NativeWindow(const std::string& applicationId, const std::string& title,
                 const std::string& size = "640x400", const std::string& colour = {});
    // Once it showed its window.
    bool ready() const { return ready_; }
    pid_t pid() const { return process_.pid(); }
    ChildProcess& process() { return process_; }
    // Waits until the entry reads `text`, or the window has the focus (`focused`).
    bool waitForText(const std::string& text, std::chrono::milliseconds timeout = kPatience);
    bool waitForFocus(bool focused, std::chrono::milliseconds timeout = kPatience);

  private:
    bool waitForLine(const std::string& line, std::chrono::milliseconds timeout);

    ChildProcess process_;
    std::string output_;
    std::string text_;
    std::optional<bool> focused_;
    bool ready_ = false;
};

}  // namespace olvane::test
