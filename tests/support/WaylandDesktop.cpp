#include "support/WaylandDesktop.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <thread>

#ifdef OLVANE_TEST_SCREENSHOTS
#include <QImage>
#include <QString>
#endif

#include "platform/FileIO.h"

namespace olvane::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// A compositor outlives a test that crashed otherwise, its Xwayland and its sockets with it.
constexpr const char* kOrphanless = "/usr/bin/setpriv";
constexpr const char* kUnsafeHelper = "unsafe@olvane.test";

std::optional<std::string> environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

std::string fileText(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool writeText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path);
    out << text;
    return static_cast<bool>(out);
}

// Runs a program to its end; true when it ended well.
bool runToEnd(const fs::path& program, const std::vector<std::string>& arguments) {
    ChildProcess child(program, arguments);
    const auto ended = child.wait(kPatience);
    return ended && ended->exited && ended->code == 0;
}

// The test's own extension: the Shell's unsafe mode, for Eval.
void installUnsafeHelper(const fs::path& extensions) {
    const auto folder = extensions / kUnsafeHelper;
    writeText(folder / "metadata.json",
              std::string(R"({"uuid": ")") + kUnsafeHelper +
                  R"(", "name": "unsafe mode for tests", "description": "tests only", )"
                  R"("shell-version": ["43", "44"]})");
    writeText(folder / "extension.js",
              "function init() { return { enable() { global.context.unsafe_mode = true; }, "
              "disable() { global.context.unsafe_mode = false; } }; }\n");
}

// `use` on a connection of its own to the session bus of the moment.
template <typename Use>
bool withSessionBus(Use&& use) {
    sd_bus* bus = nullptr;
    if (sd_bus_open_user(&bus) < 0) {
        return false;
    }
    const bool used = use(bus);
    sd_bus_flush_close_unref(bus);
    return used;
}

// One call, its reply read by `read`.
template <typename Read>
bool callBus(const char* destination, const char* path, const char* interface, const char* member,
             Read&& read, const char* types, auto... arguments) {
    return withSessionBus([&](sd_bus* bus) {
        sd_bus_error error = SD_BUS_ERROR_NULL;
        sd_bus_message* reply = nullptr;
        const bool answered = sd_bus_call_method(bus, destination, path, interface, member, &error,
                                                 &reply, types, arguments...) >= 0 &&
                              read(reply);
        sd_bus_message_unref(reply);
        sd_bus_error_free(&error);
        return answered;
    });
}

}  // namespace

bool WaylandDesktop::installed(Kind kind) {
    return fs::exists(kind == Kind::gnomeShell ? "/usr/bin/gnome-shell" : "/usr/bin/kwin_wayland");
}

WaylandDesktop::WaylandDesktop(Options options) : options_(std::move(options)) {
    if (!installed(options_.kind)) {
        why_ = "compositeur absent";
        return;
    }
    // mutter refuses to start Xwayland without a world-writable socket folder.
    fs::create_directories("/tmp/.X11-unix");
    ::chmod("/tmp/.X11-unix", 01777);
    systemBus_ = std::make_unique<ChildProcess>(
        "/usr/bin/dbus-daemon",
        std::vector<std::string>{"--session", "--nofork", "--nopidfile", "--print-address=1"});
    std::string address;
    while (address.empty() || address.back() != '\n') {
        const auto byte = systemBus_->readStdout(1, kPatience);
        if (byte.empty()) {
            why_ = "pas de dbus-daemon";
            return;
        }
        address += byte;
    }
    address.pop_back();
    setEnvironment("DBUS_SYSTEM_BUS_ADDRESS", address);
    sessionBus_ = std::make_unique<PrivateSessionBus>();
    if (!sessionBus_->ready()) {
        why_ = "pas de bus de session";
        return;
    }
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "QT_QPA_PLATFORM"}) {
        saved_.emplace_back(name, environment(name));
        ::unsetenv(name);
    }
    setEnvironment("XDG_SESSION_TYPE", "wayland");
    waylandName_ = "wl-olvane-" + std::to_string(::getpid());
    log_ = home_.root() / "compositor.log";
    ready_ = options_.kind == Kind::gnomeShell ? startGnomeShell() : startKWin();
}

WaylandDesktop::~WaylandDesktop() {
    if (compositor_) {
        compositor_->signal(SIGTERM);
        if (!compositor_->wait(10s)) {
            compositor_->signal(SIGKILL);
            compositor_->wait(kPatience);
        }
    }
    compositor_.reset();
    fakeInput_.reset();
    sessionBus_.reset();
    systemBus_.reset();
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        if (it->second) {
            ::setenv(it->first.c_str(), it->second->c_str(), 1);
        } else {
            ::unsetenv(it->first.c_str());
        }
    }
}

void WaylandDesktop::setEnvironment(const char* name, const std::string& value) {
    saved_.emplace_back(name, environment(name));
    ::setenv(name, value.c_str(), 1);
}

bool WaylandDesktop::waitForLog(const std::string& text, std::chrono::seconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (fileText(log_).find(text) != std::string::npos) {
            return true;
        }
        if (compositor_ && compositor_->wait(0ms)) {
            return false;
        }
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

bool WaylandDesktop::startGnomeShell() {
    if (!fs::exists("/usr/bin/gnome-shell")) {
        why_ = "GNOME Shell absent";
        return false;
    }
    setEnvironment("XDG_CURRENT_DESKTOP", "GNOME");
    setEnvironment("GSETTINGS_BACKEND", "dconf");
    const auto extensions = home_.root() / ".local/share/gnome-shell/extensions";
    installUnsafeHelper(extensions);
    std::string enabled = std::string("['") + kUnsafeHelper + "'";
#ifdef OLVANE_GNOME_EXTENSION_FLAVOURS
    if (options_.companionExtension) {
        const auto folder = extensions / OLVANE_GNOME_EXTENSION_UUID;
        fs::create_directories(folder);
        for (const char* file : {"extension.js", "metadata.json"}) {
            fs::copy_file(fs::path(OLVANE_GNOME_EXTENSION_FLAVOURS) / "legacy" / file,
                          folder / file);
        }
        enabled += std::string(", '") + OLVANE_GNOME_EXTENSION_UUID + "'";
    }
#endif
    enabled += "]";
    const std::vector<std::vector<std::string>> settings = {
        {"org.gnome.shell", "enabled-extensions", enabled},
        {"org.gnome.desktop.interface", "enable-animations", "false"},
        {"org.gnome.desktop.session", "idle-delay", "uint32 0"},
        {"org.gnome.desktop.screensaver", "lock-enabled", "false"},
        {"org.gnome.shell", "welcome-dialog-last-shown-version", "'999'"},
    };
    for (const auto& setting : settings) {
        std::vector<std::string> arguments{"set"};
        arguments.insert(arguments.end(), setting.begin(), setting.end());
        if (!runToEnd("/usr/bin/gsettings", arguments)) {
            why_ = "gsettings ne répond pas";
            return false;
        }
    }
    compositor_ = std::make_unique<ChildProcess>(
        kOrphanless,
        std::vector<std::string>{"--pdeathsig", "KILL", "/bin/sh", "-c",
                                 "exec gnome-shell --headless --wayland --virtual-monitor " +
                                     options_.size + " --wayland-display=" + waylandName_ + " >'" +
                                     log_.string() + "' 2>&1"});
    if (!waitForLog("GNOME Shell started", kPatience)) {
        why_ = "GNOME Shell ne démarre pas : " + fileText(log_);
        return false;
    }
    std::smatch display;
    const auto text = fileText(log_);
    if (!std::regex_search(text, display, std::regex("Using public X11 display (:[0-9]+)"))) {
        why_ = "GNOME Shell sans Xwayland";
        return false;
    }
    setEnvironment("DISPLAY", display[1]);
    for (const auto& entry : fs::directory_iterator(home_.root() / "runtime")) {
        if (entry.path().filename().string().starts_with(".mutter-Xwaylandauth")) {
            setEnvironment("XAUTHORITY", entry.path().string());
        }
    }
    setEnvironment("WAYLAND_DISPLAY", waylandName_);
    // The Shell starts in its overview, and tells of its unsafe mode in a notification.
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < deadline) {
        const auto shown = shellEval(
            "Main.overview.hide(); Main.messageTray.getSources().forEach(s => s.destroy()); "
            "!Main.overview.visible && !Main.layoutManager._startingUp");
        if (shown == "true") {
            if (shellEval("const {Clutter, GLib} = imports.gi;"
                          "const seat = Clutter.get_default_backend().get_default_seat();"
                          "globalThis.olvanePointer = "
                          "seat.create_virtual_device(Clutter.InputDeviceType.POINTER_DEVICE);"
                          "globalThis.olvaneKeyboard = "
                          "seat.create_virtual_device(Clutter.InputDeviceType.KEYBOARD_DEVICE);"
                          "globalThis.olvaneInput = {Clutter, GLib}; true") == "true") {
                return true;
            }
            why_ = "pas de périphériques virtuels dans GNOME Shell";
            return false;
        }
        std::this_thread::sleep_for(100ms);
    }
    why_ = "la vue d’ensemble de GNOME Shell reste ouverte";
    return false;
}

bool WaylandDesktop::startKWin() {
    const auto cross = options_.size.find('x');
    const auto width = options_.size.substr(0, cross);
    const auto height = cross == std::string::npos ? width : options_.size.substr(cross + 1);
    // A copy has no file capability: one the test's user may not hold fails the exec, and it
    // would run KWin in secure-execution mode, without the environment given it here.
    const auto kwin = home_.root() / "kwin_wayland";
    std::error_code copied;
    fs::copy_file("/usr/bin/kwin_wayland", kwin, fs::copy_options::overwrite_existing, copied);
    if (copied) {
        why_ = "kwin_wayland ne se copie pas";
        return false;
    }
    setEnvironment("KWIN_COMPOSE", "O2");
    setEnvironment("KWIN_WAYLAND_NO_PERMISSION_CHECKS", "1");
    setEnvironment("KWIN_SCREENSHOT_NO_PERMISSION_CHECKS", "1");
    // KWin starts its trailing program once Xwayland is up, with Xwayland's display.
    const auto display = home_.root() / "kwin-display";
    fs::remove(display);
    const std::string tellDisplay = "sh -c 'echo \"$DISPLAY $XAUTHORITY\" > " + display.string() +
                                    ".new && mv " + display.string() + ".new " + display.string() +
                                    "'";
    compositor_ = std::make_unique<ChildProcess>(
        kOrphanless,
        std::vector<std::string>{"--pdeathsig", "KILL", "/bin/sh", "-c",
                                 "exec \"$0\" \"$@\" >'" + log_.string() + "' 2>&1", kwin.string(),
                                 "--virtual", "--xwayland", "--socket", waylandName_, "--width",
                                 width, "--height", height, "--scale",
                                 std::to_string(options_.scale), "--no-lockscreen", tellDisplay});
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!fs::exists(display)) {
        if (compositor_->wait(0ms) || std::chrono::steady_clock::now() > deadline) {
            why_ = "KWin ne démarre pas Xwayland : " + fileText(log_);
            return false;
        }
        std::this_thread::sleep_for(50ms);
    }
    std::istringstream told(fileText(display));
    std::string x11Display;
    std::string authority;
    told >> x11Display >> authority;
    setEnvironment("DISPLAY", x11Display);
    if (!authority.empty()) {
        setEnvironment("XAUTHORITY", authority);
    }
    setEnvironment("WAYLAND_DISPLAY", waylandName_);
    // Xwayland answers once KWin, its window manager, has said so on its root window.
    while (true) {
        ChildProcess xprop("/usr/bin/xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"});
        if (xprop.readStdoutToEnd(kPatience).find("window id") != std::string::npos) {
            break;
        }
        if (compositor_->wait(0ms) || std::chrono::steady_clock::now() > deadline) {
            why_ = "Xwayland ne répond pas : " + fileText(log_);
            return false;
        }
        std::this_thread::sleep_for(50ms);
    }
    if (!waitForKWinScripting()) {
        why_ = "KWin ne charge pas de script : " + fileText(log_);
        return false;
    }
    return true;
}

bool WaylandDesktop::waitForKWinScripting() {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    const auto answers = [](sd_bus_message*) { return true; };
    while (!callBus("org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting", "isScriptLoaded",
                    answers, "s", "olvane-test")) {
        if (compositor_->wait(0ms) || std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

bool WaylandDesktop::restartKWin() {
    fakeInput_.reset();
    fakeInputOutput_.clear();
    if (compositor_) {
        compositor_->signal(SIGTERM);
        if (!compositor_->wait(kPatience)) {
            compositor_->signal(SIGKILL);
            compositor_->wait(kPatience);
        }
    }
    compositor_.reset();
    ready_ = startKWin();
    return ready_;
}

bool WaylandDesktop::setMonitorScale(int scale) {
    constexpr const char* kService = "org.gnome.Mutter.DisplayConfig";
    constexpr const char* kPath = "/org/gnome/Mutter/DisplayConfig";
    std::uint32_t serial = 0;
    const auto readSerial = [&serial](sd_bus_message* state) {
        return sd_bus_message_read(state, "u", &serial) >= 0;
    };
    const auto none = [](sd_bus_message*) { return true; };
    const std::string mode = options_.size + "@60.000";
    // The only logical monitor, on the virtual monitor's one mode, for the session only.
    if (!callBus(kService, kPath, kService, "GetCurrentState", readSerial, "") ||
        !callBus(kService, kPath, kService, "ApplyMonitorsConfig", none,
                 "uua(iiduba(ssa{sv}))a{sv}", serial, 1u, 1, 0, 0, double(scale), 0u, 1, 1,
                 "Meta-0", mode.c_str(), 0, 0)) {
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (shellEval("global.display.get_monitor_scale(0)") != std::to_string(scale)) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

std::string WaylandDesktop::compositorLog() const {
    return fileText(log_);
}

std::optional<std::string> WaylandDesktop::shellEval(const std::string& script) {
    std::optional<std::string> result;
    const auto read = [&result](sd_bus_message* reply) {
        int succeeded = 0;
        const char* value = nullptr;
        if (sd_bus_message_read(reply, "bs", &succeeded, &value) < 0 || !succeeded) {
            return false;
        }
        result = value ? value : "";
        return true;
    };
    if (!callBus("org.gnome.Shell", "/org/gnome/Shell", "org.gnome.Shell", "Eval", read, "s",
                 script.c_str())) {
        return std::nullopt;
    }
    return result;
}

std::optional<std::vector<std::string>> WaylandDesktop::kwinScript(const std::string& script) {
    const auto name = "olvane-test-" + std::to_string(++kwinScripts_);
    const auto file = home_.root() / (name + ".js");
    // Each line it prints comes in KWin's log after its name; its end, or its error, says so.
    writeText(file, "(function () { const olvaneSay = print; try { (function (print) {\n" + script +
                        "\n})(function () { olvaneSay('" + name +
                        " ' + Array.prototype.join.call(arguments, ' ')); }); olvaneSay('" + name +
                        "-done'); } catch (e) { olvaneSay('" + name + "-error ' + e); } })();\n");
    const auto logged = fileText(log_).size();
    int id = -1;
    const auto readId = [&id](sd_bus_message* reply) {
        return sd_bus_message_read(reply, "i", &id) >= 0 && id >= 0;
    };
    const auto answers = [](sd_bus_message*) { return true; };
    // start() runs every script loaded and not running: KWin may give a new script the id of an
    // older one, whose object run() would start again.
    if (!callBus("org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting", "loadScript", readId, "ss",
                 file.c_str(), name.c_str()) ||
        !callBus("org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting", "start", answers, "")) {
        return std::nullopt;
    }
    std::optional<std::vector<std::string>> printed;
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < deadline) {
        const auto text = fileText(log_);
        std::istringstream lines(text.size() > logged ? text.substr(logged) : std::string());
        std::vector<std::string> said;
        std::string line;
        bool ended = false;
        bool threw = false;
        while (std::getline(lines, line)) {
            const auto at = line.find(name);
            if (at == std::string::npos) {
                continue;
            }
            const auto rest = line.substr(at + name.size());
            ended = ended || rest == "-done";
            threw = threw || rest.starts_with("-error");
            if (rest.starts_with(" ")) {
                said.push_back(rest.substr(1));
            }
        }
        if (ended || threw) {
            if (ended) {
                printed = std::move(said);
            }
            break;
        }
        std::this_thread::sleep_for(20ms);
    }
    callBus("org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting", "unloadScript", answers, "s",
            name.c_str());
    return printed;
}

bool WaylandDesktop::movePointer(double x, double y) {
    if (options_.kind == Kind::gnomeShell) {
        return shellEval(
                   "olvanePointer.notify_absolute_motion(olvaneInput.GLib.get_monotonic_time(), " +
                   std::to_string(x) + ", " + std::to_string(y) + "); true") == "true";
    }
    return fakeInput("move " + std::to_string(x) + " " + std::to_string(y));
}

bool WaylandDesktop::click(double x, double y) {
    if (options_.kind == Kind::gnomeShell) {
        return movePointer(x, y) &&
               shellEval(
                   "const {Clutter, GLib} = olvaneInput; const t = GLib.get_monotonic_time();"
                   "olvanePointer.notify_button(t, Clutter.BUTTON_PRIMARY, "
                   "Clutter.ButtonState.PRESSED);"
                   "olvanePointer.notify_button(t + 1000, Clutter.BUTTON_PRIMARY, "
                   "Clutter.ButtonState.RELEASED); true") == "true";
    }
    return movePointer(x, y) && fakeInput("click");
}

bool WaylandDesktop::type(const std::string& text) {
    if (options_.kind == Kind::gnomeShell) {
        for (const char letter : text) {
            const std::string keyval = std::to_string(static_cast<unsigned char>(letter));
            if (shellEval(
                    "const {Clutter, GLib} = olvaneInput; const t = GLib.get_monotonic_time();"
                    "olvaneKeyboard.notify_keyval(t, " +
                    keyval +
                    ", Clutter.KeyState.PRESSED);"
                    "olvaneKeyboard.notify_keyval(t + 1000, " +
                    keyval + ", Clutter.KeyState.RELEASED); true") != "true") {
                return false;
            }
        }
        return true;
    }
    return fakeInput("type " + text);
}

bool WaylandDesktop::fakeInput(const std::string& command) {
#ifdef OLVANE_WAYLAND_FAKE_INPUT
    if (!fakeInput_) {
        fakeInput_ = std::make_unique<ChildProcess>(OLVANE_WAYLAND_FAKE_INPUT);
    }
    if (command.find('\n') != std::string::npos || !fakeInput_->writeStdin(command + "\n")) {
        return false;
    }
    // Answered once KWin has taken it.
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    std::size_t end = 0;
    while ((end = fakeInputOutput_.find('\n')) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline || fakeInput_->wait(0ms)) {
            return false;
        }
        fakeInputOutput_ += fakeInput_->readStdout(256, 100ms);
    }
    const auto answer = fakeInputOutput_.substr(0, end);
    fakeInputOutput_.erase(0, end + 1);
    return answer == "ok";
#else
    (void)command;
    return false;
#endif
}

fs::path WaylandDesktop::screenshot(const std::string& name) {
    const auto file = home_.root() / (name + ".png");
    if (options_.kind == Kind::kwin) {
        return kwinScreenshot(file) ? file : fs::path();
    }
    // The Shell takes screenshots for a few names only, org.gnome.Screenshot's among them.
    const bool taken = withSessionBus([&file](sd_bus* bus) {
        sd_bus_error error = SD_BUS_ERROR_NULL;
        const bool shot = sd_bus_request_name(bus, "org.gnome.Screenshot", 0) >= 0 &&
                          sd_bus_call_method(bus, "org.gnome.Shell", "/org/gnome/Shell/Screenshot",
                                             "org.gnome.Shell.Screenshot", "Screenshot", &error,
                                             nullptr, "bbs", 0, 0, file.c_str()) >= 0;
        sd_bus_error_free(&error);
        return shot;
    });
    if (!taken) {
        return {};
    }
    return fs::exists(file) ? file : fs::path();
}

// KWin's picture of its whole workspace comes as raw pixels down a pipe, beside its reply.
bool WaylandDesktop::kwinScreenshot(const fs::path& file) {
#ifdef OLVANE_TEST_SCREENSHOTS
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) < 0) {
        return false;
    }
    std::string pixels;
    std::thread reader([&pixels, from = pipe[0]] {
        char chunk[65536];
        ssize_t got = 0;
        pollfd readable{from, POLLIN, 0};
        while (::poll(&readable, 1, int(kPatience.count() * 1000)) > 0 &&
               (got = ::read(from, chunk, sizeof chunk)) > 0) {
            pixels.append(chunk, std::size_t(got));
        }
    });
    std::map<std::string, std::uint32_t> numbers;
    const auto read = [&numbers](sd_bus_message* reply) {
        if (sd_bus_message_enter_container(reply, 'a', "{sv}") < 0) {
            return false;
        }
        while (sd_bus_message_enter_container(reply, 'e', "sv") > 0) {
            const char* key = nullptr;
            char type = 0;
            const char* contents = nullptr;
            if (sd_bus_message_read(reply, "s", &key) < 0 ||
                sd_bus_message_peek_type(reply, &type, &contents) < 0) {
                return false;
            }
            std::uint32_t number = 0;
            if (contents && (contents == std::string("u") || contents == std::string("i")) &&
                sd_bus_message_read(reply, "v", contents, &number) >= 0) {
                numbers[key] = number;
            } else if (sd_bus_message_skip(reply, "v") < 0) {
                return false;
            }
            sd_bus_message_exit_container(reply);
        }
        return sd_bus_message_exit_container(reply) >= 0;
    };
    const bool answered =
        callBus("org.kde.KWin", "/org/kde/KWin/ScreenShot2", "org.kde.KWin.ScreenShot2",
                "CaptureWorkspace", read, "a{sv}h", 0, pipe[1]);
    ::close(pipe[1]);
    reader.join();
    ::close(pipe[0]);
    const int width = int(numbers["width"]);
    const int height = int(numbers["height"]);
    const auto stride = qsizetype(numbers["stride"]);
    if (!answered || width <= 0 || height <= 0 ||
        pixels.size() < std::size_t(stride) * std::size_t(height)) {
        return false;
    }
    const QImage image(reinterpret_cast<const uchar*>(pixels.data()), width, height, stride,
                       QImage::Format(numbers["format"]));
    return image.save(QString::fromStdString(file.string()), "PNG");
#else
    (void)file;
    return false;
#endif
}

NativeWindow::NativeWindow(const std::string& applicationId, const std::string& title,
                           const std::string& size, const std::string& colour)
    : process_("/usr/bin/env", {"GDK_BACKEND=wayland", "NO_AT_BRIDGE=1", "/usr/bin/python3",
                                OLVANE_SOURCE_DIR "/tests/support/native-window.py", applicationId,
                                title, size, colour}) {
    ready_ = waitForLine("ready", kPatience);
}

bool NativeWindow::waitForLine(const std::string& line, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        std::size_t end = 0;
        while ((end = output_.find('\n')) != std::string::npos) {
            const auto next = output_.substr(0, end);
            output_.erase(0, end + 1);
            if (next.starts_with("text ")) {
                text_ = next.substr(5);
            } else if (next == "focus in" || next == "focus out") {
                focused_ = next == "focus in";
            }
            if (next == line) {
                return true;
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left <= 0ms) {
            return false;
        }
        const auto more = process_.readStdout(4096, std::min(left, 100ms));
        output_ += more;
    }
}

bool NativeWindow::waitForText(const std::string& text, std::chrono::milliseconds timeout) {
    return text_ == text || waitForLine("text " + text, timeout);
}

bool NativeWindow::waitForFocus(bool focused, std::chrono::milliseconds timeout) {
    return focused_ == focused || waitForLine(focused ? "focus in" : "focus out", timeout);
}

}  // namespace olvane::test
