#include "safari-extension/DesktopEntryOpener.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <string>

#include "safari-extension/DesktopEntry.h"

namespace olvane::safari {
namespace {

// Runs `command` in a grandchild of its own session with its standard streams on /dev/null,
// so it neither holds our pipes nor stays our zombie.
void spawnDetached(const std::vector<std::string>& command, const std::filesystem::path& folder) {
    std::vector<char*> argv;
    for (const auto& arg : command) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child < 0) {
        return;
    }
    if (child == 0) {
        ::setsid();
        if (::fork() == 0) {
            const int devNull = ::open("/dev/null", O_RDWR);
            ::dup2(devNull, STDIN_FILENO);
            ::dup2(devNull, STDOUT_FILENO);
            ::dup2(devNull, STDERR_FILENO);
            ::signal(SIGPIPE, SIG_DFL);
            if (::chdir(folder.c_str()) != 0) {
                (void)::chdir("/");
            }
            ::execvp(argv[0], argv.data());
        }
        ::_exit(0);
    }
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace

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

void DesktopEntryOpener::openApplication(const std::filesystem::path& url) {
    const auto entry = DesktopEntry::load(url);
    if (!entry) {
        return;
    }
    const auto command = entry->commandLine();
    if (command.empty()) {
        return;
    }
    spawnDetached(command, workingFolder_);
}

}  // namespace olvane::safari
