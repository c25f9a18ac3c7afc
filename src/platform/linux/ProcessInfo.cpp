#include "platform/linux/ProcessInfo.h"

#include <unistd.h>

#include <sstream>
#include <string_view>
#include <vector>

#include "platform/FileIO.h"

namespace olvane::platform::os {
namespace {

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

// "name=…" in the [Application] group of a .flatpak-info key file.
std::optional<std::string> applicationName(const std::string& keyFile) {
    std::istringstream lines(keyFile);
    bool inApplication = false;
    for (std::string line; std::getline(lines, line);) {
        const auto text = trimmed(line);
        if (text.starts_with('[')) {
            inApplication = text == "[Application]";
        } else if (inApplication && text.starts_with("name=")) {
            return trimmed(std::string_view(text).substr(5));
        }
    }
    return std::nullopt;
}

// "…/app-flatpak-org.gnome.Maps-12345.scope" → "org.gnome.Maps".
std::optional<std::string> scopeApplication(const std::string& cgroup) {
    constexpr std::string_view kPrefix = "app-flatpak-";
    const auto start = cgroup.find(kPrefix);
    if (start == std::string::npos) {
        return std::nullopt;
    }
    const auto idStart = start + kPrefix.size();
    const auto scopeEnd = cgroup.find(".scope", idStart);
    const auto dash = cgroup.rfind('-', scopeEnd);
    if (scopeEnd == std::string::npos || dash == std::string::npos || dash <= idStart) {
        return std::nullopt;
    }
    return cgroup.substr(idStart, dash - idStart);
}

}  // namespace

std::optional<double> ProcessInfo::launchDate(pid_t pid) const {
    const auto stat = readWholeFile(folder(pid) / "stat");
    const auto systemStat = readWholeFile(proc_ / "stat");
    if (!stat || !systemStat) {
        return std::nullopt;
    }
    // The command name may hold spaces and parentheses: fields count from the last ')'.
    const auto close = stat->rfind(')');
    if (close == std::string::npos) {
        return std::nullopt;
    }
    std::istringstream fields(stat->substr(close + 1));
    std::string field;
    // After the command name come the state (field 3) … the start time (field 22).
    for (int i = 3; i <= 22 && (fields >> field); ++i) {
    }
    const auto boot = systemStat->find("\nbtime ");
    if (!fields || boot == std::string::npos) {
        return std::nullopt;
    }
    const double ticks = std::strtod(field.c_str(), nullptr);
    const double bootTime = std::strtod(systemStat->c_str() + boot + 7, nullptr);
    const long ticksPerSecond = ::sysconf(_SC_CLK_TCK);
    if (ticksPerSecond <= 0) {
        return std::nullopt;
    }
    return bootTime + ticks / static_cast<double>(ticksPerSecond);
}

std::optional<std::string> ProcessInfo::executableName(pid_t pid) const {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink(folder(pid) / "exe", error);
    if (!error && !executable.empty()) {
        auto name = executable.filename().string();
        // A replaced executable reads "name (deleted)".
        if (const auto deleted = name.find(" (deleted)"); deleted != std::string::npos) {
            name.erase(deleted);
        }
        return name;
    }
    return commandName(pid);
}

std::optional<std::string> ProcessInfo::commandName(pid_t pid) const {
    if (const auto command = readWholeFile(folder(pid) / "comm")) {
        if (auto name = trimmed(*command); !name.empty()) {
            return name;
        }
    }
    return std::nullopt;
}

std::optional<std::string> ProcessInfo::flatpakId(pid_t pid) const {
    if (const auto info = readWholeFile(folder(pid) / "root" / ".flatpak-info")) {
        if (auto name = applicationName(*info)) {
            return name;
        }
    }
    if (const auto cgroup = readWholeFile(folder(pid) / "cgroup")) {
        return scopeApplication(*cgroup);
    }
    return std::nullopt;
}

}  // namespace olvane::platform::os
