#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "support/ChildProcess.h"

namespace olvane::test {

// A private Xvfb on a display number of its own choosing, optionally with a window manager
// (openbox; or mutter, GNOME's, or KWin, KDE's, as they run on X11, both compositing too) and
// xcompmgr as compositor.
// While it lives, DISPLAY points at it and QT_QPA_PLATFORM is unset, so a program started by the
// test talks to it. `-noreset` keeps output properties such as "CTM" when the last client leaves.
class XServer {
  public:
    enum class WindowManager { openbox, mutter, kwin };
    struct Options {
        bool windowManager = false;
        WindowManager manager = WindowManager::openbox;
        bool compositor = false;
        std::string screen = "1280x800x24";
        // The desktop's scale as GNOME and KDE set it for X11 programs, the resource "Xft.dpi"
        // (192 at 200 %), set before any client connects; none when 0.
        int dpi = 0;
        // On a display number that restart() finds free again.
        bool restartable = false;
    };

    XServer();
    explicit XServer(Options options);
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // False when Xvfb (or an asked-for window manager or compositor) could not be started.
    bool ready() const { return ready_; }
    const std::string& display() const { return display_; }
    // Ends the server at once, as a session that goes away does.
    void kill();
    // Ends the server and starts a new one on the same display, as a new session does; false
    // when it could not (or when the server is not restartable, or a window manager or
    // compositor runs on it).
    bool restart();
    // How many connections process `pid` holds to the server.
    std::size_t clientCountOf(pid_t pid);
    // A panel with a system tray (trayer) along the top of the screen, until the server ends;
    // false when it could not start.
    bool startTray();
    // Ends the compositor, as a desktop without one is; false when none was stopped.
    bool stopCompositor();

  private:
    bool startServer();
    bool setDpi(int dpi);
    bool startWindowManager(WindowManager manager);
    bool startCompositor();

    std::optional<ChildProcess> server_;
    std::optional<ChildProcess> windowManager_;
    std::optional<ChildProcess> compositor_;
    std::optional<ChildProcess> tray_;
    // Where mutter or KWin keep their settings and caches for the run.
    std::optional<std::filesystem::path> windowManagerHome_;
    std::string screen_;
    bool restartable_ = false;
    std::string display_;
    std::optional<std::string> savedDisplay_;
    std::optional<std::string> savedPlatform_;
    std::optional<std::string> savedAsan_;
    bool environmentSet_ = false;
    bool ready_ = false;
};

}  // namespace olvane::test
