#include "platform/linux/X11Workspace.h"

#include <signal.h>

#include <algorithm>
#include <string>

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
      x_(std::move(x)),
      applications_(std::move(applicationFolders)),
      running_(processes, [this](pid_t pid) {
          if (frontmostPid_ == pid) {
              frontmostPid_.reset();
          }
      }) {
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
    return running_.withBundleID(bundleID);
}

std::vector<RunningApplication> X11Workspace::allRunningApplications() {
    return running_.all();
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
    return running_.observeLaunch(std::move(observer));
}

Handle X11Workspace::observeTermination(ApplicationObserver observer) {
    return running_.observeTermination(std::move(observer));
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
    if (const auto* known = running_.find(*pid)) {
        return *known;
    }
    if (!running_.isAlive(*pid)) {
        return std::nullopt;  // a PID of another machine or namespace, or a process gone
    }
    return running_.track(describe(*pid, window));
}

RunningApplication X11Workspace::describe(pid_t pid, xcb_window_t window) {
    const auto classes = ewmh::windowClass(*x_, window);
    WindowNames names;
    names.instance = classes.empty() ? std::string() : classes[0];
    names.windowClass = classes.size() > 1 ? classes[1] : std::string();
    if (const auto gtk = readProperty(*x_, window, "_GTK_APPLICATION_ID")) {
        names.gtkApplicationId = gtk->text();
    }
    return applications_.describe(pid, names);
}

}  // namespace olvane::platform::os
