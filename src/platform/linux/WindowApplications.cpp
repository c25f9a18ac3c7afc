#include "platform/linux/WindowApplications.h"

#include "platform/ApplicationAliases.h"

namespace olvane::platform::os {

WindowApplications::WindowApplications(std::vector<std::filesystem::path> applicationFolders)
    : desktopEntries_(std::move(applicationFolders)) {}

RunningApplication WindowApplications::describe(pid_t pid, const WindowNames& names) {
    RunningApplication application;
    application.processIdentifier = pid;
    application.launchDate = proc_.launchDate(pid);
    const auto executable = proc_.executableName(pid);
    auto& id = application.bundleIdentifier;
    if (!names.gtkApplicationId.empty()) {
        id = names.gtkApplicationId;
    } else if (auto flatpak = proc_.flatpakId(pid)) {
        id = std::move(flatpak);
    }
    for (const auto& name :
         {names.windowClass, names.instance, executable.value_or(std::string())}) {
        if (id) {
            break;
        }
        if (const auto alias = applicationIdForAlias(name)) {
            id = std::string(*alias);
        }
    }
    if (!id) {
        id = desktopEntries_.applicationId(names.windowClass, names.instance);
    }
    if (!id && !names.desktopId.empty()) {
        const auto alias = applicationIdForAlias(names.desktopId);
        id = alias ? std::string(*alias) : names.desktopId;
    }
    if (!id && !names.windowClass.empty()) {
        id = names.windowClass;
    } else if (!id && executable) {
        id = executable;
    }
    if (id && id->empty()) {
        id.reset();
    }
    if (!names.name.empty()) {
        application.localizedName = names.name;
    } else {
        application.localizedName =
            names.windowClass.empty() ? executable : std::optional(names.windowClass);
    }
    return application;
}

}  // namespace olvane::platform::os
