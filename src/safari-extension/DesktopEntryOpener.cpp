#include "safari-extension/DesktopEntryOpener.h"

#include <cerrno>
#include <string>

#include "platform/ProgramSearch.h"
#include "platform/linux/DaemonStart.h"
#include "safari-extension/DesktopEntry.h"

namespace olvane::safari {

DesktopEntryOpener::DesktopEntryOpener(std::vector<std::filesystem::path> entryFolders,
                                       std::filesystem::path workingFolder)
    : entryFolders_(std::move(entryFolders)), workingFolder_(std::move(workingFolder)) {}

std::optional<std::filesystem::path> DesktopEntryOpener::urlForApplication(
    std::string_view applicationId) const {
    const std::string fileName = std::string(applicationId) + ".desktop";
    for (const auto& folder : entryFolders_) {
        const auto candidate = folder / fileName;
        // A hidden entry in an earlier folder deletes the ones after it.
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec)) {
            return DesktopEntry::load(candidate) ? std::optional(candidate) : std::nullopt;
        }
    }
    return std::nullopt;
}

platform::Status DesktopEntryOpener::openApplication(const std::filesystem::path& url) {
    const auto entry = DesktopEntry::load(url);
    auto command = entry ? entry->commandLine() : std::vector<std::string>{};
    if (command.empty()) {
        return platform::Status::failure("Aucune application à lancer dans " +
                                         platform::quotedPath(url));
    }
    // A bare name is looked up in PATH, as a shell would.
    if (command.front().find('/') == std::string::npos) {
        const auto program = platform::findProgramOnPath(command.front());
        if (!program) {
            return platform::errnoFailure(
                "Impossible de lancer " + platform::quotedPath(command.front()), ENOENT);
        }
        command.front() = program->string();
    }
    pid_t pid = 0;
    return platform::os::startDaemon(command, workingFolder_, pid);
}

}  // namespace olvane::safari
