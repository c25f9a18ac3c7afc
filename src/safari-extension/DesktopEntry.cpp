#include "safari-extension/DesktopEntry.h"

#include "platform/DesktopEntryKeys.h"
#include "platform/DesktopExecCommand.h"
#include "platform/FileIO.h"

namespace olvane::safari {

std::optional<DesktopEntry> DesktopEntry::parse(std::string_view text,
                                                const std::filesystem::path& location) {
    const auto keys = platform::DesktopEntryKeys::parse(text);
    if (!keys || keys->value("Type") != "Application" || keys->isTrue("Hidden") ||
        keys->value("Exec").empty()) {
        return std::nullopt;
    }
    DesktopEntry entry;
    entry.exec_ = keys->value("Exec");
    entry.name_ = keys->value("Name");
    entry.icon_ = keys->value("Icon");
    entry.location_ = location;
    return entry;
}

std::optional<DesktopEntry> DesktopEntry::load(const std::filesystem::path& location) {
    const auto text = platform::readWholeFile(location);
    return text ? parse(*text, location) : std::nullopt;
}

std::vector<std::string> DesktopEntry::commandLine() const {
    return platform::desktopExecCommand(exec_,
                                        {.name = name_, .icon = icon_, .location = location_});
}

}  // namespace olvane::safari
