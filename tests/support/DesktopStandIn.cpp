#include "support/DesktopStandIn.h"

#include <unistd.h>

#include "platform/FileIO.h"

namespace olvane::test {

std::filesystem::path holdKConfigFileLock(const std::filesystem::path& file) {
    char host[256] = {};
    const std::filesystem::path lock = file.string() + ".lock";
    const auto program = std::filesystem::read_symlink("/proc/self/exe").filename().string();
    if (::gethostname(host, sizeof host - 1) != 0 ||
        !platform::writeFileAtomically(
            lock, std::to_string(::getpid()) + "\n" + program + "\n" + host + "\n", 0644)) {
        return {};
    }
    return lock;
}

std::unique_ptr<DesktopStandIn> DesktopStandIn::kwin(const std::string& version,
                                                     bool effectLoaded) {
    std::vector<std::string> arguments{"kwin", version};
    if (effectLoaded) {
        arguments.emplace_back("--loaded");
    }
    return std::make_unique<DesktopStandIn>(arguments);
}

std::unique_ptr<DesktopStandIn> DesktopStandIn::gnomeShell() {
    return std::make_unique<DesktopStandIn>(std::vector<std::string>{"gnome-shell"});
}

std::unique_ptr<DesktopStandIn> DesktopStandIn::statusNotifierWatcher() {
    return std::make_unique<DesktopStandIn>(std::vector<std::string>{"status-notifier-watcher"});
}

DesktopStandIn::DesktopStandIn(const std::vector<std::string>& arguments)
    : process_(builtExecutable("tests/support/olvane-desktop-stand-in"), arguments) {
    ready_ = nextLine() == "ready";
}

bool DesktopStandIn::skipTo(const std::string& line, std::chrono::milliseconds timeout) {
    for (auto next = nextLine(timeout); !next.empty(); next = nextLine(timeout)) {
        if (next == line) {
            return true;
        }
    }
    return false;
}

std::string DesktopStandIn::nextLine(std::chrono::milliseconds timeout) {
    std::string line;
    for (;;) {
        const auto byte = process_.readStdout(1, timeout);
        if (byte.empty() || byte == "\n") {
            return line;
        }
        line += byte;
    }
}

}  // namespace olvane::test
