#include "platform/linux/X11Workspace.h"

#include <signal.h>

#include <algorithm>
#include <string>

#include "platform/ApplicationAliases.h"
#include "platform/linux/Ewmh.h"
#include "platform/linux/X11Properties.h"

namespace olvane::platform::os {
namespace {

using namespace std::chrono_literals;

constexpr auto kFocusSettleTime = 100ms;

RunningApplication desktopApplication() {
    RunningApplication desktop;
    desktop.bundleIdentifier = std::string(kDesktopApplicationID);
    desktop.localizedName = "Bureau";
    return desktop;
}

}  // namespace

std::unique_ptr<X11Workspace> X11Workspace::create(
    RunLoop& loop, ProcessWatcher& processes, std::vector<std::filesystem::path> applicationFolders,
    const std::string& display) {
    auto x = X11Connection::open(display);
    if (!x || !ewmh::hasWindowManager(*x)) {
        return nullptr;
    }
    return std::unique_ptr<X11Workspace>(
        new X11Workspace(loop, processes, std::move(x), std::move(applicationFolders)));
}

X11Workspace::X11Workspace(RunLoop& loop, ProcessWatcher& processes,
                           std::unique_ptr<X11Connection> x,
                           std::vector<std::filesystem::path> applicationFolders)
    : loop_(loop),
      processes_(processes),
      x_(std::move(x)),
      desktopEntries_(std::move(applicationFolders)) {
    selectWindowEvents(*x_, x_->root(), XCB_EVENT_MASK_PROPERTY_CHANGE);
    x_->flush();
    refreshClients();
    activeWindow_ = ewmh::activeWindow(*x_);
    if (const auto front = frontmostApplication()) {
        frontmostPid_ = front->processIdentifier;
    }
    events_ =
        x_->watchEvents(loop_, [this](const xcb_generic_event_t& event) { handleEvent(event); });
}

X11Workspace::~X11Workspace() {
    events_.cancel();
}

std::optional<RunningApplication> X11Workspace::frontmostApplication() {
    if (!activeWindow_) {
        // Window managers clear the active window for a moment while the focus moves.
        if (absenceCheck_) {
            return std::nullopt;
        }
        return desktopApplication();
    }
    if (factsOf(*activeWindow_).isDesktop) {
        return desktopApplication();
    }
    return applicationOfWindow(*activeWindow_);
}

std::vector<RunningApplication> X11Workspace::runningApplications(std::string_view bundleID) {
    auto all = allRunningApplications();
    std::erase_if(all, [bundleID](const RunningApplication& application) {
        return application.bundleIdentifier != bundleID;
    });
    return all;
}

std::vector<RunningApplication> X11Workspace::allRunningApplications() {
    std::vector<RunningApplication> all;
    for (const auto& [pid, tracked] : running_) {
        all.push_back(tracked.application);
    }
    std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) {
        return a.launchDate.value_or(0) < b.launchDate.value_or(0);
    });
    return all;
}

void X11Workspace::requestTermination(const RunningApplication& application) {
    const pid_t pid = application.processIdentifier;
    if (pid <= 0) {
        return;
    }
    bool asked = false;
    for (const auto window : ewmh::clientListStacking(*x_).value_or(std::vector<xcb_window_t>{})) {
        if (factsOf(window).pid == pid) {
            ewmh::requestClose(*x_, window);
            asked = true;
        }
    }
    x_->deliverQueuedEventsSoon();
    if (!asked) {
        ::kill(pid, SIGTERM);
    }
}

Handle X11Workspace::observeActivation(ApplicationObserver observer) {
    return activated_.connect(std::move(observer));
}

Handle X11Workspace::observeLaunch(ApplicationObserver observer) {
    return launched_.connect(std::move(observer));
}

Handle X11Workspace::observeTermination(ApplicationObserver observer) {
    return terminated_.connect(std::move(observer));
}

void X11Workspace::handleEvent(const xcb_generic_event_t& event) {
    if ((event.response_type & 0x7F) != XCB_PROPERTY_NOTIFY) {
        return;
    }
    const auto& change = reinterpret_cast<const xcb_property_notify_event_t&>(event);
    if (change.window != x_->root()) {
        return;
    }
    if (change.atom == x_->atom("_NET_CLIENT_LIST")) {
        refreshClients();
    } else if (change.atom == x_->atom("_NET_ACTIVE_WINDOW")) {
        activeWindow_ = ewmh::activeWindow(*x_);
        checkFrontmost();
    }
}

void X11Workspace::checkFrontmost() {
    if (!activeWindow_) {
        // Only a lasting absence of any active window means the bare desktop is in front.
        if (!absenceCheck_) {
            absenceCheck_ = loop_.after(kFocusSettleTime, [this] { announceFrontmost(); });
        }
        return;
    }
    announceFrontmost();
}

void X11Workspace::announceFrontmost() {
    absenceCheck_.cancel();
    const auto front = frontmostApplication();
    const auto pid = front ? std::optional(front->processIdentifier) : std::nullopt;
    if (pid == frontmostPid_) {
        return;
    }
    frontmostPid_ = pid;
    activated_.emit(front);
}

void X11Workspace::refreshClients() {
    const auto clients = ewmh::clientListStacking(*x_);
    if (!clients) {
        return;
    }
    clients_ = std::set<xcb_window_t>(clients->begin(), clients->end());
    std::erase_if(windowFacts_,
                  [this](const auto& entry) { return !clients_.contains(entry.first); });
    for (const auto window : *clients) {
        if (factsOf(window).isApplicationWindow) {
            (void)applicationOfWindow(window);
        }
    }
    x_->deliverQueuedEventsSoon();
}

// A managed window keeps its process and its type: both are read once, until it leaves the
// client list. Any other window is read anew: its ID may be stale, or taken again by another.
X11Workspace::WindowFacts X11Workspace::factsOf(xcb_window_t window) {
    if (const auto found = windowFacts_.find(window); found != windowFacts_.end()) {
        return found->second;
    }
    const auto types = ewmh::windowTypes(*x_, window);
    const std::string type = types.empty() ? "NORMAL" : types.front();
    WindowFacts facts;
    facts.pid = ewmh::windowPid(*x_, window);
    facts.isDesktop = type == "DESKTOP";
    facts.isApplicationWindow = type == "NORMAL" || type == "DIALOG";
    x_->deliverQueuedEventsSoon();
    if (clients_.contains(window)) {
        windowFacts_[window] = facts;
    }
    return facts;
}

std::optional<RunningApplication> X11Workspace::applicationOfWindow(xcb_window_t window) {
    const auto pid = factsOf(window).pid;
    if (!pid) {
        return std::nullopt;
    }
    if (const auto found = running_.find(*pid); found != running_.end()) {
        return found->second.application;
    }
    if (!processes_.isAlive(*pid)) {
        return std::nullopt;  // a PID of another machine or namespace, or a process gone
    }
    return track(describe(*pid, window));
}

RunningApplication X11Workspace::describe(pid_t pid, xcb_window_t window) {
    RunningApplication application;
    application.processIdentifier = pid;
    application.launchDate = proc_.launchDate(pid);
    const auto classes = ewmh::windowClass(*x_, window);
    const std::string instance = classes.empty() ? std::string() : classes[0];
    const std::string windowClass = classes.size() > 1 ? classes[1] : std::string();
    const auto executable = proc_.executableName(pid);
    // The most precise name first; a name the alias table knows gives the application's ID,
    // else the desktop entry matching the window's class does.
    if (const auto gtk = readProperty(*x_, window, "_GTK_APPLICATION_ID")) {
        application.bundleIdentifier = gtk->text();
    } else if (auto flatpak = proc_.flatpakId(pid)) {
        application.bundleIdentifier = std::move(flatpak);
    }
    for (const auto& name : {windowClass, instance, executable.value_or(std::string())}) {
        if (application.bundleIdentifier) {
            break;
        }
        if (const auto alias = applicationIdForAlias(name)) {
            application.bundleIdentifier = std::string(*alias);
        }
    }
    if (!application.bundleIdentifier) {
        application.bundleIdentifier = desktopEntries_.applicationId(windowClass, instance);
    }
    if (!application.bundleIdentifier && !windowClass.empty()) {
        application.bundleIdentifier = windowClass;
    } else if (!application.bundleIdentifier && executable) {
        application.bundleIdentifier = executable;
    }
    if (application.bundleIdentifier && application.bundleIdentifier->empty()) {
        application.bundleIdentifier.reset();
    }
    application.localizedName = classes.size() > 1 ? std::optional(windowClass) : executable;
    return application;
}

const RunningApplication& X11Workspace::track(RunningApplication application) {
    const pid_t pid = application.processIdentifier;
    auto& tracked = running_[pid];
    tracked.application = std::move(application);
    tracked.exitWatch = processes_.watchExit(pid, [this, pid] { processEnded(pid); });
    launched_.emit(tracked.application);
    return tracked.application;
}

void X11Workspace::processEnded(pid_t pid) {
    const auto found = running_.find(pid);
    if (found == running_.end()) {
        return;
    }
    const auto application = found->second.application;
    running_.erase(found);  // a process watcher lets its callback drop the watch
    if (frontmostPid_ == pid) {
        frontmostPid_.reset();
    }
    terminated_.emit(application);
}

}  // namespace olvane::platform::os
