#include "safari-extension/DesktopEntry.h"

#include "platform/DesktopEntryKeys.h"
#include "platform/FileIO.h"

namespace olvane::safari {
namespace {

using std::string_view;

// Splits an Exec value into arguments, undoing its double-quoting; nullopt when a quote is open.
std::optional<std::vector<std::string>> splitArguments(string_view exec) {
    std::vector<std::string> args;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted) {
            if (c == '\\' && i + 1 < exec.size()) {
                current += exec[++i];
            } else if (c == '"') {
                quoted = false;
            } else {
                current += c;
            }
        } else if (c == ' ' || c == '\t') {
            if (inArgument) {
                args.push_back(std::exchange(current, {}));
                inArgument = false;
            }
        } else {
            inArgument = true;
            if (c == '"') {
                quoted = true;
            } else {
                current += c;
            }
        }
    }
    if (quoted) {
        return std::nullopt;
    }
    if (inArgument) {
        args.push_back(current);
    }
    return args;
}

}  // namespace

std::optional<DesktopEntry> DesktopEntry::parse(string_view text,
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
    const auto args = splitArguments(exec_);
    if (!args) {
        return {};
    }
    std::vector<std::string> command;
    for (const auto& arg : *args) {
        if (arg == "%i") {
            if (!icon_.empty()) {
                command.insert(command.end(), {"--icon", icon_});
            }
            continue;
        }
        std::string expanded;
        bool onlyFieldCodes = !arg.empty();
        for (std::size_t i = 0; i < arg.size(); ++i) {
            if (arg[i] != '%' || i + 1 == arg.size()) {
                expanded += arg[i];
                onlyFieldCodes = false;
                continue;
            }
            switch (arg[++i]) {
                case '%':
                    expanded += '%';
                    onlyFieldCodes = false;
                    break;
                case 'c':
                    expanded += name_;
                    onlyFieldCodes = false;
                    break;
                case 'k':
                    expanded += location_.string();
                    onlyFieldCodes = false;
                    break;
                default:  // files, URLs and deprecated codes: there are none to pass
                    break;
            }
        }
        if (!onlyFieldCodes) {
            command.push_back(expanded);
        }
    }
    return command;
}

}  // namespace olvane::safari
