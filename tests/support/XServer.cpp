#include "support/XServer.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>
#include <xcb/res.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "platform/linux/X11Connection.h"

namespace olvane::test {
namespace {

using namespace std::chrono_literals;

// Servers that choose their own number take the lowest free one: from here up, numbers are left
// to servers that must find theirs free again after a restart.
constexpr int kRestartableDisplays = 600;

std::optional<std::string> environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

void restore(const char* name, const std::optional<std::string>& value) {
    if (value) {
        ::setenv(name, value->c_str(), 1);
    } else {
        ::unsetenv(name);
    }
}

// Whether the root window of `display` carries `property`, asked again until `timeout`.
bool waitForRootProperty(const std::string& display, const char* property,
                         std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (Display* connection = XOpenDisplay(display.c_str())) {
            const Atom atom = XInternAtom(connection, property, True);
            bool found = false;
            if (atom != None) {
                Atom type = None;
                int format = 0;
                unsigned long count = 0, after = 0;
                unsigned char* data = nullptr;
                if (XGetWindowProperty(connection, DefaultRootWindow(connection), atom, 0, 1, False,
                                       AnyPropertyType, &type, &format, &count, &after,
                                       &data) == Success) {
                    found = type != None;
                    if (data) {
                        XFree(data);
                    }
                }
            }
            XCloseDisplay(connection);
            if (found) {
                return true;
            }
        }
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

// Whether `selection` on `display` comes to be owned (or, `owned` false, left), asked again until
// `timeout`.
bool waitForSelection(const std::string& display, const char* selection, bool owned,
                      std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (Display* connection = XOpenDisplay(display.c_str())) {
            const bool hasOwner =
                XGetSelectionOwner(connection, XInternAtom(connection, selection, False)) != None;
            XCloseDisplay(connection);
            if (hasOwner == owned) {
                return true;
            }
        }
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

// Whether the screen of `connection` shows `rgb` at the middle of `window`.
bool showsColour(Display* connection, Window window, unsigned long rgb) {
    int x = 0, y = 0;
    Window child = None;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(connection, window, &attributes) ||
        !XTranslateCoordinates(connection, window, DefaultRootWindow(connection),
                               attributes.width / 2, attributes.height / 2, &x, &y, &child)) {
        return false;
    }
    XImage* image =
        XGetImage(connection, DefaultRootWindow(connection), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) {
        return false;
    }
    const bool shown = (XGetPixel(image, 0, 0) & 0xFFFFFF) == rgb;
    XDestroyImage(image);
    return shown;
}

// Whether the window manager of `display` manages a window mapped now, and has drawn it: until
// it has finished starting, it may drop windows mapped while it scans the existing ones, and a
// compositor's first frames, while it compiles what it draws with, can take seconds on a loaded
// machine.
bool waitForManagedWindow(const std::string& display, std::chrono::milliseconds timeout) {
    Display* connection = XOpenDisplay(display.c_str());
    if (!connection) {
        return false;
    }
    constexpr unsigned long kProbeColour = 0x3A7F5C;
    const Window probe = XCreateSimpleWindow(connection, DefaultRootWindow(connection), 0, 0, 40,
                                             40, 0, 0, kProbeColour);
    XMapWindow(connection, probe);
    XFlush(connection);
    const Atom clientList = XInternAtom(connection, "_NET_CLIENT_LIST", False);
    const auto listed = [&] {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        bool found = false;
        if (XGetWindowProperty(connection, DefaultRootWindow(connection), clientList, 0, 1024,
                               False, XA_WINDOW, &type, &format, &count, &after,
                               &data) == Success &&
            data) {
            const auto* windows = reinterpret_cast<const Window*>(data);
            found = std::find(windows, windows + count, probe) != windows + count;
            XFree(data);
        }
        return found;
    };
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    bool managed = false;
    while (!(managed = listed()) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(50ms);
        XMapWindow(connection, probe);  // asked again: a request dropped is not queued
        XFlush(connection);
    }
    bool drawn = false;
    while (managed && !(drawn = showsColour(connection, probe, kProbeColour)) &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
    }
    // Gone again before the test starts, so that no window of the test's process has the focus.
    XDestroyWindow(connection, probe);
    XFlush(connection);
    while (managed && listed() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
    }
    XCloseDisplay(connection);
    return managed && drawn;
}

}  // namespace

XServer::XServer() : XServer(Options{}) {}

XServer::XServer(Options options) : screen_(options.screen), restartable_(options.restartable) {
    bool started = false;
    if (options.restartable) {
        // Spread by process, so that concurrent runs seldom try the same numbers first.
        const int first = kRestartableDisplays + ::getpid() % 300;
        for (int number = first; !started && number < first + 20; ++number) {
            display_ = ":" + std::to_string(number);
            started = startServer();
        }
    } else {
        started = startServer();
    }
    if (!started || (options.dpi > 0 && !setDpi(options.dpi))) {
        return;
    }
    if (options.windowManager && !startWindowManager(options.manager)) {
        return;
    }
    if (options.compositor && !startCompositor()) {
        return;
    }
    ready_ = true;
}

XServer::~XServer() {
    for (auto* child : {&tray_, &compositor_, &windowManager_, &server_}) {
        if (*child) {
            (*child)->signal(SIGTERM);
            (*child)->wait(kPatience);
        }
    }
    if (windowManagerHome_) {
        std::error_code ignored;
        std::filesystem::remove_all(*windowManagerHome_, ignored);
    }
    if (environmentSet_) {
        restore("DISPLAY", savedDisplay_);
        restore("QT_QPA_PLATFORM", savedPlatform_);
        restore("ASAN_OPTIONS", savedAsan_);
    }
}

void XServer::kill() {
    if (server_) {
        server_->signal(SIGKILL);
        server_->wait(kPatience);
    }
}

bool XServer::restart() {
    if (!server_ || !restartable_ || windowManager_ || compositor_) {
        return false;
    }
    server_->signal(SIGTERM);
    server_->wait(kPatience);
    server_.reset();
    return startServer();
}

std::size_t XServer::clientCountOf(pid_t pid) {
    const auto x = platform::os::X11Connection::open(display_);
    if (!x || !x->extensionMajorOpcode(xcb_res_id)) {
        return 0;
    }
    // Client 0 stands for every client.
    xcb_res_client_id_spec_t every{0, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
    const platform::os::XcbPtr<xcb_res_query_client_ids_reply_t> ids(xcb_res_query_client_ids_reply(
        x->get(), xcb_res_query_client_ids(x->get(), 1, &every), nullptr));
    std::size_t count = 0;
    for (auto it = xcb_res_query_client_ids_ids_iterator(ids.get()); ids && it.rem > 0;
         xcb_res_client_id_value_next(&it)) {
        count += xcb_res_client_id_value_value_length(it.data) >= 1 &&
                 static_cast<pid_t>(*xcb_res_client_id_value_value(it.data)) == pid;
    }
    return count;
}

bool XServer::startServer() {
    static constexpr const char* kXvfb = "/usr/bin/Xvfb";
    if (!std::filesystem::exists(kXvfb)) {
        return false;
    }
    std::vector<std::string> arguments{"-displayfd", "1",         "-screen", "0",
                                       screen_,      "-nolisten", "tcp",     "-noreset"};
    if (!display_.empty()) {
        arguments.insert(arguments.begin(), display_);
    }
    server_.emplace(kXvfb, arguments);
    std::string number;
    while (number.empty() || number.back() != '\n') {
        const std::string byte = server_->readStdout(1, kPatience);
        if (byte.empty()) {
            return false;
        }
        number += byte;
    }
    number.pop_back();
    if (!display_.empty() && display_ != ":" + number) {
        return false;
    }
    display_ = ":" + number;
    if (environmentSet_) {
        return true;
    }
    savedDisplay_ = environment("DISPLAY");
    savedPlatform_ = environment("QT_QPA_PLATFORM");
    savedAsan_ = environment("ASAN_OPTIONS");
    environmentSet_ = true;
    ::setenv("DISPLAY", display_.c_str(), 1);
    ::unsetenv("QT_QPA_PLATFORM");  // programs started by the test talk to this server
    // libxkbcommon-x11 hands strndup() names that are not NUL-terminated, which strndup allows;
    // the strict string check of the sanitizer would stop a program for it.
    ::setenv("ASAN_OPTIONS", (savedAsan_.value_or("") + ":strict_string_checks=0").c_str(), 1);
    return true;
}

// As `xrdb -merge` does: the resources live on the root window, which `-noreset` keeps.
bool XServer::setDpi(int dpi) {
    Display* connection = XOpenDisplay(display_.c_str());
    if (!connection) {
        return false;
    }
    const std::string resources = "Xft.dpi:\t" + std::to_string(dpi) + "\n";
    XChangeProperty(connection, DefaultRootWindow(connection), XA_RESOURCE_MANAGER, XA_STRING, 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(resources.data()),
                    static_cast<int>(resources.size()));
    XSync(connection, False);
    XCloseDisplay(connection);
    return true;
}

bool XServer::startWindowManager(WindowManager manager) {
    const char* program = manager == WindowManager::mutter ? "/usr/bin/mutter"
                          : manager == WindowManager::kwin ? "/usr/bin/kwin_x11"
                                                           : "/usr/bin/openbox";
    if (!std::filesystem::exists(program)) {
        return false;
    }
    if (manager == WindowManager::openbox) {
        windowManager_.emplace(program, std::vector<std::string>{"--sm-disable"});
    } else {
        // Its default settings, written in a folder of its own rather than in the user's, and no
        // session bus of the user's to take names on.
        std::string folder = (std::filesystem::temp_directory_path() / "olvane-wm-XXXXXX").string();
        if (!::mkdtemp(folder.data())) {
            return false;
        }
        windowManagerHome_ = folder;
        std::vector<std::string> arguments{"GSETTINGS_BACKEND=memory",
                                           "XDG_CONFIG_HOME=" + folder,
                                           "XDG_DATA_HOME=" + folder,
                                           "XDG_CACHE_HOME=" + folder,
                                           "DBUS_SESSION_BUS_ADDRESS=unix:path=" + folder + "/bus",
                                           program,
                                           "--replace"};
        if (manager == WindowManager::mutter) {
            arguments.insert(arguments.end(), {"--x11", "--sm-disable"});
        }
        windowManager_.emplace("/usr/bin/env", arguments);
    }
    return waitForRootProperty(display_, "_NET_SUPPORTING_WM_CHECK", kPatience) &&
           waitForManagedWindow(display_, kPatience);
}

bool XServer::startCompositor() {
    static constexpr const char* kXcompmgr = "/usr/bin/xcompmgr";
    if (!std::filesystem::exists(kXcompmgr)) {
        return false;
    }
    compositor_.emplace(kXcompmgr, std::vector<std::string>{});
    const int screen = 0;
    const std::string selection = "_NET_WM_CM_S" + std::to_string(screen);
    return waitForSelection(display_, selection.c_str(), true, kPatience);
}

bool XServer::startTray() {
    static constexpr const char* kTrayer = "/usr/bin/trayer";
    if (!server_ || tray_ || !std::filesystem::exists(kTrayer)) {
        return false;
    }
    tray_.emplace(kTrayer, std::vector<std::string>{"--edge", "top", "--align", "right",
                                                    "--widthtype", "request", "--height", "24"});
    return waitForSelection(display_, "_NET_SYSTEM_TRAY_S0", true, kPatience);
}

bool XServer::stopCompositor() {
    if (!compositor_) {
        return false;
    }
    compositor_->signal(SIGTERM);
    compositor_->wait(kPatience);
    compositor_.reset();
    return waitForSelection(display_, "_NET_WM_CM_S0", false, kPatience);
}

}  // namespace olvane::test
