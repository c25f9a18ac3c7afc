#include "watchdog/ApplicationDisplay.h"

#include <cstdlib>
#include <string_view>

#include "platform/FileIO.h"

namespace olvane {

std::optional<ApplicationDisplay> applicationDisplayOf(pid_t pid,
                                                       const std::filesystem::path& procRoot) {
    const auto environment = platform::readWholeFile(procRoot / std::to_string(pid) / "environ");
    if (!environment) {
        return std::nullopt;
    }
    ApplicationDisplay found;
    std::string_view rest(*environment);
    while (!rest.empty()) {
        const auto end = rest.find('\0');
        const auto entry = rest.substr(0, end);
        if (entry.starts_with("DISPLAY=")) {
            found.display = entry.substr(8);
        } else if (entry.starts_with("XAUTHORITY=")) {
            found.authority = entry.substr(11);
        }
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    if (found.display.empty()) {
        return std::nullopt;
    }
    return found;
}

platform::Handle DisplayFollowingProcessWatcher::watchExit(pid_t pid, platform::Task onExit) {
    if (const auto application = applicationDisplayOf(pid)) {
        device_.setDisplay(application->display);
        // XCB reads the authority file's name from the environment when it connects.
        if (application->authority.empty()) {
            ::unsetenv("XAUTHORITY");
        } else {
            ::setenv("XAUTHORITY", application->authority.c_str(), 1);
        }
    }
    return inner_.watchExit(pid, std::move(onExit));
}

}  // namespace olvane
