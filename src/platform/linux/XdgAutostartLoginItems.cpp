#include "platform/linux/XdgAutostartLoginItems.h"

#include <algorithm>
#include <cerrno>
#include <sstream>

#include "platform/DesktopEntryKeys.h"
#include "platform/DesktopExecCommand.h"
#include "platform/FileIO.h"

namespace olvane::platform::os {
namespace {

namespace fs = std::filesystem;

// Far more than any desktop entry holds.
constexpr std::size_t kLargestEntryBytes = 1 << 20;

// Only these characters may stand in an Exec argument without quotes.
bool needsQuoting(const std::string& argument) {
    return argument.find_first_of(" \t\n\"'\\><~|&;$*?#()`") != std::string::npos;
}

// Ours and on: it starts `executable` (not a copy elsewhere, such as a build tree's), and the
// desktop's settings have not switched it off.
bool startsAtLogin(const std::string& text, const fs::path& executable) {
    std::istringstream lines(text);
    std::string line;
    bool startsExecutable = false;
    while (std::getline(lines, line)) {
        if (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false") {
            return false;
        }
        startsExecutable |= line == "Exec=" + desktopExecValue(executable);
    }
    return startsExecutable;
}

// The program `entry` starts: its Exec value's first word, when an absolute path. A bare name
// depends on the session's search path, which may not be ours.
std::optional<fs::path> programStartedBy(const fs::path& entry) {
    // Read without waiting on what is no regular file: a FIFO or a folder by that name is none.
    const auto text = readWholeFile(entry, nullptr, kLargestEntryBytes);
    const auto keys = text ? DesktopEntryKeys::parse(*text) : std::nullopt;
    if (!keys) {
        return std::nullopt;
    }
    const auto command = desktopExecCommand(
        keys->value("Exec"),
        {.name = keys->value("Name"), .icon = keys->value("Icon"), .location = entry});
    if (command.empty()) {
        return std::nullopt;
    }
    const fs::path program = command.front();
    return program.is_absolute() ? std::optional(program) : std::nullopt;
}

bool startsTheProgram(const fs::path& entry, const fs::path& executable) {
    const auto program = programStartedBy(entry);
    std::error_code ec;
    return program && fs::equivalent(*program, executable, ec);
}

}  // namespace

std::string desktopExecValue(const fs::path& program) {
    std::string argument = program.string();
    std::string value;
    if (needsQuoting(argument)) {
        // Inside quotes, `"`, `` ` ``, `$` and `\` take a backslash; then the whole value is a
        // desktop-entry string, where a backslash is itself written twice.
        std::string quoted = "\"";
        for (char c : argument) {
            if (c == '"' || c == '`' || c == '$' || c == '\\') {
                quoted += '\\';
            }
            quoted += c;
        }
        quoted += '"';
        for (char c : quoted) {
            value += c == '\\' ? std::string("\\\\") : std::string(1, c);
        }
    } else {
        value = argument;
    }
    // A literal percent sign is doubled: "%" starts a field code.
    std::string escaped;
    for (char c : value) {
        escaped += c == '%' ? std::string("%%") : std::string(1, c);
    }
    return escaped;
}

XdgAutostartLoginItems::XdgAutostartLoginItems(const Paths& paths, fs::path executable)
    : entry_(paths.autostartEntry()), executable_(std::move(executable)) {}

std::string XdgAutostartLoginItems::entryText(const fs::path& executable) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=OlvaneMac\n"
           "Exec=" +
           desktopExecValue(executable) +
           "\n"
           "Terminal=false\n";
}

ServiceStatus XdgAutostartLoginItems::status() {
    if (const auto text = readWholeFile(entry_); text && startsAtLogin(*text, executable_)) {
        return ServiceStatus::Enabled;
    }
    std::error_code ec;
    return fs::exists(executable_, ec) ? ServiceStatus::NotRegistered : ServiceStatus::NotFound;
}

Status XdgAutostartLoginItems::registerApplication() {
    std::error_code ec;
    if (!fs::exists(executable_, ec)) {
        return Status::failure("Programme introuvable : " + quotedPath(executable_));
    }
    if (executable_.string().find_first_of("\r\n") != std::string::npos) {
        return Status::failure("Chemin de programme invalide : " + quotedPath(executable_));
    }
    if (auto folder = ensurePrivateFolder(entry_.parent_path()); !folder) {
        return folder;
    }
    return writeFileAtomically(entry_, entryText(executable_));
}

Status XdgAutostartLoginItems::unregisterApplication() {
    std::error_code ec;
    if (!fs::remove(entry_, ec) && ec) {
        return errnoFailure("Impossible de supprimer " + quotedPath(entry_), ec.value());
    }
    return Status::success();
}

LoginItems::Removal XdgAutostartLoginItems::removeEveryEntry() {
    std::vector<fs::path> entries;
    std::error_code ec;
    for (auto it = fs::directory_iterator(entry_.parent_path(), ec);
         !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (it->path().extension() == ".desktop" && startsTheProgram(it->path(), executable_)) {
            entries.push_back(it->path());
        }
    }
    std::sort(entries.begin(), entries.end());
    Removal removal;
    for (const auto& entry : entries) {
        std::error_code removeError;
        if (fs::remove(entry, removeError)) {
            removal.removed.push_back(entry);
        } else if (removeError) {
            removal.failures.push_back(
                errnoFailure("Impossible de supprimer " + quotedPath(entry), removeError.value()));
        }
    }
    return removal;
}

}  // namespace olvane::platform::os
