#include "platform/linux/SystemctlServiceManager.h"

#include "platform/linux/CommandRunner.h"

namespace olvane::platform::os {
namespace {

using namespace std::chrono_literals;

constexpr auto kCallTimeout = 10s;

std::string trimmed(std::string text) {
    const auto end = text.find_last_not_of(" \t\r\n");
    text.erase(end == std::string::npos ? 0 : end + 1);
    const auto begin = text.find_first_not_of(" \t\r\n");
    return begin == std::string::npos ? std::string() : text.substr(begin);
}

}  // namespace

SystemctlServiceManager::SystemctlServiceManager(const Paths& paths, std::string systemctl)
    : runtimeDir_(paths.sessionRuntimeDir()), systemctl_(std::move(systemctl)) {}

bool SystemctlServiceManager::isRunning() {
    std::error_code ec;
    return runtimeDir_ && std::filesystem::exists(*runtimeDir_ / "systemd" / "private", ec);
}

Status SystemctlServiceManager::run(const std::vector<std::string>& arguments) {
    if (!isRunning()) {
        return Status::failure("Aucun gestionnaire de services utilisateur (systemd --user) actif");
    }
    std::vector<std::string> argv{systemctl_, "--user"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const auto result = runCommand(argv, kCallTimeout);
    if (result.succeeded()) {
        return Status::success();
    }
    std::string words = "systemctl --user";
    for (const auto& argument : arguments) {
        words += " " + argument;
    }
    const ComposedText command(std::move(words));
    if (!result.started) {
        return Status::failure("Impossible de lancer « " + command + " »");
    }
    if (result.timedOut) {
        return Status::failure("« " + command + " » ne répond pas");
    }
    // What systemctl says may name the user's files.
    const auto output = trimmed(result.output);
    auto description =
        "« " + command + " » a échoué (code " + ComposedText(std::to_string(result.exitCode)) + ")";
    if (!output.empty()) {
        description += " : " + userData(output);
    }
    return Status::failure(std::move(description));
}

Status SystemctlServiceManager::reload() {
    return run({"daemon-reload"});
}

Status SystemctlServiceManager::enable(const std::string& unit) {
    return run({"enable", unit});
}

Status SystemctlServiceManager::disableAndStop(const std::string& unit) {
    return run({"disable", "--now", unit});
}

Status SystemctlServiceManager::restart(const std::string& unit) {
    return run({"restart", unit});
}

bool SystemctlServiceManager::isEnabled(const std::string& unit) {
    return run({"is-enabled", "--quiet", unit}).ok();
}

bool SystemctlServiceManager::isActive(const std::string& unit) {
    return run({"is-active", "--quiet", unit}).ok();
}

}  // namespace olvane::platform::os
